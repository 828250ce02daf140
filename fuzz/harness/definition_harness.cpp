// The definition reader (and, behind the first NUL byte of the input, the condition
// reader) on any text, followed by the lookups over whatever was read: the parameter
// state stays within its tables and an error names the file and a line of it.
#include "harness/check.h"
#include "harness/harness.h"

#include "common/files.h"
#include "library/definition_reader.h"
#include "library/lookup.h"

#include <cctype>

namespace pelto::fuzz {

namespace {

void CheckState(const ParameterState& p, Check& check) {
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

void CheckLookups(const Workspace& ws, Check& check) {
    auto list = FillParameterList(ws);
    check.That(list.size() <= static_cast<size_t>(ws.Params.ParameterCount),
               "the parameter list has more entries than parameters");
    for (int p = 1; p <= ws.Params.ParameterCount; ++p) {
        const std::string name = ParameterNameAt(ws, p);
        const int16_t kind = GetParameterKind(ws, name);
        const int16_t ordinal = GetParameterOrdinal(ws, name);
        check.That(kind >= 0 && kind <= Var, "a lookup yields kind " + std::to_string(kind));
        check.That(ordinal >= 0 && ordinal <= MaxPerKind,
                   "a lookup yields ordinal " + std::to_string(ordinal));
    }
}

} // namespace

std::string RunDefinition(std::string_view input) {
    const size_t nul = input.find('\0');
    const std::string definition(input.substr(0, nul));
    const bool hasCondition = nul != std::string_view::npos;
    const std::string condition = hasCondition ? std::string(input.substr(nul + 1)) : "";

    Workspace ws;
    ResetParameterState(ws);
    Check check;
    std::vector<Error> warnings;
    Status st = ReadDefinitionText(ws, definition, "fuzz.par", &warnings);
    if (!st) {
        check.NamesFile(st.error(), "fuzz.par");
        const long lines = static_cast<long>(SplitLines(definition).size());
        check.That(st.error().line >= 1 && st.error().line <= lines,
                   "the error's line " + std::to_string(st.error().line) + " is not one of the " +
                       std::to_string(lines) + " lines");
    } else if (hasCondition) {
        Status cs = ReadConditionText(ws, condition, "fuzz.cnd");
        if (!cs)
            check.NamesFile(cs.error(), "fuzz.cnd");
        else
            check.That(ws.Params.Conditions.size() == 1 + SplitLines(condition).size() / 3,
                       "the condition list does not hold one record per three lines");
    }
    CheckState(ws.Params, check);
    CheckLookups(ws, check);
    return check.result();
}

} // namespace pelto::fuzz
