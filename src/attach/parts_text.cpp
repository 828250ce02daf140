#include "attach/parts_text.h"

#include <algorithm>
#include <cstring>

namespace pelto {

PartsText::PartsText(const std::vector<std::string_view>& parts) {
    for (std::string_view part : parts) {
        if (part.empty())
            continue;
        parts_.push_back(part);
        starts_.push_back(size_);
        size_ += part.size();
    }
}

std::pair<size_t, size_t> PartsText::Locate(size_t pos) const {
    if (pos >= size_)
        return {parts_.size(), 0};
    const size_t i = static_cast<size_t>(std::upper_bound(starts_.begin(), starts_.end(), pos) -
                                         starts_.begin()) -
                     1;
    return {i, pos - starts_[i]};
}

bool PartsText::StandsAt(size_t i, size_t off, std::string_view needle) const {
    while (!needle.empty()) {
        if (i >= parts_.size())
            return false;
        const std::string_view part = parts_[i].substr(off);
        const size_t n = std::min(part.size(), needle.size());
        if (std::memcmp(part.data(), needle.data(), n) != 0)
            return false;
        needle.remove_prefix(n);
        ++i;
        off = 0;
    }
    return true;
}

size_t PartsText::find(std::string_view needle, size_t from) const {
    if (needle.empty())
        return from <= size_ ? from : std::string_view::npos;
    if (from >= size_ || size_ - from < needle.size())
        return std::string_view::npos;
    const size_t last = size_ - needle.size(); // the last place it can start
    auto [i, off] = Locate(from);
    // Each candidate is a place holding the needle's first byte; it is compared from there.
    while (i < parts_.size()) {
        const std::string_view part = parts_[i];
        const size_t start = starts_[i];
        if (start + off > last)
            break;
        const size_t end = std::min(part.size(), last - start + 1);
        const void* hit = std::memchr(part.data() + off, needle[0], end - off);
        if (hit == nullptr) {
            ++i;
            off = 0;
            continue;
        }
        const size_t at = static_cast<size_t>(static_cast<const char*>(hit) - part.data());
        if (StandsAt(i, at, needle))
            return start + at;
        off = at + 1;
        if (off == part.size()) {
            ++i;
            off = 0;
        }
    }
    return std::string_view::npos;
}

std::string_view PartsText::substr(size_t pos, size_t n) const {
    n = std::min(n, size_ - std::min(pos, size_));
    if (n == 0)
        return {};
    auto [i, off] = Locate(pos);
    if (parts_[i].size() - off >= n)
        return parts_[i].substr(off, n);
    std::string& copy = copies_.emplace_back();
    copy.reserve(n);
    while (copy.size() < n) {
        const std::string_view part = parts_[i].substr(off, n - copy.size());
        copy.append(part);
        ++i;
        off = 0;
    }
    return copy;
}

} // namespace pelto
