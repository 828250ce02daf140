#include "undo/undo_store.h"

#include "common/file_lock.h"
#include "common/files.h"
#include "undo/sha256.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <future>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pelto {

namespace fs = std::filesystem;

namespace {

constexpr const char* kManifestName = "manifest";
constexpr const char* kStoreLockName = "lock";

fs::path ManifestOf(const fs::path& changeFolder) {
    return changeFolder / kManifestName;
}

// Taken for making ids, pruning and undoing, so two runs never remove each other's
// records; a run writing its record holds the lock of its own manifest instead.
Result<FileLock> LockStore(const fs::path& folder) {
    return FileLock::Take(folder / kStoreLockName, "The change records folder " + PathText(folder),
                          FileLock::Wait::Yes);
}

std::string LocalTime(std::time_t t, const char* format) {
    std::tm tm{};
    localtime_r(&t, &tm);
    char text[64];
    std::strftime(text, sizeof text, format, &tm);
    return text;
}

std::string UtcTime(std::time_t t, const char* format) {
    std::tm tm{};
    gmtime_r(&t, &tm);
    char text[64];
    std::strftime(text, sizeof text, format, &tm);
    return text;
}

// The sequence number of an id "N-YYYYMMDDTHHMMSSZ", or -1 for an id of the earlier form.
long long SequenceOf(const std::string& id) {
    const size_t dash = id.find('-');
    if (dash == 0 || dash == std::string::npos || dash > 18 || id.empty() || id.back() != 'Z')
        return -1;
    long long n = 0;
    for (size_t i = 0; i < dash; ++i) {
        if (id[i] < '0' || id[i] > '9')
            return -1;
        n = n * 10 + (id[i] - '0');
    }
    return n;
}

// The record folders of the store, oldest first.
std::vector<fs::path> ChangeFolders(const fs::path& store) {
    std::vector<fs::path> folders;
    std::error_code ec;
    for (fs::directory_iterator it(store, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_directory(typeError) && fs::exists(ManifestOf(it->path()), typeError))
            folders.push_back(it->path());
    }
    std::sort(folders.begin(), folders.end(), [](const fs::path& a, const fs::path& b) {
        return ChangeIdBefore(a.filename().string(), b.filename().string());
    });
    return folders;
}

uint64_t FolderBytes(const fs::path& folder) {
    uint64_t total = 0;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code sizeError;
        const auto size = it->file_size(sizeError);
        if (!sizeError)
            total += size;
    }
    return total;
}

