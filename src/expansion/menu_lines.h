#pragma once
// Menu array lines: turns the Menu parameter's entry tree (depth shown by leading ">")
// into one JavaScript array statement per entry, into Menu.MenuLines 1..Count, and
// sets ws.TopLevelCount. Captions and links are escaped for a JavaScript string, so
// each line is valid JavaScript whatever the user typed. The expansion inserts them for "MENUDATA".
#include "library/workspace.h"

namespace pelto {

void BuildMenuLines(Workspace& ws);

} // namespace pelto
