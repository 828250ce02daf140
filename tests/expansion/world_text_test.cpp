// Texts of every script through every placeholder: an escaped placeholder writes pure
// ASCII that reads back as the same characters on any page; a placeholder without
// modifier writes the page's own encoding (UTF-8, or Windows-1252 with "&#N;" for what
// it cannot hold); menu lines and link attribute texts escape every character.
#include "common/cp1252.h"
#include "common/file_text.h"
#include "expansion/escaping.h"
#include "expansion/link_attributes.h"
#include "expansion/menu_lines.h"
#include "expansion/page_text.h"
#include "expansion/placeholder.h"
#include "expansion_fixture.h"
#include "library/page_links.h"

#include <gtest/gtest.h>

#include <vector>

namespace pelto {
namespace {

using test::P;

struct WorldText {
    const char* label;
    std::string utf8; // as the program holds it
};

void PrintTo(const WorldText& t, std::ostream* os) {
    *os << t.label;
}

const std::vector<WorldText>& Texts() {
    static const std::vector<WorldText> texts = {
        {"Polish", "Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87 g\xC4\x99\xC5\x9Bl\xC4\x85 \xC5\x81\xC3\xB3"
                   "d\xC5\xBA"},
        {"Greek", "\xCE\x9A\xCE\xB1\xCE\xBB\xCE\xB7\xCE\xBC\xCE\xAD\xCF\x81\xCE\xB1"},
        // "Привет, Юля": the second byte of "Ю" is the opening mark's byte.
        {"Cyrillic", "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82, \xD0\xAE\xD0\xBB\xD1\x8F"},
        {"Cjk", "\xE5\x86\x99\xE7\x9C\x9F \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E \xED\x95\x9C"},
        {"Hebrew", "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D \xD7\xA2\xD7\x95\xD7\x9C\xD7\x9D"},
        {"Arabic", "\xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7"},
        {"CombiningAccent", "Cafe\xCC\x81"},
        {"AstralEmoji", "ok \xF0\x9F\x98\x80!"},
        {"ZwjSequence", "\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x92\xBB"},
        {"Noncharacters", "a\xEF\xBF\xBF"
                          "b\xEF\xB7\x90"},
        // A lone surrogate in a UTF-8 template or definition file is read as U+FFFD.
        {"LoneSurrogateFromABrokenFile", FileTextToUtf8("\xEF\xBB\xBF"
                                                        "a\xED\xA0\x80"
                                                        "b")},
        // And a broken byte that reached a value some other way counts as U+FFFD too.
        {"BrokenBytesInAValue", "x\xC3(\xA9y"},
        {"WesternWithMarkup", "Tom's \"A&B\" <i>caf\xC3\xA9</i> \xE2\x82\xAC \xC2\xAE"},
    };
    return texts;
}

// The characters of a UTF-8 text; a byte that is no character counts as U+FFFD.
std::vector<uint32_t> CodePoints(std::string_view text) {
    std::vector<uint32_t> out;
    for (size_t i = 0; i < text.size();) {
        uint32_t cp = 0;
        const size_t len = ReadUtf8Char(text, i, cp);
        out.push_back(len == 0 ? 0xFFFD : cp);
        i += len == 0 ? 1 : len;
    }
    return out;
}

bool IsAscii(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

// What a browser reads from element text: "&#N;" and the five named references; any
// other byte is a character of the page's encoding (decode gives its code point).
template <class Decode> std::vector<uint32_t> ReadHtml(std::string_view text, Decode decode) {
    std::vector<uint32_t> out;
    static const std::pair<std::string_view, uint32_t> kNamed[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}};
    for (size_t i = 0; i < text.size();) {
        if (text.compare(i, 2, "&#") == 0) {
            const size_t semi = text.find(';', i);
            out.push_back(
                static_cast<uint32_t>(std::stoul(std::string(text.substr(i + 2, semi - i - 2)))));
            i = semi + 1;
            continue;
        }
        bool named = false;
        for (const auto& [ref, cp] : kNamed)
            if (text.compare(i, ref.size(), ref) == 0) {
                out.push_back(cp);
                i += ref.size();
                named = true;
                break;
            }
        if (!named)
            i += decode(text, i, out);
    }
    return out;
}

size_t AsciiByte(std::string_view text, size_t i, std::vector<uint32_t>& out) {
    EXPECT_LT(static_cast<unsigned char>(text[i]), 0x80) << "a byte beyond ASCII in " << text;
    out.push_back(static_cast<unsigned char>(text[i]));
    return 1;
}

size_t Cp1252Byte(std::string_view text, size_t i, std::vector<uint32_t>& out) {
    out.push_back(Cp1252CodePoint(static_cast<unsigned char>(text[i])));
    return 1;
}

// What a JavaScript string literal holds, as characters (surrogate pairs joined).
std::vector<uint32_t> ReadJs(std::string_view text) {
    std::vector<uint32_t> units;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            units.push_back(static_cast<unsigned char>(text[i]));
            continue;
        }
        const char e = text[i + 1];
        if (e == 'u' || e == 'x') {
            const size_t n = e == 'u' ? 4 : 2;
            units.push_back(
                static_cast<uint32_t>(std::stoul(std::string(text.substr(i + 2, n)), nullptr, 16)));
            i += 1 + n;
        } else {
            units.push_back(e == 'n' ? '\n' : e == 'r' ? '\r' : static_cast<unsigned char>(e));
            i += 1;
        }
    }
    std::vector<uint32_t> out;
    for (size_t k = 0; k < units.size(); ++k) {
        if (units[k] >= 0xD800 && units[k] <= 0xDBFF && k + 1 < units.size()) {
            out.push_back(0x10000 + ((units[k] - 0xD800) << 10) + (units[k + 1] - 0xDC00));
            ++k;
        } else {
            EXPECT_FALSE(units[k] >= 0xD800 && units[k] <= 0xDFFF)
                << "a lone surrogate in " << text;
            out.push_back(units[k]);
        }
    }
    return out;
}

