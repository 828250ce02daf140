#pragma once
// apply over many pages: the pages given and those found under --recursive folders.
#include "attach/batch_apply.h"
#include "attach/do_it.h"
#include "library/workspace.h"

#include <string>
#include <vector>

namespace pelto::cli {

struct BatchArgs {
    std::vector<std::string> pages;
    std::vector<std::string> folders;  // --recursive
    std::vector<std::string> patterns; // --glob; default *.htm and *.html
    unsigned jobs = 0;                 // 0: the number of processors
};

// The pages given and those found under the folders (Pelto's own folders left out; with
// leaveOutCopies, the "_1" copies of pages found). An error when none is left.
Result<std::vector<std::string>> BatchPages(const Workspace& ws, const BatchArgs& args,
                                            bool leaveOutCopies);

// Prints one line per page and a summary ("done" is the word for a page that worked);
// returns exit code 1 when any page failed or was not run.
int PrintBatchOutcome(const BatchOutcome& outcome, const std::string& done,
                      const std::string& notRun);

// Applies the current effect of ws to every page; prints one line per page and a summary.
// Exit code 1 when any page failed. startFrom, when set, makes each page's starting text
// (a replace).
int RunBatch(const Workspace& ws, const BatchArgs& args, OutputOption mode, int16_t repeat,
             bool yes, decltype(BatchRequest::startFrom) startFrom = {});

} // namespace pelto::cli
