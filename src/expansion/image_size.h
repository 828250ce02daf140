#pragma once
// The pixel size a picture declares in its header, for the width and height attributes of
// the pictures an effect puts in a page: with them the browser keeps the picture's room
// before it has loaded, so the page does not move when it arrives.
#include <filesystem>
#include <optional>
#include <string_view>

namespace pelto {

struct ImageSize {
    int Width = 0;
    int Height = 0;
};

// GIF, PNG, JPEG, BMP and WebP; nothing for other bytes, a truncated header or a size of 0.
// `bytes` needs only the file's start, except for JPEG, whose size may come later.
std::optional<ImageSize> ImageSizeOf(std::string_view bytes);

// The same for a file; reads at most its first 512 KiB.
std::optional<ImageSize> ReadImageSize(const std::filesystem::path& file);

} // namespace pelto
