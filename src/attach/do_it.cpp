#include "attach/do_it.h"

#include "attach/attach_script.h"
#include "attach/output_folder.h"
#include "common/files.h"
#include "common/numbers.h"

#include <map>

namespace pelto {

namespace fs = std::filesystem;

namespace {

constexpr const char* kResultName = "result.htm";

bool SameFile(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    return fs::weakly_canonical(a, ec) == fs::weakly_canonical(b, ec);
}

// True when path lies in folder or below it.
bool LiesIn(const fs::path& path, const fs::path& folder) {
    std::error_code ec;
    fs::path p = fs::weakly_canonical(path, ec);
    fs::path f = fs::weakly_canonical(folder, ec);
    auto [fEnd, pIt] = std::mismatch(f.begin(), f.end(), p.begin(), p.end());
    return fEnd == f.end() && pIt != p.end();
}

// The files of one run, by name: the external files, then the result page (which
// replaces an external file of its name, as writing it last into the folder would).
using OutputFiles = std::map<std::string, std::string>;

// Writes the files other than the result page into the page's folder, each through a
// temporary file and a rename.
Status CopyOutputFiles(const OutputFiles& files, const fs::path& pageFolder, const fs::path& page) {
    for (const auto& [name, bytes] : files)
        if (name != kResultName && SameFile(pageFolder / name, page))
            return MakeError(PathText(pageFolder / name), 0,
                             "the effect's file of this name would replace the page itself; "
                             "nothing was copied");
    for (const auto& [name, bytes] : files)
        if (name != kResultName)
            if (Status st = WriteFileAtomic(pageFolder / name, bytes); !st)
                return st;
    return Status::Ok();
}

} // namespace

Result<DoItOutcome> DoIt(Workspace& ws, const DoItRequest& request) {
    if (request.repeat < 0 || request.repeat > 25)
        return MakeError(
            "", 0, "the repeat count must lie between 0 and 25, not " + FormatInt(request.repeat));
    if (ws.CurrentScriptIndex < 1 ||
        static_cast<size_t>(ws.CurrentScriptIndex) >= ws.Library.size())
        return MakeError("", 0, "no effect is chosen");
    if (ws.SampleFile.empty())
        return MakeError("", 0, "no web page is chosen");
    std::error_code ec;
    const fs::path page = fs::absolute(fs::path(ws.SampleFile), ec);
    if (!fs::is_regular_file(page, ec))
        return MakeError(ws.SampleFile, 0, "is not a file that can be read");
    const fs::path output = request.folder.empty() ? ws.OutputFolder() : request.folder;
    if (LiesIn(page, output))
        return MakeError(ws.SampleFile, 0,
                         "lies in the output folder, which is emptied before every run; "
                         "choose a page outside it");

    ws.ScriptRepeat = request.repeat;
    if (Status st = ClearFolderFiles(output); !st)
        return st.error();
    // Attach and expand in memory, then write each file of the output folder once: the
    // same files, in the same order, as attaching and the expansion pass over the folder.
    Result<std::string> pageBytes = ReadFileBytes(page);
    if (!pageBytes)
        return pageBytes.error();
    Result<AttachedPage> attached =
        AttachToText(ws, ws.CurrentScriptIndex, std::move(*pageBytes), PathText(page));
    if (!attached)
        return attached.error();
    OutputFiles files;
    for (auto& [name, bytes] : attached->externals)
        files[name] = std::move(bytes);
    files[kResultName] = std::move(attached->page);
    for (auto& [name, bytes] : files) {
        if (!IsPictureName(name) && bytes.find('\0') == std::string::npos)
            bytes = ExpandText(ws, bytes);
        if (Status st = WriteFileBytes(output / name, bytes); !st)
            return st.error();
    }
    const std::string& resultBytes = files[kResultName];
    const fs::path result = output / kResultName;

    DoItOutcome outcome;
    const fs::path pageFolder = page.parent_path();
    switch (request.option) {
    case OutputOption::Preview:
        outcome.pageToOpen = PathText(result);
        break;
    case OutputOption::Copy: {
        const fs::path copy = CopyPagePath(page);
        if (Status st = CopyOutputFiles(files, pageFolder, page); !st)
            return st.error();
        if (Status st = WriteFileAtomic(copy, resultBytes); !st)
            return st.error();
        outcome.pageToOpen = PathText(copy);
        break;
    }
    case OutputOption::Overwrite: {
        if (!request.confirmOverwrite || !request.confirmOverwrite()) {
            outcome.overwriteDeclined = true;
            break;
        }
        if (Status st = CopyOutputFiles(files, pageFolder, page); !st)
            return st.error();
        if (Status st = WriteFileAtomic(page, resultBytes); !st)
            return st.error();
        outcome.pageToOpen = PathText(page);
        break;
    }
    }
    return outcome;
}

} // namespace pelto
