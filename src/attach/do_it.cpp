#include "attach/do_it.h"

#include "attach/attach_script.h"
#include "attach/output_folder.h"
#include "common/file_lock.h"
#include "common/files.h"
#include "common/numbers.h"
#include "library/page_encoding.h"
#include "undo/early_digest.h"
#include "undo/sha256.h"

#include <fcntl.h>
#include <future>
#include <map>
#include <set>
#include <sys/stat.h>
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
// temporary file and a rename. Each is on the disk before it takes its name; the names
// reach the disk with the folder's flush after the page is written (FlushFolders).
Status CopyOutputFiles(const OutputFiles& files, const TextParts& result,
                       const std::string& resultSha, const EarlyDigestFuture& targetNow,
                       const fs::path& pageFolder, const fs::path& page, const fs::path& target,
                       const DoItRequest& request) {
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
        writes.back().before = targetNow;
        if (Status st = request.beforeWriting(PathText(page), writes); !st)
            return st;
    }
    if (request.afterRecording)
        request.afterRecording(PathText(page));
    for (const auto& [name, bytes] : files)
        if (name != kResultName)
            if (Status st = WriteFileAtomic(pageFolder / name, {bytes}, FolderFlush::Later); !st)
                return st;
    return Status::Ok();
}

// Flushes the folders the files beside the page went into, other than the page's own
// (WriteCopy flushes that one), so every new name is on the disk before the change
// record says the run finished. After a failure the page's folder is flushed as well.
Status FlushFolders(const OutputFiles& files, const fs::path& pageFolder, bool failed) {
    std::set<fs::path> folders;
    if (failed)
        folders.insert(pageFolder);
    for (const auto& [name, bytes] : files)
        if (name != kResultName)
            if (fs::path folder = (pageFolder / name).parent_path(); folder != pageFolder)
                folders.insert(folder);
    for (const fs::path& folder : folders)
        if (Status st = SyncFolder(folder); !st)
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

// The copy beside the page (or the page itself, when it is overwritten) holds the same
// bytes as the result page of the output folder: that file is linked in under a temporary
// name and renamed over the copy, so the bytes are written once. Where the file system
// cannot link (another device), they are written again, from their parts. The copy takes
// the mode and owner of the file it replaces; a new one has the page's mode (the result
// page was made with it). A copy that is a symbolic link is refused before this (nothing
// is written through a link).
Status WriteCopy(const fs::path& result, const fs::path& copy, const TextParts& bytes) {
    struct stat old {};
    const bool replaces = ::lstat(copy.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    const fs::path temp = TemporaryNameBeside(copy, "link");
    std::error_code ec;
    fs::create_hard_link(result, temp, ec);
    if (!ec) {
        bool ok = true;
        if (replaces) {
            if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) [[maybe_unused]]
                int ignored = ::lchown(temp.c_str(), old.st_uid, old.st_gid);
            ok = ::chmod(temp.c_str(), old.st_mode & 07777) == 0;
        }
        // On the disk before it takes the copy's name, as every file written beside the
        // page is.
        ok = ok && FlushFile(temp);
        if (ok)
            fs::rename(temp, copy, ec);
        if (ok && !ec)
            return SyncFolder(copy.parent_path());
        std::error_code ignore;
        fs::remove(temp, ignore);
    }
    return WriteFileAtomic(copy, bytes.parts);
}

// The page's identity and state when it was read: a page replaced or written since is
// another file, or has another size or time stamp.
bool SameState(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec &&
           a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

Error ChangedMeanwhile(const fs::path& page) {
    return MakeError(PathText(page), 0,
                     "was changed by another run, an undo or another program while the effect "
                     "was applied to it; it was left as it is now and nothing was written "
                     "(apply the effect again)");
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
    fs::path page = fs::absolute(fs::path(ws.SampleFile), ec);
    if (!fs::is_regular_file(page, ec))
        return MakeError(ws.SampleFile, 0, "is not a file that can be read");
    // A page named through links is where they lead: the only link Pelto follows.
    page = fs::canonical(page, ec);
    if (ec)
        return MakeError(ws.SampleFile, 0, "is not a file that can be read: " + ec.message());
    struct stat seen {};
    if (::stat(page.c_str(), &seen) != 0)
        return MakeError(ws.SampleFile, 0, "is not a file that can be read");
    if (static_cast<uint64_t>(seen.st_size) > kMaxPageBytes)
        return MakeError(PathText(page), 0,
                         "is larger than " + std::to_string(kMaxPageBytes >> 20) +
                             " MB, the most a page may have; nothing was done");
    const fs::path output = request.outputArea.empty() ? ws.OutputFolder() : request.outputArea;
    if (LiesIn(page, output))
        return MakeError(ws.SampleFile, 0,
                         "lies in the output folder, which is emptied before every run; "
                         "choose a page outside it");

    ws.ScriptRepeat = request.repeat;
    // The copy beside the page that this run replaces is hashed for the change record on
    // another thread while the page is read and built (a page to overwrite is hashed from
    // the bytes read below).
    // (After the output folder is emptied: its result page may be the copy's second name,
    // and removing that name changes the copy's state.)
    const bool recorded = request.beforeWriting && request.option != OutputOption::Preview;
    if (Status st = ClearOutputFolder(output); !st)
        return st.error();
    EarlyDigestFuture copyNow;
    if (recorded && request.option == OutputOption::Copy)
        copyNow = DigestFileAside(CopyPagePath(page), kHashAsideBytes);
    // The page itself may have been the last result's second name: its state is taken
    // again now that the output folder is empty.
    if (::stat(page.c_str(), &seen) != 0)
        return MakeError(ws.SampleFile, 0, "is not a file that can be read");
    // Attach and expand in memory, then write each file of the output folder once: the
    // same files, in the same order, as attaching and the expansion pass over the folder.
    const struct timespec readStarted = DigestClockNow();
    Result<FileBuffer> pageBytes = ReadFileBuffer(page);
    if (!pageBytes)
        return pageBytes.error();
    struct stat afterRead {};
    if (::stat(page.c_str(), &afterRead) != 0 || !SameState(seen, afterRead))
        return ChangedMeanwhile(page);
    // Declared after the bytes it reads, so it ends before they go.
    EarlyDigestFuture pageNow;
    if (recorded && request.option == OutputOption::Overwrite &&
        pageBytes->view().size() >= kHashAsideBytes)
        pageNow = DigestBytesAside(pageBytes->view(), seen, readStarted);
    const EarlyDigestFuture& targetNow = request.option == OutputOption::Copy ? copyNow : pageNow;
    std::string startText;
    std::string_view start = pageBytes->view();
    if (request.startFrom) {
        Result<std::string> made = request.startFrom(ws, PathText(page), start);
        if (!made)
            return made.error();
        startText = std::move(*made);
        start = startText;
    }
    ws.PageIsUtf8 = IsUtf8Page(start);
    Result<AttachedParts> attached =
        AttachToParts(ws, ws.CurrentScriptIndex, start, PathText(page));
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
            if (recorded && PartsSize(resultBytes.parts) >= kHashAsideBytes)
                resultSha = Sha256Aside(resultBytes.parts);
            // The result has the page's permissions: a private page gives a private result.
            if (Status st = WriteFileParts(output / name, resultBytes.parts, seen.st_mode & 0777);
                !st)
                return st.error();
            // Its bytes start for the disk while the rest is done: they are flushed before
            // the page's folder gets them.
            if (request.option != OutputOption::Preview)
                StartFlush(output / name);
            continue;
        }
        if (!IsPictureName(name) && bytes.find('\0') == std::string::npos)
            bytes = ExpandText(ws, bytes);
        if (Status st = WriteFileBytes(output / name, bytes); !st)
            return st.error();
    }
    const fs::path result = output / kResultName;

    DoItOutcome outcome;
    const fs::path pageFolder = page.parent_path();
    const bool declined = request.option == OutputOption::Overwrite &&
                          (!request.confirmOverwrite || !request.confirmOverwrite());
    FileLock folderLock;
    if (request.option != OutputOption::Preview && !declined) {
        // From here to the last rename the folder is this run's: no other run or undo
        // looks at or replaces a file in it meanwhile.
        Result<FileLock> lock = FileLock::TakeFolder(pageFolder, request.waiting);
        if (!lock)
            return lock.error();
        folderLock = std::move(*lock);
        for (const fs::path& left : RemoveDeadRunLeftovers(pageFolder, false))
            outcome.notes.push_back("removed " + PathText(left) +
                                    ", left behind by a Pelto run that ended before it had "
                                    "finished");
        struct stat now {};
        if (::stat(page.c_str(), &now) != 0 || !SameState(seen, now))
            return ChangedMeanwhile(page);
        std::vector<fs::path> targets{request.option == OutputOption::Copy ? CopyPagePath(page)
                                                                           : page};
        for (const auto& [name, bytes] : files)
            if (name != kResultName)
                targets.push_back(pageFolder / name);
        for (const fs::path& target : targets)
            if (fs::is_symlink(fs::symlink_status(target, ec)))
                return MakeError(PathText(target), 0,
                                 "is a symbolic link; Pelto does not write through links, so "
                                 "nothing was written (remove the link, or move it away)");
    }
    if (request.recordPieces && request.option != OutputOption::Preview && !declined) {
        std::vector<std::string> externals;
        for (const auto& [name, bytes] : files)
            if (name != kResultName)
                externals.push_back(name);
        const fs::path target = request.option == OutputOption::Copy ? CopyPagePath(page) : page;
        if (Status st = request.recordPieces(
                PathText(target), ComputePieces(start, attached->text.Pieces(), resultBytes.parts),
                externals);
            !st)
            return st.error();
    }
    // Taken once it is needed: the pieces and their record are made while it is hashed.
    const std::string sha = resultSha.valid() ? resultSha.get() : std::string();
    // The files beside the page, then the page itself at `target`, then the folders they went
    // into (FlushFolders says which), also after a failure.
    auto writeOut = [&](const fs::path& target) -> Status {
        Status st =
            CopyOutputFiles(files, resultBytes, sha, targetNow, pageFolder, page, target, request);
        if (st)
            st = WriteCopy(result, target, resultBytes);
        if (Status flushed = FlushFolders(files, pageFolder, !st); st && !flushed)
            st = flushed;
        return st;
    };
    switch (request.option) {
    case OutputOption::Preview:
        outcome.pageToOpen = PathText(result);
        break;
    case OutputOption::Copy: {
        const fs::path copy = CopyPagePath(page);
        if (Status st = writeOut(copy); !st)
            return st.error();
        outcome.pageToOpen = PathText(copy);
        break;
    }
    case OutputOption::Overwrite: {
        if (declined) {
            outcome.overwriteDeclined = true;
            break;
        }
        if (Status st = writeOut(page); !st)
            return st.error();
        outcome.pageToOpen = PathText(page);
        break;
    }
    }
    return outcome;
}

} // namespace pelto
