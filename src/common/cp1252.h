#pragma once
// Windows-1252 <-> UTF-8 for the core (the effect sources are written in UTF-8 and
// packed into Windows-1252 data files).
#include <optional>
#include <string>
#include <string_view>

namespace pelto {

// UTF-8 to Windows-1252 bytes; no value when the text is not valid UTF-8 or holds a
// character that Windows-1252 cannot write. badOffset (if given) receives the byte
// offset of the first such character.
std::optional<std::string> Utf8ToCp1252(std::string_view utf8, size_t* badOffset = nullptr);

// Windows-1252 bytes to UTF-8 (the five unassigned bytes map to U+FFFD).
std::string Cp1252ToUtf8(std::string_view bytes);

} // namespace pelto
