#include "cli/commands.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <unistd.h>

namespace fs = std::filesystem;

namespace pelto::cli {

int Report(int code, const std::string& message) {
    std::fprintf(stderr, "pelto-cli: %s\n", message.c_str());
    return code;
}

} // namespace pelto::cli

namespace {

const char kUsageText[] =
    "usage: pelto-cli [--home DIR] list\n"
    "       pelto-cli [--home DIR] params SCRIPTID\n"
    "       pelto-cli [--home DIR] apply SCRIPTID PAGE... [--recursive DIR [--glob PATTERN]...]\n"
    "                 [--jobs N] [--values FILE]... [--set NAME=VALUE]... [--repeat N]\n"
    "                 [--mode preview|copy|overwrite] [--yes] [--replace [--which N]]\n"
    "                 [--] [PAGE...]\n"
    "       pelto-cli [--home DIR] effects PAGE...\n"
    "       pelto-cli [--home DIR] remove SCRIPTID PAGE... [--recursive DIR [--glob PATTERN]...]\n"
    "                 [--jobs N] [--which N] [--] [PAGE...]\n"
    "       pelto-cli [--home DIR] history\n"
    "       pelto-cli [--home DIR] undo [ID] [--force]\n"
    "  (\"--\" ends the options: every argument after it is a page or an id, also one\n"
    "   that begins with \"-\")\n"
    "       pelto-cli scramble IN OUT\n"
    "       pelto-cli --help | --version\n";

} // namespace

int main(int argc, char** argv) {
    using namespace pelto::cli;
    using Command = int (*)(const Context&, const std::vector<std::string>&);
    const std::map<std::string, Command> commands = {
        {"apply", RunApply},     {"history", RunHistory}, {"undo", RunUndo},
        {"list", RunList},       {"params", RunParams},   {"scramble", RunScramble},
        {"effects", RunEffects}, {"remove", RunRemove},
    };
    Context ctx;
    ctx.folders = pelto::FindProgramFolders(pelto::RunningExecutableFolder(argv[0]));
    int i = 1;
    while (i < argc && std::strncmp(argv[i], "--", 2) == 0) {
        if (std::strcmp(argv[i], "--") == 0) { // the end of the options: a command follows
            ++i;
            break;
        }
        if (std::strcmp(argv[i], "--home") == 0 && i + 1 < argc) {
            std::error_code ec;
            ctx.folders = pelto::PortableFolders(fs::absolute(argv[i + 1], ec));
            i += 2;
        } else if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(kUsageText, stdout);
            return kOk;
        } else if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("pelto-cli %d.%d.%d\n", PELTO_VERSION_MAJOR, PELTO_VERSION_MINOR,
                        PELTO_VERSION_PATCH);
            return kOk;
        } else {
            std::fputs(kUsageText, stderr);
            return kUsage;
        }
    }
    ctx.home = ctx.folders.readOnlyDir;
    if (i >= argc) {
        std::fputs(kUsageText, stderr);
        return kUsage;
    }
    auto it = commands.find(argv[i]);
    if (it == commands.end()) {
        std::fprintf(stderr, "pelto-cli: unknown command \"%s\"\n", argv[i]);
        std::fputs(kUsageText, stderr);
        return kUsage;
    }
    std::vector<std::string> args(argv + i + 1, argv + argc);
    return it->second(ctx, args);
}
