// Template values of any file read into the base script's parameters. The parameter
// state keeps its shape, an error names the file and a line, and what is then saved
// reads back to the same saved text.
#include "harness/check.h"
#include "harness/fixtures.h"
#include "harness/harness.h"

#include "common/files.h"
#include "library/lookup.h"
#include "templates/parameter_values.h"

namespace pelto::fuzz {

namespace {

// Every parameter's block, as a save of all parameters writes them.
std::string SaveAll(const Workspace& ws) {
    std::string out = "saved\r\n";
    for (int p = 1; p <= ws.Params.ParameterCount; ++p)
        (void)WriteParameterValues(ws, ParameterNameAt(ws, p), out);
    return out;
}

} // namespace

std::string RunTemplate(std::string_view input) {
    const std::vector<std::string> lines = SplitLines(input);
    Workspace ws;
    LoadBase(ws);
    Check check;
    Status st = ReadParameterValues(ws, lines, 1, "fuzz.p01");
    if (!st) {
        check.NamesFile(st.error(), "fuzz.p01");
        check.That(st.error().line >= 2 && st.error().line <= static_cast<long>(lines.size()) + 1,
                   "the error's line " + std::to_string(st.error().line) +
                       " is not a line of the file");
    }
    CheckParameterState(ws.Params, check);

    const std::string saved = SaveAll(ws);
    Workspace again;
    LoadBase(again);
    Status back = ReadParameterValues(again, SplitLines(saved), 1, "saved.p01");
    check.That(back.ok(),
               "a saved template does not load: " + (back ? std::string() : back.error().text()));
    check.That(SaveAll(again) == saved, "a saved template loads to other values");
    return check.result();
}

} // namespace pelto::fuzz
