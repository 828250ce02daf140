#include "undo/sha256.h"

#include <nettle/sha2.h>

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

std::string Sha256Hex(std::string_view bytes) {
    return Sha256Hex(std::vector<std::string_view>{bytes});
}

} // namespace pelto
