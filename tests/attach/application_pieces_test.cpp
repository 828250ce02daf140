// The pieces of one application: worked out from the page before and the page written,
// found again in the page as it is now, taken out; and their record file.
#include "attach/application_pieces.h"
#include "attach/applied_record.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <fstream>

namespace pelto {
namespace {

namespace fs = std::filesystem;

struct PiecesCase {
    const char* name;
    std::string before;
    // The written page as spans of before (by [from, to)) and inserted texts, in order.
    std::vector<std::pair<std::pair<size_t, size_t>, std::string>> parts;
    std::string written;               // the page as written (inserted texts may be expanded)
    std::vector<std::string> inserted; // each piece's inserted bytes
};

std::vector<PiecesCase> Cases() {
    const std::string marker = "/*M*/";
    return {
        {"InsertionsBetweenSpans",
         "<head></head><body>x</body>",
         {{{0, 6}, "<s>"}, {{6, 27}, ""}},
         "<head><s></head><body>x</body>",
         {"<s>"}},
        {"ExpandedInsertAndTail",
         "<head></head>",
         {{{0, 0}, "L\r\n"}, {{0, 13}, "\r\n"}},
         "L\r\n<head></head>\r\n\r\n",
         {"L\r\n", "\r\n\r\n"}},
        {"MarkerKeptBetweenTwoPieces",
         "<s>" + marker + "</s>",
         {{{0, 3}, "\r\n" + marker + "\r\ncode();"}, {{3 + marker.size(), 12}, ""}},
         "<s>\r\n" + marker + "\r\ncode();</s>",
         {"\r\n", "\r\ncode();"}},
        {"FiveStarsReplaced",
         "<p>*****</p>",
         {{{0, 3}, "<b>x</b>"}, {{8, 12}, ""}},
         "<p><b>x</b></p>",
         {"<b>x</b>"}},
        {"NoSpansInsertionsOnly", // the links were rewritten before attaching
         "<a href=a>1</a><a href=b>2</a>",
         {},
         "<a href=a onmouseover=t(1)>1</a><a href=b onmouseover=t(2)>2</a>",
         {" onmouseover=t(1)", " onmouseover=t(2)"}},
        {"NoSpansALinkRewritten",
         "<a href=a title=x>1</a><p>text</p>",
         {},
         "<a href=a title=y onmouseover=t(1)>1</a><p>text</p>",
         {"y onmouseover=t(1)"}},
        {"NoSpansSomethingTakenAway", "abcdef", {}, "abXYf", {"XY"}},
    };
}

void PrintTo(const PiecesCase& c, std::ostream* os) {
    *os << c.name;
}

class PiecesTest : public ::testing::TestWithParam<PiecesCase> {};

// The page as Pelto wrote it, in the parts it was written from: kept runs of the page before,
// each followed by the text put in after it.
std::vector<std::string_view> KeptParts(const PiecesCase& c) {
    std::vector<std::string_view> kept;
    const std::string_view before = c.before;
    for (const auto& [span, text] : c.parts) {
        kept.push_back(before.substr(span.first, span.second - span.first));
        kept.push_back(text);
    }
    return kept;
}

TEST_P(PiecesTest, TakingThemOutGivesThePageBefore) {
    const PiecesCase& c = GetParam();
    const std::vector<std::string_view> kept = KeptParts(c);
    const std::vector<InsertedPiece> pieces = ComputePieces(c.before, kept, c.written);
    std::vector<std::string> inserted;
    for (const InsertedPiece& p : pieces)
        inserted.push_back(p.inserted);
    EXPECT_EQ(inserted, c.inserted);
    auto at = LocatePieces(c.written, pieces, "page.htm");
    ASSERT_TRUE(at.ok()) << at.error().text();
    EXPECT_EQ(TakeOutPieces(c.written, pieces, *at), c.before);
    // Text added in front of and behind the page moves the pieces but keeps them.
    const std::string edited = "<!-- mine -->" + c.written + "<!-- also mine -->";
    at = LocatePieces(edited, pieces, "page.htm");
    ASSERT_TRUE(at.ok()) << at.error().text();
    EXPECT_EQ(TakeOutPieces(edited, pieces, *at),
              "<!-- mine -->" + c.before + "<!-- also mine -->");
}

// The page as written is handed over in the parts it was written from: cut anywhere (one
// byte each, in two at every place, with empty parts between), it gives the same pieces.
TEST_P(PiecesTest, TheWrittenPageInPartsGivesTheSamePieces) {
    const PiecesCase& c = GetParam();
    const std::vector<std::string_view> kept = KeptParts(c);
    const std::vector<InsertedPiece> whole = ComputePieces(c.before, kept, c.written);
    const std::string_view written = c.written;
    std::vector<std::string_view> bytes;
    for (size_t i = 0; i < written.size(); ++i)
        bytes.push_back(written.substr(i, 1));
    EXPECT_EQ(ComputePieces(c.before, kept, bytes), whole);
    for (size_t cut = 0; cut <= written.size(); ++cut) {
        const std::vector<std::string_view> two{
            {}, written.substr(0, cut), {}, written.substr(cut)};
        EXPECT_EQ(ComputePieces(c.before, kept, two), whole) << "cut at " << cut;
    }
}

INSTANTIATE_TEST_SUITE_P(Pages, PiecesTest, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LocatePiecesTest, APieceAtTwoPlacesIsToldApartByItsNeighbours) {
    const std::string before = "<p>a</p><p>b</p>";
    const std::string written = "<p>a</p>X<p>b</p>";
    const auto pieces = ComputePieces(
        before, {std::string_view(before).substr(0, 8), "X", std::string_view(before).substr(8)},
        written);
    ASSERT_EQ(pieces.size(), 1u);
    // The user put another "X" in front, then moved text so the offset no longer fits.
    const std::string now = "X<p>new</p><p>a</p>X<p>b</p>";
    auto at = LocatePieces(now, pieces, "p.htm");
    ASSERT_TRUE(at.ok()) << at.error().text();
    EXPECT_EQ(TakeOutPieces(now, pieces, *at), "X<p>new</p><p>a</p><p>b</p>");
    // Two places alike: the one nearer to where the edits in front put it.
    const std::string twice = "zz<p>a</p>X<p>b</p><p>a</p>X<p>b</p>";
    at = LocatePieces(twice, pieces, "p.htm");
    ASSERT_TRUE(at.ok()) << at.error().text();
    EXPECT_EQ((*at)[0], 10u);
    // Two places alike and as near: nothing is guessed.
    InsertedPiece between = pieces[0];
    between.offset = 18;
    at = LocatePieces("<p>a</p>X<p>b</p>___<p>a</p>X<p>b</p>", {between}, "p.htm");
    ASSERT_FALSE(at.ok());
    EXPECT_NE(at.error().text().find("more than one place"), std::string::npos);
    EXPECT_EQ(at.error().file, "p.htm");
    EXPECT_EQ(at.error().line, 1);
}

TEST(LineOfOffsetTest, CountsLfCrLfAndLoneCr) {
    EXPECT_EQ(LineOfOffset("a\r\nb\nc\rd", 0), 1);
    EXPECT_EQ(LineOfOffset("a\r\nb\nc\rd", 3), 2);
    EXPECT_EQ(LineOfOffset("a\r\nb\nc\rd", 5), 3);
    EXPECT_EQ(LineOfOffset("a\r\nb\nc\rd", 7), 4);
    EXPECT_EQ(LineOfOffset("abc", 99), 1);
}

TEST(AppliedRecordTest, KeepsAnyBytesAndPassesOverAnEntryCutShort) {
    test::TempFolder folder;
    const std::string page = "/site/Łódź/index.htm";
    AppliedRecord a;
    a.changeId = "000001-20261211T000000Z";
    a.time = "2026-12-11 07:00:00";
    a.scriptId = "fx";
    a.effectName = "Effect \"fx\"\nwith a line";
    a.repeat = 2;
    a.values = "Text1\r\nZa\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87 <b> & \"q\"\r\n";
    a.externals = {"2fx.js"};
    a.pieces = {{7, "*****", std::string("a\0b\nend\n", 8), "ctx", "\r\n"}};
    ASSERT_TRUE(AppendApplied(folder.path(), page, a).ok());
    // A run that died while appending leaves part of an entry.
    {
        std::ofstream out(AppliedRecordFile(folder.path(), page), std::ios::app | std::ios::binary);
        out << "application 000002-x 0 1 0\ntext 3\nabc\n";
    }
    auto read = ReadApplied(folder.path(), page);
    ASSERT_TRUE(read.ok()) << read.error().text();
    ASSERT_EQ(read->size(), 1u);
    EXPECT_EQ((*read)[0], a);
    AppliedRecord b = a;
    b.changeId = "000003-20261211T000001Z";
    b.pieces.clear();
    ASSERT_TRUE(AppendApplied(folder.path(), page, b).ok());
    read = ReadApplied(folder.path(), page);
    ASSERT_TRUE(read.ok()) << read.error().text();
    ASSERT_EQ(read->size(), 2u);
    EXPECT_EQ((*read)[1], b);
    // Another page has a file of its own; a page without one has no records.
    read = ReadApplied(folder.path(), "/site/other.htm");
    ASSERT_TRUE(read.ok());
    EXPECT_TRUE(read->empty());
}

TEST(AppliedRecordTest, LongCodeIsKeptOnceForEveryPageThatHasIt) {
    test::TempFolder folder;
    AppliedRecord r;
    r.changeId = "000001-20261211T000000Z";
    r.scriptId = "fx";
    const std::string code = "<script>" + std::string(3000, 'x') + "</script>";
    r.pieces = {{0, "", "<!--2erghdf45yrfx-->\r\n", "", "<html>"},
                {40, "", code, "<head>", "</head>"}};
    for (const char* page : {"/site/a.htm", "/site/b.htm"})
        ASSERT_TRUE(AppendApplied(folder.path(), page, r).ok());
    size_t shared = 0;
    for (const auto& e : fs::directory_iterator(folder.path() / "shared")) {
        ++shared;
        EXPECT_EQ(test::ReadAll(e.path()), code);
    }
    EXPECT_EQ(shared, 1u);
    EXPECT_LT(fs::file_size(AppliedRecordFile(folder.path(), "/site/a.htm")), 500u);
    auto read = ReadApplied(folder.path(), "/site/b.htm");
    ASSERT_TRUE(read.ok()) << read.error().text();
    ASSERT_EQ(read->size(), 1u);
    EXPECT_EQ((*read)[0], r);
    // The same code applied again to one page: every entry gets its bytes.
    r.changeId = "000002-20261211T000001Z";
    ASSERT_TRUE(AppendApplied(folder.path(), "/site/a.htm", r).ok());
    r.changeId = "000003-20261211T000002Z";
    ASSERT_TRUE(AppendApplied(folder.path(), "/site/a.htm", r).ok());
    read = ReadApplied(folder.path(), "/site/a.htm");
    ASSERT_TRUE(read.ok()) << read.error().text();
    ASSERT_EQ(read->size(), 3u);
    for (const AppliedRecord& each : *read)
        EXPECT_EQ(each.pieces, r.pieces) << each.changeId;
    EXPECT_EQ(read->back(), r);
    // The shared file changed by hand: the record is refused, naming it.
    const fs::path file = fs::directory_iterator(folder.path() / "shared")->path();
    std::ofstream(file, std::ios::binary | std::ios::trunc) << "changed";
    read = ReadApplied(folder.path(), "/site/a.htm");
    ASSERT_FALSE(read.ok());
    EXPECT_EQ(read.error().file, file.string());
}

TEST(AppliedRecordTest, ADamagedFileIsNamed) {
    test::TempFolder folder;
    const fs::path file = AppliedRecordFile(folder.path(), "/p.htm");
    std::ofstream(file, std::ios::binary) << "something else\n";
    auto read = ReadApplied(folder.path(), "/p.htm");
    ASSERT_FALSE(read.ok());
    EXPECT_EQ(read.error().file, file.string());
    AppliedRecord r;
    EXPECT_FALSE(AppendApplied(folder.path(), "/p.htm", r).ok());
    EXPECT_EQ(test::ReadAll(file), "something else\n");
}

} // namespace
} // namespace pelto
