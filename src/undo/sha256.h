#pragma once
// SHA-256 of bytes, as 64 lower-case hexadecimal digits: how a change record tells whether
// a file still holds what Pelto wrote.
#include <string>
#include <string_view>
#include <vector>

namespace pelto {

std::string Sha256Hex(std::string_view bytes);

// The same for bytes given in parts, as if they were joined.
std::string Sha256Hex(const std::vector<std::string_view>& parts);

} // namespace pelto
