#include "undo/sha256.h"

#include "common/files.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <nettle/sha2.h>
#include <unistd.h>

namespace pelto {

namespace {

std::string HexDigest(sha256_ctx& ctx) {
    uint8_t digest[SHA256_DIGEST_SIZE];
    sha256_digest(&ctx, SHA256_DIGEST_SIZE, digest);
    static const char kHex[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(2 * SHA256_DIGEST_SIZE);
    for (uint8_t b : digest) {
        hex += kHex[b >> 4];
        hex += kHex[b & 15];
    }
    return hex;
}

} // namespace

std::string Sha256Hex(const std::vector<std::string_view>& parts) {
    sha256_ctx ctx;
    sha256_init(&ctx);
    for (std::string_view part : parts)
        sha256_update(&ctx, part.size(), reinterpret_cast<const uint8_t*>(part.data()));
    return HexDigest(ctx);
}

Result<FileDigest> Sha256OfFile(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return MakeError(PathText(path), 0,
                         std::string("cannot be opened for reading: ") + std::strerror(errno));
    sha256_ctx ctx;
    sha256_init(&ctx);
    FileDigest digest;
    static thread_local uint8_t buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int err = errno;
            ::close(fd);
            return MakeError(PathText(path), 0,
                             std::string("cannot be read: ") + std::strerror(err));
        }
        if (n == 0)
            break;
        sha256_update(&ctx, static_cast<size_t>(n), buffer);
        digest.size += static_cast<std::uintmax_t>(n);
    }
    ::close(fd);
    digest.sha = HexDigest(ctx);
    return digest;
}

std::string Sha256Hex(std::string_view bytes) {
    return Sha256Hex(std::vector<std::string_view>{bytes});
}

} // namespace pelto
