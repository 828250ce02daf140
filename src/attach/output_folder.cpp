#include "attach/output_folder.h"

#include "common/files.h"
#include "expansion/placeholder.h"

#include <algorithm>

namespace pelto {

namespace fs = std::filesystem;

Status ClearOutputFolder(const Workspace& ws) {
    return ClearFolderFiles(ws.OutputFolder());
}

Status ClearFolderFiles(const fs::path& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec)
        return MakeError(PathText(folder), 0, "cannot be created: " + ec.message());
    Result<std::vector<fs::path>> files = FolderFiles(folder);
    if (!files)
        return files.error();
    for (const fs::path& f : *files) {
        fs::remove(f, ec);
        if (ec)
            return MakeError(PathText(f), 0, "cannot be deleted: " + ec.message());
    }
    return Status::Ok();
}

bool IsPictureName(const std::string& name) {
    std::string upper;
    upper.reserve(name.size());
    for (char c : name)
        upper += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
    for (std::string_view end : {"GIF", "JPG", "JPEG", "PNG", "ICO", "BMP", "WEBP"})
        if (upper.size() >= end.size() &&
            upper.compare(upper.size() - end.size(), end.size(), end) == 0)
            return true;
    return false;
}

std::string ExpandText(Workspace& ws, std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 16 + 2);
    size_t budget = ExpansionBudget(bytes.size()); // for the whole file, not per line
    size_t start = 0;
    while (start < bytes.size()) {
        // A line ends at CR LF or at a lone CR; a lone LF stays inside the line.
        size_t cr = bytes.find('\r', start);
        size_t end = cr == std::string_view::npos ? bytes.size() : cr;
        std::string_view line = bytes.substr(start, end - start);
        if (line.find(kOpeningMark) == std::string_view::npos)
            out.append(line);
        else
            out += ExpandLine(ws, line, budget);
        out += "\r\n";
        if (cr == std::string_view::npos)
            break;
        start = cr + 1;
        if (start < bytes.size() && bytes[start] == '\n')
            ++start;
    }
    out += "\r\n";
    return out;
}

Status ExpandFile(Workspace& ws, const fs::path& path) {
    if (IsPictureName(path.filename().string()))
        return Status::Ok();
    Result<std::string> bytes = ReadFileBytes(path);
    if (!bytes)
        return bytes.error();
    if (bytes->find('\0') != std::string::npos)
        return Status::Ok(); // binary: line expansion would corrupt it
    return WriteFileBytes(path, ExpandText(ws, *bytes));
}

Status ExpandOutputFolder(Workspace& ws) {
    Result<std::vector<fs::path>> files = FolderFiles(ws.OutputFolder());
    if (!files)
        return files.error();
    for (const fs::path& f : *files)
        if (Status st = ExpandFile(ws, f); !st)
            return st;
    return Status::Ok();
}

fs::path CopyPagePath(const fs::path& page) {
    std::string name = page.filename().string();
    size_t dot = name.rfind('.');
    if (dot == std::string::npos)
        name += "_1";
    else
        name.insert(dot, "_1");
    return page.parent_path() / name;
}

} // namespace pelto
