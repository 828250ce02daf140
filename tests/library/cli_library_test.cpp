#include "support/test_support.h"

#include <array>
#include <cstdio>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace pelto {
namespace {

using test::CrLf;

struct CliRun {
    int code;
    std::string out;
};

// Runs pelto-cli with args, or (withProgram false) the whole command given.
CliRun RunCli(const std::string& args, bool withProgram = true) {
    std::string cmd = (withProgram ? std::string(PELTO_CLI) + " " : "") + args + " 2>/dev/null";
    FILE* p = popen(cmd.c_str(), "r");
    CliRun r{-1, ""};
    if (!p)
        return r;
    std::array<char, 4096> buf;
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0)
        r.out.append(buf.data(), n);
    int status = pclose(p);
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

class CliLibrary : public ::testing::Test {
protected:
    test::TempProgramFolder home;
    void SetUp() override {
        home.WriteScrambled("a.hdr", CrLf({"fx.one", "p", "1", "First", "d", "Menus", "0", "0"}));
        home.WriteScrambled("b.hdr",
                            CrLf({"fx.two", "p", "1", "Second \xE9", "d", "Clocks", "0", "0"}));
        home.WriteScrambled("b.par", CrLf({"*", "0", "1", "9", "1", "", "3", "Speed", "d", "*",
                                           "12", "ie", "// end"}));
    }
    std::string Home() const { return "--home '" + home.path().string() + "'"; }
};

TEST_F(CliLibrary, ListPrintsOneLinePerScriptInLibraryOrder) {
    // Under the C locale the program's texts are printed in Windows-1252.
    CliRun r = RunCli("env LC_ALL=C " + std::string(PELTO_CLI) + " " + Home() + " list", false);
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "1\tfx.one\tMenus\tFirst\n2\tfx.two\tClocks\tSecond \xE9\n");
}

TEST_F(CliLibrary, ParamsPrintsPositionKindAndText) {
    CliRun r = RunCli(Home() + " params fx.two");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "0\t0\tSpeed\n1\t12\tInfo\n");
}

TEST_F(CliLibrary, FailuresAndUsageErrorsHaveTheirExitCodes) {
    EXPECT_EQ(RunCli(Home() + " params fx.one").code, 1); // no a.par
    EXPECT_EQ(RunCli(Home() + " params FX.TWO").code, 1); // identifiers compare with case
    EXPECT_EQ(RunCli(Home() + " params").code, 2);
    EXPECT_EQ(RunCli(Home() + " frobnicate").code, 2);
    EXPECT_EQ(RunCli("--home /nonexistent list").code, 1);
}

TEST_F(CliLibrary, ScrambleRoundTrips) {
    home.WriteFile("plain.txt", "hello\r\n");
    std::string in = (home.path() / "plain.txt").string();
    std::string mid = (home.path() / "mid.dat").string();
    std::string out = (home.path() / "out.txt").string();
    ASSERT_EQ(RunCli("scramble '" + in + "' '" + mid + "'").code, 0);
    EXPECT_NE(test::ReadAll(mid), "hello\r\n");
    ASSERT_EQ(RunCli("scramble '" + mid + "' '" + out + "'").code, 0);
    EXPECT_EQ(test::ReadAll(out), "hello\r\n");
}

} // namespace
} // namespace pelto
