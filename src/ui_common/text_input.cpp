#include "ui_common/text_input.h"

#include "platform/message_box.h"
#include "platform/text_codec.h"

namespace pelto::ui {

QString UnwritableTextMessage(const QString& text) {
    const QString bad = FirstUnwritable(text);
    if (bad.isEmpty())
        return QString();
    return QStringLiteral("The character \"%1\" cannot be stored: the script files hold only "
                          "Western (Windows-1252) characters. Please remove or replace it.")
        .arg(bad);
}

bool AcceptTypedText(QWidget* parent, const QString& text, std::string& out) {
    std::optional<std::string> bytes = ToBytes(text);
    if (!bytes) {
        ShowMessage(parent, UnwritableTextMessage(text), MessageIcon::Exclamation);
        return false;
    }
    out = std::move(*bytes);
    return true;
}

} // namespace pelto::ui
