#pragma once
// The letter-case rule of a list parameter, applied when its entries are stored:
// "LCASE" lower-cases them, "UCASE" upper-cases them, anything else keeps them as typed.
#include "library/workspace.h"

#include <string>

namespace pelto {

// Letter case of UTF-8 text, character by character: the Western letters as the
// Windows-1252 pairs have it (so "\u00DF" and "\u00B5" stay), every other script by its
// simple Unicode case mapping (Polish, Greek, Cyrillic, ...).
std::string ToLowerText(const std::string& text);
std::string ToUpperText(const std::string& text);

void ApplyListCaseRule(Workspace& ws, int16_t ordinal);

} // namespace pelto
