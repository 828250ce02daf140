#pragma once
// Undoing a change from the windows: a confirmation that names the page(s), the check
// that nothing was edited since (or a second question naming the edited files), the
// undo, and a message saying what was put back.
#include "library/workspace.h"

#include <string>

class QWidget;

namespace pelto::ui {

// Undoes the change with this id (the newest when empty) after asking. Returns true when
// it was undone.
bool UndoChangeAsking(QWidget* parent, const Workspace& ws, const std::string& id);

} // namespace pelto::ui
