#include "common/cp1252.h"

#include <gtest/gtest.h>

namespace pelto {
namespace {

struct Utf8Case {
    const char* label;
    std::string utf8;
    std::optional<std::string> bytes; // no value: refused
    size_t badOffset;
};

class Utf8ToCp1252Test : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8ToCp1252Test, ConvertsOrNamesTheFirstBadCharacter) {
    const Utf8Case& c = GetParam();
    size_t bad = 12345;
    EXPECT_EQ(Utf8ToCp1252(c.utf8, &bad), c.bytes);
    if (!c.bytes) {
        EXPECT_EQ(bad, c.badOffset);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Utf8ToCp1252Test,
    ::testing::Values(Utf8Case{"Ascii", "Tom's \"A&B\"", "Tom's \"A&B\"", 0},
                      Utf8Case{"Latin1", "caf\xC3\xA9 \xC2\xAE", "caf\xE9 \xAE", 0},
                      Utf8Case{"HighTable", "\xE2\x82\xAC\xE2\x84\xA2\xC5\xB8", "\x80\x99\x9F", 0},
                      Utf8Case{"OutsideWindows1252", "ab\xE2\x86\x92", std::nullopt, 2},
                      Utf8Case{"UnassignedCodePoint", "a\xC2\x81", std::nullopt, 1},
                      Utf8Case{"StrayContinuation", "a\xA9", std::nullopt, 1},
                      Utf8Case{"Overlong", "x\xC0\xAF", std::nullopt, 1},
                      Utf8Case{"Surrogate", "\xED\xA0\x80", std::nullopt, 0},
                      Utf8Case{"Cut", "caf\xC3", std::nullopt, 3}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(Cp1252, EveryAssignedByteRoundTripsThroughUtf8) {
    for (int b = 1; b < 256; ++b) {
        if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D)
            continue;
        const std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(byte)), byte) << b;
        EXPECT_EQ(Cp1252ByteFor(Cp1252CodePoint(static_cast<unsigned char>(b))), b) << b;
    }
}

TEST(Cp1252, UnassignedBytesKeepTheirNumberAsCodePoint) {
    for (unsigned char b : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
        EXPECT_EQ(Cp1252CodePoint(b), b);
        EXPECT_EQ(Cp1252ByteFor(b), -1);
        // Read as browsers read them, and written back as the same byte into files.
        std::string utf8;
        AppendUtf8(utf8, b);
        EXPECT_EQ(Cp1252ToUtf8(std::string(1, static_cast<char>(b))), utf8);
        EXPECT_EQ(Cp1252ByteOrUnassigned(b), b);
    }
    EXPECT_EQ(Cp1252ByteOrUnassigned(0x20AC), 0x80);
    EXPECT_EQ(Cp1252ByteOrUnassigned(0x141), -1);
    EXPECT_EQ(Cp1252CodePoint(0x80), 0x20ACu);
    EXPECT_EQ(Cp1252CodePoint(0xE9), 0xE9u);
}

struct ReferenceCase {
    const char* label;
    std::string utf8;
    std::string bytes;
};

class WithReferencesTest : public ::testing::TestWithParam<ReferenceCase> {};

TEST_P(WithReferencesTest, KeepsWhatWindows1252CannotWriteAsReferences) {
    EXPECT_EQ(Utf8ToCp1252WithReferences(GetParam().utf8), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, WithReferencesTest,
    ::testing::Values(ReferenceCase{"Plain", "caf\xC3\xA9 \xE2\x82\xAC", "caf\xE9 \x80"},
                      ReferenceCase{"Arrow",
                                    "a\xE2\x86\x92"
                                    "b",
                                    "a&#8594;b"},
                      ReferenceCase{"FourBytes", "\xF0\x9F\x98\x80", "&#128512;"},
                      ReferenceCase{"Unassigned", "\xC2\x9D", "&#157;"},
                      ReferenceCase{"BrokenBytes", "a\xE9\xC3", "a&#65533;&#65533;"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(Cp1252, ValidUtf8ReplacesEachBrokenByte) {
    EXPECT_EQ(ValidUtf8("ok \xC5\x81"), "ok \xC5\x81");
    EXPECT_EQ(ValidUtf8("a\xED\xA0\x80"), "a\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(ValidUtf8("\xF0\x9F\x98"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_TRUE(FitsCp1252("caf\xC3\xA9 \xE2\x82\xAC"));
    EXPECT_FALSE(FitsCp1252("\xC5\x81"));
}

// A long ASCII text with one byte above 0x7F at every place a word-wise scan can meet it:
// the first, middle and last byte of a word, of a four-word step, and of the short tail.
TEST(Cp1252, AsciiRunStopsAtTheFirstHighByteWherever) {
    const std::string ascii(77, 'a');
    EXPECT_EQ(AsciiRunLength(ascii), ascii.size());
    EXPECT_EQ(AsciiRunLength(ascii, 70), 7u);
    EXPECT_EQ(AsciiRunLength(""), 0u);
    for (size_t at = 0; at < ascii.size(); ++at) {
        std::string text = ascii;
        text[at] = '\x80';
        text[ascii.size() - 1] = '\xFF'; // a later high byte never counts
        SCOPED_TRACE(at);
        EXPECT_EQ(AsciiRunLength(text), at);
        EXPECT_EQ(AsciiRunLength(text, at), 0u);
        if (at + 1 < ascii.size() - 1) {
            EXPECT_EQ(AsciiRunLength(text, at + 1), ascii.size() - 2 - at);
        }
    }
}

// Well-formed and broken characters after long ASCII runs, at every offset.
TEST(Cp1252, IsValidUtf8FindsABrokenCharacterAfterLongAsciiRuns) {
    for (size_t at = 0; at < 70; ++at) {
        const std::string before(at, 'x');
        SCOPED_TRACE(at);
        EXPECT_TRUE(IsValidUtf8(before + "\xC5\x81" + std::string(40, 'y') + "\xF0\x9F\x98\x80"));
        EXPECT_FALSE(IsValidUtf8(before + "\xC5" + std::string(40, 'y')));
        EXPECT_FALSE(IsValidUtf8(before + "\xC5\x81" + std::string(40, 'y') + "\xF0\x9F\x98"));
        EXPECT_FALSE(IsValidUtf8(before + "\xED\xA0\x80"));
    }
}

} // namespace
} // namespace pelto
