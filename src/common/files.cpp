#include "common/files.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

namespace pelto {

std::string PathText(const fs::path& path) {
    return path.string();
}

namespace {

std::string SizeText(size_t bytes) {
    if (bytes >= (size_t{1} << 20) && bytes % (size_t{1} << 20) == 0)
        return std::to_string(bytes >> 20) + " MB";
    return std::to_string(bytes) + " bytes";
}

} // namespace

Result<std::string> ReadFileBytes(const fs::path& path, size_t maxBytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return MakeError(PathText(path), 0,
                         std::string("cannot be opened for reading: ") + std::strerror(errno));
    // One sized read for the common case; the loop catches a file that grew meanwhile, and
    // a device or pipe that has no size.
    std::string bytes;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0)
        bytes.reserve(std::min<size_t>(static_cast<size_t>(st.st_size), maxBytes) + 1);
    char buffer[65536];
    int err = 0;
    bool tooLarge = false;
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            err = errno;
            break;
        }
        if (n == 0)
            break;
        if (static_cast<size_t>(n) > maxBytes - bytes.size()) {
            tooLarge = true;
            break;
        }
        bytes.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    if (tooLarge)
        return MakeError(PathText(path), 0,
                         "is larger than " + SizeText(maxBytes) +
                             ", the most that is read from such a file; it was not used");
    if (err != 0)
        return MakeError(PathText(path), 0, std::string("cannot be read: ") + std::strerror(err));
    return bytes;
}

void FileBuffer::Free::operator()(char* p) const {
    if (mapped != 0)
        ::munmap(p, mapped);
    else
        std::free(p);
}

Result<FileBuffer> ReadFileBuffer(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return MakeError(PathText(path), 0,
                         std::string("cannot be opened for reading: ") + std::strerror(errno));
    FileBuffer buffer;
    struct stat st {};
    size_t capacity = ::fstat(fd, &st) == 0 && st.st_size > 0 ? static_cast<size_t>(st.st_size) : 0;
    // One byte more than the size, so that reaching the end takes no second buffer.
    capacity += 1;
    // A large page gets its memory in one step, in huge pages where the system has them:
    // touching fresh memory page by page costs more than reading the file.
    if (capacity >= (size_t{1} << 20)) {
        void* mapped =
            ::mmap(nullptr, capacity, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (mapped != MAP_FAILED) {
            // Both are hints: a system without them fills the memory as the read goes.
            ::madvise(mapped, capacity, MADV_HUGEPAGE);
            ::madvise(mapped, capacity, MADV_POPULATE_WRITE); // Linux 5.14 on
        }
        if (mapped != MAP_FAILED)
            buffer.data_ = std::unique_ptr<char, FileBuffer::Free>(static_cast<char*>(mapped),
                                                                   FileBuffer::Free{capacity});
    }
    if (!buffer.data_)
        buffer.data_.reset(static_cast<char*>(std::malloc(capacity)));
    int err = buffer.data_ ? 0 : ENOMEM;
    while (err == 0) {
        if (buffer.size_ == capacity) { // the file grew meanwhile
            char* grown = static_cast<char*>(std::malloc(capacity * 2));
            if (!grown) {
                err = ENOMEM;
                break;
            }
            std::memcpy(grown, buffer.data_.get(), buffer.size_);
            buffer.data_ = std::unique_ptr<char, FileBuffer::Free>(grown, FileBuffer::Free{0});
            capacity *= 2;
        }
        const ssize_t n = ::read(fd, buffer.data_.get() + buffer.size_, capacity - buffer.size_);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno != EINTR)
                err = errno;
            continue;
        }
        buffer.size_ += static_cast<size_t>(n);
    }
    ::close(fd);
    if (err != 0)
        return MakeError(PathText(path), 0, std::string("cannot be read: ") + std::strerror(err));
    return buffer;
}

Status WriteFileBytes(const fs::path& path, std::string_view bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return MakeError(PathText(path), 0,
                         std::string("cannot be opened for writing: ") + std::strerror(errno));
    size_t written = bytes.empty() ? 0 : std::fwrite(bytes.data(), 1, bytes.size(), f);
    int err = (written != bytes.size()) ? errno : 0;
    if (std::fclose(f) != 0 && err == 0)
        err = errno ? errno : EIO;
    if (written != bytes.size() || err != 0)
        return MakeError(PathText(path), 0,
                         std::string("cannot be written: ") + std::strerror(err ? err : EIO));
    return Status::Ok();
}

