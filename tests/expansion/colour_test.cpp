#include "expansion/colour.h"

#include <gtest/gtest.h>

namespace pelto {
namespace {

struct HexCase {
    int32_t colour;
    const char* hex;
};

class ColourToHexTest : public ::testing::TestWithParam<HexCase> {};

TEST_P(ColourToHexTest, RedFirstTwoDigitsEach) {
    EXPECT_EQ(ColourToHex(GetParam().colour), GetParam().hex);
}

INSTANTIATE_TEST_SUITE_P(Colours, ColourToHexTest,
                         ::testing::Values(HexCase{0, "000000"}, HexCase{0xFFFFFF, "FFFFFF"},
                                           HexCase{255, "FF0000"}, HexCase{0x0A0000, "00000A"},
                                           HexCase{1 + (16 << 8) + (255 << 16), "0110FF"},
                                           HexCase{static_cast<int32_t>(0xFF0000FF), "FF0000"},
                                           HexCase{-1, "FFFFFF"}));

TEST(SplitColour, TopByteIsIgnored) {
    int32_t r1, g1, b1, r2, g2, b2;
    SplitColour(0x00123456, r1, g1, b1);
    SplitColour(static_cast<int32_t>(0x7F123456), r2, g2, b2);
    EXPECT_EQ(r1, 0x56);
    EXPECT_EQ(g1, 0x34);
    EXPECT_EQ(b1, 0x12);
    EXPECT_EQ(std::tie(r1, g1, b1), std::tie(r2, g2, b2));
}

TEST(SetColourComponents, FollowsColour) {
    ColourParameter c;
    c.Colour = 0x00C08040;
    SetColourComponents(c);
    EXPECT_EQ(c.Red, 0x40);
    EXPECT_EQ(c.Green, 0x80);
    EXPECT_EQ(c.Blue, 0xC0);
}

} // namespace
} // namespace pelto
