#pragma once
// A file Pelto is about to write into the user's folder, with the bytes it will get: the
// parts in order, so a long page is recorded without being joined into one copy.
#include "undo/early_digest.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pelto {

inline std::size_t PartsSize(const std::vector<std::string_view>& parts) {
    std::size_t n = 0;
    for (std::string_view part : parts)
        n += part.size();
    return n;
}

struct PendingWrite {
    std::filesystem::path path;
    std::vector<std::string_view> parts;
    // The writer puts the bytes into a new file and renames it over the path, so the file
    // the path names now is never written again through it.
    bool replacedByRename = false;
    // The SHA-256 of the bytes where the writer has it already; "" when it has not.
    std::string sha;
    // The SHA-256 of what the file at path holds now, where the writer had it taken early
    // (see early_digest.h); the record reads the file itself where it is not valid.
    EarlyDigestFuture before;

    PendingWrite(std::filesystem::path p, std::string_view bytes, bool byRename = false)
        : path(std::move(p)), parts{bytes}, replacedByRename(byRename) {}
    PendingWrite(std::filesystem::path p, std::vector<std::string_view> ps, bool byRename = false)
        : path(std::move(p)), parts(std::move(ps)), replacedByRename(byRename) {}

    std::size_t Size() const { return PartsSize(parts); }
};

} // namespace pelto
