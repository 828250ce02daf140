#pragma once
// Opening the library and a script the way start-up and script selection do.
#include "cli/commands.h"
#include "library/workspace.h"

#include <string>

namespace pelto::cli {

// Start-up: parameter state reset, handler texts, the sample page default, the library
// and the categories. Damaged scripts are reported on stderr and left out.
int OpenLibrary(const Context& ctx, Workspace& ws);

// Start-up for a command that works with one script: the same, but the library ends with
// the first script whose ScriptId is id (OpenScript finds the same one; the headers after
// it are not read).
int OpenLibraryFor(const Context& ctx, Workspace& ws, const std::string& id);

// Makes the first script whose ScriptId equals id the current one and loads its
// definition.
int OpenScript(Workspace& ws, const std::string& id);

} // namespace pelto::cli
