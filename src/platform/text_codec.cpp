#include "platform/text_codec.h"

#include "common/cp1252.h"

namespace pelto::ui {

QString FromBytes(const std::string& bytes) {
    return QString::fromStdString(Cp1252ToUtf8(bytes));
}

std::optional<std::string> ToBytes(const QString& text) {
    return Utf8ToCp1252(text.toStdString());
}

QString FirstUnwritable(const QString& text) {
    const std::string utf8 = text.toStdString();
    size_t bad = 0;
    if (Utf8ToCp1252(utf8, &bad))
        return QString();
    return QString::fromStdString(utf8.substr(bad)).left(1);
}

} // namespace pelto::ui
