// pelto-cli's arguments: "--" ends the options, so a page named like an option (as a
// shell's wildcard may give it) is a page; values and pages too large to read are refused
// with a message instead of filling the memory.
#include "cli_runner.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <fstream>

namespace pelto {
namespace {

namespace fs = std::filesystem;
using test::CrLf;

const std::string kPage = "<html><head></head><body><p>mine</p></body></html>";

struct ArgumentCase {
    const char* name;
    std::vector<std::string> args; // after --home HOME; "@" stands for the site folder
    int code;
    const char* inOut;      // in stdout ("" for no check)
    const char* inErr;      // in stderr ("" for no check)
    bool optionPageChanged; // the page named "--yes" holds the effect afterwards
};

class ArgumentSafety : public ::testing::TestWithParam<ArgumentCase> {
protected:
    test::TempProgramFolder home;
    test::TempFolder site;

    void SetUp() override {
        home.WriteScrambled("fx.hdr", CrLf({"fx", "fxv", "100", "Fixture effect", "A test effect",
                                            "Tests", "0", "1", "Body_End,fx_end.dat,,1,1"}));
        home.WriteScrambled("fx.par", CrLf({"*", "5", "0", "100", "Hello", "x", "y", "True",
                                            "Title", "desc", "end"}));
        home.WriteScrambled("fx_end.dat", "<p>end</p>");
        std::ofstream(site.path() / "--yes", std::ios::binary) << kPage;
        std::ofstream(site.path() / "index.htm", std::ios::binary) << kPage;
        // A page one byte over the limit, without its bytes on the disk (a sparse file).
        std::ofstream(site.path() / "big.htm", std::ios::binary) << kPage;
        fs::resize_file(site.path() / "big.htm", (uintmax_t{1} << 30) + 1);
    }
};

TEST_P(ArgumentSafety, RunsAsTheArgumentsSay) {
    std::vector<std::string> args = {"--home", home.path().string()};
    for (const std::string& a : GetParam().args)
        args.push_back(a == "@" ? site.path().string() : a);
    auto run = test::RunCli(args, site.path().string());
    EXPECT_EQ(run.code, GetParam().code) << run.err;
    EXPECT_NE(run.out.find(GetParam().inOut), std::string::npos) << run.out;
    EXPECT_NE(run.err.find(GetParam().inErr), std::string::npos) << run.err;
    const bool changed = test::ReadAll(site.path() / "--yes") != kPage;
    EXPECT_EQ(changed, GetParam().optionPageChanged);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, ArgumentSafety,
    ::testing::Values(
        // Without --yes an overwrite leaves the page alone, even one named "--yes".
        ArgumentCase{"APageNamedLikeAnOptionAfterTheEnd",
                     {"apply", "--mode", "overwrite", "fx", "--", "--yes"},
                     0,
                     "",
                     "was not overwritten",
                     false},
        ArgumentCase{"ThePageNamedLikeAnOptionIsOverwrittenWhenAsked",
                     {"apply", "--mode", "overwrite", "--yes", "fx", "--", "--yes"},
                     0,
                     "--yes",
                     "",
                     true},
        ArgumentCase{"SeveralPagesAfterTheEnd",
                     {"apply", "--mode", "copy", "--", "fx", "--yes", "index.htm"},
                     0,
                     "2 pages: 2 done",
                     "",
                     false},
        ArgumentCase{"TheEndBeforeTheCommand", {"--", "list"}, 0, "fx", "", false},
        ArgumentCase{"ValuesWithoutEnd",
                     {"apply", "fx", "index.htm", "--values", "/dev/zero"},
                     1,
                     "",
                     "/dev/zero: is larger than 16 MB",
                     false},
        ArgumentCase{"APageOverTheLimit",
                     {"apply", "fx", "big.htm", "--mode", "copy"},
                     1,
                     "",
                     "big.htm: is larger than 1024 MB, the most a page may have",
                     false},
        ArgumentCase{"UndoIdAfterTheEnd", {"undo", "--", "--force"}, 1, "", "no change", false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace pelto
