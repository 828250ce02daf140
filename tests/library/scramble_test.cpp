#include "common/files.h"
#include "common/scramble.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace pelto {
namespace {

TEST(Scramble, UsesTheEighteenCharacterKeyAndWrapsAround) {
    std::string zeros(19, '\0');
    DescrambleBytes(zeros);
    EXPECT_EQ(zeros, std::string("Lumo Dratch Fenwey") + "L");
}

TEST(Scramble, IsItsOwnInverse) {
    std::string bytes;
    for (int i = 0; i < 70000; ++i) // larger than 32,767 bytes on purpose
        bytes += static_cast<char>(i * 31);
    std::string copy = bytes;
    DescrambleBytes(copy);
    EXPECT_NE(copy, bytes);
    DescrambleBytes(copy);
    EXPECT_EQ(copy, bytes);
}

TEST(Scramble, DescrambleFileReplacesTheDestination) {
    test::TempFolder dir;
    auto src = dir.path() / "in.dat";
    auto dst = dir.path() / "out.dat";
    ASSERT_TRUE(WriteFileBytes(src, ""));
    ASSERT_TRUE(WriteFileBytes(dst, "old contents"));
    ASSERT_TRUE(DescrambleFile(src, dst));
    EXPECT_EQ(test::ReadAll(dst), "");
    Status missing = DescrambleFile(dir.path() / "nope.dat", dst);
    ASSERT_FALSE(missing);
    EXPECT_NE(missing.error().text().find("nope.dat"), std::string::npos);
}

} // namespace
} // namespace pelto
