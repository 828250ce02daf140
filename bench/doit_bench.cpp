// "Do it" (copy option) on a 1 MB page with 20 items, side by side with copying the
// page and the effect's files with the file system.
#include "attach/do_it.h"
#include "common/files.h"
#include "common/scramble.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using namespace pelto;

const char kOnloadMarker[] = "/* next onload handler code goes here, 89ui24809450u23hflkjwekkjd934 "
                             "do not change this line in any case */";

struct Fixture {
    fs::path home;
    fs::path page;
    Workspace ws;

    Fixture() {
        home = fs::temp_directory_path() / ("pelto-bench-" + std::to_string(::getpid()));
        fs::remove_all(home);
        for (const char* sub : {"data", "output", "userdata", "site"})
            fs::create_directories(home / sub);
        ws.ProgramFolder = home;
        ws.OnloadHandlerText = std::string("<script>\r\n") + kOnloadMarker + "\r\n</script>";

        ScriptRecord r;
        r.ScriptId = "bench";
        r.Name = "Bench";
        r.IdPrefix = "b";
        r.IdStride = 100;
        const char* locations[] = {"Head", "Body_End", "Body_Top", "Onload_Handler", "External"};
        std::string code;
        for (int line = 0; line < 20; ++line)
            code += "var v" + std::to_string(line) +
                    " = \xAEVar,item\xAF + \xAE"
                    "App,SCRIPTREPEAT\xAF;\r\n";
        for (int i = 1; i <= 20; ++i) {
            const std::string location = locations[(i - 1) % 5];
            const std::string file = "item" + std::to_string(i) + ".dat";
            std::string bytes =
                location == "External" ? std::string(16 * 1024, 'e') + "\r\n" + code : code;
            DescrambleBytes(bytes);
            (void)WriteFileBytes(home / "data" / file, bytes);
            r.ItemLocation.push_back(location);
            r.ItemCodeFile.push_back(file);
            r.ItemExternalName.push_back(location == "External" ? "ext" + std::to_string(i) + ".js"
                                                                : "");
            r.ItemInclude.push_back(1);
            r.ItemOnce.push_back(0);
        }
        r.ItemCount = "20";
        ws.Library.push_back(r);
        ws.CurrentScriptIndex = 1;

        // 1 MB of ordinary markup lines.
        std::string text =
            "<html>\r\n<head>\r\n<title>Bench</title>\r\n</head>\r\n<body class=\"b\">\r\n";
        while (text.size() < (1u << 20))
            text += "<p>Some <b>ordinary</b> text of a page, with a <a "
                    "href=\"x.htm\">link</a>.</p>\r\n";
        text += "</body>\r\n</html>\r\n";
        page = home / "site" / "index.htm";
        (void)WriteFileBytes(page, text);
        ws.SampleFile = page.string();
    }
    ~Fixture() { fs::remove_all(home); }
};

void BM_DoItCopy(benchmark::State& state) {
    Fixture f;
    DoItRequest request;
    request.option = OutputOption::Copy;
    for (auto _ : state) {
        f.ws.IntSequence = 1;
        auto outcome = DoIt(f.ws, request);
        if (!outcome.ok())
            state.SkipWithError(outcome.error().text().c_str());
    }
}
BENCHMARK(BM_DoItCopy)->Unit(benchmark::kMillisecond);

// The same bytes moved by plain file copies: the page to its copy, and the output
// folder's files beside the page.
void BM_CopyPageAndFiles(benchmark::State& state) {
    Fixture f;
    DoItRequest request;
    request.option = OutputOption::Preview;
    (void)DoIt(f.ws, request); // fills the output folder once
    std::vector<fs::path> outputs;
    for (auto& e : fs::directory_iterator(f.home / "output"))
        if (e.path().filename() != "result.htm")
            outputs.push_back(e.path());
    for (auto _ : state) {
        fs::copy_file(f.page, f.home / "site" / "index_1.htm",
                      fs::copy_options::overwrite_existing);
        for (const fs::path& o : outputs)
            fs::copy_file(o, f.home / "site" / o.filename(), fs::copy_options::overwrite_existing);
    }
}
BENCHMARK(BM_CopyPageAndFiles)->Unit(benchmark::kMillisecond);

} // namespace

namespace {

// The same copies through the core's own whole-file read and write.
void BM_CopyPageAndFilesAsBytes(benchmark::State& state) {
    Fixture f;
    DoItRequest request;
    request.option = OutputOption::Preview;
    (void)DoIt(f.ws, request);
    std::vector<fs::path> outputs;
    for (auto& e : fs::directory_iterator(f.home / "output"))
        if (e.path().filename() != "result.htm")
            outputs.push_back(e.path());
    for (auto _ : state) {
        (void)WriteFileBytes(f.home / "site" / "index_1.htm", *ReadFileBytes(f.page));
        for (const fs::path& o : outputs)
            (void)WriteFileBytes(f.home / "site" / o.filename(), *ReadFileBytes(o));
    }
}
BENCHMARK(BM_CopyPageAndFilesAsBytes)->Unit(benchmark::kMillisecond);

} // namespace
