#include "expansion/escaping.h"

#include "common/cp1252.h"

namespace pelto {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsHexDigit(char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// True when text[at] is "&" starting a character reference: "&#" decimal digits ";",
// "&#x" (or "&#X") hex digits ";", or "&" a letter, letters or digits, ";".
bool StartsReference(std::string_view text, size_t at) {
    size_t i = at + 1;
    const size_t n = text.size();
    if (i < n && text[i] == '#') {
        ++i;
        bool hex = i < n && (text[i] == 'x' || text[i] == 'X');
        if (hex)
            ++i;
        size_t digits = i;
        while (i < n && (hex ? IsHexDigit(text[i]) : IsDigit(text[i])))
            ++i;
        return i > digits && i < n && text[i] == ';';
    }
    if (i >= n || !IsLetter(text[i]))
        return false;
    while (i < n && (IsLetter(text[i]) || IsDigit(text[i])))
        ++i;
    return i < n && text[i] == ';';
}

void AppendHexByte(std::string& out, unsigned v) {
    out += kHexDigits[(v >> 4) & 15];
    out += kHexDigits[v & 15];
}

// The character at text[at] and its length in bytes; a byte that is no well-formed
// UTF-8 character reads as U+FFFD of one byte.
size_t CharAt(std::string_view text, size_t at, uint32_t& cp) {
    const size_t len = ReadUtf8Char(text, at, cp);
    if (len == 0) {
        cp = 0xFFFD;
        return 1;
    }
    return len;
}

void AppendJsUnit(std::string& out, uint32_t unit) {
    out += "\\u";
    AppendHexByte(out, unit >> 8);
    AppendHexByte(out, unit & 0xFF);
}

bool EndsWith(const std::string& text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           std::string_view(text).substr(text.size() - suffix.size()) == suffix;
}

} // namespace

Escaping SplitModifier(std::string& keyword) {
    static const struct {
        std::string_view suffix;
        Escaping how;
    } kModifiers[] = {{"|HTML", Escaping::Html}, {"|JS", Escaping::Js}, {"|URL", Escaping::Url}};
    for (const auto& m : kModifiers) {
        if (EndsWith(keyword, m.suffix)) {
            keyword.resize(keyword.size() - m.suffix.size());
            return m.how;
        }
    }
    return Escaping::None;
}

std::string EscapeHtml(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x80) {
            uint32_t cp = 0;
            i += CharAt(text, i, cp) - 1;
            out += "&#" + std::to_string(cp) + ";";
            continue;
        }
        switch (c) {
        case '&':
            out += StartsReference(text, i) ? "&" : "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string EscapeJs(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x80) {
            uint32_t cp = 0;
            i += CharAt(text, i, cp) - 1;
            if (cp >= 0x10000) { // a surrogate pair
                AppendJsUnit(out, 0xD800 + ((cp - 0x10000) >> 10));
                AppendJsUnit(out, 0xDC00 + ((cp - 0x10000) & 0x3FF));
            } else {
                AppendJsUnit(out, cp);
            }
            continue;
        }
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\'':
            out += "\\'";
            break;
        case '`':
            out += "\\x60";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        case '<':
            out += "\\x3C";
            break;
        case '>':
            out += "\\x3E";
            break;
        default:
            if (b < 0x20 || b == 0x7F) {
                out += "\\x";
                AppendHexByte(out, b);
            } else {
                out += c;
            }
        }
    }
    return out;
}

std::string EscapeUrl(std::string_view text) {
    static constexpr std::string_view kKept = "-_.~!$&()*+,;=:@/?#[]%";
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const auto b = static_cast<unsigned char>(c);
        if (IsLetter(c) || IsDigit(c) || (b < 0x80 && kKept.find(c) != std::string_view::npos)) {
            out += c;
            continue;
        }
        std::string bytes;
        if (b >= 0x80) {
            uint32_t cp = 0;
            const size_t len = CharAt(text, i, cp);
            AppendUtf8(bytes, cp); // a well-formed character's own bytes
            i += len - 1;
        } else {
            bytes += c;
        }
        for (char u : bytes) {
            out += '%';
            AppendHexByte(out, static_cast<unsigned char>(u));
        }
    }
    return out;
}

std::string Escape(Escaping how, std::string_view text) {
    switch (how) {
    case Escaping::Html:
        return EscapeHtml(text);
    case Escaping::Js:
        return EscapeJs(text);
    case Escaping::Url:
        return EscapeUrl(text);
    case Escaping::None:
        break;
    }
    return std::string(text);
}

} // namespace pelto
