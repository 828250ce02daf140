#include "expansion/page_text.h"

#include "common/cp1252.h"
#include "expansion/placeholder.h"

#include <vector>

namespace pelto {

namespace {

constexpr uint32_t kOpeningCodePoint = 0xAE;
constexpr uint32_t kClosingCodePoint = 0xAF;

struct Char {
    uint32_t cp;
    size_t at;
    size_t len; // 0: a byte that is no well-formed character
};

std::vector<Char> CharsOf(std::string_view text) {
    std::vector<Char> chars;
    chars.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        uint32_t cp = 0;
        const size_t len = ReadUtf8Char(text, i, cp);
        chars.push_back({len == 0 ? 0xFFFDu : cp, i, len});
        i += len == 0 ? 1 : len;
    }
    return chars;
}

// True for each character that is a placeholder mark of a pair.
std::vector<bool> PairedMarks(const std::vector<Char>& chars) {
    std::vector<bool> mark(chars.size(), false);
    size_t open = chars.size();
    for (size_t k = 0; k < chars.size(); ++k) {
        if (chars[k].cp == kOpeningCodePoint && chars[k].len != 0) {
            open = k; // the last opening mark before a closing one starts the placeholder
        } else if (chars[k].cp == kClosingCodePoint && chars[k].len != 0 && open < chars.size()) {
            mark[open] = mark[k] = true;
            open = chars.size();
        }
    }
    return mark;
}

bool IsAscii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

} // namespace

std::string ToPageText(std::string_view utf8, bool utf8Page) {
    if (IsAscii(utf8))
        return std::string(utf8);
    const std::vector<Char> chars = CharsOf(utf8);
    const std::vector<bool> marks = utf8Page ? PairedMarks(chars) : std::vector<bool>();
    std::string out;
    out.reserve(utf8.size());
    for (size_t k = 0; k < chars.size(); ++k) {
        const Char& c = chars[k];
        if (utf8Page) {
            if (marks[k])
                out += c.cp == kOpeningCodePoint ? kOpeningMark : kClosingMark;
            else if (c.len == 0)
                AppendUtf8(out, 0xFFFD);
            else
                out.append(utf8.substr(c.at, c.len));
            continue;
        }
        const int byte = c.len == 0 ? -1 : Cp1252ByteOrUnassigned(c.cp);
        if (byte >= 0)
            out += static_cast<char>(byte);
        else
            out += "&#" + std::to_string(c.cp) + ";";
    }
    return out;
}

} // namespace pelto
