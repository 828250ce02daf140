#include "attach/batch_apply.h"

#include "attach/applied_effects.h"
#include "attach/output_folder.h"
#include "attach/recorded_run.h"
#include "common/files.h"
#include "undo/undo_store.h"

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <fnmatch.h>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace pelto {

namespace fs = std::filesystem;

namespace {

std::string Normal(const std::string& page) {
    std::error_code ec;
    return fs::absolute(fs::path(page), ec).lexically_normal().string();
}

// The file a path names (after its links), or its normal path text where it names none.
std::string FileKey(const std::string& normal) {
    struct stat st {};
    if (::stat(normal.c_str(), &st) != 0)
        return "path:" + normal;
    return "file:" + std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino);
}

// A fresh folder output/batch-N for this run.
Result<fs::path> MakeBatchArea(const fs::path& output, std::vector<std::string>& notes) {
    std::error_code ec;
    fs::create_directories(output, ec);
    if (ec)
        return MakeError(PathText(output), 0, "cannot be created: " + ec.message());
    for (std::string& note : RemoveDeadBatchAreas(output))
        notes.push_back(std::move(note));
    const std::string base = "batch-" + std::to_string(::getpid());
    for (int k = 1; k < 10000; ++k) {
        fs::path area = output / (base + "-" + std::to_string(k));
        if (fs::create_directory(area, ec))
            return area;
        if (ec)
            return MakeError(PathText(area), 0, "cannot be created: " + ec.message());
    }
    return MakeError(PathText(output), 0, "holds no free name for a batch's output area");
}

} // namespace

Result<BatchOutcome> ApplyToPages(const Workspace& ws, const std::vector<std::string>& pages,
                                  const BatchRequest& request) {
    BatchOutcome outcome;
    std::set<std::string> seen; // the files, by device and inode
    for (const std::string& page : pages) {
        const std::string normal = Normal(page);
        if (seen.insert(FileKey(normal)).second)
            outcome.pages.push_back(PageResult{normal, PageState::NotRun, "", ""});
    }
    // With the copy option, a page's copy must not be another page of the run: one
    // would read what the other writes, and the result would depend on their order.
    if (request.option == OutputOption::Copy)
        for (PageResult& r : outcome.pages) {
            const std::string copy = CopyPagePath(r.page).string();
            if (seen.count(FileKey(copy)) != 0) {
                r.state = PageState::Failed;
                r.message =
                    "its copy " + copy + " is also a page of this run; leave one of the two out";
            }
        }

    Result<fs::path> area = MakeBatchArea(ws.OutputFolder(), outcome.notes);
    if (!area)
        return area.error();
    std::unique_ptr<ChangeWriter> change;
    std::unique_ptr<UndoStore> store;
    const bool writesPages =
        request.option == OutputOption::Copy ||
        (request.option == OutputOption::Overwrite && request.overwriteConfirmed);
    if (writesPages) {
        store = std::make_unique<UndoStore>(ChangeRecordsFolder(ws));
        Result<std::unique_ptr<ChangeWriter>> begun = store->Begin(
            ws.CurrentScript().ScriptId, ws.CurrentScript().Name, OptionName(request.option));
        if (!begun) {
            std::error_code ec;
            fs::remove_all(*area, ec);
            return begun.error();
        }
        change = std::move(*begun);
    }

    std::mutex mutex; // guards progress calls, the counters and stop
    std::atomic<size_t> next{0};
    std::atomic<bool> stop{false};
    std::string stopReason;
    bool allWritten = true; // every page that recorded its files wrote them
    size_t finished = 0;
    const size_t total = outcome.pages.size();
    for (const PageResult& r : outcome.pages)
        if (r.state == PageState::Failed)
            ++finished;

    auto work = [&] {
        for (;;) {
            if (stop || (request.cancel && *request.cancel))
                return;
            const size_t k = next++;
            if (k >= outcome.pages.size())
                return;
            PageResult& r = outcome.pages[k];
            if (r.state == PageState::Failed)
                continue;
            if (request.progress) {
                std::lock_guard<std::mutex> guard(mutex);
                request.progress(BatchProgress{finished, total, r.page, true});
            }
            Workspace w = ws; // every page starts from the same values and counters
            w.SampleFile = r.page;
            DoItRequest one;
            one.option = request.option;
            one.repeat = request.repeat;
            const bool yes = request.overwriteConfirmed;
            one.confirmOverwrite = [yes] { return yes; };
            one.outputArea = *area / std::to_string(k + 1);
            one.waiting = request.waiting;
            one.afterRecording = request.afterRecording;
            one.startFrom = request.startFrom;
            if (change)
                one.recordPieces = PieceRecorder(w, change->id());
            bool recordFailed = false;
            bool recorded = false;
            if (change)
                one.beforeWriting = [&](const std::string& page,
                                        const std::vector<PendingWrite>& writes) {
                    Status st = change->Record(page, writes);
                    recordFailed = !st.ok();
                    recorded = st.ok();
                    return st;
                };
            std::vector<std::string> notes;
            try {
                Result<DoItOutcome> done = DoIt(w, one);
                if (done)
                    notes = done->notes;
                if (!done) {
                    r.state = PageState::Failed;
                    r.message = done.error().text();
                } else {
                    r.state = PageState::Done;
                    if (done->overwriteDeclined) {
                        r.result = PathText(one.outputArea / "result.htm");
                        r.message = "not overwritten";
                    } else {
                        r.result = done->pageToOpen;
                    }
                }
            } catch (const std::exception& e) {
                r.state = PageState::Failed;
                r.message = r.page + ": " + e.what();
            }
            std::lock_guard<std::mutex> guard(mutex);
            for (const std::string& note : notes)
                outcome.notes.push_back(note);
            if (recorded && r.state != PageState::Done)
                allWritten = false;
            if (recordFailed && !stop) {
                stop = true;
                stopReason = r.message;
            }
            ++finished;
            if (request.progress)
                request.progress(BatchProgress{finished, total, r.page, false});
        }
    };
    const unsigned jobs = std::max(1u, std::min<unsigned>(request.jobs, total));
    if (jobs == 1) {
        work();
    } else {
        std::vector<std::thread> threads;
        for (unsigned j = 0; j < jobs; ++j)
            threads.emplace_back(work);
        for (std::thread& t : threads)
            t.join();
    }

    outcome.cancelled = request.cancel && *request.cancel;
    for (size_t k = 0; k < outcome.pages.size(); ++k) {
        PageResult& r = outcome.pages[k];
        if (r.state == PageState::NotRun)
            r.message = stop ? "not applied: the run stopped because the change could not be "
                               "recorded (" +
                                   stopReason + ")"
                             : "not applied: the run was cancelled";
        // Results that went into the user's folder need no copy in the output area.
        const bool resultInArea = r.state == PageState::Done &&
                                  (request.option == OutputOption::Preview || !r.message.empty());
        if (!resultInArea) {
            std::error_code ec;
            fs::remove_all(*area / std::to_string(k + 1), ec);
        }
        (r.state == PageState::Done     ? outcome.done
         : r.state == PageState::Failed ? outcome.failed
                                        : outcome.notRun)++;
    }
    std::error_code ec;
    if (fs::is_empty(*area, ec))
        fs::remove(*area, ec);
    else
        outcome.outputArea = PathText(*area);
    if (change) {
        const std::string id = change->id();
        Result<bool> kept = change->Finish(allWritten);
        if (!kept)
            return kept.error();
        if (*kept)
            outcome.changeId = id;
    }
    return outcome;
}

