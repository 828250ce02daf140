// Template files in either encoding: a template whose texts all fit Windows-1252 is
// written byte for byte as always; any other in UTF-8 after a byte order mark. Both read
// back every character, a broken UTF-8 file gives U+FFFD (never a crash), and link texts
// match the page's links by their characters.
#include "common/file_text.h"
#include "library/page_links.h"
#include "template_fixture.h"
#include "templates/template_files.h"

namespace pelto {
namespace {

using test::TemplateFixture;

const std::vector<std::string> kAll = {"Speed", "Back", "Items", "Nav",   "Dir",  "Face",
                                       "Sound", "Pic",  "Title", "Where", "Hover"};

std::vector<TemplateEntry> List(const Workspace& ws) {
    auto listed = ListTemplates(ws);
    EXPECT_TRUE(listed.ok()) << listed.error().text();
    return listed.ok() ? *listed : std::vector<TemplateEntry>{};
}

Status Save(Workspace& ws, const std::string& name) {
    return SaveTemplate(ws, name, kAll, List(ws), [](const std::string&) { return true; });
}

// Every text a template holds, set to text (with a mark of its place).
void SetEveryText(Workspace& ws, const std::string& text) {
    ParameterState& p = ws.Params;
    p.ListParameters[1].Entries = {{text + "0", text + "1"}, {text + "2", text + "3"}};
    for (int i = 1; i <= 3; ++i) {
        p.Menu.MenuEntries[i] = std::string(i == 3 ? ">" : "") + text + std::to_string(i);
        p.Menu.MenuCaptions[i] = text + "c";
        p.Menu.MenuLinks[i] = text + ".htm";
    }
    p.FontParameters[1].FontName = text + " Sans";
    p.FileParameters[1].FileName = text + ".wav";
    p.FileParameters[1].Path = "/" + text + "/";
    p.ImageParameters[1].FileName = text + ".gif";
    p.TextParameters[1].Value = text;
    p.Mouseover.Links[1].Text1 = text + " 1";
    p.Mouseover.Links[2].Text2 = text + " 2";
}

void ExpectEveryText(const Workspace& saved, const Workspace& ws) {
    const ParameterState& a = saved.Params;
    const ParameterState& b = ws.Params;
    EXPECT_EQ(b.ListParameters[1].Entries, a.ListParameters[1].Entries);
    EXPECT_EQ(b.Menu.MenuEntries, a.Menu.MenuEntries);
    EXPECT_EQ(b.Menu.MenuCaptions, a.Menu.MenuCaptions);
    EXPECT_EQ(b.Menu.MenuLinks, a.Menu.MenuLinks);
    EXPECT_EQ(b.FontParameters[1].FontName, a.FontParameters[1].FontName);
    EXPECT_EQ(b.FileParameters[1].FileName, a.FileParameters[1].FileName);
    EXPECT_EQ(b.FileParameters[1].Path, a.FileParameters[1].Path);
    EXPECT_EQ(b.ImageParameters[1].FileName, a.ImageParameters[1].FileName);
    EXPECT_EQ(b.TextParameters[1].Value, a.TextParameters[1].Value);
    EXPECT_EQ(b.Mouseover.Links[1].Text1, a.Mouseover.Links[1].Text1);
    EXPECT_EQ(b.Mouseover.Links[2].Text2, a.Mouseover.Links[2].Text2);
}

void ClearEveryText(Workspace& ws) {
    SetEveryText(ws, "");
}

struct EncodingCase {
    const char* label;
    std::string name; // UTF-8
    std::string text; // UTF-8
    bool windows1252; // the file is Windows-1252 (else UTF-8 with the mark)
};

class TemplateEncodingTest : public TemplateFixture,
                             public ::testing::WithParamInterface<EncodingCase> {};

TEST_P(TemplateEncodingTest, RoundTripsEveryTextInTheRightEncoding) {
    const EncodingCase& c = GetParam();
    SetEveryText(ws, c.text);
    ASSERT_TRUE(Save(ws, c.name));
    const std::string file = Read("fx.p01");
    const bool marked = file.rfind(std::string(kByteOrderMark), 0) == 0;
    EXPECT_EQ(marked, !c.windows1252);
    if (c.windows1252) {
        // Every byte as the Windows-1252 file always had it.
        const std::string cp = Utf8ToFileText(c.name + "\r\n" + c.text);
        EXPECT_EQ(file.substr(0, file.find('\n') + 1), cp.substr(0, cp.find('\n') + 1));
        EXPECT_NE(file.find(cp.substr(cp.find('\n') + 1)), std::string::npos);
    } else {
        EXPECT_NE(file.find(c.name + "\r\n"), std::string::npos); // the UTF-8 bytes
    }
    const Workspace saved = ws;
    ClearEveryText(ws);
    const std::vector<TemplateEntry> listed = List(ws);
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].name, c.name);
    ASSERT_TRUE(LoadTemplate(ws, c.name, listed, {}));
    ExpectEveryText(saved, ws);

