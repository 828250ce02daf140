#pragma once
// The numeric rules shared by every reader: halves round to even, a count takes the
// leading number of its line, and values kept in 16- or 32-bit fields are range-checked.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pelto {

// Nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
double RoundHalfEven(double value);

// The number at the start of a text, the way a numeric prefix is read: leading blanks
// and tabs skipped, an optional sign, digits with an optional fraction and exponent;
// reading stops at the first character that cannot continue the number. Nothing
// readable gives 0.
double LeadingNumber(std::string_view text);

// The whole text as a number: blanks around it allowed, nothing else. No value when
// the text is empty or holds anything that is not part of the number.
std::optional<double> ParseNumber(std::string_view text);

// A number rounded half-to-even into the 16- or 32-bit range; no value when it falls
// outside that range (or is not finite).
std::optional<int16_t> ToInt16(double value);
std::optional<int32_t> ToInt32(double value);

// ParseNumber followed by the rounding range check.
std::optional<int16_t> ParseInt16(std::string_view text);
std::optional<int32_t> ParseInt32(std::string_view text);

// A truth value: "True" or "False" (any letter case), or a number (0 = false).
std::optional<bool> ParseTruth(std::string_view text);

// Plain decimal text: a minus sign where negative, no leading blank or zeros, at most
// 15 significant digits, "." as separator and no trailing zeros after it (5 -> "5",
// 2.5 -> "2.5").
std::string FormatNumber(double value);

// Decimal text of a whole number.
std::string FormatInt(long long value);

} // namespace pelto
