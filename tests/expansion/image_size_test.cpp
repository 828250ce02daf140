// Picture sizes read from file headers, and the IMAGEWIDTH / IMAGEHEIGHT values that put them
// in a page.
#include "common/scramble.h"
#include "expansion/image_size.h"
#include "expansion/placeholder.h"
#include "expansion_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace pelto;
using namespace pelto::test;
namespace fs = std::filesystem;

namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values)
        out += static_cast<char>(v);
    return out;
}

std::string Gif(int w, int h) {
    return "GIF89a" + Bytes({w & 0xFF, w >> 8, h & 0xFF, h >> 8, 0xF7, 0, 0});
}

std::string Png(int w, int h) {
    return "\x89PNG\r\n\x1a\n" + Bytes({0, 0, 0, 13}) + "IHDR" +
           Bytes({0, 0, w >> 8, w & 0xFF, 0, 0, h >> 8, h & 0xFF, 8, 6, 0, 0, 0});
}

// A JPEG with an APP0 segment and a comment before its frame header `sof`.
std::string Jpeg(int sof, int w, int h) {
    return Bytes({0xFF, 0xD8, 0xFF, 0xE0, 0, 16}) + std::string(14, 'J') +
           Bytes({0xFF, 0xFE, 0, 5, 'a', 'b', 'c', 0xFF, 0xFF}) +
           Bytes({0xFF, sof, 0, 17, 8, h >> 8, h & 0xFF, w >> 8, w & 0xFF, 3}) +
           std::string(9, '\0');
}

std::string Bmp(int w, int h) {
    std::string b = "BM" + std::string(16, '\0');
    for (int v : {w, h})
        for (int i = 0; i < 4; ++i)
            b += static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
    return b + std::string(8, '\0');
}

std::string Webp(const std::string& chunk, const std::string& body) {
    return "RIFF" + Bytes({40, 0, 0, 0}) + "WEBP" + chunk + Bytes({20, 0, 0, 0}) + body +
           std::string(16, '\0');
}

struct SizeCase {
    const char* name;
    std::string bytes;
    int width; // 0: no size
    int height;
};

class ImageSizeTest : public testing::TestWithParam<SizeCase> {};

