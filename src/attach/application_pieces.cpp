#include "attach/application_pieces.h"

#include "attach/parts_text.h"

#include <algorithm>

namespace pelto {

namespace {

struct Span {
    size_t at = 0;
    size_t len = 0;
};

// The spans of kept that lie in pageBefore, contiguous ones joined; empty when they are
// not in order (the caller then takes the difference as one piece).
bool KeptSpans(std::string_view pageBefore, const std::vector<std::string_view>& kept,
               std::vector<Span>& spans) {
    const char* base = pageBefore.data();
    size_t last = 0;
    bool follows = false; // the previous part was a span too: nothing was inserted between
    for (std::string_view part : kept) {
        if (part.empty() || base == nullptr)
            continue;
        if (part.data() < base || part.data() + part.size() > base + pageBefore.size()) {
            follows = false;
            continue;
        }
        const size_t at = static_cast<size_t>(part.data() - base);
        const bool joins = follows && at == spans.back().at + spans.back().len;
        follows = true;
        if (joins) {
            spans.back().len += part.size();
            last = at + part.size();
            continue;
        }
        if (at < last)
            return false;
        spans.push_back({at, part.size()});
        last = at + part.size();
    }
    return !spans.empty() || pageBefore.empty();
}

struct RawPiece {
    size_t offset;         // in written
    std::string_view gone; // of pageBefore
    std::string_view put;  // of written
};

// The bytes of a in order in b, the bytes between them in b taken as inserted: a run of
// equal bytes is followed while it lasts, then the next bytes of a are looked for ahead in
// b (a short run of a may have been rewritten). False when they are not found.
bool InsertionsOnly(std::string_view a, std::string_view b, std::vector<RawPiece>& raw) {
    constexpr size_t kAnchor = 32;
    constexpr size_t kMostRewritten = 256;
    size_t ca = 0, cb = 0;
    while (ca < a.size()) {
        if (cb < b.size() && a[ca] == b[cb]) {
            ++ca;
            ++cb;
            continue;
        }
        // The next bytes of a ahead in b; where they were rewritten (a link's own text),
        // the bytes of a up to the next that are found count as taken away.
        size_t skip = 0;
        size_t at = std::string_view::npos;
        for (; skip <= kMostRewritten && ca + skip < a.size(); ++skip) {
            at = b.find(a.substr(ca + skip, kAnchor), cb);
            if (at != std::string_view::npos)
                break;
        }
        if (at == std::string_view::npos)
            return false;
        raw.push_back({cb, a.substr(ca, skip), b.substr(cb, at - cb)});
        ca += skip;
        cb = at;
    }
    if (cb < b.size())
        raw.push_back({cb, {}, b.substr(cb)});
    return true;
}

// One piece from the first to the last byte in which the two texts differ.
std::vector<RawPiece> WholeDifference(std::string_view a, std::string_view b) {
    size_t pre = 0;
    const size_t most = std::min(a.size(), b.size());
    while (pre < most && a[pre] == b[pre])
        ++pre;
    size_t suf = 0;
    while (suf < most - pre && a[a.size() - 1 - suf] == b[b.size() - 1 - suf])
        ++suf;
    if (pre == a.size() && pre == b.size())
        return {};
    return {{pre, a.substr(pre, a.size() - pre - suf), b.substr(pre, b.size() - pre - suf)}};
}

std::string Excerpt(std::string_view bytes) {
    std::string out;
    for (char c : bytes.substr(0, 40))
        out += (c == '\r' || c == '\n' || c == '\t') ? ' ' : c;
    if (bytes.size() > 40)
        out += "...";
    return out;
}

// How many of the bytes around the piece at pos are those it had around it when written.
size_t Neighbours(std::string_view text, size_t pos, const InsertedPiece& piece) {
    size_t n = 0;
    const std::string_view before = piece.before;
    while (n < before.size() && n < pos && text[pos - 1 - n] == before[before.size() - 1 - n])
        ++n;
    const size_t end = pos + piece.inserted.size();
    size_t m = 0;
    while (m < piece.after.size() && end + m < text.size() && text[end + m] == piece.after[m])
        ++m;
    return n + m;
}

// The end every handler's marker line has.
constexpr std::string_view kHandlerMarkerEnd = " do not change this line in any case */";

} // namespace

long LineOfOffset(std::string_view text, uint64_t pos) {
    long line = 1;
    const size_t end = std::min<uint64_t>(pos, text.size());
    for (size_t i = 0; i < end; ++i)
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')))
            ++line;
    return line;
}

namespace {

// A text given whole, as PartsText reads one given in parts.
class WholeText {
public:
    explicit WholeText(std::string_view text) : text_(text) {}
    size_t size() const { return text_.size(); }
    size_t find(std::string_view needle, size_t from) const { return text_.find(needle, from); }
    std::string_view substr(size_t pos, size_t n = std::string_view::npos) const {
        return text_.substr(pos, n);
    }

private:
    std::string_view text_;
};

// Pairs the kept spans of pageBefore with where they stand in written, in order; the
// bytes between them are the raw pieces. False when a span is not found.
template <class Text>
bool PairedPieces(std::string_view pageBefore, const std::vector<Span>& spans, const Text& written,
                  std::vector<RawPiece>& raw) {
    size_t cb = 0; // in pageBefore
    size_t cw = 0; // in written
    for (const Span& span : spans) {
        const std::string_view need = pageBefore.substr(span.at, span.len);
        const size_t at = written.find(need, cw);
        if (at == std::string_view::npos)
            return false;
        if (span.at > cb || at > cw)
            raw.push_back({cw, pageBefore.substr(cb, span.at - cb), written.substr(cw, at - cw)});
        cb = span.at + span.len;
        cw = at + need.size();
    }
    if (cb < pageBefore.size() || cw < written.size())
        raw.push_back({cw, pageBefore.substr(cb), written.substr(cw)});
    return true;
}

template <class Text>
std::vector<InsertedPiece> PiecesOf(const std::vector<RawPiece>& raw, const Text& written) {
    std::vector<InsertedPiece> pieces;
    auto add = [&](size_t offset, std::string_view gone, std::string_view put) {
        InsertedPiece p;
        p.offset = offset;
        p.removed = gone;
        p.inserted = put;
        const size_t from = offset >= kPieceContext ? offset - kPieceContext : 0;
        p.before = written.substr(from, offset - from);
        p.after = written.substr(std::min(written.size(), offset + put.size()), kPieceContext);
        pieces.push_back(std::move(p));
    };
    for (const RawPiece& r : raw) {
        // Bytes taken away and put back inside the inserted text (a handler's marker with
        // code chained behind it) stay where they are: two pieces around them.
        const size_t inside = r.gone.empty() ? std::string_view::npos : r.put.find(r.gone);
        if (inside == std::string_view::npos) {
            add(r.offset, r.gone, r.put);
            continue;
        }
        if (inside > 0)
            add(r.offset, {}, r.put.substr(0, inside));
        const size_t behind = inside + r.gone.size();
        if (behind < r.put.size())
            add(r.offset + behind, {}, r.put.substr(behind));
    }
    return pieces;
}

} // namespace

std::vector<InsertedPiece> ComputePieces(std::string_view pageBefore,
                                         const std::vector<std::string_view>& kept,
                                         std::string_view written) {
    std::vector<Span> spans;
    std::vector<RawPiece> raw;
    const WholeText text(written);
    if (!KeptSpans(pageBefore, kept, spans) || !PairedPieces(pageBefore, spans, text, raw)) {
        raw.clear();
        if (!InsertionsOnly(pageBefore, written, raw))
            raw = WholeDifference(pageBefore, written);
    }
    return PiecesOf(raw, text);
}

std::vector<InsertedPiece> ComputePieces(std::string_view pageBefore,
                                         const std::vector<std::string_view>& kept,
                                         const std::vector<std::string_view>& written) {
    std::vector<Span> spans;
    std::vector<RawPiece> raw;
    const PartsText text(written);
    if (KeptSpans(pageBefore, kept, spans) && PairedPieces(pageBefore, spans, text, raw))
        return PiecesOf(raw, text);
    // The spans were not found in order: the texts are compared byte by byte, whole.
    std::string whole;
    whole.reserve(text.size());
    for (std::string_view part : written)
        whole.append(part);
    return ComputePieces(pageBefore, kept, std::string_view(whole));
}

Result<std::vector<uint64_t>> LocatePieces(std::string_view current,
                                           const std::vector<InsertedPiece>& pieces,
                                           const std::string& pageName) {
    std::vector<uint64_t> at;
    at.reserve(pieces.size());
    int64_t moved = 0; // how far the user's edits in front moved the previous piece
    size_t cursor = 0;
    for (const InsertedPiece& piece : pieces) {
        const std::string_view put = piece.inserted;
        const int64_t guess = static_cast<int64_t>(piece.offset) + moved;
        const size_t expected = guess < 0 ? 0 : static_cast<size_t>(guess);
        auto fits = [&](size_t p) {
            return p >= cursor && p <= current.size() && current.size() - p >= put.size() &&
                   current.compare(p, put.size(), put) == 0;
        };
        size_t found = std::string_view::npos;
        if (fits(expected) && (!put.empty() || Neighbours(current, expected, piece) > 0))
            found = expected;
        if (found == std::string_view::npos && !put.empty()) {
            // Where the bytes stand more than once (the same effect applied twice), the
            // place whose neighbours are most like those the piece had wins, then the one
            // nearest to where the edits in front put it.
            size_t best = std::string_view::npos;
            size_t bestScore = 0, bestDistance = 0;
            bool tie = false;
            for (size_t p = current.find(put, cursor); p != std::string_view::npos;
                 p = current.find(put, p + 1)) {
                const size_t score = Neighbours(current, p, piece);
                const size_t distance = p > expected ? p - expected : expected - p;
                if (best == std::string_view::npos || score > bestScore ||
                    (score == bestScore && distance < bestDistance)) {
                    tie = false;
                    best = p;
                    bestScore = score;
                    bestDistance = distance;
                } else if (score == bestScore && distance == bestDistance) {
                    tie = true;
                }
            }
            if (tie)
                return MakeError(pageName, LineOfOffset(current, best),
                                 "the code Pelto inserted (\"" + Excerpt(put) +
                                     "\") now stands at more than one place, so Pelto cannot "
                                     "tell which to take out; the page was left as it is");
            found = best;
        }
        if (found == std::string_view::npos) {
            // The line named is where the bytes at the expected place stop being the piece's.
            size_t where = std::min(expected, current.size());
            while (where < current.size() && where - expected < put.size() &&
                   current[where] == put[where - expected])
                ++where;
            std::string message =
                put.empty() ? "the place where Pelto took out \"" + Excerpt(piece.removed) +
                                  "\" was edited; the page was left as it is"
                            : "the code Pelto inserted here (\"" + Excerpt(put) +
                                  "\") was edited or is no longer in the page; the page was "
                                  "left as it is";
            if (put.find(kHandlerMarkerEnd) != std::string_view::npos)
                message += " (an effect applied later may have chained its code into the "
                           "handler this one brought in: take that one out first)";
            return MakeError(pageName, LineOfOffset(current, where), message);
        }
        at.push_back(found);
        moved = static_cast<int64_t>(found) - static_cast<int64_t>(piece.offset);
        cursor = found + put.size();
    }
    return at;
}

std::string TakeOutPieces(std::string_view current, const std::vector<InsertedPiece>& pieces,
                          const std::vector<uint64_t>& at) {
    std::string out;
    size_t size = current.size();
    for (const InsertedPiece& p : pieces)
        size = size - p.inserted.size() + p.removed.size();
    out.reserve(size);
    size_t from = 0;
    for (size_t i = 0; i < pieces.size() && i < at.size(); ++i) {
        out.append(current.substr(from, at[i] - from));
        out.append(pieces[i].removed);
        from = at[i] + pieces[i].inserted.size();
    }
    out.append(current.substr(from));
    return out;
}

} // namespace pelto
