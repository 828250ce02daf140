// Placeholder expansion of any script code. Before the first NUL byte the input may
// bring a definition of its own (after the base one); behind it is the code. The
// expansion must end, leave lines without both marks alone, and keep its counters in
// range; libFuzzer's timeout and memory limit catch a loop or a blow-up.
#include "harness/check.h"
#include "harness/fixtures.h"
#include "harness/harness.h"

#include "attach/output_folder.h"
#include "common/files.h"
#include "expansion/menu_lines.h"
#include "expansion/placeholder.h"
#include "library/definition_reader.h"

namespace pelto::fuzz {

std::string RunExpand(std::string_view input) {
    Workspace ws;
    LoadBase(ws);
    std::string_view code = input;
    const size_t nul = input.find('\0');
    if (nul != std::string_view::npos) {
        ResetParameterState(ws);
        ClearParameterRecords(ws.Params);
        (void)ReadDefinitionText(ws, std::string(input.substr(0, nul)), "fuzz.par");
        code = input.substr(nul + 1);
    }
    ws.ScriptRepeat = static_cast<int16_t>(input.size() % 26);
    BuildMenuLines(ws);

    Check check;
    CheckParameterState(ws.Params, check);
    const std::string out = ExpandText(ws, code);
    check.That(out.size() >= 2 && out.compare(out.size() - 2, 2, "\r\n") == 0,
               "the expanded file does not end with a line end");
    for (const std::string& line : SplitLines(code)) {
        if (line.find(kOpeningMark) == std::string::npos ||
            line.find(kClosingMark) == std::string::npos)
            check.That(ExpandLine(ws, line) == line, "a line without both marks was changed");
    }
    check.That(ws.VarNames.size() <= 256, "more than 255 generated names");
    check.That(ws.IntSequence >= 1, "the sequence counter went below 1");
    return check.result();
}

} // namespace pelto::fuzz
