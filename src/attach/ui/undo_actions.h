#pragma once
// Undoing a change from the windows: a confirmation that names the page(s) (the count and
// the first few, the whole list in its details), the check that nothing was edited since
// (a later change of Pelto's own is named and can be undone first; other edits are named
// in a second question), the undo, and a message saying what was put back.
#include "library/workspace.h"

#include <QString>

#include <string>

class QWidget;

namespace pelto {
struct ChangeInfo;
}

namespace pelto::ui {

// A message's text and its details (the long list the user can open; "" for none).
struct MessageText {
    QString text;
    QString details;
};

// The confirmation before undoing change: the change, the count of its pages and the
// first few of them; all of them in the details when there are more.
MessageText UndoQuestion(const ChangeInfo& change);

// Undoes the change with this id (the newest when empty) after asking. Returns true when
// it was undone.
bool UndoChangeAsking(QWidget* parent, const Workspace& ws, const std::string& id);

// True when a recorded change can be undone (the record folder holds one).
bool ChangeToUndoExists(const Workspace& ws);

} // namespace pelto::ui
