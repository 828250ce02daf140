#include "attach/page_search.h"

#include <algorithm>
#include <array>

namespace pelto {

namespace {

unsigned char Lower(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
}

} // namespace

size_t FindNoCase(std::string_view haystack, std::string_view needle, size_t from) {
    const size_t m = needle.size();
    if (m == 0)
        return from <= haystack.size() ? from : std::string_view::npos;
    if (from >= haystack.size() || haystack.size() - from < m)
        return std::string_view::npos;
    // Horspool's skip table, letters folded: pages are long and tags start with "<",
    // which is everywhere, so skipping by the needle's last bytes beats a scan for "<".
    std::array<size_t, 256> skip;
    skip.fill(m);
    for (size_t i = 0; i + 1 < m; ++i) {
        const unsigned char c = Lower(static_cast<unsigned char>(needle[i]));
        skip[c] = m - 1 - i;
        if (c >= 'a' && c <= 'z')
            skip[c - 32] = m - 1 - i;
    }
    const auto* h = reinterpret_cast<const unsigned char*>(haystack.data());
    const auto* n = reinterpret_cast<const unsigned char*>(needle.data());
    const unsigned char last = Lower(n[m - 1]);
    for (size_t i = from; i + m <= haystack.size();) {
        const unsigned char c = h[i + m - 1];
        if (Lower(c) == last) {
            size_t k = 0;
            while (k + 1 < m && Lower(h[i + k]) == Lower(n[k]))
                ++k;
            if (k + 1 == m)
                return i;
        }
        i += skip[c];
    }
    return std::string_view::npos;
}

} // namespace pelto

namespace pelto {

size_t PageText::Search(const Known& k, size_t from, size_t end) const {
    std::string_view view(text_);
    view = view.substr(0, std::min(end, view.size()));
    return k.exactCase ? view.find(k.needle, from) : FindNoCase(view, k.needle, from);
}

size_t PageText::Find(std::string_view needle, bool exactCase) {
    for (const Known& k : known_)
        if (k.needle == needle && k.exactCase == exactCase)
            return k.pos;
    Known k{std::string(needle), exactCase, std::string::npos};
    k.pos = Search(k, 0, text_.size());
    known_.push_back(k);
    return k.pos;
}

void PageText::Replace(size_t at, size_t erase, std::string_view insert) {
    text_.replace(at, erase, insert);
    const size_t npos = std::string::npos;
    for (Known& k : known_) {
        const size_t m = k.needle.size();
        // An occurrence that starts here or later may touch the changed bytes.
        const size_t from = at >= m ? at - m + 1 : 0;
        if (k.pos != npos && k.pos + m <= at)
            continue; // wholly in front of the change: still the first
        if (k.pos != npos && k.pos >= at + erase) {
            // Moved with the text behind the change; an earlier one can only touch
            // the changed part, since the unchanged text in front of it held none.
            const size_t moved = k.pos - erase + insert.size();
            const size_t changed = Search(k, from, at + insert.size() + m - 1);
            k.pos = changed < moved ? changed : moved;
        } else if (k.pos == npos) {
            k.pos = Search(k, from, at + insert.size() + m - 1);
        } else {
            k.pos = Search(k, from, text_.size()); // the change cut into it
        }
    }
}

} // namespace pelto
