#include "common/cp1252.h"
#include "expansion/menu_lines.h"

#include <gtest/gtest.h>

#include <vector>

namespace pelto {
namespace {

struct Entry {
    std::string display; // ">" per level, then the caption
    std::string caption;
    std::string link;
};

Workspace MenuWorkspace(const std::vector<Entry>& entries, const std::string& suffix = ");") {
    Workspace ws;
    MenuParameter& m = ws.Params.Menu;
    m.Count = static_cast<int16_t>(entries.size());
    m.Suffix = suffix;
    m.ResetEntries();
    for (size_t i = 0; i < entries.size(); ++i) {
        m.MenuEntries[i + 1] = entries[i].display;
        m.MenuCaptions[i + 1] = entries[i].caption;
        m.MenuLinks[i + 1] = entries[i].link;
    }
    return ws;
}

std::vector<std::string> Lines(const Workspace& ws) {
    const auto& l = ws.Params.Menu.MenuLines;
    return std::vector<std::string>(l.begin() + 1, l.end());
}

TEST(BuildMenuLines, NamesChildrenAfterTheirParents) {
    Workspace ws = MenuWorkspace({{"P", "P", "p.htm"},
                                  {">Q", "Q", "q.htm"},
                                  {">R", "R", "r.htm"},
                                  {">>S", "S", "s.htm"},
                                  {"T", "T", "t.htm"},
                                  {">U", "U", "u.htm"}});
    BuildMenuLines(ws);
    EXPECT_EQ(ws.TopLevelCount, 2);
    EXPECT_EQ(Lines(ws), (std::vector<std::string>{
                             "Menu1 = new Array(\"P\",\"p.htm\",2);",
                             "Menu1_1 = new Array(\"Q\",\"q.htm\",0);",
                             "Menu1_2 = new Array(\"R\",\"r.htm\",1);",
                             "Menu1_2_1 = new Array(\"S\",\"s.htm\",0);",
                             "Menu2 = new Array(\"T\",\"t.htm\",1);",
                             "Menu2_1 = new Array(\"U\",\"u.htm\",0);",
                         }));
}

TEST(BuildMenuLines, SingleEntry) {
    Workspace ws = MenuWorkspace({{"Home", "Home", "index.htm"}}, "");
    BuildMenuLines(ws);
    EXPECT_EQ(ws.TopLevelCount, 1);
    EXPECT_EQ(Lines(ws), (std::vector<std::string>{"Menu1 = new Array(\"Home\",\"index.htm\",0"}));
}

TEST(BuildMenuLines, SkippedLevelIsNotCountedAsChild) {
    Workspace ws = MenuWorkspace({{"A", "A", "a"}, {">>B", "B", "b"}});
    BuildMenuLines(ws);
    EXPECT_EQ(Lines(ws), (std::vector<std::string>{"Menu1 = new Array(\"A\",\"a\",0);",
                                                   "Menu1_1 = new Array(\"B\",\"b\",0);"}));
}

TEST(BuildMenuLines, CaptionKeepsItsBlanksLinkTrimmed) {
    Workspace ws = MenuWorkspace({{"Say \"hi\"", " Say \"hi\" ", "  x.htm  "}});
    BuildMenuLines(ws);
    EXPECT_EQ(Lines(ws)[0], "Menu1 = new Array(\" Say \\\"hi\\\" \",\"x.htm\",0);");
}

struct MenuTextCase {
    const char* label;
    std::string text;
    std::string written; // inside the double quotes of the line
};

class MenuTextTest : public ::testing::TestWithParam<MenuTextCase> {};

// Caption and link are written so that the string holds exactly what was typed.
TEST_P(MenuTextTest, CaptionAndLinkAreEscapedForJavaScript) {
    const MenuTextCase& c = GetParam();
    Workspace ws = MenuWorkspace({{"x", Cp1252ToUtf8(c.text), Cp1252ToUtf8(c.text)}});
    BuildMenuLines(ws);
    EXPECT_EQ(Lines(ws)[0], "Menu1 = new Array(\"" + c.written + "\",\"" + c.written + "\",0);");
}

INSTANTIATE_TEST_SUITE_P(
    Texts, MenuTextTest,
    ::testing::Values(MenuTextCase{"DoubleQuote", "A\"B", "A\\\"B"},
                      MenuTextCase{"Apostrophe", "Tom's", "Tom\\'s"},
                      MenuTextCase{"Backslash", "a\\b", "a\\\\b"},
                      MenuTextCase{"Backtick", "`x`", "\\x60x\\x60"},
                      MenuTextCase{"ScriptEnd", "</script>", "\\x3C/script\\x3E"},
                      MenuTextCase{"Ampersand", "A&B", "A&B"},
                      MenuTextCase{"LineBreak", "a\r\nb", "a\\r\\nb"},
                      MenuTextCase{"Placeholder",
                                   "\xAE"
                                   "App,SCRIPTREPEAT\xAF",
                                   "\\u00AEApp,SCRIPTREPEAT\\u00AF"},
                      MenuTextCase{"Accents", "caf\xE9 \x80", "caf\\u00E9 \\u20AC"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(BuildMenuLines, ChildBeforeAnyTopLevelEntry) {
    Workspace ws = MenuWorkspace({{">A", "A", "a"}, {">B", "B", "b"}, {"C", "C", "c"}});
    BuildMenuLines(ws);
    EXPECT_EQ(ws.TopLevelCount, 1);
    EXPECT_EQ(Lines(ws), (std::vector<std::string>{"Menu_1 = new Array(\"A\",\"a\",0);",
                                                   "Menu_2 = new Array(\"B\",\"b\",0);",
                                                   "Menu1 = new Array(\"C\",\"c\",0);"}));
}

TEST(BuildMenuLines, EntriesDeeperThanTenKeepTheBareName) {
    std::vector<Entry> entries;
    for (int d = 0; d <= 10; ++d)
        entries.push_back({std::string(static_cast<size_t>(d), '>') + "e", "e", "l"});
    Workspace ws = MenuWorkspace(entries, "");
    BuildMenuLines(ws);
    auto lines = Lines(ws);
    EXPECT_EQ(lines[9], "Menu1_1_1_1_1_1_1_1_1_1 = new Array(\"e\",\"l\",1");
    EXPECT_EQ(lines[10], "Menu = new Array(\"e\",\"l\",0");
}

TEST(BuildMenuLines, EmptyMenuGivesNoLines) {
    Workspace ws = MenuWorkspace({});
    ws.TopLevelCount = 7;
    BuildMenuLines(ws);
    EXPECT_EQ(ws.TopLevelCount, 0);
    EXPECT_TRUE(Lines(ws).empty());
}

TEST(BuildMenuLines, CountBeyondTheStoredArraysReadsOnlyStoredEntries) {
    Workspace ws = MenuWorkspace({{"A", "A", "a"}});
    ws.Params.Menu.Count = 5;
    BuildMenuLines(ws);
    EXPECT_EQ(Lines(ws), (std::vector<std::string>{"Menu1 = new Array(\"A\",\"a\",0);"}));
}

} // namespace
} // namespace pelto
