// pelto-cli speaks the terminal's encoding: UTF-8 under a UTF-8 locale, Windows-1252
// under C.
#include "cli_runner.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

namespace pelto {
namespace {

namespace fs = std::filesystem;
using test::CrLf;
using test::RunCli;

// Sets LC_ALL for the programs started while it lives.
class Locale {
public:
    explicit Locale(const char* name) {
        if (const char* old = std::getenv("LC_ALL"))
            old_ = old;
        setenv("LC_ALL", name, 1);
    }
    ~Locale() {
        if (old_)
            setenv("LC_ALL", old_->c_str(), 1);
        else
            unsetenv("LC_ALL");
    }

private:
    std::optional<std::string> old_;
};

// One effect with a Text and an Image parameter whose values land in its code as they
// are, and a page beside the program folder.
class TerminalEncodingTest : public ::testing::Test {
protected:
    test::TempProgramFolder home;
    fs::path page;

    void SetUp() override {
        home.WriteScrambled("fx.hdr", CrLf({"fx", "fxv", "100", "Caf\xE9 effect", "An effect",
                                            "Tests", "0", "1", "Head,fx_head.dat,,1,0"}));
        home.WriteScrambled("fx.par",
                            CrLf({"*", "5", "0", "100", "Hello", "x", "y", "True", "T\xEEtle",
                                  "desc", "*", "2", "*.gif", "sun.gif", "Pic", "desc", "end"}));
        home.WriteScrambled("fx_head.dat", "<script>t='\xAET\xEEtle,TEXTVALUE\xAF';"
                                           "i='\xAEPic,FULLIMAGENAME\xAF';</script>");
        page = home.path() / "site" / "index.htm";
        home.WriteFile("site/index.htm", "<html><head></head><body></body></html>");
    }

    test::CliRun Apply(const std::string& name, const std::string& value) {
        return RunCli({"--home", home.path().string(), "apply", "fx", page.string(), "--set",
                       name + "=" + value});
    }

    std::string Script() const {
        std::string result = test::ReadAll(home.path() / "output" / "result.htm");
        size_t from = result.find("<script>");
        size_t to = result.find("</script>");
        if (from == std::string::npos || to == std::string::npos)
            return result;
        return result.substr(from + 8, to - from - 8);
    }
};

TEST_F(TerminalEncodingTest, Utf8LocaleSetValuesReachAWindows1252PageAsBefore) {
    Locale utf8("C.UTF-8");
    auto run = Apply("T\xC3\xAEtle", "caf\xC3\xA9 \xE2\x82\xAC \xC2\xAE");
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(Script(), "t='caf\xE9 \x80 \xAE';i='sun.gif';");
    run = RunCli({"--home", home.path().string(), "apply", "fx", page.string(), "--set",
                  "Pic=/pics/caf\xC3\xA9.gif"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(Script(), "t='Hello';i='/pics/caf\xE9.gif';");
}

TEST_F(TerminalEncodingTest, Utf8LocaleTakesACharacterOutsideWindows1252) {
    Locale utf8("C.UTF-8");
    auto run = Apply("T\xC3\xAEtle", "left \xE2\x86\x92 right");
    ASSERT_EQ(run.code, 0) << run.err;
    // The page is Windows-1252: a character it cannot hold is a character reference.
    EXPECT_EQ(Script(), "t='left &#8594; right';i='sun.gif';");
}

TEST_F(TerminalEncodingTest, Utf8LocaleRefusesBytesThatAreNoUtf8) {
    Locale utf8("C.UTF-8");
    auto run = Apply("T\xC3\xAEtle", "caf\xE9");
    EXPECT_EQ(run.code, 2);
    EXPECT_NE(run.err.find("position 4 is not UTF-8"), std::string::npos) << run.err;
}

TEST_F(TerminalEncodingTest, CLocaleTakesBytesAsWindows1252) {
    Locale c("C");
    auto run = Apply("T\xEEtle", "caf\xE9 \xC3\xA9");
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(Script(), "t='caf\xE9 \xC3\xA9';i='sun.gif';");
}

TEST_F(TerminalEncodingTest, ListAndParamsPrintInTheTerminalsEncoding) {
    {
        Locale utf8("C.UTF-8");
        auto list = RunCli({"--home", home.path().string(), "list"});
        EXPECT_EQ(list.out, "1\tfx\tTests\tCaf\xC3\xA9 effect\n");
        auto params = RunCli({"--home", home.path().string(), "params", "fx"});
        EXPECT_EQ(params.out, "0\t5\tT\xC3\xAEtle\n1\t2\tPic\n");
    }
    Locale c("C");
    auto list = RunCli({"--home", home.path().string(), "list"});
    EXPECT_EQ(list.out, "1\tfx\tTests\tCaf\xE9 effect\n");
    auto params = RunCli({"--home", home.path().string(), "params", "fx"});
    EXPECT_EQ(params.out, "0\t5\tT\xEEtle\n1\t2\tPic\n");
}

} // namespace
} // namespace pelto
