#pragma once
// File paths and core error texts between the core's bytes and QString. The core keeps
// paths as the platform's own file-name bytes (what std::filesystem takes; UTF-8 here):
// a page chosen in a window must reach the core byte for byte.
#include "common/result.h"

#include <QString>
#include <string>

namespace pelto::ui {

// A path held by the core, for showing or storing in the settings.
QString PathToQString(const std::string& path);

// A path chosen in a window, as the core's file-name bytes.
std::string PathFromQString(const QString& path);

// A core error for a message box: paths in it are file-name bytes, the rest is the
// program's UTF-8 text.
QString ErrorToQString(const Error& error);

} // namespace pelto::ui
