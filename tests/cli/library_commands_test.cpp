#include "cli_runner.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace pelto {
namespace {

using test::CrLf;
using test::RunCli;

class LibraryCommandsTest : public ::testing::Test {
protected:
    test::TempProgramFolder home;

    void SetUp() override {
        home.WriteScrambled("a.hdr", CrLf({"alpha", "a", "10", "Alpha", "d", "Text", "0", "0"}));
        home.WriteScrambled("b.hdr", CrLf({"beta", "b", "10", "Beta", "d", "Menus", "0", "0"}));
        home.WriteScrambled("b.par", CrLf({"*", "0", "0", "9", "1", "", "3", "Count", "d", "*", "3",
                                           "255", "Back", "d", "end"}));
    }
};

TEST_F(LibraryCommandsTest, ListPrintsIndexIdCategoryAndName) {
    auto run = RunCli({"--home", home.path().string(), "list"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "1\talpha\tText\tAlpha\n2\tbeta\tMenus\tBeta\n");
}

TEST_F(LibraryCommandsTest, ParamsPrintsPositionKindAndName) {
    auto run = RunCli({"--home", home.path().string(), "params", "beta"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "0\t0\tCount\n1\t3\tBack\n");
}

TEST_F(LibraryCommandsTest, ScrambleIsItsOwnInverse) {
    home.WriteFile("plain.txt", "some plain text\r\n");
    const auto p = home.path();
    ASSERT_EQ(RunCli({"scramble", (p / "plain.txt").string(), (p / "s.dat").string()}).code, 0);
    EXPECT_NE(test::ReadAll(p / "s.dat"), "some plain text\r\n");
    ASSERT_EQ(RunCli({"scramble", (p / "s.dat").string(), (p / "back.txt").string()}).code, 0);
    EXPECT_EQ(test::ReadAll(p / "back.txt"), "some plain text\r\n");
}

struct UsageCase {
    const char* label;
    std::vector<std::string> args;
    int code;
};

class CliUsageTest : public ::testing::TestWithParam<UsageCase> {};

TEST_P(CliUsageTest, ExitCode) {
    auto run = RunCli(GetParam().args);
    EXPECT_EQ(run.code, GetParam().code) << run.err;
    EXPECT_FALSE(run.err.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CliUsageTest,
    ::testing::Values(UsageCase{"NoCommand", {}, 2}, UsageCase{"UnknownCommand", {"dance"}, 2},
                      UsageCase{"UnknownGlobalOption", {"--loud", "list"}, 2},
                      UsageCase{"ListWithArgument", {"list", "x"}, 2},
                      UsageCase{"ParamsWithoutId", {"params"}, 2},
                      UsageCase{"ScrambleMissingInput", {"scramble", "/no/such", "/tmp/x"}, 1}),
    [](const auto& info) { return std::string(info.param.label); });

} // namespace
} // namespace pelto
