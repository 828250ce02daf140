#include "cli/batch_command.h"

#include "attach/batch_apply.h"
#include "cli/commands.h"
#include "common/files.h"

#include <cstdio>
#include <thread>

namespace fs = std::filesystem;

namespace pelto::cli {

Result<std::vector<std::string>> BatchPages(const Workspace& ws, const BatchArgs& args,
                                            bool leaveOutCopies) {
    std::vector<std::string> pages = args.pages;
    const std::vector<std::string> patterns =
        args.patterns.empty() ? std::vector<std::string>{"*.htm", "*.html"} : args.patterns;
    for (const std::string& folder : args.folders) {
        // Pelto's own folders are never searched: the output folder holds results.
        Result<std::vector<std::string>> found =
            FindPages(folder, patterns, {ws.OutputFolder(), ws.UserDataFolder()}, leaveOutCopies);
        if (!found)
            return found.error();
        pages.insert(pages.end(), found->begin(), found->end());
    }
    if (pages.empty())
        return MakeError("", 0, "no page matches");
    return pages;
}

int PrintBatchOutcome(const BatchOutcome& outcome, const std::string& done,
                      const std::string& notRun) {
    for (const std::string& note : outcome.notes)
        Report(kOk, note);
    for (const PageResult& r : outcome.pages) {
        if (r.state == PageState::Done)
            std::printf("%s: %s -> %s%s\n", done.c_str(), r.page.c_str(), r.result.c_str(),
                        r.message == "not overwritten"
                            ? " (not overwritten; give --yes to overwrite)"
                            : "");
        else
            Report(kFailure,
                   (r.state == PageState::Failed ? "failed: " : "") +
                       (r.message.find(r.page) == std::string::npos ? r.page + ": " + r.message
                                                                    : r.message));
    }
    std::string summary = std::to_string(outcome.pages.size()) +
                          " pages: " + std::to_string(outcome.done) + " " + done + ", " +
                          std::to_string(outcome.failed) + " failed";
    if (outcome.notRun > 0)
        summary += ", " + std::to_string(outcome.notRun) + " " + notRun;
    if (!outcome.changeId.empty())
        summary += "; change " + outcome.changeId + " (pelto-cli undo " + outcome.changeId +
                   " takes it back)";
    std::printf("%s\n", summary.c_str());
    return outcome.failed + outcome.notRun > 0 ? kFailure : kOk;
}

int RunBatch(const Workspace& ws, const BatchArgs& args, OutputOption mode, int16_t repeat,
             bool yes, decltype(BatchRequest::startFrom) startFrom) {
    Result<std::vector<std::string>> pages = BatchPages(ws, args, mode == OutputOption::Copy);
    if (!pages)
        return Report(kFailure, pages.error().text() + "; nothing was applied");

    BatchRequest request;
    request.option = mode;
    request.repeat = repeat;
    request.overwriteConfirmed = yes;
    request.waiting = [](const std::string& note) { Report(kOk, note); };
    request.jobs = args.jobs != 0 ? args.jobs : std::max(1u, std::thread::hardware_concurrency());
    request.startFrom = std::move(startFrom);
    Result<BatchOutcome> outcome = ApplyToPages(ws, *pages, request);
    if (!outcome)
        return Report(kFailure, outcome.error().text());
    return PrintBatchOutcome(*outcome, "done", "not applied");
}

} // namespace pelto::cli
