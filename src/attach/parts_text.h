#pragma once
// A text held in parts (views, in order), read as if it were one string: its size, where
// a string first stands in it, and stretches of it. A large page is worked on this way
// without being copied into one string; the answers are those the joined text gives.
#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pelto {

class PartsText {
public:
    // The parts must outlive this object.
    explicit PartsText(const std::vector<std::string_view>& parts);

    size_t size() const { return size_; }

    // As std::string_view::find: the first place at or after from where needle stands,
    // or npos.
    size_t find(std::string_view needle, size_t from) const;

    // As std::string_view::substr (pos at most size()). The view stays valid as long as
    // this object: a stretch across parts is copied into it.
    std::string_view substr(size_t pos, size_t n = std::string_view::npos) const;

private:
    // The part holding byte pos and the offset in it; for pos == size(), one past the end.
    std::pair<size_t, size_t> Locate(size_t pos) const;
    // True when needle stands at offset off of part i, running on into the parts after it.
    bool StandsAt(size_t i, size_t off, std::string_view needle) const;

    std::vector<std::string_view> parts_; // the non-empty ones
    std::vector<size_t> starts_;          // where each begins in the whole
    size_t size_ = 0;
    mutable std::deque<std::string> copies_; // a deque keeps them in place as it grows
};

} // namespace pelto
