// Placeholder expansion of any script code. Before the first NUL byte the input may
// bring a definition of its own (after the base one); behind it is the code. The
// expansion must end, leave lines without both marks alone, and keep its counters in
// range; libFuzzer's timeout and memory limit catch a loop or a blow-up. The code's
// bytes are also used as a text value behind each modifier (escaped as the rules of
// escape_rules.h say, never expanded again) and as text before a placeholder (a lone
// opening mark in it never swallows the placeholder).
#include "harness/check.h"
#include "harness/escape_rules.h"
#include "harness/fixtures.h"
#include "harness/harness.h"

#include "attach/output_folder.h"
#include "common/files.h"
#include "expansion/escaping.h"
#include "expansion/menu_lines.h"
#include "expansion/placeholder.h"
#include "library/definition_reader.h"
#include "library/lookup.h"

namespace pelto::fuzz {

namespace {

std::string Placeholder(const std::string& inner) {
    return kOpeningMark + inner + kClosingMark;
}

// The value of the base text "Greeting" set to the bytes, behind each modifier; and the
// bytes without closing marks in front of a placeholder of the base "Speed".
void CheckModifiersAndLoneMarks(std::string_view bytes, Check& check) {
    Workspace ws;
    LoadBase(ws);
    const int16_t greeting = GetParameterOrdinal(ws, "Greeting");
    check.That(greeting >= 1, "the base definition has no text \"Greeting\"");
    if (greeting < 1)
        return;
    const std::string value(bytes);
    ws.Params.TextParameters[greeting].Value = value;
    const std::string html = ExpandLine(ws, Placeholder("Greeting,TEXTVALUE|HTML"));
    check.That(html == EscapeHtml(value), "|HTML did not give the escaped value");
    CheckHtmlEscaped(html, check);
    const std::string js = ExpandLine(ws, Placeholder("Greeting,textvalue|js"));
    check.That(js == EscapeJs(value), "|JS did not give the escaped value");
    CheckJsEscaped(value, js, check);
    const std::string url = ExpandLine(ws, Placeholder("Greeting,TEXTVALUE|URL"));
    check.That(url == EscapeUrl(value), "|URL did not give the escaped value");
    CheckUrlEscaped(url, check);

    std::string text;
    for (char c : bytes)
        if (c != kClosingMark)
            text += c;
    const std::string speed = ExpandLine(ws, Placeholder("Speed,INTVALUE"));
    check.That(ExpandLine(ws, text + Placeholder("Speed,INTVALUE")) == text + speed,
               "an opening mark in the text before a placeholder swallowed it");
}

} // namespace

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
    CheckModifiersAndLoneMarks(code, check);
    return check.result();
}

} // namespace pelto::fuzz
