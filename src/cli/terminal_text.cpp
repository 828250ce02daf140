#include "cli/terminal_text.h"

#include "common/cp1252.h"

#include <clocale>
#include <cstring>
#include <langinfo.h>

namespace pelto::cli {

bool TerminalIsUtf8() {
    static const bool utf8 = [] {
        const char* set = std::setlocale(LC_CTYPE, "");
        if (!set)
            return false; // a locale that is not installed: take bytes as they are
        const char* codeset = nl_langinfo(CODESET);
        const bool isUtf8 = codeset && (std::strcmp(codeset, "UTF-8") == 0);
        std::setlocale(LC_CTYPE, "C"); // the rest of the program works on plain bytes
        return isUtf8;
    }();
    return utf8;
}

std::optional<std::string> FromTerminal(const std::string& typed, std::string& problem) {
    if (!TerminalIsUtf8())
        return Cp1252ToUtf8(typed);
    uint32_t cp = 0;
    for (size_t i = 0; i < typed.size();) {
        const size_t len = ReadUtf8Char(typed, i, cp);
        if (len == 0) {
            problem = "the byte at position " + std::to_string(i + 1) + " is not UTF-8";
            return std::nullopt;
        }
        i += len;
    }
    return typed;
}

std::string ToTerminal(const std::string& text) {
    if (TerminalIsUtf8())
        return ValidUtf8(text);
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        uint32_t cp = 0;
        size_t len = ReadUtf8Char(text, i, cp);
        const int byte = len == 0 ? -1 : Cp1252ByteFor(cp);
        out += byte >= 0 ? static_cast<char>(byte) : '?';
        i += len == 0 ? 1 : len;
    }
    return out;
}

} // namespace pelto::cli
