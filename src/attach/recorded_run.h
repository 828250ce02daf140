#pragma once
// "Do it" with its safety around it, for the windows and pelto-cli alike: the output
// folder is locked for the run (two runs never mix their files), and every file the run
// writes into the user's folder is recorded first, so the change can be undone.
#include "attach/do_it.h"
#include "common/file_lock.h"
#include "common/result.h"
#include "library/workspace.h"

#include <filesystem>
#include <functional>
#include <string>

namespace pelto {

// Where the change records live: beside the templates.
std::filesystem::path ChangeRecordsFolder(const Workspace& ws);

// The lock file of the output folder (beside it, so emptying the folder keeps it).
std::filesystem::path OutputLockFile(const std::filesystem::path& outputFolder);

// "copy", "overwrite" or "preview".
std::string OptionName(OutputOption option);

struct RecordedOutcome {
    DoItOutcome outcome;
    std::string changeId; // empty when nothing was written into the user's folder
};

// Runs DoIt on the program's output folder under its lock. With Wait::No a run that holds
// the lock is an error that names it; with Wait::Yes this waits (calling waiting once).
// The page's folder is always waited for (another run or an undo holds it only while it
// writes there), calling request.waiting, or else waiting, once. The change is marked
// complete only when the run wrote everything it recorded.
Result<RecordedOutcome> DoItRecorded(Workspace& ws, DoItRequest request, FileLock::Wait wait,
                                     const std::function<void(const std::string&)>& waiting = {});

} // namespace pelto
