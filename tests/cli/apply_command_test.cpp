#include "cli_runner.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace pelto {
namespace {

namespace fs = std::filesystem;
using test::CrLf;
using test::RunCli;

// A program folder holding one effect with an Int, Text, Option, Colour, Position,
// Image and Mouseover parameter, and a page beside it.
class ApplyCommandTest : public ::testing::Test {
protected:
    test::TempProgramFolder home;
    fs::path page;
    const std::string pageText =
        "<html><head></head><body><a href=\"a.htm\">Home</a></body></html>";

    void SetUp() override {
        home.WriteScrambled("fx.hdr",
                            CrLf({"fx", "fxv", "100", "Fixture effect", "A test effect", "Tests",
                                  "0", "3", "Head,fx_head.dat,,1,0",
                                  "External,fx_ext.dat,fx.js,1,0", "Body_End,fx_end.dat,,1,1"}));
        home.WriteScrambled(
            "fx.par", CrLf({"*",    "0",     "0",         "100",     "10",          "px",
                            "5",    "Speed", "The speed", // Int
                            "*",    "5",     "0",         "100",     "Hello",       "x",
                            "y",    "True",  "Title",     "desc", // Text
                            "*",    "7",     "0",         "2",       "Dir",         "desc",
                            "Left", "Right", "left",      "right",           // Option
                            "*",    "3",     "255",       "Back",    "desc", // Colour
                            "*",    "10",    "0",         "0",       "100",         "100",
                            "1",    "1",     "px",        "px",      "10",          "20",
                            "X",    "Y",     "Where",     "desc", // Position
                            "*",    "2",     "*.gif",     "sun.gif", "Pic",         "desc", // Image
                            "*",    "9",     "First",     "Second",  "title=\"*\"", "Hover",
                            "desc", // Mouseover
                            "end"}));
        home.WriteScrambled("fx_head.dat",
                            "<script>s=\xAESpeed,INTVALUE\xAF;t='\xAETitle,TEXTVALUE\xAF';"
                            "d='\xAE"
                            "Dir,TEXTVALUE\xAF';c='#\xAE"
                            "Back,HVALUE\xAF';"
                            "p=[\xAEWhere,INTVALUE1\xAF,\xAEWhere,INTVALUE2\xAF];"
                            "i='\xAEPic,FULLIMAGENAME\xAF';</script>");
        home.WriteScrambled("fx_ext.dat", "n=\xAE"
                                          "App,SCRIPTREPEAT\xAF;");
        home.WriteScrambled("fx_end.dat", "<p>end</p>");
        page = home.path() / "site" / "index.htm";
        home.WriteFile("site/index.htm", pageText);
    }

    test::CliRun Apply(std::vector<std::string> extra) {
        std::vector<std::string> args = {"--home", home.path().string(), "apply", "fx",
                                         page.string()};
        args.insert(args.end(), extra.begin(), extra.end());
        return RunCli(args);
    }

    std::string Result() const { return test::ReadAll(home.path() / "output" / "result.htm"); }

    static std::string Expected(const std::string& head, const std::string& title = "Home") {
        return "<!--2erghdf45yrfx-->\r\n<html><head>" + head +
               "</head><body><a href=\"a.htm\" title=\"" + title +
               "\">Home</a><p>end</p></body></html>\r\n\r\n\r\n";
    }
};

TEST_F(ApplyCommandTest, PreviewWithTheDefinitionsValues) {
    auto run = Apply({});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, (home.path() / "output" / "result.htm").string() + "\n");
    EXPECT_EQ(Result(), Expected("<script>s=5;t='Hello';d='left';c='#FF0000';p=[10,20];"
                                 "i='sun.gif';</script>"));
    EXPECT_EQ(test::ReadAll(home.path() / "output" / "0fx.js"), "n=0;\r\n\r\n");
    EXPECT_EQ(test::ReadAll(page), pageText);
}

