#include "cli/batch_command.h"

#include "attach/batch_apply.h"
#include "cli/commands.h"
#include "common/files.h"

#include <cstdio>
#include <thread>

namespace fs = std::filesystem;

namespace pelto::cli {

int RunBatch(const Workspace& ws, const BatchArgs& args, OutputOption mode, int16_t repeat,
             bool yes) {
    std::vector<std::string> pages = args.pages;
    const std::vector<std::string> patterns =
        args.patterns.empty() ? std::vector<std::string>{"*.htm", "*.html"} : args.patterns;
    for (const std::string& folder : args.folders) {
        // Pelto's own folders are never searched: the output folder holds results.
        Result<std::vector<std::string>> found = FindPages(
            folder, patterns, {ws.OutputFolder(), ws.UserDataFolder()}, mode == OutputOption::Copy);
        if (!found)
            return Report(kFailure, found.error().text());
        pages.insert(pages.end(), found->begin(), found->end());
    }
    if (pages.empty())
        return Report(kFailure, "no page matches; nothing was applied");

    BatchRequest request;
    request.option = mode;
    request.repeat = repeat;
    request.overwriteConfirmed = yes;
    request.waiting = [](const std::string& note) { Report(kOk, note); };
    request.jobs = args.jobs != 0 ? args.jobs : std::max(1u, std::thread::hardware_concurrency());
    Result<BatchOutcome> outcome = ApplyToPages(ws, pages, request);
    if (!outcome)
        return Report(kFailure, outcome.error().text());
    for (const std::string& note : outcome->notes)
        Report(kOk, note);
    for (const PageResult& r : outcome->pages) {
        if (r.state == PageState::Done)
            std::printf("done: %s -> %s%s\n", r.page.c_str(), r.result.c_str(),
                        r.message.empty() ? "" : " (not overwritten; give --yes to overwrite)");
        else
            Report(kFailure,
                   (r.state == PageState::Failed ? "failed: " : "") +
                       (r.message.find(r.page) == std::string::npos ? r.page + ": " + r.message
                                                                    : r.message));
    }
    std::string summary = std::to_string(outcome->pages.size()) +
                          " pages: " + std::to_string(outcome->done) + " done, " +
                          std::to_string(outcome->failed) + " failed";
    if (outcome->notRun > 0)
        summary += ", " + std::to_string(outcome->notRun) + " not applied";
    if (!outcome->changeId.empty())
        summary += "; change " + outcome->changeId + " (pelto-cli undo " + outcome->changeId +
                   " takes it back)";
    std::printf("%s\n", summary.c_str());
    return outcome->failed + outcome->notRun > 0 ? kFailure : kOk;
}

} // namespace pelto::cli
