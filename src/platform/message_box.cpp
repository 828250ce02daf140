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

void EnableTestMessages() {
    testMode = true;
}
void PushTestAnswer(MessageAnswer answer) {
    Answers().push_back(answer);
}
void ClearTestMessages() {
    TestMessages().clear();
    Answers().clear();
}

MessageAnswer ShowMessage(QWidget* parent, const QString& text, MessageIcon icon,
                          MessageButtons buttons, const QString& title) {
    const QString caption = title.isEmpty() ? ProgramName() : title;
    if (testMode) {
        TestMessages().append(caption + "|" + text);
        if (!Answers().empty()) {
            MessageAnswer a = Answers().front();
            Answers().pop_front();
            return a;
        }
        return buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }
    QMessageBox box(parent);
    box.setWindowTitle(caption);
    box.setText(text);
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
        return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MessageAnswer::Ok;
}

} // namespace pelto::ui
