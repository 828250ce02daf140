#pragma once
// One effect, with the same values, applied to many pages: every page is a "Do it" of its
// own, in its own output area (output/batch-N/K), so pages never share a file and may run
// in parallel with the same result as one after another. A page that fails is reported
// with its reason and the others go on. Everything written into the user's folders is
// one change for undo.
#include "attach/do_it.h"
#include "common/result.h"
#include "library/workspace.h"

#include <atomic>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace pelto {

struct BatchProgress {
    size_t finished = 0; // pages done or failed so far
    size_t total = 0;
    std::string page; // the page that starts or has just finished
    bool starting = false;
};

struct BatchRequest {
    OutputOption option = OutputOption::Preview;
    int16_t repeat = 0;
    bool overwriteConfirmed = false; // without it, overwrite leaves every page alone
    unsigned jobs = 1;               // pages worked on at once
    // Called one at a time, from the working threads.
    std::function<void(const BatchProgress&)> progress;
    const std::atomic<bool>* cancel = nullptr; // set to stop before the next page
    // Passed on to every page's run (see DoItRequest).
    std::function<void(const std::string& note)> waiting;
    std::function<void(const std::string& page)> afterRecording;
    std::function<Result<std::string>(Workspace& ws, const std::string& page,
                                      std::string_view bytes)>
        startFrom;
};

enum class PageState { Done, Failed, NotRun };

struct PageResult {
    std::string page;
    PageState state = PageState::NotRun;
    std::string message; // why it failed, or a note (not overwritten)
    std::string result;  // the page to look at
};

struct BatchOutcome {
    std::vector<PageResult> pages; // in the order given
    std::string changeId;          // empty when nothing was written into the user's folders
    std::string outputArea;        // the batch's area when results stay in it
    bool cancelled = false;
    size_t done = 0;
    size_t failed = 0;
    size_t notRun = 0;
    std::vector<std::string> notes; // leftovers of dead runs that were removed
};

// Applies the current effect of ws to every page. Pages are told apart by the file they
// are (device and inode), not by their path: a page named twice, or through a link, is
// done once. Errors are only those that stop the batch before its first page (the change
// record or the output area cannot be made). Output areas of batches whose process is
// gone are removed first, and the outcome's notes say so.
Result<BatchOutcome> ApplyToPages(const Workspace& ws, const std::vector<std::string>& pages,
                                  const BatchRequest& request);

// Removes the output areas (output/batch-PID-K) of batches whose process is gone, and
// gives a note for each.
std::vector<std::string> RemoveDeadBatchAreas(const std::filesystem::path& output);

// The pages under folder (and its subfolders) whose names match one of the patterns
// (shell wildcards, e.g. "*.htm", letter case ignored: INDEX.HTM and About.Html are
// pages), sorted. Folders in leaveOut are not entered, nor are links followed: a link to a
// folder or to a file is left out. Hidden folders and files (names starting with ".")
// below folder are left out unless includeHidden. With
// leaveOutCopies, a page that is the "_1" copy of another page found is left out, so a
// second copy run does not copy the copies.
Result<std::vector<std::string>> FindPages(const std::filesystem::path& folder,
                                           const std::vector<std::string>& patterns,
                                           const std::vector<std::filesystem::path>& leaveOut,
                                           bool leaveOutCopies, bool includeHidden = false);

} // namespace pelto
