// pelto-cli over many pages, history and undo, and two runs started at the same time.
#include "cli_runner.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>

extern char** environ;

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

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class BatchCommandTest : public ::testing::Test {
protected:
    test::TempProgramFolder home;
    test::TempFolder site;

    void SetUp() override {
        home.WriteScrambled("fx.hdr",
                            CrLf({"fx", "fxv", "100", "Fixture effect", "A test effect", "Tests",
                                  "0", "3", "Head,fx_head.dat,,1,0",
                                  "External,fx_ext.dat,fx.js,1,0", "Body_End,fx_end.dat,,1,1"}));
        home.WriteScrambled("fx.par", CrLf({"*", "5", "0", "100", "Hello", "x", "y", "True",
                                            "Title", "desc", "end"}));
        home.WriteScrambled("fx_head.dat", "<script>t='\xAETitle,TEXTVALUE\xAF';</script>");
        home.WriteScrambled("fx_ext.dat", "n=\xAE"
                                          "App,SCRIPTREPEAT\xAF;");
        home.WriteScrambled("fx_end.dat", "<p>end</p>");
    }
    fs::path AddPage(const std::string& relative, bool withBody = true) {
        const fs::path p = site.path() / relative;
        fs::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary)
            << (withBody ? "<html><head></head><body><p>" + relative + "</p></body></html>"
                         : "<html><p>" + relative + "</p></html>");
        return p;
    }
    test::CliRun Cli(std::vector<std::string> args) {
        args.insert(args.begin(), {"--home", home.path().string()});
        return RunCli(args);
    }
};

TEST_F(BatchCommandTest, AFailingPageIsNamedTheOthersAreDoneAndTheExitCodeIsOne) {
    const fs::path a = AddPage("a.htm");
    const fs::path bad = AddPage("sub/bad.htm", false);
    const fs::path c = AddPage("sub/c.html");
    AddPage("notes.txt");
    auto run =
        Cli({"apply", "fx", "--recursive", site.path().string(), "--mode", "copy", "--jobs", "2"});
    EXPECT_EQ(run.code, 1) << run.err;
    EXPECT_NE(run.err.find("failed: " + bad.string()), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("tag"), std::string::npos) << run.err;
    const auto lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 3u) << run.out;
    EXPECT_EQ(lines[0], "done: " + a.string() + " -> " + (site.path() / "a_1.htm").string());
    EXPECT_EQ(lines[1], "done: " + c.string() + " -> " + (site.path() / "sub/c_1.html").string());
    EXPECT_EQ(lines[2].rfind("3 pages: 2 done, 1 failed; change ", 0), 0u) << lines[2];
    EXPECT_NE(test::ReadAll(site.path() / "sub/c_1.html").find("<p>end</p>"), std::string::npos);
    EXPECT_FALSE(fs::exists(site.path() / "sub/bad_1.htm"));
}

TEST_F(BatchCommandTest, SeveralJobsGiveTheSameBytesAsOneAndAGlobChoosesPages) {
    for (int k = 0; k < 12; ++k)
        AddPage("d" + std::to_string(k % 3) + "/p" + std::to_string(k) + ".htm");
    AddPage("keep.html");
    test::TempFolder copy;
    fs::copy(site.path(), copy.path(), fs::copy_options::recursive);
    auto one = Cli({"apply", "fx", "--recursive", site.path().string(), "--glob", "p*.htm",
                    "--mode", "overwrite", "--yes", "--jobs", "1", "--set", "Title=A & <b>"});
    ASSERT_EQ(one.code, 0) << one.err;
    auto many = Cli({"apply", "fx", "--recursive", copy.path().string(), "--glob", "p*.htm",
                     "--mode", "overwrite", "--yes", "--jobs", "4", "--set", "Title=A & <b>"});
    ASSERT_EQ(many.code, 0) << many.err;
    EXPECT_NE(one.out.find("12 pages: 12 done, 0 failed"), std::string::npos) << one.out;
    EXPECT_EQ(Tree(site.path()), Tree(copy.path()));
    EXPECT_EQ(test::ReadAll(site.path() / "keep.html"), test::ReadAll(copy.path() / "keep.html"));
    EXPECT_EQ(test::ReadAll(site.path() / "keep.html").find("<script>"), std::string::npos);
}

