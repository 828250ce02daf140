#pragma once
// Escaping of values for the place a placeholder stands in: element text and quoted
// attributes (HTML), a JavaScript string literal (JS), a link or file name (URL). Values
// are UTF-8 (a byte that is no well-formed character counts as U+FFFD); every escaped
// text is pure ASCII and holds no placeholder mark, so it is right on a page of any
// ASCII-compatible encoding.
#include <string>
#include <string_view>

namespace pelto {

enum class Escaping { None, Html, Js, Url };

// Splits a modifier ("|HTML", "|JS", "|URL") off the end of an upper-cased keyword:
// the keyword loses it and the escaping it names is returned (None when it has none).
Escaping SplitModifier(std::string& keyword);

// "&" (unless it starts a character reference), "<", ">", '"', "'" and every character
// beyond ASCII become character references ("&#N;", N the code point).
std::string EscapeHtml(std::string_view text);

// Backslash escapes for a string literal in either quote; "<" and ">" too, so the
// text cannot end a script element. Characters beyond ASCII as "\uXXXX", those beyond
// U+FFFF as a surrogate pair.
std::string EscapeJs(std::string_view text);

// Percent escapes for everything but the characters a link keeps as they are;
// characters beyond ASCII as their UTF-8 bytes.
std::string EscapeUrl(std::string_view text);

// The text escaped as named (None gives it back unchanged).
std::string Escape(Escaping how, std::string_view text);

} // namespace pelto
