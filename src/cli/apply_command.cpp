// apply: what the apply dialog's "Do it" does, driven from the command line.
#include "attach/applied_effects.h"
#include "attach/do_it.h"
#include "attach/recorded_run.h"
#include "cli/batch_command.h"
#include "cli/commands.h"
#include "cli/session.h"
#include "cli/terminal_text.h"
#include "common/files.h"
#include "common/numbers.h"
#include "expansion/colour.h"
#include "library/lookup.h"
#include "templates/parameter_values.h"
#include "templates/template_files.h"

#include <cstdio>
#include <optional>

namespace fs = std::filesystem;

namespace pelto::cli {

namespace {

struct ApplyArgs {
    std::string scriptId;
    std::string page;
    BatchArgs batch;
    std::vector<std::string> valueFiles;
    std::vector<std::pair<std::string, std::string>> sets; // name, value
    int16_t repeat = 0;
    OutputOption mode = OutputOption::Preview;
    bool modeGiven = false;
    bool yes = false;
    bool replace = false; // take out the effect's application first, then apply it again
    int which = 1;        // the application replaced: 1 for the newest
};

// Parses the arguments; returns an error message for a usage error.
std::optional<std::string> ParseApplyArgs(const std::vector<std::string>& args, ApplyArgs& out) {
    std::vector<std::string> positional;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        // After "--" every argument is a script id or a page, even one named like an
        // option (a file "--yes" that the shell put in the list).
        if (optionsEnded) {
            positional.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
            continue;
        }
        auto next = [&](std::string& value) {
            if (i + 1 >= args.size())
                return false;
            value = args[++i];
            return true;
        };
        std::string value;
        if (a == "--values") {
            if (!next(value))
                return "--values needs a FILE";
            out.valueFiles.push_back(value);
        } else if (a == "--set") {
            if (!next(value))
                return "--set needs NAME=VALUE";
            size_t eq = value.find('=');
            if (eq == std::string::npos || eq == 0)
                return "--set needs NAME=VALUE, not \"" + value + "\"";
            out.sets.emplace_back(value.substr(0, eq), value.substr(eq + 1));
        } else if (a == "--repeat") {
            if (!next(value))
                return "--repeat needs a number from 0 to 25";
            auto n = ParseNumber(value);
            if (!n || *n != static_cast<int>(*n) || *n < 0 || *n > 25)
                return "--repeat needs a whole number from 0 to 25, not \"" + value + "\"";
            out.repeat = static_cast<int16_t>(*n);
        } else if (a == "--mode") {
            if (!next(value))
                return "--mode needs preview, copy or overwrite";
            if (value == "preview")
                out.mode = OutputOption::Preview;
            else if (value == "copy")
                out.mode = OutputOption::Copy;
            else if (value == "overwrite")
                out.mode = OutputOption::Overwrite;
            else
                return "--mode needs preview, copy or overwrite, not \"" + value + "\"";
            out.modeGiven = true;
        } else if (a == "--yes") {
            out.yes = true;
        } else if (a == "--replace") {
            out.replace = true;
        } else if (a == "--which") {
            if (!next(value))
                return "--which needs a number of at least 1";
            auto n = ParseNumber(value);
            if (!n || *n != static_cast<int>(*n) || *n < 1 || *n > 26)
                return "--which needs a whole number from 1 to 26, not \"" + value + "\"";
            out.which = static_cast<int>(*n);
        } else if (a == "--recursive") {
            if (!next(value))
                return "--recursive needs a folder";
            out.batch.folders.push_back(value);
        } else if (a == "--glob") {
            if (!next(value))
                return "--glob needs a pattern";
            out.batch.patterns.push_back(value);
        } else if (a == "--jobs") {
            if (!next(value))
                return "--jobs needs a number of at least 1";
            auto n = ParseNumber(value);
            if (!n || *n != static_cast<int>(*n) || *n < 1 || *n > 256)
                return "--jobs needs a whole number from 1 to 256, not \"" + value + "\"";
            out.batch.jobs = static_cast<unsigned>(*n);
        } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
            return "unknown option \"" + a + "\"";
        } else {
            positional.push_back(a);
        }
    }
    if (!out.batch.patterns.empty() && out.batch.folders.empty())
        return "--glob goes with --recursive DIR";
    if (out.which != 1 && !out.replace)
        return "--which goes with --replace";
    if (out.replace && !out.modeGiven) { // replacing is writing the page: it is what was asked
        out.mode = OutputOption::Overwrite;
        out.yes = true;
    }
    if (positional.empty() || (positional.size() < 2 && out.batch.folders.empty()))
        return "apply takes SCRIPTID and PAGE (or several pages, or --recursive DIR)";
    out.scriptId = positional[0];
    out.batch.pages.assign(positional.begin() + 1, positional.end());
    if (out.batch.pages.size() == 1 && out.batch.folders.empty())
        out.page = out.batch.pages[0];
    return std::nullopt;
}

