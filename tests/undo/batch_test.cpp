// Many pages at once: a page that fails is reported and the others go on; the batch is
// one change for undo; several jobs give the same bytes as one.
#include "attach/attach_fixture.h"
#include "attach/batch_apply.h"
#include "attach/output_folder.h"
#include "attach/recorded_run.h"
#include "undo/undo_store.h"

#include <gtest/gtest.h>

#include <fstream>

namespace pelto {
namespace {

namespace fs = std::filesystem;

void Write(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// Every file below folder, by relative path.
std::map<std::string, std::string> Tree(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        if (e.is_regular_file())
            files[fs::relative(e.path(), folder).string()] = test::ReadAll(e.path());
    return files;
}

std::string PageText(int k) {
    return "<html><head></head>\r\n<body onload=\"start()\">\r\n<p>Page " + std::to_string(k) +
           "</p>\r\n</body></html>\r\n";
}

class BatchTest : public test::AttachFixture {
protected:
    void SetUp() override {
        AttachFixture::SetUp();
        // Ids and handler chaining make each page's result depend on the run's counters:
        // a batch must start every page from the same ones.
        AddScript("fx", {{"Head", "<script>var n\xAE"
                                  "App,INTSEQUENCE\xAF = 1;</script>"},
                         {"Body_Onload", "go\xAE"
                                         "App,INTSEQUENCE\xAF();"},
                         {"External", "var shared = 2;", "fx.js"},
                         {"Body_End", "<p>made by fx</p>"}});
    }
    // A site of n pages in two folders; page `bad` (if any) has no body.
    std::vector<std::string> MakeSite(const fs::path& root, int n, int bad = -1) {
        std::vector<std::string> pages;
        for (int k = 0; k < n; ++k) {
            const fs::path p = root / (k % 2 ? "a" : "b") / ("p" + std::to_string(k) + ".htm");
            Write(p, k == bad ? "<html><p>no body here</p></html>" : PageText(k));
            pages.push_back(p.string());
        }
        return pages;
    }
};

TEST_F(BatchTest, AFailingPageIsReportedTheOthersAreDoneAndUndoneTogether) {
    test::TempFolder site;
    const auto pages = MakeSite(site.path(), 5, 2);
    const auto before = Tree(site.path());
    BatchRequest request;
    request.option = OutputOption::Overwrite;
    request.overwriteConfirmed = true;
    request.jobs = 2;
    auto outcome = ApplyToPages(ws, pages, request);
    ASSERT_TRUE(outcome.ok()) << outcome.error().text();
    EXPECT_EQ(outcome->done, 4u);
    EXPECT_EQ(outcome->failed, 1u);
    ASSERT_EQ(outcome->pages.size(), 5u);
    for (int k = 0; k < 5; ++k) {
        const PageResult& r = outcome->pages[k];
        EXPECT_EQ(r.page, pages[k]);
        if (k == 2) {
            EXPECT_EQ(r.state, PageState::Failed);
            EXPECT_NE(r.message.find(pages[2]), std::string::npos) << r.message;
            EXPECT_NE(r.message.find("tag"), std::string::npos) << r.message;
            EXPECT_EQ(test::ReadAll(pages[2]), "<html><p>no body here</p></html>");
        } else {
            EXPECT_EQ(r.state, PageState::Done) << r.message;
            EXPECT_NE(test::ReadAll(pages[k]).find("made by fx"), std::string::npos);
        }
    }
    // Nothing of the batch stays in the output folder once the pages have their results.
    EXPECT_TRUE(outcome->outputArea.empty());
    EXPECT_TRUE(fs::is_empty(ws.OutputFolder()));

    UndoStore store(ChangeRecordsFolder(ws));
    auto history = store.History();
    ASSERT_EQ(history->size(), 1u);
    EXPECT_EQ((*history)[0].id, outcome->changeId);
    EXPECT_EQ((*history)[0].pages.size(), 4u);
    auto undone = store.Undo("", false);
    ASSERT_TRUE(undone.ok()) << undone.error().text();
    EXPECT_TRUE(undone->undone);
    EXPECT_EQ(Tree(site.path()), before);
}

TEST_F(BatchTest, SeveralJobsWriteTheSameBytesAsOne) {
    for (OutputOption option : {OutputOption::Copy, OutputOption::Overwrite}) {
        test::TempFolder one, many;
        const auto pagesOne = MakeSite(one.path(), 24);
        const auto pagesMany = MakeSite(many.path(), 24);
        BatchRequest request;
        request.option = option;
        request.overwriteConfirmed = true;
        request.jobs = 1;
        ASSERT_TRUE(ApplyToPages(ws, pagesOne, request).ok());
        request.jobs = 4;
        ASSERT_TRUE(ApplyToPages(ws, pagesMany, request).ok());
        const auto a = Tree(one.path());
        const auto b = Tree(many.path());
        EXPECT_EQ(a.size(), option == OutputOption::Copy ? 24u * 2 + 2 : 24u + 2);
        EXPECT_EQ(a, b);
    }
}

TEST_F(BatchTest, PreviewResultsStayInTheBatchAreaOnePerPage) {
    test::TempFolder site;
    const auto pages = MakeSite(site.path(), 3);
    const auto before = Tree(site.path());
    BatchRequest request;
    request.jobs = 3;
    auto outcome = ApplyToPages(ws, pages, request);
    ASSERT_TRUE(outcome.ok());
    EXPECT_TRUE(outcome->changeId.empty());
    EXPECT_EQ(Tree(site.path()), before);
    ASSERT_FALSE(outcome->outputArea.empty());
    for (int k = 0; k < 3; ++k) {
        const fs::path result =
            fs::path(outcome->outputArea) / std::to_string(k + 1) / "result.htm";
        EXPECT_EQ(outcome->pages[k].result, result.string());
        EXPECT_NE(test::ReadAll(result).find("Page " + std::to_string(k)), std::string::npos);
    }
}

TEST_F(BatchTest, ACopyThatWouldReplaceAnotherPageOfTheRunIsRefused) {
    test::TempFolder site;
    Write(site.path() / "index.htm", PageText(1));
    Write(site.path() / "index_1.htm", PageText(2));
    BatchRequest request;
    request.option = OutputOption::Copy;
    auto outcome = ApplyToPages(
        ws, {(site.path() / "index.htm").string(), (site.path() / "index_1.htm").string()},
        request);
    ASSERT_TRUE(outcome.ok());
    EXPECT_EQ(outcome->pages[0].state, PageState::Failed);
    EXPECT_NE(outcome->pages[0].message.find("index_1.htm"), std::string::npos);
    EXPECT_EQ(outcome->pages[1].state, PageState::Done);
    EXPECT_EQ(test::ReadAll(site.path() / "index_1.htm"), PageText(2));
}

TEST_F(BatchTest, CancellingStopsBeforeTheNextPage) {
    test::TempFolder site;
    const auto pages = MakeSite(site.path(), 6);
    std::atomic<bool> cancel{false};
    std::vector<std::string> started;
    BatchRequest request;
    request.option = OutputOption::Copy;
    request.cancel = &cancel;
    request.progress = [&](const BatchProgress& p) {
        if (p.starting)
            started.push_back(p.page);
        else if (p.finished == 2)
            cancel = true;
    };
    auto outcome = ApplyToPages(ws, pages, request);
    ASSERT_TRUE(outcome.ok());
    EXPECT_TRUE(outcome->cancelled);
    EXPECT_EQ(outcome->done, 2u);
    EXPECT_EQ(outcome->notRun, 4u);
    EXPECT_EQ(started, (std::vector<std::string>{pages[0], pages[1]}));
    EXPECT_FALSE(fs::exists(CopyPagePath(pages[2])));
    EXPECT_NE(outcome->pages[5].message.find("cancelled"), std::string::npos);
}

TEST_F(BatchTest, FindPagesWalksSubfoldersAndLeavesOutCopiesAndPeltosFolders) {
    test::TempFolder site;
    Write(site.path() / "index.htm", "x");
    Write(site.path() / "index_1.htm", "x");
    Write(site.path() / "deep" / "er" / "page.html", "x");
    Write(site.path() / "notes.txt", "x");
    Write(site.path() / "output" / "result.htm", "x");
    auto all = FindPages(site.path(), {"*.htm", "*.html"}, {site.path() / "output"}, false);
    ASSERT_TRUE(all.ok());
    EXPECT_EQ(*all, (std::vector<std::string>{(site.path() / "deep/er/page.html").string(),
                                              (site.path() / "index.htm").string(),
                                              (site.path() / "index_1.htm").string()}));
    auto copies = FindPages(site.path(), {"*.htm"}, {site.path() / "output"}, true);
    EXPECT_EQ(*copies, std::vector<std::string>{(site.path() / "index.htm").string()});
    EXPECT_FALSE(FindPages(site.path() / "missing", {"*.htm"}, {}, false).ok());
}

} // namespace
} // namespace pelto
