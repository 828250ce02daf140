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

CliRun RunCli(const std::vector<std::string>& args);

} // namespace pelto::test
