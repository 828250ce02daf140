// pelto-cli effects, remove and apply --replace over a site whose pages were edited since.
#include "cli_runner.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

namespace pelto {
namespace {

namespace fs = std::filesystem;
using test::CrLf;
using test::RunCli;

std::map<std::string, std::string> Tree(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        if (e.is_regular_file())
            files[fs::relative(e.path(), folder).string()] = test::ReadAll(e.path());
    return files;
}

// The user's edit: a paragraph of their own in front of the page's first one.
void EditPages(const fs::path& folder) {
    for (const auto& e : fs::recursive_directory_iterator(folder)) {
        if (!e.is_regular_file())
            continue;
        std::string text = test::ReadAll(e.path());
        const size_t at = text.find("<p>");
        ASSERT_NE(at, std::string::npos) << e.path();
        text.insert(at, "<p>mine &amp; \xC5\x82\xC3\xB3"
                        "d\xC5\xBA</p>\r\n");
        std::ofstream(e.path(), std::ios::binary | std::ios::trunc) << text;
    }
}

class EffectsCommandTest : public ::testing::Test {
protected:
    test::TempProgramFolder home;
    test::TempFolder work;

    void SetUp() override {
        home.WriteScrambled("fx.hdr",
                            CrLf({"fx", "fxv", "100", "Fixture effect", "A test effect", "Tests",
                                  "0", "3", "Head,fx_head.dat,,1,0", "Body_Top,fx_top.dat,,1,0",
                                  "Body_End,fx_end.dat,,1,1"}));
        home.WriteScrambled("fx.par", CrLf({"*", "5", "0", "100", "Hello", "x", "y", "True",
                                            "Title", "desc", "end"}));
        home.WriteScrambled("fx_head.dat", "<script>t='\xAETitle,TEXTVALUE|JS\xAF';</script>");
        home.WriteScrambled("fx_top.dat", "<h1>\xAETitle,TEXTVALUE|HTML\xAF</h1>");
        home.WriteScrambled("fx_end.dat", "<p>end</p>");
    }
    void MakeSite(const fs::path& folder, int pages) {
        for (int k = 0; k < pages; ++k) {
            const fs::path p =
                folder / ("d" + std::to_string(k % 4)) / ("p" + std::to_string(k) + ".htm");
            fs::create_directories(p.parent_path());
            std::ofstream(p, std::ios::binary)
                << "<html>\r\n<head><title>" << k << "</title></head>\r\n<body>\r\n<p>page " << k
                << "</p>\r\n</body>\r\n</html>\r\n";
        }
    }
    test::CliRun Cli(std::vector<std::string> args) {
        args.insert(args.begin(), {"--home", home.path().string()});
        return RunCli(args);
    }
};

TEST_F(EffectsCommandTest, ReplaceOverASiteWithTwoJobsEqualsOneAtATimeAndUndoRestoresIt) {
    const fs::path one = work.path() / "one";
    const fs::path two = work.path() / "two";
    const fs::path fresh = work.path() / "fresh";
    for (const fs::path& site : {one, two, fresh})
        MakeSite(site, 50);
    for (const fs::path& site : {one, two}) {
        auto run = Cli({"apply", "fx", "--recursive", site.string(), "--mode", "overwrite", "--yes",
                        "--jobs", "2", "--set", "Title=Old menu"});
        ASSERT_EQ(run.code, 0) << run.err;
        EditPages(site);
    }
    const auto edited = Tree(one);
    const std::string typed =
        "New \"menu\" <&> \xC2\xAE \xCE\xB1 \xE3\x81\x82 \xD7\xA9 \xF0\x9F\x98\x80";
    auto byOne = Cli({"apply", "fx", "--recursive", one.string(), "--replace", "--jobs", "1",
                      "--set", "Title=" + typed});
    ASSERT_EQ(byOne.code, 0) << byOne.err;
    EXPECT_NE(byOne.out.find("50 pages: 50 done, 0 failed; change "), std::string::npos)
        << byOne.out;
    auto byTwo = Cli({"apply", "fx", "--recursive", two.string(), "--replace", "--jobs", "2",
                      "--set", "Title=" + typed});
    ASSERT_EQ(byTwo.code, 0) << byTwo.err;
    EXPECT_EQ(Tree(one), Tree(two));

    // The same as the new values applied to the pages as they were, then the user's edit.
    ASSERT_EQ(Cli({"apply", "fx", "--recursive", fresh.string(), "--mode", "overwrite", "--yes",
                   "--set", "Title=" + typed})
                  .code,
              0);
    EditPages(fresh);
    EXPECT_EQ(Tree(one), Tree(fresh));
    const std::string page = test::ReadAll(one / "d1" / "p5.htm");
    EXPECT_EQ(page.find("Old menu"), std::string::npos);
    EXPECT_NE(page.find("<h1>New &quot;menu&quot; &lt;&amp;&gt; &#174; &#945;"), std::string::npos)
        << page;

    // Undo takes the whole replace back: the edited pages with the old values.
    const size_t id = byTwo.out.find("; change ") + 9;
    auto undo = Cli({"undo", byTwo.out.substr(id, byTwo.out.find(' ', id) - id)});
    ASSERT_EQ(undo.code, 0) << undo.err;
    EXPECT_EQ(Tree(two), edited);
}

TEST_F(EffectsCommandTest, EffectsListsValuesAndRemoveTakesTheEffectOutOfEveryPage) {
    const fs::path site = work.path() / "site";
    MakeSite(site, 6);
    ASSERT_EQ(Cli({"apply", "fx", "--recursive", site.string(), "--mode", "overwrite", "--yes",
                   "--set", "Title=Hello"})
                  .code,
              0);
    const fs::path p0 = fs::canonical(site / "d0" / "p0.htm");
    auto listed = Cli({"effects", p0.string()});
    ASSERT_EQ(listed.code, 0) << listed.err;
    EXPECT_NE(listed.out.find("1. fx \"Fixture effect\", applied "), std::string::npos)
        << listed.out;
    EXPECT_NE(listed.out.find("can be taken out: pelto-cli remove fx " + p0.string()),
              std::string::npos)
        << listed.out;
    EXPECT_NE(listed.out.find("       Title\n       Hello\n"), std::string::npos) << listed.out;

    EditPages(site);
    auto edited = Tree(site);
    auto removed = Cli({"remove", "fx", "--recursive", site.string(), "--jobs", "2"});
    ASSERT_EQ(removed.code, 0) << removed.err;
    EXPECT_NE(removed.out.find("6 pages: 6 taken out, 0 failed; change "), std::string::npos)
        << removed.out;
    // Every page is the user's page without the effect.
    test::TempFolder expected;
    MakeSite(expected.path(), 6);
    EditPages(expected.path());
    EXPECT_EQ(Tree(site), Tree(expected.path()));
    listed = Cli({"effects", p0.string()});
    EXPECT_NE(listed.out.find("no effect"), std::string::npos) << listed.out;

    // Again: nothing carries it now; each page says so and stays.
    removed = Cli({"remove", "fx", p0.string()});
    EXPECT_EQ(removed.code, 1);
    EXPECT_NE(removed.err.find("carries no effect \"fx\""), std::string::npos) << removed.err;

    ASSERT_EQ(Cli({"undo"}).code, 0);
    EXPECT_EQ(Tree(site), edited);
}

TEST_F(EffectsCommandTest, APageWithoutARecordIsNamedWithTheReason) {
    const fs::path site = work.path() / "site";
    MakeSite(site, 1);
    const fs::path page = fs::canonical(site / "d0" / "p0.htm");
    const std::string text = "<!--2erghdf45yrfx-->\r\n" + test::ReadAll(page);
    std::ofstream(page, std::ios::binary | std::ios::trunc) << text;
    auto listed = Cli({"effects", page.string()});
    ASSERT_EQ(listed.code, 0) << listed.err;
    EXPECT_NE(listed.out.find("cannot be taken out now: Pelto has no record"), std::string::npos)
        << listed.out;
    auto removed = Cli({"remove", "fx", page.string()});
    EXPECT_EQ(removed.code, 1);
    EXPECT_NE(removed.err.find(page.string()), std::string::npos) << removed.err;
    EXPECT_NE(removed.err.find("no record"), std::string::npos) << removed.err;
    auto replaced = Cli({"apply", "fx", page.string(), "--replace", "--set", "Title=x"});
    EXPECT_EQ(replaced.code, 1);
    EXPECT_NE(replaced.err.find("no record"), std::string::npos) << replaced.err;
    EXPECT_EQ(test::ReadAll(page), text);
    EXPECT_EQ(Cli({"remove", "fx"}).code, 2);
    EXPECT_EQ(Cli({"apply", "fx", page.string(), "--which", "2"}).code, 2);
}

} // namespace
} // namespace pelto
