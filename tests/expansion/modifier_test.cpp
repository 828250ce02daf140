// Modifiers on placeholders and the rule that a lone opening mark never swallows one.
#include "expansion/placeholder.h"
#include "expansion_fixture.h"

#include <gtest/gtest.h>

namespace pelto {
namespace {

using test::P;

// What a user types in a text box, in Windows-1252 bytes (the program holds it as UTF-8,
// test::U); without modifier a Windows-1252 page gets exactly these bytes.
const std::string kTyped = "Tom's \"A&B\" <i>x</i> \\ caf\xE9 \xAE 5 \x80";

struct ModifierLineCase {
    const char* label;
    std::string line;
    std::string expected;
};

class ModifierLineTest : public ::testing::TestWithParam<ModifierLineCase> {};

TEST_P(ModifierLineTest, GivesExactBytes) {
    Workspace ws = test::MakeExpansionWorkspace();
    ws.Params.TextParameters[1].Value = test::U(kTyped);
    ws.Params.FileParameters[1].FileName = "my beep.wav";
    ws.Params.OptionParameters[1].Texts = {"left", "<b>right</b>", ""};
    ListParameter& l = ws.Params.ListParameters[1];
    l.Entries = {{"a<b", "x'y"}, {"  ", "y"}, {"c&d", test::U("\xE9")}};
    ws.Params.Conditions.push_back({"Items", "NOTNULL", "<b>#</b>"});
    EXPECT_EQ(ExpandLine(ws, GetParam().line), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Modifiers, ModifierLineTest,
    ::testing::Values(
        ModifierLineCase{"Html", P("Title,TEXTVALUE|HTML"),
                         "Tom&#39;s &quot;A&amp;B&quot; &lt;i&gt;x&lt;/i&gt; \\ caf&#233; &#174; 5 "
                         "&#8364;"},
        ModifierLineCase{"JsInLowerCase", "'" + P("Title,textvalue|js") + "'",
                         "'Tom\\'s \\\"A&B\\\" \\x3Ci\\x3Ex\\x3C/i\\x3E \\\\ caf\\u00E9 \\u00AE 5 "
                         "\\u20AC'"},
        ModifierLineCase{"Url", P("Title,TEXTVALUE|Url"),
                         "Tom%27s%20%22A&B%22%20%3Ci%3Ex%3C/i%3E%20%5C%20caf%C3%A9%20%C2%AE%205%20"
                         "%E2%82%AC"},
        ModifierLineCase{"Unescaped", P("Title,TEXTVALUE"), kTyped},
        ModifierLineCase{"FileName", P("Sound,FULLFILENAME|URL"), "/music/my%20beep.wav"},
        ModifierLineCase{"Option", P("Dir,TEXTVALUE|HTML"), "&lt;b&gt;right&lt;/b&gt;"},
        ModifierLineCase{"NumberUnchanged", P("Speed,INTVALUE|JS") + P("Back,HVALUE|HTML"),
                         "50510FF"},
        ModifierLineCase{"UnknownKeywordStays", P("Title,NOPE|HTML"), P("Title,NOPE|HTML")},
        ModifierLineCase{"UnknownNameStays", P("Nobody,TEXTVALUE|JS"), P("Nobody,TEXTVALUE|JS")},
        ModifierLineCase{"UnknownModifierStays", P("Title,TEXTVALUE|XML"),
                         P("Title,TEXTVALUE|XML")},
        ModifierLineCase{"TwoModifiersStay", P("Title,TEXTVALUE|HTML|JS"),
                         P("Title,TEXTVALUE|HTML|JS")},
        ModifierLineCase{"NoValueStays", P("Sound,IMAGEWIDTH|HTML"), P("Sound,IMAGEWIDTH|HTML")},
        // The entries are escaped; the entry format and the condition are not.
        ModifierLineCase{"ListEntryHtml", P("Items,LISTENTRY|HTML"),
                         "<b>[0:a&lt;b]</b><b>[1:  ]</b><b>[2:c&amp;d]</b>"},
        ModifierLineCase{"ColumnJs", P("Items,DB0|JS") + P("Items,DB2|JS"),
                         "<b>x\\'y</b><b>\\u00E9</b>"},
        ModifierLineCase{"FirstEntryUrl", P("Items,FIRSTENTRY|URL"), "a%3Cb"},
        // Blankness is told from the entry as typed: escaped blanks stay unwrapped.
        ModifierLineCase{"BlankEntryUrl", P("Items,LE1|URL"), "%20%20"},
        ModifierLineCase{"NoOfEntries", P("Items,LISTNOOFENTRIES|HTML"), "3"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(Modifier, EscapedValueIsNotExpandedAgain) {
    Workspace ws = test::MakeExpansionWorkspace();
    ws.Params.TextParameters[1].Value = test::U(P("Speed,INTVALUE"));
    EXPECT_EQ(ExpandLine(ws, P("Title,TEXTVALUE|HTML")), "&#174;Speed,INTVALUE&#175;");
    EXPECT_EQ(ExpandLine(ws, P("Title,TEXTVALUE")), "5");
}

TEST(Modifier, VarKeywordIsTheTextBeforeTheModifier) {
    Workspace ws = test::MakeExpansionWorkspace();
    EXPECT_EQ(ExpandLine(ws, P("Var,timer|JS") + " " + P("Var,TIMER")), "pv1 pv1");
}

TEST(Modifier, ExpandPlaceholderGivesThePlaceholderBackWithItsModifier) {
    Workspace ws = test::MakeExpansionWorkspace();
    EXPECT_EQ(ExpandPlaceholder(ws, "Title", "TEXTVALUE|HTML"), "Hello, world");
    EXPECT_EQ(ExpandPlaceholder(ws, "Title", "NOPE|HTML"), P("Title,NOPE|HTML"));
}

struct LoneMarkCase {
    const char* label;
    std::string line;
    std::string titleValue;
    std::string expected;
};

class LoneMarkTest : public ::testing::TestWithParam<LoneMarkCase> {};

TEST_P(LoneMarkTest, NeverSwallowsAPlaceholder) {
    Workspace ws = test::MakeExpansionWorkspace();
    ws.Params.TextParameters[1].Value = test::U(GetParam().titleValue);
    EXPECT_EQ(ExpandLine(ws, GetParam().line), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, LoneMarkTest,
    ::testing::Values(
        LoneMarkCase{"BeforeAPlaceholder", "\xAE" + P("Speed,INTVALUE"), "",
                     "\xAE"
                     "5"},
        LoneMarkCase{"SeveralBefore", "a\xAE b,c \xAE" + P("Speed,INTVALUE") + "\xAE", "",
                     "a\xAE b,c \xAE"
                     "5\xAE"},
        LoneMarkCase{"WithAClosingMarkFirst", "\xAF\xAE\xAE" + P("Speed,INTVALUE"), "",
                     "\xAF\xAE\xAE"
                     "5"},
        LoneMarkCase{"BetweenPlaceholders", P("Speed,INTVALUE") + "\xAE" + P("Dir,TEXTVALUE"), "",
                     "5\xAEright"},
        LoneMarkCase{"BeforeAPlaceholderWithoutValue", "\xAE" + P("Nobody,X") + P("Speed,INTVALUE"),
                     "", "\xAE" + P("Nobody,X") + "5"},
        // The mark comes in with a value and stands before the next placeholder.
        LoneMarkCase{"InsideAValue", P("Title,TEXTVALUE") + "|" + P("Title,TEXTVALUE"),
                     "caf\xE9 \xAE", "caf\xE9 \xAE|caf\xE9 \xAE"},
        LoneMarkCase{"InsideAValueBeforeItsPlaceholder", P("Title,TEXTVALUE") + "!",
                     "\xAE"
                     "a " +
                         P("Speed,INTVALUE"),
                     "\xAE"
                     "a 5!"},
        // A value that holds a complete placeholder is still expanded in turn.
        LoneMarkCase{"ValueWithPlaceholder", "<" + P("Title,TEXTVALUE") + ">",
                     "\xAE" + P("Dir,TEXTVALUE"), "<\xAEright>"}),
    [](const auto& info) { return std::string(info.param.label); });

} // namespace
} // namespace pelto
