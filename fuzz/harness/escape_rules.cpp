#include "harness/escape_rules.h"

#include "common/cp1252.h"

#include <cctype>
#include <vector>

namespace pelto::fuzz {

namespace {

bool IsHex(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

bool IsAlnum(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0;
}

void CheckAscii(std::string_view escaped, Check& check) {
    for (char c : escaped)
        check.That(static_cast<unsigned char>(c) < 0x80,
                   "an escaped value holds the byte " +
                       std::to_string(static_cast<unsigned char>(c)));
}

// The value of n hex digits at text[at], or -1 when they are not all there.
long HexAt(std::string_view text, size_t at, size_t n) {
    if (at + n > text.size())
        return -1;
    long v = 0;
    for (size_t i = at; i < at + n; ++i) {
        if (!IsHex(text[i]))
            return -1;
        const char d = text[i];
        v = v * 16 + (d <= '9' ? d - '0' : (d | 0x20) - 'a' + 10);
    }
    return v;
}

} // namespace

void CheckHtmlEscaped(std::string_view escaped, Check& check) {
    CheckAscii(escaped, check);
    for (size_t i = 0; i < escaped.size(); ++i) {
        const char c = escaped[i];
        check.That(c != '<' && c != '>' && c != '"' && c != '\'',
                   std::string("HTML escaping left a ") + c);
        if (c != '&')
            continue;
        size_t j = i + 1;
        if (j < escaped.size() && escaped[j] == '#') {
            ++j;
            if (j < escaped.size() && (escaped[j] == 'x' || escaped[j] == 'X'))
                ++j;
        }
        const size_t body = j;
        while (j < escaped.size() && IsAlnum(escaped[j]))
            ++j;
        check.That(j > body && j < escaped.size() && escaped[j] == ';',
                   "HTML escaping left an & that starts no reference");
    }
}

void CheckJsEscaped(std::string_view plain, std::string_view escaped, Check& check) {
    CheckAscii(escaped, check);
    std::vector<uint32_t> read;
    for (size_t i = 0; i < escaped.size(); ++i) {
        const auto c = static_cast<unsigned char>(escaped[i]);
        if (c != '\\') {
            check.That(c >= 0x20 && c != 0x7F && c != '"' && c != '\'' && c != '`' && c != '<' &&
                           c != '>',
                       "JS escaping left the byte " + std::to_string(c) + " as it is");
            read.push_back(c);
            continue;
        }
        const char e = i + 1 < escaped.size() ? escaped[i + 1] : '\0';
        long v = -1;
        if (e == '\\' || e == '"' || e == '\'') {
            v = static_cast<unsigned char>(e);
            i += 1;
        } else if (e == 'r' || e == 'n') {
            v = e == 'r' ? '\r' : '\n';
            i += 1;
        } else if (e == 'x') {
            v = HexAt(escaped, i + 2, 2);
            i += 3;
        } else if (e == 'u') {
            v = HexAt(escaped, i + 2, 4);
            i += 5;
        }
        check.That(v >= 0, "JS escaping wrote a backslash that starts no escape");
        if (v < 0)
            return;
        read.push_back(static_cast<uint32_t>(v));
    }
    // The literal's UTF-16 units as characters: a surrogate pair is one character.
    std::vector<uint32_t> chars;
    for (size_t k = 0; k < read.size(); ++k) {
        const uint32_t u = read[k];
        if (u >= 0xD800 && u <= 0xDBFF && k + 1 < read.size() && read[k + 1] >= 0xDC00 &&
            read[k + 1] <= 0xDFFF) {
            chars.push_back(0x10000 + ((u - 0xD800) << 10) + (read[k + 1] - 0xDC00));
            ++k;
        } else {
            check.That(u < 0xD800 || u > 0xDFFF, "JS escaping wrote a lone surrogate");
            chars.push_back(u);
        }
    }
    // The value's characters; a byte that is no UTF-8 character stands for U+FFFD.
    std::vector<uint32_t> expected;
    for (size_t i = 0; i < plain.size();) {
        uint32_t cp = 0;
        const size_t len = ReadUtf8Char(plain, i, cp);
        expected.push_back(len == 0 ? 0xFFFD : cp);
        i += len == 0 ? 1 : len;
    }
    check.That(chars == expected, "the JS string does not read back as the value");
}

void CheckUrlEscaped(std::string_view escaped, Check& check) {
    static constexpr std::string_view kKept = "-_.~!$&()*+,;=:@/?#[]%";
    CheckAscii(escaped, check);
    for (char c : escaped)
        check.That(IsAlnum(c) || kKept.find(c) != std::string_view::npos,
                   std::string("URL escaping left a ") + c);
}

} // namespace pelto::fuzz
