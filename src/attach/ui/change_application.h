#pragma once
// "Change values..." of the apply dialog and the parameter page's "Apply" that follows:
// an effect's application on a page is chosen, its recorded values become the current
// values for the user to edit, and "Apply" then takes that application out and applies the
// effect again with the edited values, at the same place, as one change that undo takes
// back.
#include "library/workspace.h"

#include <string>

class QWidget;

namespace pelto::ui {

// Chooses application `which` (1 for the newest) of scriptId on ws.SampleFile for a
// change: the effect must be the one being edited (ws's current script); its recorded
// values and repeat count become ws's current ones. False, after a message saying why,
// when it cannot be changed; nothing in ws changes then.
bool ChooseApplicationToChange(QWidget* parent, Workspace& ws, const std::string& scriptId,
                               int which);

// True while an application chosen with ChooseApplicationToChange waits for "Apply" and
// its effect is still the one being edited.
bool ApplicationChosenToChange(const Workspace& ws);

// Drops the choice (a parameter page that reads its values afresh).
void ForgetApplicationToChange();

// Replaces the chosen application with the current values, overwriting the page (the
// user asked for exactly this, so no question is asked). The choice is used up either
// way. Returns the change's id, empty (after a message saying why) when nothing was
// written.
std::string ReplaceChosenApplication(QWidget* parent, Workspace& ws);

} // namespace pelto::ui
