#include "attach/do_it.h"

#include "attach/attach_script.h"
#include "attach/output_folder.h"
#include "common/files.h"
#include "common/numbers.h"
#include "library/page_encoding.h"
#include "undo/sha256.h"

#include <fcntl.h>
#include <future>
#include <map>
#include <unistd.h>

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
Status CopyOutputFiles(const OutputFiles& files, const TextParts& result,
                       const std::string& resultSha, const fs::path& pageFolder,
                       const fs::path& page, const fs::path& target, const DoItRequest& request) {
    for (const auto& [name, bytes] : files)
        if (name != kResultName && SameFile(pageFolder / name, page))
            return MakeError(PathText(pageFolder / name), 0,
                             "the effect's file of this name would replace the page itself; "
                             "nothing was copied");
    if (request.beforeWriting) {
        std::vector<PendingWrite> writes;
        for (const auto& [name, bytes] : files)
            if (name != kResultName)
                writes.push_back({pageFolder / name, bytes, true});
        writes.push_back({target, result.parts, true});
        writes.back().sha = resultSha;
        if (Status st = request.beforeWriting(PathText(page), writes); !st)
            return st;
    }
    for (const auto& [name, bytes] : files)
        if (name != kResultName)
            if (Status st = WriteFileAtomic(pageFolder / name, bytes); !st)
                return st;
    return Status::Ok();
}

// Starts writing the file's bytes to the disk without waiting, so that the flush before
// it takes its name beside the page finds most of them written.
void StartFlush(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return; // only a head start: the flush itself reports failures
    ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
    ::close(fd);
}

bool FlushFile(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

// The copy beside the page holds the same bytes as the result page of the output folder:
// that file is linked in under a temporary name and renamed over the copy, so the bytes
// are written once. Where the file system cannot link (another device, a copy that is a
// symbolic link to elsewhere), they are written again.
Status WriteCopy(const fs::path& result, const fs::path& copy, const TextParts& bytes) {
    std::error_code ec;
    if (!fs::is_symlink(copy, ec)) {
        const fs::file_status old = fs::status(copy, ec);
        fs::path temp = copy;
        temp += ".pelto-" + std::to_string(::getpid()) + ".link";
        fs::create_hard_link(result, temp, ec);
        if (!ec) {
            if (fs::is_regular_file(old))
                fs::permissions(temp, old.permissions(), ec); // the copy keeps its permissions
            ec.clear();
            // On the disk before it takes the copy's name, as every file written beside the
            // page is.
            const bool flushed = FlushFile(temp);
            if (flushed)
                fs::rename(temp, copy, ec);
            if (flushed && !ec)
                return SyncFolder(copy.parent_path());
            std::error_code ignore;
            fs::remove(temp, ignore);
        }
    }
    return WriteFileAtomic(copy, bytes.Join());
}

bool HoldsNul(const std::vector<std::string_view>& parts) {
    for (std::string_view p : parts)
        if (p.find('\0') != std::string_view::npos)
            return true;
    return false;
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
    const fs::path output = request.outputArea.empty() ? ws.OutputFolder() : request.outputArea;
    if (LiesIn(page, output))
        return MakeError(ws.SampleFile, 0,
                         "lies in the output folder, which is emptied before every run; "
                         "choose a page outside it");

    ws.ScriptRepeat = request.repeat;
    if (Status st = ClearOutputFolder(output); !st)
        return st.error();
    // Attach and expand in memory, then write each file of the output folder once: the
    // same files, in the same order, as attaching and the expansion pass over the folder.
    Result<FileBuffer> pageBytes = ReadFileBuffer(page);
    if (!pageBytes)
        return pageBytes.error();
    ws.PageIsUtf8 = IsUtf8Page(pageBytes->view());
    Result<AttachedParts> attached =
        AttachToParts(ws, ws.CurrentScriptIndex, pageBytes->view(), PathText(page));
    if (!attached)
        return attached.error();
    OutputFiles files;
    for (auto& [name, bytes] : attached->externals)
        files[name] = std::move(bytes);
    files[kResultName].clear(); // the result page stays in parts: the page is not copied
    TextParts resultBytes;
    // The change record needs the result's SHA-256: a large page is hashed while it is
    // written into the output folder.
    std::future<std::string> resultSha;
    for (auto& [name, bytes] : files) {
        if (name == kResultName) {
            std::vector<std::string_view> parts{attached->firstLine};
            const auto& pieces = attached->text.Pieces();
            parts.insert(parts.end(), pieces.begin(), pieces.end());
            parts.push_back("\r\n");
            if (HoldsNul(parts))
                resultBytes.parts = std::move(parts);
            else
                resultBytes = ExpandParts(ws, parts);
            if (request.beforeWriting && request.option != OutputOption::Preview &&
                PartsSize(resultBytes.parts) >= kHashAsideBytes)
                resultSha = Sha256Aside(resultBytes.parts);
            if (Status st = WriteFileParts(output / name, resultBytes.parts); !st)
                return st.error();
            continue;
        }
        if (!IsPictureName(name) && bytes.find('\0') == std::string::npos)
            bytes = ExpandText(ws, bytes);
        if (Status st = WriteFileBytes(output / name, bytes); !st)
            return st.error();
    }
    const fs::path result = output / kResultName;
    const std::string sha = resultSha.valid() ? resultSha.get() : std::string();

    DoItOutcome outcome;
    const fs::path pageFolder = page.parent_path();
    switch (request.option) {
    case OutputOption::Preview:
        outcome.pageToOpen = PathText(result);
        break;
    case OutputOption::Copy: {
        StartFlush(result);
        const fs::path copy = CopyPagePath(page);
        if (Status st = CopyOutputFiles(files, resultBytes, sha, pageFolder, page, copy, request);
            !st)
            return st.error();
        if (Status st = WriteCopy(result, copy, resultBytes); !st)
            return st.error();
        outcome.pageToOpen = PathText(copy);
        break;
    }
    case OutputOption::Overwrite: {
        if (!request.confirmOverwrite || !request.confirmOverwrite()) {
            outcome.overwriteDeclined = true;
            break;
        }
        if (Status st = CopyOutputFiles(files, resultBytes, sha, pageFolder, page, page, request);
            !st)
            return st.error();
        if (Status st = WriteFileAtomic(page, resultBytes.Join()); !st)
            return st.error();
        outcome.pageToOpen = PathText(page);
        break;
    }
    }
    return outcome;
}

} // namespace pelto
