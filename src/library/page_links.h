#pragma once
// Collects the links (<A ...>...</A>) of the sample page for the Mouseover parameter.
#include "common/result.h"
#include "library/workspace.h"

#include <string>
#include <vector>

namespace pelto {

// Scans page bytes; the table holds exactly the links found (index 0 empty). Fails
// when the page ends right after a "<" or inside a link; fileName is used in errors.
Result<std::vector<PageLink>> ScanLinks(const std::string& page, const std::string& fileName);

// Rebuilds the Mouseover link table from ws.SampleFile. On failure the table is left
// empty and the error names the page.
Status ParseLinks(Workspace& ws);

} // namespace pelto
