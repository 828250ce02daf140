#include "cli/session.h"

#include "common/files.h"
#include "library/definition_reader.h"
#include "library/library_loader.h"

#include <cstdio>

namespace pelto::cli {

namespace {

int Open(const Context& ctx, Workspace& ws, const std::string* upTo) {
    ws.UseFolders(ctx.folders);
    if (Status st = PrepareUserFolder(ctx.folders); !st)
        std::fprintf(stderr, "pelto-cli: warning: %s\n", st.error().text().c_str());
    ResetParameterState(ws);
    if (Status st = LoadHandlerTexts(ws); !st)
        return Report(kFailure, st.error().text());
    if (ws.SampleFile.empty())
        ws.SampleFile = PathText(ws.DefaultSampleFile());
    LibraryLoadReport report = upTo ? LoadScriptLibraryUpTo(ws, *upTo) : LoadScriptLibrary(ws);
    if (!report.fatal)
        return Report(kFailure, report.fatal.error().text());
    for (const Error& e : report.skipped)
        std::fprintf(stderr, "pelto-cli: script left out: %s\n", e.text().c_str());
    BuildCategoryList(ws);
    return kOk;
}

} // namespace

int OpenLibrary(const Context& ctx, Workspace& ws) {
    return Open(ctx, ws, nullptr);
}

int OpenLibraryFor(const Context& ctx, Workspace& ws, const std::string& id) {
    return Open(ctx, ws, &id);
}

int OpenScript(Workspace& ws, const std::string& id) {
    for (size_t i = 1; i < ws.Library.size(); ++i) {
        if (ws.Library[i].ScriptId != id)
            continue;
        ws.CurrentScriptIndex = static_cast<int16_t>(i);
        ws.CurrentCategory = ws.Library[i].Category;
        ws.CurrentParameterFile = ws.Library[i].ParameterFile;
        std::vector<Error> warnings;
        Status st = LoadScriptDefinition(ws, ws.DataFolder() / ws.CurrentParameterFile, &warnings);
        for (const Error& w : warnings)
            std::fprintf(stderr, "pelto-cli: warning: %s\n", w.text().c_str());
        if (!st)
            return Report(kFailure, st.error().text());
        return kOk;
    }
    return Report(kFailure, "no script has the identifier \"" + id + "\"");
}

} // namespace pelto::cli
