#pragma once
// Finding tags in page bytes without regard to (ASCII) letter case, and a page being
// edited item after item that remembers where its tags are, so each item does not
// scan the whole page again.
#include <string>
#include <string_view>
#include <vector>

namespace pelto {

// Position of the first occurrence of needle at or after from, letters compared
// without case; npos when there is none.
size_t FindNoCase(std::string_view haystack, std::string_view needle, size_t from = 0);

class PageText {
public:
    explicit PageText(std::string text) : text_(std::move(text)) {}

    const std::string& text() const { return text_; }
    std::string take() { return std::move(text_); }

    // The first occurrence of needle (letters without case unless exactCase), or npos.
    size_t Find(std::string_view needle, bool exactCase = false);

    // Replaces erase bytes at `at` by insert. Remembered positions are brought up to
    // date by looking only at the changed part of the page.
    void Replace(size_t at, size_t erase, std::string_view insert);
    void Insert(size_t at, std::string_view insert) { Replace(at, 0, insert); }

private:
    struct Known {
        std::string needle;
        bool exactCase;
        size_t pos; // first occurrence, or npos
    };
    size_t Search(const Known& k, size_t from, size_t end) const;

    std::string text_;
    std::vector<Known> known_;
};

} // namespace pelto