std::optional<int32_t> ParseHexColour(std::string text) {
    if (!text.empty() && text[0] == '#')
        text.erase(0, 1);
    if (text.size() != 6)
        return std::nullopt;
    int32_t rgb = 0;
    for (char c : text) {
        int d = (c >= '0' && c <= '9')   ? c - '0'
                : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                         : -1;
        if (d < 0)
            return std::nullopt;
        rgb = rgb * 16 + d;
    }
    // #RRGGBB to the stored layout: red in the lowest byte.
    return ((rgb >> 16) & 255) | (rgb & 0xFF00) | ((rgb & 255) << 16);
}

// Applies one --set; returns a usage message when the name or the value's form is wrong.
std::optional<std::string> ApplySet(Workspace& ws, const std::string& name,
                                    const std::string& value) {
    const int16_t kind = GetParameterKind(ws, name);
    const int16_t n = GetParameterOrdinal(ws, name);
    const bool declared = n >= 1 && n <= MaxPerKind && kind >= 0 && kind < KindCodes &&
                          n <= ws.Params.KindCount[kind];
    const std::string bad = "--set " + name + ": ";
    ParameterState& p = ws.Params;
    switch (declared ? kind : -1) {
    case Int: {
        auto v = ParseNumber(value);
        if (!v)
            return bad + "\"" + value + "\" is not a number";
        p.IntParameters[n].Value = *v;
        return std::nullopt;
    }
    case Text:
        p.TextParameters[n].Value = value;
        return std::nullopt;
    case Option: {
        OptionParameter& o = p.OptionParameters[n];
        auto v = ParseInt16(value);
        if (!v || std::to_string(*v) != value || *v < 0 || *v >= o.Count)
            return bad + "\"" + value + "\" is not an option number from 0 to " +
                   FormatInt(o.Count - 1);
        o.Selected = *v;
        return std::nullopt;
    }
    case Colour: {
        auto c = ParseHexColour(value);
        if (!c)
            return bad + "\"" + value + "\" is not a colour of the form #RRGGBB";
        p.ColourParameters[n].Colour = *c;
        SetColourComponents(p.ColourParameters[n]);
        return std::nullopt;
    }
    case Position: {
        size_t comma = value.find(',');
        std::optional<double> v1, v2;
        if (comma != std::string::npos) {
            v1 = ParseNumber(value.substr(0, comma));
            v2 = ParseNumber(value.substr(comma + 1));
        }
        if (!v1 || !v2)
            return bad + "\"" + value + "\" is not a position of the form V1,V2";
        p.PositionParameters[n].Value1 = *v1;
        p.PositionParameters[n].Value2 = *v2;
        return std::nullopt;
    }
    case File:
    case Image: {
        fs::path path(value);
        if (value.empty() || !path.has_filename())
            return bad + "\"" + value + "\" is not a file path";
        std::error_code ec;
        path = fs::absolute(path, ec);
        FileParameter& f = kind == File ? p.FileParameters[n] : p.ImageParameters[n];
        f.FileName = path.filename().string();
        f.Path = path.parent_path().string();
        if (f.Path.empty() || f.Path.back() != fs::path::preferred_separator)
            f.Path += fs::path::preferred_separator;
        return std::nullopt;
    }
    default:
        break;
    }
    if (!declared && kind != Mouseover && kind != Menu && kind != Info)
        return "--set: the effect has no parameter named \"" + name + "\"";
    return bad + "this kind of parameter cannot be set from the command line";
}

