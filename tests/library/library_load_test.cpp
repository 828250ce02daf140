#include "common/files.h"
#include "library/library_loader.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace pelto {
namespace {

using test::CrLf;

std::string Header(const std::string& id, const std::string& category) {
    return CrLf({id, "p", "10", "Name " + id, "Description", category, "0", "0"});
}

class LibraryLoad : public ::testing::Test {
protected:
    test::TempProgramFolder home;
    Workspace ws;
    void SetUp() override { ws.ProgramFolder = home.path(); }
};

TEST_F(LibraryLoad, ReadsHeadersInNameOrderAndBuildsCategories) {
    home.WriteScrambled("b.hdr", Header("two", "menus"));
    home.WriteScrambled("a.hdr", Header("one", "Menus"));
    home.WriteScrambled("c.HDR", Header("three", "Menus"));
    home.WriteScrambled("notes.txt", "not a header");
    LibraryLoadReport report = LoadScriptLibrary(ws);
    ASSERT_TRUE(report.fatal);
    EXPECT_TRUE(report.skipped.empty());
    ASSERT_EQ(ws.Library.size(), 4u);
    EXPECT_EQ(ws.Library[0].ScriptId, "");
    EXPECT_EQ(ws.Library[1].ScriptId, "one");
    EXPECT_EQ(ws.Library[2].ScriptId, "two");
    EXPECT_EQ(ws.Library[3].ScriptId, "three");
    EXPECT_EQ(ws.Library[3].ParameterFile, "c.par");
    BuildCategoryList(ws);
    EXPECT_EQ(ws.CategoryList, (std::vector<std::string>{"", "Menus", "menus"}));
    // The work file holds the plain text of the header read last.
    EXPECT_EQ(test::ReadAll(ws.WorkFile()), Header("three", "Menus"));
}

// Working with one script reads the headers up to the first with its identifier (a
// second script of that identifier further on is the one OpenScript would not take).
TEST_F(LibraryLoad, UpToAScriptEndsWithTheFirstOfItsIdentifier) {
    home.WriteScrambled("a.hdr", Header("one", "Menus"));
    home.WriteScrambled("b.hdr", Header("two", "Clocks"));
    home.WriteScrambled("c.hdr", Header("two", "Other"));
    home.WriteScrambled("d.hdr", CrLf({"broken", "p", "1", "n"}));
    LibraryLoadReport report = LoadScriptLibraryUpTo(ws, "two");
    ASSERT_TRUE(report.fatal);
    EXPECT_TRUE(report.skipped.empty());
    ASSERT_EQ(ws.Library.size(), 3u);
    EXPECT_EQ(ws.Library[2].ScriptId, "two");
    EXPECT_EQ(ws.Library[2].Category, "Clocks");
    EXPECT_EQ(ws.Library[2].ParameterFile, "b.par");
    EXPECT_EQ(test::ReadAll(ws.WorkFile()), Header("two", "Clocks"));
    // An identifier no script has: every header is read, as at start-up.
    report = LoadScriptLibraryUpTo(ws, "none");
    ASSERT_TRUE(report.fatal);
    ASSERT_EQ(report.skipped.size(), 1u);
    EXPECT_NE(report.skipped[0].text().find("d.hdr"), std::string::npos);
    ASSERT_EQ(ws.Library.size(), 4u);
    EXPECT_EQ(ws.Library[3].Category, "Other");
}

TEST_F(LibraryLoad, LeavesOutADamagedScriptAndReportsIt) {
    home.WriteScrambled("a.hdr", Header("one", "Menus"));
    home.WriteScrambled("b.hdr", CrLf({"broken", "p", "1", "n"}));
    home.WriteScrambled("c.hdr", Header("three", "Clocks"));
    LibraryLoadReport report = LoadScriptLibrary(ws);
    ASSERT_TRUE(report.fatal);
    ASSERT_EQ(report.skipped.size(), 1u);
    EXPECT_NE(report.skipped[0].text().find("b.hdr"), std::string::npos);
    EXPECT_EQ(report.skipped[0].line, 5);
    ASSERT_EQ(ws.Library.size(), 3u);
    EXPECT_EQ(ws.Library[2].ScriptId, "three");
}

TEST_F(LibraryLoad, EmptyDataFolderLeavesCategoriesUntouched) {
    ws.CategoryList = {"", "kept"};
    ASSERT_TRUE(LoadScriptLibrary(ws).fatal);
    EXPECT_EQ(ws.Library.size(), 1u);
    BuildCategoryList(ws);
    EXPECT_EQ(ws.CategoryList, (std::vector<std::string>{"", "kept"}));
}

TEST_F(LibraryLoad, LargeHeaderFilesLoad) {
    std::string big = Header("big", "Menus");
    big += std::string(40000, ' ') + "\r\n";
    home.WriteScrambled("big.hdr", big);
    LibraryLoadReport report = LoadScriptLibrary(ws);
    EXPECT_TRUE(report.skipped.empty());
    ASSERT_EQ(ws.Library.size(), 2u);
}

TEST(LibraryLoadFailures, MissingDataFolderIsFatal) {
    test::TempFolder dir;
    Workspace ws;
    ws.ProgramFolder = dir.path();
    LibraryLoadReport report = LoadScriptLibrary(ws);
    ASSERT_FALSE(report.fatal);
    EXPECT_NE(report.fatal.error().text().find("data"), std::string::npos);
}

TEST(LibraryLoadFailures, MissingHandlerFileIsNamedAndNothingChanges) {
    test::TempProgramFolder home;
    Workspace ws;
    ws.ProgramFolder = home.path();
    ASSERT_TRUE(LoadHandlerTexts(ws));
    EXPECT_NE(ws.MouseHandlerText.find("next mouse handler code goes here"), std::string::npos);
    ws.OnloadHandlerText = "before";
    std::filesystem::remove(home.data() / "onscrollhandler.js");
    Status st = LoadHandlerTexts(ws);
    ASSERT_FALSE(st);
    EXPECT_NE(st.error().text().find("onscrollhandler.js"), std::string::npos);
    EXPECT_EQ(ws.OnloadHandlerText, "before");
}

} // namespace
} // namespace pelto
