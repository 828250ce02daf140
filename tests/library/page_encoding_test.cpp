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

class LinkTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(LinkTextTest, KeepsEveryCharacterAsUtf8) {
    auto links = ScanLinks(GetParam().page, "page.htm");
    ASSERT_TRUE(links) << links.error().text();
    ASSERT_EQ(links->size(), 2u);
    EXPECT_EQ((*links)[1].LinkText, GetParam().text);
    EXPECT_EQ((*links)[1].Text1, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LinkTextTest,
    ::testing::Values(
        TextCase{"Utf8Page",
                 "<meta charset=utf-8><a href=x>" + kCafeUtf8 + " " + kEuroUtf8 + "</a>",
                 kCafeUtf8 + " " + kEuroUtf8},
        TextCase{"OutsideWindows1252", "<a href=x>a" + kArrowUtf8 + "b</a>",
                 "a" + kArrowUtf8 + "b"},
        TextCase{"FourByteCharacter", "<a href=x>\xF0\x9F\x98\x80</a>", "\xF0\x9F\x98\x80"},
        TextCase{"Polish",
                 "<meta charset=utf-8><a href=x>\xC5\x81\xC3\xB3"
                 "d\xC5\xBA</a>",
                 "\xC5\x81\xC3\xB3"
                 "d\xC5\xBA"},
        TextCase{"UnassignedCodePoint", "<a href=x>\xC2\x81" + kCafeUtf8 + "</a>",
                 "\xC2\x81" + kCafeUtf8},
        TextCase{"BrokenByteOnDeclaredPage", "<meta charset=utf-8><a href=x>caf\xE9</a>",
                 "caf\xEF\xBF\xBD"},
        TextCase{"LoneSurrogateOnDeclaredPage", "<meta charset=utf-8><a href=x>a\xED\xA0\x80</a>",
                 "a\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        TextCase{"Windows1252Page", "<meta charset=windows-1252><a href=x>" + kCafeUtf8 + "</a>",
                 "caf\xC3\x83\xC2\xA9"},
        TextCase{"UndeclaredWindows1252Page", "<a href=x>" + kCafe1252 + " \x80</a>",
                 kCafeUtf8 + " " + kEuroUtf8},
        // A Windows-1252 page's references stay as written; they match by characters.
        TextCase{"ReferencesStay",
                 "<a href=x>&#321;\xF3"
                 "d&#378;</a>",
                 "&#321;\xC3\xB3"
                 "d&#378;"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(LinkText, CharactersMatchWhateverTheyAreWrittenAs) {
    const std::string lodz = "\xC5\x81\xC3\xB3"
                             "d\xC5\xBA";
    EXPECT_TRUE(SameLinkText("&#321;\xC3\xB3"
                             "d&#x17A;",
                             lodz));
    EXPECT_TRUE(SameLinkText(lodz, "&#x141;&#243;&#100;&#378;"));
    EXPECT_TRUE(SameLinkText("&#128512;", "\xF0\x9F\x98\x80"));
    EXPECT_FALSE(SameLinkText("&#321;", "L"));
    // Not a character reference: no digits, a surrogate, beyond U+10FFFF, no ";".
    EXPECT_EQ(LinkTextCharacters("&#; &#xD800; &#1114112; &#321 &amp;"),
              "&#; &#xD800; &#1114112; &#321 &amp;");
}

TEST(Utf8LinkText, OffsetsStayByteOffsetsOfThePage) {
    const std::string page = "\xEF\xBB\xBF<p>" + kCafeUtf8 + "</p><a href=x>" + kCafeUtf8 + "</a>";
    auto links = ScanLinks(page, "page.htm");
    ASSERT_TRUE(links) << links.error().text();
    ASSERT_EQ(links->size(), 2u);
    EXPECT_EQ((*links)[1].LinkStart, static_cast<int64_t>(page.find("<a")));
    EXPECT_EQ((*links)[1].LinkEnd, static_cast<int64_t>(page.size() - 1));
    EXPECT_EQ((*links)[1].LinkText, kCafeUtf8);
}

} // namespace
} // namespace pelto
