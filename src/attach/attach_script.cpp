#include "attach/attach_script.h"

#include "attach/handler_chain.h"
#include "attach/page_search.h"
#include "common/files.h"
#include "common/numbers.h"
#include "common/scramble.h"
#include "expansion/link_attributes.h"
#include "expansion/menu_lines.h"
#include "library/page_encoding.h"

#include <optional>

namespace pelto {

namespace {

Error MissingTag(const std::string& pageName, const std::string& tag, const std::string& effect,
                 const std::string& keyword) {
    return MakeError(pageName, 0,
                     "the page has no \"" + tag + "\" tag, which the effect \"" + effect +
                         "\" needs for its " + keyword + " item");
}

// Places one item's code into the page at its location keyword. Unknown keywords
// place nothing (the library holds only the ten known ones).
Status PlaceItem(const Workspace& ws, const std::string& keyword, PageText& page,
                 const std::string& code, const std::string& effect, const std::string& pageName) {
    if (keyword == "Head" || keyword == "Body_End") {
        const std::string tag = keyword == "Head" ? "</HEAD" : "</BODY";
        size_t at = page.Find(tag);
        if (at == std::string::npos)
            return MissingTag(pageName, tag, effect, keyword);
        page.Insert(at, code);
    } else if (keyword == "Body_Onload" || keyword == "Body_Top") {
        size_t body = page.Find("<BODY");
        if (body == std::string::npos)
            return MissingTag(pageName, "<BODY", effect, keyword);
        size_t after = body + 5;
        if (keyword == "Body_Onload") {
            if (after >= page.size())
                return MissingTag(pageName, "<BODY ...>", effect, keyword);
            if (page.At(after) == '>')
                page.Insert(after, " " + code); // a bare tag: inside it, before its ">"
            else
                page.Insert(after + 1, code);
        } else {
            size_t close = page.FindChar('>', after);
            if (close == std::string::npos)
                return MissingTag(pageName, "<BODY ...>", effect, keyword);
            page.Insert(close + 1, code);
        }
    } else if (keyword == "Location") {
        size_t at = page.Find("*****", true);
        if (at != std::string::npos)
            page.Replace(at, 5, code);
    } else if (const HandlerKind* handler = FindHandlerKind(keyword)) {
        return ChainHandler(ws, *handler, page, code, effect, pageName);
    }
    return Status::Ok();
}

} // namespace

bool IsPlainFileName(const std::string& name) {
    return !name.empty() && name != "." && name.find('/') == std::string::npos &&
           name.find('\\') == std::string::npos && name.find("..") == std::string::npos;
}

Result<AttachedParts> AttachToParts(Workspace& ws, int16_t scriptIndex, std::string_view pageBytes,
                                    const std::string& pageName) {
    if (scriptIndex < 1 || static_cast<size_t>(scriptIndex) >= ws.Library.size())
        return MakeError("", 0, "no effect is chosen");
    const ScriptRecord& script = ws.Library[static_cast<size_t>(scriptIndex)];
    const std::string& effect = script.Name.empty() ? script.ScriptId : script.Name;

    std::optional<PageText> edited;
    if (ws.Params.KindCount[Mouseover] > 0) {
        Result<std::string> withLinks =
            InsertLinkAttributesText(std::string(pageBytes), ws.Params.Mouseover, pageName);
        if (!withLinks)
            return withLinks.error();
        *withLinks += "\r\n"; // the rewritten copy ends with one more line end
        edited.emplace(std::move(*withLinks));
    } else {
        edited.emplace(pageBytes);
    }
    if (ws.Params.KindCount[Menu] > 0)
        BuildMenuLines(ws);

    // The items are spliced in as pieces; the page is put together once, by the caller.
    AttachedParts result{kOutputPageMark + script.ScriptId + "-->\r\n", std::move(*edited), {}};
    PageText& text = result.text;
    const int16_t items = script.ItemCountValue();
    for (int16_t i = 1; i <= items; ++i) {
        const std::string& keyword = script.ItemLocation[i];
        const bool external = keyword == "External";
        const bool include =
            static_cast<size_t>(i) < script.ItemInclude.size() && script.ItemInclude[i] == 1;
        const bool once =
            static_cast<size_t>(i) < script.ItemOnce.size() && script.ItemOnce[i] == 1;
        const std::string codeFile =
            static_cast<size_t>(i) < script.ItemCodeFile.size() ? script.ItemCodeFile[i] : "";

        std::string fileBytes;
        if (include || external) {
            if (!IsPlainFileName(codeFile))
                return MakeError(script.HeaderFile, 0,
                                 "item " + FormatInt(i) + " of the effect \"" + effect +
                                     "\" names the code file \"" + codeFile +
                                     "\", which is not a plain file name");
            Result<std::string> bytes = ReadScrambledFile(ws.DataFolder() / codeFile);
            if (!bytes)
                return bytes.error();
            fileBytes = std::move(*bytes);
        }
        if (external) {
            const std::string name = static_cast<size_t>(i) < script.ItemExternalName.size()
                                         ? script.ItemExternalName[i]
                                         : "";
            if (!IsPlainFileName(name))
                return MakeError(script.HeaderFile, 0,
                                 "item " + FormatInt(i) + " of the effect \"" + effect +
                                     "\" names the external file \"" + name +
                                     "\"; only a plain file name is allowed");
            std::string target = once ? name : FormatInt(ws.ScriptRepeat) + name;
            result.externals.emplace_back(std::move(target), std::move(fileBytes));
            continue;
        }
        std::string code = include ? std::move(fileBytes) : std::string();
        if (once && ws.ScriptRepeat > 0)
            code.clear(); // common to every copy of the script: written once per page
        if (Status st = PlaceItem(ws, keyword, text, code, effect, pageName); !st)
            return st.error();
    }

    // A page's byte order mark stays its first bytes: before the mark the first line
    // would be a stray character that makes the browser open the body there.
    std::string start;
    for (size_t i = 0; i < kUtf8Mark.size() && i < text.size(); ++i)
        start += text.At(i);
    if (StartsWithUtf8Mark(start)) {
        text.Insert(kUtf8Mark.size(), result.firstLine);
        result.firstLine.clear();
    }
    return result;
}

Result<AttachedPage> AttachToText(Workspace& ws, int16_t scriptIndex, std::string_view pageBytes,
                                  const std::string& pageName) {
    Result<AttachedParts> parts = AttachToParts(ws, scriptIndex, pageBytes, pageName);
    if (!parts)
        return parts.error();
    AttachedPage result;
    result.page = parts->text.Build(parts->firstLine, "\r\n");
    result.externals = std::move(parts->externals);
    return result;
}

Status AttachScript(Workspace& ws, int16_t scriptIndex, const std::filesystem::path& pagePath,
                    const std::filesystem::path& outputPath) {
    Result<std::string> bytes = ReadFileBytes(pagePath);
    if (!bytes)
        return bytes.error();
    Result<AttachedPage> attached =
        AttachToText(ws, scriptIndex, std::move(*bytes), PathText(pagePath));
    if (!attached)
        return attached.error();
    const std::filesystem::path folder = ws.OutputFolder();
    for (const auto& [name, content] : attached->externals)
        if (Status st = WriteFileBytes(folder / name, content); !st)
            return st;
    return WriteFileBytes(outputPath, attached->page);
}

} // namespace pelto
