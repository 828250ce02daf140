#include "common/file_lock.h"

#include "common/files.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>

namespace pelto {

FileLock::~FileLock() {
    if (fd_ >= 0)
        ::close(fd_); // closing the file releases the lock
}

FileLock::FileLock(FileLock&& other) noexcept : fd_(other.fd_) {
    other.fd_ = -1;
}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

namespace {

// The process number the holder wrote into the lock file ("" when unknown).
std::string HolderOf(int fd) {
    char buffer[32] = {};
    const ssize_t n = ::pread(fd, buffer, sizeof buffer - 1, 0);
    std::string text = n > 0 ? std::string(buffer, static_cast<size_t>(n)) : std::string();
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    return text;
}

} // namespace

Result<FileLock> FileLock::Take(const std::filesystem::path& lockFile, const std::string& what,
                                Wait wait, const std::function<void(const std::string&)>& waiting) {
    std::error_code ec;
    std::filesystem::create_directories(lockFile.parent_path(), ec);
    const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        return MakeError(PathText(lockFile), 0,
                         std::string("cannot be opened as a lock file: ") + std::strerror(errno));
    FileLock lock(fd);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK)
            return MakeError(PathText(lockFile), 0,
                             std::string("cannot be locked: ") + std::strerror(errno));
        const std::string holder = HolderOf(fd);
        const std::string busy = what + " is in use by another Pelto run" +
                                 (holder.empty() ? std::string() : " (process " + holder + ")");
        if (wait == Wait::No)
            return MakeError(PathText(lockFile.parent_path()), 0,
                             busy + "; try again when it has finished");
        if (waiting)
            waiting(busy + "; waiting until it has finished");
        int rc;
        while ((rc = ::flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
        }
        if (rc != 0)
            return MakeError(PathText(lockFile), 0,
                             std::string("cannot be locked: ") + std::strerror(errno));
    }
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(fd, 0) == 0) {
        [[maybe_unused]] ssize_t n = ::pwrite(fd, pid.data(), pid.size(), 0);
    }
    return lock;
}

Result<FileLock> FileLock::TakeFolder(const std::filesystem::path& folder,
                                      const std::function<void(const std::string&)>& waiting) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(),
                          O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return MakeError(PathText(folder), 0,
                         std::string("cannot be opened to lock it: ") + std::strerror(errno));
    FileLock lock(fd);
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        return lock;
    if (errno != EWOULDBLOCK)
        return MakeError(PathText(folder), 0,
                         std::string("cannot be locked: ") + std::strerror(errno));
    if (waiting)
        waiting("The folder " + PathText(folder) +
                " is in use by another Pelto run; waiting until it has finished");
    int rc;
    while ((rc = ::flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
    }
    if (rc != 0)
        return MakeError(PathText(folder), 0,
                         std::string("cannot be locked: ") + std::strerror(errno));
    return lock;
}

} // namespace pelto
