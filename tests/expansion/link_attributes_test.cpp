#include "expansion/link_attributes.h"
#include "library/page_links.h"
#include "support/test_support.h"

#include "common/cp1252.h"
#include "common/files.h"

#include <gtest/gtest.h>

namespace pelto {
namespace {

struct MarkerCase {
    const char* templateText;
    const char* first;
    const char* second;
    const char* expected;
};

class FillFirstMarkersTest : public ::testing::TestWithParam<MarkerCase> {};

TEST_P(FillFirstMarkersTest, Fills) {
    const MarkerCase& c = GetParam();
    // Texts written as Windows-1252 bytes, held as UTF-8.
    EXPECT_EQ(FillFirstMarkers(c.templateText, Cp1252ToUtf8(c.first), Cp1252ToUtf8(c.second)),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Templates, FillFirstMarkersTest,
    ::testing::Values(
        MarkerCase{"title=\"#\"", "a", "b", "title=\"#\""},
        MarkerCase{"data-a=\"*\" data-b=\"#\"", "one", "two", "data-a=\"one\" data-b=\"two\""},
        MarkerCase{"x=* y=* z=# #", "1", "2", "x=1 y=* z=2 #"},
        MarkerCase{"*", "has#hash", "2", "has#hash"}, MarkerCase{"#=*", "1", "2", "2=1"},
        MarkerCase{"t=\"*\" u=\"#\"", "Tom's \"A&B\"", "<i>caf\xE9</i>",
                   "t=\"Tom&#39;s &quot;A&amp;B&quot;\" "
                   "u=\"&lt;i&gt;caf&#233;&lt;/i&gt;\""},
        MarkerCase{"t=\"*|#\"", "&amp; \x80", "&#8364;", "t=\"&amp; &#8364;|&#8364;\""},
        MarkerCase{"", "a", "b", ""}));

MouseoverParameter Scan(const std::string& page, const std::string& templateText) {
    MouseoverParameter m;
    m.Template = templateText;
    auto links = ScanLinks(page, "page.htm");
    EXPECT_TRUE(links.ok());
    m.Links = *links;
    for (size_t i = 1; i < m.Links.size(); ++i) {
        m.Links[i].Text1 = m.Links[i].LinkText;
        m.Links[i].Text2 = "";
    }
    return m;
}

TEST(InsertLinkAttributes, WritesTheFilledTemplateIntoEveryOpeningTag) {
    const std::string page = "<p><a href=\"x.htm\">Home</a> and <A\r\nhref=y>Next</A ></p>";
    MouseoverParameter m = Scan(page, "data-tip=\"*|#\"");
    ASSERT_EQ(m.LinkCount(), 2);
    m.Links[1].Text2 = "go home";
    auto out = InsertLinkAttributesText(page, m, "page.htm");
    ASSERT_TRUE(out.ok()) << out.error().text();
    EXPECT_EQ(*out, "<p><a href=\"x.htm\" data-tip=\"Home|go home\">Home</a> and "
                    "<A\r\nhref=y data-tip=\"Next|\">Next</A ></p>");
}

TEST(InsertLinkAttributes, TemplateWithoutStarIsInsertedUnchanged) {
    const std::string page = "<a href=1>1</a><a href=2>2</a>";
    MouseoverParameter m = Scan(page, "class=\"#\"");
    auto out = InsertLinkAttributesText(page, m, "page.htm");
    ASSERT_TRUE(out.ok());
    EXPECT_EQ(*out, "<a href=1 class=\"#\">1</a><a href=2 class=\"#\">2</a>");
}

TEST(InsertLinkAttributes, FileWithoutLinksGetsOneLineEndMore) {
    test::TempFolder dir;
    const auto path = dir.path() / "temp.htm";
    ASSERT_TRUE(WriteFileBytes(path, "<p>no links</p>\r\n"));
    Workspace ws;
    ASSERT_TRUE(InsertLinkAttributes(ws, path));
    EXPECT_EQ(test::ReadAll(path), "<p>no links</p>\r\n\r\n");
}

TEST(InsertLinkAttributes, LinksThatNoLongerMatchThePageAreRefused) {
    const std::string page = "<a href=1>1</a>";
    MouseoverParameter m = Scan(page, "t=*");
    for (const std::string& edited :
         {std::string("x<a href=1>1</a>"), std::string("<a"), std::string("<b>1</b>xxxxxxx")}) {
        auto out = InsertLinkAttributesText(edited, m, "edited.htm");
        ASSERT_FALSE(out.ok()) << edited;
        EXPECT_EQ(out.error().file, "edited.htm");
        EXPECT_NE(out.error().message.find("link 1"), std::string::npos);
    }
}

} // namespace
} // namespace pelto
