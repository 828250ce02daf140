#include "platform/native_text.h"

#include "platform/text_codec.h"

#include <QFile>

namespace pelto::ui {

QString PathToQString(const std::string& path) {
    return QFile::decodeName(path.c_str());
}

std::string PathFromQString(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString ErrorToQString(const Error& error) {
    // Paths are the file system's UTF-8 names and the rest is the program's UTF-8 text.
    return FromBytes(error.text());
}

} // namespace pelto::ui
