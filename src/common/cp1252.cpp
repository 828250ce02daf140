#include "common/cp1252.h"

#include <cstring>

namespace pelto {

namespace {

// Code points of bytes 0x80..0x9F; 0 marks the five unassigned bytes.
constexpr uint16_t kHigh[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

} // namespace

uint32_t Cp1252CodePoint(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F && kHigh[byte - 0x80] != 0)
        return kHigh[byte - 0x80];
    return byte;
}

int Cp1252ByteOrUnassigned(uint32_t cp) {
    if (cp == 0x81 || cp == 0x8D || cp == 0x8F || cp == 0x90 || cp == 0x9D)
        return static_cast<int>(cp);
    return Cp1252ByteFor(cp);
}

int Cp1252ByteFor(uint32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<int>(cp);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] != 0 && kHigh[i] == cp)
            return 0x80 + i;
    return -1;
}

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

size_t ReadUtf8Char(std::string_view text, size_t at, uint32_t& codePoint) {
    auto b = static_cast<unsigned char>(text[at]);
    uint32_t cp;
    size_t len;
    uint32_t least; // the smallest code point that needs this length
    if (b < 0x80) {
        codePoint = b;
        return 1;
    } else if ((b & 0xE0) == 0xC0) {
        cp = b & 0x1F;
        len = 2;
        least = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
        cp = b & 0x0F;
        len = 3;
        least = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
        cp = b & 0x07;
        len = 4;
        least = 0x10000;
    } else {
        return 0;
    }
    if (at + len > text.size())
        return 0;
    for (size_t k = 1; k < len; ++k) {
        auto c = static_cast<unsigned char>(text[at + k]);
        if ((c & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (c & 0x3F);
    }
    if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    codePoint = cp;
    return len;
}

size_t AsciiRunLength(std::string_view text, size_t at) {
    constexpr uint64_t kHighBits = 0x8080808080808080ull;
    size_t i = at;
    // Four words a step: a page is mostly ASCII, and this runs over all of it.
    for (; i + 32 <= text.size(); i += 32) {
        uint64_t w[4];
        std::memcpy(w, text.data() + i, sizeof w);
        if (((w[0] | w[1] | w[2] | w[3]) & kHighBits) != 0)
            break;
    }
    for (; i + 8 <= text.size(); i += 8) {
        uint64_t w = 0;
        std::memcpy(&w, text.data() + i, sizeof w);
        if ((w & kHighBits) != 0)
            break;
    }
    while (i < text.size() && static_cast<unsigned char>(text[i]) < 0x80)
        ++i;
    return i - at;
}

bool IsValidUtf8(std::string_view text) {
    uint32_t cp = 0;
    for (size_t i = 0; i < text.size();) {
        i += AsciiRunLength(text, i);
        if (i == text.size())
            break;
        size_t len = ReadUtf8Char(text, i, cp);
        if (len == 0)
            return false;
        i += len;
    }
    return true;
}

std::string ValidUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        uint32_t cp = 0;
        const size_t len = ReadUtf8Char(text, i, cp);
        if (len == 0) {
            AppendUtf8(out, 0xFFFD);
            ++i;
        } else {
            out.append(text.substr(i, len));
            i += len;
        }
    }
    return out;
}

bool FitsCp1252(std::string_view utf8) {
    return Utf8ToCp1252(utf8).has_value();
}

std::optional<std::string> Utf8ToCp1252(std::string_view utf8, size_t* badOffset) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        uint32_t cp = 0;
        size_t len = ReadUtf8Char(utf8, i, cp);
        int byte = len == 0 ? -1 : Cp1252ByteFor(cp);
        if (byte < 0) {
            if (badOffset)
                *badOffset = i;
            return std::nullopt;
        }
        out += static_cast<char>(byte);
        i += len;
    }
    return out;
}

std::string Utf8ToCp1252WithReferences(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        uint32_t cp = 0xFFFD;
        size_t len = ReadUtf8Char(utf8, i, cp);
        if (len == 0) {
            cp = 0xFFFD;
            len = 1;
        }
        int byte = Cp1252ByteFor(cp);
        if (byte >= 0)
            out += static_cast<char>(byte);
        else
            out += "&#" + std::to_string(cp) + ";";
        i += len;
    }
    return out;
}

std::string Cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        AppendUtf8(out, Cp1252CodePoint(static_cast<unsigned char>(ch)));
    }
    return out;
}

} // namespace pelto
