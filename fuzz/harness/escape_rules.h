#pragma once
// What an escaped value must be, checked from the outside: pure ASCII without marks,
// nothing that ends an attribute, a string literal or a script, and (for JavaScript)
// the same characters back when the literal is read.
#include "harness/check.h"

#include <string>
#include <string_view>

namespace pelto::fuzz {

// Element text and quoted attributes: no < > " ', every & starts a reference.
void CheckHtmlEscaped(std::string_view escaped, Check& check);

// A string literal in either quote that reads back as the UTF-8 text plain (a byte that
// is no UTF-8 character as U+FFFD).
void CheckJsEscaped(std::string_view plain, std::string_view escaped, Check& check);

// Only the characters a link keeps and %HH.
void CheckUrlEscaped(std::string_view escaped, Check& check);

} // namespace pelto::fuzz