TEST_F(BatchCommandTest, HistoryListsChangesAndUndoTakesTheWholeBatchBack) {
    const fs::path a = AddPage("a.htm");
    const fs::path b = AddPage("b.htm");
    const auto before = Tree(site.path());
    ASSERT_EQ(Cli({"apply", "fx", a.string(), b.string(), "--mode", "overwrite", "--yes"}).code, 0);
    ASSERT_EQ(Cli({"apply", "fx", a.string(), "--mode", "copy"}).code, 0);
    auto history = Cli({"history"});
    ASSERT_EQ(history.code, 0) << history.err;
    const auto lines = Lines(history.out);
    ASSERT_EQ(lines.size(), 2u) << history.out;
    EXPECT_NE(lines[0].find("\tfx\tcopy\t" + a.string()), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find("\tfx\toverwrite\t"), std::string::npos) << lines[1];
    EXPECT_NE(lines[1].find(b.string()), std::string::npos) << lines[1];
    const std::string batchId = lines[1].substr(0, lines[1].find('\t'));

    // The copy is edited after it was made: undoing it is refused and names it.
    std::ofstream(site.path() / "a_1.htm", std::ios::app) << "edited";
    auto refused = Cli({"undo"});
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find((site.path() / "a_1.htm").string() + ": was changed"),
              std::string::npos)
        << refused.err;
    EXPECT_TRUE(fs::exists(site.path() / "a_1.htm"));
    auto forced = Cli({"undo", "--force"});
    ASSERT_EQ(forced.code, 0) << forced.err;
    EXPECT_NE(forced.out.find("removed: " + (site.path() / "a_1.htm").string()), std::string::npos);

    auto undone = Cli({"undo", batchId});
    ASSERT_EQ(undone.code, 0) << undone.err;
    EXPECT_EQ(Tree(site.path()), before);
    EXPECT_EQ(Cli({"history"}).out, "");
    EXPECT_EQ(Cli({"undo", "nosuchid"}).code, 1);
    EXPECT_EQ(Cli({"undo", "a", "b"}).code, 2);
}

// Starts pelto-cli with args without waiting.
pid_t Start(const std::vector<std::string>& args) {
    std::vector<std::string> all = {PELTO_CLI};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

int Wait(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(BatchCommandTest, RunsStartedTogetherNeverMixTheirFiles) {
    // Pairs of runs on one program folder: single pages share the output folder (one
    // waits for the other), batches have their own areas; every result is the one it
    // would be alone, and every change is recorded once.
    std::vector<fs::path> pages;
    for (int k = 0; k < 8; ++k)
        pages.push_back(AddPage("s" + std::to_string(k) + "/p.htm"));
    const std::string h = home.path().string();
    for (int round = 0; round < 2; ++round) {
        const std::string t1 = "one" + std::to_string(round), t2 = "two" + std::to_string(round);
        pid_t first = Start({"--home", h, "apply", "fx", pages[0].string(), "--mode", "copy",
                             "--set", "Title=" + t1});
        pid_t second = Start({"--home", h, "apply", "fx", pages[1].string(), "--mode", "copy",
                              "--set", "Title=" + t2});
        pid_t third = Start({"--home", h, "apply", "fx", pages[2].string(), pages[3].string(),
                             pages[4].string(), "--mode", "copy", "--set", "Title=" + t1});
        pid_t fourth = Start({"--home", h, "apply", "fx", pages[5].string(), pages[6].string(),
                              pages[7].string(), "--mode", "copy", "--set", "Title=" + t2});
        EXPECT_EQ(Wait(first), 0);
        EXPECT_EQ(Wait(second), 0);
        EXPECT_EQ(Wait(third), 0);
        EXPECT_EQ(Wait(fourth), 0);
        for (int k = 0; k < 8; ++k) {
            const std::string mine = (k == 0 || (k >= 2 && k <= 4)) ? t1 : t2;
            const std::string other = mine == t1 ? t2 : t1;
            const std::string copy = test::ReadAll(pages[k].parent_path() / "p_1.htm");
            EXPECT_NE(copy.find("t='" + mine + "'"), std::string::npos) << k << copy;
            EXPECT_EQ(copy.find(other), std::string::npos) << k;
        }
    }
    EXPECT_EQ(Lines(Cli({"history"}).out).size(), 8u);
    // Copy batches leave no output area behind.
    for (const auto& e : fs::directory_iterator(home.path() / "output"))
        EXPECT_FALSE(e.is_directory()) << e.path();
}

} // namespace
} // namespace pelto
