// Link attributes on any page. The input is the template, a NUL byte, the page the
// links were read from, and optionally a NUL byte and the page as it is now (edited in
// between). With the same page every link gets its attribute and nothing else changes;
// with an edited page the insertion either fails naming the page or writes only at
// real links. The second texts are taken from the template's bytes, so they hold
// whatever a user might type: the filled template must hold them escaped for HTML,
// each in place of the template's own first "*" and "#".
#include "harness/check.h"
#include "harness/escape_rules.h"
#include "harness/harness.h"

#include "expansion/escaping.h"
#include "expansion/link_attributes.h"
#include "library/page_links.h"

namespace pelto::fuzz {

namespace {

// The template filled by hand: the escaped texts at the template's first "*" and "#".
std::string FilledByHand(const std::string& tmpl, const std::string& first,
                         const std::string& second) {
    const size_t star = tmpl.find('*');
    if (star == std::string::npos)
        return tmpl;
    const size_t hash = tmpl.find('#');
    std::string out;
    for (size_t i = 0; i < tmpl.size(); ++i)
        out += i == star ? EscapeHtml(first) : i == hash ? EscapeHtml(second) : tmpl.substr(i, 1);
    return out;
}

} // namespace

std::string RunLinkAttributes(std::string_view input) {
    Check check;
    const size_t first = input.find('\0');
    if (first == std::string_view::npos)
        return {};
    MouseoverParameter mouseover;
    mouseover.Template = std::string(input.substr(0, first));
    // The byte counts below hold for an ASCII template: other characters are written in the
    // page's own encoding (a Windows-1252 page gets its bytes or references), which the
    // table of world texts in the expansion tests covers.
    for (char c : mouseover.Template)
        if (static_cast<unsigned char>(c) >= 0x80)
            return {};
    std::string_view rest = input.substr(first + 1);
    const size_t second = rest.find('\0');
    const std::string sample(rest.substr(0, second));
    const bool edited = second != std::string_view::npos;
    const std::string page = edited ? std::string(rest.substr(second + 1)) : sample;

    auto links = ScanLinks(sample, "sample.htm");
    if (!links)
        return {};
    mouseover.Links = std::move(*links);
    for (int i = 1; i <= mouseover.LinkCount(); ++i) {
        PageLink& l = mouseover.Links[static_cast<size_t>(i)];
        l.Text2 = mouseover.Template.substr(0, static_cast<size_t>(i) % 24) + std::to_string(i);
        check.That(FillFirstMarkers(mouseover.Template, l.Text1, l.Text2) ==
                       FilledByHand(mouseover.Template, l.Text1, l.Text2),
                   "link " + std::to_string(i) + "'s texts were not filled in escaped");
        CheckHtmlEscaped(EscapeHtml(l.Text1), check);
        CheckHtmlEscaped(EscapeHtml(l.Text2), check);
    }

    auto out = InsertLinkAttributesText(page, mouseover, "page.htm");
    if (!out) {
        check.NamesFile(out.error(), "page.htm");
        check.That(edited, "the links of the page itself were refused: " + out.error().message);
        return check.result();
    }
    // Taking every inserted attribute out again must give the page back.
    size_t added = 0;
    for (int i = 1; i <= mouseover.LinkCount(); ++i) {
        const PageLink& l = mouseover.Links[static_cast<size_t>(i)];
        added += 1 + FillFirstMarkers(mouseover.Template, l.Text1, l.Text2).size();
    }
    check.That(out->size() == page.size() + added,
               "the page grew by " + std::to_string(out->size() - page.size()) +
                   " bytes instead of " + std::to_string(added));
    std::string back;
    size_t next = 0;
    size_t shift = 0;
    for (int i = 1; i <= mouseover.LinkCount() && check.result().empty(); ++i) {
        const PageLink& l = mouseover.Links[static_cast<size_t>(i)];
        const size_t tagEnd = page.find('>', static_cast<size_t>(l.LinkStart));
        const std::string attribute = " " + FillFirstMarkers(mouseover.Template, l.Text1, l.Text2);
        check.That(out->compare(tagEnd + shift, attribute.size(), attribute) == 0,
                   "link " + std::to_string(i) + " did not get its attribute before its \">\"");
        back.append(*out, next + shift, tagEnd - next);
        next = tagEnd;
        shift += attribute.size();
    }
    if (check.result().empty()) {
        back.append(*out, next + shift, std::string::npos);
        check.That(back == page, "text outside the inserted attributes changed");
    }
    return check.result();
}

} // namespace pelto::fuzz
