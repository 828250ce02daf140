#include "template_fixture.h"
#include "templates/template_files.h"

#include "templates/template_names.h"

namespace pelto {
namespace {

namespace fs = std::filesystem;
using test::TemplateFixture;

std::vector<TemplateEntry> List(const Workspace& ws) {
    auto listed = ListTemplates(ws);
    EXPECT_TRUE(listed.ok()) << listed.error().text();
    return listed.ok() ? *listed : std::vector<TemplateEntry>{};
}

Status Save(Workspace& ws, const std::string& name, const std::vector<std::string>& params,
            bool answer = true, bool* asked = nullptr, bool* declined = nullptr) {
    return SaveTemplate(
        ws, name, params, List(ws),
        [&](const std::string&) {
            if (asked)
                *asked = true;
            return answer;
        },
        declined);
}

TEST_F(TemplateFixture, FirstTemplateIsP01AndHoldsTheExactLines) {
    ASSERT_TRUE(Save(ws, "t", {"Speed", "Back"}));
    EXPECT_EQ(Read("fx.p01"), "t\r\nSpeed\r\n5\r\nBack\r\n255\r\n");
}

TEST_F(TemplateFixture, NextNumberFillsTheFirstGap) {
    home.WriteFile("userdata/fx.p01", "one\r\n");
    home.WriteFile("userdata/FX.P03", "three\r\n");
    ASSERT_TRUE(Save(ws, "two", {}));
    EXPECT_EQ(Read("fx.p02"), "two\r\n");
}

TEST_F(TemplateFixture, ListingHoldsOnlyThisScriptsTemplates) {
    home.WriteFile("userdata/fx.p02", "second\r\nSpeed\r\n1\r\n");
    home.WriteFile("userdata/fx.p01", "first");
    home.WriteFile("userdata/fx.par", "not a template\r\n");
    home.WriteFile("userdata/fx.p1x", "no\r\n");
    home.WriteFile("userdata/other.p01", "other\r\n");
    home.WriteFile("userdata/fxx.p01", "other\r\n");
    auto listed = List(ws);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].name, "first");
    EXPECT_EQ(listed[0].file, "fx.p01");
    EXPECT_EQ(listed[1].name, "second");
    EXPECT_EQ(listed[1].file, "fx.p02");
}

TEST_F(TemplateFixture, ExistingNameAsksAndNoWritesNothing) {
    ASSERT_TRUE(Save(ws, "t", {"Speed"}));
    ws.Params.IntParameters[1].Value = 9;
    bool asked = false, declined = false;
    ASSERT_TRUE(Save(ws, "t", {"Speed"}, false, &asked, &declined));
    EXPECT_TRUE(asked);
    EXPECT_TRUE(declined);
    EXPECT_EQ(Read("fx.p01"), "t\r\nSpeed\r\n5\r\n");
    EXPECT_FALSE(fs::exists(home.path() / "userdata" / "fx.p02"));

    ASSERT_TRUE(Save(ws, "t", {"Speed"}, true, &asked, &declined));
    EXPECT_FALSE(declined);
    EXPECT_EQ(Read("fx.p01"), "t\r\nSpeed\r\n9\r\n");
    EXPECT_FALSE(fs::exists(home.path() / "userdata" / "fx.p02"));
}

TEST_F(TemplateFixture, NameInOtherLetterCaseIsANewTemplate) {
    ASSERT_TRUE(Save(ws, "Blue", {}));
    bool asked = false;
    ASSERT_TRUE(Save(ws, "blue", {}, true, &asked));
    EXPECT_FALSE(asked);
    EXPECT_EQ(Read("fx.p02"), "blue\r\n");
}

TEST_F(TemplateFixture, AllNumbersTakenIsAClearErrorAndNothingIsWritten) {
    for (int n = 1; n <= 99; ++n)
        home.WriteFile("userdata/" + TemplateFileName("fx", n), "t" + std::to_string(n) + "\r\n");
    Status st = Save(ws, "new", {"Speed"});
    ASSERT_FALSE(st.ok());
    EXPECT_NE(st.error().message.find("all 99"), std::string::npos);
    EXPECT_EQ(Read("fx.p01"), "t1\r\n");
    size_t files = 0;
    for (auto& e : fs::directory_iterator(home.path() / "userdata"))
        files += e.is_regular_file();
    EXPECT_EQ(files, 99u);
}

TEST_F(TemplateFixture, BadNamesAndValuesWriteNothing) {
    EXPECT_FALSE(Save(ws, "", {}).ok());
    EXPECT_FALSE(Save(ws, "two\r\nlines", {}).ok());
    EXPECT_FALSE(Save(ws, "t", {"Nobody"}).ok());
    ws.Params.TextParameters[1].Value = "line\nbreak";
    Status st = Save(ws, "t", {"Speed", "Title"});
    ASSERT_FALSE(st.ok());
    EXPECT_NE(st.error().message.find("Title"), std::string::npos);
    EXPECT_FALSE(fs::exists(home.path() / "userdata" / "fx.p01"));
    ws.CurrentParameterFile.clear();
    EXPECT_FALSE(ListTemplates(ws).ok());
}

