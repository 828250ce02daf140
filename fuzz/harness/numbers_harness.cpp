// The numeric rules on any text: what ParseNumber accepts is written back by
// FormatNumber as plain decimal text that reads as the same number (to 15 significant
// digits), and the 16-bit conversion stays in range.
#include "harness/check.h"
#include "harness/harness.h"

#include "common/numbers.h"

#include <cmath>

namespace pelto::fuzz {

std::string RunNumbers(std::string_view input) {
    Check check;
    (void)LeadingNumber(input);
    (void)ParseTruth(input);
    auto v = ParseNumber(input);
    if (!v)
        return check.result();
    check.That(std::isfinite(*v), "ParseNumber accepted a value that is not finite");
    const std::string text = FormatNumber(*v);
    check.That(text.find_first_not_of("-0123456789.") == std::string::npos,
               "FormatNumber wrote \"" + text + "\", which is not plain decimal text");
    auto back = ParseNumber(text);
    check.That(back.has_value(), "FormatNumber wrote \"" + text + "\", which does not read back");
    if (back) {
        const double tolerance = std::fabs(*v) * 1e-14;
        check.That(std::fabs(*back - *v) <= tolerance,
                   "FormatNumber wrote \"" + text + "\" for a different number");
    }
    if (auto i = ToInt16(*v))
        check.That(*i == RoundHalfEven(*v), "ToInt16 did not round half to even");
    return check.result();
}

} // namespace pelto::fuzz
