#include "parampage/list_case_rule.h"

#include "common/cp1252.h"

#include <QChar>

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

std::string Convert(const std::string& text, bool upper) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        uint32_t cp = 0;
        const size_t len = ReadUtf8Char(text, i, cp);
        if (len == 0) { // not a character: kept as it is
            out += text[i++];
            continue;
        }
        i += len;
        if (const int byte = Cp1252ByteFor(cp); byte >= 0) {
            const auto b = static_cast<unsigned char>(byte);
            cp = Cp1252CodePoint(upper ? Upper(b) : Lower(b));
        } else {
            cp = upper ? QChar::toUpper(static_cast<char32_t>(cp))
                       : QChar::toLower(static_cast<char32_t>(cp));
        }
        AppendUtf8(out, cp);
    }
    return out;
}

} // namespace

std::string ToLowerText(const std::string& text) {
    return Convert(text, false);
}

std::string ToUpperText(const std::string& text) {
    return Convert(text, true);
}

void ApplyListCaseRule(Workspace& ws, int16_t ordinal) {
    ListParameter& p = ws.Params.ListParameters[ordinal];
    std::string (*convert)(const std::string&) = nullptr;
    if (p.CaseRule == "LCASE")
        convert = ToLowerText;
    else if (p.CaseRule == "UCASE")
        convert = ToUpperText;
    if (!convert)
        return;
    const int columns = std::clamp<int>(p.Columns, 0, 3);
    for (int r = 0; r < p.Rows && r < static_cast<int>(p.Entries.size()); ++r)
        for (int c = 0; c < columns && c < static_cast<int>(p.Entries[r].size()); ++c)
            p.Entries[r][c] = convert(p.Entries[r][c]);
}

} // namespace pelto
