#pragma once
// `pelto --start-check`: the program starts as usual; once its main window has appeared
// on screen (shown and exposed), the window's title is printed on stdout and the run
// ends with exit code 0. A message box before that (a missing library, damaged effects)
// is printed on stderr and ends the run with exit code 1. Lets a script check an
// installed program without a person at the screen.
#include <QStringList>

class QObject;

namespace pelto::ui {

// True when the arguments ask for the check.
bool StartCheckRequested(const QStringList& arguments);

// Watches for the main window; call before the event loop starts.
void QuitWhenMainWindowAppears(QObject* parent);

} // namespace pelto::ui
