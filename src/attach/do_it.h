#pragma once
// The "Do it" pipeline shared by the apply dialog and pelto-cli apply: empty the output
// folder, attach the current script to ws.SampleFile, expand every text file of the
// output folder, then preview, copy beside the page, or overwrite it. The caller opens
// the returned page in the browser; the core never starts one.
#include "common/result.h"
#include "library/workspace.h"
#include "undo/pending_write.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace pelto {

enum class OutputOption { Copy, Overwrite, Preview };

struct DoItRequest {
    OutputOption option = OutputOption::Preview;
    int16_t repeat = 0; // ScriptRepeat, 0..25
    // Asked before the user's page is overwritten; false leaves it untouched.
    std::function<bool()> confirmOverwrite;
    // Where the run builds its files; empty: the program's output folder.
    std::filesystem::path outputArea;
    // Before writing into the user's folder: told every file about to be written there
    // (the change record); an error stops the run with nothing written.
    std::function<Status(const std::string& page, const std::vector<PendingWrite>& writes)>
        beforeWriting;
};

struct DoItOutcome {
    bool overwriteDeclined = false; // the result stays in the output folder only
    std::string pageToOpen;         // full path of the page to show; empty when declined
};

Result<DoItOutcome> DoIt(Workspace& ws, const DoItRequest& request);

} // namespace pelto
