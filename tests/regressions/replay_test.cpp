// Every seed and every input a fuzz run once failed on goes through its harness again:
// no crash, no sanitizer report, and every rule the harness checks holds.
#include "harness/harness.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace pelto {
namespace {

namespace fs = std::filesystem;

struct Replay {
    std::string target;
    fs::path file;
};

void PrintTo(const Replay& r, std::ostream* os) {
    *os << r.target << " " << r.file;
}

std::vector<Replay> Inputs() {
    std::vector<Replay> all;
    for (const char* root : {PELTO_REGRESSION_INPUTS, PELTO_FUZZ_CORPUS}) {
        for (const auto& h : fuzz::Harnesses()) {
            std::error_code ec;
            for (fs::directory_iterator it(fs::path(root) / h.name, ec), end; !ec && it != end;
                 it.increment(ec))
                if (it->is_regular_file())
                    all.push_back({h.name, it->path()});
        }
    }
    std::sort(all.begin(), all.end(),
              [](const Replay& a, const Replay& b) { return a.file < b.file; });
    return all;
}

class ReplayInput : public ::testing::TestWithParam<Replay> {};

TEST_P(ReplayInput, KeepsEveryRuleOfItsHarness) {
    const Replay& r = GetParam();
    const fuzz::HarnessEntry* h = fuzz::FindHarness(r.target);
    ASSERT_NE(h, nullptr);
    const std::string bytes = test::ReadAll(r.file);
    ASSERT_LE(bytes.size(), h->maxInput) << r.file << " is longer than its target reads";
    EXPECT_EQ(fuzz::RunHarness(*h, bytes), "") << r.file;
}

INSTANTIATE_TEST_SUITE_P(Inputs, ReplayInput, ::testing::ValuesIn(Inputs()), [](const auto& info) {
    std::string n = info.param.target + "_" +
                    fs::path(info.param.file).parent_path().parent_path().filename().string() +
                    "_" + info.param.file.filename().string();
    for (char& c : n)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return n;
});

TEST(ReplayInputs, EveryTargetHasSeeds) {
    for (const auto& h : fuzz::Harnesses()) {
        std::error_code ec;
        EXPECT_FALSE(fs::is_empty(fs::path(PELTO_FUZZ_CORPUS) / h.name, ec) || ec)
            << "no seeds for " << h.name;
    }
}

} // namespace
} // namespace pelto
