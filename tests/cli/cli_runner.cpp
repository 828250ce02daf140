#include "cli_runner.h"

#include "support/test_support.h"

#include <cstdlib>
#include <sys/wait.h>

namespace pelto::test {

namespace {

std::string Quote(const std::string& s) {
    std::string out = "'";
    for (char c : s) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    return out + "'";
}

} // namespace

CliRun RunCli(const std::vector<std::string>& args, const std::string& folder) {
    TempFolder capture;
    const fs::path out = capture.path() / "out";
    const fs::path err = capture.path() / "err";
    std::string command = folder.empty() ? "" : "cd " + Quote(folder) + " && ";
    command += Quote(PELTO_CLI);
    for (const std::string& a : args)
        command += " " + Quote(a);
    command += " >" + Quote(out.string()) + " 2>" + Quote(err.string());
    int status = std::system(command.c_str());
    CliRun run;
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadAll(out);
    run.err = ReadAll(err);
    return run;
}

} // namespace pelto::test