// True for a File or Image parameter of the script: its value is a path, taken as the
// file system's own bytes whatever the locale (a folder named "Łódź" is found by them).
bool IsPathParameter(const Workspace& ws, const std::string& name) {
    const int16_t kind = GetParameterKind(ws, name);
    return (kind == File || kind == Image) && GetParameterOrdinal(ws, name) >= 1;
}

// The path made absolute, so the folder it is taken from is the one the user is in.
std::string AbsolutePath(const std::string& typed) {
    if (typed.empty())
        return typed;
    std::error_code ec;
    fs::path path = fs::absolute(typed, ec);
    return ec ? typed : path.string();
}

// The values of --values files, then of --set; prints the problem and returns its exit
// code when one cannot be applied.
int ApplyTypedValues(Workspace& ws, const ApplyArgs& a) {
    for (const std::string& file : a.valueFiles)
        if (Status st = ReadTemplateFile(ws, file); !st)
            return Report(kFailure, st.error().text());
    for (const auto& [typedName, typedValue] : a.sets) {
        std::string problem;
        std::optional<std::string> name = FromTerminal(typedName, problem);
        std::optional<std::string> value;
        if (name && IsPathParameter(ws, *name))
            value = AbsolutePath(typedValue); // a file name's own bytes, in any locale
        else if (name)
            value = FromTerminal(typedValue, problem);
        if (!value)
            return Report(kUsage, "--set " + typedName + ": " + problem);
        if (auto usage = ApplySet(ws, *name, *value))
            return Report(kUsage, ToTerminal(*usage));
    }
    return kOk;
}

} // namespace

int RunApply(const Context& ctx, const std::vector<std::string>& args) {
    ApplyArgs a;
    if (auto usage = ParseApplyArgs(args, a))
        return Report(kUsage, *usage);

    Workspace ws;
    std::error_code ec;
    // The page is the sample page before the definition is read, so Mouseover links
    // come from it (in a batch: from the first page given).
    const std::string first = !a.page.empty()          ? a.page
                              : !a.batch.pages.empty() ? a.batch.pages[0]
                                                       : std::string();
    if (!first.empty())
        ws.SampleFile = fs::absolute(first, ec).lexically_normal().string();
    if (int code = OpenLibraryFor(ctx, ws, a.scriptId); code != kOk)
        return code;
    if (int code = OpenScript(ws, a.scriptId); code != kOk)
        return code;
    if (int code = ApplyTypedValues(ws, a); code != kOk)
        return code;

    decltype(DoItRequest::startFrom) startFrom;
    if (a.replace) {
        // Each page starts from the values of the application replaced, then takes the
        // values typed; it keeps that application's repeat count.
        const fs::path records = AppliedRecordsFolder(ws);
        startFrom = [records, a](Workspace& w, const std::string& page,
                                 std::string_view bytes) -> Result<std::string> {
            Result<TakenOut> out = TakeOutApplication(records, page, bytes, a.scriptId, a.which);
            if (!out)
                return out.error();
            if (Status st = ReadParameterValues(w, SplitLines(out->record.values), 0,
                                                PathText(AppliedRecordFile(records, page)));
                !st)
                return st.error();
            w.ScriptRepeat = out->record.repeat;
            if (ApplyTypedValues(w, a) != kOk)
                return MakeError(page, 0, "the values given cannot be applied");
            return std::move(out->text);
        };
    }
    if (a.page.empty())
        return RunBatch(ws, a.batch, a.mode, a.repeat, a.yes, startFrom);

    DoItRequest request;
    request.option = a.mode;
    request.repeat = a.repeat;
    request.startFrom = startFrom;
    const bool yes = a.yes;
    request.confirmOverwrite = [yes] { return yes; };
    Result<RecordedOutcome> recorded = DoItRecorded(
        ws, request, FileLock::Wait::Yes, [](const std::string& note) { Report(kOk, note); });
    if (!recorded)
        return Report(kFailure, recorded.error().text());
    const DoItOutcome* outcome = &recorded->outcome;
    for (const std::string& note : outcome->notes)
        Report(kOk, note);
    if (outcome->overwriteDeclined) {
        Report(kOk, "the page was not overwritten (give --yes to overwrite it); the result is " +
                        PathText(ws.OutputFolder() / "result.htm"));
        return kOk;
    }
    std::printf("%s\n", outcome->pageToOpen.c_str());
    return kOk;
}

} // namespace pelto::cli
