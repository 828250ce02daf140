#pragma once
// The one place where the windows convert between the core's Windows-1252 bytes and
// QString.
#include <QString>

#include <optional>
#include <string>

namespace pelto::ui {

QString FromBytes(const std::string& bytes);

// No value when the text holds a character Windows-1252 cannot write.
std::optional<std::string> ToBytes(const QString& text);

// The first character of text that Windows-1252 cannot write ("" when none).
QString FirstUnwritable(const QString& text);

} // namespace pelto::ui
