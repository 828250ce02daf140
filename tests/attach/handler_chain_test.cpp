#include "attach/attach_script.h"
#include "attach/handler_chain.h"
#include "attach_fixture.h"

namespace pelto {
namespace {

using test::AttachFixture;

struct HandlerCase {
    const char* keyword;
    std::string marker;
    std::string opening; // the handler text in front of its marker line
};

class HandlerKeywordTest : public AttachFixture,
                           public ::testing::WithParamInterface<HandlerCase> {};

TEST_P(HandlerKeywordTest, BringsTheHandlerOnceWithTheCodeBehindItsMarker) {
    const HandlerCase& c = GetParam();
    int16_t index = AddScript("fx", {{c.keyword, "a();"}});
    auto out = AttachToText(ws, index, "<head><title>t</title></head><body></body>", "p");
    ASSERT_TRUE(out.ok()) << out.error().text();
    EXPECT_EQ(out->page,
              Output("fx", "<head><title>t</title>\r\n" + c.opening + "\r\n\r\n" + c.marker +
                               "\r\na();\r\n}</script>\r\n</head><body></body>"));
}

INSTANTIATE_TEST_SUITE_P(
    Keywords, HandlerKeywordTest,
    ::testing::Values(HandlerCase{"Mouse_Handler", test::kMouseMarker, "<script>M{"},
                      HandlerCase{"Onload_Handler", test::kOnloadMarker, "<script>L{"},
                      HandlerCase{"Onscroll_Handler", test::kScrollMarker, "<script>S{"},
                      HandlerCase{"Onresize_Handler", test::kResizeMarker, "<script>R{"}),
    [](const auto& info) { return std::string(info.param.keyword); });

TEST_F(AttachFixture, SecondScriptChainsInFrontOfTheFirst) {
    int16_t first = AddScript("one", {{"Onload_Handler", "first();"}});
    int16_t second = AddScript("two", {{"Onload_Handler", "second();"}});
    auto a = AttachToText(ws, first, "<head></head>", "p");
    ASSERT_TRUE(a.ok());
    auto b = AttachToText(ws, second, a->page, "p");
    ASSERT_TRUE(b.ok());
    const std::string& M = test::kOnloadMarker;
    EXPECT_EQ(b->page, "<!--2erghdf45yrtwo-->\r\n<!--2erghdf45yrone-->\r\n<head>\r\n<script>L{\r\n"
                       "\r\n\r\n" +
                           M + "\r\nsecond();\r\nfirst();\r\n}</script>\r\n</head>\r\n\r\n");
}

TEST_F(AttachFixture, EmptyCodeStillRewritesThePresentMarker) {
    int16_t index = AddScript("fx", {{"Mouse_Handler", "once();", "", 1, 1}});
    ws.ScriptRepeat = 1;
    const std::string page = "<head>[" + test::kMouseMarker + "]</head>";
    auto out = AttachToText(ws, index, page, "p");
    ASSERT_TRUE(out.ok());
    EXPECT_EQ(out->page, Output("fx", "<head>[\r\n" + test::kMouseMarker + "\r\n]</head>"));
}

TEST_F(AttachFixture, MarkerInOtherLetterCaseIsNotFound) {
    int16_t index = AddScript("fx", {{"Mouse_Handler", "x;"}});
    std::string upper = test::kMouseMarker;
    for (char& ch : upper)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    auto out = AttachToText(ws, index, "<head>" + upper + "</head>", "p");
    ASSERT_TRUE(out.ok());
    EXPECT_NE(out->page.find(ws.MouseHandlerText.substr(0, 10)), std::string::npos);
    EXPECT_NE(out->page.find(test::kMouseMarker + "\r\nx;"), std::string::npos);
}

TEST_F(AttachFixture, HandlerTextWithoutItsMarkerIsReported) {
    ws.OnscrollHandlerText = "<script>/* marker removed */</script>";
    int16_t index = AddScript("fx", {{"Onscroll_Handler", "x;"}});
    auto out = AttachToText(ws, index, "<head></head>", "p");
    ASSERT_FALSE(out.ok());
    EXPECT_EQ(out.error().file, "onscrollhandler.js");
    EXPECT_NE(out.error().message.find("marker"), std::string::npos);
}

TEST(FindHandlerKind, KnowsExactlyTheFourKeywords) {
    EXPECT_NE(FindHandlerKind("Mouse_Handler"), nullptr);
    EXPECT_EQ(FindHandlerKind("mouse_handler"), nullptr);
    EXPECT_EQ(FindHandlerKind("Head"), nullptr);
    EXPECT_EQ(std::string(FindHandlerKind("Onresize_Handler")->marker), test::kResizeMarker);
}

} // namespace
} // namespace pelto
