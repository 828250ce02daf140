// Definition blocks longer than 32767 lines: a list of 20000 rows by 2 columns and an
// option parameter of 20000 options once stopped half-way with a wrong "more entry
// lines than the list's rows times columns", because the block's line counter was 16
// bits wide.
#include "library/definition_reader.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace pelto {
namespace {

std::string Lines(std::initializer_list<std::string> head, int repeat, const std::string& line) {
    std::string out;
    for (const auto& h : head)
        out += h + "\r\n";
    for (int i = 0; i < repeat; ++i)
        out += line + std::to_string(i) + "\r\n";
    return out;
}

TEST(LongDefinition, AListOfFortyThousandEntriesLoadsEveryEntry) {
    const std::string text =
        Lines({"*", "6", "0", "0", "2", "", "20000", "#", "0", "A", "B", "", "Big", "A big list"},
              40000, "e") +
        "-\r\n";
    Workspace ws;
    ResetParameterState(ws);
    Status st = ReadDefinitionText(ws, text, "big.par");
    ASSERT_TRUE(st.ok()) << st.error().text();
    const ListParameter& l = ws.Params.ListParameters[1];
    ASSERT_EQ(l.Entries.size(), 20000u);
    EXPECT_EQ(l.Entries[0][0], "e0");
    EXPECT_EQ(l.Entries[19999][0], "e19999");
    EXPECT_EQ(l.Entries[0][1], "e20000");
    EXPECT_EQ(l.Entries[19999][1], "e39999");
}

TEST(LongDefinition, AnOptionOfTwentyThousandChoicesLoadsEveryText) {
    const std::string text =
        Lines({"*", "7", "0", "20000", "Mode", "The mode"}, 40000, "o") + "-\r\n";
    Workspace ws;
    ResetParameterState(ws);
    Status st = ReadDefinitionText(ws, text, "opt.par");
    ASSERT_TRUE(st.ok()) << st.error().text();
    const OptionParameter& o = ws.Params.OptionParameters[1];
    EXPECT_EQ(o.Captions[19999], "o19999");
    EXPECT_EQ(o.Texts[0], "o20000");
    EXPECT_EQ(o.Texts[19999], "o39999");
}

} // namespace
} // namespace pelto