std::string ReadUrl(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%') {
            out += static_cast<char>(std::stoul(std::string(text.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

// Every place a user's text goes, set to the text.
Workspace WorkspaceHolding(const std::string& text) {
    Workspace ws = test::MakeExpansionWorkspace();
    ParameterState& p = ws.Params;
    p.TextParameters[1].Value = text;
    p.OptionParameters[1].Texts = {"left", text, ""};
    p.FontParameters[1].FontName = text;
    p.FileParameters[1].FileName = text;
    p.ListParameters[1].Entries = {{text, text}, {"b", "y"}, {"c", "z"}};
    p.ListParameters[1].EntryFormat = "#";
    p.ListParameters[1].Rows = 1;
    return ws;
}

const char* const kPlaces[] = {"Title,TEXTVALUE",    "Dir,TEXTVALUE",   "Face,FONTNAME",
                               "Sound,FILENAMEONLY", "Items,LISTENTRY", "Items,LE0",
                               "Items,DB0",          "Items,FIRSTENTRY"};

class WorldTextTest : public ::testing::TestWithParam<WorldText> {};

TEST_P(WorldTextTest, EveryModifierReadsBackAsTheSameCharacters) {
    const std::string& text = GetParam().utf8;
    const std::vector<uint32_t> chars = CodePoints(text);
    for (bool utf8Page : {false, true}) {
        Workspace ws = WorkspaceHolding(text);
        ws.PageIsUtf8 = utf8Page;
        for (const char* place : kPlaces) {
            SCOPED_TRACE(std::string(place) +
                         (utf8Page ? " on a UTF-8 page" : " on a Windows-1252 page"));
            const std::string html = ExpandLine(ws, P(std::string(place) + "|HTML"));
            EXPECT_TRUE(IsAscii(html)) << html;
            EXPECT_EQ(ReadHtml(html, AsciiByte), chars);
            const std::string js = ExpandLine(ws, P(std::string(place) + "|JS"));
            EXPECT_TRUE(IsAscii(js)) << js;
            EXPECT_EQ(ReadJs(js), chars);
            const std::string url = ExpandLine(ws, P(std::string(place) + "|URL"));
            EXPECT_TRUE(IsAscii(url)) << url;
            EXPECT_EQ(ReadUrl(url), ValidUtf8(text));
            const std::string raw = ExpandLine(ws, P(place));
            if (utf8Page) {
                EXPECT_EQ(raw, ValidUtf8(text));
            } else {
                EXPECT_EQ(ReadHtml(raw, Cp1252Byte), chars);
                if (FitsCp1252(text)) {
                    EXPECT_EQ(raw, *Utf8ToCp1252(text)); // Western: the bytes as always
                }
            }
        }
    }
}

TEST_P(WorldTextTest, MenuLinesAndLinkAttributesEscapeEveryCharacter) {
    const std::string& text = GetParam().utf8;
    Workspace ws = test::MakeExpansionWorkspace();
    MenuParameter& m = ws.Params.Menu;
    m.Count = 1;
    m.ResetEntries();
    m.MenuEntries[1] = text;
    m.MenuCaptions[1] = text;
    m.MenuLinks[1] = "page.htm?q=" + text;
    BuildMenuLines(ws);
    const std::string& line = m.MenuLines[1];
    EXPECT_TRUE(IsAscii(line)) << line;
    EXPECT_NE(line.find(EscapeJs(text)), std::string::npos) << line;
    for (bool utf8Page : {false, true}) {
        ws.PageIsUtf8 = utf8Page;
        EXPECT_EQ(ExpandLine(ws, P("Nav,MENUDATA")), line + "\r\n");
    }
    const std::string attribute = FillFirstMarkers("title=\"*\" data-x=\"#\"", text, text);
    EXPECT_TRUE(IsAscii(attribute)) << attribute;
    const size_t open = attribute.find('"') + 1;
    EXPECT_EQ(ReadHtml(attribute.substr(open, attribute.find('"', open) - open), AsciiByte),
              CodePoints(text));
}

INSTANTIATE_TEST_SUITE_P(Scripts, WorldTextTest, ::testing::ValuesIn(Texts()),
                         [](const auto& info) { return std::string(info.param.label); });

// The exact bytes, written out by hand.
struct BytesCase {
    const char* label;
    std::string value;
    std::string keyword;
    bool utf8Page;
    std::string expected;
};

class WorldBytesTest : public ::testing::TestWithParam<BytesCase> {};

TEST_P(WorldBytesTest, GivesTheseBytes) {
    const BytesCase& c = GetParam();
    Workspace ws = WorkspaceHolding(c.value);
    ws.PageIsUtf8 = c.utf8Page;
    EXPECT_EQ(ExpandLine(ws, P("Title,TEXTVALUE" + c.keyword)), c.expected);
}

const std::string kLodz = "\xC5\x81\xC3\xB3"
                          "d\xC5\xBA";        // "Łódź"
const std::string kGrin = "\xF0\x9F\x98\x80"; // U+1F600

INSTANTIATE_TEST_SUITE_P(
    Values, WorldBytesTest,
    ::testing::Values(
        BytesCase{"PolishHtml", kLodz, "|HTML", true, "&#321;&#243;d&#378;"},
        BytesCase{"PolishJs", kLodz, "|JS", false, "\\u0141\\u00F3d\\u017A"},
        BytesCase{"PolishUrl", kLodz, "|URL", false, "%C5%81%C3%B3d%C5%BA"},
        BytesCase{"PolishRawOnWindows1252", kLodz, "", false,
                  "&#321;\xF3"
                  "d&#378;"},
        BytesCase{"PolishRawOnUtf8", kLodz, "", true, kLodz},
        BytesCase{"EmojiHtml", kGrin, "|HTML", false, "&#128512;"},
        BytesCase{"EmojiJsIsASurrogatePair", kGrin, "|JS", true, "\\uD83D\\uDE00"},
        BytesCase{"EmojiUrl", kGrin, "|URL", true, "%F0%9F%98%80"},
        BytesCase{"EmojiRawOnWindows1252", kGrin, "", false, "&#128512;"},
        BytesCase{"NoncharacterJs", "\xEF\xBF\xBF", "|JS", false, "\\uFFFF"},
        BytesCase{"BrokenByteHtml",
                  "a\xFF"
                  "b",
                  "|HTML", true, "a&#65533;b"},
        BytesCase{"BrokenByteRawOnUtf8",
                  "a\xFF"
                  "b",
                  "", true,
                  "a\xEF\xBF\xBD"
                  "b"},
        // Western text gives the bytes it always gave, escaped on either page.
        BytesCase{"WesternHtmlOnUtf8", "caf\xC3\xA9 \xE2\x82\xAC", "|HTML", true,
                  "caf&#233; &#8364;"},
        BytesCase{"WesternJsOnUtf8", "caf\xC3\xA9 \xE2\x82\xAC", "|JS", true, "caf\\u00E9 \\u20AC"},
        BytesCase{"WesternRawOnWindows1252", "caf\xC3\xA9 \xE2\x82\xAC \xC2\xAE", "", false,
                  "caf\xE9 \x80 \xAE"},
        // The one change: a placeholder without modifier writes UTF-8 into a UTF-8 page
        // (it wrote the Windows-1252 bytes there, which a browser shows as U+FFFD).
        BytesCase{"WesternRawOnUtf8IsUtf8", "caf\xC3\xA9 \xE2\x82\xAC \xC2\xAE", "", true,
                  "caf\xC3\xA9 \xE2\x82\xAC \xC2\xAE"}),
    [](const auto& info) { return std::string(info.param.label); });

// A value that holds a placeholder (as a definition's value or list format may) is still
// expanded on a UTF-8 page; a lone "®" in it stays a character.
TEST(WorldText, PlaceholderInsideAValueOnBothPages) {
    const std::string value = "\xC2\xAE x \xC2\xAE"
                              "Speed,INTVALUE\xC2\xAF \xC2\xAF";
    for (bool utf8Page : {false, true}) {
        Workspace ws = test::MakeExpansionWorkspace();
        ws.PageIsUtf8 = utf8Page;
        ws.Params.TextParameters[1].Value = value;
        EXPECT_EQ(ExpandLine(ws, P("Title,TEXTVALUE")),
                  utf8Page ? "\xC2\xAE x 5 \xC2\xAF" : "\xAE x 5 \xAF");
    }
}

TEST(WorldText, ListFormatPlaceholdersAreExpandedOnAUtf8Page) {
    Workspace ws = test::MakeExpansionWorkspace();
    ws.PageIsUtf8 = true;
    ListParameter& l = ws.Params.ListParameters[1];
    l.EntryFormat = "<a data-\xC2\xAEVar,TIP\xC2\xAF=\"#\">*</a>";
    l.Entries = {{kLodz, ""}, {"b", ""}, {"c", ""}};
    l.Rows = 1;
    EXPECT_EQ(ExpandLine(ws, P("Items,LISTENTRY|HTML")),
              "<a data-pv1=\"&#321;&#243;d&#378;\">0</a>");
}

// Cyrillic and CJK hold the mark bytes inside their characters: they are never taken
// for marks, and a placeholder behind them is still expanded.
TEST(WorldText, MarkBytesInsideCharactersAreNoMarks) {
    Workspace ws = test::MakeExpansionWorkspace();
    ws.PageIsUtf8 = true;
    const std::string yu = "\xD0\xAE", ya = "\xD0\xAF"; // Ю and Я
    ws.Params.TextParameters[1].Value = yu + "Speed,INTVALUE" + ya;
    EXPECT_EQ(ExpandLine(ws, P("Title,TEXTVALUE") + " " + P("Speed,INTVALUE")),
              yu + "Speed,INTVALUE" + ya + " 5");
}

// A link template that names a placeholder (held with the marks as characters) writes
// the marks the expansion finds into a page of either encoding, and the link texts escaped.
TEST(WorldText, LinkTemplatePlaceholdersAreFoundOnBothPages) {
    for (bool utf8Page : {false, true}) {
        const std::string page = std::string(utf8Page ? "<meta charset=utf-8>" : "") +
                                 "<a href=x>" +
                                 (utf8Page ? kLodz
                                           : std::string("L\xF3"
                                                         "dz")) +
                                 "</a>";
        auto links = ScanLinks(page, "p.htm");
        ASSERT_TRUE(links);
        Workspace ws = test::MakeExpansionWorkspace();
        ws.PageIsUtf8 = utf8Page;
        MouseoverParameter& m = ws.Params.Mouseover;
        m.Links = *links;
        m.Links[1].Text1 = kGrin + " " + kLodz;
        m.Template = "data-\xC2\xAEVar,TIP\xC2\xAF=\"*\"";
        auto withAttributes = InsertLinkAttributesText(page, m, "p.htm");
        ASSERT_TRUE(withAttributes);
        EXPECT_NE(
            ExpandLine(ws, *withAttributes).find(" data-pv1=\"&#128512; &#321;&#243;d&#378;\">"),
            std::string::npos)
            << *withAttributes;
    }
}

TEST(WorldText, PageTextOfAnEmptyAndAnAsciiValue) {
    EXPECT_EQ(ToPageText("", true), "");
    EXPECT_EQ(ToPageText("plain <text>", false), "plain <text>");
    EXPECT_EQ(ToPageText("\xC2\xAF only", true), "\xC2\xAF only");
    EXPECT_EQ(ToPageText("\xC2\xAF only", false), "\xAF only");
}

} // namespace
} // namespace pelto
