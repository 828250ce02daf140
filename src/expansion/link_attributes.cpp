#include "expansion/link_attributes.h"

#include "common/files.h"
#include "common/numbers.h"
#include "expansion/escaping.h"
#include "expansion/page_text.h"
#include "library/page_encoding.h"

namespace pelto {

namespace {

// "<", optional blanks, then the letter A.
bool StartsLink(const std::string& page, size_t at) {
    if (page[at] != '<')
        return false;
    size_t name = page.find_first_not_of(' ', at + 1);
    return name != std::string::npos && (page[name] == 'a' || page[name] == 'A');
}

} // namespace

std::string FillFirstMarkers(std::string_view templateText, std::string_view first,
                             std::string_view second) {
    const size_t star = templateText.find('*');
    if (star == std::string_view::npos)
        return std::string(templateText);
    // The second text goes in place of the template's own first "#", never one that
    // came in with the first text (an escaped text holds "#" in its references).
    const size_t hash = templateText.find('#');
    std::string out;
    for (size_t i = 0; i < templateText.size(); ++i) {
        if (i == star)
            out += EscapeHtml(first);
        else if (i == hash)
            out += EscapeHtml(second);
        else
            out += templateText[i];
    }
    return out;
}

Result<std::string> InsertLinkAttributesText(const std::string& page,
                                             const MouseoverParameter& mouseover,
                                             const std::string& fileName) {
    std::string out;
    out.reserve(page.size() + 64 * static_cast<size_t>(mouseover.LinkCount()));
    int64_t next = 0; // first byte not yet copied
    // The texts are escaped; the template comes from the definition and goes in in the
    // page's encoding, its placeholder marks as the expansion finds them.
    const bool utf8 = mouseover.LinkCount() > 0 && IsUtf8Page(page);
    for (int i = 1; i <= mouseover.LinkCount(); ++i) {
        const PageLink& link = mouseover.Links[static_cast<size_t>(i)];
        // The recorded positions must still fall on a link of this page (it may have
        // been edited since it was read).
        const bool inPage = link.LinkStart >= next && link.LinkStart < link.LinkEnd &&
                            link.LinkEnd < static_cast<int64_t>(page.size());
        size_t tagEnd = std::string::npos;
        if (inPage && StartsLink(page, static_cast<size_t>(link.LinkStart)) &&
            page[static_cast<size_t>(link.LinkEnd)] == '>')
            tagEnd = page.find('>', static_cast<size_t>(link.LinkStart));
        if (tagEnd == std::string::npos || static_cast<int64_t>(tagEnd) > link.LinkEnd)
            return MakeError(fileName, 0,
                             "link " + FormatInt(i) +
                                 " of the page is no longer where it was when the page was "
                                 "read; choose the page again");
        out.append(page, static_cast<size_t>(next), tagEnd - static_cast<size_t>(next));
        out += ' ';
        out += ToPageText(FillFirstMarkers(mouseover.Template, link.Text1, link.Text2), utf8);
        out.append(page, tagEnd, static_cast<size_t>(link.LinkEnd) + 1 - tagEnd);
        next = link.LinkEnd + 1;
    }
    out.append(page, static_cast<size_t>(next));
    return out;
}

Status InsertLinkAttributes(const Workspace& ws, const std::filesystem::path& path) {
    Result<std::string> page = ReadFileBytes(path);
    if (!page)
        return page.error();
    Result<std::string> out = InsertLinkAttributesText(*page, ws.Params.Mouseover, PathText(path));
    if (!out)
        return out.error();
    *out += "\r\n";
    return WriteFileAtomic(path, *out);
}

} // namespace pelto
