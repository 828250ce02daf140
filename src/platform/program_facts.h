#pragma once
// Name and version of the program.
#include <QString>

namespace pelto::ui {

QString ProgramName(); // "Pelto"
QString MakerName();   // "Norvale"
int VersionMajor();
int VersionMinor();
int VersionRevision();
QString VersionText(); // "1.0.52"

} // namespace pelto::ui
