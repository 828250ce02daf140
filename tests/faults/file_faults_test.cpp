// Reading and writing files when the machine says no: a full disk, a read-only
// folder, a missing folder, a file that cannot be read. Every failure is an error that
// names the file, and a file the user owns is either fully old or fully new.
#include "fault_support.h"

#include "common/files.h"
#include "common/scramble.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace pelto {
namespace {

using test::FaultFolder;

constexpr char kOldPage[] = "<html><body>the page as it was</body></html>\r\n";

TEST(DiskFull, AnAtomicWriteFailsAndLeavesTheOldPageAndNoTemporaryFile) {
    std::string why;
    auto disk = FaultFolder::SmallDisk(64 * 1024, &why);
    if (!disk)
        GTEST_SKIP() << why;
    disk->Put("index.htm", kOldPage);
    const fs::path page = disk->path() / "index.htm";

    Status st = WriteFileAtomic(page, test::Bytes(1 << 20));
    ASSERT_FALSE(st.ok()) << "a 1 MB page fitted on a 64 KB disk";
    EXPECT_EQ(st.error().file, page.string());
    EXPECT_NE(st.error().message.find("cannot be written"), std::string::npos)
        << st.error().message;
    EXPECT_EQ(test::ReadAll(page), kOldPage);
    EXPECT_EQ(disk->Names(), std::vector<std::string>{"index.htm"});

    // A result that fits replaces the page whole.
    const std::string fits = test::Bytes(8 * 1024, 'n');
    ASSERT_TRUE(WriteFileAtomic(page, fits).ok());
    EXPECT_EQ(test::ReadAll(page), fits);
}

TEST(DiskFull, APlainWriteReportsTheFileItCouldNotFinish) {
    std::string why;
    auto disk = FaultFolder::SmallDisk(64 * 1024, &why);
    if (!disk)
        GTEST_SKIP() << why;
    const fs::path out = disk->path() / "result.htm";
    Status st = WriteFileBytes(out, test::Bytes(1 << 20));
    ASSERT_FALSE(st.ok());
    EXPECT_EQ(st.error().file, out.string());
    EXPECT_NE(st.error().message.find("No space left"), std::string::npos) << st.error().message;
}

TEST(ReadOnlyFolder, AnAtomicWriteFailsAndTheOldPageStays) {
    std::string why;
    auto folder = FaultFolder::ReadOnly({{"index.htm", kOldPage}}, &why);
    if (!folder)
        GTEST_SKIP() << why;
    const fs::path page = folder->path() / "index.htm";
    Status st = WriteFileAtomic(page, "<html>new</html>\r\n");
    ASSERT_FALSE(st.ok());
    EXPECT_EQ(st.error().file, page.string());
    EXPECT_EQ(test::ReadAll(page), kOldPage);
    EXPECT_EQ(folder->Names(), std::vector<std::string>{"index.htm"});
}

TEST(ReadOnlyFolder, DescramblingIntoItNamesTheWorkFile) {
    test::TempFolder src;
    test::WriteScrambled(src.path() / "code.js", "alert(1);\r\n");
    std::string why;
    auto folder = FaultFolder::ReadOnly({}, &why);
    if (!folder)
        GTEST_SKIP() << why;
    Status st = DescrambleFile(src.path() / "code.js", folder->path() / "temp.dat");
    ASSERT_FALSE(st.ok());
    EXPECT_EQ(st.error().file, (folder->path() / "temp.dat").string());
}

struct UnreadableCase {
    const char* name;
    // Makes the path unreadable inside the folder and returns it.
    fs::path (*make)(const fs::path& folder);
    const char* says;
};

class Unreadable : public ::testing::TestWithParam<UnreadableCase> {};

TEST_P(Unreadable, ReadingNamesTheFile) {
    test::TempFolder folder;
    const fs::path p = GetParam().make(folder.path());
    auto bytes = ReadFileBytes(p);
    ASSERT_FALSE(bytes.ok());
    EXPECT_EQ(bytes.error().file, p.string());
    EXPECT_NE(bytes.error().message.find(GetParam().says), std::string::npos)
        << bytes.error().message;
    auto plain = ReadScrambledFile(p);
    ASSERT_FALSE(plain.ok());
    EXPECT_EQ(plain.error().file, p.string());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Unreadable,
    ::testing::Values(
        UnreadableCase{"missing", [](const fs::path& f) { return f / "gone.htm"; }, "No such file"},
        UnreadableCase{"missing_folder", [](const fs::path& f) { return f / "none" / "a.htm"; },
                       "No such file"},
        // A folder where the page should be opens but cannot be read.
        UnreadableCase{"a_folder",
                       [](const fs::path& f) {
                           fs::create_directory(f / "page.htm");
                           return f / "page.htm";
                       },
                       "Is a directory"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MissingFolder, WritingIntoItNamesTheFile) {
    test::TempFolder folder;
    const fs::path out = folder.path() / "output" / "result.htm";
    Status plain = WriteFileBytes(out, "x");
    ASSERT_FALSE(plain.ok());
    EXPECT_EQ(plain.error().file, out.string());
    Status atomic = WriteFileAtomic(out, "x");
    ASSERT_FALSE(atomic.ok());
    EXPECT_EQ(atomic.error().file, out.string());
    EXPECT_FALSE(fs::exists(folder.path() / "output"));
}

} // namespace
} // namespace pelto
