#pragma once
// The letter-case rule of a list parameter, applied when its entries are stored:
// "LCASE" lower-cases them, "UCASE" upper-cases them, anything else keeps them as typed.
#include "library/workspace.h"

#include <string>

namespace pelto {

// Windows-1252 letter case, byte by byte (accented letters included).
std::string ToLowerCp1252(std::string text);
std::string ToUpperCp1252(std::string text);

void ApplyListCaseRule(Workspace& ws, int16_t ordinal);

} // namespace pelto
