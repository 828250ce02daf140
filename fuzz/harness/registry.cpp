#include "harness/harness.h"

namespace pelto::fuzz {

const std::vector<HarnessEntry>& Harnesses() {
    // clang-format off
    static const std::vector<HarnessEntry> all = {
        {"header", RunHeader, 1 << 16},
        {"definition", RunDefinition, 1 << 16},
        {"links", RunLinks, 1 << 17},
        {"numbers", RunNumbers, 256},
        {"expand", RunExpand, 1 << 15},
        {"link_attributes", RunLinkAttributes, 1 << 15},
        {"attach", RunAttach, 1 << 14},
        {"template", RunTemplate, 1 << 15},
    };
    // clang-format on
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
