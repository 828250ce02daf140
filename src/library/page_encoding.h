#pragma once
// Telling a UTF-8 page from a Windows-1252 one, from its first bytes, so texts read
// from it (link texts) can be decoded into the program's UTF-8 and values written into
// it in its own encoding.
#include <string_view>

namespace pelto {

// True when the page is UTF-8: it starts with the UTF-8 byte order mark; or its first
// 1024 bytes declare utf-8 (or utf8) in a <meta charset=...> or in the charset of a
// <meta http-equiv ... content="...">, or in the encoding of an XML declaration at its
// start; or it declares no encoding there at all and its bytes are well-formed UTF-8
// with at least one byte above 0x7F.
bool IsUtf8Page(std::string_view page);

// True when the page starts with the UTF-8 byte order mark.
bool StartsWithUtf8Mark(std::string_view page);

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

} // namespace pelto
