#pragma once
// Finding tags in page bytes without regard to (ASCII) letter case.
#include <string>
#include <string_view>

namespace pelto {

// Position of the first occurrence of needle at or after from, letters compared
// without case; npos when there is none.
size_t FindNoCase(std::string_view haystack, std::string_view needle, size_t from = 0);

} // namespace pelto
