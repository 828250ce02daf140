// list, params and scramble: reading the library without changing anything.
#include "cli/commands.h"
#include "cli/session.h"
#include "cli/terminal_text.h"
#include "common/files.h"
#include "common/scramble.h"
#include "library/lookup.h"

#include <cstdio>

namespace pelto::cli {

int RunList(const Context& ctx, const std::vector<std::string>& args) {
    if (!args.empty())
        return Report(kUsage, "list takes no arguments");
    Workspace ws;
    if (int code = OpenLibrary(ctx, ws); code != kOk)
        return code;
    for (size_t i = 1; i < ws.Library.size(); ++i) {
        const ScriptRecord& r = ws.Library[i];
        std::printf("%zu\t%s\t%s\t%s\n", i, ToTerminal(r.ScriptId).c_str(),
                    ToTerminal(r.Category).c_str(), ToTerminal(r.Name).c_str());
    }
    return kOk;
}

int RunParams(const Context& ctx, const std::vector<std::string>& args) {
    if (args.size() != 1)
        return Report(kUsage, "params takes one SCRIPTID");
    Workspace ws;
    if (int code = OpenLibraryFor(ctx, ws, args[0]); code != kOk)
        return code;
    if (int code = OpenScript(ws, args[0]); code != kOk)
        return code;
    auto entries = FillParameterList(ws);
    for (size_t p = 0; p < entries.size(); ++p)
        std::printf("%zu\t%d\t%s\n", p, entries[p].itemNumber, ToTerminal(entries[p].text).c_str());
    return kOk;
}

int RunScramble(const Context&, const std::vector<std::string>& args) {
    if (args.size() != 2)
        return Report(kUsage, "scramble takes IN and OUT");
    if (Status st = DescrambleFile(args[0], args[1]); !st)
        return Report(kFailure, st.error().text());
    return kOk;
}

} // namespace pelto::cli
