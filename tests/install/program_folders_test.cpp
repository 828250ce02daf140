// The layout rule: portable program folder or installed program with a per-user folder.
#include "common/files.h"
#include "common/program_folders.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace pelto {
namespace {

using test::ReadAll;
using test::TempFolder;

struct UserFolderCase {
    const char* label;
    const char* xdgDataHome;
    const char* home;
    const char* expected;
};

class PerUserDataFolderTest : public ::testing::TestWithParam<UserFolderCase> {};

TEST_P(PerUserDataFolderTest, FollowsTheDataHome) {
    const UserFolderCase& c = GetParam();
    EXPECT_EQ(PerUserDataFolder(c.xdgDataHome, c.home), fs::path(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PerUserDataFolderTest,
    ::testing::Values(
        UserFolderCase{"HomeOnly", nullptr, "/home/ann", "/home/ann/.local/share/Pelto"},
        UserFolderCase{"EmptyDataHome", "", "/home/ann", "/home/ann/.local/share/Pelto"},
        UserFolderCase{"DataHome", "/data/ann", "/home/ann", "/data/ann/Pelto"},
        UserFolderCase{"DataHomeWithoutHome", "/data/ann", nullptr, "/data/ann/Pelto"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(PerUserDataFolderTest, WithoutHomeUsesTheAccountsHomeFolder) {
    const fs::path folder = PerUserDataFolder(nullptr, nullptr);
    EXPECT_TRUE(folder.is_absolute()) << folder;
    EXPECT_EQ(folder.filename(), "Pelto");
    EXPECT_EQ(folder.parent_path().filename(), "share");
}

TEST(FindProgramFoldersTest, AFolderWithDataIsPortable) {
    TempFolder t;
    fs::create_directories(t.path() / "data");
    const ProgramFolders f = FindProgramFolders(t.path());
    EXPECT_FALSE(f.installed);
    EXPECT_EQ(f.readOnlyDir, t.path());
    EXPECT_EQ(f.userDataDir, t.path());
    EXPECT_EQ(f.templatesDir, t.path() / "userdata");
    EXPECT_EQ(f.outputDir, t.path() / "output");
}

TEST(FindProgramFoldersTest, ABinFolderWithoutDataIsInstalled) {
    TempFolder t;
    fs::create_directories(t.path() / "usr" / "bin");
    fs::create_directories(t.path() / "usr" / "share" / "pelto" / "data");
    const std::string oldXdg = getenv("XDG_DATA_HOME") ? getenv("XDG_DATA_HOME") : "";
    setenv("XDG_DATA_HOME", (t.path() / "home-data").c_str(), 1);
    const ProgramFolders f = FindProgramFolders(t.path() / "usr" / "bin");
    if (oldXdg.empty())
        unsetenv("XDG_DATA_HOME");
    else
        setenv("XDG_DATA_HOME", oldXdg.c_str(), 1);
    EXPECT_TRUE(f.installed);
    EXPECT_EQ(f.readOnlyDir, t.path() / "usr" / "share" / "pelto");
    EXPECT_EQ(f.userDataDir, t.path() / "home-data" / "Pelto");
    EXPECT_EQ(f.templatesDir, t.path() / "home-data" / "Pelto" / "userdata");
    EXPECT_EQ(f.outputDir, t.path() / "home-data" / "Pelto" / "output");
}

// An installed layout in a temporary folder: read-only data with a sample page, and a
// per-user folder that does not exist yet.
ProgramFolders InstalledIn(const fs::path& root) {
    ProgramFolders f;
    f.installed = true;
    f.readOnlyDir = root / "share" / "pelto";
    f.userDataDir = root / "home" / ".local" / "share" / "Pelto";
    f.templatesDir = f.userDataDir / "userdata";
    f.outputDir = f.userDataDir / "output";
    fs::create_directories(f.readOnlyDir);
    return f;
}

TEST(PrepareUserFolderTest, CreatesTheFoldersAndCopiesTheSamplePage) {
    TempFolder t;
    const ProgramFolders f = InstalledIn(t.path());
    ASSERT_TRUE(WriteFileBytes(f.readOnlyDir / "sample.htm", "<html>shipped</html>\r\n"));
    ASSERT_TRUE(PrepareUserFolder(f));
    EXPECT_TRUE(fs::is_directory(f.templatesDir));
    EXPECT_TRUE(fs::is_directory(f.outputDir));
    EXPECT_EQ(ReadAll(f.userDataDir / "sample.htm"), "<html>shipped</html>\r\n");
}

TEST(PrepareUserFolderTest, KeepsTheUsersOwnSamplePage) {
    TempFolder t;
    const ProgramFolders f = InstalledIn(t.path());
    ASSERT_TRUE(WriteFileBytes(f.readOnlyDir / "sample.htm", "<html>shipped</html>\r\n"));
    fs::create_directories(f.userDataDir);
    ASSERT_TRUE(WriteFileBytes(f.userDataDir / "sample.htm", "<html>changed</html>\r\n"));
    ASSERT_TRUE(PrepareUserFolder(f));
    EXPECT_EQ(ReadAll(f.userDataDir / "sample.htm"), "<html>changed</html>\r\n");
}

TEST(PrepareUserFolderTest, WithoutAShippedSamplePageCopiesNothing) {
    TempFolder t;
    const ProgramFolders f = InstalledIn(t.path());
    ASSERT_TRUE(PrepareUserFolder(f));
    EXPECT_TRUE(fs::is_directory(f.outputDir));
    EXPECT_FALSE(fs::exists(f.userDataDir / "sample.htm"));
}

TEST(PrepareUserFolderTest, AFileInTheWayIsReportedWithItsPath) {
    TempFolder t;
    const ProgramFolders f = InstalledIn(t.path());
    fs::create_directories(f.userDataDir);
    ASSERT_TRUE(WriteFileBytes(f.outputDir, "not a folder"));
    Status st = PrepareUserFolder(f);
    ASSERT_FALSE(st);
    EXPECT_EQ(st.error().file, PathText(f.outputDir));
    EXPECT_NE(st.error().message.find("cannot create"), std::string::npos);
}

TEST(PrepareUserFolderTest, APortableFolderIsLeftAsItIs) {
    TempFolder t;
    const ProgramFolders f = PortableFolders(t.path() / "app");
    ASSERT_TRUE(PrepareUserFolder(f));
    EXPECT_FALSE(fs::exists(t.path() / "app"));
}

} // namespace
} // namespace pelto
