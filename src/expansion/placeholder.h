#pragma once
// Placeholder expansion: script code names parameters between the marks 174 and 175
// ("<mark>Name,KEYWORD<mark>"); ExpandLine replaces each by a rendering of the
// parameter's current value. A keyword may end in "|HTML", "|JS" or "|URL": the value
// is then escaped for that place (expansion/escaping.h); for the list keywords each
// user entry is escaped before it fills the format. Values are held as UTF-8; what a
// placeholder writes is in the page's encoding (ws.PageIsUtf8, expansion/page_text.h),
// while the text around it passes byte for byte. It reads ws.Params and the current
// script record, and advances the two program-wide counters (IntSequence, VarNames).
#include "library/workspace.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pelto {

constexpr char kOpeningMark = '\xAE';
constexpr char kClosingMark = '\xAF';

// The line with every placeholder replaced. A placeholder never holds an opening mark:
// it starts at the last one before its closing mark, so a lone mark in the text stays
// plain text. A placeholder that yields no value stays as it stands and the scan goes
// on behind it; a value that holds a placeholder is examined again, except for a
// placeholder met inside its own value, which stays as it stands (so a value that
// contains itself cannot loop or grow).
std::string ExpandLine(Workspace& ws, std::string_view line);

// The same with a budget shared by several lines (a whole file): the bytes of values
// that are examined again are taken from it; a value beyond it is taken as it stands.
std::string ExpandLine(Workspace& ws, std::string_view line, size_t& budget);

// The budget for expanding a text of that size.
size_t ExpansionBudget(size_t textSize);

// The value for one placeholder (the keyword arrives upper-cased, modifier included) as
// the page's bytes, or no value when nothing applies to that name and keyword.
std::optional<std::string> PlaceholderValue(Workspace& ws, const std::string& name,
                                            const std::string& keyword);

// PlaceholderValue, or the placeholder text itself (marks, name, comma, keyword).
std::string ExpandPlaceholder(Workspace& ws, const std::string& name, const std::string& keyword);

// The format with each "#" replaced by value and each "*" by number's decimal text.
std::string FillMarkers(std::string_view format, int16_t number, std::string_view value);

// Upper case of Windows-1252 text (ASCII and the accented Latin letters), for keywords.
std::string UpperCaseText(std::string_view text);

} // namespace pelto
