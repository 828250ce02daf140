#include "parampage/list_case_rule.h"

#include <algorithm>

namespace pelto {

namespace {

// The upper-case letters of Windows-1252 and their lower-case partners, beyond ASCII.
struct CasePair {
    unsigned char upper;
    unsigned char lower;
};
constexpr CasePair kPairs[] = {{0x8A, 0x9A}, {0x8C, 0x9C}, {0x8E, 0x9E}, {0x9F, 0xFF}};

unsigned char Lower(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return static_cast<unsigned char>(c + 0x20);
    for (const CasePair& p : kPairs)
        if (c == p.upper)
            return p.lower;
    return c;
}

unsigned char Upper(unsigned char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
        return static_cast<unsigned char>(c - 0x20);
    for (const CasePair& p : kPairs)
        if (c == p.lower)
            return p.upper;
    return c;
}

} // namespace

std::string ToLowerCp1252(std::string text) {
    for (char& c : text)
        c = static_cast<char>(Lower(static_cast<unsigned char>(c)));
    return text;
}

std::string ToUpperCp1252(std::string text) {
    for (char& c : text)
        c = static_cast<char>(Upper(static_cast<unsigned char>(c)));
    return text;
}

void ApplyListCaseRule(Workspace& ws, int16_t ordinal) {
    ListParameter& p = ws.Params.ListParameters[ordinal];
    std::string (*convert)(std::string) = nullptr;
    if (p.CaseRule == "LCASE")
        convert = ToLowerCp1252;
    else if (p.CaseRule == "UCASE")
        convert = ToUpperCp1252;
    if (!convert)
        return;
    const int columns = std::clamp<int>(p.Columns, 0, 3);
    for (int r = 0; r < p.Rows && r < static_cast<int>(p.Entries.size()); ++r)
        for (int c = 0; c < columns && c < static_cast<int>(p.Entries[r].size()); ++c)
            p.Entries[r][c] = convert(p.Entries[r][c]);
}

} // namespace pelto