    // Saved again unchanged, the file is the same byte for byte.
    ASSERT_TRUE(Save(ws, c.name));
    EXPECT_EQ(Read("fx.p01"), file);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TemplateEncodingTest,
    ::testing::Values(
        EncodingCase{"Ascii", "plain", "Hello", true},
        EncodingCase{"Western", "caf\xC3\xA9",
                     "Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9"
                     "e \xE2\x82\xAC 5 \xE2\x84\xA2",
                     true},
        EncodingCase{"PolishValue", "Polish",
                     "\xC5\x81\xC3\xB3"
                     "d\xC5\xBA",
                     false},
        EncodingCase{"JapaneseName", "\xE5\x86\x99\xE7\x9C\x9F", "plain", false},
        EncodingCase{
            "HebrewAndEmoji", "he",
            "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D \xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x92\xBB", false},
        EncodingCase{"GreekCyrillic", "gr", "\xCE\xB1\xCE\xB2\xCE\xB3 \xD0\x96\xD1\x83\xD0\xBA",
                     false}),
    [](const auto& info) { return std::string(info.param.label); });

TEST_F(TemplateFixture, AWindows1252TemplateFromAnOlderCopyReadsAsBefore) {
    home.WriteFile("userdata/fx.p01", "caf\xE9\r\nTitle\r\nCr\xE8me \x80 \x99\r\n");
    const std::vector<TemplateEntry> listed = List(ws);
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].name, "caf\xC3\xA9");
    ASSERT_TRUE(LoadTemplate(ws, "caf\xC3\xA9", listed, {}));
    EXPECT_EQ(ws.Params.TextParameters[1].Value, "Cr\xC3\xA8me \xE2\x82\xAC \xE2\x84\xA2");
}

TEST_F(TemplateFixture, AUtf8TemplateWrittenByHandIsReadAfterItsMark) {
    home.WriteFile("userdata/fx.p01", "\xEF\xBB\xBF\xC5\x81\xC3\xB3"
                                      "d\xC5\xBA\r\nTitle\r\n\xE5\x86\x99\xE7\x9C\x9F\r\n");
    const std::vector<TemplateEntry> listed = List(ws);
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].name, "\xC5\x81\xC3\xB3"
                              "d\xC5\xBA");
    ASSERT_TRUE(LoadTemplate(ws, listed[0].name, listed, {}));
    EXPECT_EQ(ws.Params.TextParameters[1].Value, "\xE5\x86\x99\xE7\x9C\x9F");
}

TEST_F(TemplateFixture, BrokenUtf8InATemplateReadsAsReplacementCharacters) {
    // A lone surrogate, a stray continuation byte, a cut character.
    home.WriteFile("userdata/fx.p01", "\xEF\xBB\xBFn\r\nTitle\r\na\xED\xA0\x80"
                                      "b\x80"
                                      "c\xE5\x86\r\n");
    const std::vector<TemplateEntry> listed = List(ws);
    ASSERT_EQ(listed.size(), 1u);
    ASSERT_TRUE(LoadTemplate(ws, "n", listed, {}));
    const std::string r = "\xEF\xBF\xBD";
    EXPECT_EQ(ws.Params.TextParameters[1].Value, "a" + r + r + r + "b" + r + "c" + r + r);
}

// Link texts match by their characters: a page written in Windows-1252 with character
// references and a UTF-8 page with the characters themselves, each with a template
// saved from the other.
TEST_F(TemplateFixture, LinkTextsMatchByCharactersWhateverTheEncodings) {
    const std::string cpPage = "<html><body><a href=x>&#321;\xF3"
                               "d&#378;</a> <a href=y>caf\xE9</a></body></html>";
    const std::string utf8Page = "<html><head><meta charset=\"utf-8\"></head><body>"
                                 "<a href=x>\xC5\x81\xC3\xB3"
                                 "d\xC5\xBA</a> <a href=y>caf\xC3\xA9</a></body></html>";
    for (const auto& [from, to] : {std::pair{cpPage, utf8Page}, std::pair{utf8Page, cpPage}}) {
        auto fromLinks = ScanLinks(from, "from.htm");
        ASSERT_TRUE(fromLinks.ok());
        ws.Params.Mouseover.Links = *fromLinks;
        ws.Params.Mouseover.Links[1].Text1 = "\xE5\x86\x99\xE7\x9C\x9F";
        ws.Params.Mouseover.Links[2].Text2 = "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D";
        ASSERT_TRUE(SaveTemplate(ws, "links", {"Hover"}, List(ws),
                                 [](const std::string&) { return true; }));
        auto toLinks = ScanLinks(to, "to.htm");
        ASSERT_TRUE(toLinks.ok());
        ws.Params.Mouseover.Links = *toLinks;
        ASSERT_TRUE(LoadTemplate(ws, "links", List(ws), {}));
        EXPECT_EQ(ws.Params.Mouseover.Links[1].Text1, "\xE5\x86\x99\xE7\x9C\x9F");
        EXPECT_EQ(ws.Params.Mouseover.Links[2].Text2, "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D");
    }
}

} // namespace
} // namespace pelto
