#include "attach/recorded_run.h"

#include "attach/applied_effects.h"
#include "attach/batch_apply.h"
#include "undo/undo_store.h"

namespace pelto {

namespace fs = std::filesystem;

fs::path ChangeRecordsFolder(const Workspace& ws) {
    return ws.UserDataFolder() / "undo";
}

fs::path OutputLockFile(const fs::path& outputFolder) {
    fs::path lock = outputFolder.lexically_normal();
    if (!lock.has_filename())
        lock = lock.parent_path();
    lock += ".lock";
    return lock;
}

std::string OptionName(OutputOption option) {
    switch (option) {
    case OutputOption::Copy:
        return "copy";
    case OutputOption::Overwrite:
        return "overwrite";
    case OutputOption::Preview:
        break;
    }
    return "preview";
}

Result<RecordedOutcome> DoItRecorded(Workspace& ws, DoItRequest request, FileLock::Wait wait,
                                     const std::function<void(const std::string&)>& waiting) {
    const fs::path output = request.outputArea.empty() ? ws.OutputFolder() : request.outputArea;
    Result<FileLock> lock = FileLock::Take(OutputLockFile(output),
                                           "The output folder " + output.string(), wait, waiting);
    if (!lock)
        return lock.error();
    if (!request.waiting)
        request.waiting = waiting;
    RecordedOutcome recorded;
    // Under the output folder's lock: the areas of batches that were killed go.
    std::vector<std::string> notes = RemoveDeadBatchAreas(output);
    if (request.option == OutputOption::Preview) {
        // Nothing reaches the user's folder: there is nothing to record.
        Result<DoItOutcome> outcome = DoIt(ws, request);
        if (!outcome)
            return outcome.error();
        recorded.outcome = std::move(*outcome);
        recorded.outcome.notes.insert(recorded.outcome.notes.begin(), notes.begin(), notes.end());
        return recorded;
    }
    UndoStore store(ChangeRecordsFolder(ws));
    Result<std::unique_ptr<ChangeWriter>> writer = store.Begin(
        ws.CurrentScript().ScriptId, ws.CurrentScript().Name, OptionName(request.option));
    if (!writer)
        return writer.error();
    ChangeWriter* change = writer->get();
    request.beforeWriting = [change](const std::string& page,
                                     const std::vector<PendingWrite>& writes) {
        return change->Record(page, writes);
    };
    if (!request.recordPieces)
        request.recordPieces = PieceRecorder(ws, change->id());
    Result<DoItOutcome> outcome = DoIt(ws, request);
    Result<bool> kept = change->Finish(outcome.ok());
    if (!outcome)
        return outcome.error();
    if (!kept)
        return kept.error();
    recorded.outcome = std::move(*outcome);
    recorded.outcome.notes.insert(recorded.outcome.notes.begin(), notes.begin(), notes.end());
    if (*kept)
        recorded.changeId = change->id();
    return recorded;
}

} // namespace pelto
