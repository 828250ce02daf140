#include "library/page_encoding.h"

#include "common/cp1252.h"

#include <string>

namespace pelto {

namespace {

constexpr size_t kDeclarationWindow = 1024;

enum class Declared { Nothing, Utf8, Other };

std::string LowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

// The encoding name after `key` at text[at] (the key already matched): blanks, "=",
// blanks, an optional quote, then the name up to a quote, blank, ";", "?" or ">".
// Empty when no "=" follows.
std::string NameAfter(const std::string& text, size_t at) {
    size_t i = at;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    if (i >= text.size() || text[i] != '=')
        return "";
    ++i;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    if (i < text.size() && (text[i] == '"' || text[i] == '\''))
        ++i;
    size_t start = i;
    while (i < text.size() && !IsSpace(text[i]) && text[i] != '"' && text[i] != '\'' &&
           text[i] != ';' && text[i] != '>' && text[i] != '?' && text[i] != '/')
        ++i;
    return text.substr(start, i - start);
}

Declared Classify(const std::string& name) {
    if (name.empty())
        return Declared::Nothing;
    return name == "utf-8" || name == "utf8" ? Declared::Utf8 : Declared::Other;
}

// What the declarations in the window say: UTF-8 when any names it, another encoding
// when some name one and none names UTF-8, nothing when there is none.
Declared Declaration(std::string_view page) {
    const std::string head = LowerAscii(page.substr(0, kDeclarationWindow));
    Declared result = Declared::Nothing;
    auto note = [&result](Declared d) {
        if (d == Declared::Utf8 || (d == Declared::Other && result == Declared::Nothing))
            result = d;
    };
    if (head.rfind("<?xml", 0) == 0) {
        const size_t end = std::min(head.find("?>"), head.size());
        const size_t key = head.find("encoding");
        if (key != std::string::npos && key < end)
            note(Classify(NameAfter(head, key + 8)));
    }
    for (size_t meta = head.find("<meta"); meta != std::string::npos;
         meta = head.find("<meta", meta + 5)) {
        const size_t end = std::min(head.find('>', meta), head.size());
        // <meta charset=...>, and the charset inside the content of <meta http-equiv>.
        for (size_t key = head.find("charset", meta); key != std::string::npos && key < end;
             key = head.find("charset", key + 7))
            note(Classify(NameAfter(head, key + 7)));
    }
    return result;
}

bool HasHighByte(std::string_view page) {
    return AsciiRunLength(page) < page.size();
}

} // namespace

bool StartsWithUtf8Mark(std::string_view page) {
    return page.substr(0, kUtf8Mark.size()) == kUtf8Mark;
}

bool IsUtf8Page(std::string_view page) {
    if (StartsWithUtf8Mark(page))
        return true;
    switch (Declaration(page)) {
    case Declared::Utf8:
        return true;
    case Declared::Other:
        return false;
    case Declared::Nothing:
        break;
    }
    return HasHighByte(page) && IsValidUtf8(page);
}

} // namespace pelto
