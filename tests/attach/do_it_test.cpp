#include "attach/do_it.h"
#include "attach_fixture.h"

#include "common/files.h"

namespace pelto {
namespace {

namespace fs = std::filesystem;
using test::Item;

class DoItTest : public test::AttachFixture {
protected:
    fs::path site;
    fs::path page;
    const std::string pageText = "<html>\r\n<head>\r\n</head>\r\n<body>x</body>\r\n</html>\r\n";

    void SetUp() override {
        AttachFixture::SetUp();
        site = home.path() / "site";
        page = site / "index.htm";
        home.WriteFile("site/index.htm", pageText);
        ws.SampleFile = page.string();
    }

    Result<DoItOutcome> Run(OutputOption option, int16_t repeat = 0, bool answer = true) {
        DoItRequest request;
        request.option = option;
        request.repeat = repeat;
        request.confirmOverwrite = [answer] { return answer; };
        return DoIt(ws, request);
    }

    fs::path Out(const std::string& name) const { return home.path() / "output" / name; }
};

TEST_F(DoItTest, PreviewBuildsTheResultInAnEmptiedOutputFolder) {
    AddScript("fx", {{"Head", "<script src=\"\xAE"
                              "App,SCRIPTREPEAT\xAF"
                              "x.js\"></script>"},
                     {"External",
                      "var n=\xAE"
                      "App,INTSEQUENCE\xAF;",
                      "x.js"}});
    home.WriteFile("output/stale.txt", "old");
    auto outcome = Run(OutputOption::Preview);
    ASSERT_TRUE(outcome.ok()) << outcome.error().text();
    EXPECT_EQ(outcome->pageToOpen, Out("result.htm").string());
    EXPECT_FALSE(outcome->overwriteDeclined);
    EXPECT_FALSE(fs::exists(Out("stale.txt")));
    EXPECT_EQ(test::ReadAll(Out("0x.js")), "var n=1;\r\n\r\n");
    EXPECT_EQ(
        test::ReadAll(Out("result.htm")),
        "<!--2erghdf45yrfx-->\r\n<html>\r\n<head>\r\n<script src=\"0x.js\"></script></head>\r\n"
        "<body>x</body>\r\n</html>\r\n\r\n\r\n");
    EXPECT_EQ(test::ReadAll(page), pageText);
    EXPECT_FALSE(fs::exists(site / "0x.js"));
    EXPECT_EQ(ws.ScriptRepeat, 0);
}

TEST_F(DoItTest, PreviewIntoAFolderOfItsOwnLeavesTheOutputFolderAlone) {
    // Not "once": the external file's name starts with the repeat count.
    AddScript("fx", {{"Head", "<script src=\"0x.js\"></script>"}, {"External", "var a;", "x.js"}});
    home.WriteFile("output/kept.txt", "kept");
    home.WriteFile("preview/stale.htm", "old");
    DoItRequest request;
    request.option = OutputOption::Preview;
    request.outputArea = home.path() / "preview";
    auto outcome = DoIt(ws, request);
    ASSERT_TRUE(outcome.ok()) << outcome.error().text();
    EXPECT_EQ(outcome->pageToOpen, (home.path() / "preview" / "result.htm").string());
    EXPECT_FALSE(fs::exists(home.path() / "preview" / "stale.htm"));
    EXPECT_EQ(test::ReadAll(home.path() / "preview" / "0x.js"), "var a;\r\n\r\n");
    EXPECT_EQ(test::ReadAll(Out("kept.txt")), "kept");
    EXPECT_FALSE(fs::exists(Out("result.htm")));
    EXPECT_FALSE(fs::exists(site / "0x.js"));
    EXPECT_EQ(test::ReadAll(page), pageText);

    // A page inside that folder would be deleted by the run: refused as for the output folder.
    home.WriteFile("preview/index.htm", pageText);
    ws.SampleFile = (home.path() / "preview" / "index.htm").string();
    auto refused = DoIt(ws, request);
    ASSERT_FALSE(refused.ok());
    EXPECT_NE(refused.error().message.find("choose a page outside it"), std::string::npos);
    EXPECT_TRUE(fs::exists(home.path() / "preview" / "index.htm"));
}

TEST_F(DoItTest, CopyPutsTheResultBesideThePageAsIndex1) {
    AddScript("fx", {{"Body_End", "<p>y</p>"}, {"External", "ext", "lib.js", 1, 1}});
    auto outcome = Run(OutputOption::Copy);
    ASSERT_TRUE(outcome.ok()) << outcome.error().text();
    EXPECT_EQ(outcome->pageToOpen, (site / "index_1.htm").string());
    const std::string result = test::ReadAll(Out("result.htm"));
    EXPECT_EQ(test::ReadAll(site / "index_1.htm"), result);
    EXPECT_NE(result.find("x<p>y</p></body>"), std::string::npos);
    EXPECT_EQ(test::ReadAll(site / "lib.js"), "ext\r\n\r\n");
    EXPECT_FALSE(fs::exists(site / "result.htm"));
    EXPECT_EQ(test::ReadAll(page), pageText);

    // Applying again replaces the first copy.
    ws.Library[1].Name = "changed";
    ASSERT_TRUE(Run(OutputOption::Copy).ok());
    EXPECT_EQ(test::ReadAll(site / "index_1.htm"), test::ReadAll(Out("result.htm")));
}

// The copy shares its bytes with the output folder's result page, yet stays the user's
// file: it keeps its permissions, outlives the next emptying of the output folder, and
// a copy that is a symbolic link is refused, not written through.
TEST_F(DoItTest, CopyKeepsPermissionsOutlivesTheOutputFolderAndRefusesALink) {
    AddScript("fx", {{"Body_End", "<p>y</p>"}});
    ASSERT_TRUE(Run(OutputOption::Copy).ok());
    const fs::path copy = site / "index_1.htm";
    fs::permissions(copy, fs::perms::owner_read | fs::perms::owner_write);
    ws.Library[1].Name = "changed";
    ASSERT_TRUE(Run(OutputOption::Copy).ok());
    const std::string result = test::ReadAll(Out("result.htm"));
    EXPECT_EQ(test::ReadAll(copy), result);
    EXPECT_EQ(fs::status(copy).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    // Another page empties and refills the output folder; the copy stays as it was.
    home.WriteFile("site/index.htm", "<body>other</body>");
    ASSERT_TRUE(Run(OutputOption::Preview).ok());
    EXPECT_NE(test::ReadAll(Out("result.htm")), result);
    EXPECT_EQ(test::ReadAll(copy), result);

    // A copy whose name is a link is not written through: the run stops, saying so.
    fs::remove(copy);
    home.WriteFile("elsewhere/real.htm", "old");
    fs::create_symlink(home.path() / "elsewhere" / "real.htm", copy);
    auto refused = Run(OutputOption::Copy);
    ASSERT_FALSE(refused.ok());
    EXPECT_NE(refused.error().text().find("is a symbolic link"), std::string::npos)
        << refused.error().text();
    EXPECT_TRUE(fs::is_symlink(copy));
    EXPECT_EQ(test::ReadAll(home.path() / "elsewhere" / "real.htm"), "old");
}

// A page of several megabytes goes the same way as a short one, byte for byte.
TEST_F(DoItTest, ALongPageGivesTheSameBytes) {
    AddScript("fx", {{"Body_End", "<p>y</p>"}});
    std::string body;
    while (body.size() < (3u << 20))
        body += "<p>Some text with a <a href=\"x.htm\">link</a>.</p>\r\n";
    const std::string longPage = "<html>\r\n<body>\r\n" + body + "</body>\r\n</html>\r\n";
    home.WriteFile("site/index.htm", longPage);
    ASSERT_TRUE(Run(OutputOption::Copy).ok());
    std::string expected = longPage;
    expected.insert(expected.rfind("</body>"), "<p>y</p>");
    expected = "<!--2erghdf45yrfx-->\r\n" + expected + "\r\n\r\n";
    EXPECT_TRUE(test::ReadAll(site / "index_1.htm") == expected);
    EXPECT_TRUE(test::ReadAll(Out("result.htm")) == expected);
}

TEST_F(DoItTest, CopyNameUsesTheFileNameNotADottedFolder) {
    AddScript("fx", {{"Body_End", "!"}});
    home.WriteFile("my.site/page", "<body></body>");
    ws.SampleFile = (home.path() / "my.site" / "page").string();
    auto outcome = Run(OutputOption::Copy);
    ASSERT_TRUE(outcome.ok()) << outcome.error().text();
    EXPECT_EQ(outcome->pageToOpen, (home.path() / "my.site" / "page_1").string());
    EXPECT_TRUE(fs::exists(home.path() / "my.site" / "page_1"));
    EXPECT_FALSE(fs::exists(home.path() / "my_1.site"));
}

TEST_F(DoItTest, OverwriteDeclinedLeavesThePageAndItsFolder) {
    AddScript("fx", {{"Body_End", "!"}, {"External", "e", "e.js"}});
    for (bool withCallback : {true, false}) {
        DoItRequest request;
        request.option = OutputOption::Overwrite;
        if (withCallback)
            request.confirmOverwrite = [] { return false; };
        auto outcome = DoIt(ws, request);
        ASSERT_TRUE(outcome.ok()) << outcome.error().text();
        EXPECT_TRUE(outcome->overwriteDeclined);
        EXPECT_TRUE(outcome->pageToOpen.empty());
        EXPECT_EQ(test::ReadAll(page), pageText);
        EXPECT_FALSE(fs::exists(site / "0e.js"));
        EXPECT_NE(test::ReadAll(Out("result.htm")).find("x!</body>"), std::string::npos);
    }
}

TEST_F(DoItTest, OverwriteConfirmedReplacesThePage) {
    AddScript("fx", {{"Body_End", "!"}, {"External", "e", "e.js"}});
    auto outcome = Run(OutputOption::Overwrite, 0, true);
    ASSERT_TRUE(outcome.ok()) << outcome.error().text();
    EXPECT_EQ(outcome->pageToOpen, page.string());
    EXPECT_EQ(test::ReadAll(page), test::ReadAll(Out("result.htm")));
    EXPECT_EQ(test::ReadAll(site / "0e.js"), "e\r\n\r\n");
}

TEST_F(DoItTest, PageInTheOutputFolderIsRefused) {
    AddScript("fx", {{"Body_End", "!"}});
    home.WriteFile("output/mine.htm", pageText);
    ws.SampleFile = (home.path() / "output" / "." / "mine.htm").string();
    auto outcome = Run(OutputOption::Preview);
    ASSERT_FALSE(outcome.ok());
    EXPECT_NE(outcome.error().message.find("output folder"), std::string::npos);
    EXPECT_EQ(test::ReadAll(Out("mine.htm")), pageText);
}

TEST_F(DoItTest, PageWithoutTheNeededTagGivesNoOutputPage) {
    AddScript("fx", {{"External", "e", "e.js"}, {"Head", "!"}});
    home.WriteFile("site/index.htm", "<body></body>");
    auto outcome = Run(OutputOption::Overwrite);
    ASSERT_FALSE(outcome.ok());
    EXPECT_NE(outcome.error().message.find("\"</HEAD\""), std::string::npos);
    EXPECT_NE(outcome.error().message.find("Effect fx"), std::string::npos);
    EXPECT_FALSE(fs::exists(Out("result.htm")));
    EXPECT_FALSE(fs::exists(Out("0e.js")));
    EXPECT_EQ(test::ReadAll(page), "<body></body>");
}

TEST_F(DoItTest, RequestsOutsideTheirRangeAreRefused) {
    AddScript("fx", {});
    EXPECT_FALSE(Run(OutputOption::Preview, 26).ok());
    EXPECT_FALSE(Run(OutputOption::Preview, -1).ok());
    ws.SampleFile = (site / "missing.htm").string();
    auto missing = Run(OutputOption::Preview);
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().file, ws.SampleFile);
    ws.SampleFile = page.string();
    ws.CurrentScriptIndex = 0;
    EXPECT_FALSE(Run(OutputOption::Preview).ok());
}

TEST_F(DoItTest, ExternalFileNamedLikeThePageIsNotCopiedOverIt) {
    AddScript("fx", {{"External", "evil", "index.htm", 1, 1}});
    auto outcome = Run(OutputOption::Copy);
    ASSERT_FALSE(outcome.ok());
    EXPECT_EQ(test::ReadAll(page), pageText);
}

// Two effects chained on one page, then the first applied a second time.
TEST_F(DoItTest, TwoEffectsAndASecondApplicationGiveExactBytes) {
    const std::string M = test::kOnloadMarker;
    const int16_t one = AddScript("one", {{"Head", "<script>var \xAEVar,count\xAF=\xAE"
                                                   "App,INTSEQUENCE\xAF;</script>"},
                                          {"Onload_Handler", "init\xAE"
                                                             "App,SCRIPTREPEAT\xAF();"},
                                          {"Body_End", "<div>common</div>", "", 1, 1}});
    const int16_t two = AddScript("two", {{"Onload_Handler", "two();"}});

    ws.CurrentScriptIndex = one;
    ASSERT_TRUE(Run(OutputOption::Overwrite, 0).ok());
    const std::string r1 =
        "<!--2erghdf45yrone-->\r\n<html>\r\n<head>\r\n<script>var one1=1;</script>"
        "\r\n<script>L{\r\n\r\n" +
        M +
        "\r\ninit0();\r\n}</script>\r\n</head>\r\n"
        "<body>x<div>common</div></body>\r\n</html>\r\n\r\n\r\n";
    ASSERT_EQ(test::ReadAll(page), r1);

    ws.CurrentScriptIndex = two;
    ASSERT_TRUE(Run(OutputOption::Overwrite, 0).ok());
    const std::string r2 = "<!--2erghdf45yrtwo-->\r\n<!--2erghdf45yrone-->\r\n<html>\r\n<head>\r\n"
                           "<script>var one1=1;</script>\r\n<script>L{\r\n\r\n\r\n" +
                           M +
                           "\r\ntwo();\r\ninit0();\r\n}</script>\r\n</head>\r\n"
                           "<body>x<div>common</div></body>\r\n</html>\r\n\r\n\r\n\r\n\r\n";
    ASSERT_EQ(test::ReadAll(page), r2);

    ws.CurrentScriptIndex = one;
    ASSERT_TRUE(Run(OutputOption::Overwrite, 1).ok());
    const std::string r3 =
        "<!--2erghdf45yrone-->\r\n<!--2erghdf45yrtwo-->\r\n<!--2erghdf45yrone-->\r\n"
        "<html>\r\n<head>\r\n<script>var one1=1;</script>\r\n<script>L{\r\n\r\n\r\n\r\n" +
        M +
        "\r\ninit1();\r\ntwo();\r\ninit0();\r\n}</script>\r\n"
        "<script>var one101=2;</script></head>\r\n"
        "<body>x<div>common</div></body>\r\n</html>\r\n\r\n\r\n\r\n\r\n\r\n\r\n";
    EXPECT_EQ(test::ReadAll(page), r3);
}

} // namespace
} // namespace pelto
