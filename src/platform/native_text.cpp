#include "platform/native_text.h"

#include "platform/text_codec.h"

#include <QFile>
#include <QStringDecoder>

namespace pelto::ui {

QString PathToQString(const std::string& path) {
    return QFile::decodeName(path.c_str());
}

std::string PathFromQString(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString ErrorToQString(const Error& error) {
    const std::string text = error.text();
    // File names are UTF-8 on this platform; a message that is not valid UTF-8 holds
    // Windows-1252 text from a library or page file.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = utf8.decode(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
    if (!utf8.hasError())
        return decoded;
    return FromBytes(text);
}

} // namespace pelto::ui
