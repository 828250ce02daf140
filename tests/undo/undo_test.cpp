// Undo of what "Do it" wrote into the user's folder: the page, the "_1" copy and the
// effect's files beside the page; refused after a later edit unless forced; pruning;
// the output folder's lock.
#include "attach/attach_fixture.h"
#include "attach/recorded_run.h"
#include "common/file_lock.h"
#include "undo/sha256.h"
#include "undo/undo_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace pelto {
namespace {

namespace fs = std::filesystem;

const std::string kPage = "<html><head><title>Mine</title></head>\r\n<body>\r\n<p>Hello</p>\r\n"
                          "</body></html>\r\n";

void Write(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class UndoTest : public test::AttachFixture {
protected:
    test::TempFolder site;
    fs::path page;

    void SetUp() override {
        AttachFixture::SetUp();
        AddScript("fx", {{"Head", "<script>var fx = 1;</script>"},
                         {"External", "var shared = 2;", "fx.js"},
                         {"External", "p { color: red }", "fx.css"},
                         {"Body_End", "<p>made by fx</p>"}});
        page = site.path() / "index.htm";
        Write(page, kPage);
        ws.SampleFile = page.string();
    }
    Result<RecordedOutcome> Run(OutputOption option) {
        DoItRequest request;
        request.option = option;
        request.confirmOverwrite = [] { return true; };
        return DoItRecorded(ws, request, FileLock::Wait::No);
    }
    UndoStore Store() { return UndoStore(ChangeRecordsFolder(ws)); }
    // name -> bytes of every file in the page's folder.
    std::map<std::string, std::string> Site() {
        std::map<std::string, std::string> files;
        for (const auto& e : fs::directory_iterator(site.path()))
            files[e.path().filename().string()] = test::ReadAll(e.path());
        return files;
    }
};

struct OptionCase {
    const char* name;
    OutputOption option;
    const char* written; // the page file the run writes
};

class UndoEachOption : public UndoTest, public ::testing::WithParamInterface<OptionCase> {};

// Before the run the folder holds the page and an older fx.css of the user's; the run
// writes the page (or its copy), fx.js (new) and fx.css (replaced). Undo brings back
// exactly the folder as it was.
TEST_P(UndoEachOption, BringsBackTheFolderAsItWas) {
    Write(site.path() / "0fx.css", "user's own css");
    fs::permissions(site.path() / "0fx.css", fs::perms::owner_read | fs::perms::owner_write);
    const auto before = Site();
    auto run = Run(GetParam().option);
    ASSERT_TRUE(run.ok()) << run.error().text();
    ASSERT_FALSE(run->changeId.empty());
    EXPECT_NE(Site(), before);
    EXPECT_NE(test::ReadAll(site.path() / GetParam().written).find("made by fx"),
              std::string::npos);
    EXPECT_EQ(test::ReadAll(site.path() / "0fx.js"), "var shared = 2;\r\n\r\n");

    auto history = Store().History();
    ASSERT_TRUE(history.ok());
    ASSERT_EQ(history->size(), 1u);
    EXPECT_EQ((*history)[0].id, run->changeId);
    EXPECT_EQ((*history)[0].scriptId, "fx");
    EXPECT_EQ((*history)[0].option, OptionName(GetParam().option));
    EXPECT_EQ((*history)[0].pages, std::vector<std::string>{page.string()});
    EXPECT_TRUE((*history)[0].complete);

    auto undone = Store().Undo("", false);
    ASSERT_TRUE(undone.ok()) << undone.error().text();
    EXPECT_TRUE(undone->undone);
    EXPECT_EQ(Site(), before);
    EXPECT_EQ(fs::status(site.path() / "0fx.css").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_TRUE(Store().History()->empty()); // the next undo takes the change before
}

INSTANTIATE_TEST_SUITE_P(Options, UndoEachOption,
                         ::testing::Values(OptionCase{"overwrite", OutputOption::Overwrite,
                                                      "index.htm"},
                                           OptionCase{"copy", OutputOption::Copy, "index_1.htm"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(UndoTest, PreviewAndADeclinedOverwriteRecordNothing) {
    ASSERT_TRUE(Run(OutputOption::Preview).ok());
    DoItRequest request;
    request.option = OutputOption::Overwrite;
    request.confirmOverwrite = [] { return false; };
    auto declined = DoItRecorded(ws, request, FileLock::Wait::No);
    ASSERT_TRUE(declined.ok());
    EXPECT_TRUE(declined->changeId.empty());
    EXPECT_TRUE(Store().History()->empty());
    EXPECT_EQ(test::ReadAll(page), kPage);
}

TEST_F(UndoTest, AFileEditedSinceIsNamedAndNothingChangesUnlessForced) {
    auto run = Run(OutputOption::Overwrite);
    ASSERT_TRUE(run.ok()) << run.error().text();
    const std::string applied = test::ReadAll(page);
    Write(site.path() / "0fx.js", "edited by hand");

    auto refused = Store().Undo("", false);
    ASSERT_TRUE(refused.ok()) << refused.error().text();
    EXPECT_FALSE(refused->undone);
    EXPECT_EQ(refused->changedSince, std::vector<std::string>{(site.path() / "0fx.js").string()});
    EXPECT_EQ(test::ReadAll(page), applied);
    EXPECT_EQ(test::ReadAll(site.path() / "0fx.js"), "edited by hand");
    EXPECT_EQ(Store().History()->size(), 1u);

    auto forced = Store().Undo(run->changeId, true);
    ASSERT_TRUE(forced.ok()) << forced.error().text();
    EXPECT_TRUE(forced->undone);
    EXPECT_EQ(test::ReadAll(page), kPage);
    EXPECT_FALSE(fs::exists(site.path() / "0fx.js"));
}

TEST_F(UndoTest, AnOlderChangeUnderALaterOneIsRefusedTheLaterOneUndoesFirst) {
    auto first = Run(OutputOption::Overwrite);
    ASSERT_TRUE(first.ok());
    const std::string once = test::ReadAll(page);
    auto second = Run(OutputOption::Overwrite);
    ASSERT_TRUE(second.ok());
    ASSERT_NE(first->changeId, second->changeId);

    auto older = Store().Undo(first->changeId, false);
    ASSERT_TRUE(older.ok());
    EXPECT_FALSE(older->undone);
    EXPECT_EQ(older->changedSince, std::vector<std::string>{page.string()});

    ASSERT_TRUE(Store().Undo("", false)->undone);
    EXPECT_EQ(test::ReadAll(page), once);
    ASSERT_TRUE(Store().Undo("", false)->undone);
    EXPECT_EQ(test::ReadAll(page), kPage);
    auto none = Store().Undo("", false);
    ASSERT_FALSE(none.ok());
    EXPECT_NE(none.error().message.find("no change"), std::string::npos);
}

TEST_F(UndoTest, ADamagedBeforeCopyStopsTheUndoBeforeItTouchesAFile) {
    auto run = Run(OutputOption::Overwrite);
    ASSERT_TRUE(run.ok());
    const std::string applied = test::ReadAll(page);
    const fs::path record = ChangeRecordsFolder(ws) / run->changeId;
    bool damaged = false;
    for (const auto& e : fs::directory_iterator(record))
        if (e.path().extension() == ".before") {
            Write(e.path(), "not what was there");
            damaged = true;
        }
    ASSERT_TRUE(damaged);
    auto undone = Store().Undo("", true);
    ASSERT_FALSE(undone.ok());
    EXPECT_NE(undone.error().file.find(".before"), std::string::npos) << undone.error().text();
    EXPECT_EQ(test::ReadAll(page), applied);
}

TEST_F(UndoTest, ADamagedRecordIsListedWithItsReasonAndTheOthersStayUsable) {
    auto first = Run(OutputOption::Overwrite);
    ASSERT_TRUE(first.ok());
    auto second = Run(OutputOption::Copy);
    ASSERT_TRUE(second.ok());
    const fs::path manifest = ChangeRecordsFolder(ws) / second->changeId / "manifest";
    Write(manifest, "pelto-change\t1\nfile\tbroken\n");
    auto history = Store().History();
    ASSERT_TRUE(history.ok());
    ASSERT_EQ(history->size(), 2u);
    EXPECT_NE((*history)[0].damaged.find(manifest.string() + ": line 2"), std::string::npos)
        << (*history)[0].damaged;
    EXPECT_TRUE((*history)[1].damaged.empty());
    auto refused = Store().Undo(second->changeId, true);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.error().file, manifest.string());
    auto undone = Store().Undo(first->changeId, false);
    ASSERT_TRUE(undone.ok()) << undone.error().text();
    EXPECT_TRUE(undone->undone);
    EXPECT_EQ(test::ReadAll(page), kPage);
}

TEST_F(UndoTest, ARunThatIsCutShortUndoesWhatItWrote) {
    // The record of a run that stopped after its first file: the second file is still
    // as it was, and undo restores the first without asking.
    Write(site.path() / "a.htm", "old a");
    Write(site.path() / "b.htm", "old b");
    UndoStore store = Store();
    {
        auto writer = store.Begin("fx", "Effect fx", "overwrite");
        ASSERT_TRUE(writer.ok()) << writer.error().text();
        std::vector<PendingWrite> writes = {{site.path() / "a.htm", "new a"},
                                            {site.path() / "b.htm", "new b"}};
        ASSERT_TRUE((*writer)->Record((site.path() / "a.htm").string(), writes).ok());
        Write(site.path() / "a.htm", "new a");
    } // no Finish: the run ended here
    auto history = store.History();
    ASSERT_EQ(history->size(), 1u);
    EXPECT_FALSE((*history)[0].complete);
    auto undone = store.Undo("", false);
    ASSERT_TRUE(undone.ok()) << undone.error().text();
    EXPECT_TRUE(undone->undone);
    EXPECT_EQ(undone->restored, std::vector<std::string>{(site.path() / "a.htm").string()});
    EXPECT_EQ(test::ReadAll(site.path() / "a.htm"), "old a");
    EXPECT_EQ(test::ReadAll(site.path() / "b.htm"), "old b");
}

// The "_1" copy a run replaces is kept as it was, whatever other names it has: undo
// brings back its bytes even after one of those names was written in place.
TEST_F(UndoTest, AReplacedCopyIsKeptWhateverOtherNamesItHas) {
    const fs::path copy = site.path() / "index_1.htm";
    const fs::path other = site.path() / "also.htm";
    struct Case {
        const char* what;
        bool secondName;  // the copy has another name, written to after the run
        bool madeByPelto; // the copy is the result of an earlier run (linked from output)
    } cases[] = {{"a copy of the user's own", false, false},
                 {"a copy with a second name", true, false},
                 {"the copy of an earlier run", false, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove(other);
        if (c.madeByPelto) {
            ASSERT_TRUE(Run(OutputOption::Copy).ok());
        } else {
            fs::remove(copy);
            Write(copy, "the old copy");
        }
        if (c.secondName)
            fs::create_hard_link(copy, other);
        const std::string old = test::ReadAll(copy);
        auto run = Run(OutputOption::Copy);
        ASSERT_TRUE(run.ok()) << run.error().text();
        ASSERT_NE(test::ReadAll(copy).find("made by fx"), std::string::npos);
        if (c.secondName) {
            EXPECT_EQ(test::ReadAll(other), old); // the run gave the copy new bytes, not it
            Write(other, "written through the other name");
        }
        auto undone = Store().Undo(run->changeId, false);
        ASSERT_TRUE(undone.ok()) << undone.error().text();
        EXPECT_EQ(test::ReadAll(copy), old);
    }
}

// A page of more than a megabyte is hashed while it is written: the record still says
// exactly what was written, so undo finds the copy unchanged and restores it unasked.
TEST_F(UndoTest, ALargePageIsRecordedAsWrittenAndUndone) {
    std::string big = "<html><head></head><body>\r\n";
    while (big.size() < (size_t{3} << 19))
        big += "<p>Some text of a long page, with a <a href=\"x.htm\">link</a>.</p>\r\n";
    big += "</body></html>\r\n";
    Write(page, big);
    ASSERT_TRUE(Run(OutputOption::Copy).ok());
    const fs::path copy = site.path() / "index_1.htm";
    const std::string first = test::ReadAll(copy);
    Write(page, big + "<!-- changed -->\r\n");
    auto run = Run(OutputOption::Copy);
    ASSERT_TRUE(run.ok()) << run.error().text();
    auto history = Store().History();
    ASSERT_TRUE(history.ok());
    bool listed = false;
    ASSERT_EQ(history->front().id, run->changeId); // the newest comes first
    for (const ChangedFile& f : history->front().files)
        if (fs::path(f.path).filename() == "index_1.htm") {
            listed = true;
            EXPECT_NE(test::ReadAll(copy), first);
            EXPECT_EQ(f.afterSha, Sha256Hex(test::ReadAll(copy)));
            EXPECT_EQ(f.beforeSha, Sha256Hex(first));
        }
    EXPECT_TRUE(listed);
    auto undone = Store().Undo("", false);
    ASSERT_TRUE(undone.ok()) << undone.error().text();
    EXPECT_TRUE(undone->undone);
    EXPECT_EQ(test::ReadAll(copy), first);
}

// Makes n recorded changes of one file of the given size each.
void MakeChanges(UndoStore& store, const fs::path& folder, int n, size_t size) {
    for (int k = 0; k < n; ++k) {
        const fs::path file = folder / ("f" + std::to_string(k) + ".htm");
        Write(file, std::string(size, 'o'));
        auto writer = store.Begin("fx", "Effect fx", "overwrite");
        ASSERT_TRUE(writer.ok());
        ASSERT_TRUE((*writer)->Record(file.string(), {{file, "new"}}).ok());
        ASSERT_TRUE((*writer)->Finish().ok());
    }
}

TEST_F(UndoTest, PruningKeepsTheLastHundredChanges) {
    UndoStore store = Store();
    MakeChanges(store, site.path(), 102, 10);
    auto history = store.History();
    ASSERT_TRUE(history.ok());
    ASSERT_EQ(history->size(), 100u);
    // The two oldest went: the oldest kept changed f2.htm.
    EXPECT_EQ(history->back().pages, std::vector<std::string>{(site.path() / "f2.htm").string()});
    EXPECT_EQ(history->front().pages,
              std::vector<std::string>{(site.path() / "f101.htm").string()});
}

TEST_F(UndoTest, PruningKeepsTheRecordsWithinTheSizeLimitOldestFirst) {
    // Each record holds a 4,000-byte copy; 10,000 bytes hold two of them.
    UndoStore store(ChangeRecordsFolder(ws), 100, 10000);
    MakeChanges(store, site.path(), 5, 4000);
    auto history = store.History();
    ASSERT_EQ(history->size(), 2u);
    EXPECT_EQ(history->back().pages, std::vector<std::string>{(site.path() / "f3.htm").string()});
    // A single change larger than the limit is still kept: it is the one to undo.
    UndoStore tiny(ChangeRecordsFolder(ws), 100, 100);
    MakeChanges(tiny, site.path(), 1, 4000);
    EXPECT_EQ(tiny.History()->size(), 1u);
}

// Runs prune by the sizes kept beside the records; whatever became of that file or of the
// records meanwhile, the limits hold exactly: no record goes before its time, none stays.
struct SizesCase {
    const char* label;
    std::function<void(const fs::path& store)> meddle;
    size_t kept; // records after two more changes, with a limit of three
};

class PruningWhateverTheSizes : public UndoTest, public ::testing::WithParamInterface<SizesCase> {};

TEST_P(PruningWhateverTheSizes, KeepsTheLimitExactly) {
    UndoStore store(ChangeRecordsFolder(ws), 3);
    MakeChanges(store, site.path(), 3, 10);
    ASSERT_EQ(store.History()->size(), 3u);
    GetParam().meddle(store.folder());
    MakeChanges(store, site.path(), 2, 10);
    auto history = store.History();
    ASSERT_TRUE(history.ok());
    EXPECT_EQ(history->size(), GetParam().kept);
    // The newest are the ones kept.
    EXPECT_EQ(history->front().pages, std::vector<std::string>{(site.path() / "f1.htm").string()});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PruningWhateverTheSizes,
    ::testing::Values(
        SizesCase{"Untouched", [](const fs::path&) {}, 3},
        SizesCase{"SizesGone", [](const fs::path& s) { fs::remove(s / "sizes"); }, 3},
        SizesCase{"SizesGarbled", [](const fs::path& s) { Write(s / "sizes", "x\t\n"); }, 3},
        SizesCase{"SizesCutShort",
                  [](const fs::path& s) {
                      std::string text = test::ReadAll(s / "sizes");
                      Write(s / "sizes", text.substr(0, text.size() - 3));
                  },
                  3},
        // Two records removed by hand are not counted: nothing else goes early.
        SizesCase{"RecordsRemovedByHand",
                  [](const fs::path& s) {
                      std::vector<fs::path> records;
                      for (const auto& e : fs::directory_iterator(s))
                          if (e.is_directory())
                              records.push_back(e.path());
                      std::sort(records.begin(), records.end());
                      fs::remove_all(records[0]);
                      fs::remove_all(records[1]);
                  },
                  3},
        // A run that died after recording left a record the sizes do not know: it counts.
        SizesCase{"ARecordOfARunThatDied",
                  [](const fs::path& s) {
                      const fs::path file = s.parent_path() / "died.htm";
                      Write(file, "old");
                      const pid_t child = ::fork();
                      if (child == 0) {
                          UndoStore store(s, 3);
                          auto writer = store.Begin("fx", "Effect fx", "overwrite");
                          const bool ok =
                              writer.ok() && (*writer)->Record(file.string(), {{file, "new"}}).ok();
                          ::_exit(ok ? 0 : 1); // never finished, as a killed run
                      }
                      int status = -1;
                      ASSERT_EQ(::waitpid(child, &status, 0), child);
                      ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
                  },
                  3}),
    [](const auto& info) { return std::string(info.param.label); });

// An undone change no longer counts: the next run keeps as many as there is room for.
TEST_F(UndoTest, AnUndoneChangeIsNotCountedAgainstTheLimit) {
    UndoStore store(ChangeRecordsFolder(ws), 100, 10000);
    MakeChanges(store, site.path(), 2, 4000);
    auto undone = store.Undo("", true);
    ASSERT_TRUE(undone.ok()) << undone.error().text();
    MakeChanges(store, site.path(), 1, 4000);
    EXPECT_EQ(store.History()->size(), 2u);
}

TEST_F(UndoTest, ARunHoldingTheOutputFolderStopsAnotherWithAMessage) {
    auto held = FileLock::Take(OutputLockFile(ws.OutputFolder()), "test", FileLock::Wait::No);
    ASSERT_TRUE(held.ok());
    // The lock is per open file, so a second take in this process also meets it.
    auto run = Run(OutputOption::Overwrite);
    ASSERT_FALSE(run.ok());
    EXPECT_NE(run.error().message.find("in use by another Pelto run"), std::string::npos)
        << run.error().text();
    EXPECT_EQ(test::ReadAll(page), kPage);
    *held = FileLock();
    EXPECT_TRUE(Run(OutputOption::Overwrite).ok());
}

TEST(Sha256, KnownDigests) {
    EXPECT_EQ(Sha256Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

} // namespace
} // namespace pelto