namespace {

// Writes the parts one after another with gathered writes; 0, or the error number of the
// write that failed.
int WriteAllParts(int fd, const std::vector<std::string_view>& parts) {
    std::vector<iovec> io;
    io.reserve(parts.size());
    for (std::string_view p : parts)
        if (!p.empty())
            io.push_back({const_cast<char*>(p.data()), p.size()});
    int err = 0;
    size_t next = 0;
    while (next < io.size() && err == 0) {
        const int count = static_cast<int>(std::min<size_t>(io.size() - next, IOV_MAX));
        const ssize_t n = ::writev(fd, io.data() + next, count);
        if (n < 0) {
            if (errno != EINTR)
                err = errno;
            continue;
        }
        if (n == 0) { // nothing more goes in: never loop on it
            err = EIO;
            break;
        }
        // Step over what was written; a part written in half is continued.
        size_t done = static_cast<size_t>(n);
        while (next < io.size() && done >= io[next].iov_len)
            done -= io[next++].iov_len;
        if (next < io.size()) {
            io[next].iov_base = static_cast<char*>(io[next].iov_base) + done;
            io[next].iov_len -= done;
        }
    }
    return err;
}

} // namespace

Status WriteFileParts(const fs::path& path, const std::vector<std::string_view>& parts,
                      unsigned mode) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC,
                          static_cast<mode_t>(mode));
    if (fd < 0)
        return MakeError(PathText(path), 0,
                         std::string("cannot be opened for writing: ") + std::strerror(errno));
    int err = WriteAllParts(fd, parts);
    if (::close(fd) != 0 && err == 0)
        err = errno;
    if (err != 0)
        return MakeError(PathText(path), 0,
                         std::string("cannot be written: ") + std::strerror(err));
    return Status::Ok();
}

namespace {

// Writes all of bytes to fd; 0, or the error number of the write that failed.
int WriteAll(int fd, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0)
            done += static_cast<size_t>(n);
        else if (n < 0 && errno != EINTR)
            return errno;
        else if (n == 0)
            return EIO;
    }
    return 0;
}

} // namespace

Status WriteFileDurable(const fs::path& path, std::string_view bytes, unsigned mode) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC,
                          static_cast<mode_t>(mode));
    if (fd < 0)
        return MakeError(PathText(path), 0,
                         std::string("cannot be opened for writing: ") + std::strerror(errno));
    int err = WriteAll(fd, bytes);
    if (err == 0 && ::fsync(fd) != 0)
        err = errno;
    if (::close(fd) != 0 && err == 0)
        err = errno;
    if (err != 0)
        return MakeError(PathText(path), 0,
                         std::string("cannot be written: ") + std::strerror(err));
    return Status::Ok();
}

Status SyncFolder(const fs::path& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return MakeError(PathText(folder), 0,
                         std::string("cannot be opened to flush it: ") + std::strerror(errno));
    int err = 0;
    // Some file systems cannot flush a folder (EINVAL); their renames are durable anyway.
    if (::fsync(fd) != 0 && errno != EINVAL)
        err = errno;
    ::close(fd);
    if (err != 0)
        return MakeError(PathText(folder), 0,
                         std::string("cannot be flushed to the disk: ") + std::strerror(err));
    return Status::Ok();
}

unsigned NewFileMode() {
    // The umask is read where the system shows it: setting it to read it back would change
    // it for every thread for a moment.
    static const unsigned mode = [] {
        std::FILE* f = std::fopen("/proc/self/status", "r");
        unsigned mask = 022;
        if (f) {
            char line[256];
            while (std::fgets(line, sizeof line, f))
                if (std::strncmp(line, "Umask:", 6) == 0) {
                    mask = static_cast<unsigned>(std::strtoul(line + 6, nullptr, 8));
                    break;
                }
            std::fclose(f);
        }
        return 0666u & ~mask;
    }();
    return mode;
}

fs::path TemporaryNameBeside(const fs::path& path, const std::string& kind) {
    // Each thread has its own generator: batches write from several threads at once.
    thread_local std::mt19937_64 rng{std::random_device{}()};
    fs::path temp = path;
    temp += ".pelto-" + std::to_string(::getpid()) + "-" + std::to_string(rng() % 1000000000ULL) +
            "." + kind;
    return temp;
}

