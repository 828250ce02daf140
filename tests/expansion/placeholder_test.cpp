#include "expansion/placeholder.h"
#include "expansion_fixture.h"

#include <gtest/gtest.h>

namespace pelto {
namespace {

using test::P;

struct LineCase {
    const char* label;
    std::string line;
    std::string expected;
};

class ExpandLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(ExpandLineTest, GivesExactBytes) {
    Workspace ws = test::MakeExpansionWorkspace();
    EXPECT_EQ(ExpandLine(ws, GetParam().line), GetParam().expected);
}

const std::string kSep(1, std::filesystem::path::preferred_separator);

INSTANTIATE_TEST_SUITE_P(
    Keywords, ExpandLineTest,
    ::testing::Values(
        LineCase{"NoMarks", "plain text, no marks", "plain text, no marks"},
        LineCase{"OpeningOnly", "a \xAESpeed,INTVALUE b", "a \xAESpeed,INTVALUE b"},
        LineCase{"ClosingOnly", "a Speed,INTVALUE\xAF b", "a Speed,INTVALUE\xAF b"},
        LineCase{"IntValue", "x=" + P("Speed,INTVALUE") + ";", "x=5;"},
        LineCase{"IntFraction", P("Half,INTVALUE"), "-2.5"},
        LineCase{"FullFileName", P("Sound,FULLFILENAME"), "/music/beep.wav"},
        LineCase{"FilePath", P("Sound,FILEPATH"), "/music/"},
        LineCase{"FileNameOnly", P("Sound,FILENAMEONLY"), "beep.wav"},
        LineCase{"FullImageName", P("Picture,FULLIMAGENAME"), "/pics/sun.gif"},
        LineCase{"ImagePath", P("Picture,IMAGEPATH"), "/pics/"},
        LineCase{"ImageNameOnly", P("Picture,IMAGENAMEONLY"), "sun.gif"},
        // /pics/sun.gif does not exist: the size is left empty.
        LineCase{"SizeOfAMissingPictureIsEmpty",
                 "[" + P("Picture,IMAGEWIDTH") + "|" + P("Picture,IMAGEHEIGHT") + "]", "[|]"},
        LineCase{"ImageKeywordOnFile", P("Sound,IMAGEWIDTH"), P("Sound,IMAGEWIDTH")},
        LineCase{"FileKeywordOnImage", P("Picture,FILENAMEONLY"), P("Picture,FILENAMEONLY")},
        LineCase{"HValueLowerCaseKeyword", "#" + P("Back,hvalue"), "#0510FF"},
        LineCase{"NameIsCaseSensitive", P("back,HVALUE"), P("back,HVALUE")},
        LineCase{"LValue", P("Back,LVALUE"), "16715781"},
        LineCase{"Components", P("Back,R") + "," + P("Back,G") + "," + P("Back,B"), "5,16,255"},
        LineCase{"HexComponents", P("Back,RH") + P("Back,GH") + P("Back,BH"), "510FF"},
        LineCase{"FontName", P("Face,FONTNAME"), "Verdana"},
        LineCase{"FontSize", P("Face,FONTSIZE"), "12"},
        LineCase{"FontHSize", P("Face,FONTHSIZE"), "4"},
        LineCase{"FontBold", P("Face,FONTBOLD") + P("Face,FONTBOLDINT"), "bold1"},
        LineCase{"FontItalic", P("Face,FONTITALIC") + P("Face,FONTITALICINT"), "normal0"},
        LineCase{"FontUnderlineStrike", P("Face,FONTUNDERLINE") + P("Face,FONTSTRIKETHRU"), "10"},
        LineCase{"BoldOutsideZeroOne", P("Odd,FONTBOLD") + P("Odd,FONTITALICINT"),
                 P("Odd,FONTBOLD") + P("Odd,FONTITALICINT")},
        LineCase{"TextValue", "'" + P("Title,TEXTVALUE") + "'", "'Hello, world'"},
        LineCase{"OptionTextValue", P("Dir,TEXTVALUE"), "right"},
        LineCase{"OptionSelectedOutside", P("BadDir,TEXTVALUE"), P("BadDir,TEXTVALUE")},
        LineCase{"TextKeywordOfOtherKind", P("Title,INTVALUE"), P("Title,INTVALUE")},
        LineCase{"PositionValues", P("Where,INTVALUE1") + "/" + P("Where,INTVALUE2"), "10/20.5"},
        LineCase{"MenuData", P("Nav,MENUDATA"), "Menu1 = a\r\nMenu2 = b\r\n"},
        LineCase{"TopLevelEntries", P("Nav,TOPLEVELENTRIES"), "2"},
        LineCase{"ImagesName", P("App,IMAGESNAME"), "/prog" + kSep + "images" + kSep},
        LineCase{"ScriptRepeat", P("App,SCRIPTREPEAT"), "0"},
        LineCase{"MouseoverHasNoKeyword", P("Hover,TEXTVALUE"), P("Hover,TEXTVALUE")},
        LineCase{"InfoHasNoKeyword", P("Info,TEXTVALUE"), P("Info,TEXTVALUE")},
        LineCase{"UnknownName", P("Nobody,INTVALUE") + P("Speed,INTVALUE"),
                 P("Nobody,INTVALUE") + "5"},
        LineCase{"NoComma", P("Speed") + "-" + P("Speed,INTVALUE"), P("Speed") + "-5"},
        LineCase{"KeywordKeepsLaterCommas", P("Speed,INTVALUE,X"), P("Speed,INTVALUE,X")},
        LineCase{"ClosingBeforeOpening",
                 "\xAF"
                 "a" +
                     P("Speed,INTVALUE"),
                 "\xAF"
                 "a5"},
        LineCase{"LeftToRight",
                 P("Speed,INTVALUE") + " " + P("Title,TEXTVALUE") + " " + P("Dir,TEXTVALUE"),
                 "5 Hello, world right"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(ExpandLine, IntSequenceCountsAcrossPlaceholdersAndLines) {
    Workspace ws = test::MakeExpansionWorkspace();
    EXPECT_EQ(ExpandLine(ws, P("App,INTSEQUENCE") + P("App,intsequence") + P("App,INTSEQUENCE")),
              "123");
    EXPECT_EQ(ExpandLine(ws, "n" + P("App,INTSEQUENCE")), "n4");
    EXPECT_EQ(ws.IntSequence, 5);
}

TEST(ExpandLine, IntSequenceStopsAtTheTopOfItsRange) {
    Workspace ws = test::MakeExpansionWorkspace();
    ws.IntSequence = 32766;
    EXPECT_EQ(ExpandLine(ws, P("App,INTSEQUENCE") + P("App,INTSEQUENCE")),
              "32766" + P("App,INTSEQUENCE"));
}

TEST(ExpandLine, ValueHoldingAPlaceholderIsExpandedInTurn) {
    Workspace ws = test::MakeExpansionWorkspace();
    ws.Params.TextParameters[1].Value =
        test::U("speed " + P("Speed,INTVALUE") + " dir " + P("Dir,TEXTVALUE"));
    EXPECT_EQ(ExpandLine(ws, "<" + P("Title,TEXTVALUE") + "> " + P("Speed,INTVALUE")),
              "<speed 5 dir right> 5");
}

TEST(ExpandLine, ValueOpeningAPlaceholderThatTheLineCloses) {
    Workspace ws = test::MakeExpansionWorkspace();
    ws.Params.TextParameters[1].Value = test::U("\xAESpeed,");
    EXPECT_EQ(ExpandLine(ws, P("Title,TEXTVALUE") + "INTVALUE\xAF!"), "5!");
}

TEST(ExpandLine, ValueContainingItselfEnds) {
    Workspace ws = test::MakeExpansionWorkspace();
    ws.Params.TextParameters[1].Value = "a" + P("Title,TEXTVALUE");
    std::string out = ExpandLine(ws, "[" + P("Title,TEXTVALUE") + "]" + P("Speed,INTVALUE"));
    // Bounded: the self-reference is given up after a while and the rest is still expanded.
    ASSERT_GT(out.size(), 2u);
    EXPECT_EQ(out.front(), '[');
    EXPECT_EQ(out.substr(out.size() - 2), "]5");
    EXPECT_LT(out.size(), 8u << 20);
}

TEST(ExpandLine, GrowingSelfReferenceStaysBounded) {
    Workspace ws = test::MakeExpansionWorkspace();
    ws.Params.TextParameters[1].Value = P("Title,TEXTVALUE") + P("Title,TEXTVALUE");
    std::string out = ExpandLine(ws, P("Title,TEXTVALUE"));
    EXPECT_LT(out.size(), 16u << 20);
}

TEST(ExpandPlaceholder, GivesThePlaceholderBackWhenNothingApplies) {
    Workspace ws = test::MakeExpansionWorkspace();
    EXPECT_EQ(ExpandPlaceholder(ws, "Speed", "INTVALUE"), "5");
    EXPECT_EQ(ExpandPlaceholder(ws, "Speed", "NOPE"), P("Speed,NOPE"));
    EXPECT_FALSE(PlaceholderValue(ws, "Hover", "TEXTVALUE").has_value());
}

struct FontStepCase {
    int16_t size;
    const char* step;
};

class FontHSizeTest : public ::testing::TestWithParam<FontStepCase> {};

TEST_P(FontHSizeTest, StepEdges) {
    Workspace ws = test::MakeExpansionWorkspace();
    ws.Params.FontParameters[1].Size = GetParam().size;
    EXPECT_EQ(ExpandLine(ws, P("Face,FONTHSIZE")), GetParam().step);
}

INSTANTIATE_TEST_SUITE_P(Steps, FontHSizeTest,
                         ::testing::Values(FontStepCase{-3, "1"}, FontStepCase{7, "1"},
                                           FontStepCase{8, "2"}, FontStepCase{9, "3"},
                                           FontStepCase{10, "3"}, FontStepCase{11, "4"},
                                           FontStepCase{14, "4"}, FontStepCase{15, "5"},
                                           FontStepCase{20, "5"}, FontStepCase{21, "6"},
                                           FontStepCase{27, "7"}, FontStepCase{33, "8"},
                                           FontStepCase{38, "8"}, FontStepCase{44, "9"},
                                           FontStepCase{45, "10"}, FontStepCase{32767, "10"}));

struct FillCase {
    const char* format;
    int16_t number;
    const char* value;
    const char* expected;
};

class FillMarkersTest : public ::testing::TestWithParam<FillCase> {};

TEST_P(FillMarkersTest, Fills) {
    const FillCase& c = GetParam();
    EXPECT_EQ(FillMarkers(c.format, c.number, c.value), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Formats, FillMarkersTest,
                         ::testing::Values(FillCase{"", 3, "v", ""},
                                           FillCase{"plain", 3, "v", "plain"},
                                           FillCase{"a[*]=\"#\";", 0, "x", "a[0]=\"x\";"},
                                           FillCase{"##**", -12, "ab", "abab-12-12"},
                                           FillCase{"<#>", 1, "*#", "<*#>"}));

TEST(UpperCaseText, UpperCasesWindows1252Letters) {
    EXPECT_EQ(UpperCaseText("abz AZ 09 \xE9\xFF\x9A\xF7"), "ABZ AZ 09 \xC9\x9F\x8A\xF7");
}

} // namespace
} // namespace pelto
