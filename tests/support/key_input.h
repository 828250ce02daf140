#pragma once
// Reaching and working controls the way a user does: Tab through the window, the mouse
// wheel over a control, typing text of any script.
class QString;
class QWidget;

namespace pelto::test {

// Activates window and presses Tab until target has the focus (at most 100 presses);
// false when it never gets it.
bool TabTo(QWidget* window, QWidget* target);

// Turns the mouse wheel over w by steps notches (positive: away from the user).
void Wheel(QWidget* w, int steps);

// Types text into w key by key, as a keyboard (or an input method) delivers it: one key
// event per character, carrying that character (a character beyond U+FFFF as its
// surrogate pair); ASCII characters with their own key codes, a line break as Return.
// QTest::keyClicks takes Latin-1 only.
void TypeText(QWidget* w, const QString& text);

} // namespace pelto::test