// True while a run still holds the lock of the record's manifest.
bool IsActive(const fs::path& changeFolder) {
    const int fd = ::open(ManifestOf(changeFolder).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool busy = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return busy;
}

Result<ChangeInfo> ReadChange(const fs::path& changeFolder) {
    const fs::path manifest = ManifestOf(changeFolder);
    Result<std::string> text = ReadFileBytes(manifest);
    if (!text)
        return text.error();
    Result<ChangeInfo> info = ParseManifest(*text, PathText(manifest));
    if (!info)
        return info;
    info->id = changeFolder.filename().string();
    info->active = IsActive(changeFolder);
    info->bytes = FolderBytes(changeFolder);
    return info;
}

// The file's state now: missing, or its bytes' SHA-256; or reached through a link.
struct FileNow {
    bool exists = false;
    bool throughLink = false;
    std::string sha;
};

Result<FileNow> StateOf(const std::string& path) {
    FileNow now;
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(path, ec);
    // The recorded path is absolute and normalised: where resolving its links gives
    // another path, the file itself or one of its folders has become a link.
    const fs::path real = fs::weakly_canonical(path, ec);
    if (fs::is_symlink(status) || (!ec && real != fs::path(path))) {
        now.throughLink = true;
        return now;
    }
    if (!fs::exists(status))
        return now;
    Result<std::string> bytes = ReadFileBytes(path);
    if (!bytes)
        return bytes.error();
    now.exists = true;
    now.sha = Sha256Hex(*bytes);
    return now;
}

// Removes a record; flushed is false where a record that comes back after a power cut
// does no harm (an old one pruned: the next run prunes it again).
Status RemoveRecord(const fs::path& changeFolder, bool flushed = true) {
    std::error_code ec;
    fs::remove_all(changeFolder, ec);
    if (ec)
        return MakeError(PathText(changeFolder), 0, "cannot be removed: " + ec.message());
    return flushed ? SyncFolder(changeFolder.parent_path()) : Status::Ok();
}

// The highest sequence number among the names in the store (0 when there is none): from
// the names alone, without looking into the folders.
long long HighestSequence(const fs::path& store) {
    long long highest = 0;
    std::error_code ec;
    for (fs::directory_iterator it(store, ec), end; !ec && it != end; it.increment(ec))
        highest = std::max(highest, SequenceOf(it->path().filename().string()));
    return highest;
}

// The sizes file: the bytes of every finished record, oldest first, so that a run prunes
// without looking into each record folder. It only helps: where it is missing or does
// not read whole, the store is listed and it is written again; it is not flushed.
constexpr const char* kSizesName = "sizes";
constexpr std::string_view kSizesHeader = "pelto-change-sizes\t1\n";
constexpr long long kListEvery = 64; // sequence numbers between two full listings

using RecordSizes =
    std::map<std::string, uint64_t, bool (*)(const std::string&, const std::string&)>;

RecordSizes NoSizes() {
    return RecordSizes(&ChangeIdBefore);
}

std::optional<RecordSizes> ReadSizes(const fs::path& store) {
    Result<std::string> text = ReadFileBytes(store / kSizesName, size_t{1} << 20);
    if (!text || text->compare(0, kSizesHeader.size(), kSizesHeader) != 0 || text->back() != '\n')
        return std::nullopt;
    RecordSizes sizes = NoSizes();
    std::string_view rest(*text);
    rest.remove_prefix(kSizesHeader.size());
    while (!rest.empty()) {
        const size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end + 1);
        const size_t tab = line.find('\t');
        if (tab == 0 || tab == std::string_view::npos || tab + 1 == line.size() ||
            line.size() - tab > 21)
            return std::nullopt;
        uint64_t bytes = 0;
        for (char c : line.substr(tab + 1)) {
            if (c < '0' || c > '9')
                return std::nullopt;
            bytes = bytes * 10 + static_cast<uint64_t>(c - '0');
        }
        const std::string id(line.substr(0, tab));
        if (id.find('/') != std::string::npos || id == "." || id == "..")
            return std::nullopt;
        sizes[id] = bytes;
    }
    return sizes;
}

void WriteSizes(const fs::path& store, const RecordSizes& sizes) {
    std::string text(kSizesHeader);
    for (const auto& [id, bytes] : sizes)
        text += id + "\t" + std::to_string(bytes) + "\n";
    const fs::path file = store / kSizesName;
    const fs::path temp = store / "sizes.new"; // one writer at a time: the store's lock
    if (WriteFileBytes(temp, text) && ::rename(temp.c_str(), file.c_str()) == 0)
        return;
    // Not written: the next run lists the store instead.
    ::unlink(temp.c_str());
    ::unlink(file.c_str());
}

} // namespace

bool ChangeIdBefore(const std::string& a, const std::string& b) {
    const long long sa = SequenceOf(a);
    const long long sb = SequenceOf(b);
    if (sa != sb)
        return sa < sb; // an earlier version's record (-1) comes first
    return a < b;
}

UndoStore::UndoStore(fs::path folder, size_t maxChanges, uint64_t maxBytes)
    : folder_(std::move(folder)), maxChanges_(maxChanges), maxBytes_(maxBytes),
      clock_([] { return std::chrono::system_clock::now(); }) {}

