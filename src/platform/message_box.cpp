#include "platform/message_box.h"

#include "platform/program_facts.h"

#include <QMessageBox>
#include <deque>

namespace pelto::ui {

namespace {
bool testMode = false;
std::deque<MessageAnswer>& Answers() {
    static std::deque<MessageAnswer> answers;
    return answers;
}
} // namespace

QStringList& TestMessages() {
    static QStringList messages;
    return messages;
}

QStringList& TestMessageDetails() {
    static QStringList details;
    return details;
}

void EnableTestMessages() {
    testMode = true;
}
void PushTestAnswer(MessageAnswer answer) {
    Answers().push_back(answer);
}
void ClearTestMessages() {
    TestMessages().clear();
    TestMessageDetails().clear();
    Answers().clear();
}

void PrepareMessageBox(QMessageBox& box, const QString& text, MessageIcon icon,
                       MessageButtons buttons, const QString& title, const QString& details) {
    box.setWindowTitle(title.isEmpty() ? ProgramName() : title);
    box.setText(text);
    if (!details.isEmpty())
        box.setDetailedText(details);
    switch (icon) {
    case MessageIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageIcon::None:
        break;
    }
    if (buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
}

MessageAnswer ShowMessage(QWidget* parent, const QString& text, MessageIcon icon,
                          MessageButtons buttons, const QString& title, const QString& details) {
    const QString caption = title.isEmpty() ? ProgramName() : title;
    if (testMode) {
        TestMessages().append(caption + "|" + text);
        TestMessageDetails().append(details);
        if (!Answers().empty()) {
            MessageAnswer a = Answers().front();
            Answers().pop_front();
            return a;
        }
        return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }
    QMessageBox box(parent);
    PrepareMessageBox(box, text, icon, buttons, title, details);
    const int answer = box.exec();
    if (buttons == MessageButtons::YesNo)
        return answer == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
    return MessageAnswer::Ok;
}

} // namespace pelto::ui
