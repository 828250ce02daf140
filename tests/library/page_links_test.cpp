#include "library/page_links.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace pelto {
namespace {

struct LinkCase {
    const char* name;
    std::string page;
    std::vector<std::string> texts;
    std::vector<std::pair<int64_t, int64_t>> spans;
};

class Links : public ::testing::TestWithParam<LinkCase> {};

TEST_P(Links, AreFoundWithTheirTextsAndSpans) {
    const LinkCase& c = GetParam();
    auto links = ScanLinks(c.page, "page.htm");
    ASSERT_TRUE(links) << links.error().text();
    ASSERT_EQ(links->size(), c.texts.size() + 1);
    for (size_t i = 0; i < c.texts.size(); ++i) {
        const PageLink& l = (*links)[i + 1];
        EXPECT_EQ(l.LinkText, c.texts[i]) << i;
        EXPECT_EQ(l.Text1, c.texts[i]);
        EXPECT_EQ(l.Text2, "");
        if (!c.spans.empty()) {
            EXPECT_EQ(l.LinkStart, c.spans[i].first) << i;
            EXPECT_EQ(l.LinkEnd, c.spans[i].second) << i;
        }
    }
}

const std::string kFar = std::string(40000, 'x') + "<a href=\"far\">Far</a>";

INSTANTIATE_TEST_SUITE_P(
    Cases, Links,
    ::testing::Values(
        LinkCase{"home", "<a href=\"index.htm\">Home</a>", {"Home"}, {{0, 27}}},
        LinkCase{"image_link", "<p><A HREF=x><img src=a.gif></A></p>", {""}, {{3, 31}}},
        LinkCase{"spaces_before_a", "< a href=x>Go</a>", {"Go"}, {{0, 16}}},
        LinkCase{"not_abbr_area_aside",
                 "<abbr>x</abbr><aside>y</aside><area href=z><audio></audio><a>ok</a>",
                 {"ok"},
                 {}},
        LinkCase{"spaced_closing", "<a href=x>Next</ A >after", {"Next"}, {{0, 19}}},
        LinkCase{"line_breaks_and_spaces", "<a\r\nhref=x>Two\r\n   words</a>", {"Two words"}, {}},
        LinkCase{"a_tag_ending_with_slash", "<a/>text</a>", {"text"}, {}},
        LinkCase{
            "script_comparison", "<script>if (i<a.length) {}</script><a href=q>Q</a>", {"Q"}, {}},
        LinkCase{"beyond_32767", kFar, {"Far"}, {{40000, static_cast<int64_t>(kFar.size()) - 1}}},
        LinkCase{"none", "<html><body><p>No links</p></body></html>", {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LinkErrors, PageEndingAfterALessThanOrInsideALinkFails) {
    auto afterLt = ScanLinks("<p>text\n<  ", "p.htm");
    ASSERT_FALSE(afterLt);
    EXPECT_EQ(afterLt.error().line, 2);
    auto inside = ScanLinks("<p>\n\n<a href=x>never closed", "p.htm");
    ASSERT_FALSE(inside);
    EXPECT_EQ(inside.error().file, "p.htm");
    EXPECT_EQ(inside.error().line, 3);
}

TEST(LinkErrors, ParseLinksOnAMissingPageEmptiesTheTable) {
    Workspace ws;
    ws.Params.Mouseover.Links.resize(3);
    ws.SampleFile = "/nonexistent/page.htm";
    Status st = ParseLinks(ws);
    ASSERT_FALSE(st);
    EXPECT_NE(st.error().text().find("/nonexistent/page.htm"), std::string::npos);
    EXPECT_EQ(ws.Params.Mouseover.LinkCount(), 0);
}

} // namespace
} // namespace pelto