TEST_P(ImageSizeTest, ReadsTheHeader) {
    const SizeCase& c = GetParam();
    const std::optional<ImageSize> size = ImageSizeOf(c.bytes);
    if (c.width == 0) {
        EXPECT_FALSE(size.has_value());
        return;
    }
    ASSERT_TRUE(size.has_value());
    EXPECT_EQ(size->Width, c.width);
    EXPECT_EQ(size->Height, c.height);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, ImageSizeTest,
    testing::Values(
        SizeCase{"Gif", Gif(200, 56), 200, 56}, SizeCase{"GifLarge", Gif(65535, 1), 65535, 1},
        SizeCase{"Png", Png(640, 480), 640, 480},
        SizeCase{"JpegBaseline", Jpeg(0xC0, 1024, 768), 1024, 768},
        SizeCase{"JpegProgressive", Jpeg(0xC2, 33, 4000), 33, 4000},
        // A Huffman table marker lies in the frame range but is no frame.
        SizeCase{"JpegHuffmanTableIsNoFrame", Jpeg(0xC4, 10, 10).substr(0, 30), 0, 0},
        SizeCase{"JpegCutBeforeFrame", Jpeg(0xC0, 10, 10).substr(0, 28), 0, 0},
        SizeCase{"BmpBottomUp", Bmp(31, 17), 31, 17}, SizeCase{"BmpTopDown", Bmp(31, -17), 31, 17},
        SizeCase{"WebpLossy",
                 Webp("VP8 ", Bytes({0, 0, 0, 0x9D, 0x01, 0x2A, 300 & 0xFF, 300 >> 8, 150, 0})),
                 300, 150},
        // 14 bits each of width - 1 and height - 1: 400 x 200.
        SizeCase{"WebpLossless", Webp("VP8L", Bytes({0x2F, 0x8F, 0xC1, 0x31, 0x00})), 400, 200},
        SizeCase{"WebpExtended", Webp("VP8X", Bytes({0, 0, 0, 0, 0x1F, 0x03, 0, 0xFF, 0, 0})), 800,
                 256},
        SizeCase{"ZeroWidth", Gif(0, 10), 0, 0},
        SizeCase{"TruncatedPng", Png(640, 480).substr(0, 20), 0, 0},
        SizeCase{"NotAPicture", std::string("<html><body>no picture</body></html>"), 0, 0},
        SizeCase{"Empty", std::string(), 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

class PictureFiles : public testing::Test {
protected:
    fs::path dir;
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("pelto-image-size-" + std::to_string(getpid()) + "-" +
               testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    void Write(const fs::path& file, const std::string& bytes) {
        std::ofstream(file, std::ios::binary) << bytes;
    }
};

TEST_F(PictureFiles, ReadsAFileAndRefusesWhatIsNoPlainFile) {
    Write(dir / "a.png", Png(12, 34));
    ASSERT_TRUE(ReadImageSize(dir / "a.png").has_value());
    EXPECT_EQ(ReadImageSize(dir / "a.png")->Height, 34);
    EXPECT_FALSE(ReadImageSize(dir / "missing.png").has_value());
    EXPECT_FALSE(ReadImageSize(dir).has_value());
    // A pipe named like a picture must not hang the expansion.
    ASSERT_EQ(mkfifo((dir / "pipe.gif").c_str(), 0600), 0);
    EXPECT_FALSE(ReadImageSize(dir / "pipe.gif").has_value());
}

// Where the picture of an image parameter is looked for: its chosen folder; with none, the
// library's picture the effect copies beside the page under that name; else beside the page.
TEST_F(PictureFiles, ImageWidthAndHeightFindThePicture) {
    Workspace ws = MakeExpansionWorkspace();
    ws.ProgramFolder = dir / "prog";
    fs::create_directories(ws.DataFolder());
    ImageParameter& picture = ws.Params.ImageParameters[1];
    const auto size = [&ws] {
        return ExpandPlaceholder(ws, "Picture", "IMAGEWIDTH") + "x" +
               ExpandPlaceholder(ws, "Picture", "IMAGEHEIGHT");
    };

    picture.Path = (dir / "pics").string() + "/";
    picture.FileName = "sun.gif";
    fs::create_directories(dir / "pics");
    Write(dir / "pics" / "sun.gif", Gif(200, 56));
    EXPECT_EQ(size(), "200x56");

    // The library's own picture, stored scrambled, copied beside the page as "fx-sun.gif".
    std::string stored = Png(48, 24);
    DescrambleBytes(stored);
    Write(ws.DataFolder() / "fx_sun.png", stored);
    ScriptRecord& script = ws.Library[1];
    script.ItemLocation.push_back("External");
    script.ItemCodeFile.push_back("fx_sun.png");
    script.ItemExternalName.push_back("fx-sun.gif");
    picture.Path.clear();
    picture.FileName = "fx-sun.gif";
    fs::create_directories(dir / "site");
    Write(dir / "site" / "fx-sun.gif", Gif(1, 1)); // an older copy beside the page
    ws.SampleFile = (dir / "site" / "index.htm").string();
    EXPECT_EQ(size(), "48x24");

    picture.FileName = "mine.gif";
    Write(dir / "site" / "mine.gif", Gif(7, 9));
    EXPECT_EQ(size(), "7x9");

    // Only a name beside the page: no path out of its folder.
    Write(dir / "outside.gif", Gif(5, 5));
    picture.FileName = "../outside.gif";
    EXPECT_EQ(size(), "x");
    picture.FileName = "gone.gif";
    EXPECT_EQ(size(), "x");
}

} // namespace
