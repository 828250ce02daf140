#include "expansion/placeholder.h"
#include "expansion_fixture.h"

#include <gtest/gtest.h>

namespace pelto {
namespace {

using test::P;

Workspace WithNotNull() {
    Workspace ws = test::MakeExpansionWorkspace();
    ws.Params.Conditions.push_back({"Items", "NOTNULL", "<b>#</b>"});
    ws.Params.Conditions.push_back({"Items", "ISNULL", "ignored #"});
    ws.Params.Conditions.push_back({"Other", "NOTNULL", "other #"});
    return ws;
}

struct ListCase {
    const char* label;
    std::string keyword;
    std::string expected;
};

class ListKeywordTest : public ::testing::TestWithParam<ListCase> {};

TEST_P(ListKeywordTest, GivesExactBytes) {
    Workspace ws = WithNotNull();
    EXPECT_EQ(ExpandLine(ws, P("Items," + GetParam().keyword)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Keywords, ListKeywordTest,
    ::testing::Values(
        // Entries are numbered from 0; a blank entry stays blank, others are wrapped.
        ListCase{"ListEntry", "LISTENTRY", "<b>[0:a]</b><b>[1:  ]</b><b>[2:c]</b>"},
        ListCase{"NoOfEntries", "LISTNOOFENTRIES", "3"},
        ListCase{"FirstEntryHasNoCondition", "FIRSTENTRY", "a"}, ListCase{"LE0", "LE0", "<b>a</b>"},
        ListCase{"LE1Blank", "le1", "  "}, ListCase{"DB2", "DB2", "<b>z</b>"},
        ListCase{"LERoundsHalfToEven", "LE 2.5", "<b>c</b>"},
        ListCase{"LEWithoutNumber", "LEFT", "<b>a</b>"}, ListCase{"RowOutsideTable", "LE3", ""},
        ListCase{"NegativeRow", "DB-1", ""}, ListCase{"HugeRow", "LE99999999", ""},
        ListCase{"ColumnOutsideTable", "DC0", ""},
        ListCase{"UnknownListKeyword", "ENTRIES", P("Items,ENTRIES")}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(ListEntry, LineBreakFollowsEveryEntry) {
    Workspace ws = WithNotNull();
    ListParameter& l = ws.Params.ListParameters[1];
    l.LineBreak = 1;
    l.EntryFormat = "e*=#;";
    EXPECT_EQ(ExpandLine(ws, P("Items,LISTENTRY")),
              "<b>e0=a;</b>\r\n<b>e1=  ;</b>\r\n<b>e2=c;</b>\r\n");
}

TEST(ListEntry, NoRowsGiveTheEmptyText) {
    Workspace ws = WithNotNull();
    ListParameter& l = ws.Params.ListParameters[1];
    l.Rows = 0;
    l.Entries.clear();
    EXPECT_EQ(ExpandLine(ws, "[" + P("Items,LISTENTRY") + "]" + P("Items,FIRSTENTRY") + "|" +
                                 P("Items,LE0")),
              "[]|");
}

TEST(ListEntry, RowsBeyondTheStoredTableReadNothing) {
    Workspace ws = test::MakeExpansionWorkspace();
    ListParameter& l = ws.Params.ListParameters[1];
    l.Rows = 5; // more rows than stored
    EXPECT_EQ(ExpandLine(ws, P("Items,LISTENTRY")), "[0:a][1:  ][2:c][3:][4:]");
    EXPECT_EQ(ExpandLine(ws, P("Items,DB4")), "");
}

TEST(ListEntry, ThirdColumnThroughDC) {
    Workspace ws = WithNotNull();
    ListParameter& l = ws.Params.ListParameters[1];
    l.Columns = 3;
    l.Entries = {{"a", "x", "p"}, {"b", "y", ""}, {"c", "z", "r"}};
    EXPECT_EQ(ExpandLine(ws, P("Items,DC0") + "|" + P("Items,dc1") + "|" + P("Items,DC2")),
              "<b>p</b>||<b>r</b>");
}

TEST(VarNames, SameKeywordSameIdentifierAcrossScripts) {
    Workspace ws = test::MakeExpansionWorkspace();
    EXPECT_EQ(ExpandLine(ws, P("Var,timer") + " " + P("Var,TIMER") + " " + P("Var,count")),
              "pv1 pv1 pv2");
    // Another script keeps the numbers: the names live as long as the program runs.
    ws.Library[1].IdPrefix = "zz";
    EXPECT_EQ(ExpandLine(ws, P("Var,other") + P("Var,count")), "zz3zz2");
}

TEST(VarNames, RepeatCountSeparatesApplications) {
    Workspace ws = test::MakeExpansionWorkspace();
    ws.ScriptRepeat = 1;
    EXPECT_EQ(ExpandLine(ws, P("Var,first")), "pv11");
    ws.ScriptRepeat = 2;
    EXPECT_EQ(ExpandLine(ws, P("Var,first")), "pv21");
}

TEST(VarNames, AtMost255NamesThenThePlaceholderStays) {
    Workspace ws = test::MakeExpansionWorkspace();
    ws.Library[1].IdStride = 0;
    for (int i = 1; i <= 255; ++i)
        ASSERT_EQ(ExpandLine(ws, P("Var,n" + std::to_string(i))), "pv" + std::to_string(i));
    EXPECT_EQ(ExpandLine(ws, P("Var,ONE_TOO_MANY")), P("Var,ONE_TOO_MANY"));
    EXPECT_EQ(ExpandLine(ws, P("Var,n7")), "pv7");
    EXPECT_EQ(ws.VarNames.size(), 256u);
}

TEST(VarNames, NumberLeavingSixteenBitsStays) {
    Workspace ws = test::MakeExpansionWorkspace();
    ws.Library[1].IdStride = 2000;
    ws.ScriptRepeat = 17; // 34000 + k
    EXPECT_EQ(ExpandLine(ws, P("Var,x")), P("Var,x"));
}

} // namespace
} // namespace pelto
