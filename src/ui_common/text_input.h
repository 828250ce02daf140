#pragma once
// Texts typed on the page go into files of single-byte Windows-1252 text. A text with
// a character that cannot be written there is refused with a message, never stored
// garbled.
#include <QString>

#include <string>

class QWidget;

namespace pelto::ui {

// True and out set when text can be stored; otherwise shows the refusal message
// (naming the first such character) and leaves out alone.
bool AcceptTypedText(QWidget* parent, const QString& text, std::string& out);

// The refusal message for text ("" when the whole text can be stored).
QString UnwritableTextMessage(const QString& text);

} // namespace pelto::ui
