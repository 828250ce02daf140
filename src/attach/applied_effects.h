#pragma once
// The effects on a page and taking one out. The page's first lines name its effects,
// newest first; the page's record of applied effects (attach/applied_record.h) knows what
// each application inserted. An application is matched with the newest record of its
// effect whose pieces are all found in the page as it is now; taking it out swaps each
// piece back for the bytes it replaced, so every other byte of the page, the user's
// later edits included, stays as it is. Pages are written through the durable path (a
// temporary file, flushed, renamed), each recorded in one change first, so undo takes a
// removal back.
#include "attach/applied_record.h"
#include "attach/batch_apply.h"
#include "common/result.h"
#include "library/workspace.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelto {

// Where the records of applied effects live: beside the change records.
std::filesystem::path AppliedRecordsFolder(const Workspace& ws);

// The current values of the current effect as a template lists them (one block per
// parameter that a template holds).
std::string ValuesListing(const Workspace& ws);

// What to set as DoItRequest::recordPieces: appends the application of ws's current
// effect, with its values and repeat count (read from ws when it is called), to the written page's
// record, under changeId.
std::function<Status(const std::string&, const std::vector<InsertedPiece>&,
                     const std::vector<std::string>&)>
PieceRecorder(const Workspace& ws, const std::string& changeId);

// The ScriptIds the page's first lines name, newest first (after a UTF-8 byte order mark).
std::vector<std::string> FirstLineIds(std::string_view page);

struct EffectOnPage {
    std::string scriptId;
    int number = 1; // 1 for the newest application of this effect on the page, 2 for the next
    std::optional<AppliedRecord> record; // the matching record, when there is one
    std::vector<uint64_t> at;            // where its pieces stand now
    std::string why;                     // why it cannot be taken out now ("" when it can)
};

// The effects on the page, newest first. page is the page's absolute path.
Result<std::vector<EffectOnPage>> EffectsOnPage(const std::filesystem::path& recordsFolder,
                                                const std::string& page, std::string_view bytes);

struct TakenOut {
    std::string text;     // the page without the application
    AppliedRecord record; // what was taken out
};

// The page's bytes without application `which` (1 = newest) of scriptId. An error names
// the page, and the line where the inserted code was not found intact.
Result<TakenOut> TakeOutApplication(const std::filesystem::path& recordsFolder,
                                    const std::string& page, std::string_view bytes,
                                    const std::string& scriptId, int which);

struct RemoveRequest {
    std::string scriptId;
    int which = 1;
    unsigned jobs = 1;
    std::function<void(const BatchProgress&)> progress; // one call at a time
    const std::atomic<bool>* cancel = nullptr;
    std::function<void(const std::string& note)> waiting;
};

// Takes the application out of every page, as one change (option "remove"). A page that
// fails is left untouched and reported; the others go on.
Result<BatchOutcome> RemoveFromPages(const Workspace& ws, const std::vector<std::string>& pages,
                                     const RemoveRequest& request);

} // namespace pelto
