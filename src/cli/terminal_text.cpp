#include "cli/terminal_text.h"

#include "common/cp1252.h"

#include <clocale>
#include <cstdio>
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
        return typed;
    size_t bad = 0;
    if (auto text = Utf8ToCp1252(typed, &bad))
        return text;
    uint32_t cp = 0;
    const size_t len = ReadUtf8Char(typed, bad, cp);
    if (len == 0) {
        problem = "the byte at position " + std::to_string(bad + 1) + " is not UTF-8";
        return std::nullopt;
    }
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(cp));
    problem = "the character \"" + typed.substr(bad, len) + "\" (" + code +
              ") cannot be written in Windows-1252";
    return std::nullopt;
}

std::string ToTerminal(const std::string& text) {
    return TerminalIsUtf8() ? Cp1252ToUtf8(text) : text;
}

} // namespace pelto::cli
