#include "attach/ui/undo_actions.h"

#include "attach/recorded_run.h"
#include "platform/message_box.h"
#include "platform/native_text.h"
#include "platform/text_codec.h"
#include "undo/undo_store.h"

#include <QStringList>

namespace pelto::ui {

namespace {

QString Listed(const std::vector<std::string>& items) {
    QStringList lines;
    for (const std::string& item : items)
        lines << "  " + PathToQString(item);
    return lines.join('\n');
}

} // namespace

bool UndoChangeAsking(QWidget* parent, const Workspace& ws, const std::string& id) {
    UndoStore store(ChangeRecordsFolder(ws));
    Result<std::vector<ChangeInfo>> history = store.History();
    if (!history) {
        ShowMessage(parent, ErrorToQString(history.error()), MessageIcon::Critical);
        return false;
    }
    const ChangeInfo* change = nullptr;
    for (const ChangeInfo& c : *history)
        if (id.empty() || c.id == id) {
            change = &c;
            break;
        }
    if (!change) {
        ShowMessage(parent, "There is no change to undo.", MessageIcon::Information);
        return false;
    }
    const QString question =
        QString("Undo the change made by \"%1\" (%2) at %3 to these pages?\n\n%4")
            .arg(FromBytes(change->effectName), QString::fromStdString(change->option),
                 QString::fromStdString(change->time), Listed(change->pages));
    if (ShowMessage(parent, question, MessageIcon::Exclamation, MessageButtons::YesNo,
                    "Undo last change") != MessageAnswer::Yes)
        return false;
    Result<UndoOutcome> outcome = store.Undo(change->id, false);
    if (outcome && !outcome->undone) {
        const QString edited =
            QString("These files were changed after Pelto wrote them:\n\n%1\n\nUndo anyway? "
                    "Those later changes are lost.")
                .arg(Listed(outcome->changedSince));
        if (ShowMessage(parent, edited, MessageIcon::Exclamation, MessageButtons::YesNo,
                        "Undo last change") != MessageAnswer::Yes)
            return false;
        outcome = store.Undo(change->id, true);
    }
    if (!outcome) {
        ShowMessage(parent, ErrorToQString(outcome.error()), MessageIcon::Critical);
        return false;
    }
    QString done = "The change is undone.";
    if (!outcome->restored.empty())
        done += "\n\nPut back as they were:\n" + Listed(outcome->restored);
    if (!outcome->removed.empty())
        done += "\n\nRemoved (Pelto had made them):\n" + Listed(outcome->removed);
    ShowMessage(parent, done, MessageIcon::Information);
    return true;
}

} // namespace pelto::ui
