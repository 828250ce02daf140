#pragma once
// The "Do it" pipeline shared by the apply dialog and pelto-cli apply: empty the output
// folder, attach the current script to ws.SampleFile, expand every text file of the
// output folder, then preview, copy beside the page, or overwrite it. The caller opens
// the returned page in the browser; the core never starts one.
//
// A page named through a symbolic link is the file the link points to (the link is
// followed on purpose, and stays). Every other file written beside the page that is a
// link is refused: nothing is written through it. Writing into the page's folder happens
// under the folder's lock (FileLock::TakeFolder), after a check that the page is still
// the file that was read: a page changed meanwhile by another run, an undo or another
// program is left as it is now, and the run fails saying so.
#include "attach/application_pieces.h"
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
    // Called once when another run or an undo holds the page's folder, before waiting.
    std::function<void(const std::string& note)> waiting;
    // Called after the files are recorded and before the first of them is replaced, with
    // the folder's lock held: lets a test start another run or an undo at that moment.
    std::function<void(const std::string& page)> afterRecording;
    // The text to attach to, made from the page's bytes as read (taking an earlier
    // application out, to apply it again); not set: the page as it is.
    // It may set the values and the repeat count (those of the application it takes out).
    std::function<Result<std::string>(Workspace& ws, const std::string& page,
                                      std::string_view bytes)>
        startFrom;
    // Before beforeWriting: told the page about to be written, the pieces the run put
    // into the text it attached to, and the files it copies beside the page; an error
    // stops the run with nothing written.
    std::function<Status(const std::string& page, const std::vector<InsertedPiece>& pieces,
                         const std::vector<std::string>& externals)>
        recordPieces;
};

// The largest page "Do it" reads.
inline constexpr uint64_t kMaxPageBytes = uint64_t{1} << 30;

struct DoItOutcome {
    bool overwriteDeclined = false; // the result stays in the output folder only
    std::string pageToOpen;         // full path of the page to show; empty when declined
    std::vector<std::string> notes; // what the run did besides (leftovers it removed)
};

Result<DoItOutcome> DoIt(Workspace& ws, const DoItRequest& request);

} // namespace pelto