TEST_F(TemplateFixture, AValueWithALineBreakCanBeLeftOutAndTheRestIsSaved) {
    ws.Params.TextParameters[1].Value = "line\r\nbreak";
    std::vector<Error> leftOut;
    Status st = SaveTemplate(
        ws, "t", {"Speed", "Title", "Back"}, List(ws), [](const std::string&) { return true; },
        nullptr, &leftOut);
    ASSERT_TRUE(st.ok()) << st.error().text();
    ASSERT_EQ(leftOut.size(), 1u);
    EXPECT_NE(leftOut[0].message.find("\"Title\""), std::string::npos);
    EXPECT_NE(leftOut[0].message.find("line break"), std::string::npos);
    EXPECT_EQ(Read("fx.p01"), "t\r\nSpeed\r\n5\r\nBack\r\n255\r\n");
}

TEST_F(TemplateFixture, TheKindEightParameterWritesNoBlock) {
    Add(Reserved); // listed under its name, which is empty
    ASSERT_TRUE(Save(ws, "t", {"Speed", ws.Params.ReservedName, "Back"}));
    EXPECT_EQ(Read("fx.p01"), "t\r\nSpeed\r\n5\r\nBack\r\n255\r\n");
}

TEST_F(TemplateFixture, SaveAndLoadGiveEveryValueBack) {
    const std::vector<std::string> all = {"Speed", "Back", "Items", "Nav",   "Dir",   "Face",
                                          "Sound", "Pic",  "Title", "Where", "Hover", "Info"};
    ws.Params.Mouseover.Links[2].Text2 = "latest";
    ws.Params.IntParameters[1].Value = 3.5;
    ASSERT_TRUE(Save(ws, "all", all));
    const Workspace saved = ws;

    ParameterState& p = ws.Params;
    p.IntParameters[1].Value = 0;
    p.ColourParameters[1].Colour = 0;
    p.ListParameters[1].Rows = 0;
    p.ListParameters[1].ResetEntries();
    p.Menu.Count = 0;
    p.Menu.ResetEntries();
    p.FontParameters[1] = FontParameter{};
    p.FontParameters[1].Name = "Face";
    p.FileParameters[1].FileName.clear();
    p.ImageParameters[1].Path.clear();
    p.TextParameters[1].Value.clear();
    p.PositionParameters[1].Value1 = 0;
    p.Mouseover.Links[2].Text2.clear();
    p.OptionParameters[1].Selected = 1;

    std::vector<int> shown;
    ASSERT_TRUE(LoadTemplate(ws, "all", List(ws), [&](int pos) { shown.push_back(pos); }));
    EXPECT_EQ(p.IntParameters[1].Value, 4); // 3.5 comes back as 4
    EXPECT_EQ(p.ColourParameters[1].Colour, 255);
    EXPECT_EQ(p.ColourParameters[1].Red, 255); // R, G, B follow the loaded colour
    EXPECT_EQ(p.ListParameters[1].Entries, saved.Params.ListParameters[1].Entries);
    EXPECT_EQ(p.Menu.Count, 3);
    EXPECT_EQ(p.Menu.MenuEntries, saved.Params.Menu.MenuEntries);
    EXPECT_EQ(p.Menu.MenuCaptions, saved.Params.Menu.MenuCaptions);
    EXPECT_EQ(p.Menu.MenuLinks, saved.Params.Menu.MenuLinks);
    EXPECT_EQ(p.FontParameters[1].FontName, "Verdana");
    EXPECT_EQ(p.FontParameters[1].Size, 12);
    EXPECT_EQ(p.FontParameters[1].Bold, 1);
    EXPECT_EQ(p.FontParameters[1].Underline, 1);
    EXPECT_EQ(p.FileParameters[1].FileName, "a.wav");
    EXPECT_EQ(p.ImageParameters[1].Path, "/i/");
    EXPECT_EQ(p.TextParameters[1].Value, "Hello");
    EXPECT_EQ(p.PositionParameters[1].Value1, 10);
    EXPECT_EQ(p.PositionParameters[1].Value2, -20);
    EXPECT_EQ(p.Mouseover.Links[2].Text2, "latest");
    EXPECT_EQ(p.OptionParameters[1].Selected, 1); // options are not stored
    // Option and Info have no block, so they are not shown.
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 3, 5, 6, 7, 8, 9, 10}));
}

TEST_F(TemplateFixture, LoadingAnUnknownNameFails) {
    Status st = LoadTemplate(ws, "nothing", List(ws), {});
    ASSERT_FALSE(st.ok());
    EXPECT_NE(st.error().message.find("nothing"), std::string::npos);
}

} // namespace
} // namespace pelto
