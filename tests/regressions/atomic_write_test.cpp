// Replacing the user's page through a temporary file and a rename once made a private
// page readable by everyone (the new file took the default permissions) and turned a
// page reached through a link into a plain file beside the link's target. Now a link is
// refused by the writer ("Do it" resolves the page the user named first).
#include "common/files.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace pelto {
namespace {

namespace fs = std::filesystem;

TEST(AtomicWrite, KeepsThePagesPermissions) {
    test::TempFolder folder;
    const fs::path page = folder.path() / "private.htm";
    ASSERT_TRUE(WriteFileBytes(page, "old").ok());
    fs::permissions(page, fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(WriteFileAtomic(page, "new").ok());
    EXPECT_EQ(test::ReadAll(page), "new");
    EXPECT_EQ(fs::status(page).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

// A caller writing several files into one folder flushes the folder once after them: the
// files are written, renamed and given their permissions as with the flush.
TEST(AtomicWrite, WithTheFolderFlushLeftForLaterTheFileIsTheSame) {
    test::TempFolder folder;
    const fs::path page = folder.path() / "private.htm";
    ASSERT_TRUE(WriteFileBytes(page, "old").ok());
    fs::permissions(page, fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(WriteFileAtomic(page, {"n", "", "ew"}, FolderFlush::Later).ok());
    ASSERT_TRUE(WriteFileAtomic(folder.path() / "new.js", {"x"}, FolderFlush::Later).ok());
    ASSERT_TRUE(SyncFolder(folder.path()).ok());
    EXPECT_EQ(test::ReadAll(page), "new");
    EXPECT_EQ(fs::status(page).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(test::ReadAll(folder.path() / "new.js"), "x");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 2);
    // A link is refused as it is with the flush.
    fs::create_symlink(page, folder.path() / "link.htm");
    EXPECT_FALSE(WriteFileAtomic(folder.path() / "link.htm", {"y"}, FolderFlush::Later).ok());
    EXPECT_EQ(test::ReadAll(page), "new");
}

TEST(AtomicWrite, RefusesALinkAndLeavesItAndItsTargetAlone) {
    // A page named through a link is resolved by "Do it" before it writes; the writer
    // itself never writes through one.
    test::TempFolder folder;
    fs::create_directory(folder.path() / "site");
    const fs::path real = folder.path() / "site" / "index.htm";
    const fs::path link = folder.path() / "index.htm";
    ASSERT_TRUE(WriteFileBytes(real, "old").ok());
    fs::create_symlink(real, link);
    const Status st = WriteFileAtomic(link, "new");
    ASSERT_FALSE(st.ok());
    EXPECT_NE(st.error().text().find("is a symbolic link"), std::string::npos);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(test::ReadAll(real), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 2);
}

} // namespace
} // namespace pelto
