#pragma once
// The output folder: emptied before every "Do it", then filled by attaching, then every
// text file in it is expanded line by line. Pictures and binary files are left alone.
#include "common/result.h"
#include "library/workspace.h"

#include <deque>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace pelto {

// Deletes every ordinary file of the output folder (subfolders are not touched). A
// missing output folder is created.
Status ClearOutputFolder(const Workspace& ws);
// The same for another folder (a run's own output area).
Status ClearOutputFolder(const std::filesystem::path& folder);

// Expands every text file of the output folder, in file-name order.
Status ExpandOutputFolder(Workspace& ws);

// Expands one file in place: each line (ended by CR LF or a lone CR) passes through
// ExpandLine and is written with CR LF, and one more CR LF ends the file. Pictures (by
// name) and files holding a NUL byte are left unchanged.
Status ExpandFile(Workspace& ws, const std::filesystem::path& path);

// The expansion of one file's bytes, as ExpandFile writes them.
std::string ExpandText(Workspace& ws, std::string_view bytes);

// A text as parts in order: views into the input, and texts the parts own.
struct TextParts {
    std::vector<std::string_view> parts;
    std::deque<std::string> owned; // a deque keeps them in place as it grows

    std::string Join() const;
};

// ExpandText of the parts' text, given as parts as well: the stretches without a
// placeholder stay views into the input, so a long page is not copied.
TextParts ExpandParts(Workspace& ws, const std::vector<std::string_view>& parts);

// True for names ending (any case) in GIF, JPG, JPEG, PNG, ICO, BMP or WEBP.
bool IsPictureName(const std::string& name);

// The copy option's page path: "_1" before the last "." of the file name, or at the
// end of a name without ".". The folder is kept.
std::filesystem::path CopyPagePath(const std::filesystem::path& page);

} // namespace pelto
