#pragma once
// pelto-cli: the core without windows. Each command gets the program folder and its own
// arguments and returns the exit code: 0 success, 1 failure (one line on stderr naming
// the file and line), 2 usage error.
#include "common/program_folders.h"

#include <filesystem>
#include <string>
#include <vector>

namespace pelto::cli {

struct Context {
    ProgramFolders folders;     // where the library is read and results are written
    std::filesystem::path home; // the program folder with the library (folders.readOnlyDir)
};

constexpr int kOk = 0;
constexpr int kFailure = 1;
constexpr int kUsage = 2;

int RunList(const Context& ctx, const std::vector<std::string>& args);
int RunParams(const Context& ctx, const std::vector<std::string>& args);
int RunScramble(const Context& ctx, const std::vector<std::string>& args);
int RunApply(const Context& ctx, const std::vector<std::string>& args);
int RunHistory(const Context& ctx, const std::vector<std::string>& args);
int RunUndo(const Context& ctx, const std::vector<std::string>& args);
int RunEffects(const Context& ctx, const std::vector<std::string>& args);
int RunRemove(const Context& ctx, const std::vector<std::string>& args);

// Prints "pelto-cli: MESSAGE" on stderr and returns the code.
int Report(int code, const std::string& message);

} // namespace pelto::cli
