// A text in parts reads as the joined text: every search and every stretch gives what
// std::string_view gives for the joined bytes, wherever the parts are cut.
#include "attach/parts_text.h"

#include <gtest/gtest.h>

namespace pelto {
namespace {

struct Cut {
    const char* name;
    std::vector<std::string> parts;
};

std::vector<Cut> Cuts() {
    return {
        {"One", {"abcabdab\r\nabc"}},
        {"Bytes", {"a", "b", "c", "a", "b", "d", "a", "b", "\r", "\n", "a", "b", "c"}},
        {"EmptyPartsBetween", {"", "abca", "", "", "bdab\r", "\nabc", ""}},
        {"CutInsideMatches", {"ab", "cab", "dab\r\na", "bc"}},
        {"None", {}},
        {"OnlyEmpty", {"", ""}},
    };
}

class PartsTextTest : public ::testing::TestWithParam<Cut> {};

TEST_P(PartsTextTest, FindAndSubstrAreThoseOfTheJoinedText) {
    const Cut& c = GetParam();
    std::vector<std::string_view> views(c.parts.begin(), c.parts.end());
    std::string joined;
    for (const std::string& p : c.parts)
        joined += p;
    const std::string_view whole = joined;
    const PartsText text(views);
    ASSERT_EQ(text.size(), whole.size());
    const std::vector<std::string> needles{"",       "a",  "ab",   "abc", "abd",
                                           "b\r\na", "c",  "bc",   "abx", "\r\n",
                                           joined,   "ca", "cabd", "zz",  joined + "x"};
    for (const std::string& needle : needles)
        for (size_t from = 0; from <= whole.size() + 1; ++from)
            EXPECT_EQ(text.find(needle, from), whole.find(needle, from))
                << "\"" << needle << "\" from " << from;
    for (size_t pos = 0; pos <= whole.size(); ++pos)
        for (size_t n = 0; n <= whole.size() - pos + 1; ++n)
            EXPECT_EQ(text.substr(pos, n), whole.substr(pos, n)) << pos << ", " << n;
    for (size_t pos = 0; pos <= whole.size(); ++pos)
        EXPECT_EQ(text.substr(pos), whole.substr(pos));
}

INSTANTIATE_TEST_SUITE_P(Texts, PartsTextTest, ::testing::ValuesIn(Cuts()),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace pelto
