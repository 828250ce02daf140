#include "common/numbers.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

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

double ToDouble(std::string_view number) {
    std::string copy(number);
    return std::strtod(copy.c_str(), nullptr);
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
    if (!std::isfinite(value))
        return "0";
    if (value == 0)
        return "0";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", value);
    std::string s(buf);
    if (s.find('e') != std::string::npos) {
        // Write large and small magnitudes out in plain digits.
        std::snprintf(buf, sizeof buf, "%.15f", value);
        s = buf;
        if (s.find('.') != std::string::npos) {
            while (!s.empty() && s.back() == '0')
                s.pop_back();
            if (!s.empty() && s.back() == '.')
                s.pop_back();
        }
    }
    return s;
}

std::string FormatInt(long long value) {
    return std::to_string(value);
}

} // namespace pelto
