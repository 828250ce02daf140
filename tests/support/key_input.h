#pragma once
// Reaching and working controls the way a user does: Tab through the window, the mouse
// wheel over a control.
class QWidget;

namespace pelto::test {

// Activates window and presses Tab until target has the focus (at most 100 presses);
// false when it never gets it.
bool TabTo(QWidget* window, QWidget* target);

// Turns the mouse wheel over w by steps notches (positive: away from the user).
void Wheel(QWidget* w, int steps);

} // namespace pelto::test
