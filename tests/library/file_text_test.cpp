// The program's own files between their bytes and UTF-8: Windows-1252 unless the file
// starts with the UTF-8 byte order mark; written back in Windows-1252 when every
// character fits (byte for byte as read), else as UTF-8 after the mark.
#include "common/cp1252.h"
#include "common/file_text.h"
#include "library/definition_reader.h"
#include "library/library_loader.h"
#include "library/lookup.h"

#include <gtest/gtest.h>

namespace pelto {
namespace {

const std::string kMark = "\xEF\xBB\xBF";
const std::string kR = "\xEF\xBF\xBD"; // U+FFFD

struct ReadCase {
    const char* label;
    std::string bytes;
    std::string utf8;
};

class FileTextReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(FileTextReadTest, ReadsAsUtf8) {
    EXPECT_EQ(FileTextToUtf8(GetParam().bytes), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Files, FileTextReadTest,
    ::testing::Values(
        ReadCase{"Ascii", "a\r\nb", "a\r\nb"},
        ReadCase{"Windows1252", "caf\xE9 \x80 \xAE", "caf\xC3\xA9 \xE2\x82\xAC \xC2\xAE"},
        ReadCase{"UnassignedBytesKeepTheirNumber", "\x81\x9D", "\xC2\x81\xC2\x9D"},
        // Without the mark, UTF-8 bytes are Windows-1252 text, as in every older file.
        ReadCase{"Utf8WithoutTheMark", "caf\xC3\xA9", "caf\xC3\x83\xC2\xA9"},
        ReadCase{"Utf8AfterTheMark",
                 kMark + "\xC5\x81\xC3\xB3"
                         "d\xC5\xBA\r\n",
                 "\xC5\x81\xC3\xB3"
                 "d\xC5\xBA\r\n"},
        ReadCase{"OnlyTheMark", kMark, ""},
        ReadCase{"TheMarkIsNotPartOfTheFirstLine", kMark + "name\r\n", "name\r\n"},
        ReadCase{"LoneSurrogate",
                 kMark + "a\xED\xA0\x80"
                         "b",
                 "a" + kR + kR + kR + "b"},
        ReadCase{"StrayAndCutBytes", kMark + "\x80x\xE5\x86", kR + "x" + kR + kR},
        ReadCase{"Overlong", kMark + "\xC0\xAF", kR + kR},
        ReadCase{"Noncharacter", kMark + "\xEF\xBF\xBF", "\xEF\xBF\xBF"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(FileText, EveryWindows1252FileIsWrittenBackByteForByte) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(Utf8ToFileText(FileTextToUtf8(all)), all);
}

TEST(FileText, OtherTextIsWrittenAsUtf8AfterTheMark) {
    const std::string text = "caf\xC3\xA9 \xE5\x86\x99\xE7\x9C\x9F \xF0\x9F\x98\x80";
    EXPECT_EQ(Utf8ToFileText(text), kMark + text);
    EXPECT_EQ(FileTextToUtf8(Utf8ToFileText(text)), text);
    EXPECT_EQ(Utf8ToFileText("a\xFF"), kMark + "a" + kR); // never a broken file
}

// A definition in UTF-8 (after the mark) gives names and values of any script, and the
// same definition in Windows-1252 reads as before.
TEST(FileText, DefinitionsAndHeadersInEitherEncoding) {
    const std::string greek = "\xCE\xA4\xCE\xAF\xCF\x84\xCE\xBB\xCE\xBF\xCF\x82";
    const std::string lines = "*\r\n5\r\n0\r\n0\r\n" + greek + " \xE5\x86\x99\r\n\r\n\r\nTrue\r\n" +
                              greek + "\r\nd\r\n// end\r\n";
    Workspace ws;
    ResetParameterState(ws);
    ClearParameterRecords(ws.Params);
    ASSERT_TRUE(ReadDefinitionText(ws, kMark + lines, "t.par"));
    EXPECT_EQ(GetParameterKind(ws, greek), Text);
    EXPECT_EQ(ws.Params.TextParameters[1].Value, greek + " \xE5\x86\x99");

    Workspace western;
    ResetParameterState(western);
    ClearParameterRecords(western.Params);
    ASSERT_TRUE(ReadDefinitionText(
        western, "*\r\n5\r\n0\r\n0\r\nCr\xE8me\r\n\r\n\r\nTrue\r\nT\xEEtle\r\nd\r\n// end\r\n",
        "w.par"));
    EXPECT_EQ(GetParameterKind(western, "T\xC3\xAEtle"), Text);
    EXPECT_EQ(western.Params.TextParameters[1].Value, "Cr\xC3\xA8me");

    auto header = ReadScriptHeader(
        kMark + "fx\r\np\r\n1\r\n" + greek + "\r\n\xE5\x86\x99\r\nC\r\n0\r\n0\r\n", "fx.hdr");
    ASSERT_TRUE(header);
    EXPECT_EQ(header->ScriptId, "fx");
    EXPECT_EQ(header->Name, greek);
    EXPECT_EQ(header->Description, "\xE5\x86\x99");
}

} // namespace
} // namespace pelto
