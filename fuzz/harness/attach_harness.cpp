// Attaching a fixed small effect (one item of every location keyword, two external
// files, two handler items, a mouseover and a menu) to any page. Either every item is
// in place, or the error names the page and the tag it lacks. A page that took the
// effect takes it a second time, as the user's page does on a repeated application.
#include "harness/check.h"
#include "harness/fixtures.h"
#include "harness/harness.h"

#include "attach/attach_script.h"
#include "attach/handler_chain.h"
#include "attach/page_search.h"
#include "common/files.h"
#include "common/scramble.h"
#include "expansion/link_attributes.h"
#include "library/library_loader.h"
#include "library/page_links.h"

#include <filesystem>
#include <unistd.h>

namespace pelto::fuzz {

namespace {

namespace fs = std::filesystem;

struct Item {
    const char* line; // the header's item line
    const char* file;
    const char* code;
};

const Item kItems[] = {
    // First: it inserts one byte behind "<BODY", which could split an earlier item's code.
    {"Body_Onload,onload.txt,,1,1", "onload.txt", "onload=\"go()\" "},
    {"Head,head.txt,,1,0", "head.txt", "<!--HEAD-->"},
    {"Body_Top,top.txt,,1,0", "top.txt", "<!--TOP-->"},
    {"Body_End,end.txt,,1,0", "end.txt", "<!--END-->"},
    {"Location,loc.txt,,1,0", "loc.txt", "<!--LOCATION-->"},
    {"External,ext.js,ext.js,1,0", "ext.js", "var ext = 1;"},
    {"External,ext.js,common.js,1,1", "ext.js", "var ext = 1;"},
    {"Mouse_Handler,mouse.txt,,1,0", "mouse.txt", "/*MOUSE*/"},
    {"Onload_Handler,load.txt,,1,1", "load.txt", "/*LOAD*/"},
    {"Head,never.txt,,0,0", "", ""}, // not included: its file is never read
};

// A program folder with the effect's code files, made once per process.
struct FixedLibrary {
    fs::path home;
    ScriptRecord script;

    FixedLibrary() {
        home = fs::temp_directory_path() / ("pelto-fuzz-attach-" + std::to_string(::getpid()));
        fs::create_directories(home / "data");
        std::string header =
            "pelto.fuzz\r\npF\r\n1000\r\nFuzz\r\nAll locations\r\nTest\r\n0\r\n10\r\n";
        for (const Item& item : kItems) {
            header += std::string(item.line) + "\r\n";
            if (*item.file) {
                std::string bytes = item.code;
                DescrambleBytes(bytes);
                (void)WriteFileBytes(home / "data" / item.file, bytes);
            }
        }
        script = *ReadScriptHeader(header, "fuzz.hdr");
    }
    ~FixedLibrary() {
        std::error_code ec;
        fs::remove_all(home, ec);
    }
};

const FixedLibrary& Library() {
    static FixedLibrary library;
    return library;
}

void Prepare(Workspace& ws, const std::string& page, int16_t repeat) {
    LoadBase(ws);
    ws.ProgramFolder = Library().home;
    ws.Library.assign(1, ScriptRecord{});
    ws.Library.push_back(Library().script);
    ws.CurrentScriptIndex = 1;
    ws.ScriptRepeat = repeat;
    for (const char* keyword :
         {"Mouse_Handler", "Onload_Handler", "Onscroll_Handler", "Onresize_Handler"}) {
        const HandlerKind* h = FindHandlerKind(keyword);
        ws.*(h->text) = std::string("<script>\r\n") + h->marker + "\r\n</script>\r\n";
    }
    auto links = ScanLinks(page, "fuzz.htm");
    ws.Params.Mouseover.Links = links ? std::move(*links) : std::vector<PageLink>(1);
}

bool Has(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

} // namespace

std::string RunAttach(std::string_view input) {
    const std::string page(input);
    const auto repeat = static_cast<int16_t>(input.size() % 3);
    Workspace ws;
    Prepare(ws, page, repeat);
    Check check;
    auto attached = AttachToText(ws, 1, page, "fuzz.htm");
    if (!attached) {
        check.NamesFile(attached.error(), "fuzz.htm");
        check.That(Has(attached.error().message, "<BODY") || Has(attached.error().message, "</") ||
                       Has(attached.error().message, "link"),
                   "the error does not say what the page lacks: " + attached.error().message);
        return check.result();
    }
    const std::string& out = attached->page;
    // What the page held before the items came: its text once the link attributes are
    // in (they may split a text inside a link's opening tag).
    auto withLinks = InsertLinkAttributesText(page, ws.Params.Mouseover, "fuzz.htm");
    const std::string before = withLinks ? *withLinks : page;
    const std::string first = "<!--2erghdf45yrpelto.fuzz-->\r\n";
    check.That(out.compare(0, first.size(), first) == 0, "the output page lacks its first line");
    check.That(out.size() >= page.size() + first.size(), "the output page lost text");
    // A page that already holds an item's text proves nothing about that item: an
    // insertion may split the page's own copy. Only texts new to the page are checked.
    for (const char* code : {"<!--HEAD-->", "<!--TOP-->", "<!--END-->", "/*MOUSE*/"})
        if (!Has(before, code))
            check.That(Has(out, code), std::string("the item ") + code + " is missing");
    if (!Has(before, "/*LOAD*/"))
        check.That(Has(out, "/*LOAD*/") == (repeat == 0),
                   "a once-only handler item was written on a repeated application or not at "
                   "all");
    const size_t stars = before.find("*****");
    const size_t body = FindNoCase(before, "<BODY");
    const bool nearBody = body != std::string::npos && stars >= body && stars <= body + 6;
    if (stars != std::string::npos && !nearBody && !Has(before, "<!--LOCATION-->"))
        check.That(Has(out, "<!--LOCATION-->"), "the Location item did not replace \"*****\"");
    check.That(attached->externals.size() == 2 &&
                   attached->externals[0].first == std::to_string(repeat) + "ext.js" &&
                   attached->externals[1].first == "common.js",
               "the external files are not named by the repeat count and once flag");

    // The user applies the effect again to the page that took it.
    const std::string again = out;
    Workspace ws2;
    Prepare(ws2, again, static_cast<int16_t>(repeat + 1));
    if (ScanLinks(again, "fuzz.htm")) {
        auto second = AttachToText(ws2, 1, again, "fuzz.htm");
        check.That(second.ok(), "a page that took the effect refused it the second time: " +
                                    (second ? std::string() : second.error().message));
    }
    return check.result();
}

} // namespace pelto::fuzz
