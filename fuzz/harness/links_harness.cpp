// The page-link scan on any page: every recorded link starts at a "<", ends at a ">",
// the spans ascend without overlapping, and an error names the page and a line of it.
#include "harness/check.h"
#include "harness/harness.h"

#include "common/cp1252.h"
#include "library/page_links.h"

#include <algorithm>

namespace pelto::fuzz {

std::string RunLinks(std::string_view input) {
    const std::string page(input);
    Check check;
    auto links = ScanLinks(page, "fuzz.htm");
    if (!links) {
        check.NamesFile(links.error(), "fuzz.htm");
        const long lines = 1 + static_cast<long>(std::count(page.begin(), page.end(), '\n'));
        check.That(links.error().line >= 1 && links.error().line <= lines,
                   "the error's line lies outside the page");
        return check.result();
    }
    check.That(!links->empty(), "the link table lost element 0");
    int64_t previousEnd = -1;
    const auto size = static_cast<int64_t>(page.size());
    for (size_t i = 1; i < links->size(); ++i) {
        const PageLink& l = (*links)[i];
        const std::string at = " (link " + std::to_string(i) + ")";
        check.That(l.LinkStart > previousEnd, "the link spans overlap or descend" + at);
        check.That(l.LinkStart < l.LinkEnd && l.LinkEnd < size, "the span leaves the page" + at);
        if (l.LinkStart >= 0 && l.LinkEnd < size && l.LinkStart < l.LinkEnd) {
            check.That(page[l.LinkStart] == '<', "the span does not start at a \"<\"" + at);
            check.That(page[l.LinkEnd] == '>', "the span does not end at a \">\"" + at);
            // Texts are decoded into UTF-8: a Windows-1252 byte takes at most three bytes,
            // a byte of a UTF-8 page that is no character three (U+FFFD).
            const int64_t growth = 3;
            check.That(static_cast<int64_t>(l.LinkText.size()) < growth * (l.LinkEnd - l.LinkStart),
                       "the link text is longer than the link" + at);
        }
        check.That(IsValidUtf8(l.LinkText), "the link text is no well-formed UTF-8" + at);
        check.That(l.LinkText.find_first_of("<\r\n") == std::string::npos,
                   "the link text holds a \"<\" or a line end" + at);
        check.That(l.Text1 == l.LinkText && l.Text2.empty(),
                   "the mouseover texts do not start as the link text and empty" + at);
        previousEnd = l.LinkEnd;
    }
    return check.result();
}

} // namespace pelto::fuzz
