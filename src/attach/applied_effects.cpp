#include "attach/applied_effects.h"

#include "attach/attach_script.h"
#include "attach/recorded_run.h"
#include "common/file_lock.h"
#include "common/files.h"
#include "library/lookup.h"
#include "library/page_encoding.h"
#include "templates/parameter_values.h"
#include "undo/undo_store.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <set>
#include <thread>

namespace pelto {

namespace fs = std::filesystem;

fs::path AppliedRecordsFolder(const Workspace& ws) {
    return ws.UserDataFolder() / "applied";
}

std::string ValuesListing(const Workspace& ws) {
    std::string out;
    for (int p = 1; p <= ws.Params.ParameterCount; ++p) {
        const std::string name = ParameterNameAt(ws, p);
        if (!name.empty())
            (void)WriteParameterValues(ws, name, out); // kinds without a block add nothing
    }
    return out;
}

std::function<Status(const std::string&, const std::vector<InsertedPiece>&,
                     const std::vector<std::string>&)>
PieceRecorder(const Workspace& ws, const std::string& changeId) {
    const Workspace* w = &ws;
    return [w, changeId](const std::string& page, const std::vector<InsertedPiece>& pieces,
                         const std::vector<std::string>& externals) {
        AppliedRecord r;
        r.changeId = changeId;
        r.time = AppliedTimeNow();
        r.scriptId = w->CurrentScript().ScriptId;
        r.effectName = w->CurrentScript().Name;
        r.repeat = w->ScriptRepeat;
        r.values = ValuesListing(*w);
        r.externals = externals;
        r.pieces = pieces;
        return AppendApplied(AppliedRecordsFolder(*w), page, r);
    };
}

std::vector<std::string> FirstLineIds(std::string_view page) {
    std::vector<std::string> ids;
    size_t pos = StartsWithUtf8Mark(page) ? kUtf8Mark.size() : 0;
    const std::string_view mark = kOutputPageMark;
    while (page.substr(pos, mark.size()) == mark) {
        const size_t end = page.find("-->\r\n", pos + mark.size());
        const size_t line = page.find('\n', pos);
        if (end == std::string_view::npos || end > line)
            break;
        ids.emplace_back(page.substr(pos + mark.size(), end - pos - mark.size()));
        pos = end + 5;
    }
    return ids;
}

Result<std::vector<EffectOnPage>> EffectsOnPage(const fs::path& recordsFolder,
                                                const std::string& page, std::string_view bytes) {
    Result<std::vector<AppliedRecord>> records = ReadApplied(recordsFolder, page);
    if (!records)
        return records.error();
    std::vector<bool> used(records->size(), false);
    std::vector<EffectOnPage> effects;
    std::map<std::string, int> seen;
    for (const std::string& id : FirstLineIds(bytes)) {
        EffectOnPage e;
        e.scriptId = id;
        e.number = ++seen[id];
        std::string firstProblem;
        bool anyRecord = false;
        for (size_t k = records->size(); k-- > 0;) {
            const AppliedRecord& r = (*records)[k];
            if (used[k] || r.scriptId != id)
                continue;
            anyRecord = true;
            Result<std::vector<uint64_t>> at = LocatePieces(bytes, r.pieces, page);
            if (!at) {
                if (firstProblem.empty())
                    firstProblem = at.error().text();
                continue;
            }
            used[k] = true;
            e.record = r;
            e.at = std::move(*at);
            break;
        }
        if (!e.record)
            e.why = !anyRecord ? "Pelto has no record of what this application inserted (it was "
                                 "applied by an older Pelto, on another computer, or to another "
                                 "copy of the page), so it cannot be taken out"
                               : firstProblem;
        effects.push_back(std::move(e));
    }
    return effects;
}

Result<TakenOut> TakeOutApplication(const fs::path& recordsFolder, const std::string& page,
                                    std::string_view bytes, const std::string& scriptId,
                                    int which) {
    Result<std::vector<EffectOnPage>> effects = EffectsOnPage(recordsFolder, page, bytes);
    if (!effects)
        return effects.error();
    int count = 0;
    for (const EffectOnPage& e : *effects) {
        if (e.scriptId != scriptId)
            continue;
        ++count;
        if (e.number != which)
            continue;
        if (!e.record)
            return MakeError(page, 0, e.why);
        return TakenOut{TakeOutPieces(bytes, e.record->pieces, e.at), *e.record};
    }
    if (count == 0)
        return MakeError(page, 0,
                         "carries no effect \"" + scriptId +
                             "\" (its first lines name the effects Pelto put on it)");
    return MakeError(page, 0,
                     "carries the effect \"" + scriptId + "\" " + std::to_string(count) +
                         (count == 1 ? " time" : " times") + ", so there is no application " +
                         std::to_string(which) + " of it to take out");
}

Result<BatchOutcome> RemoveFromPages(const Workspace& ws, const std::vector<std::string>& pages,
                                     const RemoveRequest& request) {
    BatchOutcome outcome;
    std::set<std::string> seen;
    for (const std::string& page : pages) {
        std::error_code ec;
        fs::path path = fs::canonical(fs::absolute(page, ec), ec);
        const std::string name = ec ? page : PathText(path);
        if (seen.insert(name).second)
            outcome.pages.push_back(PageResult{name, PageState::NotRun, "", ""});
        if (ec) {
            outcome.pages.back().state = PageState::Failed;
            outcome.pages.back().message = page + ": is not a file that can be read";
        }
    }
    UndoStore store(ChangeRecordsFolder(ws));
    Result<std::unique_ptr<ChangeWriter>> begun = store.Begin(request.scriptId, "", "remove");
    if (!begun)
        return begun.error();
    ChangeWriter& change = **begun;
    const fs::path records = AppliedRecordsFolder(ws);

    std::mutex mutex;
    std::atomic<size_t> next{0};
    size_t finished = 0;
    const size_t total = outcome.pages.size();
    auto one = [&](PageResult& r, bool& recorded) -> Status {
        const fs::path page(r.page);
        Result<FileLock> lock = FileLock::TakeFolder(page.parent_path(), request.waiting);
        if (!lock)
            return lock.error();
        Result<std::string> bytes = ReadFileBytes(page);
        if (!bytes)
            return bytes.error();
        Result<TakenOut> out =
            TakeOutApplication(records, r.page, *bytes, request.scriptId, request.which);
        if (!out)
            return out.error();
        if (Status st = change.Record(r.page, {PendingWrite(page, out->text, true)}); !st)
            return st;
        recorded = true;
        if (Status st = WriteFileAtomic(page, out->text); !st)
            return st;
        r.result = r.page;
        r.message = "took out \"" + out->record.scriptId + "\" applied " + out->record.time;
        return Status::Ok();
    };
    bool failedWrite = false;
    auto work = [&] {
        for (;;) {
            if (request.cancel && *request.cancel)
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
            bool recorded = false;
            Status st = one(r, recorded);
            std::lock_guard<std::mutex> guard(mutex);
            if (recorded && !st)
                failedWrite = true; // recorded but not written: the change is cut short
            r.state = st ? PageState::Done : PageState::Failed;
            if (!st)
                r.message = st.error().text();
            ++finished;
            if (request.progress)
                request.progress(BatchProgress{finished, total, r.page, false});
        }
    };
    const unsigned jobs =
        std::max(1u, std::min<unsigned>(request.jobs, std::max<size_t>(total, 1)));
    std::vector<std::thread> threads;
    for (unsigned j = 1; j < jobs; ++j)
        threads.emplace_back(work);
    work();
    for (std::thread& t : threads)
        t.join();
    outcome.cancelled = request.cancel && *request.cancel;
    for (PageResult& r : outcome.pages) {
        if (r.state == PageState::Done)
            ++outcome.done;
        else if (r.state == PageState::Failed)
            ++outcome.failed;
        else {
            ++outcome.notRun;
            r.message = "not taken out: the run was cancelled";
        }
    }
    Result<bool> kept = change.Finish(!failedWrite);
    if (!kept)
        return kept.error();
    if (*kept)
        outcome.changeId = change.id();
    return outcome;
}

} // namespace pelto
