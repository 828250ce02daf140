#include "attach/ui/undo_actions.h"

#include "attach/recorded_run.h"
#include "platform/message_box.h"
#include "platform/native_text.h"
#include "platform/text_codec.h"
#include "undo/undo_store.h"

#include <QStringList>

#include <algorithm>
#include <set>

namespace pelto::ui {

namespace {

QString Listed(const std::vector<std::string>& items) {
    QStringList lines;
    for (const std::string& item : items)
        lines << "  " + PathToQString(item);
    return lines.join('\n');
}

// A short list stays in the message; a long one is named by its count and first few
// items, and is whole in the details the user can open.
struct ListedFiles {
    QString inText;
    QString details;
};

ListedFiles Summarised(const std::vector<std::string>& items) {
    constexpr size_t kShown = 5;
    if (items.size() <= kShown + 1)
        return {Listed(items), QString()};
    const std::vector<std::string> first(items.begin(), items.begin() + kShown);
    return {Listed(first) +
                QString("\n  ... and %1 more (see the details)").arg(items.size() - kShown),
            Listed(items).replace("\n  ", "\n").trimmed()};
}

QString ChangeName(const ChangeInfo& c) {
    return QString("\"%1\" (%2) at %3")
        .arg(FromBytes(c.effectName), QString::fromStdString(c.option),
             QString::fromStdString(c.time));
}

// The changes after `change` (history is newest first) that wrote one of files: the
// ones that must be undone, newest first, before `change` can be.
std::vector<const ChangeInfo*> LaterChangesTouching(const std::vector<ChangeInfo>& history,
                                                    const ChangeInfo& change,
                                                    const std::vector<std::string>& files) {
    const std::set<std::string> touched(files.begin(), files.end());
    std::vector<const ChangeInfo*> later;
    for (const ChangeInfo& c : history) {
        if (c.id == change.id)
            break;
        const bool wrote =
            std::any_of(c.files.begin(), c.files.end(),
                        [&](const ChangedFile& f) { return touched.count(f.path) != 0; }) ||
            std::any_of(c.pages.begin(), c.pages.end(),
                        [&](const std::string& p) { return touched.count(p) != 0; });
        if (wrote)
            later.push_back(&c);
    }
    return later;
}

} // namespace

MessageText UndoQuestion(const ChangeInfo& change) {
    const ListedFiles pages = Summarised(change.pages);
    const QString text =
        change.pages.size() == 1
            ? QString("Undo the change made by %1 to this page?\n\n%2")
                  .arg(ChangeName(change), pages.inText)
            : QString("Undo the change made by %1 to these %2 pages?\n\n%3")
                  .arg(ChangeName(change), QString::number(change.pages.size()), pages.inText);
    return {text, pages.details};
}

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
    const MessageText question = UndoQuestion(*change);
    if (ShowMessage(parent, question.text, MessageIcon::Exclamation, MessageButtons::YesNo,
                    "Undo last change", question.details) != MessageAnswer::Yes)
        return false;
    Result<UndoOutcome> outcome = store.Undo(change->id, false);
    if (outcome && !outcome->undone) {
        // A later change of Pelto's own wrote some of the files: it is named, and both
        // can be undone, the later first.
        const std::vector<const ChangeInfo*> later =
            LaterChangesTouching(*history, *change, outcome->changedSince);
        if (!later.empty()) {
            QStringList names;
            for (const ChangeInfo* c : later)
                names << "  " + ChangeName(*c);
            const ListedFiles files = Summarised(outcome->changedSince);
            const QString both =
                QString("A later change of Pelto's changed these files again:\n\n%1\n\n"
                        "Changed by:\n%2\n\nUndo %3 first and then this change?")
                    .arg(files.inText, names.join('\n'),
                         later.size() == 1 ? QString("that change") : QString("those changes"));
            if (ShowMessage(parent, both, MessageIcon::Exclamation, MessageButtons::YesNo,
                            "Undo last change", files.details) != MessageAnswer::Yes)
                return false;
            for (const ChangeInfo* c : later) {
                Result<UndoOutcome> first = store.Undo(c->id, false);
                if (!first) {
                    ShowMessage(parent, ErrorToQString(first.error()), MessageIcon::Critical);
                    return false;
                }
                if (!first->undone) {
                    const ListedFiles edited = Summarised(first->changedSince);
                    ShowMessage(parent,
                                QString("The change made by %1 was not undone: these files "
                                        "were changed after Pelto wrote them:\n\n%2")
                                    .arg(ChangeName(*c), edited.inText),
                                MessageIcon::Exclamation, MessageButtons::Ok, "Undo last change",
                                edited.details);
                    return false;
                }
            }
            outcome = store.Undo(change->id, false);
        }
    }
    if (outcome && !outcome->undone) {
        const ListedFiles files = Summarised(outcome->changedSince);
        const QString edited =
            QString("These files were changed after Pelto wrote them:\n\n%1\n\nUndo anyway? "
                    "Those later changes are lost.")
                .arg(files.inText);
        if (ShowMessage(parent, edited, MessageIcon::Exclamation, MessageButtons::YesNo,
                        "Undo last change", files.details) != MessageAnswer::Yes)
            return false;
        outcome = store.Undo(change->id, true);
    }
    if (!outcome) {
        ShowMessage(parent, ErrorToQString(outcome.error()), MessageIcon::Critical);
        return false;
    }
    QString done = "The change is undone.";
    QStringList details;
    if (!outcome->restored.empty()) {
        const ListedFiles restored = Summarised(outcome->restored);
        done += "\n\nPut back as they were:\n" + restored.inText;
        if (!restored.details.isEmpty())
            details << "Put back as they were:\n" + restored.details;
    }
    if (!outcome->removed.empty()) {
        const ListedFiles removed = Summarised(outcome->removed);
        done += "\n\nRemoved (Pelto had made them):\n" + removed.inText;
        if (!removed.details.isEmpty())
            details << "Removed (Pelto had made them):\n" + removed.details;
    }
    ShowMessage(parent, done, MessageIcon::Information, MessageButtons::Ok, QString(),
                details.join("\n\n"));
    return true;
}

bool ChangeToUndoExists(const Workspace& ws) {
    Result<std::vector<ChangeInfo>> history = UndoStore(ChangeRecordsFolder(ws)).History(1);
    return history && !history->empty();
}

} // namespace pelto::ui
