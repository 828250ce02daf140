#pragma once
// Windows-1252 <-> UTF-8 for the core, which holds its texts as UTF-8: the effect
// sources are written in UTF-8 and packed into Windows-1252 data files; data files,
// templates, pages and terminals may speak either.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pelto {

// UTF-8 to Windows-1252 bytes; no value when the text is not valid UTF-8 or holds a
// character that Windows-1252 cannot write. badOffset (if given) receives the byte
// offset of the first such character.
std::optional<std::string> Utf8ToCp1252(std::string_view utf8, size_t* badOffset = nullptr);

// Windows-1252 bytes to UTF-8 (the five unassigned bytes to the code point of their
// number, as browsers read them, so every byte comes back).
std::string Cp1252ToUtf8(std::string_view bytes);

// The Unicode code point of a Windows-1252 byte; the five unassigned bytes (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) give the code point of the same number.
uint32_t Cp1252CodePoint(unsigned char byte);

// The Windows-1252 byte that writes the code point, or -1 when there is none.
int Cp1252ByteFor(uint32_t codePoint);

// Cp1252ByteFor, and the five unassigned bytes for the code points of their number (so a
// text read with Cp1252ToUtf8 is written back byte for byte).
int Cp1252ByteOrUnassigned(uint32_t codePoint);

// Appends the UTF-8 bytes of a code point (up to U+10FFFF).
void AppendUtf8(std::string& out, uint32_t codePoint);

// Reads one UTF-8 character at text[at]: its length in bytes (the code point goes to
// codePoint), or 0 when the bytes there are no well-formed character (a stray or
// missing continuation byte, an overlong form, a surrogate, beyond U+10FFFF).
size_t ReadUtf8Char(std::string_view text, size_t at, uint32_t& codePoint);

// The number of bytes from text[at] on that are ASCII (below 0x80): where the next
// byte that is not lies, less at. Eight bytes are looked at in one step.
size_t AsciiRunLength(std::string_view text, size_t at = 0);

// True when the text is well-formed UTF-8 throughout.
bool IsValidUtf8(std::string_view text);

// The text with every byte that is no well-formed UTF-8 character (a stray or missing
// continuation byte, an overlong form, an encoded surrogate) replaced by U+FFFD.
std::string ValidUtf8(std::string_view text);

// True when every character of the UTF-8 text has a Windows-1252 byte.
bool FitsCp1252(std::string_view utf8);

// UTF-8 text to Windows-1252 that loses nothing a page can show: a character that
// Windows-1252 cannot write becomes the character reference "&#N;", a byte that is no
// well-formed character becomes "&#65533;" (the replacement character).
std::string Utf8ToCp1252WithReferences(std::string_view utf8);

} // namespace pelto
