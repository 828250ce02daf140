// A workspace given separate read-only and writable folders reads from the one and
// writes only into the other.
#include "templates/template_files.h"
#include "templates/template_fixture.h"

#include <gtest/gtest.h>

namespace pelto {
namespace {

namespace fs = std::filesystem;

TEST(WorkspaceFoldersTest, ReadOnlyAndWritableFoldersComeFromTheLayout) {
    ProgramFolders f;
    f.installed = true;
    f.readOnlyDir = "/usr/share/pelto";
    f.userDataDir = "/home/ann/.local/share/Pelto";
    f.templatesDir = f.userDataDir / "userdata";
    f.outputDir = f.userDataDir / "output";
    Workspace ws;
    ws.UseFolders(f);
    EXPECT_EQ(ws.DataFolder(), fs::path("/usr/share/pelto/data"));
    EXPECT_EQ(ws.ImagesFolder(), fs::path("/usr/share/pelto/images"));
    EXPECT_EQ(ws.HelpFile(), fs::path("/usr/share/pelto/help/index.html"));
    EXPECT_EQ(ws.UserDataFolder(), f.templatesDir);
    EXPECT_EQ(ws.OutputFolder(), f.outputDir);
    EXPECT_EQ(ws.WorkFile(), f.userDataDir / "temp.dat");
    EXPECT_EQ(ws.DefaultSampleFile(), f.userDataDir / "sample.htm");
}

TEST(WorkspaceFoldersTest, APortableFolderHoldsEverything) {
    Workspace ws;
    ws.UseFolders(PortableFolders("/opt/pelto"));
    EXPECT_EQ(ws.DataFolder(), fs::path("/opt/pelto/data"));
    EXPECT_EQ(ws.UserDataFolder(), fs::path("/opt/pelto/userdata"));
    EXPECT_EQ(ws.OutputFolder(), fs::path("/opt/pelto/output"));
    EXPECT_EQ(ws.DefaultSampleFile(), fs::path("/opt/pelto/sample.htm"));
}

class UserFolderTemplatesTest : public test::TemplateFixture {};

TEST_F(UserFolderTemplatesTest, TemplatesAreSavedAndListedInTheUserFolder) {
    test::TempFolder user;
    ws.UserFolder = user.path();
    ASSERT_TRUE(
        SaveTemplate(ws, "Mine", {"Speed", "Back"}, {}, [](const std::string&) { return true; }));
    EXPECT_TRUE(fs::exists(user.path() / "userdata" / "fx.p01"));
    EXPECT_TRUE(fs::is_empty(home.path() / "userdata"));
    auto listed = ListTemplates(ws);
    ASSERT_TRUE(listed) << listed.error().text();
    ASSERT_EQ(listed->size(), 1u);
    EXPECT_EQ((*listed)[0].name, "Mine");
}

} // namespace
} // namespace pelto
