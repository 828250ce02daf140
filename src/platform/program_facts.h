#pragma once
// Name, version and identity of the program, and where this run finds its files.
#include "common/program_folders.h"

#include <QString>

namespace pelto::ui {

QString ProgramName(); // "Pelto"
QString MakerName();   // "Norvale"
int VersionMajor();
int VersionMinor();
int VersionRevision();
QString VersionText(); // "1.0.52"

// The desktop entry's and icon's name: "com.norvale.Pelto".
QString DesktopEntryId();

// Sets the application name, version and desktop entry on the running application, so
// that the standard application-data location is the per-user folder that
// ProgramFoldersOfThisRun chooses and the desktop matches windows to the menu entry.
void ApplyProgramIdentity();

// The layout rule of common/program_folders.h for the running executable.
ProgramFolders ProgramFoldersOfThisRun();

} // namespace pelto::ui
