// The definition reader (and, behind the first NUL byte of the input, the condition
// reader) on any text, followed by the lookups over whatever was read: the parameter
// state stays within its tables and an error names the file and a line of it.
#include "harness/check.h"
#include "harness/fixtures.h"
#include "harness/harness.h"

#include "common/files.h"
#include "library/definition_reader.h"
#include "library/lookup.h"

#include <cctype>

namespace pelto::fuzz {

namespace {

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
    CheckParameterState(ws.Params, check);
    CheckLookups(ws, check);
    return check.result();
}

} // namespace pelto::fuzz
