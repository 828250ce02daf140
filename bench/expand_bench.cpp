// ExpandLine on long lines with many placeholders, side by side with a plain copy of
// the same bytes. The Complexity fit shows whether the time grows linearly.
#include "expansion/placeholder.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using pelto::Workspace;

Workspace MakeWorkspace() {
    Workspace ws;
    auto& p = ws.Params;
    p.ParameterCount = 2;
    p.KindCount[pelto::Int] = 1;
    p.IntParameters[1].Name = "Speed";
    p.IntParameters[1].Value = 42;
    p.KindCount[pelto::Text] = 1;
    p.TextParameters[1].Name = "Title";
    p.TextParameters[1].Value = "t\xAESpeed,INTVALUE\xAF"; // a value expanded in turn
    return ws;
}

// About bytes long with `placeholders` placeholders spread evenly.
std::string MakeLine(size_t bytes, size_t placeholders, const std::string& placeholder) {
    const size_t gap = bytes / placeholders - placeholder.size();
    std::string line;
    line.reserve(bytes + 64);
    for (size_t i = 0; i < placeholders; ++i) {
        line.append(gap, 'x');
        line += placeholder;
    }
    return line;
}

const std::string kIntPlaceholder = "\xAESpeed,INTVALUE\xAF";
const std::string kTextPlaceholder = "\xAETitle,TEXTVALUE\xAF";

void BM_ExpandLine(benchmark::State& state) {
    Workspace ws = MakeWorkspace();
    const size_t bytes = static_cast<size_t>(state.range(0));
    const std::string line = MakeLine(bytes, bytes / 100, kIntPlaceholder);
    for (auto _ : state)
        benchmark::DoNotOptimize(pelto::ExpandLine(ws, line));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * line.size()));
    state.SetComplexityN(static_cast<int64_t>(line.size()));
}
// 10,000 placeholders per MB.
BENCHMARK(BM_ExpandLine)->RangeMultiplier(4)->Range(1 << 18, 1 << 22)->Complexity(benchmark::oN);

void BM_ExpandLineRescanning(benchmark::State& state) {
    Workspace ws = MakeWorkspace();
    const size_t bytes = static_cast<size_t>(state.range(0));
    const std::string line = MakeLine(bytes, bytes / 100, kTextPlaceholder);
    for (auto _ : state)
        benchmark::DoNotOptimize(pelto::ExpandLine(ws, line));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * line.size()));
    state.SetComplexityN(static_cast<int64_t>(line.size()));
}
BENCHMARK(BM_ExpandLineRescanning)
    ->RangeMultiplier(4)
    ->Range(1 << 18, 1 << 22)
    ->Complexity(benchmark::oN);

void BM_CopyLine(benchmark::State& state) {
    const size_t bytes = static_cast<size_t>(state.range(0));
    const std::string line = MakeLine(bytes, bytes / 100, kIntPlaceholder);
    for (auto _ : state) {
        std::string copy = line;
        benchmark::DoNotOptimize(copy.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * line.size()));
}
BENCHMARK(BM_CopyLine)->RangeMultiplier(4)->Range(1 << 18, 1 << 22);

} // namespace