Result<std::unique_ptr<ChangeWriter>> UndoStore::Begin(const std::string& scriptId,
                                                       const std::string& effectName,
                                                       const std::string& option) {
    std::error_code ec;
    fs::create_directories(folder_, ec);
    if (ec)
        return MakeError(PathText(folder_), 0,
                         "cannot be created to record the change: " + ec.message());
    Result<FileLock> lock = LockStore(folder_);
    if (!lock)
        return lock.error();
    // The id is one above the highest sequence number in the store, then the UTC time:
    // the order of changes never depends on the clock or the time zone.
    long long sequence = HighestSequence(folder_);
    const std::time_t seconds = std::chrono::system_clock::to_time_t(clock_());
    const std::string stamp = UtcTime(seconds, "%Y%m%dT%H%M%SZ");
    fs::path changeFolder;
    std::string id;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        char number[32];
        std::snprintf(number, sizeof number, "%06lld-", ++sequence);
        id = number + stamp;
        changeFolder = folder_ / id;
        if (fs::create_directory(changeFolder, ec))
            break;
        if (ec)
            return MakeError(PathText(changeFolder), 0,
                             "cannot be created to record the change: " + ec.message());
        changeFolder.clear();
    }
    if (changeFolder.empty())
        return MakeError(PathText(folder_), 0, "holds no free name for a new change record");
    const fs::path manifest = ManifestOf(changeFolder);
    // Records hold copies of the user's pages: private to the user.
    fs::permissions(changeFolder, fs::perms::owner_all, ec);
    const int fd = ::open(manifest.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        const std::string why = std::strerror(errno);
        RemoveRecord(changeFolder);
        return MakeError(PathText(manifest), 0, "cannot be created: " + why);
    }
    ::flock(fd, LOCK_EX);
    std::unique_ptr<ChangeWriter> writer(new ChangeWriter(*this, id, changeFolder, fd));
    // Flushed with the first files it records: a record that names no file yet undoes
    // nothing, lost or not.
    Status st = writer->Append(
        ManifestHeader(LocalTime(seconds, "%Y-%m-%d %H:%M:%S"), scriptId, effectName, option),
        false);
    if (!st) {
        writer.reset(); // removes the empty record
        return st.error();
    }
    return writer;
}

Result<std::vector<ChangeInfo>> UndoStore::History(size_t limit) const {
    std::vector<ChangeInfo> changes;
    std::vector<fs::path> folders = ChangeFolders(folder_);
    for (auto it = folders.rbegin(); it != folders.rend() && changes.size() < limit; ++it) {
        Result<ChangeInfo> info = ReadChange(*it);
        if (!info) {
            // A damaged record is listed with its reason; the others stay usable.
            ChangeInfo damaged;
            damaged.id = it->filename().string();
            damaged.damaged = info.error().text();
            changes.push_back(std::move(damaged));
            continue;
        }
        changes.push_back(std::move(*info));
    }
    return changes;
}

