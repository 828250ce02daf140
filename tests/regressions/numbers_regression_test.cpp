// Numbers written back as plain decimal text: very large and very small values keep
// all their digits (a fixed buffer once cut 1e300 short), and the user's locale never
// changes the decimal separator that data files and generated code use.
#include "common/numbers.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>

namespace pelto {
namespace {

struct FormatCase {
    double value;
    std::string text;
};

void PrintTo(const FormatCase& c, std::ostream* os) {
    *os << c.value << " -> " << c.text.substr(0, 40);
}

class FormatNumberCase : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatNumberCase, WritesPlainDigitsThatReadBack) {
    const FormatCase& c = GetParam();
    EXPECT_EQ(FormatNumber(c.value), c.text);
    auto back = ParseNumber(c.text);
    ASSERT_TRUE(back);
    EXPECT_NEAR(*back, c.value, std::fabs(c.value) * 1e-14); // 15 significant digits
}

INSTANTIATE_TEST_SUITE_P(
    Magnitudes, FormatNumberCase,
    ::testing::Values(FormatCase{1e300, "1" + std::string(300, '0')},
                      FormatCase{-1e23, "-1" + std::string(23, '0')},
                      FormatCase{1.5e-7, "0.00000015"},
                      FormatCase{123456789012345678.0, "123456789012346000"},
                      FormatCase{0.1 + 0.2, "0.3"}, FormatCase{999999.99999999999, "1000000"},
                      FormatCase{4.9e-324, "0." + std::string(323, '0') + "494065645841247"}));

// A locale whose decimal separator is a comma, compiled into a temporary folder (the
// machine may have none installed).
class CommaLocale : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string dir = folder_.path().string();
        const std::string cmd =
            "localedef -i de_DE -f UTF-8 '" + dir + "/de_DE.UTF-8' >/dev/null 2>&1";
        if (std::system(cmd.c_str()) != 0)
            GTEST_SKIP() << "localedef cannot build a de_DE locale here";
        ::setenv("LOCPATH", dir.c_str(), 1);
        if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
            GTEST_SKIP() << "the de_DE locale built in " << dir << " cannot be set";
    }
    void TearDown() override {
        std::setlocale(LC_ALL, "C");
        ::unsetenv("LOCPATH");
    }
    test::TempFolder folder_;
};

TEST_F(CommaLocale, NumbersStillUseThePoint) {
    ASSERT_EQ(std::string(std::localeconv()->decimal_point), ",");
    EXPECT_EQ(ParseNumber("2.5"), 2.5);
    EXPECT_EQ(LeadingNumber("12.75px"), 12.75);
    EXPECT_EQ(ParseInt16("3.5"), 4);
    EXPECT_EQ(FormatNumber(2.5), "2.5");
    EXPECT_EQ(FormatNumber(-0.125), "-0.125");
}

} // namespace
} // namespace pelto
