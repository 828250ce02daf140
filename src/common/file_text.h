#pragma once
// The text of the program's own files (headers, definitions, conditions, templates)
// between their bytes and the UTF-8 the program holds: a file is Windows-1252 unless it
// starts with the UTF-8 byte order mark; a file is written in Windows-1252 when all its
// characters fit, so older copies of the program read it, else as UTF-8 with the mark.
#include <string>
#include <string_view>

namespace pelto {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The file's text as UTF-8: after a byte order mark the bytes as UTF-8 (the mark is not
// part of the text; a byte that is no well-formed character becomes U+FFFD), otherwise
// the bytes as Windows-1252.
std::string FileTextToUtf8(std::string_view bytes);

// The bytes of a file holding the UTF-8 text: Windows-1252 when every character has a
// byte there, else the byte order mark and the UTF-8 (made well-formed).
std::string Utf8ToFileText(std::string_view utf8);

} // namespace pelto
