#pragma once
// The "Do it" pipeline shared by the apply dialog and pelto-cli apply: empty the output
// folder, attach the current script to ws.SampleFile, expand every text file of the
// output folder, then preview, copy beside the page, or overwrite it. The caller opens
// the returned page in the browser; the core never starts one.
#include "common/result.h"
#include "library/workspace.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace pelto {

enum class OutputOption { Copy, Overwrite, Preview };

struct DoItRequest {
    OutputOption option = OutputOption::Preview;
    int16_t repeat = 0; // ScriptRepeat, 0..25
    // Asked before the user's page is overwritten; false leaves it untouched.
    std::function<bool()> confirmOverwrite;
    // Where the run writes its files; empty means the program's output folder. The live
    // preview of the parameter page builds into a folder of its own this way.
    std::filesystem::path folder;
};

struct DoItOutcome {
    bool overwriteDeclined = false; // the result stays in the output folder only
    std::string pageToOpen;         // full path of the page to show; empty when declined
};

Result<DoItOutcome> DoIt(Workspace& ws, const DoItRequest& request);

} // namespace pelto
