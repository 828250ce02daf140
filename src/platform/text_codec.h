#pragma once
// The one place where the windows convert between the core's texts (UTF-8 in a
// std::string) and QString.
#include <QString>

#include <string>

namespace pelto::ui {

// A core text for showing (a byte that is no UTF-8 shows as U+FFFD).
QString FromBytes(const std::string& text);

// A text typed or chosen in a window as the core holds it; every character is kept
// (a lone surrogate, which no file can hold, becomes U+FFFD).
std::string ToBytes(const QString& text);

} // namespace pelto::ui
