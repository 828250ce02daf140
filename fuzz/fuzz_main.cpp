// One libFuzzer target: PELTO_FUZZ_TARGET names the harness it runs. A broken rule is
// reported and aborts the run, so libFuzzer keeps the input as a crash.
#include "harness/harness.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const pelto::fuzz::HarnessEntry* entry = pelto::fuzz::FindHarness(PELTO_FUZZ_TARGET);
    if (!entry) {
        std::fprintf(stderr, "no harness named %s\n", PELTO_FUZZ_TARGET);
        std::abort();
    }
    const std::string broken = pelto::fuzz::RunHarness(
        *entry, std::string_view(reinterpret_cast<const char*>(data), size));
    if (!broken.empty()) {
        std::fprintf(stderr, "%s: %s\n", PELTO_FUZZ_TARGET, broken.c_str());
        std::abort();
    }
    return 0;
}
