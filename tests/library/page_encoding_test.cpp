#include "library/page_encoding.h"
#include "library/page_links.h"

#include <gtest/gtest.h>

#include <string>

namespace pelto {
namespace {

const std::string kCafeUtf8 = "caf\xC3\xA9";   // café in UTF-8
const std::string kCafe1252 = "caf\xE9";       // café in Windows-1252
const std::string kEuroUtf8 = "\xE2\x82\xAC";  // the euro sign in UTF-8
const std::string kArrowUtf8 = "\xE2\x86\x92"; // U+2192, not in Windows-1252

struct PageCase {
    const char* label;
    std::string page;
    bool utf8;
};

class PageEncodingTest : public ::testing::TestWithParam<PageCase> {};

TEST_P(PageEncodingTest, TellsAUtf8Page) {
    EXPECT_EQ(IsUtf8Page(GetParam().page), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, PageEncodingTest,
    ::testing::Values(
        PageCase{"ByteOrderMark", "\xEF\xBB\xBF<html><p>" + kCafe1252, true},
        PageCase{"ByteOrderMarkBeatsAnotherDeclaration",
                 "\xEF\xBB\xBF<meta charset=\"windows-1252\">", true},
        PageCase{"MetaCharsetQuoted", "<head><meta charset=\"utf-8\"></head>" + kCafe1252, true},
        PageCase{"MetaCharsetUnquotedUpperCase", "<HEAD><META CHARSET=UTF-8>", true},
        PageCase{"MetaCharsetSingleQuotedUtf8", "<meta charset='utf8' />", true},
        PageCase{"MetaCharsetBlanksAroundEquals", "<meta charset = \"Utf-8\">", true},
        PageCase{"HttpEquiv",
                 "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">", true},
        PageCase{"HttpEquivUnquoted",
                 "<meta http-equiv=Content-Type content=text/html;charset=UTF8>", true},
        PageCase{"XmlDeclaration", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><html>", true},
        PageCase{"XmlDeclarationOther",
                 "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>" + kCafeUtf8, false},
        PageCase{"XmlWordNotAtStart", "<p><?xml encoding=\"utf-8\"?>" + kCafe1252, false},
        PageCase{"OtherDeclaredEncoding", "<meta charset=\"windows-1252\">" + kCafeUtf8, false},
        PageCase{"OtherInHttpEquiv",
                 "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">" +
                     kCafeUtf8,
                 false},
        PageCase{"DeclarationBeyond1024Bytes",
                 std::string(1100, ' ') + "<meta charset=utf-8>" + kCafe1252, false},
        PageCase{"UndeclaredValidUtf8", "<p>" + kCafeUtf8 + " " + kEuroUtf8 + "</p>", true},
        PageCase{"UndeclaredInvalidUtf8", "<p>" + kCafe1252 + "</p>", false},
        PageCase{"UndeclaredOverlongForm", "<p>\xC0\xAF</p>", false},
        PageCase{"UndeclaredCutCharacter", "<p>caf\xC3", false},
        PageCase{"UndeclaredAscii", "<p>plain</p>", false}, PageCase{"Empty", "", false}),
    [](const auto& info) { return std::string(info.param.label); });

struct TextCase {
    const char* label;
    std::string page;
    std::string text; // the link text as the program holds it
};

class Utf8LinkTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(Utf8LinkTextTest, IsDecodedIntoWindows1252) {
    auto links = ScanLinks(GetParam().page, "page.htm");
    ASSERT_TRUE(links) << links.error().text();
    ASSERT_EQ(links->size(), 2u);
    EXPECT_EQ((*links)[1].LinkText, GetParam().text);
    EXPECT_EQ((*links)[1].Text1, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Utf8LinkTextTest,
    ::testing::Values(
        TextCase{"Utf8Page",
                 "<meta charset=utf-8><a href=x>" + kCafeUtf8 + " " + kEuroUtf8 + "</a>",
                 kCafe1252 + " \x80"},
        TextCase{"OutsideWindows1252", "<a href=x>a" + kArrowUtf8 + "b</a>", "a&#8594;b"},
        TextCase{"FourByteCharacter", "<a href=x>\xF0\x9F\x98\x80</a>", "&#128512;"},
        TextCase{"UnassignedCodePoint", "<a href=x>\xC2\x81" + kCafeUtf8 + "</a>",
                 "&#129;" + kCafe1252},
        TextCase{"BrokenByteOnDeclaredPage", "<meta charset=utf-8><a href=x>caf\xE9</a>",
                 "caf&#65533;"},
        TextCase{"Windows1252PageAsToday",
                 "<meta charset=windows-1252><a href=x>" + kCafeUtf8 + "</a>", kCafeUtf8},
        TextCase{"UndeclaredWindows1252Page", "<a href=x>" + kCafe1252 + "</a>", kCafe1252}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(Utf8LinkText, OffsetsStayByteOffsetsOfThePage) {
    const std::string page = "\xEF\xBB\xBF<p>" + kCafeUtf8 + "</p><a href=x>" + kCafeUtf8 + "</a>";
    auto links = ScanLinks(page, "page.htm");
    ASSERT_TRUE(links) << links.error().text();
    ASSERT_EQ(links->size(), 2u);
    EXPECT_EQ((*links)[1].LinkStart, static_cast<int64_t>(page.find("<a")));
    EXPECT_EQ((*links)[1].LinkEnd, static_cast<int64_t>(page.size() - 1));
    EXPECT_EQ((*links)[1].LinkText, kCafe1252);
}

} // namespace
} // namespace pelto