Result<UndoOutcome> UndoStore::Undo(const std::string& id, bool force,
                                    const std::function<void(const std::string&)>& waiting) {
    Result<FileLock> lock = LockStore(folder_);
    if (!lock)
        return lock.error();
    std::vector<fs::path> folders = ChangeFolders(folder_);
    if (folders.empty())
        return MakeError(PathText(folder_), 0, "holds no change to undo");
    fs::path changeFolder = folders.back();
    if (!id.empty()) {
        auto found = std::find_if(folders.begin(), folders.end(),
                                  [&](const fs::path& f) { return f.filename() == id; });
        if (found == folders.end())
            return MakeError(PathText(folder_), 0, "holds no change with the id \"" + id + "\"");
        changeFolder = *found;
    }
    Result<ChangeInfo> info = ReadChange(changeFolder);
    if (!info)
        return info.error();
    if (info->active)
        return MakeError(PathText(changeFolder), 0,
                         "is the record of a run that is still going on; undo it when it "
                         "has finished");

    // The folders it writes in, locked in one order (runs hold one folder at a time), so
    // no run records or replaces a file there between the checks below and the writes.
    std::set<fs::path> written;
    for (const ChangedFile& f : info->files)
        written.insert(fs::path(f.path).parent_path());
    std::vector<FileLock> held;
    for (const fs::path& folder : written) {
        std::error_code ec;
        if (!fs::is_directory(fs::symlink_status(folder, ec)))
            continue; // gone, or a link now: the files in it are named below
        Result<FileLock> folderLock = FileLock::TakeFolder(folder, waiting);
        if (!folderLock)
            return folderLock.error();
        held.push_back(std::move(*folderLock));
    }

    UndoOutcome outcome;
    outcome.id = info->id;
    outcome.pages = info->pages;
    // First check everything, then act: a refused undo changes nothing.
    struct Step {
        const ChangedFile* file;
        bool existsNow;
        std::string before; // the previous bytes of a replaced file
    };
    std::vector<Step> steps;
    for (const ChangedFile& f : info->files) {
        Result<FileNow> now = StateOf(f.path);
        if (!now)
            return now.error();
        if (now->throughLink)
            return MakeError(f.path, 0,
                             "is now a symbolic link, or lies in a folder reached through one; "
                             "undo does not write through links, so nothing was undone");
        const bool isAfter = now->exists && now->sha == f.afterSha;
        const bool isBefore = f.existed ? (now->exists && now->sha == f.beforeSha) : !now->exists;
        if (isBefore && !isAfter)
            continue; // never written (the run stopped first) or already back
        if (!isAfter)
            outcome.changedSince.push_back(f.path);
        Step step{&f, now->exists, {}};
        if (f.existed) {
            const fs::path blob = BeforeBlob(changeFolder, f.number);
            Result<std::string> before = ReadFileBytes(blob);
            if (!before)
                return before.error();
            if (Sha256Hex(*before) != f.beforeSha)
                return MakeError(PathText(blob), 0,
                                 "no longer holds the previous bytes of " + f.path +
                                     " (its SHA-256 differs); nothing was undone");
            step.before = std::move(*before);
        }
        steps.push_back(std::move(step));
    }
    if (!outcome.changedSince.empty() && !force)
        return outcome;

    for (const Step& step : steps) {
        const ChangedFile& f = *step.file;
        if (f.existed) {
            if (Status st = WriteFileAtomic(f.path, step.before); !st)
                return st.error();
            if (!step.existsNow) {
                std::error_code ec;
                fs::permissions(f.path, static_cast<fs::perms>(f.mode), ec);
            }
            outcome.restored.push_back(f.path);
        } else {
            std::error_code ec;
            fs::remove(f.path, ec);
            if (ec)
                return MakeError(f.path, 0, "cannot be removed: " + ec.message());
            SyncFolder(fs::path(f.path).parent_path());
            outcome.removed.push_back(f.path);
        }
    }
    if (Status st = RemoveRecord(changeFolder); !st)
        return st.error();
    if (std::optional<RecordSizes> sizes = ReadSizes(folder_); sizes && sizes->erase(info->id))
        WriteSizes(folder_, *sizes);
    outcome.undone = true;
    return outcome;
}

Status UndoStore::Prune() {
    Result<FileLock> lock = LockStore(folder_);
    if (!lock)
        return lock.error();
    return PruneListed();
}

Status UndoStore::PruneAfter(const std::string& id, uint64_t bytes) {
    Result<FileLock> lock = LockStore(folder_);
    if (!lock)
        return lock.error();
    std::optional<RecordSizes> sizes = ReadSizes(folder_);
    // Now and then the store is listed whole, so records the sizes file does not know
    // (those of runs that died) are counted too.
    if (!sizes || SequenceOf(id) % kListEvery == 0)
        return PruneListed();
    (*sizes)[id] = bytes;
    auto within = [this](const RecordSizes& known) {
        uint64_t total = 0;
        for (const auto& entry : known)
            total += entry.second;
        return known.size() <= maxChanges_ && total <= maxBytes_;
    };
    if (within(*sizes)) {
        WriteSizes(folder_, *sizes);
        return Status::Ok();
    }
    // Over a limit by the sizes file: see which records are really there (by their names:
    // undone or removed ones are gone, records it does not know are measured), then remove
    // the oldest.
    RecordSizes present = NoSizes();
    std::error_code ec;
    for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code typeError;
        if (!it->is_directory(typeError))
            continue;
        if (auto known = sizes->find(name); known != sizes->end())
            present[name] = known->second;
        else if (fs::exists(ManifestOf(it->path()), typeError))
            present[name] = FolderBytes(it->path());
    }
    uint64_t total = 0;
    for (const auto& entry : present)
        total += entry.second;
    size_t count = present.size();
    for (auto it = present.begin(); it != present.end() && std::next(it) != present.end() &&
                                    (count > maxChanges_ || total > maxBytes_);) {
        const fs::path changeFolder = folder_ / it->first;
        if (IsActive(changeFolder)) {
            ++it;
            continue;
        }
        if (Status st = RemoveRecord(changeFolder, false); !st) {
            WriteSizes(folder_, present);
            return st;
        }
        --count;
        total -= it->second;
        it = present.erase(it);
    }
    WriteSizes(folder_, present);
    return Status::Ok();
}

