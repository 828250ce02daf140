#include "attach/attach_script.h"
#include "attach_fixture.h"

#include "common/files.h"

namespace pelto {
namespace {

using test::AttachFixture;
using test::Item;

struct LocationCase {
    const char* label;
    std::string location;
    std::string page;
    std::string expected;
};

class LocationTest : public AttachFixture, public ::testing::WithParamInterface<LocationCase> {};

TEST_P(LocationTest, PutsTheCodeAtItsPlace) {
    const LocationCase& c = GetParam();
    int16_t index = AddScript("fx", {{c.location, "CODE"}});
    auto out = AttachToText(ws, index, c.page, "page.htm");
    ASSERT_TRUE(out.ok()) << out.error().text();
    EXPECT_EQ(out->page, Output("fx", c.expected));
    EXPECT_TRUE(out->externals.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Keywords, LocationTest,
    ::testing::Values(
        LocationCase{"HeadAnyCase", "Head", "<html><HeAd></hEaD><body>x</body>",
                     "<html><HeAd>CODE</hEaD><body>x</body>"},
        LocationCase{"BodyOnload", "Body_Onload", "<head></head><Body class=x>",
                     "<head></head><Body CODEclass=x>"},
        LocationCase{"BodyOnloadBareTag", "Body_Onload", "<body>x</body>", "<body CODE>x</body>"},
        LocationCase{"BodyTop", "Body_Top", "<BODY class=x>y</body>", "<BODY class=x>CODEy</body>"},
        LocationCase{"BodyEnd", "Body_End", "<body>y</BoDy></html>", "<body>yCODE</BoDy></html>"},
        LocationCase{"LocationFirstOfTwo", "Location", "a*****b*****", "aCODEb*****"},
        LocationCase{"LocationAbsent", "Location", "a****b", "a****b"},
        LocationCase{"LowerCaseKeywordIsNoHeadItem", "head", "<head></head>", "<head></head>"},
        LocationCase{"BodyFirstInComment", "Body_Top", "<!-- <body> --><body>",
                     "<!-- <body>CODE --><body>"}),
    [](const auto& info) { return std::string(info.param.label); });

struct MissingTagCase {
    const char* label;
    std::string location;
    std::string page;
    std::string tag;
};

class MissingTagTest : public AttachFixture,
                       public ::testing::WithParamInterface<MissingTagCase> {};

TEST_P(MissingTagTest, NamesTheTagAndTheEffectAndWritesNothing) {
    const MissingTagCase& c = GetParam();
    int16_t index = AddScript("fx", {{"External", "ext", "a.js"}, {c.location, "CODE"}});
    home.WriteFile("page.htm", c.page);
    const auto result = home.path() / "output" / "result.htm";
    Status st = AttachScript(ws, index, home.path() / "page.htm", result);
    ASSERT_FALSE(st.ok());
    EXPECT_NE(st.error().message.find("\"" + c.tag + "\""), std::string::npos) << st.error().text();
    EXPECT_NE(st.error().message.find("Effect fx"), std::string::npos);
    EXPECT_EQ(st.error().file, (home.path() / "page.htm").string());
    EXPECT_FALSE(std::filesystem::exists(result));
    EXPECT_FALSE(std::filesystem::exists(home.path() / "output" / "0a.js"));
    EXPECT_EQ(test::ReadAll(home.path() / "page.htm"), c.page);
}

INSTANTIATE_TEST_SUITE_P(
    Tags, MissingTagTest,
    ::testing::Values(MissingTagCase{"Head", "Head", "<body></body>", "</HEAD"},
                      MissingTagCase{"BodyOnload", "Body_Onload", "<head></head>", "<BODY"},
                      MissingTagCase{"BodyOnloadAtEnd", "Body_Onload", "x<body", "<BODY ...>"},
                      MissingTagCase{"BodyTop", "Body_Top", "<p>", "<BODY"},
                      MissingTagCase{"BodyTopUnclosed", "Body_Top", "<body class=", "<BODY ...>"},
                      MissingTagCase{"BodyEnd", "Body_End", "<body>", "</BODY"},
                      MissingTagCase{"Handler", "Onload_Handler", "<body></body>", "</HEAD"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(AttachFixture, ItemsOfOneKeywordKeepOrReverseTheirOrder) {
    int16_t index = AddScript("fx", {{"Head", "h1;"},
                                     {"Head", "h2;"},
                                     {"Body_Top", "t1;"},
                                     {"Body_Top", "t2;"},
                                     {"Body_Onload", "o1 "},
                                     {"Body_Onload", "o2 "},
                                     {"Body_End", "e1;"},
                                     {"Body_End", "e2;"}});
    auto out = AttachToText(ws, index, "<head></head><body id=b>x</body>", "p");
    ASSERT_TRUE(out.ok()) << out.error().text();
    EXPECT_EQ(out->page, Output("fx", "<head>h1;h2;</head><body o2 o1 id=b>t2;t1;xe1;e2;</body>"));
}

TEST_F(AttachFixture, NoItemsGiveThePageBelowTheFirstLine) {
    int16_t index = AddScript("empty", {});
    auto out = AttachToText(ws, index, "<p>page</p>\r\n", "p");
    ASSERT_TRUE(out.ok());
    EXPECT_EQ(out->page, "<!--2erghdf45yrempty-->\r\n<p>page</p>\r\n\r\n");
}

TEST_F(AttachFixture, ByteOrderMarkStaysTheFirstBytes) {
    int16_t index = AddScript("fx", {{"Head", "<script></script>"}});
    const std::string mark = "\xEF\xBB\xBF";
    auto once = AttachToText(ws, index, mark + "<html><head></head></html>", "p");
    ASSERT_TRUE(once.ok()) << once.error().text();
    EXPECT_EQ(once->page,
              mark + "<!--2erghdf45yrfx-->\r\n<html><head><script></script></head></html>\r\n");
    // Applied again to the result: the new first line goes after the mark too.
    ws.ScriptRepeat = 1;
    auto twice = AttachToText(ws, index, once->page, "p");
    ASSERT_TRUE(twice.ok()) << twice.error().text();
    EXPECT_EQ(twice->page.substr(0, 3 + 2 * 22),
              mark + "<!--2erghdf45yrfx-->\r\n<!--2erghdf45yrfx-->\r\n");
}

TEST_F(AttachFixture, OnlyALeadingByteOrderMarkCounts) {
    int16_t index = AddScript("empty", {});
    auto out = AttachToText(ws, index, "<p>\xEF\xBB\xBF</p>", "p");
    ASSERT_TRUE(out.ok());
    EXPECT_EQ(out->page, "<!--2erghdf45yrempty-->\r\n<p>\xEF\xBB\xBF</p>\r\n");
}

TEST_F(AttachFixture, IncludeFlagOtherThanOneInsertsNothing) {
    int16_t index = AddScript("fx", {{"Head", "skipped", "", 0}, {"Head", "kept", "", 1}});
    auto out = AttachToText(ws, index, "</head>", "p");
    ASSERT_TRUE(out.ok());
    EXPECT_EQ(out->page, Output("fx", "kept</head>"));
}

TEST_F(AttachFixture, RepeatedApplicationDropsOnceItemsAndNumbersExternals) {
    int16_t index = AddScript("fx", {{"Head", "common;", "", 1, 1},
                                     {"Head", "each;", "", 1, 0},
                                     {"Location", "here", "", 1, 1},
                                     {"External",
                                      "data \xAE"
                                      "App,SCRIPTREPEAT\xAF",
                                      "x.js", 1, 0},
                                     {"External", "shared", "lib.js", 1, 1}});
    ws.ScriptRepeat = 0;
    auto first = AttachToText(ws, index, "<head></head>*****", "p");
    ASSERT_TRUE(first.ok());
    EXPECT_EQ(first->page, Output("fx", "<head>common;each;</head>here"));
    ASSERT_EQ(first->externals.size(), 2u);
    EXPECT_EQ(first->externals[0].first, "0x.js");
    EXPECT_EQ(first->externals[0].second, "data \xAE"
                                          "App,SCRIPTREPEAT\xAF");
    EXPECT_EQ(first->externals[1].first, "lib.js");

    ws.ScriptRepeat = 2;
    auto again = AttachToText(ws, index, "<head></head>a*****b", "p");
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(again->page, Output("fx", "<head>each;</head>ab"));
    ASSERT_EQ(again->externals.size(), 2u);
    EXPECT_EQ(again->externals[0].first, "2x.js");
    EXPECT_EQ(again->externals[1].first, "lib.js");
    EXPECT_EQ(again->externals[1].second, "shared");
}

TEST_F(AttachFixture, ExternalNamesMustBePlainFileNames) {
    for (const char* name : {"../evil.js", "sub/x.js", "sub\\x.js", "..", ""}) {
        int16_t index = AddScript("fx", {{"External", "x", name}});
        auto out = AttachToText(ws, index, "<head></head>", "p");
        ASSERT_FALSE(out.ok()) << name;
        EXPECT_NE(out.error().message.find("plain file name"), std::string::npos);
    }
}

TEST_F(AttachFixture, MissingCodeFileIsNamed) {
    int16_t index = AddScript("fx", {{"Head", "x"}});
    ws.Library[index].ItemCodeFile[1] = "gone.dat";
    auto out = AttachToText(ws, index, "</head>", "p");
    ASSERT_FALSE(out.ok());
    EXPECT_NE(out.error().file.find("gone.dat"), std::string::npos);
}

TEST_F(AttachFixture, AttachScriptWritesTheOutputPageAndExternals) {
    int16_t index = AddScript(
        "fx", {{"Head", "<script src=\"0x.js\"></script>"}, {"External", "var a;", "x.js"}});
    home.WriteFile("page.htm", "<html><head></head></html>");
    const auto result = home.path() / "output" / "result.htm";
    ASSERT_TRUE(AttachScript(ws, index, home.path() / "page.htm", result));
    EXPECT_EQ(test::ReadAll(result),
              Output("fx", "<html><head><script src=\"0x.js\"></script></head></html>"));
    EXPECT_EQ(test::ReadAll(home.path() / "output" / "0x.js"), "var a;");
    EXPECT_EQ(test::ReadAll(home.path() / "page.htm"), "<html><head></head></html>");
}

TEST_F(AttachFixture, MouseoverLinksAndMenuLinesAreMadeWhileAttaching) {
    int16_t index = AddScript("fx", {{"Head", "/*menu*/"}});
    ParameterState& p = ws.Params;
    p.KindCount[Mouseover] = 1;
    p.Mouseover.Template = "title=\"*\"";
    PageLink link;
    link.LinkText = "Home";
    link.Text1 = "Go home";
    const std::string page = "<head></head><a href=\"h.htm\">Home</a>";
    link.LinkStart = 13;
    link.LinkEnd = static_cast<int64_t>(page.size()) - 1;
    p.Mouseover.Links.push_back(link);
    p.KindCount[Menu] = 1;
    p.Menu.Count = 1;
    p.Menu.ResetEntries();
    p.Menu.MenuEntries[1] = "Top";
    p.Menu.MenuCaptions[1] = "Top";
    p.Menu.MenuLinks[1] = "t.htm";
    p.Menu.Suffix = ");";
    auto out = AttachToText(ws, index, page, "p");
    ASSERT_TRUE(out.ok()) << out.error().text();
    EXPECT_EQ(
        out->page,
        Output("fx", "<head>/*menu*/</head><a href=\"h.htm\" title=\"Go home\">Home</a>\r\n"));
    EXPECT_EQ(p.Menu.MenuLines[1], "Menu1 = new Array(\"Top\",\"t.htm\",0);");
    EXPECT_EQ(ws.TopLevelCount, 1);
}

} // namespace
} // namespace pelto
