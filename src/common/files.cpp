#include "common/files.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

namespace pelto {

std::string PathText(const fs::path& path) {
    return path.string();
}

Result<std::string> ReadFileBytes(const fs::path& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return MakeError(PathText(path), 0,
                         std::string("cannot be opened for reading: ") + std::strerror(errno));
    // One sized read for the common case; the loop catches a file that grew meanwhile.
    std::string bytes;
    std::error_code sizeError;
    const auto expected = fs::file_size(path, sizeError);
    if (!sizeError && expected > 0) {
        bytes.resize(static_cast<size_t>(expected));
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
    }
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        bytes.append(buffer, n);
    const bool failed = std::ferror(f) != 0;
    const int err = errno;
    std::fclose(f);
    if (failed)
        return MakeError(PathText(path), 0,
                         std::string("cannot be read: ") + std::strerror(err == 0 ? EIO : err));
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

Status WriteFileParts(const fs::path& path, const std::vector<std::string_view>& parts) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return MakeError(PathText(path), 0,
                         std::string("cannot be opened for writing: ") + std::strerror(errno));
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
        // Step over what was written; a part written in half is continued.
        size_t done = static_cast<size_t>(n);
        while (next < io.size() && done >= io[next].iov_len)
            done -= io[next++].iov_len;
        if (next < io.size()) {
            io[next].iov_base = static_cast<char*>(io[next].iov_base) + done;
            io[next].iov_len -= done;
        }
    }
    if (::close(fd) != 0 && err == 0)
        err = errno;
    if (err != 0)
        return MakeError(PathText(path), 0,
                         std::string("cannot be written: ") + std::strerror(err));
    return Status::Ok();
}

Status WriteFileDurable(const fs::path& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return MakeError(PathText(path), 0,
                         std::string("cannot be opened for writing: ") + std::strerror(errno));
    int err = 0;
    size_t done = 0;
    while (done < bytes.size() && err == 0) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n > 0)
            done += static_cast<size_t>(n);
        else if (n < 0 && errno != EINTR)
            err = errno;
        else if (n == 0)
            err = EIO;
    }
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

Status WriteFileAtomic(const fs::path& path, std::string_view bytes) {
    // Each thread has its own generator: batches write from several threads at once.
    thread_local std::mt19937_64 rng{std::random_device{}()};
    // A page reached through a link is replaced where it really lies, and keeps its
    // permissions (a private page stays private).
    std::error_code ec;
    fs::path target = path;
    if (fs::is_symlink(path, ec)) {
        fs::path real = fs::canonical(path, ec);
        if (!ec)
            target = real;
    }
    const fs::file_status old = fs::status(target, ec);
    fs::path temp = target;
    temp += ".pelto-" + std::to_string(rng() % 1000000000ULL) + ".tmp";
    Status st = WriteFileDurable(temp, bytes);
    if (!st.ok()) {
        std::error_code ignore;
        fs::remove(temp, ignore);
        return MakeError(PathText(path), 0, "cannot be written: " + st.error().message);
    }
    if (fs::is_regular_file(old))
        fs::permissions(temp, old.permissions(), ec);
    ec.clear();
    fs::rename(temp, target, ec);
    if (ec) {
        std::error_code ignore;
        fs::remove(temp, ignore);
        return MakeError(PathText(path), 0, "cannot be replaced: " + ec.message());
    }
    return SyncFolder(target.parent_path());
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
