// The early SHA-256 of a file a run replaces: taken only of a settled regular file, and
// used by the change record only for the file in the state it was taken of.
#include "common/files.h"
#include "support/test_support.h"
#include "undo/early_digest.h"
#include "undo/sha256.h"
#include "undo/undo_store.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace pelto {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

void Write(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Past the coarse clock's tick, so the file's time stamps lie before what comes next.
void LetItSettle() {
    std::this_thread::sleep_for(30ms);
}

FileState StateOf(const fs::path& path) {
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0);
    return FileState::Of(st);
}

class EarlyDigestTest : public ::testing::Test {
protected:
    test::TempFolder folder;
    fs::path file = folder.path() / "index_1.htm";
    const std::string old = std::string(5000, 'o') + "\r\n";
};

TEST_F(EarlyDigestTest, ASettledFileIsHashedWithItsState) {
    Write(file, old);
    LetItSettle();
    auto digest = DigestFileAside(file, 100).get();
    ASSERT_TRUE(digest.has_value());
    EXPECT_EQ(digest->sha, Sha256Hex(old));
    EXPECT_EQ(digest->state, StateOf(file));
}

TEST_F(EarlyDigestTest, NoDigestForWhatIsNotASettledRegularFile) {
    Write(file, old);
    LetItSettle();
    EXPECT_FALSE(DigestFileAside(file, old.size() + 1).get().has_value()) << "too small";
    EXPECT_FALSE(DigestFileAside(folder.path() / "missing.htm", 1).get().has_value());
    fs::create_symlink(file, folder.path() / "link.htm");
    EXPECT_FALSE(DigestFileAside(folder.path() / "link.htm", 1).get().has_value());
    EXPECT_FALSE(DigestFileAside(folder.path(), 0).get().has_value()) << "a folder";
    // Written at or after the start: a write in the same tick would not show.
    const struct timespec later[2] = {{0, UTIME_OMIT}, {DigestClockNow().tv_sec + 60, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), later, 0), 0);
    LetItSettle();
    EXPECT_FALSE(DigestFileAside(file, 1).get().has_value());
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_FALSE(DigestBytesAside(old, st, DigestClockNow()).get().has_value());
}

// The record takes a digest for the file's present state as it is (here one made up, to
// tell it apart) and reads the file itself where the state differs.
struct UseCase {
    const char* label;
    bool sameState;
    bool byRename; // the writer renames over the file: its bytes are kept by a second name
    bool digestUsed;
};

class RecordWithDigest : public EarlyDigestTest, public ::testing::WithParamInterface<UseCase> {};

TEST_P(RecordWithDigest, TakesItOnlyForTheFileAsItIsNow) {
    const UseCase& c = GetParam();
    Write(file, old);
    const std::string madeUp(64, 'a');
    EarlyDigest early{StateOf(file), madeUp};
    if (!c.sameState)
        early.state.mtimeNsec += 1;
    std::promise<std::optional<EarlyDigest>> given;
    given.set_value(early);
    PendingWrite write(file, "new", c.byRename);
    write.before = given.get_future().share();

    UndoStore store(folder.path() / "undo");
    auto writer = store.Begin("fx", "Effect fx", "copy");
    ASSERT_TRUE(writer.ok()) << writer.error().text();
    ASSERT_TRUE((*writer)->Record(file.string(), {write}).ok());
    ASSERT_TRUE((*writer)->Finish().ok());
    auto history = store.History();
    ASSERT_TRUE(history.ok());
    ASSERT_EQ(history->front().files.size(), 1u);
    const ChangedFile& f = history->front().files[0];
    EXPECT_EQ(f.beforeSha, c.digestUsed ? madeUp : Sha256Hex(old));
    EXPECT_EQ(f.beforeSize, old.size());
}

INSTANTIATE_TEST_SUITE_P(Cases, RecordWithDigest,
                         ::testing::Values(UseCase{"SameStateLinked", true, true, true},
                                           UseCase{"OtherState", false, true, false},
                                           // Copied bytes are hashed as they are copied.
                                           UseCase{"SameStateCopied", true, false, false}),
                         [](const auto& info) { return std::string(info.param.label); });

// A file written in place after its digest was taken has later time stamps: the record
// holds the SHA-256 of the bytes it keeps, and undo puts those back.
TEST_F(EarlyDigestTest, AFileChangedAfterItsDigestIsReadAgain) {
    Write(file, old);
    LetItSettle();
    EarlyDigestFuture digest = DigestFileAside(file, 1);
    ASSERT_TRUE(digest.get().has_value());
    std::string edited = old;
    edited[0] = 'E'; // the same size
    {
        std::fstream inPlace(file, std::ios::binary | std::ios::in | std::ios::out);
        inPlace.write(edited.data(), 1);
    }
    ASSERT_EQ(test::ReadAll(file), edited);
    PendingWrite write(file, "new", true);
    write.before = digest;
    UndoStore store(folder.path() / "undo");
    auto writer = store.Begin("fx", "Effect fx", "copy");
    ASSERT_TRUE(writer.ok());
    ASSERT_TRUE((*writer)->Record(file.string(), {write}).ok());
    ASSERT_TRUE(WriteFileAtomic(file, "new").ok());
    ASSERT_TRUE((*writer)->Finish().ok());
    EXPECT_EQ(store.History()->front().files[0].beforeSha, Sha256Hex(edited));
    auto undone = store.Undo("", false);
    ASSERT_TRUE(undone.ok()) << undone.error().text();
    EXPECT_TRUE(undone->undone);
    EXPECT_EQ(test::ReadAll(file), edited);
}

} // namespace
} // namespace pelto