TEST_F(ApplyCommandTest, ValuesFilesThenSetsInOrder) {
    home.WriteFile("v1.p01", CrLf({"first", "Speed", "7", "Title", "from file", "Hover", "1",
                                   "Home", "Tip", ""}));
    home.WriteFile("v2.p01", CrLf({"second", "Speed", "8"}));
    auto run =
        Apply({"--values", (home.path() / "v1.p01").string(), "--values",
               (home.path() / "v2.p01").string(), "--set", "Title=set", "--set", "Dir=1", "--set",
               "Back=#0080ff", "--set", "Where=3,-4.5", "--set", "Pic=/pics/moon.png"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(Result(), Expected("<script>s=8;t='set';d='right';c='#0080FF';p=[3,-4.5];"
                                 "i='/pics/moon.png';</script>",
                                 "Tip"));
}

TEST_F(ApplyCommandTest, CopyPrintsTheNewPage) {
    auto run = Apply({"--mode", "copy"});
    ASSERT_EQ(run.code, 0) << run.err;
    const fs::path copy = home.path() / "site" / "index_1.htm";
    EXPECT_EQ(run.out, copy.string() + "\n");
    EXPECT_EQ(test::ReadAll(copy), Result());
    EXPECT_EQ(test::ReadAll(home.path() / "site" / "0fx.js"), "n=0;\r\n\r\n");
    EXPECT_EQ(test::ReadAll(page), pageText);
}

TEST_F(ApplyCommandTest, OverwriteNeedsYes) {
    auto declined = Apply({"--mode", "overwrite"});
    ASSERT_EQ(declined.code, 0) << declined.err;
    EXPECT_EQ(declined.out, "");
    EXPECT_NE(declined.err.find("not overwritten"), std::string::npos);
    EXPECT_EQ(test::ReadAll(page), pageText);
    EXPECT_FALSE(Result().empty());

    auto run = Apply({"--mode", "overwrite", "--yes", "--repeat", "0"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, page.string() + "\n");
    EXPECT_EQ(test::ReadAll(page), Result());
}

TEST_F(ApplyCommandTest, RepeatDropsOnceItemsAndNumbersExternals) {
    auto run = Apply({"--repeat", "1"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(Result().find("<p>end</p>"), std::string::npos);
    EXPECT_EQ(test::ReadAll(home.path() / "output" / "1fx.js"), "n=1;\r\n\r\n");
}

struct BadCase {
    const char* label;
    std::vector<std::string> args; // after "apply"
    int code;
    const char* words;
};

class ApplyErrorTest : public ApplyCommandTest, public ::testing::WithParamInterface<BadCase> {};

TEST_P(ApplyErrorTest, ExitCodeAndMessage) {
    std::vector<std::string> args = {"--home", home.path().string(), "apply"};
    for (const std::string& a : GetParam().args)
        args.push_back(a == "PAGE" ? page.string() : a);
    auto run = RunCli(args);
    EXPECT_EQ(run.code, GetParam().code) << run.err;
    EXPECT_NE(run.err.find(GetParam().words), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(test::ReadAll(page), pageText);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ApplyErrorTest,
    ::testing::Values(
        BadCase{"MissingPage", {"fx"}, 2, "SCRIPTID and PAGE"},
        BadCase{"UnknownOption", {"fx", "PAGE", "--fast"}, 2, "--fast"},
        BadCase{"RepeatTooHigh", {"fx", "PAGE", "--repeat", "26"}, 2, "0 to 25"},
        BadCase{"RepeatNotWhole", {"fx", "PAGE", "--repeat", "1.5"}, 2, "0 to 25"},
        BadCase{"BadMode", {"fx", "PAGE", "--mode", "print"}, 2, "preview, copy or overwrite"},
        BadCase{"SetWithoutValue", {"fx", "PAGE", "--set", "Speed"}, 2, "NAME=VALUE"},
        BadCase{"SetUnknownName", {"fx", "PAGE", "--set", "Nobody=1"}, 2, "\"Nobody\""},
        BadCase{"SetIntNotNumber", {"fx", "PAGE", "--set", "Speed=fast"}, 2, "not a number"},
        BadCase{"SetOptionOutside", {"fx", "PAGE", "--set", "Dir=2"}, 2, "0 to 1"},
        BadCase{"SetColourBad", {"fx", "PAGE", "--set", "Back=#12345"}, 2, "#RRGGBB"},
        BadCase{"SetPositionBad", {"fx", "PAGE", "--set", "Where=3"}, 2, "V1,V2"},
        BadCase{"SetMouseover", {"fx", "PAGE", "--set", "Hover=x"}, 2, "cannot be set"},
        BadCase{"UnknownScript", {"nope", "PAGE"}, 1, "\"nope\""},
        BadCase{
            "MissingValuesFile", {"fx", "PAGE", "--values", "/no/such/file"}, 1, "/no/such/file"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(ApplyCommandTest, BrokenValuesFileNamesFileAndLine) {
    home.WriteFile("bad.p01", CrLf({"bad", "Speed", "7", "Nobody", "1"}));
    auto run = Apply({"--values", (home.path() / "bad.p01").string()});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("bad.p01: line 4:"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(home.path() / "output" / "result.htm"));
}

TEST_F(ApplyCommandTest, PageWithoutTheNeededTagFails) {
    home.WriteFile("site/index.htm", "<body></body>");
    auto run = Apply({"--mode", "overwrite", "--yes"});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("\"</HEAD\""), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("Fixture effect"), std::string::npos) << run.err;
    EXPECT_EQ(test::ReadAll(page), "<body></body>");
    EXPECT_FALSE(fs::exists(home.path() / "output" / "result.htm"));
}

// Every effect of the shipped library applies to the shipped sample page.
TEST(ApplyShippedEffects, EachEffectPreviewsOnTheSamplePage) {
    test::TempFolder dir;
    const fs::path shipped = dir.path() / "pelto";
    test::CopyShippedProgramFolder(shipped);
    auto list = RunCli({"--home", shipped.string(), "list"});
    ASSERT_EQ(list.code, 0) << list.err;
    std::vector<std::string> ids;
    for (size_t at = 0; at < list.out.size();) {
        size_t end = list.out.find('\n', at);
        std::string line = list.out.substr(at, end - at);
        size_t tab = line.find('\t');
        ids.push_back(line.substr(tab + 1, line.find('\t', tab + 1) - tab - 1));
        at = end == std::string::npos ? list.out.size() : end + 1;
    }
    if (ids.empty() || !fs::exists(shipped / "sample.htm"))
        GTEST_SKIP() << "the shipped library holds no effect yet";
    for (const std::string& id : ids) {
        fs::copy_file(shipped / "sample.htm", dir.path() / "page.htm",
                      fs::copy_options::overwrite_existing);
        auto run = RunCli({"--home", shipped.string(), "apply", id,
                           (dir.path() / "page.htm").string(), "--mode", "copy"});
        ASSERT_EQ(run.code, 0) << id << ": " << run.err;
        const std::string result = test::ReadAll(dir.path() / "page_1.htm");
        EXPECT_EQ(result.rfind("<!--2erghdf45yr" + id + "-->\r\n", 0), 0u) << id;
        EXPECT_EQ(result.find('\xAE'), std::string::npos) << id << ": a placeholder was left";
    }
}

} // namespace
} // namespace pelto
