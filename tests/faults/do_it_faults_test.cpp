// "Do it" when the machine says no: the output folder missing, blocked or read-only,
// the page's folder read-only or full, the page gone or unreadable, a code file gone
// from the library, a template file cut short. Each is an error that names the file,
// and the user's page is either fully old or fully new.
#include "fault_support.h"

#include "attach/attach_fixture.h"
#include "attach/do_it.h"
#include "library/definition_reader.h"
#include "templates/template_files.h"

#include <gtest/gtest.h>

#include <fstream>

namespace pelto {
namespace {

using test::FaultFolder;
namespace fs = std::filesystem;

const std::string kPage = "<html><head><title>Mine</title></head>\r\n<body>\r\n<p>Hello</p>\r\n"
                          "</body></html>\r\n";

class DoItFaults : public test::AttachFixture {
protected:
    void SetUp() override {
        AttachFixture::SetUp();
        AddScript("fx", {{"Head", "<script>var fx = 1;</script>"},
                         {"External", "var shared = 2;", "fx.js"},
                         {"Body_End", "<p>made by fx</p>"}});
    }
    // Puts the page into folder and makes it the page to work on.
    fs::path UsePage(const fs::path& folder) {
        const fs::path page = folder / "index.htm";
        ws.SampleFile = page.string();
        return page;
    }
    static void Write(const fs::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    Result<DoItOutcome> Run(OutputOption option) {
        DoItRequest request;
        request.option = option;
        request.confirmOverwrite = [] { return true; };
        return DoIt(ws, request);
    }
};

TEST_F(DoItFaults, AMissingOutputFolderIsMadeAgain) {
    test::TempFolder pages;
    Write(UsePage(pages.path()), kPage);
    fs::remove_all(home.path() / "output");
    auto done = Run(OutputOption::Preview);
    ASSERT_TRUE(done.ok()) << done.error().text();
    EXPECT_TRUE(fs::exists(home.path() / "output" / "result.htm"));
}

TEST_F(DoItFaults, AFileInPlaceOfTheOutputFolderIsNamed) {
    test::TempFolder pages;
    const fs::path page = UsePage(pages.path());
    Write(page, kPage);
    fs::remove_all(home.path() / "output");
    home.WriteFile("output", "not a folder");
    auto done = Run(OutputOption::Overwrite);
    ASSERT_FALSE(done.ok());
    EXPECT_NE(done.error().file.find("output"), std::string::npos) << done.error().text();
    EXPECT_EQ(test::ReadAll(page), kPage);
}

struct ReadOnlyOutputCase {
    const char* name;
    std::vector<std::pair<std::string, std::string>> files; // left from the last run
    const char* named;                                      // the file the error names
};

class ReadOnlyOutput : public DoItFaults,
                       public ::testing::WithParamInterface<ReadOnlyOutputCase> {};

TEST_P(ReadOnlyOutput, StopsNamingTheFileAndLeavesThePage) {
    test::TempFolder pages;
    const fs::path page = UsePage(pages.path());
    Write(page, kPage);
    fs::remove_all(home.path() / "output");
    fs::create_directory(home.path() / "output");
    std::string why;
    auto ro = FaultFolder::ReadOnly(GetParam().files, &why);
    if (!ro)
        GTEST_SKIP() << why;
    // The program folder's output folder becomes the read-only one.
    fs::remove(home.path() / "output");
    fs::create_directory_symlink(ro->path(), home.path() / "output");
    auto done = Run(OutputOption::Overwrite);
    ASSERT_FALSE(done.ok());
    EXPECT_NE(done.error().file.find(GetParam().named), std::string::npos) << done.error().text();
    EXPECT_EQ(test::ReadAll(page), kPage);
    EXPECT_EQ(std::distance(fs::directory_iterator(pages.path()), fs::directory_iterator()), 1);
}

INSTANTIATE_TEST_SUITE_P(Cases, ReadOnlyOutput,
                         ::testing::Values(ReadOnlyOutputCase{"empty", {}, "0fx.js"},
                                           ReadOnlyOutputCase{"with_an_old_result",
                                                              {{"result.htm", "old"}},
                                                              "result.htm"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct PageFolderCase {
    const char* name;
    OutputOption option;
    const char* named; // the file the error names
};

class ReadOnlyPageFolder : public DoItFaults,
                           public ::testing::WithParamInterface<PageFolderCase> {};

TEST_P(ReadOnlyPageFolder, StopsNamingTheFileAndLeavesThePage) {
    std::string why;
    auto folder = FaultFolder::ReadOnly({{"index.htm", kPage}}, &why);
    if (!folder)
        GTEST_SKIP() << why;
    const fs::path page = UsePage(folder->path());
    auto done = Run(GetParam().option);
    ASSERT_FALSE(done.ok());
    EXPECT_EQ(done.error().file, (folder->path() / GetParam().named).string())
        << done.error().text();
    EXPECT_EQ(test::ReadAll(page), kPage);
    EXPECT_EQ(folder->Names(), std::vector<std::string>{"index.htm"});
    // The result is still there to look at.
    EXPECT_TRUE(fs::exists(home.path() / "output" / "result.htm"));
}

INSTANTIATE_TEST_SUITE_P(Options, ReadOnlyPageFolder,
                         ::testing::Values(PageFolderCase{"copy", OutputOption::Copy, "0fx.js"},
                                           PageFolderCase{"overwrite", OutputOption::Overwrite,
                                                          "0fx.js"}),
                         [](const auto& info) { return std::string(info.param.name); });

class FullPageDisk : public DoItFaults, public ::testing::WithParamInterface<OutputOption> {};

TEST_P(FullPageDisk, TheUsersPageIsFullyOldAndNoTemporaryFileStays) {
    std::string why;
    auto disk = FaultFolder::SmallDisk(64 * 1024, &why);
    if (!disk)
        GTEST_SKIP() << why;
    disk->Put("index.htm", kPage);
    const fs::path page = UsePage(disk->path());
    // An effect whose result page cannot fit on the page's disk.
    AddScript("big", {{"Head", "<style>/*" + test::Bytes(200 * 1024, 'b') + "*/</style>"}});
    auto done = Run(GetParam());
    ASSERT_FALSE(done.ok());
    const std::string target = GetParam() == OutputOption::Copy ? "index_1.htm" : "index.htm";
    EXPECT_EQ(done.error().file, (disk->path() / target).string()) << done.error().text();
    EXPECT_NE(done.error().message.find("No space left"), std::string::npos)
        << done.error().message;
    EXPECT_EQ(test::ReadAll(page), kPage);
    EXPECT_EQ(disk->Names(), std::vector<std::string>{"index.htm"});
}

INSTANTIATE_TEST_SUITE_P(Options, FullPageDisk,
                         ::testing::Values(OutputOption::Copy, OutputOption::Overwrite),
                         [](const auto& info) {
                             return std::string(info.param == OutputOption::Copy ? "copy"
                                                                                 : "overwrite");
                         });

TEST_F(DoItFaults, AMissingOrUnreadablePageIsNamed) {
    test::TempFolder pages;
    const fs::path page = UsePage(pages.path());
    auto missing = Run(OutputOption::Preview);
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().file, page.string());

    fs::create_directory(page); // a folder where the page should be
    auto unreadable = Run(OutputOption::Overwrite);
    ASSERT_FALSE(unreadable.ok());
    EXPECT_EQ(unreadable.error().file, page.string());
    EXPECT_TRUE(fs::is_directory(page));
}

TEST_F(DoItFaults, ACodeFileMissingFromTheLibraryIsNamedAndNothingIsWritten) {
    test::TempFolder pages;
    const fs::path page = UsePage(pages.path());
    Write(page, kPage);
    fs::remove(home.data() / "fx_2.dat"); // the external item's code, between two others
    auto done = Run(OutputOption::Copy);
    ASSERT_FALSE(done.ok());
    EXPECT_EQ(done.error().file, (home.data() / "fx_2.dat").string());
    EXPECT_TRUE(fs::is_empty(home.path() / "output"));
    EXPECT_EQ(test::ReadAll(page), kPage);
    EXPECT_EQ(std::distance(fs::directory_iterator(pages.path()), fs::directory_iterator()), 1);
}

TEST_F(DoItFaults, ATemplateCutShortIsNamedAndKeepsTheBlocksBeforeIt) {
    ResetParameterState(ws);
    ASSERT_TRUE(ReadDefinitionText(ws,
                                   test::CrLf({"*", "0", "0", "100",   "1", "",  "5", "Speed", "n",
                                               "*", "6", "0", "0",     "1", "",  "2", "#",     "0",
                                               "A", "",  "",  "Items", "l", "x", "y", "-"}),
                                   "fx.par")
                    .ok());
    home.WriteFile("userdata/fx.p01", test::CrLf({"cut", "Speed", "42", "Items", "2", "1", "z"}));
    auto listed = ListTemplates(ws);
    ASSERT_TRUE(listed.ok()) << listed.error().text();
    Status st = LoadTemplate(ws, "cut", *listed, {});
    ASSERT_FALSE(st.ok());
    EXPECT_EQ(st.error().file, (home.path() / "userdata" / "fx.p01").string());
    EXPECT_GE(st.error().line, 4);
    EXPECT_EQ(ws.Params.IntParameters[1].Value, 42);
    EXPECT_EQ(ws.Params.ListParameters[1].Entries[0][0], "x");
    EXPECT_EQ(ws.Params.ListParameters[1].Entries[1][0], "y");
}

} // namespace
} // namespace pelto
