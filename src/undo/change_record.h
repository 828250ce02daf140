#pragma once
// One change to the user's folders, as its record folder holds it: a manifest of small
// tab-separated lines, and the previous bytes of every replaced file in "<n>.before".
// The manifest only grows (one fsync'd append per page), so a run cut short leaves a
// record that still undoes what was written; a line without its line end is ignored.
//
//   pelto-change 1
//   time     2026-12-10 15:30:00
//   effect   SCRIPTID NAME
//   option   copy | overwrite
//   page     PATH
//   file     N PATH MODE BEFORE-SIZE BEFORE-SHA AFTER-SIZE AFTER-SHA  ("-" before: created)
//   after    N AFTER-SIZE AFTER-SHA   (the same file written again in this change)
//   end
#include "common/result.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace pelto {

struct ChangedFile {
    int number = 0;
    std::string path;
    unsigned mode = 0644; // permission bits before the change
    bool existed = false; // false: the change created the file
    uint64_t beforeSize = 0;
    std::string beforeSha;
    uint64_t afterSize = 0;
    std::string afterSha;
};

struct ChangeInfo {
    std::string id;
    std::string time; // local time, "YYYY-MM-DD HH:MM:SS"
    std::string scriptId;
    std::string effectName;
    std::string option;
    std::vector<std::string> pages;
    std::vector<ChangedFile> files;
    bool complete = false; // the run finished
    bool active = false;   // a run is still writing it
    uint64_t bytes = 0;    // the record's size on disk
    std::string damaged;   // why the record cannot be read ("" when it can)
};

// Text of manifest lines.
std::string ManifestHeader(const std::string& time, const std::string& scriptId,
                           const std::string& effectName, const std::string& option);
std::string ManifestPageLine(const std::string& page);
std::string ManifestFileLine(const ChangedFile& file);
std::string ManifestAfterLine(int number, uint64_t size, const std::string& sha);
inline constexpr const char* kManifestEnd = "end\n";

// Reads a manifest's text; `where` names the file in errors.
Result<ChangeInfo> ParseManifest(const std::string& text, const std::string& where);

// The blob of file n in a record folder.
std::filesystem::path BeforeBlob(const std::filesystem::path& changeFolder, int number);

} // namespace pelto
