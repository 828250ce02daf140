#pragma once
// A value as a placeholder without modifier writes it: in the page's own encoding. On a
// UTF-8 page its UTF-8 bytes; on a Windows-1252 page the Windows-1252 byte of each
// character that has one, the character reference "&#N;" for any other. A pair of
// placeholder marks in the value (U+00AE ... U+00AF, the closing mark paired with the
// last opening mark before it, as the expansion pairs them) is written as the single
// mark bytes on either page, so a placeholder inside a value is still found.
#include <string>
#include <string_view>

namespace pelto {

std::string ToPageText(std::string_view utf8, bool utf8Page);

} // namespace pelto
