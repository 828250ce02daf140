#include "library/page_links.h"

#include "common/cp1252.h"
#include "common/files.h"
#include "library/page_encoding.h"

#include <algorithm>

namespace pelto {

namespace {

long LineOf(const std::string& page, size_t pos) {
    return 1 + static_cast<long>(
                   std::count(page.begin(), page.begin() + std::min(pos, page.size()), '\n'));
}

bool EndsTagName(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '>' || c == '/';
}

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

std::string LinkTextOf(std::string tag) {
    while (!tag.empty() && tag[0] == '<') {
        size_t gt = tag.find('>');
        if (gt == std::string::npos) {
            tag.clear();
            break;
        }
        tag.erase(0, gt + 1);
    }
    size_t lt = tag.find('<');
    if (lt != std::string::npos)
        tag.erase(lt);
    return tag;
}

// The code point of the numeric character reference at text[at] ("&#" digits ";" or
// "&#x" hex digits ";") and its length; 0 when there is none or it names no character.
size_t ReferenceAt(std::string_view text, size_t at, uint32_t& cp) {
    size_t i = at + 2;
    if (at + 2 >= text.size() || text[at] != '&' || text[at + 1] != '#')
        return 0;
    const bool hex = text[i] == 'x' || text[i] == 'X';
    if (hex)
        ++i;
    const size_t digits = i;
    uint64_t v = 0;
    for (; i < text.size() && i - digits < 8; ++i) {
        const char c = text[i];
        int d = -1;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (hex && (c | 0x20) >= 'a' && (c | 0x20) <= 'f')
            d = (c | 0x20) - 'a' + 10;
        if (d < 0)
            break;
        v = v * (hex ? 16 : 10) + static_cast<uint64_t>(d);
    }
    if (i == digits || i >= text.size() || text[i] != ';')
        return 0;
    if (v == 0 || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF))
        return 0;
    cp = static_cast<uint32_t>(v);
    return i + 1 - at;
}

} // namespace

std::string LinkTextCharacters(std::string_view text) {
    if (text.find("&#") == std::string_view::npos)
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        uint32_t cp = 0;
        if (const size_t len = ReferenceAt(text, i, cp)) {
            AppendUtf8(out, cp);
            i += len;
        } else {
            out += text[i++];
        }
    }
    return out;
}

bool SameLinkText(std::string_view a, std::string_view b) {
    return a == b || LinkTextCharacters(a) == LinkTextCharacters(b);
}

Result<std::vector<PageLink>> ScanLinks(const std::string& page, const std::string& fileName) {
    std::vector<PageLink> links(1);
    // Link texts are held as UTF-8 whatever the page's encoding; the offsets stay byte
    // offsets of the page.
    const bool utf8 = IsUtf8Page(page);
    const size_t n = page.size();
    size_t i = 0;
    while (i < n) {
        if (page[i] != '<') {
            ++i;
            continue;
        }
        const size_t start = i++;
        while (i < n && page[i] == ' ')
            ++i;
        if (i >= n)
            return MakeError(fileName, LineOf(page, start), "the page ends right after a \"<\"");
        // Only a tag named exactly A starts a link (not ABBR, ADDRESS, AREA, ...).
        if (Upper(page[i]) != 'A') {
            ++i;
            continue;
        }
        if (i + 1 < n && !EndsTagName(page[i + 1])) {
            ++i;
            continue;
        }
        ++i;
        std::string tag(1, '<');
        tag += 'A';
        std::string closing;
        bool ended = false;
        for (; i < n; ++i) {
            char c = page[i];
            if (c == '\n' || c == '\r')
                continue;
            if (c != ' ') {
                if (c == '<')
                    closing.assign(1, '<');
                else
                    closing += Upper(c);
            }
            if (c == ' ' && !tag.empty() && tag.back() == ' ')
                continue;
            tag += c;
            if (closing.size() == 4 && closing == "</A>") {
                ended = true;
                break;
            }
            if (closing.size() > 4)
                closing.clear(); // only a "<" can start "</A>" again; keeps the buffer small
        }
        if (!ended)
            return MakeError(fileName, LineOf(page, start),
                             "the page ends inside the link that starts here");
        PageLink link;
        link.LinkText = LinkTextOf(tag);
        link.LinkText = utf8 ? ValidUtf8(link.LinkText) : Cp1252ToUtf8(link.LinkText);
        link.LinkStart = static_cast<int64_t>(start);
        link.LinkEnd = static_cast<int64_t>(i);
        links.push_back(std::move(link));
        ++i;
    }
    for (size_t k = 1; k < links.size(); ++k) {
        links[k].Text1 = links[k].LinkText;
        links[k].Text2.clear();
    }
    return links;
}

Status ParseLinks(Workspace& ws) {
    ws.Params.Mouseover.Links.assign(1, PageLink{});
    auto page = ReadFileBytes(ws.SampleFile);
    if (!page)
        return page.error();
    auto links = ScanLinks(*page, ws.SampleFile);
    if (!links)
        return links.error();
    ws.Params.Mouseover.Links = std::move(*links);
    return Status::Ok();
}

} // namespace pelto
