#pragma once
// SHA-256 of bytes, as 64 lower-case hexadecimal digits: how a change record tells whether
// a file still holds what Pelto wrote.
#include <cstddef>
#include <future>
#include <nettle/sha2.h>
#include <string>
#include <string_view>
#include <vector>

namespace pelto {

// SHA-256 of bytes handed over piece by piece, for a file read in pieces.
class Sha256 {
public:
    Sha256();
    void Update(std::string_view bytes);
    std::string HexDigest(); // ends the hash

private:
    sha256_ctx ctx_;
};

std::string Sha256Hex(std::string_view bytes);

// The same for bytes given in parts, as if they were joined.
std::string Sha256Hex(const std::vector<std::string_view>& parts);

// Bytes from this size on are worth hashing on a thread of their own, beside other work
// that is bound by memory as well.
inline constexpr size_t kHashAsideBytes = size_t{1} << 20;

// Sha256Hex of the parts, taken on another thread; the parts must stay until the result is
// fetched. An invalid future where no thread can be had: the caller hashes them itself.
std::future<std::string> Sha256Aside(const std::vector<std::string_view>& parts);

} // namespace pelto
