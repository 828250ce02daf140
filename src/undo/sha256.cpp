#include "undo/sha256.h"

#include <nettle/sha2.h>
#include <system_error>

namespace pelto {

namespace {

std::string DigestText(sha256_ctx& ctx) {
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

Sha256::Sha256() {
    sha256_init(&ctx_);
}

void Sha256::Update(std::string_view bytes) {
    sha256_update(&ctx_, bytes.size(), reinterpret_cast<const uint8_t*>(bytes.data()));
}

std::string Sha256::HexDigest() {
    return DigestText(ctx_);
}

std::string Sha256Hex(const std::vector<std::string_view>& parts) {
    Sha256 sha;
    for (std::string_view part : parts)
        sha.Update(part);
    return sha.HexDigest();
}

std::future<std::string> Sha256Aside(const std::vector<std::string_view>& parts) {
    try {
        return std::async(std::launch::async, [&parts] { return Sha256Hex(parts); });
    } catch (const std::system_error&) {
        return {};
    }
}

std::string Sha256Hex(std::string_view bytes) {
    return Sha256Hex(std::vector<std::string_view>{bytes});
}

} // namespace pelto
