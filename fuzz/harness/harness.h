#pragma once
// One entry point per reader, shared by the libFuzzer targets and by the regression
// tests that replay the seed corpus and every input a fuzz run once crashed on. Each
// entry runs its reader on one input and checks what must hold whatever the input; it
// returns an empty text when all held, else a description of the broken rule.
#include <string>
#include <string_view>
#include <vector>

namespace pelto::fuzz {

using Harness = std::string (*)(std::string_view input);

struct HarnessEntry {
    const char* name; // the fuzz target and the corpus folder are named after it
    Harness run;
    size_t maxInput; // longer inputs are ignored, so every run stays fast
};

// Every harness, in a fixed order.
const std::vector<HarnessEntry>& Harnesses();

// The entry of that name, or nullptr.
const HarnessEntry* FindHarness(std::string_view name);

// Runs the entry on the input when it is not too long.
std::string RunHarness(const HarnessEntry& entry, std::string_view input);

std::string RunHeader(std::string_view input);
std::string RunDefinition(std::string_view input);
std::string RunLinks(std::string_view input);
std::string RunNumbers(std::string_view input);
std::string RunExpand(std::string_view input);
std::string RunLinkAttributes(std::string_view input);
std::string RunAttach(std::string_view input);
std::string RunTemplate(std::string_view input);

} // namespace pelto::fuzz
