#pragma once
// `pelto --start-check`: the program starts as usual; once its main window has appeared
// on screen (shown and exposed), the window's title is printed on stdout and the run
// ends with exit code 0. Lets a script check an installed program without a person at
// the screen (a failed start-up ends with its own exit code, a hung one not at all).
class QObject;
class QStringList;

namespace pelto::ui {

// True when the arguments ask for the check.
bool StartCheckRequested(const QStringList& arguments);

// Watches for the main window; call before the event loop starts.
void QuitWhenMainWindowAppears(QObject* parent);

} // namespace pelto::ui
