#pragma once
// The record of the effects applied to a page: one small file per page (in the folder
// "applied" beside the change records) to which every application that writes the page
// appends what it inserted, as pieces, with the effect, the time, the change and the
// values. It holds no copies of pages, and the pruning of change records does not touch
// it, so an effect stays removable for as long as the page carries it. The file only
// grows (one append, flushed, per application); an entry without its end line (a run cut
// short) is not read. Entries of applications that were undone or taken out stay; they no
// longer match the page (their pieces are not found) and are passed over.
//
//   pelto-applied 1 <page length>\n<page path>\n
//   application <change id> <repeat> <piece count> <external count>\n
//   text <length>\n<bytes>\n        (time, script id, effect name, values: four of these)
//   text <length>\n<bytes>\n        (each external file's name)
//   piece <offset> <removed> <inserted> <before> <after> [<sha>]\n<the byte runs>\n
//   end\n
//
// Inserted bytes of 256 and more are kept once in "shared/<SHA-256>.piece" (the same code
// on every page of a site) and the piece line names them by their hash; such a file is
// written (flushed, renamed) before the entry that names it, and never removed.
#include "attach/application_pieces.h"
#include "common/result.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace pelto {

struct AppliedRecord {
    std::string changeId;
    std::string time; // local time, "YYYY-MM-DD HH:MM:SS"
    std::string scriptId;
    std::string effectName;
    int16_t repeat = 0;
    std::string values;                 // the values, as a template lists them
    std::vector<std::string> externals; // files the application copied beside the page
    std::vector<InsertedPiece> pieces;

    bool operator==(const AppliedRecord&) const = default;
};

// The file that holds the records of page (an absolute path) in folder.
std::filesystem::path AppliedRecordFile(const std::filesystem::path& folder,
                                        const std::string& page);

// Appends record to the page's file (made when missing) and flushes it to the disk.
Status AppendApplied(const std::filesystem::path& folder, const std::string& page,
                     const AppliedRecord& record);

// The page's records, oldest first; none when the page has no file. A damaged file is an
// error naming it.
Result<std::vector<AppliedRecord>> ReadApplied(const std::filesystem::path& folder,
                                               const std::string& page);

// The bytes one record takes in the file.
size_t AppliedRecordSize(const AppliedRecord& record);

// The current local time, as records hold it.
std::string AppliedTimeNow();

} // namespace pelto
