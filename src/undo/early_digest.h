#pragma once
// The SHA-256 of a file's bytes taken early, on another thread, while a run reads and
// builds its page: the change record then needs not read a large file it keeps again.
// A digest counts only for the file in the state it had when it was taken (the same
// device, inode, size and time stamps); the file's bytes were last written before the
// hashing began, so a write while or after it was hashed always shows in its time stamps.
#include <cstdint>
#include <filesystem>
#include <future>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>

namespace pelto {

struct FileState {
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = 0;
    int64_t mtimeSec = 0, mtimeNsec = 0;
    int64_t ctimeSec = 0, ctimeNsec = 0;

    static FileState Of(const struct stat& st);
    bool operator==(const FileState&) const = default;
};

struct EarlyDigest {
    FileState state;
    std::string sha;
};

using EarlyDigestFuture = std::shared_future<std::optional<EarlyDigest>>;

// The time stamps a change made from now on gets are never earlier than this.
struct timespec DigestClockNow();

// Hashes the regular file at path (not followed where it is a link) on another thread.
// No digest where it is missing, is no regular file, is smaller than minBytes (not worth
// a thread), changes while it is read, or was written at or after the start.
EarlyDigestFuture DigestFileAside(const std::filesystem::path& path, uint64_t minBytes);

// The same for a file's bytes already read: state is the file's state before and after
// they were read (the caller compared them), started the DigestClockNow() taken before
// reading. The bytes must stay until the digest is fetched.
EarlyDigestFuture DigestBytesAside(std::string_view bytes, const struct stat& state,
                                   struct timespec started);

} // namespace pelto
