#include "undo/early_digest.h"

#include "undo/sha256.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <memory>
#include <system_error>
#include <unistd.h>

namespace pelto {

namespace {

bool Before(int64_t sec, int64_t nsec, const struct timespec& t) {
    return sec < t.tv_sec || (sec == t.tv_sec && nsec < t.tv_nsec);
}

// True when the file's bytes were last written before `started`: a write from then on
// gives it a later modification time. (Its change time may be recent: a name added or
// removed changes it, not the bytes.) The coarse clock is the one file time stamps come
// from.
bool SettledBefore(const FileState& s, const struct timespec& started) {
    return Before(s.mtimeSec, s.mtimeNsec, started);
}

std::optional<EarlyDigest> DigestFile(const std::filesystem::path& path, uint64_t minBytes,
                                      struct timespec started) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat before {};
    std::optional<EarlyDigest> digest;
    if (::fstat(fd, &before) == 0 && S_ISREG(before.st_mode) &&
        static_cast<uint64_t>(before.st_size) >= minBytes &&
        SettledBefore(FileState::Of(before), started)) {
        constexpr size_t kPiece = size_t{256} << 10;
        std::unique_ptr<char[]> piece(new char[kPiece]);
        Sha256 sha;
        bool ok = true;
        for (;;) {
            const ssize_t n = ::read(fd, piece.get(), kPiece);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                ok = false;
            if (n <= 0)
                break;
            sha.Update(std::string_view(piece.get(), static_cast<size_t>(n)));
        }
        struct stat after {};
        if (ok && ::fstat(fd, &after) == 0 && FileState::Of(after) == FileState::Of(before))
            digest = EarlyDigest{FileState::Of(before), sha.HexDigest()};
    }
    ::close(fd);
    return digest;
}

EarlyDigestFuture Nothing() {
    std::promise<std::optional<EarlyDigest>> none;
    none.set_value(std::nullopt);
    return none.get_future().share();
}

} // namespace

FileState FileState::Of(const struct stat& st) {
    FileState s;
    s.device = st.st_dev;
    s.inode = st.st_ino;
    s.size = st.st_size;
    s.mtimeSec = st.st_mtim.tv_sec;
    s.mtimeNsec = st.st_mtim.tv_nsec;
    s.ctimeSec = st.st_ctim.tv_sec;
    s.ctimeNsec = st.st_ctim.tv_nsec;
    return s;
}

struct timespec DigestClockNow() {
    struct timespec t {};
    ::clock_gettime(CLOCK_REALTIME_COARSE, &t);
    return t;
}

EarlyDigestFuture DigestFileAside(const std::filesystem::path& path, uint64_t minBytes) {
    const struct timespec started = DigestClockNow();
    try {
        return std::async(std::launch::async,
                          [path, minBytes, started] { return DigestFile(path, minBytes, started); })
            .share();
    } catch (const std::system_error&) {
        return Nothing(); // no thread: the record reads the file itself
    }
}

EarlyDigestFuture DigestBytesAside(std::string_view bytes, const struct stat& state,
                                   struct timespec started) {
    const FileState s = FileState::Of(state);
    if (!SettledBefore(s, started))
        return Nothing();
    try {
        return std::async(std::launch::async,
                          [bytes, s] {
                              return std::optional<EarlyDigest>(EarlyDigest{s, Sha256Hex(bytes)});
                          })
            .share();
    } catch (const std::system_error&) {
        return Nothing();
    }
}

} // namespace pelto
