#include "attach/output_folder.h"
#include "attach_fixture.h"

#include "common/files.h"
#include "expansion/placeholder.h"

#include <random>

namespace pelto {
namespace {

using test::AttachFixture;

struct TextCase {
    const char* label;
    std::string in;
    std::string out;
};

class ExpandTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(ExpandTextTest, RewritesLinesWithCrLfAndOneMore) {
    Workspace ws;
    ws.ScriptRepeat = 3;
    EXPECT_EQ(ExpandText(ws, GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ExpandTextTest,
    ::testing::Values(TextCase{"Empty", "", "\r\n"},
                      TextCase{"CrLf", "a\r\nb\r\n", "a\r\nb\r\n\r\n"},
                      TextCase{"NoFinalLineEnd", "a\r\nb", "a\r\nb\r\n\r\n"},
                      TextCase{"LoneCr", "a\rb\r", "a\r\nb\r\n\r\n"},
                      TextCase{"LoneLfStaysInTheLine", "a\nb\r\n", "a\nb\r\n\r\n"},
                      TextCase{"EmptyLines", "\r\n\r\n", "\r\n\r\n\r\n"},
                      TextCase{"LoneLfAtTheEnd", "a\r\nb\n", "a\r\nb\n\r\n\r\n"},
                      TextCase{"PlaceholdersOnFirstAndLastLine",
                               "\xAE"
                               "App,SCRIPTREPEAT\xAF\r\nx\r\ny\xAE"
                               "App,SCRIPTREPEAT\xAF",
                               "3\r\nx\r\ny3\r\n\r\n"},
                      TextCase{"Placeholder",
                               "n=\xAE"
                               "App,SCRIPTREPEAT\xAF;\r\n",
                               "n=3;\r\n\r\n"}),
    [](const auto& info) { return std::string(info.param.label); });

// The lines of a text, each expanded on its own, as a reader of lines sees them: the
// reference the whole-text expansion must match byte for byte, whatever the line ends.
std::string ExpandLineByLine(Workspace& ws, std::string_view bytes) {
    std::string out;
    size_t budget = ExpansionBudget(bytes.size());
    size_t start = 0;
    while (start < bytes.size()) {
        size_t cr = bytes.find('\r', start);
        size_t end = cr == std::string_view::npos ? bytes.size() : cr;
        out += ExpandLine(ws, bytes.substr(start, end - start), budget) + "\r\n";
        if (cr == std::string_view::npos)
            break;
        start = cr + 1 + (cr + 1 < bytes.size() && bytes[cr + 1] == '\n');
    }
    return out + "\r\n";
}

TEST(ExpandText, MatchesLineByLineExpansionOfAnyText) {
    const std::vector<std::string> pieces = {"a",
                                             "<p>",
                                             "\r\n",
                                             "\r\n",
                                             "\r",
                                             "\n",
                                             "\xAE"
                                             "App,SCRIPTREPEAT\xAF",
                                             "\xAE"
                                             "Var,x\xAF",
                                             "\xAE",
                                             "\xAF",
                                             " "};
    std::mt19937 rng(1216);
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        const int n = static_cast<int>(rng() % 24);
        for (int i = 0; i < n; ++i)
            text += pieces[rng() % pieces.size()];
        Workspace a;
        Workspace b;
        a.ScriptRepeat = b.ScriptRepeat = 2;
        ASSERT_EQ(ExpandText(a, text), ExpandLineByLine(b, text)) << "text: " << text;
    }
}

// Split anywhere, even between the CR and the LF of a line end, the parts expand to the
// same bytes as the whole text.
TEST(ExpandParts, MatchesTheWholeTextHoweverItIsSplit) {
    const std::vector<std::string> pieces = {"a",
                                             "<p>",
                                             "\r\n",
                                             "\r\n",
                                             "\r",
                                             "\n",
                                             "\xAE"
                                             "App,SCRIPTREPEAT\xAF",
                                             "\xAE",
                                             " "};
    std::mt19937 rng(1612);
    for (int round = 0; round < 3000; ++round) {
        std::string text;
        const int n = static_cast<int>(rng() % 24);
        for (int i = 0; i < n; ++i)
            text += pieces[rng() % pieces.size()];
        std::vector<std::string_view> parts;
        size_t at = 0;
        while (at < text.size()) {
            const size_t len = std::min<size_t>(text.size() - at, rng() % 6);
            parts.push_back(std::string_view(text).substr(at, len));
            at += len;
        }
        Workspace a;
        Workspace b;
        a.ScriptRepeat = b.ScriptRepeat = 4;
        ASSERT_EQ(ExpandParts(a, parts).Join(), ExpandText(b, text)) << "text: " << text;
    }
}

TEST(ExpandParts, LinesWithoutPlaceholdersStayInTheInput) {
    std::string page;
    for (int i = 0; i < 1000; ++i)
        page += "<p>line " + std::to_string(i) + "</p>\r\n";
    const std::string code = "n=\xAE"
                             "App,SCRIPTREPEAT\xAF;\r\n";
    const std::string_view whole(page);
    Workspace ws;
    ws.ScriptRepeat = 7;
    TextParts out = ExpandParts(ws, {whole.substr(0, 500), code, whole.substr(500)});
    ASSERT_EQ(out.Join(), ExpandText(ws, page.substr(0, 500) + code + page.substr(500)));
    EXPECT_NE(out.Join().find("n=7;\r\n"), std::string::npos);
    // The long stretches are views into the page, not copies of it.
    EXPECT_EQ(out.parts.front().data(), page.data());
    EXPECT_EQ(out.parts[out.parts.size() - 2].data() + out.parts[out.parts.size() - 2].size(),
              page.data() + page.size());
}

struct NameCase {
    const char* name;
    bool picture;
};

class PictureNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(PictureNameTest, ByTheEndOfTheName) {
    EXPECT_EQ(IsPictureName(GetParam().name), GetParam().picture);
}

INSTANTIATE_TEST_SUITE_P(Names, PictureNameTest,
                         ::testing::Values(NameCase{"a.gif", true}, NameCase{"A.GIF", true},
                                           NameCase{"a.Jpg", true}, NameCase{"a.jpeg", true},
                                           NameCase{"a.png", true}, NameCase{"a.ICO", true},
                                           NameCase{"a.bmp", true}, NameCase{"a.WebP", true},
                                           NameCase{"a.js", false}, NameCase{"a.htm", false},
                                           NameCase{"gif.txt", false}));

struct CopyNameCase {
    std::string page;
    std::string copy;
};

class CopyPagePathTest : public ::testing::TestWithParam<CopyNameCase> {};

TEST_P(CopyPagePathTest, OneBeforeTheLastDotOfTheFileName) {
    EXPECT_EQ(CopyPagePath(GetParam().page).string(), GetParam().copy);
}

INSTANTIATE_TEST_SUITE_P(Names, CopyPagePathTest,
                         ::testing::Values(CopyNameCase{"/site/index.htm", "/site/index_1.htm"},
                                           CopyNameCase{"/my.site/page", "/my.site/page_1"},
                                           CopyNameCase{"/s/a.b.html", "/s/a.b_1.html"},
                                           CopyNameCase{"/s/.hidden", "/s/_1.hidden"}));

TEST_F(AttachFixture, ClearOutputFolderDeletesFilesButNotFolders) {
    home.WriteFile("output/a.htm", "a");
    home.WriteFile("output/b.gif", "b");
    home.WriteFile("output/sub/keep.txt", "k");
    ASSERT_TRUE(ClearOutputFolder(ws));
    EXPECT_FALSE(std::filesystem::exists(home.path() / "output" / "a.htm"));
    EXPECT_FALSE(std::filesystem::exists(home.path() / "output" / "b.gif"));
    EXPECT_EQ(test::ReadAll(home.path() / "output" / "sub" / "keep.txt"), "k");
}

TEST_F(AttachFixture, ClearOutputFolderCreatesAMissingFolder) {
    std::filesystem::remove_all(home.path() / "output");
    ASSERT_TRUE(ClearOutputFolder(ws));
    EXPECT_TRUE(std::filesystem::is_directory(home.path() / "output"));
}

TEST_F(AttachFixture, ExpandOutputFolderLeavesPicturesAndBinaryFilesAlone) {
    const std::string text = "v=\xAE"
                             "App,INTSEQUENCE\xAF";
    const std::string binary = std::string("GIF89a") + '\0' + text;
    home.WriteFile("output/a.js", text);
    home.WriteFile("output/b.GIF", text);
    home.WriteFile("output/c.jpeg", text);
    home.WriteFile("output/d.webp", text);
    home.WriteFile("output/e.dat", binary);
    home.WriteFile("output/f.htm", text + "\r\n" + text);
    ASSERT_TRUE(ExpandOutputFolder(ws));
    const auto out = home.path() / "output";
    EXPECT_EQ(test::ReadAll(out / "a.js"), "v=1\r\n\r\n");
    EXPECT_EQ(test::ReadAll(out / "b.GIF"), text);
    EXPECT_EQ(test::ReadAll(out / "c.jpeg"), text);
    EXPECT_EQ(test::ReadAll(out / "d.webp"), text);
    EXPECT_EQ(test::ReadAll(out / "e.dat"), binary);
    // Files are expanded in name order, so the counter goes on from a.js to f.htm.
    EXPECT_EQ(test::ReadAll(out / "f.htm"), "v=2\r\nv=3\r\n\r\n");
}

} // namespace
} // namespace pelto
