#include "attach/page_search.h"

#include <gtest/gtest.h>

#include <random>

namespace pelto {
namespace {

struct FindCase {
    const char* haystack;
    const char* needle;
    size_t from;
    size_t expected;
};

class FindNoCaseTest : public ::testing::TestWithParam<FindCase> {};

TEST_P(FindNoCaseTest, FindsTheFirstOccurrence) {
    const FindCase& c = GetParam();
    EXPECT_EQ(FindNoCase(c.haystack, c.needle, c.from), c.expected);
}

constexpr size_t npos = std::string_view::npos;

INSTANTIATE_TEST_SUITE_P(
    Cases, FindNoCaseTest,
    ::testing::Values(FindCase{"<html></HeAd></head>", "</HEAD", 0, 6},
                      FindCase{"<html></HeAd></head>", "</HEAD", 7, 13},
                      FindCase{"<bod<body", "<BODY", 0, 4}, FindCase{"</BOD", "</BODY", 0, npos},
                      FindCase{"", "<BODY", 0, npos}, FindCase{"abc", "", 1, 1},
                      FindCase{"a*****", "*****", 0, 1}, FindCase{"\xC0<BODY", "<body", 0, 1}));

// Long texts, so that the search runs through whole blocks of bytes as well as the
// bytes after the last block, against a plain byte-by-byte search.
TEST(FindNoCase, AgreesWithAPlainSearchOnLongTexts) {
    std::mt19937 rng(1216);
    const std::string letters = "<>/bodyBODYheadHEAD\xC0\xE0 *x";
    const std::vector<std::string> needles = {"</HEAD", "<BODY", "</body", "*****", "y", "<b"};
    auto plain = [](const std::string& h, const std::string& n, size_t from) {
        auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
        for (size_t i = from; i + n.size() <= h.size(); ++i) {
            size_t k = 0;
            while (k < n.size() && lower(h[i + k]) == lower(n[k]))
                ++k;
            if (k == n.size())
                return i;
        }
        return std::string::npos;
    };
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const size_t n = rng() % 300;
        for (size_t i = 0; i < n; ++i)
            text += letters[rng() % letters.size()];
        const std::string& needle = needles[rng() % needles.size()];
        const size_t from = rng() % (n + 2);
        ASSERT_EQ(FindNoCase(text, needle, from), plain(text, needle, from)) << text;
        ASSERT_EQ(FindExact(text, needle, from), text.find(needle, from)) << text;
    }
}

// Whatever edits a page goes through, the remembered first occurrences equal a fresh
// search of the whole text.
TEST(PageText, RememberedPositionsFollowEveryEdit) {
    std::mt19937 rng(20261210);
    const std::vector<std::string> pieces = {"</head>", "<BODY>", "</body>", "*****", "**", "<",
                                             "x",       "</HE",   "AD>",     "<Bo",   "dy "};
    const std::vector<std::pair<std::string, bool>> needles = {
        {"</HEAD", false}, {"<BODY", false}, {"</BODY", false}, {"*****", true}};
    auto randomText = [&](int n) {
        std::string s;
        for (int i = 0; i < n; ++i)
            s += pieces[rng() % pieces.size()];
        return s;
    };
    for (int round = 0; round < 200; ++round) {
        PageText page(randomText(static_cast<int>(rng() % 12)));
        for (const auto& [needle, exact] : needles)
            page.Find(needle, exact);
        for (int edit = 0; edit < 12; ++edit) {
            const size_t size = page.text().size();
            const size_t at = size ? rng() % (size + 1) : 0;
            const size_t erase = at < size ? rng() % std::min<size_t>(size - at + 1, 8) : 0;
            page.Replace(at, erase, randomText(static_cast<int>(rng() % 3)));
            for (const auto& [needle, exact] : needles) {
                const size_t fresh =
                    exact ? page.text().find(needle) : FindNoCase(page.text(), needle);
                ASSERT_EQ(page.Find(needle, exact), fresh)
                    << "round " << round << " edit " << edit << " needle " << needle << " in \""
                    << page.text() << "\"";
            }
        }
    }
}

} // namespace
} // namespace pelto
