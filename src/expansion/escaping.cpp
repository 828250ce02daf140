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
            if (b >= 0x80)
                out += "&#" + std::to_string(Cp1252CodePoint(b)) + ";";
            else
                out += c;
        }
    }
    return out;
}

std::string EscapeJs(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
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
            } else if (b >= 0x80) {
                const uint32_t cp = Cp1252CodePoint(b);
                out += "\\u";
                AppendHexByte(out, cp >> 8);
                AppendHexByte(out, cp & 0xFF);
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
    for (char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (IsLetter(c) || IsDigit(c) || (b < 0x80 && kKept.find(c) != std::string_view::npos)) {
            out += c;
            continue;
        }
        std::string bytes;
        if (b >= 0x80)
            AppendUtf8(bytes, Cp1252CodePoint(b));
        else
            bytes += c;
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
