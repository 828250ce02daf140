#include "harness/harness.h"

namespace pelto::fuzz {

const std::vector<HarnessEntry>& Harnesses() {
    static const std::vector<HarnessEntry> all = {
        {"header", RunHeader, 1 << 16},
        {"definition", RunDefinition, 1 << 16},
        {"links", RunLinks, 1 << 17},
        {"numbers", RunNumbers, 256},
    };
    return all;
}

const HarnessEntry* FindHarness(std::string_view name) {
    for (const auto& h : Harnesses())
        if (name == h.name)
            return &h;
    return nullptr;
}

std::string RunHarness(const HarnessEntry& entry, std::string_view input) {
    if (input.size() > entry.maxInput)
        return {};
    return entry.run(input);
}

} // namespace pelto::fuzz
