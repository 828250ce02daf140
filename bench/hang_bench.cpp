// Inputs built to make Pelto hang or blow up, each measured to show it finishes in
// bounded time: a definition with every count at its maximum, and a 50 MB page
// scanned for its links. The byte counters give the throughput.
#include "library/definition_reader.h"
#include "library/page_links.h"

#include <benchmark/benchmark.h>

using namespace pelto;

namespace {

void Line(std::string& out, const std::string& line) {
    out += line;
    out += "\r\n";
}

// 100 parameters, the most a script may have: 30 lists of 32767 rows by 3 columns with
// every entry given, 30 option parameters with 32767 options, 30 numbers, a menu of
// 32767 entries with captions and links, a mouseover, the script information and
// seven texts.
const std::string& MaximumDefinition() {
    static const std::string text = [] {
        std::string d;
        for (int i = 1; i <= 30; ++i) {
            for (const char* l :
                 {"*", "6", "0", "0", "3", "UCASE", "32767", "<li>#</li>", "1", "A", "B", "C"})
                Line(d, l);
            Line(d, "List" + std::to_string(i));
            Line(d, "A list");
            for (int e = 0; e < 32767 * 3; ++e)
                Line(d, "entry");
        }
        for (int i = 1; i <= 30; ++i) {
            for (const char* l : {"*", "7", "0", "32767"})
                Line(d, l);
            Line(d, "Option" + std::to_string(i));
            Line(d, "An option");
            for (int e = 0; e < 32767 * 2; ++e)
                Line(d, "opt");
        }
        for (int i = 1; i <= 30; ++i) {
            for (const char* l : {"*", "0", "-32768", "32767", "1", "px", "5"})
                Line(d, l);
            Line(d, "Int" + std::to_string(i));
            Line(d, "A number");
        }
        for (const char* l : {"*", "11", "32767", "sfx", "Menu", "A menu"})
            Line(d, l);
        for (int e = 0; e < 32767 * 3; ++e)
            Line(d, ">m");
        for (const char* l : {"*", "9", "First", "Second", "title=\"*\"", "Tips", "Link tips"})
            Line(d, l);
        for (const char* l : {"*", "12", "a", "b", "c", "d", "e", "f", "g", "h"})
            Line(d, l);
        for (int i = 1; i <= 7; ++i) {
            for (const char* l : {"*", "5", "0", "0", "Hi", "", "", "True"})
                Line(d, l);
            Line(d, "Text" + std::to_string(i));
            Line(d, "A text");
        }
        Line(d, "-");
        return d;
    }();
    return text;
}

void BM_DefinitionWithMaximumCounts(benchmark::State& state) {
    const std::string& text = MaximumDefinition();
    for (auto _ : state) {
        Workspace ws;
        ResetParameterState(ws);
        Status st = ReadDefinitionText(ws, text, "max.par");
        if (!st.ok() || ws.Params.ParameterCount != 100) {
            state.SkipWithError(st.ok() ? "not 100 parameters" : st.error().text().c_str());
            break;
        }
        benchmark::DoNotOptimize(ws.Params.ListParameters[30].Entries[32766][2]);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_DefinitionWithMaximumCounts)->Unit(benchmark::kMillisecond)->Iterations(2);

// A 50 MB page: paragraphs with links, long runs of "<" that start no link, and tags
// that begin with A but are not links.
const std::string& FiftyMegabytePage() {
    static const std::string page = [] {
        std::string p = "<html><head><title>big</title></head><body>\r\n";
        const std::string block =
            "<p>Some text <a href=\"page.htm\">a link</a> and <abbr>more</abbr> text "
            "<aside>x</aside> < < < <b>bold</b> <A\r\nHREF=y><img src=a.gif></ A >.</p>\r\n";
        while (p.size() < 50u * 1024 * 1024)
            p += block;
        p += "</body></html>\r\n";
        return p;
    }();
    return page;
}

void BM_LinksOfAFiftyMegabytePage(benchmark::State& state) {
    const std::string& page = FiftyMegabytePage();
    size_t links = 0;
    for (auto _ : state) {
        auto found = ScanLinks(page, "big.htm");
        if (!found.ok())
            state.SkipWithError(found.error().text().c_str());
        else
            links = found->size() - 1;
    }
    state.counters["links"] = static_cast<double>(links);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_LinksOfAFiftyMegabytePage)->Unit(benchmark::kMillisecond)->Iterations(3);

// A page that opens a link at its start and never closes it: the scan must give up at
// the end of the page, once, not start again at every character.
void BM_UnclosedLinkInAFiftyMegabytePage(benchmark::State& state) {
    const std::string page = "<a href=x>" + std::string(50u * 1024 * 1024, 'y');
    for (auto _ : state) {
        auto found = ScanLinks(page, "open.htm");
        if (found.ok())
            state.SkipWithError("an unclosed link was accepted");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_UnclosedLinkInAFiftyMegabytePage)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
