#pragma once
// What counts as a user's choice in a list, a drop-down list or on a button.
//
// A list reports a choice when the user highlights a row (a click, arrow keys, Space),
// clicks the row that is already highlighted, or presses Enter on it; code that
// selects a row counts too. Moving the focus into a list is no choice: Qt then makes a
// row current without highlighting it, and that row stays unchosen. ChosenRow is the
// row the list's buttons act on.
#include <functional>

class QAbstractButton;
class QAbstractItemView;
class QComboBox;
class QWidget;

namespace pelto::ui {

// Calls chosen(row) for every choice made in list (single selection).
void OnRowChosen(QAbstractItemView* list, std::function<void(int row)> chosen);

// Calls activated(row) on a double click on a row, or on Enter or Return on the
// highlighted row or, when none is, on the row the focus is on (which Enter highlights).
// The key goes no further (it does not also press the window's default button).
void OnRowActivated(QAbstractItemView* list, std::function<void(int row)> activated);

// The highlighted row of list, -1 when none is (a current row alone does not count).
int ChosenRow(const QAbstractItemView* list);

// Calls chosen(index) when the user picks an entry in combo's open list (click or
// Enter), or presses Enter on the closed box with an entry shown. The wheel, arrow
// keys and typed letters only step through the entries.
void OnEntryChosen(QComboBox* combo, std::function<void(int index)> chosen);

// Enter and Return on the focused button click it, as Space does.
void ClickOnEnter(QAbstractButton* button);

// ClickOnEnter for every push button now in window: Enter presses the button that has
// the focus, and the window's default button only when no other button has it.
void ClickFocusedButtonOnEnter(QWidget* window);

} // namespace pelto::ui
