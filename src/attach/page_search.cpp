#include "attach/page_search.h"

#include <cstring>

namespace pelto {

namespace {

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

bool EqualNoCase(const char* a, std::string_view b) {
    for (size_t i = 0; i < b.size(); ++i)
        if (Lower(a[i]) != Lower(b[i]))
            return false;
    return true;
}

} // namespace

size_t FindNoCase(std::string_view haystack, std::string_view needle, size_t from) {
    if (needle.empty())
        return from <= haystack.size() ? from : std::string_view::npos;
    if (from >= haystack.size() || haystack.size() - from < needle.size())
        return std::string_view::npos;
    const char first = needle[0];
    const size_t last = haystack.size() - needle.size();
    const bool letter = Lower(first) != first || (first >= 'a' && first <= 'z');
    size_t i = from;
    while (i <= last) {
        if (!letter) {
            // Tags start with "<": let memchr skip to the next candidate.
            const void* hit = std::memchr(haystack.data() + i, first, last + 1 - i);
            if (!hit)
                return std::string_view::npos;
            i = static_cast<size_t>(static_cast<const char*>(hit) - haystack.data());
        }
        if (EqualNoCase(haystack.data() + i, needle))
            return i;
        ++i;
    }
    return std::string_view::npos;
}

} // namespace pelto