bool ProcessIsAlive(long pid) {
    if (pid <= 0)
        return false;
    if (pid == static_cast<long>(::getpid()))
        return true;
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

namespace {

// The process number in a name made by TemporaryNameBeside (or by earlier versions:
// ".pelto-N.tmp", ".pelto-N.link"), or -1 for any other name.
long LeftoverProcess(const std::string& name) {
    const size_t mark = name.rfind(".pelto-");
    if (mark == std::string::npos || mark == 0)
        return -1;
    std::string_view rest(name);
    rest.remove_prefix(mark + 7);
    auto digits = [&rest] {
        size_t n = 0;
        while (n < rest.size() && rest[n] >= '0' && rest[n] <= '9')
            ++n;
        std::string_view d = rest.substr(0, n);
        rest.remove_prefix(n);
        return d;
    };
    const std::string_view pid = digits();
    if (pid.empty() || pid.size() > 10)
        return -1;
    if (!rest.empty() && rest[0] == '-') {
        rest.remove_prefix(1);
        if (digits().empty())
            return -1;
    }
    if (rest != ".tmp" && rest != ".link")
        return -1;
    return std::strtol(std::string(pid).c_str(), nullptr, 10);
}

} // namespace

std::vector<fs::path> RemoveDeadRunLeftovers(const fs::path& folder, bool anyRun) {
    std::vector<fs::path> removed;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const long pid = LeftoverProcess(it->path().filename().string());
        std::error_code typeError;
        if (pid < 0 || !fs::is_regular_file(it->symlink_status(typeError)))
            continue;
        if (!anyRun && ProcessIsAlive(pid))
            continue;
        if (anyRun && pid == static_cast<long>(::getpid()))
            continue; // this process's own file, being written by another of its threads
        std::error_code removeError;
        if (fs::remove(it->path(), removeError))
            removed.push_back(it->path());
    }
    if (!removed.empty())
        SyncFolder(folder);
    std::sort(removed.begin(), removed.end());
    return removed;
}

Status WriteFileAtomic(const fs::path& path, std::string_view bytes) {
    return WriteFileAtomic(path, std::vector<std::string_view>{bytes});
}

Status WriteFileAtomic(const fs::path& path, const std::vector<std::string_view>& parts) {
    return WriteFileAtomic(path, parts, FolderFlush::Now);
}

Status WriteFileAtomic(const fs::path& path, const std::vector<std::string_view>& parts,
                       FolderFlush flush) {
    struct stat old {};
    bool replaces = false;
    if (::lstat(path.c_str(), &old) == 0) {
        if (S_ISLNK(old.st_mode))
            return MakeError(PathText(path), 0,
                             "is a symbolic link; Pelto does not write through links, so nothing "
                             "was written to it or to the file it points to");
        replaces = S_ISREG(old.st_mode);
    }
    const fs::path temp = TemporaryNameBeside(path);
    // Private while it is written: the bytes may be those of a private page.
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return MakeError(PathText(path), 0,
                         std::string("cannot be written: ") + PathText(temp) +
                             " cannot be created: " + std::strerror(errno));
    int err = WriteAllParts(fd, parts);
    if (err == 0) {
        // The new file is the old one's successor: same owner where the process may give
        // it (changing the owner first, as that clears set-id bits), then the same mode.
        if (replaces && (old.st_uid != ::geteuid() || old.st_gid != ::getegid())) [[maybe_unused]]
            int ignored = ::fchown(fd, old.st_uid, old.st_gid);
        const mode_t mode = replaces ? (old.st_mode & 07777) : static_cast<mode_t>(NewFileMode());
        if (::fchmod(fd, mode) != 0)
            err = errno;
    }
    if (err == 0 && ::fsync(fd) != 0)
        err = errno;
    if (::close(fd) != 0 && err == 0)
        err = errno;
    if (err == 0 && ::rename(temp.c_str(), path.c_str()) != 0) {
        const int renameError = errno;
        ::unlink(temp.c_str());
        return MakeError(PathText(path), 0,
                         std::string("cannot be replaced: ") + std::strerror(renameError));
    }
    if (err != 0) {
        ::unlink(temp.c_str());
        return MakeError(PathText(path), 0,
                         std::string("cannot be written: ") + std::strerror(err));
    }
    return flush == FolderFlush::Now ? SyncFolder(path.parent_path()) : Status::Ok();
}

Result<std::vector<fs::path>> FolderFiles(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec)
        return MakeError(PathText(folder), 0, "cannot be listed: " + ec.message());
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec)
            return MakeError(PathText(folder), 0, "cannot be listed: " + ec.message());
        std::error_code typeError;
        if (it->is_regular_file(typeError))
            files.push_back(it->path());
    }
    // All entries share the folder, so comparing the plain strings orders them by name (and
    // is much cheaper than comparing paths element by element).
    std::sort(files.begin(), files.end(),
              [](const fs::path& a, const fs::path& b) { return a.native() < b.native(); });
    return files;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    size_t i = 0;
    while (i < text.size()) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.emplace_back(text.substr(start, i - start));
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            ++i;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

} // namespace pelto
