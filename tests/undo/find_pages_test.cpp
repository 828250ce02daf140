// The pages a folder holds for a batch (the batch window's "Whole folder" and
// pelto-cli --recursive): names matched without regard to letter case, hidden folders
// and files left out unless asked for.
#include "attach/batch_apply.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <fstream>

namespace pelto {
namespace {

namespace fs = std::filesystem;

struct FindCase {
    const char* name;
    std::vector<std::string> patterns;
    bool includeHidden;
    std::vector<std::string> expected; // relative to the folder, sorted
};

class FindPagesTest : public ::testing::TestWithParam<FindCase> {};

TEST_P(FindPagesTest, ListsThePagesAUserSees) {
    const FindCase& c = GetParam();
    test::TempFolder site;
    for (const char* file :
         {"INDEX.HTM", "About.Html", "news.htm", "notes.txt", "sub/c.htm", "sub/Deep/D.HTML",
          ".cache/x.htm", "sub/.old/y.html", ".draft.htm", "pic.HTMX"}) {
        fs::create_directories((site.path() / file).parent_path());
        std::ofstream(site.path() / file, std::ios::binary) << "<html></html>";
    }
    auto found = FindPages(site.path(), c.patterns, {}, false, c.includeHidden);
    ASSERT_TRUE(found.ok());
    std::vector<std::string> expected;
    for (const std::string& e : c.expected)
        expected.push_back((site.path() / e).string());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(*found, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FindPagesTest,
    ::testing::Values(FindCase{"AnyCase",
                               {"*.htm", "*.html"},
                               false,
                               {"About.Html", "INDEX.HTM", "news.htm", "sub/Deep/D.HTML",
                                "sub/c.htm"}},
                      FindCase{"HiddenToo",
                               {"*.htm", "*.html"},
                               true,
                               {".cache/x.htm", ".draft.htm", "About.Html", "INDEX.HTM", "news.htm",
                                "sub/.old/y.html", "sub/Deep/D.HTML", "sub/c.htm"}},
                      FindCase{"OwnPatternAnyCase", {"*.TXT"}, false, {"notes.txt"}},
                      FindCase{"UpperPattern", {"INDEX.*"}, false, {"INDEX.HTM"}}),
    [](const ::testing::TestParamInfo<FindCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace pelto
