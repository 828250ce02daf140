// Inputs built to make Pelto hang or blow up, each measured to show it finishes in
// bounded time: placeholders whose values contain themselves, thousands of unresolved
// placeholders on one line, a definition with every count at its maximum, and a 50 MB
// page scanned for its links, attached to and expanded. The byte counters give the
// throughput; "out_bytes" shows how much text an expansion produced.
#include "attach/attach_script.h"
#include "attach/output_folder.h"
#include "common/files.h"
#include "common/scramble.h"
#include "expansion/placeholder.h"
#include "library/definition_reader.h"
#include "library/library_loader.h"
#include "library/page_links.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <unistd.h>

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

// A workspace whose text parameters refer to themselves and to each other.
Workspace SelfReferringTexts() {
    Workspace ws;
    ResetParameterState(ws);
    std::string d;
    auto text = [&d](const std::string& name, const std::string& value) {
        for (const std::string& l :
             {std::string("*"), std::string("5"), std::string("0"), std::string("0"), value,
              std::string(), std::string(), std::string("True"), name, std::string("text")})
            Line(d, l);
    };
    text("Self", "me \xAESelf,TEXTVALUE\xAF");
    text("Ping", "ping \xAEPong,TEXTVALUE\xAF");
    text("Pong", "pong \xAEPing,TEXTVALUE\xAF");
    // Each refers twice to the next: 2^20 copies of the last if nothing stops it.
    for (int i = 0; i < 20; ++i)
        text("Chain" + std::to_string(i), "\xAE"
                                          "Chain" +
                                              std::to_string(i + 1) +
                                              ",TEXTVALUE\xAF\xAE"
                                              "Chain" +
                                              std::to_string(i + 1) + ",TEXTVALUE\xAF");
    text("Chain20", "end");
    Line(d, "-");
    (void)ReadDefinitionText(ws, d, "self.par");
    return ws;
}

// A code file of many lines, each holding placeholders whose values contain themselves.
void BM_ValueContainingItself(benchmark::State& state) {
    Workspace ws = SelfReferringTexts();
    std::string code;
    const char* lines[] = {"var a = \"\xAESelf,TEXTVALUE\xAF\";",
                           "var b = \"\xAEPing,TEXTVALUE\xAF\";",
                           "var c = \"\xAE"
                           "Chain0,TEXTVALUE\xAF\";"};
    for (int i = 0; i < state.range(0); ++i)
        Line(code, lines[i % 3]);
    size_t produced = 0;
    for (auto _ : state)
        produced = ExpandText(ws, code).size();
    state.counters["out_bytes"] = static_cast<double>(produced);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * code.size()));
}
BENCHMARK(BM_ValueContainingItself)->Arg(3)->Arg(300)->Unit(benchmark::kMillisecond);

// One line of thousands of placeholders that yield nothing: each stays as it stands
// and the scan goes on behind it.
void BM_ThousandsOfUnresolvedPlaceholdersOnOneLine(benchmark::State& state) {
    Workspace ws = SelfReferringTexts();
    std::string line;
    for (int i = 0; i < state.range(0); ++i)
        line += "\xAENobody" + std::to_string(i) + ",INTVALUE\xAF \xAFstray \xAESelf,X\xAF ";
    size_t produced = 0;
    for (auto _ : state)
        produced = ExpandLine(ws, line).size();
    if (produced != line.size())
        state.SkipWithError("an unresolved placeholder was changed");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * line.size()));
}
BENCHMARK(BM_ThousandsOfUnresolvedPlaceholdersOnOneLine)
    ->Arg(5000)
    ->Arg(50000)
    ->Unit(benchmark::kMillisecond);

// The expansion pass over a 50 MB page (a result page of the output folder).
void BM_ExpandAFiftyMegabytePage(benchmark::State& state) {
    Workspace ws = SelfReferringTexts();
    std::string page = FiftyMegabytePage();
    for (size_t at = 0; at < page.size(); at += 4096)
        page.insert(at, "\xAESelf,TEXTVALUE\xAF");
    size_t produced = 0;
    for (auto _ : state)
        produced = ExpandText(ws, page).size();
    state.counters["out_bytes"] = static_cast<double>(produced);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_ExpandAFiftyMegabytePage)->Unit(benchmark::kMillisecond)->Iterations(2);

// Attaching an effect of three items to a 50 MB page.
void BM_AttachToAFiftyMegabytePage(benchmark::State& state) {
    const std::filesystem::path home = std::filesystem::temp_directory_path() /
                                       ("pelto-bench-attach-" + std::to_string(::getpid()));
    std::filesystem::create_directories(home / "data");
    for (const char* name : {"head.txt", "top.txt", "end.txt"}) {
        std::string code = std::string("<script>/* ") + name + " */</script>";
        DescrambleBytes(code);
        (void)WriteFileBytes(home / "data" / name, code);
    }
    Workspace ws;
    ws.ProgramFolder = home;
    ws.Library.push_back(*ReadScriptHeader("pelto.big\r\nb\r\n1\r\nBig\r\nA big page\r\nTest"
                                           "\r\n0\r\n3\r\nHead,head.txt,,1,0\r\nBody_Top,top.txt,"
                                           ",1,0\r\nBody_End,end.txt,,1,0\r\n",
                                           "big.hdr"));
    const std::string& page = FiftyMegabytePage();
    for (auto _ : state) {
        auto attached = AttachToText(ws, 1, page, "big.htm");
        if (!attached.ok()) {
            state.SkipWithError(attached.error().text().c_str());
            break;
        }
    }
    std::error_code ec;
    std::filesystem::remove_all(home, ec);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_AttachToAFiftyMegabytePage)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
