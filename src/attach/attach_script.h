#pragma once
// Attaching a script to a page: every insertion item of the script's header is put
// into a copy of the user's page at its location keyword (before "</HEAD", after
// "<BODY", at the top or end of the body, in place of "*****", behind a handler marker)
// or becomes an external file of the output folder. The user's page is only read.
#include "attach/page_search.h"
#include "common/result.h"
#include "library/workspace.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pelto {

// The first line of every output page, followed by the ScriptId and "-->" (after the
// page's UTF-8 byte order mark, when it has one).
constexpr const char* kOutputPageMark = "<!--2erghdf45yr";

struct AttachedPage {
    std::string page; // the output page: its first line, then the page text, each + CR LF
    std::vector<std::pair<std::string, std::string>> externals; // file name, bytes
};

// The output page as the pieces of the edited page, behind its first line (which the
// caller follows with the pieces and one more CR LF).
struct AttachedParts {
    std::string firstLine;
    PageText text;
    std::vector<std::pair<std::string, std::string>> externals; // file name, bytes
};

// AttachToText without putting the page together: pageBytes must outlive the result.
Result<AttachedParts> AttachToParts(Workspace& ws, int16_t scriptIndex, std::string_view pageBytes,
                                    const std::string& pageName);

// Attaches script scriptIndex to the page bytes (pageName is used in messages). Link
// attributes (Mouseover) and menu lines (Menu) are made first. Nothing is written.
// Fails, naming the tag and the effect, when the page lacks a tag an item needs; also
// on a missing code file and an "External" name that is not a plain file name.
Result<AttachedPage> AttachToText(Workspace& ws, int16_t scriptIndex, std::string_view pageBytes,
                                  const std::string& pageName);

// Reads the page, attaches, writes the external files into the output folder and the
// output page to outputPath. On an error nothing is written.
Status AttachScript(Workspace& ws, int16_t scriptIndex, const std::filesystem::path& pagePath,
                    const std::filesystem::path& outputPath);

// True when name is a plain file name: not empty, no directory separator, no "..".
bool IsPlainFileName(const std::string& name);

} // namespace pelto
