#pragma once
// The words the kind tables of library/parameter_kinds.h are written in: a line with its
// conversion and the field it sets, the text columns that follow a count, and the whole
// format of one kind (its records, its definition block and its template block).
#include "common/numbers.h"
#include "library/parameter_state.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <type_traits>
#include <variant>

namespace pelto::kinds {

// How the text of one line becomes a value.
enum class Conversion : uint8_t {
    Text,         // taken as it stands
    Whole16,      // a whole number from -32768 to 32767; fractions round, halves to even
    Whole32,      // a 32-bit whole number, rounded the same way
    Real,         // a decimal number
    Truth,        // True, False or a number
    Count,        // a 16-bit whole number from low to high; it sizes the lines that follow
    LeadingCount, // the line's leading number, rounded, from low to high; sizes what follows
};

// The field of record R a line sets; monostate for a line that is checked but not kept.
template <class R>
using Field =
    std::variant<std::monostate, std::string R::*, int16_t R::*, int32_t R::*, double R::*>;

template <class R> struct Line {
    Conversion conversion = Conversion::Text;
    Field<R> field{};
    int16_t low = 0; // the range of a count
    int16_t high = 0;
    const char* refusal = nullptr; // definition files: a count out of range ("{}": the count)
    void (*then)(R&) = nullptr;    // what follows from the value (table sizes, colour parts)

    constexpr Line Then(void (*step)(R&)) const {
        Line l = *this;
        l.then = step;
        return l;
    }
};

template <class R> constexpr Line<R> AsText(std::string R::*f) {
    return {Conversion::Text, f};
}
template <class R, class M> constexpr Line<R> AsWhole16(M R::*f) {
    return {Conversion::Whole16, f};
}
template <class R> constexpr Line<R> AsWhole32(int32_t R::*f) {
    return {Conversion::Whole32, f};
}
template <class R> constexpr Line<R> AsReal(double R::*f) {
    return {Conversion::Real, f};
}
// A line that must be present and well formed but whose value is not kept.
template <class R> constexpr Line<R> NotKept(Conversion c) {
    return {c, std::monostate{}};
}
template <class R>
constexpr Line<R> AsCount(int16_t R::*f, int16_t low, int16_t high, const char* refusal) {
    return {Conversion::Count, f, low, high, refusal};
}
template <class R> constexpr Line<R> AsLeadingCount(int16_t R::*f, int16_t low, int16_t high) {
    return {Conversion::LeadingCount, f, low, high};
}

// Text lines after a count: `rows` lines per column, column after column.
template <class R> struct Columns {
    int16_t R::*rows = nullptr;
    int (*width)(const R&) = nullptr;
    // The text at (row, column); nullptr outside the record's tables.
    const std::string* (*cell)(const R&, int row, int column) = nullptr;
    const char* whenNoRows = nullptr; // definition files: a line while the count is 0
    const char* beyondLast = nullptr; // definition files: a line after the last column
                                      // (nullptr: such lines are ignored)
};

template <class R> struct Format {
    ParameterKind kind = Int;
    // Where the records live: a table of entries 1..30, or a single record.
    std::array<R, MaxPerKind + 1> ParameterState::*table = nullptr;
    R ParameterState::*single = nullptr;
    std::string R::*name = nullptr; // none: the kind's reserved name is its name
    // Definition block: value lines 1, 2, ...; then the rest, if the kind has one (any
    // other further line is ignored).
    std::span<const Line<R>> definition{};
    const Columns<R>* definitionRest = nullptr;
    int pageLinksAfterLine = 0; // the sample page's links are read once this line is in
    // Template block: the lines after the name line (no block at all when not stored).
    bool inTemplates = false;
    std::span<const Line<R>> templateBlock{};
    const Columns<R>* templateRest = nullptr;
    bool linkTexts = false; // then the link count and three lines per link
};

template <class R> R& RecordOf(const Format<R>& f, ParameterState& p, int ordinal) {
    return f.table ? (p.*f.table)[static_cast<size_t>(ordinal)] : p.*f.single;
}
template <class R> const R& RecordOf(const Format<R>& f, const ParameterState& p, int ordinal) {
    return f.table ? (p.*f.table)[static_cast<size_t>(ordinal)] : p.*f.single;
}

// Stores a text into the line's field.
template <class R> void StoreText(const Line<R>& l, R& r, std::string text) {
    if (auto m = std::get_if<std::string R::*>(&l.field))
        r.** m = std::move(text);
}

// Stores a number into the line's field, in the field's own type.
template <class R> void StoreNumber(const Line<R>& l, R& r, double value) {
    std::visit(
        [&](auto m) {
            using M = decltype(m);
            if constexpr (!std::is_same_v<M, std::monostate> &&
                          !std::is_same_v<M, std::string R::*>)
                r.*m = static_cast<std::remove_reference_t<decltype(r.*m)>>(value);
        },
        l.field);
}

// The line's field as a file line: whole numbers and counts plainly (a count never below
// 0), reals as plain decimals.
template <class R> std::string Shown(const Line<R>& l, const R& r) {
    return std::visit(
        [&](auto m) -> std::string {
            using M = decltype(m);
            if constexpr (std::is_same_v<M, std::monostate>)
                return {};
            else if constexpr (std::is_same_v<M, std::string R::*>)
                return r.*m;
            else if constexpr (std::is_same_v<M, double R::*>)
                return FormatNumber(r.*m);
            else if (l.conversion == Conversion::Count || l.conversion == Conversion::LeadingCount)
                return FormatInt(std::max<long long>(0, r.*m));
            else
                return FormatInt(r.*m);
        },
        l.field);
}

template <class R> std::string* CellOf(const Columns<R>& c, R& r, int row, int column) {
    // The record is not const; cell() only hands out the place.
    return const_cast<std::string*>(c.cell(r, row, column));
}

} // namespace pelto::kinds
