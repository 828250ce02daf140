#pragma once
// Finding tags in page bytes without regard to (ASCII) letter case, and a page being
// edited item after item that remembers where its tags are, so each item does not
// scan the whole page again.
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace pelto {

// Position of the first occurrence of needle at or after from, letters compared
// without case; npos when there is none.
size_t FindNoCase(std::string_view haystack, std::string_view needle, size_t from = 0);

// Position of the first occurrence of needle at or after from, bytes compared exactly.
size_t FindExact(std::string_view haystack, std::string_view needle, size_t from = 0);

// The page as a list of pieces: spans of the original bytes (which the caller keeps
// alive and unchanged) and of inserted texts. An edit splices pieces instead of moving
// the rest of a long page, and the text is put together once, by Build.
class PageText {
public:
    explicit PageText(std::string_view original);
    // Keeps the text itself.
    explicit PageText(std::string&& original);

    size_t size() const { return size_; }
    char At(size_t pos) const;
    // The first c at or after from, or npos.
    size_t FindChar(char c, size_t from) const;

    // The first occurrence of needle (letters without case unless exactCase), or npos.
    size_t Find(std::string_view needle, bool exactCase = false);

    // Replaces erase bytes at `at` by insert. Remembered positions are brought up to
    // date by looking only at the changed part of the page.
    void Replace(size_t at, size_t erase, std::string_view insert);
    void Insert(size_t at, std::string_view insert) { Replace(at, 0, insert); }

    // prefix, the text, suffix: put together in one buffer of the exact size.
    std::string Build(std::string_view prefix = {}, std::string_view suffix = {}) const;
    std::string text() const { return Build(); }
    // The pieces in order; they stay valid while the PageText lives.
    const std::vector<std::string_view>& Pieces() const { return pieces_; }

private:
    struct Known {
        std::string needle;
        bool exactCase;
        size_t pos; // first occurrence, or npos
    };
    // The first occurrence that starts in [from, end) and ends by end.
    size_t Search(const Known& k, size_t from, size_t end) const;
    // The bytes of [from, from + n), copied across pieces.
    std::string Range(size_t from, size_t n) const;
    // Splits pieces so that one starts at pos; returns its index.
    size_t SplitAt(size_t pos);

    std::vector<std::string_view> pieces_;
    std::deque<std::string> inserted_; // owns the inserted texts (a deque keeps them in place)
    size_t size_ = 0;
    std::vector<Known> known_;
};

} // namespace pelto
