#pragma once
// What one application of an effect put into a page, as pieces: where each piece stands in
// the page as Pelto wrote it, the bytes it took away there and the bytes it put in. From
// the page before and the page written (and the spans of the page before that the written
// page kept, as attaching knows them) the pieces are worked out once, at apply time. To
// take the application out of the page as it is now, each inserted piece is found again
// (exact bytes, in order; the user's edits elsewhere move it but do not touch it) and its
// bytes are swapped back for the ones it took away. Everything else stays byte for byte.
#include "common/result.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pelto {

struct InsertedPiece {
    uint64_t offset = 0;  // where the inserted bytes start in the page as written
    std::string removed;  // the bytes of the page before that stood there
    std::string inserted; // the bytes Pelto put there
    std::string before;   // a few bytes in front of the piece in the page as written
    std::string after;    // a few bytes behind it

    bool operator==(const InsertedPiece&) const = default;
};

// How many bytes of the written page each piece keeps around it to tell it apart.
inline constexpr size_t kPieceContext = 24;

// The pieces that turn pageBefore into written. kept are the spans of pageBefore, in
// order, that written holds unchanged between the inserted texts (views into pageBefore;
// other views are ignored). When a span is not found in written where it should be, the
// difference is taken as one piece from the first to the last differing byte. A piece
// that took away bytes it puts back inside its own inserted text (a handler's marker)
// becomes two pieces around them, so a later effect may chain at that marker.
std::vector<InsertedPiece> ComputePieces(std::string_view pageBefore,
                                         const std::vector<std::string_view>& kept,
                                         std::string_view written);

// The same, for a written page given in parts (as it was written): the pieces are those of
// the parts joined, but a large page is not copied to find them.
std::vector<InsertedPiece> ComputePieces(std::string_view pageBefore,
                                         const std::vector<std::string_view>& kept,
                                         const std::vector<std::string_view>& written);

// Where every piece's inserted bytes stand in current, in order. A piece stands at its
// own offset moved by the edits found in front of it, or else at its only occurrence
// behind the previous piece (or the only one with its neighbouring bytes). A piece not
// found intact, or not found at one place, is an error naming pageName and the line
// where it was looked for.
Result<std::vector<uint64_t>> LocatePieces(std::string_view current,
                                           const std::vector<InsertedPiece>& pieces,
                                           const std::string& pageName);

// current with each located piece's inserted bytes replaced by its removed bytes.
std::string TakeOutPieces(std::string_view current, const std::vector<InsertedPiece>& pieces,
                          const std::vector<uint64_t>& at);

// The 1-based line of byte pos in text (lines end with LF or a lone CR).
long LineOfOffset(std::string_view text, uint64_t pos);

} // namespace pelto