Status UndoStore::PruneListed() {
    std::vector<fs::path> folders = ChangeFolders(folder_);
    std::vector<uint64_t> sizes;
    uint64_t total = 0;
    for (const fs::path& f : folders) {
        sizes.push_back(FolderBytes(f));
        total += sizes.back();
    }
    size_t count = folders.size();
    for (size_t i = 0; i + 1 < folders.size() && (count > maxChanges_ || total > maxBytes_); ++i) {
        if (IsActive(folders[i]))
            continue;
        if (Status st = RemoveRecord(folders[i], false); !st)
            return st;
        --count;
        total -= sizes[i];
        folders[i].clear();
    }
    RecordSizes kept = NoSizes();
    for (size_t i = 0; i < folders.size(); ++i)
        if (!folders[i].empty())
            kept[folders[i].filename().string()] = sizes[i];
    WriteSizes(folder_, kept);
    return Status::Ok();
}

ChangeWriter::ChangeWriter(UndoStore& store, std::string id, fs::path folder, int fd)
    : store_(store), id_(std::move(id)), folder_(std::move(folder)), fd_(fd) {}

ChangeWriter::~ChangeWriter() {
    if (!finished_ && entries_.empty()) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
        RemoveRecord(folder_);
    }
    // A record with files stays as it is (without "end"): it undoes what was written.
    if (fd_ >= 0)
        ::close(fd_);
}

