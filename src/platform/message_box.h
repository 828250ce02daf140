#pragma once
// Every message box of Pelto goes through here, so tests can answer them: queue the
// answers with PushTestAnswer and every box then returns the next one without showing
// a window (and is recorded in TestMessages()).
#include <QString>
#include <QStringList>

class QMessageBox;
class QWidget;

namespace pelto::ui {

enum class MessageIcon { None, Critical, Exclamation, Information };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// Shows a modal message box; the title defaults to the program's name. Details, when
// given, are a long text (a list of files) the user can open in a scrollable area below
// the message, so the box keeps a size that fits the screen.
MessageAnswer ShowMessage(QWidget* parent, const QString& text,
                          MessageIcon icon = MessageIcon::None,
                          MessageButtons buttons = MessageButtons::Ok,
                          const QString& title = QString(), const QString& details = QString());

// Fills box as ShowMessage shows it (for ShowMessage itself and for screenshots).
void PrepareMessageBox(QMessageBox& box, const QString& text, MessageIcon icon,
                       MessageButtons buttons, const QString& title, const QString& details);

// Test seam.
void EnableTestMessages();                 // boxes never show; unanswered ones return Ok/No
void PushTestAnswer(MessageAnswer answer); // next answer
QStringList& TestMessages();               // "TITLE|TEXT" of every box shown in test mode
QStringList& TestMessageDetails();         // the details of each of them ("" for none)
void ClearTestMessages();

} // namespace pelto::ui
