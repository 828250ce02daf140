#include "library/definition_reader.h"
#include "library/lookup.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace pelto {
namespace {

using test::CrLf;

class Definition : public ::testing::Test {
protected:
    test::TempProgramFolder home;
    Workspace ws;
    void SetUp() override {
        ws.ProgramFolder = home.path();
        home.WriteFile("page.htm",
                       "<html><body><a href=\"x\">Home</a> <a href=y>News</a></body></html>");
        ws.SampleFile = (home.path() / "page.htm").string();
    }
    Status Load(const std::string& par, const char* cnd = nullptr) {
        home.WriteScrambled("fx.par", par);
        if (cnd)
            home.WriteScrambled("fx.cnd", cnd);
        return LoadScriptDefinition(ws, home.data() / "fx.par");
    }
};

const std::vector<std::string> kIntBlock = {"*",  "0",   "1",     "100",     "10",
                                            "px", "2.5", "Speed", "How fast"};

std::string Lines(std::vector<std::string> lines, std::vector<std::string> more = {}) {
    std::string out;
    for (auto& l : lines)
        out += l + "\r\n";
    for (auto& l : more)
        out += l + "\r\n";
    return out;
}

TEST_F(Definition, IntBlockWithAFinalLine) {
    ASSERT_TRUE(Load(Lines(kIntBlock, {"// end"})));
    ASSERT_EQ(ws.Params.ParameterCount, 1);
    const IntParameter& p = ws.Params.IntParameters[1];
    EXPECT_EQ(p.Min, 1);
    EXPECT_EQ(p.Max, 100);
    EXPECT_EQ(p.LargeChange, 10);
    EXPECT_EQ(p.ValueSuffix, "px");
    EXPECT_EQ(p.Value, 2.5);
    EXPECT_EQ(p.Name, "Speed");
    EXPECT_EQ(p.Description, "How fast");
    EXPECT_EQ(ws.Params.Conditions.size(), 1u);
}

TEST_F(Definition, TheLastLineIsNeverApplied) {
    ASSERT_TRUE(Load(Lines(kIntBlock)));
    EXPECT_EQ(ws.Params.IntParameters[1].Name, "Speed");
    EXPECT_EQ(ws.Params.IntParameters[1].Description, "");
}

TEST_F(Definition, CommentLinesChangeNothing) {
    ASSERT_TRUE(Load(Lines({"// a script", "*", "// kind follows", "0", "1", "// between", "100",
                            "10", "px", "2.5", "Speed", "How fast", "// end"})));
    EXPECT_EQ(ws.Params.IntParameters[1].Max, 100);
    EXPECT_EQ(ws.Params.IntParameters[1].Description, "How fast");
}

TEST_F(Definition, TwoMouseoverBlocksShareOneRecordAndReadTheLinks) {
    std::vector<std::string> mo = {
        "*", "9", "Tip", "Second", "data-tip=\"*\"", "Links", "Texts for links"};
    std::vector<std::string> all = mo;
    all.insert(all.end(), mo.begin(), mo.end());
    all.push_back("// end");
    ASSERT_TRUE(Load(Lines(all)));
    EXPECT_EQ(ws.Params.ParameterCount, 2);
    EXPECT_EQ(ws.Params.KindCount[Mouseover], 1);
    EXPECT_EQ(ws.Params.ParameterRecords[2].Ordinal, 1);
    ASSERT_EQ(ws.Params.Mouseover.LinkCount(), 2);
    EXPECT_EQ(ws.Params.Mouseover.Links[2].LinkText, "News");
    EXPECT_EQ(ws.Params.Mouseover.Links[2].Text1, "News");
}

TEST_F(Definition, ListEntriesFillColumnByColumn) {
    ASSERT_TRUE(Load(Lines({"*",          "6", "0",    "0",    "2", "UCASE", "3",
                            "<li>#</li>", "1", "Text", "Link", "",  "Items", "The items",
                            "a",          "b", "c",    "d",    "e", "f",     "// end"})));
    const ListParameter& l = ws.Params.ListParameters[1];
    EXPECT_EQ(l.Columns, 2);
    EXPECT_EQ(l.Rows, 3);
    EXPECT_EQ(l.CaseRule, "UCASE");
    EXPECT_EQ(l.Name, "Items");
    EXPECT_EQ(l.Entries,
              (std::vector<std::vector<std::string>>{{"a", "d"}, {"b", "e"}, {"c", "f"}}));
}

TEST_F(Definition, MenuBlockIgnoresLinesBeyondItsArrays) {
    ASSERT_TRUE(Load(Lines({"*", "11", "2", ");", "Menu", "The menu", "Home", ">News", "Home",
                            "News", "index.htm", "news.htm", "extra 1", "extra 2", "// end"})));
    const MenuParameter& m = ws.Params.Menu;
    EXPECT_EQ(m.Count, 2);
    EXPECT_EQ(m.Suffix, ");");
    EXPECT_EQ(m.MenuEntries, (std::vector<std::string>{"", "Home", ">News"}));
    EXPECT_EQ(m.MenuCaptions, (std::vector<std::string>{"", "Home", "News"}));
    EXPECT_EQ(m.MenuLinks, (std::vector<std::string>{"", "index.htm", "news.htm"}));
}

TEST_F(Definition, OptionsAndColourAndConditions) {
    ASSERT_TRUE(Load(Lines({"*", "7", "1", "2", "Side", "Which side", "Left", "Right", "left",
                            "right", "*", "3", "16744448", "Back", "Background", "// end"}),
                     "List\r\nnotnull\r\n<b>#</b>\r\nOther\r\nISNULL\r\nx\r\n"));
    const OptionParameter& o = ws.Params.OptionParameters[1];
    EXPECT_EQ(o.Selected, 1);
    EXPECT_EQ(o.Captions, (std::vector<std::string>{"Left", "Right", ""}));
    EXPECT_EQ(o.Texts, (std::vector<std::string>{"left", "right", ""}));
    const ColourParameter& c = ws.Params.ColourParameters[1];
    EXPECT_EQ(c.Colour, 16744448);
    // Red, Green and Blue follow the colour read from the file.
    EXPECT_EQ(c.Red, 0);
    EXPECT_EQ(c.Green, 128);
    EXPECT_EQ(c.Blue, 255);
    ASSERT_EQ(ws.Params.Conditions.size(), 3u);
    EXPECT_EQ(ws.Params.Conditions[1].Test, "NOTNULL");
    EXPECT_EQ(ws.Params.Conditions[1].Format, "<b>#</b>");
    EXPECT_EQ(ws.Params.Conditions[2].Parameter, "Other");
}

TEST_F(Definition, ALoadClearsTheRecordsOfTheScriptBefore) {
    ASSERT_TRUE(Load(Lines(kIntBlock, {"// end"})));
    ws.Params.IntParameters[1].ValueSuffix = "changed";
    ASSERT_TRUE(
        Load(Lines({"*", "5", "0", "0", "Hello", "", "", "True", "Greeting", "Text", "// end"})));
    EXPECT_EQ(ws.Params.KindCount[Int], 0);
    EXPECT_EQ(ws.Params.IntParameters[1].ValueSuffix, "");
    EXPECT_EQ(ws.Params.TextParameters[1].Value, "Hello");
    EXPECT_EQ(ws.IntSequence, 1);
}

// Every fixed line of each kind, with a value that tells the lines apart.
TEST_F(Definition, EachKindsLinesLandInTheirFields) {
    ASSERT_TRUE(Load(
        Lines({"*",     "1",         "*.wav",    "a.wav",  "Sound",      "The sound",   //
               "*",     "2",         "*.gif",    "p.gif",  "Pic",        "The picture", //
               "*",     "4",         "Arial",    "1",      "2",          "3",           "4",
               "9",     "Face",      "The font", //
               "*",     "5",         "-3",       "4.5",    "Hello",      "x",           "y",
               "False", "Title",     "T", //
               "*",     "10",        "1",        "2",      "3",          "4",           "5.5",
               "6.5",   "px",        "em",       "7",      "8",          "Left",        "Top",
               "Where", "The place",                                                            //
               "*",     "9",         "First",    "Second", "tip=\"*#\"", "Hover",       "Tips", //
               "*",     "8",         "ignored",  "lines",                                       //
               "*",     "12",        "ie",       "ns",     "once",       "note",        "me",
               "mail",  "3 KB",      "menu",     "// end"})));
    const ParameterState& p = ws.Params;
    EXPECT_EQ(p.ParameterCount, 8);
    const FileParameter& f = p.FileParameters[1];
    EXPECT_EQ(f.Pattern, "*.wav");
    EXPECT_EQ(f.FileName, "a.wav");
    EXPECT_EQ(f.Name, "Sound");
    EXPECT_EQ(f.Description, "The sound");
    EXPECT_EQ(f.Path, "");
    const ImageParameter& i = p.ImageParameters[1];
    EXPECT_EQ(i.Pattern, "*.gif");
    EXPECT_EQ(i.FileName, "p.gif");
    EXPECT_EQ(i.Name, "Pic");
    EXPECT_EQ(i.Description, "The picture");
    const FontParameter& font = p.FontParameters[1];
    EXPECT_EQ(font.FontName, "Arial");
    EXPECT_EQ(font.Bold, 1);
    EXPECT_EQ(font.Italic, 2);
    EXPECT_EQ(font.Underline, 3);
    EXPECT_EQ(font.StrikeThru, 4);
    EXPECT_EQ(font.Size, 9);
    EXPECT_EQ(font.Name, "Face");
    EXPECT_EQ(font.Description, "The font");
    const TextParameter& t = p.TextParameters[1];
    EXPECT_EQ(t.Value, "Hello");
    EXPECT_EQ(t.Name, "Title");
    EXPECT_EQ(t.Description, "T");
    const PositionParameter& pos = p.PositionParameters[1];
    EXPECT_EQ(pos.Min1, 1);
    EXPECT_EQ(pos.Min2, 2);
    EXPECT_EQ(pos.Max1, 3);
    EXPECT_EQ(pos.Max2, 4);
    EXPECT_EQ(pos.LargeChange1, 5.5);
    EXPECT_EQ(pos.LargeChange2, 6.5);
    EXPECT_EQ(pos.ValueSuffix1, "px");
    EXPECT_EQ(pos.ValueSuffix2, "em");
    EXPECT_EQ(pos.Value1, 7);
    EXPECT_EQ(pos.Value2, 8);
    EXPECT_EQ(pos.Caption1, "Left");
    EXPECT_EQ(pos.Caption2, "Top");
    EXPECT_EQ(pos.Name, "Where");
    EXPECT_EQ(pos.Description, "The place");
    const MouseoverParameter& m = p.Mouseover;
    EXPECT_EQ(m.Caption1, "First");
    EXPECT_EQ(m.Caption2, "Second");
    EXPECT_EQ(m.Template, "tip=\"*#\"");
    EXPECT_EQ(m.Name, "Hover");
    EXPECT_EQ(m.Description, "Tips");
    EXPECT_EQ(m.LinkCount(), 2);
    EXPECT_EQ(p.KindCount[Reserved], 1);
    EXPECT_EQ(p.ParameterRecords[7].Kind, Reserved);
    const ScriptInfo& info = p.Info;
    EXPECT_EQ(std::vector<std::string>({info.IE, info.NS, info.Repeat, info.Note, info.Author,
                                        info.Support, info.Size, info.Type}),
              std::vector<std::string>({"ie", "ns", "once", "note", "me", "mail", "3 KB", "menu"}));
}

TEST_F(Definition, NumbersAreRoundedAndExtraLinesIgnored) {
    ASSERT_TRUE(Load(Lines({"*", "0", "2.5", "3.5", "1e1", "", "-0.25", "N", "D", "extra", "*", "3",
                            "65280", "C", "D", "extra", "// end"})));
    const IntParameter& n = ws.Params.IntParameters[1];
    EXPECT_EQ(n.Min, 2);
    EXPECT_EQ(n.Max, 4);
    EXPECT_EQ(n.LargeChange, 10);
    EXPECT_EQ(n.Value, -0.25);
    EXPECT_EQ(n.Description, "D");
    EXPECT_EQ(ws.Params.ColourParameters[1].Name, "C");
}

struct BadDefinition {
    const char* name;
    std::string par;
    const char* cnd;
    long line;
    const char* says;
};

class DefinitionErrors : public Definition, public ::testing::WithParamInterface<BadDefinition> {};

std::string Repeat(const std::vector<std::string>& block, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += Lines(block);
    return out + "// end\r\n";
}

TEST_P(DefinitionErrors, NameFileAndLineAndLeaveNoParameters) {
    const BadDefinition& c = GetParam();
    Status st = Load(c.par, c.cnd);
    ASSERT_FALSE(st);
    EXPECT_NE(st.error().file.find(c.cnd && std::string(c.says) == "three" ? "fx.cnd" : "fx.par"),
              std::string::npos);
    EXPECT_EQ(st.error().line, c.line);
    EXPECT_NE(st.error().message.find(c.says), std::string::npos) << st.error().message;
    EXPECT_EQ(ws.Params.ParameterCount, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DefinitionErrors,
    ::testing::Values(
        BadDefinition{"value_before_block", Lines({"1", "2", "// end"}), nullptr, 1,
                      "before the first"},
        BadDefinition{"text_for_number", Lines({"*", "0", "one", "2", "// end"}), nullptr, 3,
                      "whole number"},
        BadDefinition{"out_of_range", Lines({"*", "0", "1", "40000", "// end"}), nullptr, 4,
                      "whole number"},
        BadDefinition{"kind_13", Lines({"*", "13", "x", "// end"}), nullptr, 2, "kind code"},
        BadDefinition{"thirty_one_ints", Repeat({"*", "0", "1"}, 31), nullptr, 92, "30 parameters"},
        BadDefinition{"hundred_and_one", Repeat({"*", "8", "y", "*", "9", "z"}, 51), nullptr, 302,
                      "100"},
        BadDefinition{"list_too_many",
                      Lines({"*", "6", "0", "0", "1", "", "1", "#", "0", "", "", "", "L", "d", "a",
                             "b", "// end"}),
                      nullptr, 16, "rows times columns"},
        BadDefinition{"list_no_rows",
                      Lines({"*", "6", "0", "0", "1", "", "0", "#", "0", "", "", "", "L", "d", "a",
                             "// end"}),
                      nullptr, 15, "no rows"},
        BadDefinition{"option_too_many",
                      Lines({"*", "7", "0", "1", "O", "d", "A", "a", "extra", "// end"}), nullptr,
                      9, "option"},
        BadDefinition{"menu_count_zero", Lines({"*", "11", "0", "", "M", "d", "Home", "// end"}),
                      nullptr, 7, "count is 0"},
        BadDefinition{"bool", Lines({"*", "5", "0", "0", "v", "", "", "maybe", "// end"}), nullptr,
                      8, "True, False"},
        BadDefinition{"condition_lines", Lines(kIntBlock, {"// end"}), "a\r\nNOTNULL\r\n", 2,
                      "three"},
        BadDefinition{"kind_beyond_16_bits", Lines({"*", "40000", "x", "// end"}), nullptr, 2,
                      "the kind code is out of range"},
        BadDefinition{"kind_negative", Lines({"*", "-1", "x", "// end"}), nullptr, 2,
                      "the kind code -1 is not one of 0 to 12"},
        BadDefinition{"real", Lines({"*", "0", "1", "2", "big", "// end"}), nullptr, 5,
                      "expected a number, found \"big\""},
        BadDefinition{"colour_beyond_32_bits", Lines({"*", "3", "4294967296", "x", "// end"}),
                      nullptr, 3, "expected a 32-bit whole number, found \"4294967296\""},
        BadDefinition{"font_size", Lines({"*", "4", "Arial", "1", "0", "0", "0", "big", "// end"}),
                      nullptr, 8, "expected a whole number from -32768 to 32767, found \"big\""},
        BadDefinition{"position_real", Lines({"*", "10", "0", "0", "9", "9", "1", "x", "// end"}),
                      nullptr, 8, "expected a number, found \"x\""},
        BadDefinition{"list_four_columns", Lines({"*", "6", "0", "0", "4", "// end"}), nullptr, 5,
                      "a list has 1 to 3 columns, not 4"},
        BadDefinition{"list_no_columns", Lines({"*", "6", "0", "0", "0", "// end"}), nullptr, 5,
                      "a list has 1 to 3 columns, not 0"},
        BadDefinition{"list_ignored_line", Lines({"*", "6", "0", "x", "// end"}), nullptr, 4,
                      "expected a whole number"},
        BadDefinition{"list_negative_rows", Lines({"*", "6", "0", "0", "1", "", "-1", "// end"}),
                      nullptr, 7, "a list cannot have a negative number of rows"},
        BadDefinition{"list_line_break",
                      Lines({"*", "6", "0", "0", "1", "", "1", "#", "x", "// end"}), nullptr, 9,
                      "expected a whole number"},
        BadDefinition{"option_negative", Lines({"*", "7", "0", "-2", "// end"}), nullptr, 4,
                      "an option parameter cannot have a negative count"},
        BadDefinition{"option_selected", Lines({"*", "7", "first", "// end"}), nullptr, 3,
                      "expected a whole number"},
        BadDefinition{"option_count_zero", Lines({"*", "7", "0", "0", "O", "d", "A", "// end"}),
                      nullptr, 7, "more option lines than the option count allows"},
        BadDefinition{"menu_negative", Lines({"*", "11", "-1", "// end"}), nullptr, 3,
                      "a menu cannot have a negative count"},
        BadDefinition{"text_first_line", Lines({"*", "5", "1.5.5", "// end"}), nullptr, 3,
                      "expected a whole number from -32768 to 32767, found \"1.5.5\""}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace pelto
