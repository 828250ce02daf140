#include "common/numbers.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <locale.h>

namespace pelto {

double RoundHalfEven(double value) {
    if (!std::isfinite(value))
        return value;
    return std::nearbyint(value); // the default rounding mode rounds halves to even
}

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Length of the number at the start of text (after blanks were skipped); 0 when none.
size_t NumberLength(std::string_view text) {
    size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        size_t j = i + 1;
        size_t frac = 0;
        while (j < text.size() && IsDigit(text[j])) {
            ++j;
            ++frac;
        }
        if (digits + frac > 0) {
            i = j;
            digits += frac;
        }
    }
    if (digits == 0)
        return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        size_t exp = 0;
        while (j < text.size() && IsDigit(text[j])) {
            ++j;
            ++exp;
        }
        if (exp > 0)
            i = j;
    }
    return i;
}

// Data files always use "." as the decimal separator, whatever locale the windows set
// (the GUI takes the user's locale, where strtod may expect a ",").
double ToDouble(std::string_view number) {
    // Plain whole numbers, by far the most common in data files, need no conversion call.
    size_t i = (!number.empty() && (number[0] == '-' || number[0] == '+')) ? 1 : 0;
    if (number.size() > i && number.size() - i <= 15) {
        double whole = 0;
        size_t k = i;
        while (k < number.size() && IsDigit(number[k]))
            whole = whole * 10 + (number[k++] - '0');
        if (k == number.size())
            return number[0] == '-' ? -whole : whole;
    }
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    char buffer[64];
    if (number.size() < sizeof buffer) {
        number.copy(buffer, number.size());
        buffer[number.size()] = '\0';
        return strtod_l(buffer, nullptr, c);
    }
    std::string copy(number);
    return strtod_l(copy.c_str(), nullptr, c);
}

} // namespace

double LeadingNumber(std::string_view text) {
    size_t start = 0;
    while (start < text.size() && IsBlank(text[start]))
        ++start;
    text.remove_prefix(start);
    size_t len = NumberLength(text);
    return len == 0 ? 0.0 : ToDouble(text.substr(0, len));
}

std::optional<double> ParseNumber(std::string_view text) {
    size_t start = 0;
    while (start < text.size() && IsBlank(text[start]))
        ++start;
    size_t end = text.size();
    while (end > start && IsBlank(text[end - 1]))
        --end;
    text = text.substr(start, end - start);
    size_t len = NumberLength(text);
    if (len == 0 || len != text.size())
        return std::nullopt;
    double value = ToDouble(text);
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int16_t> ToInt16(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    double r = RoundHalfEven(value);
    if (r < std::numeric_limits<int16_t>::min() || r > std::numeric_limits<int16_t>::max())
        return std::nullopt;
    return static_cast<int16_t>(r);
}

std::optional<int32_t> ToInt32(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    double r = RoundHalfEven(value);
    if (r < std::numeric_limits<int32_t>::min() || r > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(r);
}

std::optional<int16_t> ParseInt16(std::string_view text) {
    auto v = ParseNumber(text);
    return v ? ToInt16(*v) : std::nullopt;
}

std::optional<int32_t> ParseInt32(std::string_view text) {
    auto v = ParseNumber(text);
    return v ? ToInt32(*v) : std::nullopt;
}

std::optional<bool> ParseTruth(std::string_view text) {
    size_t start = 0;
    while (start < text.size() && IsBlank(text[start]))
        ++start;
    size_t end = text.size();
    while (end > start && IsBlank(text[end - 1]))
        --end;
    std::string word;
    for (char c : text.substr(start, end - start))
        word += static_cast<char>((c >= 'a' && c <= 'z') ? c - 32 : c);
    if (word == "TRUE")
        return true;
    if (word == "FALSE")
        return false;
    auto v = ParseNumber(text);
    if (!v)
        return std::nullopt;
    return *v != 0;
}

std::string FormatNumber(double value) {
    if (!std::isfinite(value) || value == 0)
        return "0";
    // Round to 15 significant digits in scientific form (locale-free), then write the
    // digits out in plain decimal, however large or small the exponent.
    char sci[64];
    auto done = std::to_chars(sci, sci + sizeof sci, value, std::chars_format::scientific, 14);
    std::string_view text(sci, static_cast<size_t>(done.ptr - sci));
    const bool negative = text.front() == '-';
    if (negative)
        text.remove_prefix(1);
    const size_t e = text.find('e');
    std::string digits;
    for (char c : text.substr(0, e))
        if (c != '.')
            digits += c;
    int exponent = 0;
    std::string_view exp = text.substr(e + 1);
    if (!exp.empty() && exp.front() == '+')
        exp.remove_prefix(1);
    std::from_chars(exp.data(), exp.data() + exp.size(), exponent);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    std::string out = negative ? "-" : "";
    if (exponent < 0) {
        out += "0.";
        out.append(static_cast<size_t>(-exponent - 1), '0');
        out += digits;
    } else if (digits.size() <= static_cast<size_t>(exponent) + 1) {
        out += digits;
        out.append(static_cast<size_t>(exponent) + 1 - digits.size(), '0');
    } else {
        out += digits.substr(0, static_cast<size_t>(exponent) + 1);
        out += '.';
        out += digits.substr(static_cast<size_t>(exponent) + 1);
    }
    return out;
}

std::string FormatInt(long long value) {
    return std::to_string(value);
}

} // namespace pelto
