#pragma once
// Event-handler chaining: the code of the four handler items goes behind a fixed marker
// comment inside a shared handler text. The first such item of an event on a page
// brings the handler text into the page's head; later items, of this script and of
// scripts applied afterwards, add their code directly behind the marker.
#include "attach/page_search.h"
#include "common/result.h"
#include "library/workspace.h"

#include <string>
#include <string_view>

namespace pelto {

struct HandlerKind {
    const char* keyword;  // the item location keyword, e.g. "Mouse_Handler"
    const char* marker;   // the marker line, compared exactly
    const char* fileName; // the handler file of the data folder, for messages
    std::string Workspace::*text;
};

// The handler of that location keyword (exact comparison), or nullptr.
const HandlerKind* FindHandlerKind(std::string_view keyword);

// Inserts code behind the handler's marker in page. When the page has no marker yet,
// the handler text is first put in front of the first "</HEAD" (any case). Fails when
// the handler text lacks its marker or the page has no "</HEAD"; the page is then
// unchanged. effectName and pageName are used in messages.
Status ChainHandler(const Workspace& ws, const HandlerKind& handler, PageText& page,
                    std::string_view code, const std::string& effectName,
                    const std::string& pageName);

} // namespace pelto
