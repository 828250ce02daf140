#pragma once
// apply over many pages: the pages given and those found under --recursive folders.
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

// Applies the current effect of ws to every page; prints one line per page and a summary.
// Exit code 1 when any page failed.
int RunBatch(const Workspace& ws, const BatchArgs& args, OutputOption mode, int16_t repeat,
             bool yes);

} // namespace pelto::cli
