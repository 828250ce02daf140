#pragma once
// Runs the built pelto-cli and captures its exit code, stdout and stderr.
#include <string>
#include <vector>

namespace pelto::test {

struct CliRun {
    int code = -1;
    std::string out;
    std::string err;
};

// In folder, when one is given (a page named like an option is found there by name).
CliRun RunCli(const std::vector<std::string>& args, const std::string& folder = "");

} // namespace pelto::test
