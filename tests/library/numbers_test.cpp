#include "common/numbers.h"

#include <gtest/gtest.h>

namespace pelto {
namespace {

TEST(Numbers, RoundHalfEven) {
    const std::pair<double, double> cases[] = {{2.5, 2}, {3.5, 4},    {-2.5, -2}, {0.5, 0},
                                               {1.5, 2}, {2.4999, 2}, {-3.5, -4}, {7, 7}};
    for (auto [in, out] : cases)
        EXPECT_EQ(RoundHalfEven(in), out) << in;
}

TEST(Numbers, LeadingNumberReadsThePrefix) {
    const std::pair<const char*, double> cases[] = {
        {"3 items", 3}, {"", 0},     {"abc", 0}, {"  -2.5x", -2.5}, {"\t12", 12}, {"1e3z", 1000},
        {"4.", 4},      {".5", 0.5}, {"+7", 7},  {"-", 0},          {"1e", 1}};
    for (auto [in, out] : cases)
        EXPECT_DOUBLE_EQ(LeadingNumber(in), out) << in;
}

TEST(Numbers, ParseInt16ChecksTheWholeTextAndTheRange) {
    EXPECT_EQ(ParseInt16(" 12 "), 12);
    EXPECT_EQ(ParseInt16("2.5"), 2);
    EXPECT_EQ(ParseInt16("32767"), 32767);
    EXPECT_EQ(ParseInt16("-32768"), -32768);
    EXPECT_FALSE(ParseInt16("32768"));
    EXPECT_FALSE(ParseInt16("12a"));
    EXPECT_FALSE(ParseInt16(""));
    EXPECT_FALSE(ParseInt16("32767.5")); // rounds to 32768
    EXPECT_EQ(ParseInt32("16711680"), 16711680);
    EXPECT_FALSE(ParseInt32("2147483648"));
}

TEST(Numbers, ParseTruth) {
    EXPECT_EQ(ParseTruth("True"), true);
    EXPECT_EQ(ParseTruth("false"), false);
    EXPECT_EQ(ParseTruth("0"), false);
    EXPECT_EQ(ParseTruth("-1"), true);
    EXPECT_FALSE(ParseTruth("yes"));
}

TEST(Numbers, FormatNumberIsPlainDecimal) {
    const std::pair<double, const char*> cases[] = {{5, "5"},
                                                    {2.5, "2.5"},
                                                    {-0.25, "-0.25"},
                                                    {0, "0"},
                                                    {1e20, "100000000000000000000"},
                                                    {0.1 + 0.2, "0.3"},
                                                    {-32768, "-32768"}};
    for (auto [in, out] : cases)
        EXPECT_EQ(FormatNumber(in), out) << in;
}

} // namespace
} // namespace pelto
