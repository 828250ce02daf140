// pelto-cli installed the way a package installs it (bin/ and share/pelto/ under one
// prefix): it reads the library from share/pelto, writes into the user's data folder and
// leaves the installed files alone.
#include "common/files.h"
#include "support/test_support.h"

#include <gtest/gtest.h>
#include <map>
#include <sys/wait.h>

namespace pelto {
namespace {

using test::ReadAll;

struct ProgramRun {
    int code = -1;
    std::string out;
    std::string err;
};

std::string Quote(const std::string& s) {
    std::string out = "'";
    for (char c : s)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// Runs a program with HOME set and XDG_DATA_HOME unset, as a fresh user would.
ProgramRun RunAs(const fs::path& home, const fs::path& program,
                 const std::vector<std::string>& args) {
    test::TempFolder capture;
    std::string command =
        "env -u XDG_DATA_HOME HOME=" + Quote(home.string()) + " " + Quote(program.string());
    for (const std::string& a : args)
        command += " " + Quote(a);
    command += " >" + Quote((capture.path() / "out").string()) + " 2>" +
               Quote((capture.path() / "err").string());
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadAll(capture.path() / "out"),
            ReadAll(capture.path() / "err")};
}

// Every file below a folder with its contents.
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        files[fs::relative(e.path(), folder).string()] =
            e.is_regular_file() ? ReadAll(e.path()) : std::string("<folder>");
    return files;
}

class InstalledCliTest : public ::testing::Test {
protected:
    test::TempFolder root;
    fs::path prefix = root.path() / "usr";
    fs::path cli = prefix / "bin" / "pelto-cli";
    fs::path home = root.path() / "home";
    fs::path userFolder = home / ".local" / "share" / "Pelto";

    void SetUp() override {
        fs::create_directories(prefix / "bin");
        fs::copy_file(PELTO_CLI, cli);
        const fs::path shipped = test::ShippedProgramFolder();
        const fs::path share = prefix / "share" / "pelto";
        fs::create_directories(share);
        for (const char* part : {"data", "images", "help"})
            fs::copy(shipped / part, share / part, fs::copy_options::recursive);
        fs::copy_file(shipped / "sample.htm", share / "sample.htm");
        fs::create_directories(home);
    }
};

TEST_F(InstalledCliTest, ListsTheInstalledLibrary) {
    const ProgramRun installed = RunAs(home, cli, {"list"});
    ASSERT_EQ(installed.code, 0) << installed.err;
    const ProgramRun portable =
        RunAs(home, PELTO_CLI, {"--home", test::ShippedProgramFolder().string(), "list"});
    ASSERT_EQ(portable.code, 0) << portable.err;
    EXPECT_FALSE(installed.out.empty());
    EXPECT_EQ(installed.out, portable.out);
}

TEST_F(InstalledCliTest, ApplyWritesIntoTheUsersDataFolderOnly) {
    const auto before = Snapshot(prefix);
    const ProgramRun list = RunAs(home, cli, {"list"});
    ASSERT_EQ(list.code, 0) << list.err;
    const size_t tab = list.out.find('\t');
    const std::string id = list.out.substr(tab + 1, list.out.find('\t', tab + 1) - tab - 1);
    ASSERT_FALSE(id.empty());
    const fs::path page = home / "site" / "index.htm";
    fs::create_directories(page.parent_path());
    fs::copy_file(prefix / "share" / "pelto" / "sample.htm", page);

    const ProgramRun apply = RunAs(home, cli, {"apply", id, page.string()});
    ASSERT_EQ(apply.code, 0) << apply.err;
    const fs::path result = userFolder / "output" / "result.htm";
    EXPECT_EQ(apply.out, result.string() + "\n");
    EXPECT_EQ(ReadAll(result).rfind("<!--2erghdf45yr" + id + "-->\r\n", 0), 0u);
    EXPECT_TRUE(fs::is_directory(userFolder / "userdata"));
    EXPECT_EQ(ReadAll(userFolder / "sample.htm"),
              ReadAll(prefix / "share" / "pelto" / "sample.htm"));
    EXPECT_EQ(Snapshot(prefix), before) << "the installed files changed";
}

TEST_F(InstalledCliTest, HomeOptionStillNamesAPortableFolder) {
    const fs::path portable = root.path() / "portable";
    test::CopyShippedProgramFolder(portable);
    const fs::path page = root.path() / "page.htm";
    fs::copy_file(portable / "sample.htm", page);
    const ProgramRun list = RunAs(home, cli, {"--home", portable.string(), "list"});
    ASSERT_EQ(list.code, 0) << list.err;
    const size_t tab = list.out.find('\t');
    const std::string id = list.out.substr(tab + 1, list.out.find('\t', tab + 1) - tab - 1);
    const ProgramRun apply =
        RunAs(home, cli, {"--home", portable.string(), "apply", id, page.string()});
    ASSERT_EQ(apply.code, 0) << apply.err;
    EXPECT_EQ(apply.out, (portable / "output" / "result.htm").string() + "\n");
    EXPECT_FALSE(fs::exists(userFolder)) << "--home must not touch the user's data folder";
}

TEST_F(InstalledCliTest, AnUnwritableDataHomeIsNamedAndTheLibraryStillLists) {
    // A file where the data home's folder belongs: the folder cannot be created.
    fs::create_directories(home / ".local");
    ASSERT_TRUE(WriteFileBytes(home / ".local" / "share", "not a folder"));
    const ProgramRun list = RunAs(home, cli, {"list"});
    EXPECT_EQ(list.code, 0) << list.err;
    EXPECT_NE(list.err.find((home / ".local" / "share" / "Pelto").string()), std::string::npos)
        << list.err;
}

TEST(CliVersionTest, VersionAndHelpGoToStdout) {
    test::TempFolder home;
    const ProgramRun version = RunAs(home.path(), PELTO_CLI, {"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, "pelto-cli " PELTO_VERSION "\n");
    const ProgramRun help = RunAs(home.path(), PELTO_CLI, {"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_EQ(help.out.rfind("usage: pelto-cli", 0), 0u) << help.out;
    EXPECT_NE(help.out.find("--version"), std::string::npos);
}

} // namespace
} // namespace pelto
