#include "harness/fixtures.h"

#include "library/definition_reader.h"

namespace pelto::fuzz {

namespace {

std::string CrLf(std::initializer_list<const char*> lines) {
    std::string out;
    for (const char* l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

} // namespace

const std::string& BaseDefinition() {
    static const std::string text = CrLf({"*",
                                          "0",
                                          "1",
                                          "100",
                                          "10",
                                          "px",
                                          "25",
                                          "Speed",
                                          "How fast",
                                          "*",
                                          "3",
                                          "255",
                                          "Colour",
                                          "Text colour",
                                          "*",
                                          "5",
                                          "0",
                                          "80",
                                          "Hello \xAEName,TEXTVALUE\xAF",
                                          "",
                                          "",
                                          "True",
                                          "Greeting",
                                          "The text",
                                          "*",
                                          "5",
                                          "0",
                                          "80",
                                          "\xAEGreeting,TEXTVALUE\xAF again",
                                          "",
                                          "",
                                          "True",
                                          "Name",
                                          "Loops",
                                          "*",
                                          "6",
                                          "0",
                                          "0",
                                          "2",
                                          "UCASE",
                                          "3",
                                          "<li>#*</li>",
                                          "1",
                                          "A",
                                          "B",
                                          "",
                                          "Items",
                                          "Items",
                                          "a",
                                          "",
                                          "c",
                                          "d",
                                          "e",
                                          "f",
                                          "*",
                                          "7",
                                          "1",
                                          "2",
                                          "Mode",
                                          "The mode",
                                          "One",
                                          "Two",
                                          "one",
                                          "two",
                                          "*",
                                          "4",
                                          "Arial",
                                          "1",
                                          "0",
                                          "0",
                                          "0",
                                          "12",
                                          "Font",
                                          "The font",
                                          "*",
                                          "1",
                                          "*.js",
                                          "a.js",
                                          "File",
                                          "A file",
                                          "*",
                                          "2",
                                          "*.gif",
                                          "a.gif",
                                          "Pic",
                                          "A picture",
                                          "*",
                                          "10",
                                          "0",
                                          "0",
                                          "100",
                                          "100",
                                          "10",
                                          "10",
                                          "px",
                                          "px",
                                          "5",
                                          "6",
                                          "X",
                                          "Y",
                                          "Pos",
                                          "Where",
                                          "*",
                                          "11",
                                          "3",
                                          "sfx",
                                          "Menu",
                                          "The menu",
                                          "Home",
                                          ">Sub",
                                          ">>Deep",
                                          "H",
                                          "S",
                                          "D",
                                          "index.htm",
                                          "sub.htm",
                                          "deep.htm",
                                          "*",
                                          "9",
                                          "First",
                                          "Second",
                                          "title=\"*\" data-second=\"#\"",
                                          "Tips",
                                          "Link tips",
                                          "*",
                                          "12",
                                          "yes",
                                          "yes",
                                          "yes",
                                          "note",
                                          "me",
                                          "none",
                                          "1k",
                                          "JS",
                                          "-"});
    return text;
}

const std::string& BaseConditions() {
    static const std::string text = CrLf({"Items", "notnull", "<b>#</b>"});
    return text;
}

void LoadBase(Workspace& ws) {
    ResetParameterState(ws);
    (void)ReadDefinitionText(ws, BaseDefinition(), "base.par");
    (void)ReadConditionText(ws, BaseConditions(), "base.cnd");
    ScriptRecord script;
    script.ScriptId = "pelto.fuzz";
    script.Name = "Fuzz";
    script.IdPrefix = "pF";
    script.IdStride = 1000;
    ws.Library.assign(1, ScriptRecord{});
    ws.Library.push_back(script);
    ws.CurrentScriptIndex = 1;
}

void CheckParameterState(const ParameterState& p, Check& check) {
    check.That(p.ParameterCount >= 0 && p.ParameterCount <= MaxParameters,
               "ParameterCount " + std::to_string(p.ParameterCount) + " is out of range");
    for (int k = 0; k < KindCodes; ++k) {
        const int limit = (k == Reserved || k == Mouseover) ? 1 : MaxPerKind;
        check.That(p.KindCount[k] >= 0 && p.KindCount[k] <= limit,
                   "the count of kind " + std::to_string(k) + " is out of range");
    }
    for (int i = 1; i <= p.ParameterCount && i <= MaxParameters; ++i) {
        const ParameterRecord& r = p.ParameterRecords[i];
        check.That(r.Kind >= 0 && r.Kind < KindCodes,
                   "a directory entry has kind " + std::to_string(r.Kind));
        if (r.Kind >= 0 && r.Kind < KindCodes)
            check.That(r.Ordinal >= 1 && r.Ordinal <= p.KindCount[r.Kind],
                       "directory entry " + std::to_string(i) + " has ordinal " +
                           std::to_string(r.Ordinal));
    }
    for (int i = 1; i <= p.KindCount[List] && i <= MaxPerKind; ++i) {
        const ListParameter& l = p.ListParameters[i];
        check.That(l.Entries.size() == static_cast<size_t>(l.Rows > 0 ? l.Rows : 0),
                   "a list's entry table does not have Rows rows");
        for (const auto& row : l.Entries)
            check.That(row.size() == static_cast<size_t>(l.Columns > 0 ? l.Columns : 0),
                       "a list's entry row does not have Columns columns");
    }
    for (int i = 1; i <= p.KindCount[Option] && i <= MaxPerKind; ++i) {
        const OptionParameter& o = p.OptionParameters[i];
        check.That(
            o.Captions.size() == o.Texts.size() &&
                (o.Captions.empty() || o.Captions.size() == static_cast<size_t>(o.Count) + 1),
            "an option's captions and texts do not match its count");
    }
    const MenuParameter& m = p.Menu;
    const size_t menuSize = static_cast<size_t>(m.Count > 0 ? m.Count : 0) + 1;
    check.That(m.MenuEntries.size() == menuSize && m.MenuCaptions.size() == menuSize &&
                   m.MenuLinks.size() == menuSize && m.MenuLines.size() == menuSize,
               "the menu arrays do not match the menu count");
    check.That(!p.Conditions.empty() && p.Conditions[0].Parameter.empty(),
               "element 0 of the condition list is missing or used");
    for (size_t i = 1; i < p.Conditions.size(); ++i)
        for (char c : p.Conditions[i].Test)
            check.That(!(c >= 'a' && c <= 'z'), "a condition test is not upper case");
}

} // namespace pelto::fuzz
