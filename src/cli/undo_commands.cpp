// history and undo: the changes Pelto made to the user's folders, and taking one back.
#include "attach/recorded_run.h"
#include "cli/commands.h"
#include "library/workspace.h"
#include "undo/undo_store.h"

#include <cstdio>

namespace pelto::cli {

namespace {

UndoStore StoreOf(const Context& ctx) {
    Workspace ws;
    ws.ProgramFolder = ctx.home;
    return UndoStore(ChangeRecordsFolder(ws));
}

std::string Joined(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items)
        text += (text.empty() ? "" : ", ") + item;
    return text;
}

} // namespace

int RunHistory(const Context& ctx, const std::vector<std::string>& args) {
    if (!args.empty())
        return Report(kUsage, "history takes no arguments");
    Result<std::vector<ChangeInfo>> changes = StoreOf(ctx).History();
    if (!changes)
        return Report(kFailure, changes.error().text());
    for (const ChangeInfo& c : *changes) {
        std::string state = !c.damaged.empty() ? " (damaged: " + c.damaged + ")"
                            : c.active         ? " (still running)"
                            : c.complete       ? ""
                                               : " (cut short)";
        std::printf("%s\t%s\t%s\t%s\t%s%s\n", c.id.c_str(), c.time.c_str(), c.scriptId.c_str(),
                    c.option.c_str(), Joined(c.pages).c_str(), state.c_str());
    }
    return kOk;
}

int RunUndo(const Context& ctx, const std::vector<std::string>& args) {
    std::string id;
    bool force = false;
    bool optionsEnded = false;
    for (const std::string& a : args) {
        if (!optionsEnded && a == "--")
            optionsEnded = true;
        else if (optionsEnded && id.empty())
            id = a;
        else if (optionsEnded)
            return Report(kUsage, "undo takes at most one change id");
        else if (a == "--force")
            force = true;
        else if (a.size() > 1 && a[0] == '-' && a[1] == '-')
            return Report(kUsage, "unknown option \"" + a + "\"");
        else if (id.empty())
            id = a;
        else
            return Report(kUsage, "undo takes at most one change id");
    }
    UndoStore store = StoreOf(ctx);
    Result<UndoOutcome> outcome =
        store.Undo(id, force, [](const std::string& note) { Report(kOk, note); });
    if (!outcome)
        return Report(kFailure, outcome.error().text());
    if (!outcome->undone) {
        for (const std::string& file : outcome->changedSince)
            Report(kFailure,
                   file + ": was changed after change " + outcome->id +
                       " was made (by you, another program or a later change); nothing was "
                       "undone (give --force to put the bytes from before the change back "
                       "anyway)");
        return kFailure;
    }
    for (const std::string& file : outcome->restored)
        std::printf("restored: %s\n", file.c_str());
    for (const std::string& file : outcome->removed)
        std::printf("removed: %s\n", file.c_str());
    std::printf("undid change %s (%s)\n", outcome->id.c_str(), Joined(outcome->pages).c_str());
    return kOk;
}

} // namespace pelto::cli
