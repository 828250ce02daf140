#pragma once
// Collects the links (<A ...>...</A>) of the sample page for the Mouseover parameter.
#include "common/result.h"
#include "library/workspace.h"

#include <string>
#include <string_view>
#include <vector>

namespace pelto {

// Scans page bytes; the table holds exactly the links found (index 0 empty). Link texts
// are decoded from the page's encoding (IsUtf8Page) into UTF-8, every character kept (a
// byte of a UTF-8 page that is no character becomes U+FFFD); the offsets are always
// byte offsets of the page. Fails
// when the page ends right after a "<" or inside a link; fileName is used in errors.
Result<std::vector<PageLink>> ScanLinks(const std::string& page, const std::string& fileName);

// The characters of a link text: numeric character references ("&#321;", "&#x141;")
// read as the characters they stand for, so a text that a Windows-1252 page (or an
// older template) writes with references equals the same text written out.
std::string LinkTextCharacters(std::string_view text);

// True when two link texts hold the same characters.
bool SameLinkText(std::string_view a, std::string_view b);

// Rebuilds the Mouseover link table from ws.SampleFile. On failure the table is left
// empty and the error names the page.
Status ParseLinks(Workspace& ws);

} // namespace pelto