// Removes output/batch-PID-K areas whose process is gone (a batch that was killed).
std::vector<std::string> RemoveDeadBatchAreas(const fs::path& output) {
    std::vector<std::string> notes;
    std::error_code ec;
    std::vector<fs::path> dead;
    for (fs::directory_iterator it(output, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.rfind("batch-", 0) != 0)
            continue;
        const size_t dash = name.find('-', 6);
        if (dash == std::string::npos || dash == 6 ||
            name.find_first_not_of("0123456789", 6) != dash ||
            name.find_first_not_of("0123456789", dash + 1) != std::string::npos ||
            dash + 1 == name.size())
            continue;
        std::error_code typeError;
        if (!fs::is_directory(it->symlink_status(typeError)))
            continue;
        if (!ProcessIsAlive(std::strtol(name.c_str() + 6, nullptr, 10)))
            dead.push_back(it->path());
    }
    std::sort(dead.begin(), dead.end());
    for (const fs::path& area : dead) {
        std::error_code removeError;
        fs::remove_all(area, removeError);
        if (!removeError)
            notes.push_back("removed " + PathText(area) +
                            ", left behind by a Pelto batch that ended before it had finished");
    }
    return notes;
}

Result<std::vector<std::string>> FindPages(const fs::path& folder,
                                           const std::vector<std::string>& patterns,
                                           const std::vector<fs::path>& leaveOut,
                                           bool leaveOutCopies, bool includeHidden) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        return MakeError(PathText(folder), 0, "is not a folder");
    std::set<std::string> skip;
    for (const fs::path& f : leaveOut)
        skip.insert(fs::weakly_canonical(f, ec).string());
    std::vector<std::string> pages;
    fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
    if (ec)
        return MakeError(PathText(folder), 0, "cannot be listed: " + ec.message());
    for (; it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (ec)
            return MakeError(PathText(it->path()), 0, "cannot be listed: " + ec.message());
        std::error_code typeError;
        const std::string name = it->path().filename().string();
        const bool hidden = !includeHidden && !name.empty() && name.front() == '.';
        if (it->is_directory(typeError)) {
            if (hidden)
                it.disable_recursion_pending();
            else if (skip.count(fs::weakly_canonical(it->path(), typeError).string()) != 0)
                it.disable_recursion_pending();
            continue;
        }
        // A link to a file may lead out of the tree: only files that lie in it are pages.
        if (hidden || !fs::is_regular_file(it->symlink_status(typeError)))
            continue;
        for (const std::string& pattern : patterns)
            if (::fnmatch(pattern.c_str(), name.c_str(), FNM_CASEFOLD) == 0) {
                pages.push_back(it->path().lexically_normal().string());
                break;
            }
    }
    std::sort(pages.begin(), pages.end());
    if (leaveOutCopies) {
        std::set<std::string> copies;
        for (const std::string& page : pages)
            copies.insert(CopyPagePath(page).string());
        std::erase_if(pages, [&](const std::string& page) { return copies.count(page) != 0; });
    }
    return pages;
}

} // namespace pelto
