// Recording a change when the records' disk is full or read-only: the run stops with a
// message before anything reaches the user's folder.
#include "fault_support.h"

#include "attach/attach_fixture.h"
#include "attach/batch_apply.h"
#include "attach/recorded_run.h"

#include <gtest/gtest.h>

#include <fstream>

namespace pelto {
namespace {

using test::FaultFolder;
namespace fs = std::filesystem;

class UndoFaults : public test::AttachFixture {
protected:
    test::TempFolder site;
    fs::path page;
    std::string pageText;

    void SetUp() override {
        AttachFixture::SetUp();
        AddScript("fx", {{"Head", "<script>var fx = 1;</script>"},
                         {"External", "var shared = 2;", "fx.js"},
                         {"Body_End", "<p>made by fx</p>"}});
        // Larger than the small disk, so its previous bytes cannot be kept there.
        pageText = "<html><head></head><body><p>" + test::Bytes(200 * 1024) + "</p></body></html>";
        page = site.path() / "index.htm";
        std::ofstream(page, std::ios::binary) << pageText;
        ws.SampleFile = page.string();
    }
    // Puts the program's userdata (and so the change records) into folder.
    void UserDataIn(const fs::path& folder) {
        fs::remove_all(home.path() / "userdata");
        fs::create_directory_symlink(folder, home.path() / "userdata");
    }
    std::vector<std::string> SiteNames() {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(site.path()))
            names.push_back(e.path().filename().string());
        return names;
    }
    Result<RecordedOutcome> Overwrite() {
        DoItRequest request;
        request.option = OutputOption::Overwrite;
        request.confirmOverwrite = [] { return true; };
        return DoItRecorded(ws, request, FileLock::Wait::No);
    }
};

TEST_F(UndoFaults, AFullDiskStopsTheRunBeforeThePageIsTouched) {
    std::string why;
    auto disk = FaultFolder::SmallDisk(64 * 1024, &why);
    if (!disk)
        GTEST_SKIP() << why;
    UserDataIn(disk->path());
    auto run = Overwrite();
    ASSERT_FALSE(run.ok());
    EXPECT_NE(run.error().file.find((home.path() / "userdata").string()), std::string::npos)
        << run.error().text();
    EXPECT_NE(run.error().message.find("No space left"), std::string::npos) << run.error().text();
    EXPECT_NE(run.error().message.find("nothing was written"), std::string::npos);
    EXPECT_EQ(test::ReadAll(page), pageText);
    EXPECT_EQ(SiteNames(), std::vector<std::string>{"index.htm"});
}

TEST_F(UndoFaults, AFullDiskStopsABatchAndNamesThePagesLeft) {
    std::string why;
    auto disk = FaultFolder::SmallDisk(64 * 1024, &why);
    if (!disk)
        GTEST_SKIP() << why;
    UserDataIn(disk->path());
    const fs::path second = site.path() / "two.htm";
    std::ofstream(second, std::ios::binary) << pageText;
    BatchRequest request;
    request.option = OutputOption::Overwrite;
    request.overwriteConfirmed = true;
    auto outcome = ApplyToPages(ws, {page.string(), second.string()}, request);
    ASSERT_TRUE(outcome.ok()) << outcome.error().text();
    EXPECT_EQ(outcome->done, 0u);
    EXPECT_EQ(outcome->failed, 1u);
    EXPECT_EQ(outcome->notRun, 1u);
    EXPECT_NE(outcome->pages[0].message.find("No space left"), std::string::npos);
    EXPECT_NE(outcome->pages[1].message.find("could not be recorded"), std::string::npos);
    EXPECT_EQ(test::ReadAll(page), pageText);
    EXPECT_EQ(test::ReadAll(second), pageText);
}

TEST_F(UndoFaults, AReadOnlyRecordsFolderStopsTheRunWithAMessage) {
    std::string why;
    auto folder = FaultFolder::ReadOnly({}, &why);
    if (!folder)
        GTEST_SKIP() << why;
    UserDataIn(folder->path());
    auto run = Overwrite();
    ASSERT_FALSE(run.ok());
    EXPECT_NE(run.error().file.find((home.path() / "userdata").string()), std::string::npos)
        << run.error().text();
    EXPECT_EQ(test::ReadAll(page), pageText);
    EXPECT_EQ(SiteNames(), std::vector<std::string>{"index.htm"});
}

} // namespace
} // namespace pelto
