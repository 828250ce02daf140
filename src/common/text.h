#pragma once
// Small text helpers shared by the readers and the expansion.
#include <string_view>

namespace pelto {

// The text without leading and trailing blanks (spaces).
std::string_view TrimBlanks(std::string_view text);

} // namespace pelto
