#include "attach/ui/change_application.h"

#include "attach/applied_effects.h"
#include "attach/recorded_run.h"
#include "common/files.h"
#include "platform/message_box.h"
#include "platform/native_text.h"
#include "templates/parameter_values.h"

#include <QDir>
#include <exception>
#include <filesystem>
#include <optional>

namespace pelto::ui {

namespace {
// The application chosen for a change. Only one parameter page edits values at a time
// (the shell closes the old one before it opens another), so the windows keep one choice.
struct ChosenApplication {
    const Workspace* ws = nullptr;
    std::string scriptId; // empty: none chosen
    int which = 1;
    std::string page;
};
ChosenApplication& Chosen() {
    static ChosenApplication chosen;
    return chosen;
}
} // namespace

bool ChooseApplicationToChange(QWidget* parent, Workspace& ws, const std::string& scriptId,
                               int which) {
    if (ws.CurrentScript().ScriptId != scriptId) {
        ShowMessage(parent,
                    QStringLiteral("The values of \"%1\" can be changed only on its own "
                                   "parameter page: choose that effect first, then come back "
                                   "here and use \"Change values\u2026\".")
                        .arg(QString::fromStdString(scriptId)),
                    MessageIcon::Exclamation);
        return false;
    }
    std::error_code ec;
    const std::filesystem::path page = std::filesystem::canonical(ws.SampleFile, ec);
    if (ec) {
        ShowMessage(parent,
                    QStringLiteral("The page \"%1\" cannot be found.")
                        .arg(QDir::toNativeSeparators(PathToQString(ws.SampleFile))),
                    MessageIcon::Critical);
        return false;
    }
    Result<std::string> bytes = ReadFileBytes(page);
    if (!bytes) {
        ShowMessage(parent, ErrorToQString(bytes.error()), MessageIcon::Critical);
        return false;
    }
    const std::filesystem::path records = AppliedRecordsFolder(ws);
    Result<TakenOut> out = TakeOutApplication(records, PathText(page), *bytes, scriptId, which);
    if (!out) {
        ShowMessage(parent, ErrorToQString(out.error()), MessageIcon::Exclamation);
        return false;
    }
    // The values are checked whole on a copy first, so a record that cannot be read
    // leaves the user's current values as they are.
    Workspace trial = ws;
    if (Status st = ReadParameterValues(trial, SplitLines(out->record.values), 0,
                                        PathText(AppliedRecordFile(records, PathText(page))));
        !st) {
        ShowMessage(parent, ErrorToQString(st.error()), MessageIcon::Exclamation);
        return false;
    }
    ws.Params = std::move(trial.Params);
    ws.ScriptRepeat = out->record.repeat;
    Chosen() = ChosenApplication{&ws, scriptId, which, PathText(page)};
    return true;
}

bool ApplicationChosenToChange(const Workspace& ws) {
    const ChosenApplication& chosen = Chosen();
    return chosen.ws == &ws && !chosen.scriptId.empty() &&
           chosen.scriptId == ws.CurrentScript().ScriptId;
}

void ForgetApplicationToChange() {
    Chosen() = ChosenApplication{};
}

std::string ReplaceChosenApplication(QWidget* parent, Workspace& ws) {
    if (!ApplicationChosenToChange(ws)) {
        ForgetApplicationToChange();
        return {};
    }
    const ChosenApplication chosen = Chosen();
    ForgetApplicationToChange();
    const std::string& scriptId = chosen.scriptId;
    const int which = chosen.which;
    const std::string& page = chosen.page;

    DoItRequest request;
    request.option = OutputOption::Overwrite;
    request.repeat = ws.ScriptRepeat;
    request.confirmOverwrite = [] { return true; };
    const std::filesystem::path records = AppliedRecordsFolder(ws);
    request.startFrom = [records, scriptId, which](Workspace& w, const std::string& at,
                                                   std::string_view bytes) -> Result<std::string> {
        Result<TakenOut> out = TakeOutApplication(records, at, bytes, scriptId, which);
        if (!out)
            return out.error();
        w.ScriptRepeat = out->record.repeat;
        return std::move(out->text);
    };
    const std::string before = ws.SampleFile;
    ws.SampleFile = page;
    std::optional<Result<RecordedOutcome>> run;
    try {
        run.emplace(DoItRecorded(ws, request, FileLock::Wait::No));
    } catch (const std::exception& e) {
        ws.SampleFile = before;
        ShowMessage(parent, "The values could not be changed: " + QString::fromLocal8Bit(e.what()),
                    MessageIcon::Critical);
        return {};
    }
    ws.SampleFile = before;
    if (!*run) {
        ShowMessage(parent,
                    "The values could not be changed; the page is left as it was.\n\n" +
                        ErrorToQString(run->error()),
                    MessageIcon::Critical);
        return {};
    }
    return (*run)->changeId;
}

} // namespace pelto::ui
