#include "expansion/escaping.h"

#include "common/cp1252.h"

#include <gtest/gtest.h>

namespace pelto {
namespace {

struct EscapeCase {
    const char* label;
    Escaping how;
    std::string text;
    std::string expected;
};

class EscapeTest : public ::testing::TestWithParam<EscapeCase> {};

// The texts are written as the Windows-1252 bytes a user of Western text types; the
// program holds them as UTF-8, and the escaped bytes are what they always were.
TEST_P(EscapeTest, GivesExactBytes) {
    EXPECT_EQ(Escape(GetParam().how, Cp1252ToUtf8(GetParam().text)), GetParam().expected);
}

constexpr Escaping H = Escaping::Html;
constexpr Escaping J = Escaping::Js;
constexpr Escaping U = Escaping::Url;

INSTANTIATE_TEST_SUITE_P(
    Html, EscapeTest,
    ::testing::Values(
        EscapeCase{"Specials", H, "<>\"'", "&lt;&gt;&quot;&#39;"},
        EscapeCase{"LoneAmpersand", H, "A&B", "A&amp;B"},
        EscapeCase{"AmpersandAtEnd", H, "x&", "x&amp;"},
        EscapeCase{"NamedReferenceKept", H, "&amp; &nbsp; &h2o;", "&amp; &nbsp; &h2o;"},
        EscapeCase{"DecimalReferenceKept", H, "&#169;", "&#169;"},
        EscapeCase{"HexReferenceKept", H, "&#x1F600; &#XaF;", "&#x1F600; &#XaF;"},
        EscapeCase{"NoDigits", H, "&#; &#x;", "&amp;#; &amp;#x;"},
        EscapeCase{"NoSemicolon", H, "&#12 &amp", "&amp;#12 &amp;amp"},
        EscapeCase{"HexDigitsOnlyAfterX", H, "&#xG; &#1a;", "&amp;#xG; &amp;#1a;"},
        EscapeCase{"NameStartsWithLetter", H, "&1a; & amp; &a-b;", "&amp;1a; &amp; amp; &amp;a-b;"},
        EscapeCase{"OtherAsciiKept", H, "a\tb\r\n\x01`\\/=#;~\x7F", "a\tb\r\n\x01`\\/=#;~\x7F"},
        EscapeCase{"Euro", H, "\x80", "&#8364;"},
        EscapeCase{"Unassigned", H, "\x81\x8D\x8F\x90\x9D", "&#129;&#141;&#143;&#144;&#157;"},
        EscapeCase{"HighTable", H, "\x85\x99\x9F", "&#8230;&#8482;&#376;"},
        EscapeCase{"Latin1", H, "\xA0\xAE\xAF\xE9\xFF", "&#160;&#174;&#175;&#233;&#255;"},
        EscapeCase{"Empty", H, "", ""}),
    [](const auto& info) { return std::string(info.param.label); });

INSTANTIATE_TEST_SUITE_P(
    Js, EscapeTest,
    ::testing::Values(EscapeCase{"Backslash", J, "a\\b", "a\\\\b"},
                      EscapeCase{"Quotes", J, "\"'`", "\\\"\\'\\x60"},
                      EscapeCase{"LineEnds", J, "a\r\nb", "a\\r\\nb"},
                      EscapeCase{"AngleBrackets", J, "</script>", "\\x3C/script\\x3E"},
                      EscapeCase{"Controls", J, std::string("\0\t\x1F\x7F", 4),
                                 "\\x00\\x09\\x1F\\x7F"},
                      EscapeCase{"AsciiKept", J, "A&B ;/=~?#%", "A&B ;/=~?#%"},
                      EscapeCase{"Euro", J, "\x80", "\\u20AC"},
                      EscapeCase{"Unassigned", J, "\x81\x9D", "\\u0081\\u009D"},
                      EscapeCase{"HighTable", J, "\x8C\x9F", "\\u0152\\u0178"},
                      EscapeCase{"Latin1", J, "\xA0\xAE\xE9\xFF", "\\u00A0\\u00AE\\u00E9\\u00FF"}),
    [](const auto& info) { return std::string(info.param.label); });

INSTANTIATE_TEST_SUITE_P(
    Url, EscapeTest,
    ::testing::Values(EscapeCase{"Kept", U, "AZaz09-_.~!$&()*+,;=:@/?#[]%",
                                 "AZaz09-_.~!$&()*+,;=:@/?#[]%"},
                      EscapeCase{"Blank", U, "my file.htm", "my%20file.htm"},
                      EscapeCase{"Quotes", U, "\"'`", "%22%27%60"},
                      EscapeCase{"Specials", U, "<>\\^{|}", "%3C%3E%5C%5E%7B%7C%7D"},
                      EscapeCase{"Controls", U, std::string("\0\r\n\x7F", 4), "%00%0D%0A%7F"},
                      EscapeCase{"Euro", U, "\x80", "%E2%82%AC"},
                      EscapeCase{"Unassigned", U, "\x81", "%C2%81"},
                      EscapeCase{"HighTable", U, "\x99", "%E2%84%A2"},
                      EscapeCase{"Latin1", U, "\xA0\xAE\xE9\xFF", "%C2%A0%C2%AE%C3%A9%C3%BF"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(Escape, EveryByteGivesAsciiWithoutMarks) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    for (Escaping how : {H, J, U}) {
        std::string out = Escape(how, all);
        for (char c : out)
            ASSERT_LT(static_cast<unsigned char>(c), 0x80) << static_cast<int>(how);
    }
}

TEST(Escape, NoneGivesTheTextBack) {
    EXPECT_EQ(Escape(Escaping::None, "<\xAE>"), "<\xAE>");
}

struct ModifierCase {
    std::string keyword;
    std::string rest;
    Escaping how;
};

class SplitModifierTest : public ::testing::TestWithParam<ModifierCase> {};

TEST_P(SplitModifierTest, SplitsOnlyAKnownModifierAtTheEnd) {
    std::string keyword = GetParam().keyword;
    EXPECT_EQ(SplitModifier(keyword), GetParam().how);
    EXPECT_EQ(keyword, GetParam().rest);
}

INSTANTIATE_TEST_SUITE_P(
    Keywords, SplitModifierTest,
    ::testing::Values(ModifierCase{"TEXTVALUE|HTML", "TEXTVALUE", H},
                      ModifierCase{"TEXTVALUE|JS", "TEXTVALUE", J},
                      ModifierCase{"FILENAMEONLY|URL", "FILENAMEONLY", U},
                      ModifierCase{"|JS", "", J},
                      ModifierCase{"TEXTVALUE", "TEXTVALUE", Escaping::None},
                      ModifierCase{"TEXTVALUE|XML", "TEXTVALUE|XML", Escaping::None},
                      ModifierCase{"TEXTVALUE|HTML|JS", "TEXTVALUE|HTML", J},
                      ModifierCase{"TEXTVALUEJS", "TEXTVALUEJS", Escaping::None}));

} // namespace
} // namespace pelto
