// Undo and runs that meet, pages told apart by the file they are, no writing through
// links, planted or damaged records, permissions and owners, the order of changes, the
// leftovers of killed runs, and a record that says complete only when it is.
#include "attach/attach_fixture.h"
#include "attach/batch_apply.h"
#include "attach/recorded_run.h"
#include "common/file_lock.h"
#include "common/files.h"
#include "undo/sha256.h"
#include "undo/undo_store.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <mutex>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace pelto {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const std::string kPage = "<html><head><title>Mine</title></head>\r\n<body>\r\n<p>Hello</p>\r\n"
                          "</body></html>\r\n";

void Write(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// A signal one thread gives and another waits for. The wait is bounded only so that a
// build without the folder lock fails instead of hanging: the lock makes the signal come.
class Latch {
public:
    void Open() {
        std::lock_guard<std::mutex> guard(mutex_);
        open_ = true;
        changed_.notify_all();
    }
    bool Wait() {
        std::unique_lock<std::mutex> guard(mutex_);
        return changed_.wait_for(guard, 20s, [this] { return open_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = false;
};

// A process number that no process has: a child that has ended and been reaped.
long DeadProcess() {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    return child;
}

class SafetyTest : public test::AttachFixture {
protected:
    test::TempFolder site;
    fs::path page;

    void SetUp() override {
        AttachFixture::SetUp();
        AddScript("fx", {{"Head", "<script>var fx = 1;</script>"},
                         {"External", "var shared = 2;", "fx.js"},
                         {"Body_End", "<p>made by fx</p>"}});
        page = site.path() / "index.htm";
        Write(page, kPage);
        ws.SampleFile = page.string();
    }
    DoItRequest Request(OutputOption option) {
        DoItRequest request;
        request.option = option;
        request.confirmOverwrite = [] { return true; };
        return request;
    }
    Result<RecordedOutcome> Run(OutputOption option) {
        return DoItRecorded(ws, Request(option), FileLock::Wait::Yes);
    }
    BatchRequest Batch(OutputOption option) {
        BatchRequest request;
        request.option = option;
        request.overwriteConfirmed = true;
        return request;
    }
    UndoStore Store() { return UndoStore(ChangeRecordsFolder(ws)); }
};

// ---------------------------------------------------------------------------------------
// A run and an undo, or two runs, that reach the same page at once. The first one stops
// between recording its files and renaming them over the page; there it starts the second
// and goes on only once the second waits for the page's folder.

enum class Second { UndoOfTheFirstChange, AnotherBatch };

struct MeetCase {
    const char* name;
    Second second;
};

class RunsThatMeet : public SafetyTest, public ::testing::WithParamInterface<MeetCase> {};

TEST_P(RunsThatMeet, TheLaterOneSeesTheEarlierOnesBytesAndNothingIsLost) {
    // Set-up: change 1 overwrote the page (its record holds the original).
    auto first = Run(OutputOption::Overwrite);
    ASSERT_TRUE(first.ok()) << first.error().text();
    const std::string applied = test::ReadAll(page);
    AddScript("gx", {{"Body_End", "<p>made by gx</p>"}});

    Latch secondWaits;
    std::thread secondThread;
    Result<UndoOutcome> undo = MakeError("", 0, "not run");
    Result<BatchOutcome> other = MakeError("", 0, "not run");
    BatchRequest running = Batch(OutputOption::Overwrite);
    running.afterRecording = [&](const std::string&) {
        secondThread = std::thread([&] {
            auto waiting = [&](const std::string&) { secondWaits.Open(); };
            if (GetParam().second == Second::UndoOfTheFirstChange) {
                undo = Store().Undo(first->changeId, false, waiting);
            } else {
                BatchRequest b = Batch(OutputOption::Overwrite);
                b.waiting = waiting;
                other = ApplyToPages(ws, {page.string()}, b);
            }
        });
        secondWaits.Wait();
    };
    auto batch = ApplyToPages(ws, {page.string()}, running);
    secondThread.join();
    ASSERT_TRUE(batch.ok()) << batch.error().text();
    ASSERT_EQ(batch->done, 1u) << batch->pages[0].message;
    const std::string written = test::ReadAll(page);
    EXPECT_NE(written, applied);

    if (GetParam().second == Second::UndoOfTheFirstChange) {
        // The undo ran after the rename: it names the page as changed since and keeps
        // change 1, whose record still holds the original.
        ASSERT_TRUE(undo.ok()) << undo.error().text();
        EXPECT_FALSE(undo->undone);
        EXPECT_EQ(undo->changedSince, std::vector<std::string>{page.string()});
        EXPECT_EQ(test::ReadAll(page), written);
        // Undoing the batch, then change 1, gives the original back.
        ASSERT_TRUE(Store().Undo(batch->changeId, false).ok());
        auto back = Store().Undo(first->changeId, false);
        ASSERT_TRUE(back.ok()) << back.error().text();
        EXPECT_TRUE(back->undone);
        EXPECT_EQ(test::ReadAll(page), kPage);
    } else {
        // The other batch read the page before the rename: it refuses to write over bytes
        // it never saw, and says so; the page keeps the first batch's result, which undoes.
        ASSERT_TRUE(other.ok()) << other.error().text();
        EXPECT_EQ(other->done, 0u);
        ASSERT_EQ(other->pages.size(), 1u);
        EXPECT_EQ(other->pages[0].state, PageState::Failed);
        EXPECT_NE(other->pages[0].message.find("was changed by another run"), std::string::npos)
            << other->pages[0].message;
        EXPECT_EQ(test::ReadAll(page), written);
        auto undone = Store().Undo(batch->changeId, false);
        ASSERT_TRUE(undone.ok()) << undone.error().text();
        EXPECT_TRUE(undone->undone);
        EXPECT_EQ(test::ReadAll(page), applied);
    }
}

INSTANTIATE_TEST_SUITE_P(Meet, RunsThatMeet,
                         ::testing::Values(MeetCase{"UndoWhileALaterRunIsBetweenRecordAndRename",
                                                    Second::UndoOfTheFirstChange},
                                           MeetCase{"TwoBatchesOverTheSamePage",
                                                    Second::AnotherBatch}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------
// A page named twice in one batch (through a link, or spelt another way) is one page.

struct SamePageCase {
    const char* name;
    std::string (*other)(const fs::path& page); // the second name, made in the folder
};

class PagesAreFiles : public SafetyTest, public ::testing::WithParamInterface<SamePageCase> {};

TEST_P(PagesAreFiles, AreAppliedOnceAndUndoneWhole) {
    const std::string second = GetParam().other(page);
    auto batch = ApplyToPages(ws, {page.string(), second}, Batch(OutputOption::Overwrite));
    ASSERT_TRUE(batch.ok()) << batch.error().text();
    EXPECT_EQ(batch->pages.size(), 1u);
    EXPECT_EQ(batch->failed, 0u);
    EXPECT_EQ(Count(test::ReadAll(page), "made by fx"), 1u);
    auto undone = Store().Undo(batch->changeId, false);
    ASSERT_TRUE(undone.ok()) << undone.error().text();
    EXPECT_TRUE(undone->undone);
    EXPECT_EQ(test::ReadAll(page), kPage);
}

INSTANTIATE_TEST_SUITE_P(
    Names, PagesAreFiles,
    ::testing::Values(SamePageCase{"ThroughALink",
                                   [](const fs::path& p) {
                                       fs::create_symlink(p, p.parent_path() / "link.htm");
                                       return (p.parent_path() / "link.htm").string();
                                   }},
                      SamePageCase{"ThroughALinkedFolder",
                                   [](const fs::path& p) {
                                       const fs::path alias = p.parent_path() / "alias";
                                       fs::create_directory_symlink(p.parent_path(), alias);
                                       return (alias / p.filename()).string();
                                   }},
                      SamePageCase{
                          "SpeltAnotherWay",
                          [](const fs::path& p) {
                              fs::create_directory(p.parent_path() / "sub");
                              return (p.parent_path() / "sub" / ".." / "." / p.filename()).string();
                          }}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------
// Nothing is written through a link Pelto did not follow on purpose.

struct LinkCase {
    const char* name;
    OutputOption option;
    const char* link; // made in the page's folder, pointing at the outside file
    bool undoAfterSwap;
    const char* expected; // in the error
};

class NoWritesThroughLinks : public SafetyTest, public ::testing::WithParamInterface<LinkCase> {};

TEST_P(NoWritesThroughLinks, TheLinksTargetKeepsItsBytes) {
    test::TempFolder elsewhere;
    const fs::path outside = elsewhere.path() / ".profile";
    Write(outside, "export PATH=/bin\n");
    const LinkCase& c = GetParam();
    if (c.undoAfterSwap) {
        auto run = Run(c.option);
        ASSERT_TRUE(run.ok()) << run.error().text();
        fs::remove(site.path() / c.link);
        fs::create_symlink(outside, site.path() / c.link);
        for (bool force : {false, true}) {
            auto undo = Store().Undo(run->changeId, force);
            ASSERT_FALSE(undo.ok());
            EXPECT_NE(undo.error().text().find(c.expected), std::string::npos)
                << undo.error().text();
        }
        EXPECT_EQ(Store().History()->size(), 1u); // kept, to undo once the link is gone
    } else {
        fs::create_symlink(outside, site.path() / c.link);
        auto run = Run(c.option);
        ASSERT_FALSE(run.ok());
        EXPECT_NE(run.error().text().find(c.expected), std::string::npos) << run.error().text();
        EXPECT_EQ(test::ReadAll(page), kPage);
        EXPECT_TRUE(Store().History()->empty());
    }
    EXPECT_EQ(test::ReadAll(outside), "export PATH=/bin\n");
    EXPECT_TRUE(fs::is_symlink(site.path() / c.link));
}

INSTANTIATE_TEST_SUITE_P(
    Links, NoWritesThroughLinks,
    ::testing::Values(LinkCase{"TheCopysNameIsALink", OutputOption::Copy, "index_1.htm", false,
                               "is a symbolic link"},
                      LinkCase{"AnEffectFileNameIsALink", OutputOption::Overwrite, "0fx.js", false,
                               "is a symbolic link"},
                      LinkCase{"ThePageIsSwappedForALinkBeforeUndo", OutputOption::Overwrite,
                               "index.htm", true, "is now a symbolic link"},
                      LinkCase{"ACopyIsSwappedForALinkBeforeUndo", OutputOption::Copy,
                               "index_1.htm", true, "is now a symbolic link"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SafetyTest, APageNamedThroughALinkIsReplacedWhereItLiesAndTheLinkStays) {
    test::TempFolder other;
    const fs::path link = other.path() / "index.htm";
    fs::create_symlink(page, link);
    ws.SampleFile = link.string();
    auto run = Run(OutputOption::Overwrite);
    ASSERT_TRUE(run.ok()) << run.error().text();
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_NE(test::ReadAll(page).find("made by fx"), std::string::npos);
    EXPECT_TRUE(fs::exists(site.path() / "0fx.js"));
    ASSERT_TRUE(Store().Undo("", false).ok());
    EXPECT_EQ(test::ReadAll(page), kPage);
}

TEST_F(SafetyTest, ARecursiveSearchLeavesOutLinksToFiles) {
    test::TempFolder elsewhere;
    Write(elsewhere.path() / "secret.htm", kPage);
    fs::create_symlink(elsewhere.path() / "secret.htm", site.path() / "out.htm");
    auto found = FindPages(site.path(), {"*.htm"}, {}, false);
    ASSERT_TRUE(found.ok());
    EXPECT_EQ(*found, std::vector<std::string>{page.string()});
}

// ---------------------------------------------------------------------------------------
// A damaged or planted manifest is refused whole, naming it; nothing is written.

struct ManifestCase {
    const char* name;
    // The manifest's text for a victim file; the page line names the site's page.
    std::string (*text)(const std::string& page, const std::string& victim);
    const char* expected;
};

std::string FileLine(const std::string& path, const std::string& sha) {
    ChangedFile f;
    f.number = 1;
    f.path = path;
    f.existed = false;
    f.afterSize = 1;
    f.afterSha = sha;
    return ManifestFileLine(f);
}

class PlantedManifests : public SafetyTest, public ::testing::WithParamInterface<ManifestCase> {};

TEST_P(PlantedManifests, AreRefusedAndTouchNothing) {
    test::TempFolder elsewhere;
    const fs::path victim = elsewhere.path() / "victim.txt";
    Write(victim, "x");
    const fs::path record = ChangeRecordsFolder(ws) / "000001-20261210T120000Z";
    fs::create_directories(record);
    Write(record / "manifest", GetParam().text(page.string(), victim.string()));
    // A folder of this test's own as the current one: runs of other cases at the same time
    // have their own victims.
    struct CurrentFolder {
        fs::path before = fs::current_path();
        explicit CurrentFolder(const fs::path& to) { fs::current_path(to); }
        ~CurrentFolder() { fs::current_path(before); }
    } current(elsewhere.path());
    const fs::path cwdVictim = fs::current_path() / "victim-in-cwd.txt";
    Write(cwdVictim, "x");
    for (bool force : {false, true}) {
        auto undo = Store().Undo("", force);
        ASSERT_FALSE(undo.ok());
        EXPECT_EQ(undo.error().file, (record / "manifest").string());
        EXPECT_NE(undo.error().message.find(GetParam().expected), std::string::npos)
            << undo.error().text();
    }
    EXPECT_EQ(test::ReadAll(victim), "x");
    EXPECT_EQ(test::ReadAll(cwdVictim), "x");
    fs::remove(cwdVictim);
}

INSTANTIATE_TEST_SUITE_P(
    Manifests, PlantedManifests,
    ::testing::Values(
        ManifestCase{"AFileBesideNoPage",
                     [](const std::string& p, const std::string& v) {
                         return ManifestHeader("t", "fx", "n", "copy") + ManifestPageLine(p) +
                                FileLine(v, Sha256Hex("x")) + kManifestEnd;
                     },
                     "lies beside none of the change's pages"},
        ManifestCase{"ADotDotPath",
                     [](const std::string& p, const std::string& v) {
                         const fs::path up = fs::path(p).parent_path() / ".." /
                                             fs::path(v).parent_path().filename() / "victim.txt";
                         return ManifestHeader("t", "fx", "n", "copy") + ManifestPageLine(p) +
                                FileLine(up.string(), Sha256Hex("x")) + kManifestEnd;
                     },
                     "is not an absolute, normalised path"},
        ManifestCase{"ARelativePath",
                     [](const std::string& p, const std::string&) {
                         return ManifestHeader("t", "fx", "n", "copy") + ManifestPageLine(p) +
                                FileLine("victim-in-cwd.txt", Sha256Hex("x")) + kManifestEnd;
                     },
                     "is not an absolute, normalised path"},
        ManifestCase{"ARelativePage",
                     [](const std::string&, const std::string&) {
                         return ManifestHeader("t", "fx", "n", "copy") +
                                ManifestPageLine("index.htm") +
                                FileLine("victim-in-cwd.txt", Sha256Hex("x")) + kManifestEnd;
                     },
                     "is not an absolute, normalised path"},
        ManifestCase{"ADamagedLineAmongGoodOnes",
                     [](const std::string& p, const std::string&) {
                         return ManifestHeader("t", "fx", "n", "copy") + ManifestPageLine(p) +
                                "file\t1\tgarbage\n" + kManifestEnd;
                     },
                     "is not a change record line"},
        ManifestCase{"LinesAfterTheEnd",
                     [](const std::string& p, const std::string& v) {
                         return ManifestHeader("t", "fx", "n", "copy") + ManifestPageLine(p) +
                                kManifestEnd + FileLine(v, Sha256Hex("x"));
                     },
                     "after \"end\""}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------
// Permissions and owners: what replaces a file takes its mode (and owner where the process
// may give it); what Pelto keeps of a private page stays private.

fs::perms Mode(const fs::path& p) {
    return fs::symlink_status(p).permissions() & fs::perms::all;
}

constexpr fs::perms kPrivate = fs::perms::owner_read | fs::perms::owner_write;

struct ModeCase {
    const char* name;
    OutputOption option;
    const char* written;
};

class ModesAndOwners : public SafetyTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(ModesAndOwners, FollowTheFileReplacedAndStayPrivate) {
    fs::permissions(page, kPrivate);
    const fs::path written = site.path() / GetParam().written;
    if (GetParam().option == OutputOption::Copy) {
        Write(written, "an older copy");
        fs::permissions(written, kPrivate);
    }
    const bool root = ::geteuid() == 0;
    if (root) { // as the administrator, the user's files keep their owner
        ASSERT_EQ(::chown(written.c_str(), 4321, 4321), 0);
    }
    auto run = Run(GetParam().option);
    ASSERT_TRUE(run.ok()) << run.error().text();
    EXPECT_EQ(Mode(written), kPrivate);
    EXPECT_EQ(Mode(ws.OutputFolder() / "result.htm"), kPrivate);
    // The record's copy of the replaced file.
    const fs::path blob = ChangeRecordsFolder(ws) / run->changeId / "1.before";
    const fs::path anyBlob =
        fs::exists(blob) ? blob : ChangeRecordsFolder(ws) / run->changeId / "2.before";
    ASSERT_TRUE(fs::exists(anyBlob));
    EXPECT_EQ(Mode(anyBlob) & (fs::perms::group_all | fs::perms::others_all), fs::perms::none);
    EXPECT_EQ(Mode(ChangeRecordsFolder(ws) / run->changeId / "manifest"), kPrivate);
    struct stat st {};
    ASSERT_EQ(::stat(written.c_str(), &st), 0);
    if (root) {
        EXPECT_EQ(st.st_uid, 4321u);
        EXPECT_EQ(st.st_gid, 4321u);
    }
    // Undo puts the old bytes back with the same mode and owner.
    ASSERT_TRUE(Store().Undo("", false).ok());
    EXPECT_EQ(Mode(written), kPrivate);
    ASSERT_EQ(::stat(written.c_str(), &st), 0);
    if (root) {
        EXPECT_EQ(st.st_uid, 4321u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ModesAndOwners,
    ::testing::Values(ModeCase{"Overwrite", OutputOption::Overwrite, "index.htm"},
                      ModeCase{"CopyOverAnOlderCopy", OutputOption::Copy, "index_1.htm"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AtomicWriteModes, ANewFileGetsTheUsualModeAReplacingOneTheModeOfTheOld) {
    test::TempFolder folder;
    const fs::path target = folder.path() / "page.htm";
    Write(target, "old");
    fs::permissions(target, fs::perms::owner_all | fs::perms::group_read);
    ASSERT_TRUE(WriteFileAtomic(target, "new").ok());
    EXPECT_EQ(Mode(target), fs::perms::owner_all | fs::perms::group_read);
    const fs::path fresh = folder.path() / "fresh.htm";
    ASSERT_TRUE(WriteFileAtomic(fresh, "new").ok());
    EXPECT_EQ(static_cast<unsigned>(Mode(fresh)), NewFileMode());
    // No temporary file is left beside them.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 2);
}

// ---------------------------------------------------------------------------------------
// Changes keep their order when the time zone or the clock changes.

struct ClockCase {
    const char* name;
    const char* zoneFirst;
    const char* zoneSecond;
    std::chrono::hours clockStep; // between the first change and the second
    bool olderRecordFirst;        // a record of an earlier version (named by local time)
};

class ChangeOrder : public ::testing::TestWithParam<ClockCase> {
protected:
    test::TempFolder store;
    test::TempFolder site;
    std::string zone = std::getenv("TZ") ? std::getenv("TZ") : "";
    bool hadZone = std::getenv("TZ") != nullptr;

    void TearDown() override {
        if (hadZone)
            ::setenv("TZ", zone.c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }
    // One change that writes bytes into the file name.
    std::string Change(UndoStore& s, const std::string& name, const std::string& bytes) {
        auto writer = s.Begin("fx", "Effect", "overwrite");
        EXPECT_TRUE(writer.ok());
        const fs::path file = site.path() / name;
        EXPECT_TRUE((*writer)->Record(file.string(), {PendingWrite(file, bytes, true)}).ok());
        EXPECT_TRUE(WriteFileAtomic(file, bytes).ok());
        EXPECT_TRUE((*writer)->Finish().ok());
        return (*writer)->id();
    }
};

TEST_P(ChangeOrder, TheNewestChangeIsUndoneFirstAndKeptByPruning) {
    const ClockCase& c = GetParam();
    if (c.olderRecordFirst) {
        UndoStore s(store.path());
        const std::string old = Change(s, "old.htm", "old");
        fs::rename(store.path() / old, store.path() / "20391231-235959-999999");
    }
    auto now = std::chrono::system_clock::now();
    UndoStore s(store.path(), 2);
    s.SetClock([&] { return now; });
    ::setenv("TZ", c.zoneFirst, 1);
    ::tzset();
    const std::string first = Change(s, "a.htm", "first");
    ::setenv("TZ", c.zoneSecond, 1);
    ::tzset();
    now += c.clockStep;
    const std::string second = Change(s, "b.htm", "second");

    auto history = s.History();
    ASSERT_TRUE(history.ok());
    ASSERT_GE(history->size(), 2u);
    EXPECT_EQ((*history)[0].id, second);
    EXPECT_EQ((*history)[1].id, first);
    EXPECT_TRUE(ChangeIdBefore(first, second));
    // Pruning to two keeps the two newest: the earlier version's record goes first.
    ASSERT_TRUE(s.Prune().ok());
    EXPECT_EQ(s.History()->size(), 2u);
    auto undone = s.Undo("", false);
    ASSERT_TRUE(undone.ok()) << undone.error().text();
    EXPECT_EQ(undone->id, second);
    EXPECT_FALSE(fs::exists(site.path() / "b.htm"));
    EXPECT_TRUE(fs::exists(site.path() / "a.htm"));
}

INSTANTIATE_TEST_SUITE_P(
    Clocks, ChangeOrder,
    ::testing::Values(ClockCase{"ZoneUtcMinus10ToUtcPlus10", "UTC-10", "UTC+10", 0h, false},
                      ClockCase{"ZoneUtcPlus10ToUtcMinus10", "UTC+10", "UTC-10", 0h, false},
                      ClockCase{"ClockSetBack", "UTC", "UTC", -5h, false},
                      ClockCase{"AfterARecordOfAnEarlierVersion", "UTC", "UTC", -48h, true}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------
// Leftovers of a run that was killed are removed by the next run, which says so.

struct LeftoverCase {
    const char* name;
    bool batch;
};

class Leftovers : public SafetyTest, public ::testing::WithParamInterface<LeftoverCase> {};

TEST_P(Leftovers, OfDeadRunsAreRemovedAndNamedThoseOfLiveOnesStay) {
    const long dead = DeadProcess();
    const fs::path tmp = site.path() / ("index.htm.pelto-" + std::to_string(dead) + "-7.tmp");
    const fs::path link = site.path() / ("index_1.htm.pelto-" + std::to_string(dead) + ".link");
    const fs::path live =
        site.path() / ("index.htm.pelto-" + std::to_string(::getpid()) + "-8.tmp");
    const fs::path area = ws.OutputFolder() / ("batch-" + std::to_string(dead) + "-1");
    const fs::path liveArea = ws.OutputFolder() / ("batch-" + std::to_string(::getppid()) + "-1");
    for (const fs::path& p : {tmp, link, live, area / "1" / "result.htm", liveArea / "x"})
        Write(p, kPage);
    std::vector<std::string> notes;
    if (GetParam().batch) {
        auto batch = ApplyToPages(ws, {page.string()}, Batch(OutputOption::Overwrite));
        ASSERT_TRUE(batch.ok()) << batch.error().text();
        EXPECT_EQ(batch->done, 1u) << batch->pages[0].message;
        notes = batch->notes;
    } else {
        auto run = Run(OutputOption::Overwrite);
        ASSERT_TRUE(run.ok()) << run.error().text();
        notes = run->outcome.notes;
    }
    EXPECT_FALSE(fs::exists(tmp));
    EXPECT_FALSE(fs::exists(link));
    EXPECT_TRUE(fs::exists(live));
    EXPECT_TRUE(fs::exists(liveArea));
    std::string all;
    for (const std::string& n : notes)
        all += n + "\n";
    EXPECT_NE(all.find(tmp.string()), std::string::npos) << all;
    EXPECT_NE(all.find(link.string()), std::string::npos) << all;
    EXPECT_EQ(all.find(live.string()), std::string::npos) << all;
    EXPECT_FALSE(fs::exists(area));
    EXPECT_NE(all.find(area.string()), std::string::npos) << all;
}

INSTANTIATE_TEST_SUITE_P(Runs, Leftovers,
                         ::testing::Values(LeftoverCase{"OnePage", false},
                                           LeftoverCase{"Batch", true}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------
// A run that fails after recording leaves a record that is not marked complete.

struct CompleteCase {
    const char* name;
    bool batch;
};

class CompleteRecords : public SafetyTest, public ::testing::WithParamInterface<CompleteCase> {};

TEST_P(CompleteRecords, AreMarkedSoOnlyWhenEverythingWasWritten) {
    // A folder takes the name of the effect's file once it is recorded: its rename fails.
    auto block = [&](const std::string&) { fs::create_directory(site.path() / "0fx.js"); };
    ChangeInfo info;
    if (GetParam().batch) {
        BatchRequest request = Batch(OutputOption::Overwrite);
        request.afterRecording = block;
        auto batch = ApplyToPages(ws, {page.string()}, request);
        ASSERT_TRUE(batch.ok());
        EXPECT_EQ(batch->failed, 1u);
    } else {
        DoItRequest request = Request(OutputOption::Overwrite);
        request.afterRecording = block;
        ASSERT_FALSE(DoItRecorded(ws, request, FileLock::Wait::No).ok());
    }
    auto history = Store().History();
    ASSERT_TRUE(history.ok());
    ASSERT_EQ(history->size(), 1u);
    EXPECT_FALSE((*history)[0].complete);
    EXPECT_EQ(test::ReadAll(page), kPage);
    // Written or not, the full run's record still undoes (here: nothing was written).
    fs::remove(site.path() / "0fx.js");
    auto undo = Store().Undo("", false);
    ASSERT_TRUE(undo.ok()) << undo.error().text();
    EXPECT_EQ(test::ReadAll(page), kPage);

    // A run that writes everything is marked complete.
    ASSERT_TRUE(Run(OutputOption::Overwrite).ok());
    EXPECT_TRUE((*Store().History())[0].complete);
}

INSTANTIATE_TEST_SUITE_P(Runs, CompleteRecords,
                         ::testing::Values(CompleteCase{"OnePage", false},
                                           CompleteCase{"Batch", true}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace pelto
