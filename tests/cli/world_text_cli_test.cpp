// pelto-cli with texts and file names of any script: under a UTF-8 locale --set takes
// any character and the texts print as UTF-8; file and folder names work in any locale
// and their URLs in the page are right; the page's encoding decides what a placeholder
// without modifier writes.
#include "cli_runner.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

namespace pelto {
namespace {

namespace fs = std::filesystem;
using test::CrLf;
using test::RunCli;

class Locale {
public:
    explicit Locale(const char* name) {
        if (const char* old = std::getenv("LC_ALL"))
            old_ = old;
        setenv("LC_ALL", name, 1);
    }
    ~Locale() {
        if (old_)
            setenv("LC_ALL", old_->c_str(), 1);
        else
            unsetenv("LC_ALL");
    }

private:
    std::optional<std::string> old_;
};

const std::string kMark = "\xEF\xBB\xBF";
const std::string kGreekName = "\xCE\xA4\xCE\xAF\xCF\x84\xCE\xBB\xCE\xBF\xCF\x82"; // "Τίτλος"
const std::string kWorld = "\xC5\x81\xC3\xB3"
                           "d\xC5\xBA \xE5\x86\x99\xE7\x9C\x9F "
                           "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D \xF0\x9F\x98\x80"; // Łódź 写真 שלום 😀
const std::string kFolder = "\xE5\x86\x99\xE7\x9C\x9F";                         // 写真
const std::string kPicture = "\xC5\x81\xC3\xB3"
                             "d\xC5\xBA caf\xC3\xA9.gif"; // Łódź café.gif

// An effect whose header and definition are UTF-8 files (after the byte order mark): a
// Text parameter T written raw and escaped, one with a Greek name, and an Image
// parameter.
class WorldCliTest : public ::testing::Test {
protected:
    test::TempProgramFolder home;

    void SetUp() override {
        home.WriteScrambled(
            "fx.hdr", kMark + CrLf({"fx", "fxv", "100",
                                    "\xCE\x95\xCF\x86\xCE\xAD "
                                    "effect",
                                    "An effect", "Tests", "0", "1", "Head,fx_head.dat,,1,0"}));
        home.WriteScrambled("fx_head.dat", "<script>t='\xAET,TEXTVALUE\xAF';"
                                           "h='\xAET,TEXTVALUE|HTML\xAF';"
                                           "j='\xAET,TEXTVALUE|JS\xAF';"
                                           "u='\xAEPic,FULLIMAGENAME|URL\xAF';"
                                           "f='\xAEPic,IMAGENAMEONLY\xAF';</script>");
        home.WriteScrambled(
            "fx.par", kMark + CrLf({"*",    "5",     "0",       "100",  "Hello",    "x",    "y",
                                    "True", "T",     "desc",    "*",    "5",        "0",    "100",
                                    "Hi",   "x",     "y",       "True", kGreekName, "desc", "*",
                                    "2",    "*.gif", "sun.gif", "Pic",  "desc",     "end"}));
    }

    fs::path Page(const std::string& relative, const std::string& bytes) {
        home.WriteFile(relative, bytes);
        return home.path() / relative;
    }

    test::CliRun Apply(const fs::path& page, const std::vector<std::string>& sets) {
        std::vector<std::string> args = {"--home", home.path().string(), "apply", "fx",
                                         page.string()};
        for (const std::string& s : sets) {
            args.push_back("--set");
            args.push_back(s);
        }
        return RunCli(args);
    }

