#pragma once
// SHA-256 of bytes, as 64 lower-case hexadecimal digits: how a change record tells whether
// a file still holds what Pelto wrote.
#include "common/result.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace pelto {

std::string Sha256Hex(std::string_view bytes);

// The same for bytes given in parts, as if they were joined.
std::string Sha256Hex(const std::vector<std::string_view>& parts);

// The SHA-256 and size of a file's bytes, read in small pieces (a long page is never held
// whole in memory for it).
struct FileDigest {
    std::string sha;
    std::uintmax_t size = 0;
};
Result<FileDigest> Sha256OfFile(const std::filesystem::path& path);

} // namespace pelto
