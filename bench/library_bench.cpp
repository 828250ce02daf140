// Loading a library of 1,000 scripts, side by side with the raw pass it cannot beat:
// reading the same files and XOR-ing their bytes.
#include "common/files.h"
#include "common/scramble.h"
#include "library/library_loader.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace pelto;

namespace {

struct GeneratedLibrary {
    fs::path home;
    std::vector<fs::path> headers;

    GeneratedLibrary() {
        home = fs::temp_directory_path() / ("pelto-bench-lib-" + std::to_string(::getpid()));
        fs::create_directories(home / "data");
        for (int i = 0; i < 1000; ++i) {
            std::string id = "bench.script" + std::to_string(i);
            std::string text = id + "\r\npB\r\n1000\r\nScript " + std::to_string(i) +
                               "\r\nA generated script for the benchmark\r\nCategory " +
                               std::to_string(i % 9) + "\r\n0\r\n6\r\n";
            const char* locations[] = {"Head",     "Body_Top",       "Body_End",
                                       "External", "Onload_Handler", "Location"};
            for (int k = 0; k < 6; ++k)
                text += std::string(locations[k]) + "," + id + "_" + std::to_string(k) +
                        ".txt,ext" + std::to_string(k) + ".js,1," + std::to_string(k % 2) + "\r\n";
            DescrambleBytes(text);
            fs::path p = home / "data" / (id + ".hdr");
            (void)WriteFileBytes(p, text);
            headers.push_back(p);
        }
    }
    ~GeneratedLibrary() {
        std::error_code ec;
        fs::remove_all(home, ec);
    }
};

GeneratedLibrary& Library() {
    static GeneratedLibrary lib;
    return lib;
}

void BM_LoadScriptLibrary(benchmark::State& state) {
    auto& lib = Library();
    for (auto _ : state) {
        Workspace ws;
        ws.ProgramFolder = lib.home;
        auto report = LoadScriptLibrary(ws);
        BuildCategoryList(ws);
        benchmark::DoNotOptimize(ws.Library.size());
        if (ws.Library.size() != 1001)
            state.SkipWithError("library did not load");
    }
}
BENCHMARK(BM_LoadScriptLibrary)->Unit(benchmark::kMillisecond);

void BM_ReadAndXorSameFiles(benchmark::State& state) {
    auto& lib = Library();
    for (auto _ : state) {
        size_t total = 0;
        for (const auto& p : lib.headers) {
            auto bytes = ReadScrambledFile(p);
            total += bytes->size();
        }
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_ReadAndXorSameFiles)->Unit(benchmark::kMillisecond);

} // namespace
