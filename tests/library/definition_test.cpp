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
                      "three"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace pelto
