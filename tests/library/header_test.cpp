#include "library/library_loader.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace pelto {
namespace {

using test::CrLf;

std::string Header(const std::string& count, const std::string& items) {
    return CrLf({"pelto.demo", "  pDm ", "1000", "Demo", "A demo effect", "Menus", "0", count}) +
           items;
}

TEST(Header, ReadsTheEightLinesAndTheItems) {
    auto r = ReadScriptHeader(Header("2", "Head,demo_head.txt,,1,1\r\n"
                                          "External, \"demo ext.js\" ,demo.js,1,0\r\n"),
                              "demo.hdr");
    ASSERT_TRUE(r) << r.error().text();
    EXPECT_EQ(r->ScriptId, "pelto.demo");
    EXPECT_EQ(r->IdPrefix, "pDm");
    EXPECT_EQ(r->IdStride, 1000);
    EXPECT_EQ(r->Name, "Demo");
    EXPECT_EQ(r->Category, "Menus");
    EXPECT_EQ(r->ParameterFile, "demo.par");
    EXPECT_EQ(r->ItemCount, "2");
    ASSERT_EQ(r->ItemLocation.size(), 3u);
    EXPECT_EQ(r->ItemLocation[1], "Head");
    EXPECT_EQ(r->ItemCodeFile[2], "demo ext.js");
    EXPECT_EQ(r->ItemExternalName[2], "demo.js");
    EXPECT_EQ(r->ItemOnce[1], 1);
    EXPECT_EQ(r->ItemInclude[2], 1);
    EXPECT_EQ(r->ItemOnce[2], 0);
}

TEST(Header, ItemsMaySpreadOverLines) {
    auto r =
        ReadScriptHeader(Header("1", "Body_End\r\ndemo.txt\r\n\"\"\r\n1\r\n0\r\n"), "demo.hdr");
    ASSERT_TRUE(r) << r.error().text();
    EXPECT_EQ(r->ItemLocation[1], "Body_End");
    EXPECT_EQ(r->ItemCodeFile[1], "demo.txt");
    EXPECT_EQ(r->ItemExternalName[1], "");
}

TEST(Header, CountTakesTheLeadingNumber) {
    auto three = ReadScriptHeader(
        Header("3 items", "Head,a,,1,0\r\nHead,b,,1,0\r\nHead,c,,1,0\r\n"), "x.hdr");
    ASSERT_TRUE(three) << three.error().text();
    EXPECT_EQ(three->ItemCountValue(), 3);
    auto none = ReadScriptHeader(Header("", ""), "x.hdr");
    ASSERT_TRUE(none);
    EXPECT_EQ(none->ItemCountValue(), 0);
    EXPECT_EQ(none->ItemLocation.size(), 1u);
}

TEST(Header, ParameterFileReplacesTheLastThreeCharacters) {
    auto r = ReadScriptHeader(Header("0", ""), "Clock.HDR");
    ASSERT_TRUE(r);
    EXPECT_EQ(r->ParameterFile, "Clock.par");
}

struct BadHeader {
    const char* name;
    std::string text;
    long line;
    const char* says;
};

class HeaderErrors : public ::testing::TestWithParam<BadHeader> {};

TEST_P(HeaderErrors, NameTheFileTheLineAndTheFault) {
    const BadHeader& c = GetParam();
    auto r = ReadScriptHeader(c.text, "bad.hdr");
    ASSERT_FALSE(r);
    EXPECT_EQ(r.error().file, "bad.hdr");
    EXPECT_EQ(r.error().line, c.line);
    EXPECT_NE(r.error().message.find(c.says), std::string::npos) << r.error().message;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HeaderErrors,
    ::testing::Values(
        BadHeader{"short", CrLf({"id", "p", "1", "n"}), 5, "eight lines"},
        BadHeader{"line7", CrLf({"id", "p", "1", "n", "d", "c", "seven", "0"}), 7, "whole number"},
        BadHeader{"count", CrLf({"id", "p", "1", "n", "d", "c", "0", "40000"}), 8, "count"},
        BadHeader{"stride", CrLf({"id", "p", "99999", "n", "d", "c", "0", "0"}), 3, "16-bit"},
        BadHeader{"items", Header("2", "Head,a,,1,0\r\nHead,b\r\n"), 11, "before item 2"},
        BadHeader{"flag", Header("1", "Head,a,,yes,0\r\n"), 9, "flags"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace pelto
