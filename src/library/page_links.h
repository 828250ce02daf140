#pragma once
// Collects the links (<A ...>...</A>) of the sample page for the Mouseover parameter.
#include "common/result.h"
#include "library/workspace.h"

#include <string>
#include <vector>

namespace pelto {

// Scans page bytes; the table holds exactly the links found (index 0 empty). On a
// UTF-8 page (IsUtf8Page) the link texts are decoded into Windows-1252, a character it
// cannot write becoming "&#N;"; the offsets are always byte offsets of the page. Fails
// when the page ends right after a "<" or inside a link; fileName is used in errors.
Result<std::vector<PageLink>> ScanLinks(const std::string& page, const std::string& fileName);

// Rebuilds the Mouseover link table from ws.SampleFile. On failure the table is left
// empty and the error names the page.
Status ParseLinks(Workspace& ws);

} // namespace pelto
