#include "attach/handler_chain.h"

#include "attach/page_search.h"

namespace pelto {

namespace {

const HandlerKind kHandlers[] = {
    {"Mouse_Handler",
     "/* next mouse handler code goes here, sfljhadlrjtlkhg;kkdhkjqewjklwf do not change this "
     "line in any case */",
     "mousehandler.js", &Workspace::MouseHandlerText},
    {"Onload_Handler",
     "/* next onload handler code goes here, 89ui24809450u23hflkjwekkjd934 do not change this "
     "line in any case */",
     "onloadhandler.js", &Workspace::OnloadHandlerText},
    {"Onscroll_Handler",
     "/* next scroll handler code goes here, mlkdfjlkweij5tphjlkweqkjsdjklg do not change this "
     "line in any case */",
     "onscrollhandler.js", &Workspace::OnscrollHandlerText},
    {"Onresize_Handler",
     "/* next resize handler code goes here, mkqwlkskjldsafjl3t9iyeiou4w5ukhtr do not change "
     "this line in any case */",
     "onresizehandler.js", &Workspace::OnresizeHandlerText},
};

} // namespace

const HandlerKind* FindHandlerKind(std::string_view keyword) {
    for (const HandlerKind& h : kHandlers)
        if (keyword == h.keyword)
            return &h;
    return nullptr;
}

Status ChainHandler(const Workspace& ws, const HandlerKind& handler, PageText& page,
                    std::string_view code, const std::string& effectName,
                    const std::string& pageName) {
    const std::string_view marker = handler.marker;
    size_t at = page.Find(marker, true);
    if (at == std::string::npos) {
        // First handler item of this event on the page: bring in the handler text.
        const std::string& text = ws.*handler.text;
        if (text.find(marker) == std::string::npos)
            return MakeError(std::string(handler.fileName), 0,
                             "the handler file lacks its marker line, so the effect \"" +
                                 effectName + "\" cannot be chained into the page");
        size_t head = page.Find("</HEAD");
        if (head == std::string::npos)
            return MakeError(pageName, 0,
                             "the page has no \"</HEAD\" tag, which the effect \"" + effectName +
                                 "\" needs for its " + handler.keyword + " item");
        page.Insert(head, "\r\n" + text + "\r\n");
        at = page.Find(marker, true);
    }
    // The newest code stands directly behind the marker, in front of older code.
    std::string insert;
    insert.reserve(marker.size() + code.size() + 4);
    insert += "\r\n";
    insert += marker;
    insert += "\r\n";
    insert += code;
    page.Replace(at, marker.size(), insert);
    return Status::Ok();
}

} // namespace pelto
