#include "attach/page_search.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pelto {

namespace {

unsigned char Lower(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c;
}

#if defined(__SSE2__)
// Compares letters without case and every other byte exactly: OR-ing the case bit
// into both sides (only for a letter of the needle) folds exactly the two cases of it.
unsigned char CaseBit(unsigned char c) {
    const unsigned char l = Lower(c);
    return l >= 'a' && l <= 'z' ? 0x20 : 0;
}
#endif

} // namespace

size_t FindNoCase(std::string_view haystack, std::string_view needle, size_t from) {
    const size_t m = needle.size();
    if (m == 0)
        return from <= haystack.size() ? from : std::string_view::npos;
    if (from >= haystack.size() || haystack.size() - from < m)
        return std::string_view::npos;
    const auto* h = reinterpret_cast<const unsigned char*>(haystack.data());
    const auto* n = reinterpret_cast<const unsigned char*>(needle.data());
    const size_t last = haystack.size() - m; // the last place a match can start
    auto matchesAt = [&](size_t i) {
        for (size_t k = 0; k < m; ++k)
            if (Lower(h[i + k]) != Lower(n[k]))
                return false;
        return true;
    };
    size_t i = from;
#if defined(__SSE2__)
    // Sixteen places at a time: those where the needle's first and last bytes both
    // stand. Pages are long and tags start with "<", which is everywhere, so testing
    // two bytes per place in blocks keeps the search near the speed of reading.
    const unsigned char firstBit = CaseBit(n[0]);
    const unsigned char endBit = CaseBit(n[m - 1]);
    const __m128i firstCase = _mm_set1_epi8(static_cast<char>(firstBit));
    const __m128i endCase = _mm_set1_epi8(static_cast<char>(endBit));
    const __m128i first = _mm_set1_epi8(static_cast<char>(n[0] | firstBit));
    const __m128i end = _mm_set1_epi8(static_cast<char>(n[m - 1] | endBit));
    for (; i + 16 <= last + 1; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(h + i + m - 1));
        unsigned hits = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(a, firstCase), first),
                                            _mm_cmpeq_epi8(_mm_or_si128(b, endCase), end))));
        while (hits != 0) {
            const size_t k = static_cast<size_t>(__builtin_ctz(hits));
            if (matchesAt(i + k))
                return i + k;
            hits &= hits - 1;
        }
    }
#endif
    for (; i <= last; ++i)
        if (matchesAt(i))
            return i;
    return std::string_view::npos;
}

size_t FindExact(std::string_view haystack, std::string_view needle, size_t from) {
    if (from > haystack.size())
        return std::string_view::npos;
    if (needle.empty())
        return from;
    const void* at =
        memmem(haystack.data() + from, haystack.size() - from, needle.data(), needle.size());
    return at ? static_cast<size_t>(static_cast<const char*>(at) - haystack.data())
              : std::string_view::npos;
}

PageText::PageText(std::string_view original) : size_(original.size()) {
    if (!original.empty())
        pieces_.push_back(original);
}

PageText::PageText(std::string&& original) : size_(original.size()) {
    inserted_.push_back(std::move(original));
    if (size_ > 0)
        pieces_.push_back(inserted_.back());
}

char PageText::At(size_t pos) const {
    for (std::string_view p : pieces_) {
        if (pos < p.size())
            return p[pos];
        pos -= p.size();
    }
    return '\0';
}

size_t PageText::FindChar(char c, size_t from) const {
    size_t start = 0;
    for (std::string_view p : pieces_) {
        const size_t end = start + p.size();
        if (from < end) {
            const size_t at = p.find(c, from > start ? from - start : 0);
            if (at != std::string_view::npos)
                return start + at;
        }
        start = end;
    }
    return std::string::npos;
}

std::string PageText::Range(size_t from, size_t n) const {
    std::string out;
    out.reserve(n);
    size_t start = 0;
    for (std::string_view p : pieces_) {
        const size_t end = start + p.size();
        if (out.size() < n && from < end) {
            const size_t skip = from > start ? from - start : 0;
            out.append(p.substr(skip, n - out.size()));
        }
        start = end;
    }
    return out;
}

size_t PageText::Search(const Known& k, size_t from, size_t end) const {
    end = std::min(end, size_);
    const size_t m = k.needle.size();
    if (from >= end || end - from < m)
        return std::string::npos;
    auto find = [&](std::string_view text, size_t at) {
        return k.exactCase ? FindExact(text, k.needle, at) : FindNoCase(text, k.needle, at);
    };
    size_t start = 0;
    for (std::string_view p : pieces_) {
        const size_t pieceEnd = start + p.size();
        if (pieceEnd > from && start < end) {
            // An occurrence that starts in this piece: wholly inside it, ...
            const size_t lo = std::max(from, start);
            const size_t hi = std::min(end, pieceEnd);
            if (hi - lo >= m) {
                const size_t at = find(p.substr(0, hi - start), lo - start);
                if (at != std::string_view::npos)
                    return start + at;
            }
            // ... or running on into the pieces after it.
            if (m > 1 && pieceEnd < end) {
                const size_t wFrom = std::max(lo, pieceEnd - std::min(pieceEnd, m - 1));
                const size_t wEnd = std::min(end, pieceEnd + m - 1);
                const std::string window = Range(wFrom, wEnd - wFrom);
                const size_t at = find(window, 0);
                if (at != std::string_view::npos && wFrom + at < pieceEnd)
                    return wFrom + at;
            }
        }
        start = pieceEnd;
        if (start >= end)
            break;
    }
    return std::string::npos;
}

size_t PageText::Find(std::string_view needle, bool exactCase) {
    for (const Known& k : known_)
        if (k.needle == needle && k.exactCase == exactCase)
            return k.pos;
    Known k{std::string(needle), exactCase, std::string::npos};
    k.pos = Search(k, 0, size_);
    known_.push_back(k);
    return k.pos;
}

size_t PageText::SplitAt(size_t pos) {
    size_t start = 0;
    for (size_t i = 0; i < pieces_.size(); ++i) {
        const size_t end = start + pieces_[i].size();
        if (pos == start)
            return i;
        if (pos < end) {
            const std::string_view p = pieces_[i];
            pieces_[i] = p.substr(0, pos - start);
            pieces_.insert(pieces_.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                           p.substr(pos - start));
            return i + 1;
        }
        start = end;
    }
    return pieces_.size();
}

void PageText::Replace(size_t at, size_t erase, std::string_view insert) {
    at = std::min(at, size_);
    erase = std::min(erase, size_ - at);
    const size_t first = SplitAt(at);
    const size_t last = SplitAt(at + erase);
    pieces_.erase(pieces_.begin() + static_cast<std::ptrdiff_t>(first),
                  pieces_.begin() + static_cast<std::ptrdiff_t>(last));
    if (!insert.empty()) {
        inserted_.emplace_back(insert);
        pieces_.insert(pieces_.begin() + static_cast<std::ptrdiff_t>(first), inserted_.back());
    }
    size_ = size_ - erase + insert.size();

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
            k.pos = Search(k, from, size_); // the change cut into it
        }
    }
}

std::string PageText::Build(std::string_view prefix, std::string_view suffix) const {
    std::string out;
    out.reserve(prefix.size() + size_ + suffix.size());
    out.append(prefix);
    for (std::string_view p : pieces_)
        out.append(p);
    out.append(suffix);
    return out;
}

} // namespace pelto