Status ChangeWriter::Append(const std::string& lines, bool flush) {
    size_t done = 0;
    while (done < lines.size()) {
        const ssize_t n = ::write(fd_, lines.data() + done, lines.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return MakeError(PathText(ManifestOf(folder_)), 0,
                             std::string("cannot be written: ") +
                                 std::strerror(n < 0 ? errno : EIO));
        done += static_cast<size_t>(n);
    }
    if (flush && ::fsync(fd_) != 0)
        return MakeError(PathText(ManifestOf(folder_)), 0,
                         std::string("cannot be flushed to the disk: ") + std::strerror(errno));
    return Status::Ok();
}

namespace {

struct FileDigest {
    std::string sha;
    uint64_t size = 0;
};

Error ReadFailure(const fs::path& file, int err) {
    return MakeError(PathText(file), 0, std::string("cannot be read: ") + std::strerror(err));
}

// Writes all the bytes, or gives the error number.
int WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : EIO;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return 0;
}

// Keeps the previous bytes of a file about to be replaced in `blob`, and gives their size
// and SHA-256; the file is read in pieces, as a page may be large.
// Where the writer renames a new file over the path and the file has no other name, the
// blob is made a second name of the same bytes: once the rename is done it is their only
// name, and nothing had to be copied. Otherwise the bytes are copied: a link would share
// them with the file's other names, and a write through one of those would spoil the backup.
// Where the blob is a second name and an early digest of the file in the state it has now
// is at hand, the file is not read again.
Result<FileDigest> KeepPreviousBytes(const fs::path& file, const fs::path& blob,
                                     bool replacedByRename, const EarlyDigest* early) {
    const int in = ::open(file.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (in < 0 && errno == ELOOP)
        return MakeError(PathText(file), 0,
                         "is a symbolic link; Pelto does not write through links, so nothing "
                         "was written to it or to the file it points to");
    if (in < 0)
        return MakeError(PathText(file), 0,
                         std::string("cannot be opened for reading: ") + std::strerror(errno));
    struct stat st {};
    if (::fstat(in, &st) != 0) {
        const int err = errno;
        ::close(in);
        return ReadFailure(file, err);
    }
    bool linked = false;
    if (replacedByRename && S_ISREG(st.st_mode) && st.st_nlink == 1 &&
        ::linkat(AT_FDCWD, file.c_str(), AT_FDCWD, blob.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        // The path may have been given another file between opening and linking: then
        // the copy below keeps the bytes that were opened.
        struct stat kept {};
        linked = ::stat(blob.c_str(), &kept) == 0 && kept.st_dev == st.st_dev &&
                 kept.st_ino == st.st_ino;
        if (!linked)
            ::unlink(blob.c_str());
    }
    const int out =
        linked ? -1
               : ::open(blob.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (!linked && out < 0) {
        const int err = errno;
        ::close(in);
        return MakeError(PathText(blob), 0,
                         std::string("cannot be opened for writing: ") + std::strerror(err));
    }
    FileDigest digest;
    int readError = 0;
    int writeError = 0;
    const bool known = linked && early && early->state == FileState::Of(st);
    if (known) {
        digest.sha = early->sha;
        digest.size = static_cast<uint64_t>(st.st_size);
    }
    constexpr size_t kPiece = size_t{256} << 10; // stays in the cache between read and hash
    std::unique_ptr<char[]> piece(known ? nullptr : new char[kPiece]);
    Sha256 sha;
    while (!known) {
        const ssize_t n = ::read(in, piece.get(), kPiece);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            readError = errno;
        if (n <= 0)
            break;
        const std::string_view bytes(piece.get(), static_cast<size_t>(n));
        sha.Update(bytes);
        digest.size += bytes.size();
        if (!linked && (writeError = WriteAll(out, bytes)) != 0)
            break;
    }
    // The kept bytes reach the disk before the record names them; a linked file may not
    // be on the disk yet if another program wrote it. Only the bytes and size count: the
    // new name is flushed with its folder, so a link costs no journal commit here.
    if (readError == 0 && writeError == 0 && ::fdatasync(linked ? in : out) != 0)
        writeError = errno;
    ::close(in);
    if (out >= 0 && ::close(out) != 0 && writeError == 0)
        writeError = errno;
    if (readError != 0)
        return ReadFailure(file, readError);
    if (writeError != 0)
        return MakeError(PathText(blob), 0,
                         std::string("cannot be written: ") + std::strerror(writeError));
    if (!known)
        digest.sha = sha.HexDigest();
    return digest;
}

} // namespace

Status ChangeWriter::Record(const std::string& page, const std::vector<PendingWrite>& writes) {
    auto failed = [&](const Error& e) {
        std::lock_guard<std::mutex> guard(mutex_);
        broken_ = true;
        readyChanged_.notify_all();
        return Status(MakeError(e.file, e.line,
                                e.message +
                                    "; the change could not be recorded, so nothing "
                                    "was written for " +
                                    page));
    };
    // Files new to this change get a number; files an earlier page of the change already
    // recorded only get their new "after" (once that earlier record is on the disk).
    // A file written twice for one page ends with the bytes of its last write.
    std::map<std::string, const PendingWrite*> finalWrites;
    for (const PendingWrite& w : writes) {
        std::error_code ec;
        finalWrites[fs::absolute(w.path, ec).lexically_normal().string()] = &w;
    }
    std::vector<std::pair<std::string, int>> fresh;
    std::vector<std::pair<int, const PendingWrite*>> again;
    {
        // All numbers are handed out in one go before any waiting, so a call only ever
        // waits for calls that came before it (no two calls can wait for each other).
        std::unique_lock<std::mutex> guard(mutex_);
        std::vector<std::pair<std::string, const PendingWrite*>> known;
        for (const auto& [path, w] : finalWrites) {
            if (entries_.count(path) != 0) {
                known.emplace_back(path, w);
            } else {
                const int number = nextNumber_++;
                entries_[path] = Entry{number, false};
                fresh.emplace_back(path, number);
            }
        }
        for (const auto& [path, w] : known) {
            Entry& entry = entries_[path];
            readyChanged_.wait(guard, [&] { return entry.ready || broken_; });
            again.emplace_back(entry.number, w);
        }
        if (broken_)
            return MakeError(PathText(ManifestOf(folder_)), 0,
                             "recording stopped after an earlier failure; nothing was written "
                             "for " +
                                 page);
    }
    std::string lines = ManifestPageLine(page);
    bool blobs = false;
    for (size_t k = 0; k < fresh.size(); ++k) {
        const auto& [path, number] = fresh[k];
        const PendingWrite* w = finalWrites[path];
        ChangedFile f;
        f.number = number;
        f.path = path;
        f.afterSize = w->Size();
        // A large file's new bytes are hashed beside the reading of its old ones: both
        // passes are bound by memory, and the machine has more than one core.
        std::future<std::string> afterSha;
        if (!w->sha.empty())
            f.afterSha = w->sha;
        else if (f.afterSize >= kHashAsideBytes)
            afterSha = Sha256Aside(w->parts);
        if (f.afterSha.empty() && !afterSha.valid())
            f.afterSha = Sha256Hex(w->parts);
        std::error_code ec;
        const fs::file_status status = fs::symlink_status(path, ec);
        if (fs::exists(status)) {
            std::optional<EarlyDigest> early;
            if (w->before.valid())
                early = w->before.get();
            Result<FileDigest> kept = KeepPreviousBytes(
                path, BeforeBlob(folder_, number), w->replacedByRename, early ? &*early : nullptr);
            if (!kept)
                return failed(kept.error());
            f.existed = true;
            f.mode = static_cast<unsigned>(status.permissions() & fs::perms::mask);
            f.beforeSize = kept->size;
            f.beforeSha = kept->sha;
            blobs = true;
        }
        if (afterSha.valid())
            f.afterSha = afterSha.get();
        lines += ManifestFileLine(f);
    }
    for (const auto& [number, w] : again)
        lines +=
            ManifestAfterLine(number, w->Size(), w->sha.empty() ? Sha256Hex(w->parts) : w->sha);
    std::lock_guard<std::mutex> guard(mutex_);
    // The new "<n>.before" names, and with the first files the record's own name and its
    // manifest's, reach the disk with the lines that name them.
    Status named = Status::Ok();
    if (blobs || !named_)
        named = SyncFolder(folder_);
    if (named && !named_)
        named = SyncFolder(store_.folder_);
    if (!named) {
        broken_ = true;
        readyChanged_.notify_all();
        return MakeError(named.error().file, 0,
                         named.error().message +
                             "; the change could not be recorded, so nothing "
                             "was written for " +
                             page);
    }
    named_ = true;
    if (Status st = Append(lines); !st) {
        broken_ = true;
        readyChanged_.notify_all();
        return MakeError(st.error().file, 0,
                         st.error().message +
                             "; the change could not be recorded, so nothing "
                             "was written for " +
                             page);
    }
    for (const auto& [path, number] : fresh)
        entries_[path].ready = true;
    readyChanged_.notify_all();
    return Status::Ok();
}

Result<bool> ChangeWriter::Finish(bool allWritten) {
    finished_ = true;
    if (entries_.empty()) {
        ::close(fd_);
        fd_ = -1;
        if (Status st = RemoveRecord(folder_); !st)
            return st.error();
        return false;
    }
    if (allWritten && !broken_)
        if (Status st = Append(kManifestEnd); !st)
            return st.error();
    ::close(fd_); // releases the record for pruning and undo
    fd_ = -1;
    if (Status st = store_.PruneAfter(id_, FolderBytes(folder_)); !st)
        return st.error();
    return true;
}

} // namespace pelto
