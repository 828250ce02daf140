#pragma once
// Link attributes for a Mouseover parameter: writes a blank and the filled Template
// into the opening tag of every link recorded from the sample page.
#include "common/result.h"
#include "library/workspace.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace pelto {

// The template with its first "*" replaced by first and its own first "#" by second,
// both escaped for HTML so they stay inside the attribute. A template without "*"
// comes back unchanged.
std::string FillFirstMarkers(std::string_view templateText, std::string_view first,
                             std::string_view second);

// The page with the attribute text written into every recorded link (in the page's
// encoding, expansion/page_text.h). Fails (naming
// fileName) when a recorded link no longer falls on a link of this page.
Result<std::string> InsertLinkAttributesText(const std::string& page,
                                             const MouseoverParameter& mouseover,
                                             const std::string& fileName);

// Rewrites the page copy at path in place; the file gets one CR LF more at its end.
Status InsertLinkAttributes(const Workspace& ws, const std::filesystem::path& path);

} // namespace pelto
