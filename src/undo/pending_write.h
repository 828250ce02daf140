#pragma once
// A file Pelto is about to write into the user's folder, with the bytes it will get.
#include <filesystem>
#include <string_view>

namespace pelto {

struct PendingWrite {
    std::filesystem::path path;
    std::string_view bytes;
};

} // namespace pelto
