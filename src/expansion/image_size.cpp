#include "expansion/image_size.h"

#include <cstdint>
#include <fstream>
#include <string>

namespace pelto {

namespace {

constexpr size_t kMostRead = 512 * 1024;
constexpr int kLargest = 1 << 24; // beyond every format's own limit but WebP's

uint32_t Byte(std::string_view b, size_t at) {
    return static_cast<unsigned char>(b[at]);
}
uint32_t Le16(std::string_view b, size_t at) {
    return Byte(b, at) | Byte(b, at + 1) << 8;
}
uint32_t Be16(std::string_view b, size_t at) {
    return Byte(b, at) << 8 | Byte(b, at + 1);
}
uint32_t Le24(std::string_view b, size_t at) {
    return Le16(b, at) | Byte(b, at + 2) << 16;
}
uint32_t Le32(std::string_view b, size_t at) {
    return Le24(b, at) | Byte(b, at + 3) << 24;
}
uint32_t Be32(std::string_view b, size_t at) {
    return Be16(b, at) << 16 | Be16(b, at + 2);
}

std::optional<ImageSize> Sized(int64_t width, int64_t height) {
    if (width <= 0 || height <= 0 || width > kLargest || height > kLargest)
        return std::nullopt;
    return ImageSize{static_cast<int>(width), static_cast<int>(height)};
}

// The frame header (SOF0..SOF15 but DHT, JPG and DAC) holds the size; the segments before it
// are skipped by their lengths.
std::optional<ImageSize> JpegSize(std::string_view b) {
    size_t at = 2;
    while (at + 4 <= b.size()) {
        if (Byte(b, at) != 0xFF)
            return std::nullopt;
        const uint32_t marker = Byte(b, at + 1);
        if (marker == 0xFF) { // fill byte
            ++at;
            continue;
        }
        if (marker == 0xD8 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
            at += 2; // markers without a length
            continue;
        }
        const uint32_t length = Be16(b, at + 2);
        if (length < 2)
            return std::nullopt;
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (at + 9 > b.size())
                return std::nullopt;
            return Sized(Be16(b, at + 7), Be16(b, at + 5));
        }
        if (marker == 0xD9 || marker == 0xDA) // end of image, or the scan before any frame
            return std::nullopt;
        at += 2 + length;
    }
    return std::nullopt;
}

std::optional<ImageSize> WebpSize(std::string_view b) {
    if (b.size() < 30)
        return std::nullopt;
    const std::string_view chunk = b.substr(12, 4);
    if (chunk == "VP8 ") {
        if (Byte(b, 23) != 0x9D || Byte(b, 24) != 0x01 || Byte(b, 25) != 0x2A)
            return std::nullopt;
        return Sized(Le16(b, 26) & 0x3FFF, Le16(b, 28) & 0x3FFF);
    }
    if (chunk == "VP8L") {
        if (Byte(b, 20) != 0x2F)
            return std::nullopt;
        const uint32_t bits = Le32(b, 21);
        return Sized((bits & 0x3FFF) + 1, ((bits >> 14) & 0x3FFF) + 1);
    }
    if (chunk == "VP8X")
        return Sized(int64_t{Le24(b, 24)} + 1, int64_t{Le24(b, 27)} + 1);
    return std::nullopt;
}

} // namespace

std::optional<ImageSize> ImageSizeOf(std::string_view b) {
    if (b.size() >= 10 && (b.substr(0, 6) == "GIF87a" || b.substr(0, 6) == "GIF89a"))
        return Sized(Le16(b, 6), Le16(b, 8));
    if (b.size() >= 24 && b.substr(0, 8) == "\x89PNG\r\n\x1a\n" && b.substr(12, 4) == "IHDR")
        return Sized(Be32(b, 16), Be32(b, 20));
    if (b.size() >= 4 && Byte(b, 0) == 0xFF && Byte(b, 1) == 0xD8)
        return JpegSize(b);
    if (b.size() >= 26 && b.substr(0, 2) == "BM") {
        // Rows stored top down have a negative height.
        const auto height = static_cast<int32_t>(Le32(b, 22));
        return Sized(static_cast<int32_t>(Le32(b, 18)),
                     height < 0 ? -int64_t{height} : int64_t{height});
    }
    if (b.size() >= 16 && b.substr(0, 4) == "RIFF" && b.substr(8, 4) == "WEBP")
        return WebpSize(b);
    return std::nullopt;
}

std::optional<ImageSize> ReadImageSize(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) // a pipe or device would never end
        return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string bytes(kMostRead, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(in.gcount()));
    return ImageSizeOf(bytes);
}

} // namespace pelto