    std::string Script() const {
        std::string result = test::ReadAll(home.path() / "output" / "result.htm");
        size_t from = result.find("<script>");
        size_t to = result.find("</script>");
        if (from == std::string::npos || to == std::string::npos)
            return result;
        return result.substr(from + 8, to - from - 8);
    }
};

const std::string kUtf8Page = "<html><head><meta charset=\"utf-8\"></head><body></body></html>";
const std::string kCp1252Page =
    "<html><head><meta charset=\"windows-1252\"></head><body></body></html>";

TEST_F(WorldCliTest, AnyCharacterReachesAUtf8PageAsUtf8) {
    Locale utf8("C.UTF-8");
    const fs::path page = Page("site/index.htm", kUtf8Page);
    auto run = Apply(page, {"T=" + kWorld});
    ASSERT_EQ(run.code, 0) << run.err;
    const std::string script = Script();
    EXPECT_NE(script.find("t='" + kWorld + "'"), std::string::npos) << script;
    EXPECT_NE(script.find("h='&#321;&#243;d&#378; &#20889;&#30495; &#1513;&#1500;&#1493;&#1501; "
                          "&#128512;'"),
              std::string::npos)
        << script;
    EXPECT_NE(script.find("j='\\u0141\\u00F3d\\u017A \\u5199\\u771F \\u05E9\\u05DC\\u05D5\\u05DD "
                          "\\uD83D\\uDE00'"),
              std::string::npos)
        << script;
}

TEST_F(WorldCliTest, AnyCharacterReachesAWindows1252PageAsReferences) {
    Locale utf8("C.UTF-8");
    const fs::path page = Page("site/index.htm", kCp1252Page);
    auto run = Apply(page, {"T=caf\xC3\xA9 " + kWorld});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(Script().find("t='caf\xE9 &#321;\xF3"
                            "d&#378; &#20889;&#30495; "
                            "&#1513;&#1500;&#1493;&#1501; &#128512;'"),
              std::string::npos)
        << Script();
}

TEST_F(WorldCliTest, AGreekParameterNameIsSetUnderAUtf8Locale) {
    Locale utf8("C.UTF-8");
    const fs::path page = Page("site/index.htm", kUtf8Page);
    auto run = Apply(page, {kGreekName + "=x"});
    ASSERT_EQ(run.code, 0) << run.err;
    auto params = RunCli({"--home", home.path().string(), "params", "fx"});
    EXPECT_EQ(params.out, "0\t5\tT\n1\t5\t" + kGreekName + "\n2\t2\tPic\n");
    auto list = RunCli({"--home", home.path().string(), "list"});
    EXPECT_EQ(list.out, "1\tfx\tTests\t\xCE\x95\xCF\x86\xCE\xAD effect\n");
}

TEST_F(WorldCliTest, TextsACLocaleCannotShowPrintAsQuestionMarks) {
    Locale c("C");
    auto list = RunCli({"--home", home.path().string(), "list"});
    EXPECT_EQ(list.out, "1\tfx\tTests\t??? effect\n");
}

// A picture and a page in folders named in other scripts, in either locale: the path is
// the file system's own name, its URL percent-encodes its UTF-8.
TEST_F(WorldCliTest, FilesAndFoldersOfAnyNameWork) {
    for (const char* locale : {"C.UTF-8", "C"}) {
        SCOPED_TRACE(locale);
        Locale l(locale);
        home.WriteFile(kFolder + "/" + kPicture, "GIF89a");
        const fs::path picture = home.path() / kFolder / kPicture;
        const fs::path page = Page("caf\xC3\xA9/\xC5\x81\xC3\xB3"
                                   "d\xC5\xBA.htm",
                                   kUtf8Page);
        auto run = Apply(page, {"Pic=" + picture.string()});
        ASSERT_EQ(run.code, 0) << run.err;
        const std::string script = Script();
        EXPECT_NE(script.find("f='" + kPicture + "'"), std::string::npos) << script;
        std::string url;
        for (unsigned char c : picture.string()) {
            static const char* hex = "0123456789ABCDEF";
            if (c >= 0x80 || c == ' ')
                url += std::string("%") + hex[c >> 4] + hex[c & 15];
            else
                url += static_cast<char>(c);
        }
        EXPECT_NE(script.find("u='" + url + "'"), std::string::npos) << script;
        // The copy beside the page, in the folder of that name.
        run = RunCli(
            {"--home", home.path().string(), "apply", "fx", page.string(), "--mode", "copy"});
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_TRUE(fs::exists(home.path() / "caf\xC3\xA9" /
                               "\xC5\x81\xC3\xB3"
                               "d\xC5\xBA_1.htm"));
    }
}

TEST_F(WorldCliTest, ATemplateOfAnyCharactersIsReadWithValues) {
    Locale c("C");
    const fs::path page = Page("site/index.htm", kUtf8Page);
    home.WriteFile("t.p01", kMark + CrLf({"world", "T", kWorld}));
    auto run = RunCli({"--home", home.path().string(), "apply", "fx", page.string(), "--values",
                       (home.path() / "t.p01").string()});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(Script().find("t='" + kWorld + "'"), std::string::npos) << Script();
}

} // namespace
} // namespace pelto
