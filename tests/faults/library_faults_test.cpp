// The library's files going missing or bad while the program runs: a script whose
// definition file was deleted after start-up, a condition file that cannot be read, a
// header cut short among good ones, a sample page that vanished. Each is an error that
// names the file, and no half-read state is left behind.
#include "library/definition_reader.h"
#include "library/library_loader.h"
#include "library/page_links.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace pelto {
namespace {

using test::CrLf;
namespace fs = std::filesystem;

const std::string kDefinition =
    CrLf({"*", "0", "1", "10", "1", "px", "5",    "Speed",    "How fast", "*",
          "5", "0", "0", "Hi", "",  "",   "True", "Greeting", "The text", "-"});

std::string Header(const std::string& id, const std::string& items) {
    return CrLf({id, "p", "1000", id, "about " + id, "Cat", "0", "1"}) + items;
}

class LibraryFaults : public ::testing::Test {
protected:
    void SetUp() override {
        ws_.ProgramFolder = home_.path();
        ws_.SampleFile = (home_.path() / "sample.htm").string();
        home_.WriteFile("sample.htm", "<html><body><a href=x>X</a></body></html>\r\n");
    }
    test::TempProgramFolder home_;
    Workspace ws_;
};

TEST_F(LibraryFaults, ADefinitionDeletedAfterStartUpIsNamedAndLeavesNoParameters) {
    home_.WriteScrambled("a.par", kDefinition);
    ASSERT_TRUE(LoadScriptDefinition(ws_, home_.data() / "a.par").ok());
    ASSERT_EQ(ws_.Params.ParameterCount, 2);

    fs::remove(home_.data() / "a.par");
    Status st = LoadScriptDefinition(ws_, home_.data() / "a.par");
    ASSERT_FALSE(st.ok());
    EXPECT_EQ(st.error().file, (home_.data() / "a.par").string());
    EXPECT_EQ(ws_.Params.ParameterCount, 0);
    EXPECT_EQ(ws_.Params.IntParameters[1].Name, "") << "the earlier script's values stayed";
}

TEST_F(LibraryFaults, AnUnreadableConditionFileIsNamedAndLeavesNoParameters) {
    home_.WriteScrambled("a.par", kDefinition);
    fs::create_directory(home_.data() / "a.cnd"); // exists, but cannot be read
    Status st = LoadScriptDefinition(ws_, home_.data() / "a.par");
    ASSERT_FALSE(st.ok());
    EXPECT_EQ(st.error().file, (home_.data() / "a.cnd").string());
    EXPECT_EQ(ws_.Params.ParameterCount, 0);
    EXPECT_EQ(ws_.Params.Conditions.size(), 1u);
}

TEST_F(LibraryFaults, AConditionFileCutShortIsNamedWithItsLine) {
    home_.WriteScrambled("a.par", kDefinition);
    home_.WriteScrambled("a.cnd", CrLf({"Greeting", "NOTNULL", "<b>#</b>", "Greeting"}));
    Status st = LoadScriptDefinition(ws_, home_.data() / "a.par");
    ASSERT_FALSE(st.ok());
    EXPECT_EQ(st.error().file, (home_.data() / "a.cnd").string());
    EXPECT_EQ(st.error().line, 4);
    EXPECT_EQ(ws_.Params.ParameterCount, 0);
}

TEST_F(LibraryFaults, AHeaderCutShortAmongGoodOnesIsLeftOutAndNamed) {
    home_.WriteScrambled("a.hdr", Header("first", "Head,a.txt,,1,0\r\n"));
    home_.WriteScrambled("b.hdr", Header("second", "Head,b.txt,")); // ends inside item 1
    home_.WriteScrambled("c.hdr", Header("third", "Body_End,c.txt,,1,0\r\n"));
    LibraryLoadReport report = LoadScriptLibrary(ws_);
    ASSERT_TRUE(report.fatal.ok());
    ASSERT_EQ(ws_.Library.size(), 3u);
    EXPECT_EQ(ws_.Library[1].ScriptId, "first");
    EXPECT_EQ(ws_.Library[2].ScriptId, "third");
    ASSERT_EQ(report.skipped.size(), 1u);
    EXPECT_EQ(report.skipped[0].file, (home_.data() / "b.hdr").string());
    EXPECT_GE(report.skipped[0].line, 9);
}

TEST_F(LibraryFaults, AVanishedSamplePageEmptiesTheLinkTableAndIsNamed) {
    ASSERT_TRUE(ParseLinks(ws_).ok());
    ASSERT_EQ(ws_.Params.Mouseover.LinkCount(), 1);
    fs::remove(ws_.SampleFile);
    Status st = ParseLinks(ws_);
    ASSERT_FALSE(st.ok());
    EXPECT_EQ(st.error().file, ws_.SampleFile);
    EXPECT_EQ(ws_.Params.Mouseover.LinkCount(), 0);
}

TEST_F(LibraryFaults, AMouseoverDefinitionWithAnUnreadablePageStillLoadsAndWarns) {
    home_.WriteScrambled("m.par", CrLf({"*", "9", "First", "Second", "onmouseover=\"*\"", "Tips",
                                        "Link tips", "-"}));
    fs::remove(ws_.SampleFile);
    fs::create_directory(ws_.SampleFile);
    std::vector<Error> warnings;
    ASSERT_TRUE(LoadScriptDefinition(ws_, home_.data() / "m.par", &warnings).ok());
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].file, ws_.SampleFile);
    EXPECT_EQ(ws_.Params.Mouseover.LinkCount(), 0);
}

} // namespace
} // namespace pelto
