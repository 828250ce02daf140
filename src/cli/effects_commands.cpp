// effects and remove: the effects Pelto put on pages, and taking one of them out again.
#include "attach/applied_effects.h"
#include "cli/batch_command.h"
#include "cli/commands.h"
#include "cli/terminal_text.h"
#include "common/files.h"
#include "common/numbers.h"
#include "library/workspace.h"

#include <cstdio>
#include <thread>

namespace fs = std::filesystem;

namespace pelto::cli {

namespace {

Workspace FoldersOnly(const Context& ctx) {
    Workspace ws;
    ws.UseFolders(ctx.folders);
    return ws;
}

std::string Indented(const std::string& text, const std::string& indent) {
    std::string out;
    for (const std::string& line : SplitLines(text))
        out += indent + line + "\n";
    return out;
}

} // namespace

int RunEffects(const Context& ctx, const std::vector<std::string>& args) {
    std::vector<std::string> pages;
    bool optionsEnded = false;
    for (const std::string& a : args) {
        if (!optionsEnded && a == "--")
            optionsEnded = true;
        else if (!optionsEnded && a.size() > 1 && a[0] == '-' && a[1] == '-')
            return Report(kUsage, "unknown option \"" + a + "\"");
        else
            pages.push_back(a);
    }
    if (pages.empty())
        return Report(kUsage, "effects takes one or more PAGEs");
    const Workspace ws = FoldersOnly(ctx);
    int code = kOk;
    for (const std::string& typed : pages) {
        std::error_code ec;
        const fs::path page = fs::canonical(fs::absolute(typed, ec), ec);
        if (ec) {
            code = Report(kFailure, typed + ": is not a file that can be read");
            continue;
        }
        Result<std::string> bytes = ReadFileBytes(page);
        if (!bytes) {
            code = Report(kFailure, bytes.error().text());
            continue;
        }
        Result<std::vector<EffectOnPage>> effects =
            EffectsOnPage(AppliedRecordsFolder(ws), PathText(page), *bytes);
        if (!effects) {
            code = Report(kFailure, effects.error().text());
            continue;
        }
        std::printf("%s\n", PathText(page).c_str());
        if (effects->empty())
            std::printf("  no effect: the page's first lines name none that Pelto put on it\n");
        int n = 0;
        for (const EffectOnPage& e : *effects) {
            std::string head = "  " + std::to_string(++n) + ". " + e.scriptId;
            if (e.record) {
                if (!e.record->effectName.empty())
                    head += " \"" + e.record->effectName + "\"";
                head += ", applied " + e.record->time + " (change " + e.record->changeId + ")";
            }
            if (e.number > 1)
                head += ", application " + std::to_string(e.number) +
                        " of it counted from the "
                        "newest";
            std::printf("%s\n", ToTerminal(head).c_str());
            if (e.why.empty())
                std::printf("     can be taken out: pelto-cli remove %s %s%s\n", e.scriptId.c_str(),
                            PathText(page).c_str(),
                            e.number > 1 ? (" --which " + std::to_string(e.number)).c_str() : "");
            else
                std::printf("     cannot be taken out now: %s\n", ToTerminal(e.why).c_str());
            if (e.record && !e.record->values.empty())
                std::printf("     values:\n%s",
                            ToTerminal(Indented(e.record->values, "       ")).c_str());
        }
    }
    return code;
}

int RunRemove(const Context& ctx, const std::vector<std::string>& args) {
    std::vector<std::string> positional;
    BatchArgs batch;
    int which = 1;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded) {
            positional.push_back(a);
            continue;
        }
        auto next = [&](std::string& value) {
            if (i + 1 >= args.size())
                return false;
            value = args[++i];
            return true;
        };
        std::string value;
        if (a == "--") {
            optionsEnded = true;
        } else if (a == "--recursive") {
            if (!next(value))
                return Report(kUsage, "--recursive needs a folder");
            batch.folders.push_back(value);
        } else if (a == "--glob") {
            if (!next(value))
                return Report(kUsage, "--glob needs a pattern");
            batch.patterns.push_back(value);
        } else if (a == "--jobs" || a == "--which") {
            auto n = next(value) ? ParseNumber(value) : std::nullopt;
            const int most = a == "--jobs" ? 256 : 26;
            if (!n || *n != static_cast<int>(*n) || *n < 1 || *n > most)
                return Report(kUsage, a + " needs a whole number from 1 to " +
                                          std::to_string(most) + ", not \"" + value + "\"");
            if (a == "--jobs")
                batch.jobs = static_cast<unsigned>(*n);
            else
                which = static_cast<int>(*n);
        } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
            return Report(kUsage, "unknown option \"" + a + "\"");
        } else {
            positional.push_back(a);
        }
    }
    if (!batch.patterns.empty() && batch.folders.empty())
        return Report(kUsage, "--glob goes with --recursive DIR");
    if (positional.empty() || (positional.size() < 2 && batch.folders.empty()))
        return Report(kUsage, "remove takes SCRIPTID and PAGE (or several pages, or "
                              "--recursive DIR)");
    const Workspace ws = FoldersOnly(ctx);
    batch.pages.assign(positional.begin() + 1, positional.end());
    Result<std::vector<std::string>> pages = BatchPages(ws, batch, false);
    if (!pages)
        return Report(kFailure, pages.error().text() + "; nothing was taken out");
    RemoveRequest request;
    request.scriptId = positional[0];
    request.which = which;
    request.jobs = batch.jobs != 0 ? batch.jobs : std::max(1u, std::thread::hardware_concurrency());
    request.waiting = [](const std::string& note) { Report(kOk, note); };
    Result<BatchOutcome> outcome = RemoveFromPages(ws, *pages, request);
    if (!outcome)
        return Report(kFailure, outcome.error().text());
    return PrintBatchOutcome(*outcome, "taken out", "not taken out");
}

} // namespace pelto::cli
