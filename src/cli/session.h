#pragma once
// Opening the library and a script the way start-up and script selection do.
#include "cli/commands.h"
#include "library/workspace.h"

#include <string>

namespace pelto::cli {

// Start-up: parameter state reset, handler texts, the sample page default, the library
// and the categories. Damaged scripts are reported on stderr and left out.
int OpenLibrary(const Context& ctx, Workspace& ws);

// Makes the first script whose ScriptId equals id the current one and loads its
// definition.
int OpenScript(Workspace& ws, const std::string& id);

} // namespace pelto::cli
