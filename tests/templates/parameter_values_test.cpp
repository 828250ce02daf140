#include "template_fixture.h"
#include "templates/parameter_values.h"

#include "common/files.h"
#include "templates/template_files.h"

namespace pelto {
namespace {

using test::TemplateFixture;

struct BlockCase {
    const char* name;
    std::string block;
};

class WriteBlockTest : public TemplateFixture, public ::testing::WithParamInterface<BlockCase> {};

TEST_P(WriteBlockTest, WritesTheExactLines) {
    std::string out = "x\r\n";
    ASSERT_TRUE(WriteParameterValues(ws, GetParam().name, out));
    EXPECT_EQ(out, "x\r\n" + GetParam().block);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, WriteBlockTest,
    ::testing::Values(
        BlockCase{"Speed", "Speed\r\n5\r\n"}, BlockCase{"Back", "Back\r\n255\r\n"},
        // Column by column: (0,0), (1,0), (0,1), (1,1).
        BlockCase{"Items", "Items\r\n2\r\n2\r\na0\r\na1\r\nb0\r\nb1\r\n"},
        BlockCase{"Nav", "Nav\r\n3\r\ne1\r\ne2\r\n>e3\r\nc1\r\nc2\r\nc3\r\nl1\r\nl2\r\nl3\r\n"},
        BlockCase{"Face", "Face\r\nVerdana\r\n12\r\n1\r\n0\r\n0\r\n1\r\n"},
        BlockCase{"Sound", "Sound\r\na.wav\r\n/m/\r\n"},
        BlockCase{"Pic", "Pic\r\np.gif\r\n/i/\r\n"}, BlockCase{"Title", "Title\r\nHello\r\n"},
        BlockCase{"Where", "Where\r\n10\r\n-20\r\n"},
        BlockCase{"Hover", "Hover\r\n2\r\nHome\r\nHome\r\n\r\nNews\r\nNews\r\n\r\n"},
        BlockCase{"Dir", ""}, BlockCase{"Info", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TemplateFixture, IntFractionIsWrittenAndReadBackRounded) {
    for (auto [value, back] : {std::pair{2.5, 2}, std::pair{3.5, 4}, std::pair{-0.5, 0}}) {
        ws.Params.IntParameters[1].Value = value;
        std::string out;
        ASSERT_TRUE(WriteParameterValues(ws, "Speed", out));
        ASSERT_TRUE(ReadParameterValues(ws, SplitLines(out), 0, "t"));
        EXPECT_EQ(ws.Params.IntParameters[1].Value, back) << value;
    }
}

TEST_F(TemplateFixture, MouseoverGroupsForMissingLinksAreSkipped) {
    ASSERT_TRUE(ReadParameterValues(
        ws, {"Hover", "3", "Gone", "g1", "g2", "News", "n1", "n2", "Home", "h1", ""}, 0, "t"));
    const auto& links = ws.Params.Mouseover.Links;
    EXPECT_EQ(links[1].Text1, "h1");
    EXPECT_EQ(links[1].Text2, "");
    EXPECT_EQ(links[2].Text1, "n1");
    EXPECT_EQ(links[2].Text2, "n2");
    EXPECT_EQ(links.size(), 3u);
}

TEST_F(TemplateFixture, ListBlockResizesTheEntries) {
    ASSERT_TRUE(ReadParameterValues(ws, {"Items", "3", "1", "x", "y", "z"}, 0, "t"));
    const ListParameter& l = ws.Params.ListParameters[1];
    EXPECT_EQ(l.Rows, 3);
    EXPECT_EQ(l.Columns, 1);
    EXPECT_EQ(l.Entries, (std::vector<std::vector<std::string>>{{"x"}, {"y"}, {"z"}}));
}

TEST_F(TemplateFixture, EachKindsBlockLinesLandInTheirFields) {
    std::vector<int> shown;
    ASSERT_TRUE(ReadParameterValues(
        ws, {"Face",  "Arial", "9",   "1",     "2",   "3",     "4",     "Back",  "65280", "Sound",
             "b.wav", "/s/",   "Pic", "q.png", "/p/", "Title", "Bye",   "Where", "2.5",   "-7",
             "Nav",   "2",     "x",   ">y",    "X",   "Y",     "x.htm", "y.htm"},
        0, "t", [&](int pos) { shown.push_back(pos); }));
    const ParameterState& p = ws.Params;
    const FontParameter& f = p.FontParameters[1];
    EXPECT_EQ(f.FontName, "Arial");
    EXPECT_EQ(f.Size, 9);
    EXPECT_EQ(f.Bold, 1);
    EXPECT_EQ(f.Italic, 2);
    EXPECT_EQ(f.StrikeThru, 3);
    EXPECT_EQ(f.Underline, 4);
    EXPECT_EQ(f.Name, "Face");
    EXPECT_EQ(p.ColourParameters[1].Colour, 65280);
    EXPECT_EQ(p.ColourParameters[1].Green, 255);
    EXPECT_EQ(p.ColourParameters[1].Red, 0);
    EXPECT_EQ(p.FileParameters[1].FileName, "b.wav");
    EXPECT_EQ(p.FileParameters[1].Path, "/s/");
    EXPECT_EQ(p.ImageParameters[1].FileName, "q.png");
    EXPECT_EQ(p.ImageParameters[1].Path, "/p/");
    EXPECT_EQ(p.TextParameters[1].Value, "Bye");
    EXPECT_EQ(p.PositionParameters[1].Value1, 2);
    EXPECT_EQ(p.PositionParameters[1].Value2, -7);
    EXPECT_EQ(p.Menu.Count, 2);
    EXPECT_EQ(p.Menu.MenuEntries, (std::vector<std::string>{"", "x", ">y"}));
    EXPECT_EQ(p.Menu.MenuCaptions, (std::vector<std::string>{"", "X", "Y"}));
    EXPECT_EQ(p.Menu.MenuLinks, (std::vector<std::string>{"", "x.htm", "y.htm"}));
    EXPECT_EQ(p.Menu.MenuLines, (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(shown, (std::vector<int>{5, 1, 6, 7, 8, 9, 3}));
}

TEST_F(TemplateFixture, OptionAndInfoNamesHoldNoLines) {
    std::vector<int> shown;
    ASSERT_TRUE(ReadParameterValues(ws, {"Dir", "Info", "", "Speed", "9"}, 0, "t",
                                    [&](int pos) { shown.push_back(pos); }));
    EXPECT_EQ(ws.Params.IntParameters[1].Value, 9);
    EXPECT_EQ(ws.Params.OptionParameters[1].Selected, 0);
    EXPECT_EQ(shown, (std::vector<int>{4, 11, 0}));
}

TEST_F(TemplateFixture, EmptyListAndMenuBlocks) {
    std::string out;
    ws.Params.ListParameters[1].Rows = 0;
    ws.Params.Menu.Count = 0;
    ASSERT_TRUE(WriteParameterValues(ws, "Items", out));
    ASSERT_TRUE(WriteParameterValues(ws, "Nav", out));
    EXPECT_EQ(out, "Items\r\n0\r\n2\r\nNav\r\n0\r\n");
    ASSERT_TRUE(ReadParameterValues(ws, {"Items", "0", "3", "Nav", "0"}, 0, "t"));
    EXPECT_EQ(ws.Params.ListParameters[1].Columns, 3);
    EXPECT_TRUE(ws.Params.ListParameters[1].Entries.empty());
    EXPECT_EQ(ws.Params.Menu.MenuEntries, (std::vector<std::string>{""}));
}

TEST_F(TemplateFixture, WriteErrorsNameTheParameter) {
    std::string out = "kept\r\n";
    Status st = WriteParameterValues(ws, "Nobody", out);
    ASSERT_FALSE(st.ok());
    EXPECT_EQ(st.error().message, "the effect has no parameter named \"Nobody\"");
    ws.Params.Menu.MenuLinks[2] = "a\rb";
    st = WriteParameterValues(ws, "Nav", out);
    ASSERT_FALSE(st.ok());
    EXPECT_EQ(st.error().message,
              "a value of \"Nav\" holds a line break, which a template cannot store");
    EXPECT_EQ(out, "kept\r\n");
}

struct BrokenCase {
    const char* label;
    std::vector<std::string> lines; // the first block (Speed 7) always reads fine
    long line;                      // the line the error names
    const char* words;              // part of the message
};

class BrokenTemplateTest : public TemplateFixture,
                           public ::testing::WithParamInterface<BrokenCase> {};

TEST_P(BrokenTemplateTest, NamesFileAndLineAndKeepsEarlierBlocks) {
    const BrokenCase& c = GetParam();
    std::string text = "name\r\nSpeed\r\n7\r\n";
    for (const std::string& l : c.lines)
        text += l + "\r\n";
    home.WriteFile("userdata/fx.p01", text);
    const Workspace before = ws;
    auto listed = ListTemplates(ws);
    ASSERT_TRUE(listed.ok());
    Status st = LoadTemplate(ws, "name", *listed, {});
    ASSERT_FALSE(st.ok());
    EXPECT_EQ(st.error().file, (home.path() / "userdata" / "fx.p01").string());
    EXPECT_EQ(st.error().line, c.line);
    EXPECT_NE(st.error().message.find(c.words), std::string::npos) << st.error().text();
    EXPECT_EQ(ws.Params.IntParameters[1].Value, 7);
    // The broken block changed nothing.
    const ParameterState& a = ws.Params;
    const ParameterState& b = before.Params;
    EXPECT_EQ(a.ColourParameters[1].Colour, b.ColourParameters[1].Colour);
    EXPECT_EQ(a.ListParameters[1].Entries, b.ListParameters[1].Entries);
    EXPECT_EQ(a.ListParameters[1].Rows, b.ListParameters[1].Rows);
    EXPECT_EQ(a.Menu.Count, b.Menu.Count);
    EXPECT_EQ(a.Menu.MenuEntries, b.Menu.MenuEntries);
    EXPECT_EQ(a.FontParameters[1].FontName, b.FontParameters[1].FontName);
    EXPECT_EQ(a.PositionParameters[1].Value1, b.PositionParameters[1].Value1);
    EXPECT_EQ(a.Mouseover.Links[1].Text1, b.Mouseover.Links[1].Text1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BrokenTemplateTest,
    ::testing::Values(
        BrokenCase{"UnknownParameter", {"Nobody", "1"}, 4, "no parameter named \"Nobody\""},
        BrokenCase{"PseudoName", {"Var", "1"}, 4, "no parameter named \"Var\""},
        BrokenCase{"BadNumber", {"Back", "red"}, 5, "\"red\""},
        BrokenCase{"NumberOutOfRange", {"Where", "1", "40000"}, 6, "40000"},
        BrokenCase{"EndsInsideList", {"Items", "2", "2", "a", "b", "c"}, 10, "ends inside"},
        BrokenCase{"BadColumnCount", {"Items", "1", "4", "a"}, 6, "count"},
        BrokenCase{"NegativeMenuCount", {"Nav", "-1"}, 5, "count"},
        BrokenCase{"EndsInsideMenu", {"Nav", "1", "e"}, 7, "ends inside"},
        BrokenCase{"EndsInsideFont", {"Face", "Arial", "10"}, 7, "ends inside"},
        BrokenCase{"EndsInsideMouseover", {"Hover", "1", "Home", "x"}, 8, "ends inside"},
        BrokenCase{"EndsAfterName", {"Where"}, 5, "ends inside"},
        BrokenCase{"IntMessage",
                   {"Speed", "fast"},
                   5,
                   "\"fast\" is not a whole number from -32768 to 32767 (block of \"Speed\")"},
        BrokenCase{"ColourMessage",
                   {"Back", "1e10"},
                   5,
                   "\"1e10\" is not a 32-bit whole number (block of \"Back\")"},
        BrokenCase{"ColumnCountMessage",
                   {"Items", "1", "4", "a"},
                   6,
                   "\"4\" is not a count from 0 to 3 (block of \"Items\")"},
        BrokenCase{"RowCountMessage",
                   {"Items", "40000"},
                   5,
                   "\"40000\" is not a count from 0 to 32767 (block of \"Items\")"},
        BrokenCase{"LinkCountMessage",
                   {"Hover", "-1"},
                   5,
                   "\"-1\" is not a count from 0 to 32767 (block of \"Hover\")"},
        BrokenCase{"FontFieldMessage",
                   {"Face", "Arial", "10", "1", "bold"},
                   8,
                   "\"bold\" is not a whole number from -32768 to 32767 (block of \"Face\")"},
        BrokenCase{
            "EndMessage", {"Sound", "a.wav"}, 6, "the template ends inside the block of \"Sound\""},
        BrokenCase{"EndsInsideMenuLinks",
                   {"Nav", "1", "e", "c"},
                   8,
                   "the template ends inside the block of \"Nav\""}),
    [](const auto& info) { return std::string(info.param.label); });

} // namespace
} // namespace pelto
