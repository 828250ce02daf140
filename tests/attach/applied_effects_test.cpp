// Taking an effect out of a page that the user edited since: the result is the user's page
// without the effect, byte for byte; an edit inside what Pelto inserted leaves the page as
// it is and the message names the page and the line.
#include "attach/applied_effects.h"
#include "attach/recorded_run.h"
#include "attach_fixture.h"

#include "common/files.h"
#include "undo/undo_store.h"

#include <functional>

namespace pelto {
namespace {

namespace fs = std::filesystem;
using test::Item;

// Replaces the first occurrence of from by to (the test's edits are made by this alone, so
// the same edit can be made to the page with and without the effect).
std::string Edit(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << "\"" << from << "\" is not in the page";
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

std::string WithLf(std::string text) {
    std::string out;
    for (char c : text)
        if (c != '\r')
            out += c;
    return out;
}

std::string OneLine(std::string text) {
    std::string out;
    for (char c : text)
        if (c != '\r' && c != '\n')
            out += c;
    return out;
}

const std::string kPage = "<html>\r\n<head>\r\n<title>Old</title>\r\n</head>\r\n"
                          "<body class=\"a\">\r\n<p>one</p>\r\n*****\r\n<p>two</p>\r\n</body>\r\n"
                          "</html>\r\n";

struct PageKind {
    const char* name;
    std::function<std::string()> page;
    std::string lineEnd;
};

const PageKind kPageKinds[] = {
    {"CrLf", [] { return kPage; }, "\r\n"},
    {"Lf", [] { return WithLf(kPage); }, "\n"},
    {"OneLongLine", [] { return OneLine(kPage); }, ""},
    {"Utf8WithMark",
     [] {
         return "\xEF\xBB\xBF" + Edit(kPage, "*****",
                                      "<p>Za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87 \xCE\xB1\xCE\xB2 "
                                      "\xE3\x81\x82 \xD7\xA9 \xF0\x9F\x98\x80</p>\r\n*****");
     },
     "\r\n"},
};

void PrintTo(const PageKind& k, std::ostream* os) {
    *os << k.name;
}

enum class Change { None, Paragraphs, Title, BodyAttributes, AnotherEffectAfter, SameEffectTwice };

const char* ChangeName(Change c) {
    switch (c) {
    case Change::None:
        return "None";
    case Change::Paragraphs:
        return "ParagraphsBeforeAndAfter";
    case Change::Title:
        return "Title";
    case Change::BodyAttributes:
        return "BodyAttributes";
    case Change::AnotherEffectAfter:
        return "AnotherEffectAfter";
    case Change::SameEffectTwice:
        return "SameEffectTwice";
    }
    return "";
}

// The user's edits: each touches only the user's own text, so it can be made to the page
// with the effect and to the page without it.
std::string UserEdits(Change c, std::string page, const std::string& br) {
    switch (c) {
    case Change::Paragraphs:
        // Directly behind the code at the top of the body, and directly in front of the
        // code at its end.
        page = Edit(page, br + "<p>one</p>", "<p>first</p>" + br + "<p>one</p>");
        return Edit(page, "<p>two</p>" + br, "<p>two</p>" + br + "<p>last &amp; &lt;</p>");
    case Change::Title:
        return Edit(page, "<title>Old</title>", "<title>Nowy tytu\xC5\x82 \"\xC2\xAE\"</title>");
    case Change::BodyAttributes:
        return Edit(page, "class=\"a\"", "class=\"b\" lang=\"pl\"");
    default:
        return page;
    }
}

class TakeOutBase : public test::AttachFixture {
protected:
    fs::path page;
    int16_t fx = 0;
    int16_t fy = 0;

    void SetUp() override {
        AttachFixture::SetUp();
        fy = AddScript("fy", {{"Head", "<style>.fy{}</style>"}, {"Body_End", "<i>fy</i>"}});
        fx = AddScript("fx", {{"Head", "<script src=\"\xAE"
                                       "App,SCRIPTREPEAT\xAF"
                                       "fx.js\"></script>"},
                              {"Body_Onload", "onload=\"fx()\" "},
                              {"Body_Top", "<div id=\"fxtop\"></div>"},
                              {"Location", "<b>here</b>"},
                              {"Body_End", "<script>fxEnd();</script>", "", 1, 1},
                              {"Mouse_Handler", "fxMouse(e);"}});
        page = home.path() / "site" / "index.htm";
    }

    void Apply(int16_t script, int16_t repeat, const fs::path& target) {
        ws.CurrentScriptIndex = script;
        ws.SampleFile = target.string();
        DoItRequest request;
        request.option = OutputOption::Overwrite;
        request.repeat = repeat;
        request.confirmOverwrite = [] { return true; };
        auto done = DoItRecorded(ws, request, FileLock::Wait::Yes);
        ASSERT_TRUE(done.ok()) << done.error().text();
    }

    Result<BatchOutcome> Remove(const std::string& id, int which = 1) {
        RemoveRequest request;
        request.scriptId = id;
        request.which = which;
        return RemoveFromPages(ws, {page.string()}, request);
    }
};

class TakeOutTest : public TakeOutBase,
                    public ::testing::WithParamInterface<std::tuple<PageKind, Change>> {};

TEST_P(TakeOutTest, KeepsTheUsersEditsByteForByte) {
    const auto& [kind, change] = GetParam();
    const std::string original = kind.page();
    home.WriteFile("site/index.htm", original);
    std::string expected = UserEdits(change, original, kind.lineEnd);
    Apply(fx, 0, page);
    if (change == Change::SameEffectTwice) {
        expected = test::ReadAll(page); // taking the newest out leaves the first
        Apply(fx, 1, page);
    } else {
        home.WriteFile("site/index.htm", UserEdits(change, test::ReadAll(page), kind.lineEnd));
    }
    if (change == Change::AnotherEffectAfter) {
        Apply(fy, 0, page);
        // The other effect alone on the page as it was.
        home.WriteFile("alone/index.htm", original);
        Apply(fy, 0, home.path() / "alone" / "index.htm");
        expected = test::ReadAll(home.path() / "alone" / "index.htm");
    }
    const std::string before = test::ReadAll(page);

    auto removed = Remove("fx");
    ASSERT_TRUE(removed.ok()) << removed.error().text();
    ASSERT_EQ(removed->done, 1u) << removed->pages[0].message;
    EXPECT_EQ(test::ReadAll(page), expected);

    // Undo puts the page back as it was before the removal.
    UndoStore store(ChangeRecordsFolder(ws));
    auto undone = store.Undo(removed->changeId, false);
    ASSERT_TRUE(undone.ok()) << undone.error().text();
    EXPECT_TRUE(undone->undone);
    EXPECT_EQ(test::ReadAll(page), before);
}

INSTANTIATE_TEST_SUITE_P(Edits, TakeOutTest,
                         ::testing::Combine(::testing::ValuesIn(kPageKinds),
                                            ::testing::Values(Change::None, Change::Paragraphs,
                                                              Change::Title, Change::BodyAttributes,
                                                              Change::AnotherEffectAfter,
                                                              Change::SameEffectTwice)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_" +
                                    ChangeName(std::get<1>(info.param));
                         });

struct Conflict {
    const char* name;
    const char* from; // an edit inside what Pelto inserted
    const char* to;
};

const Conflict kConflicts[] = {
    {"InsideTheInsertedCode", "<div id=\"fxtop\"></div>", "<div id=\"fxtop\">mine</div>"},
    {"HandlerAttributeRewritten", "onload=\"fx()\"", "onload=\"mine()\""},
    {"ChainedHandlerCodeEdited", "fxMouse(e);", "fxMouse(e, 1);"},
    {"LocationCodeEdited", "<b>here</b>", "<b>there</b>"},
};

void PrintTo(const Conflict& c, std::ostream* os) {
    *os << c.name;
}

class ConflictTest : public TakeOutBase, public ::testing::WithParamInterface<Conflict> {};

TEST_P(ConflictTest, LeavesThePageAsItIsAndNamesThePlace) {
    const Conflict& c = GetParam();
    home.WriteFile("site/index.htm", kPage);
    Apply(fx, 0, page);
    const std::string edited = Edit(test::ReadAll(page), c.from, c.to);
    home.WriteFile("site/index.htm", edited);
    long line = 1;
    for (size_t i = 0; i < edited.find(c.to); ++i)
        line += edited[i] == '\n';

    auto removed = Remove("fx");
    ASSERT_TRUE(removed.ok()) << removed.error().text();
    EXPECT_EQ(removed->done, 0u);
    ASSERT_EQ(removed->failed, 1u);
    EXPECT_EQ(test::ReadAll(page), edited);
    const std::string& message = removed->pages[0].message;
    EXPECT_NE(message.find(fs::canonical(page).string()), std::string::npos) << message;
    EXPECT_NE(message.find("line " + std::to_string(line) + ":"), std::string::npos)
        << message << " (edit on line " << line << ")";
    EXPECT_TRUE(removed->changeId.empty()); // nothing written: no change kept
}

INSTANTIATE_TEST_SUITE_P(Edits, ConflictTest, ::testing::ValuesIn(kConflicts),
                         [](const auto& info) { return std::string(info.param.name); });

class EffectsOnPageTest : public TakeOutBase {};

TEST_F(EffectsOnPageTest, ListsNewestFirstAndSaysWhyOneCannotBeTakenOut) {
    // Applied by a Pelto that kept no record: only its first line names it.
    home.WriteFile("site/index.htm", "<!--2erghdf45yrold-->\r\n" + kPage);
    Apply(fy, 0, page);
    Apply(fx, 0, page);
    Apply(fy, 1, page);
    const std::string bytes = test::ReadAll(page);
    auto effects = EffectsOnPage(AppliedRecordsFolder(ws), fs::canonical(page).string(), bytes);
    ASSERT_TRUE(effects.ok()) << effects.error().text();
    ASSERT_EQ(effects->size(), 4u);
    const char* ids[] = {"fy", "fx", "fy", "old"};
    const int numbers[] = {1, 1, 2, 1};
    const int16_t repeats[] = {1, 0, 0, -1};
    for (size_t k = 0; k < 4; ++k) {
        const EffectOnPage& e = (*effects)[k];
        EXPECT_EQ(e.scriptId, ids[k]);
        EXPECT_EQ(e.number, numbers[k]);
        if (k < 3) {
            ASSERT_TRUE(e.record.has_value()) << e.why;
            EXPECT_EQ(e.record->scriptId, ids[k]);
            EXPECT_EQ(e.record->repeat, repeats[k]);
            EXPECT_EQ(e.record->effectName, std::string("Effect ") + ids[k]);
            EXPECT_EQ(e.why, "");
        }
    }
    EXPECT_FALSE((*effects)[3].record.has_value());
    EXPECT_NE((*effects)[3].why.find("no record"), std::string::npos) << (*effects)[3].why;

    // Taking out the one without a record says why, and leaves the page.
    auto removed = Remove("old");
    ASSERT_TRUE(removed.ok());
    ASSERT_EQ(removed->failed, 1u);
    EXPECT_NE(removed->pages[0].message.find("no record"), std::string::npos);
    EXPECT_EQ(test::ReadAll(page), bytes);
    // An effect the page does not carry is named.
    removed = Remove("fz");
    ASSERT_TRUE(removed.ok());
    EXPECT_NE(removed->pages[0].message.find("carries no effect \"fz\""), std::string::npos)
        << removed->pages[0].message;
}

TEST_F(EffectsOnPageTest, AnApplicationWhoseHandlerALaterOneUsesIsNotTakenOut) {
    home.WriteFile("site/index.htm", kPage);
    Apply(fx, 0, page);
    Apply(fx, 1, page); // chains its handler code into the handler the first brought in
    const std::string bytes = test::ReadAll(page);
    auto effects = EffectsOnPage(AppliedRecordsFolder(ws), fs::canonical(page).string(), bytes);
    ASSERT_TRUE(effects.ok()) << effects.error().text();
    ASSERT_EQ(effects->size(), 2u);
    EXPECT_EQ((*effects)[0].why, "");
    EXPECT_NE((*effects)[1].why.find("take that one out first"), std::string::npos)
        << (*effects)[1].why;
    auto removed = Remove("fx", 2);
    ASSERT_TRUE(removed.ok());
    EXPECT_EQ(removed->failed, 1u);
    EXPECT_EQ(test::ReadAll(page), bytes);
}

TEST_F(EffectsOnPageTest, TheOlderOfTwoApplicationsIsTakenOutWhenNamed) {
    home.WriteFile("site/index.htm", kPage);
    Apply(fy, 0, page);
    const std::string once = test::ReadAll(page);
    Apply(fy, 1, page);
    auto removed = Remove("fy", 2);
    ASSERT_TRUE(removed.ok());
    ASSERT_EQ(removed->done, 1u) << removed->pages[0].message;
    // Both applications inserted the same bytes: one copy of each is left.
    EXPECT_EQ(test::ReadAll(page), once);
    removed = Remove("fy", 2);
    ASSERT_TRUE(removed.ok());
    EXPECT_NE(removed->pages[0].message.find("no application 2"), std::string::npos)
        << removed->pages[0].message;
}

} // namespace
} // namespace pelto
