#include "library/definition_reader.h"

#include "common/files.h"
#include "common/numbers.h"
#include "common/scramble.h"
#include "expansion/colour.h"
#include "library/page_links.h"

#include <algorithm>

namespace pelto {

namespace fs = std::filesystem;

void ResetParameterState(Workspace& ws) {
    ws.Params.ParameterCount = 0;
    ws.Params.KindCount.fill(0);
    ws.Params.LineNumber = 1;
    ws.IntSequence = 1;
}

void ClearParameterRecords(ParameterState& p) {
    p.ParameterRecords.fill(ParameterRecord{});
    p.IntParameters.fill(IntParameter{});
    p.FileParameters.fill(FileParameter{});
    p.ImageParameters.fill(ImageParameter{});
    p.ColourParameters.fill(ColourParameter{});
    p.FontParameters.fill(FontParameter{});
    p.TextParameters.fill(TextParameter{});
    p.ListParameters.fill(ListParameter{});
    p.OptionParameters.fill(OptionParameter{});
    p.PositionParameters.fill(PositionParameter{});
    p.Mouseover = MouseoverParameter{};
    p.Menu = MenuParameter{};
    p.Info = ScriptInfo{};
    p.ReservedName.clear();
    p.Conditions.assign(1, Condition{});
}

void ListParameter::ResetEntries() {
    Entries.assign(Rows > 0 ? Rows : 0, std::vector<std::string>(Columns > 0 ? Columns : 0));
}

void MenuParameter::ResetEntries() {
    size_t n = (Count > 0 ? Count : 0) + 1;
    MenuEntries.assign(n, "");
    MenuCaptions.assign(n, "");
    MenuLinks.assign(n, "");
    MenuLines.assign(n, "");
}

Status RegisterParameter(Workspace& ws, int16_t kind) {
    ParameterState& p = ws.Params;
    if (kind < 0 || kind >= KindCodes)
        return MakeError("", 0, "the kind code " + std::to_string(kind) + " is not one of 0 to 12");
    if (p.ParameterCount >= MaxParameters)
        return MakeError("", 0, "a script has at most 100 parameters");
    if (kind == Reserved || kind == Mouseover) {
        p.KindCount[kind] = 1;
    } else {
        if (p.KindCount[kind] >= MaxPerKind)
            return MakeError("", 0, "a script has at most 30 parameters of one kind");
        ++p.KindCount[kind];
    }
    ++p.ParameterCount;
    p.ParameterRecords[p.ParameterCount] = ParameterRecord{kind, p.KindCount[kind]};
    return Status::Ok();
}

namespace {

// Conversions of one value line; each reports a line that does not hold its type.
struct LineValue {
    const std::string& line;

    std::optional<Error> Int16(int16_t& out) const {
        auto v = ParseInt16(line);
        if (!v)
            return Bad("a whole number from -32768 to 32767");
        out = *v;
        return std::nullopt;
    }
    // A count: a 16-bit whole number that is not negative. out is only set when valid, so a
    // refused count never leaves a table out of step with its count.
    std::optional<Error> Count(int16_t& out, const char* refusal) const {
        int16_t count = 0;
        if (auto e = Int16(count))
            return e;
        if (count < 0)
            return MakeError("", 0, refusal);
        out = count;
        return std::nullopt;
    }
    std::optional<Error> Int32(int32_t& out) const {
        auto v = ParseInt32(line);
        if (!v)
            return Bad("a 32-bit whole number");
        out = *v;
        return std::nullopt;
    }
    std::optional<Error> Real(double& out) const {
        auto v = ParseNumber(line);
        if (!v)
            return Bad("a number");
        out = *v;
        return std::nullopt;
    }
    std::optional<Error> Truth() const {
        if (!ParseTruth(line))
            return Bad("True, False or a number");
        return std::nullopt;
    }
    Error Bad(const std::string& what) const {
        return MakeError("", 0, "expected " + what + ", found \"" + line + "\"");
    }
};

std::optional<Error> ApplyList(ListParameter& r, int L, const std::string& line) {
    LineValue v{line};
    int16_t ignore = 0;
    switch (L) {
    case 1:
    case 2:
        return v.Int16(ignore);
    case 3: {
        // Counts are checked before they are stored, so a refused line leaves the record
        // as it was (its table still matching its counts).
        int16_t columns = 0;
        if (auto e = v.Int16(columns))
            return e;
        if (columns < 1 || columns > 3)
            return MakeError("", 0, "a list has 1 to 3 columns, not " + std::to_string(columns));
        r.Columns = columns;
        r.ResetEntries();
        return std::nullopt;
    }
    case 4:
        r.CaseRule = line;
        return std::nullopt;
    case 5: {
        if (auto e = v.Count(r.Rows, "a list cannot have a negative number of rows"))
            return e;
        r.ResetEntries();
        return std::nullopt;
    }
    case 6:
        r.EntryFormat = line;
        return std::nullopt;
    case 7:
        return v.Int16(r.LineBreak);
    case 8:
        r.ColumnCaption1 = line;
        return std::nullopt;
    case 9:
        r.ColumnCaption2 = line;
        return std::nullopt;
    case 10:
        r.ColumnCaption3 = line;
        return std::nullopt;
    case 11:
        r.Name = line;
        return std::nullopt;
    case 12:
        r.Description = line;
        return std::nullopt;
    default: {
        long i = L - 13;
        if (r.Rows <= 0)
            return MakeError("", 0, "an entry line for a list with no rows");
        long row = i % r.Rows;
        long col = i / r.Rows;
        if (col >= r.Columns || static_cast<size_t>(row) >= r.Entries.size())
            return MakeError("", 0, "more entry lines than the list's rows times columns");
        r.Entries[row][col] = line;
        return std::nullopt;
    }
    }
}

std::optional<Error> ApplyOption(OptionParameter& r, int L, const std::string& line) {
    LineValue v{line};
    switch (L) {
    case 1:
        return v.Int16(r.Selected);
    case 2: {
        if (auto e = v.Count(r.Count, "an option parameter cannot have a negative count"))
            return e;
        r.Captions.assign(r.Count + 1, "");
        r.Texts.assign(r.Count + 1, "");
        return std::nullopt;
    }
    case 3:
        r.Name = line;
        return std::nullopt;
    case 4:
        r.Description = line;
        return std::nullopt;
    default:
        if (L <= 4 + r.Count && static_cast<size_t>(L - 5) < r.Captions.size()) {
            r.Captions[L - 5] = line;
            return std::nullopt;
        }
        if (L <= 4 + 2 * r.Count && static_cast<size_t>(L - 5 - r.Count) < r.Texts.size()) {
            r.Texts[L - 5 - r.Count] = line;
            return std::nullopt;
        }
        return MakeError("", 0, "more option lines than the option count allows");
    }
}

std::optional<Error> ApplyMenu(MenuParameter& r, int L, const std::string& line) {
    LineValue v{line};
    switch (L) {
    case 1: {
        if (auto e = v.Count(r.Count, "a menu cannot have a negative count"))
            return e;
        r.ResetEntries();
        return std::nullopt;
    }
    case 2:
        r.Suffix = line;
        return std::nullopt;
    case 3:
        r.Name = line;
        return std::nullopt;
    case 4:
        r.Description = line;
        return std::nullopt;
    default: {
        if (r.Count <= 0)
            return MakeError("", 0, "a menu entry line for a menu whose count is 0");
        int i = L - 4; // 1-based among the further lines
        if (i <= r.Count)
            r.MenuEntries[i] = line;
        else if (i <= 2 * r.Count)
            r.MenuCaptions[i - r.Count] = line;
        else if (i <= 3 * r.Count)
            r.MenuLinks[i - 2 * r.Count] = line;
        return std::nullopt;
    }
    }
}

} // namespace

Status ApplyDefinitionLine(Workspace& ws, const std::string& line, std::vector<Error>* warnings) {
    ParameterState& p = ws.Params;
    if (p.ParameterCount < 1)
        return MakeError("", 0, "a value line stands before the first \"*\" block");
    const ParameterRecord rec = p.ParameterRecords[p.ParameterCount];
    const int L = p.LineNumber;
    const int n = p.KindCount[rec.Kind];
    LineValue v{line};
    std::optional<Error> err;
    int16_t ignore16 = 0;
    switch (rec.Kind) {
    case Int: {
        IntParameter& r = p.IntParameters[n];
        switch (L) {
        case 1:
            err = v.Int16(r.Min);
            break;
        case 2:
            err = v.Int16(r.Max);
            break;
        case 3:
            err = v.Real(r.LargeChange);
            break;
        case 4:
            r.ValueSuffix = line;
            break;
        case 5:
            err = v.Real(r.Value);
            break;
        case 6:
            r.Name = line;
            break;
        case 7:
            r.Description = line;
            break;
        default:
            break;
        }
        break;
    }
    case File:
    case Image: {
        FileParameter& r = rec.Kind == File ? p.FileParameters[n] : p.ImageParameters[n];
        switch (L) {
        case 1:
            r.Pattern = line;
            break;
        case 2:
            r.FileName = line;
            break;
        case 3:
            r.Name = line;
            break;
        case 4:
            r.Description = line;
            break;
        default:
            break;
        }
        break;
    }
    case Colour: {
        ColourParameter& r = p.ColourParameters[n];
        switch (L) {
        case 1:
            err = v.Int32(r.Colour);
            if (!err)
                SetColourComponents(r);
            break;
        case 2:
            r.Name = line;
            break;
        case 3:
            r.Description = line;
            break;
        default:
            break;
        }
        break;
    }
    case Font: {
        FontParameter& r = p.FontParameters[n];
        switch (L) {
        case 1:
            r.FontName = line;
            break;
        case 2:
            err = v.Int16(r.Bold);
            break;
        case 3:
            err = v.Int16(r.Italic);
            break;
        case 4:
            err = v.Int16(r.Underline);
            break;
        case 5:
            err = v.Int16(r.StrikeThru);
            break;
        case 6:
            err = v.Int16(r.Size);
            break;
        case 7:
            r.Name = line;
            break;
        case 8:
            r.Description = line;
            break;
        default:
            break;
        }
        break;
    }
    case Text: {
        TextParameter& r = p.TextParameters[n];
        switch (L) {
        case 1:
        case 2:
            err = v.Int16(ignore16);
            break;
        case 3:
            r.Value = line;
            break;
        case 6:
            err = v.Truth();
            break;
        case 7:
            r.Name = line;
            break;
        case 8:
            r.Description = line;
            break;
        default:
            break;
        }
        break;
    }
    case List:
        err = ApplyList(p.ListParameters[n], L, line);
        break;
    case Option:
        err = ApplyOption(p.OptionParameters[n], L, line);
        break;
    case Reserved:
        break;
    case Mouseover: {
        MouseoverParameter& r = p.Mouseover;
        switch (L) {
        case 1:
            r.Caption1 = line;
            break;
        case 2:
            r.Caption2 = line;
            break;
        case 3:
            r.Template = line;
            break;
        case 4:
            r.Name = line;
            break;
        case 5:
            r.Description = line;
            if (Status st = ParseLinks(ws); !st.ok() && warnings)
                warnings->push_back(st.error());
            break;
        default:
            break;
        }
        break;
    }
    case Position: {
        PositionParameter& r = p.PositionParameters[n];
        switch (L) {
        case 1:
            err = v.Int16(r.Min1);
            break;
        case 2:
            err = v.Int16(r.Min2);
            break;
        case 3:
            err = v.Int16(r.Max1);
            break;
        case 4:
            err = v.Int16(r.Max2);
            break;
        case 5:
            err = v.Real(r.LargeChange1);
            break;
        case 6:
            err = v.Real(r.LargeChange2);
            break;
        case 7:
            r.ValueSuffix1 = line;
            break;
        case 8:
            r.ValueSuffix2 = line;
            break;
        case 9:
            err = v.Real(r.Value1);
            break;
        case 10:
            err = v.Real(r.Value2);
            break;
        case 11:
            r.Caption1 = line;
            break;
        case 12:
            r.Caption2 = line;
            break;
        case 13:
            r.Name = line;
            break;
        case 14:
            r.Description = line;
            break;
        default:
            break;
        }
        break;
    }
    case Menu:
        err = ApplyMenu(p.Menu, L, line);
        break;
    case Info: {
        ScriptInfo& r = p.Info;
        std::string* fields[] = {&r.IE,     &r.NS,      &r.Repeat, &r.Note,
                                 &r.Author, &r.Support, &r.Size,   &r.Type};
        if (L >= 1 && L <= 8)
            *fields[L - 1] = line;
        break;
    }
    default:
        break;
    }
    if (err)
        return *err;
    return Status::Ok();
}

namespace {

bool IsComment(const std::string& line) {
    return line.size() >= 2 && line[0] == '/' && line[1] == '/';
}

Status Located(const Error& e, const std::string& fileName, long line) {
    return MakeError(fileName, line, e.message);
}

} // namespace

Status ReadDefinitionText(Workspace& ws, const std::string& definitionText,
                          const std::string& fileName, std::vector<Error>* warnings) {
    const std::vector<std::string> lines = SplitLines(definitionText);
    const size_t n = lines.size();
    size_t pos = 0;
    auto next = [&](std::string& line) {
        line = lines[pos++];
        while (IsComment(line) && pos < n)
            line = lines[pos++];
    };
    while (pos < n) {
        std::string line;
        next(line);
        ++ws.Params.LineNumber;
        if (line == "*" && pos < n) {
            next(line);
            auto kind = ToInt16(LeadingNumber(line));
            if (!kind)
                return MakeError(fileName, static_cast<long>(pos), "the kind code is out of range");
            if (Status st = RegisterParameter(ws, *kind); !st)
                return Located(st.error(), fileName, static_cast<long>(pos));
            ws.Params.LineNumber = 1;
            if (pos >= n)
                break; // the kind line was the file's last line: the block has no values
            next(line);
        }
        if (pos < n) {
            if (Status st = ApplyDefinitionLine(ws, line, warnings); !st)
                return Located(st.error(), fileName, static_cast<long>(pos));
        }
    }
    return Status::Ok();
}

Status ReadConditionText(Workspace& ws, const std::string& conditionText,
                         const std::string& fileName) {
    const std::vector<std::string> lines = SplitLines(conditionText);
    ws.Params.Conditions.assign(1, Condition{});
    if (lines.size() % 3 != 0)
        return MakeError(fileName, static_cast<long>(lines.size()),
                         "a condition file holds groups of three lines; this one has " +
                             std::to_string(lines.size()) + " lines");
    for (size_t i = 0; i + 2 < lines.size(); i += 3) {
        Condition c{lines[i], lines[i + 1], lines[i + 2]};
        std::transform(c.Test.begin(), c.Test.end(), c.Test.begin(),
                       [](unsigned char ch) { return static_cast<char>(std::toupper(ch)); });
        ws.Params.Conditions.push_back(std::move(c));
    }
    return Status::Ok();
}

Status LoadScriptDefinition(Workspace& ws, const fs::path& parameterFile,
                            std::vector<Error>* warnings) {
    ResetParameterState(ws);
    ClearParameterRecords(ws.Params);
    auto fail = [&](const Error& e) {
        ResetParameterState(ws);
        ClearParameterRecords(ws.Params);
        return Status(e);
    };
    const std::string name = PathText(parameterFile);
    auto plain = ReadScrambledFile(parameterFile);
    if (!plain)
        return fail(plain.error());
    std::string work = *plain;
    if (Status st = ReadDefinitionText(ws, *plain, name, warnings); !st)
        return fail(st.error());
    std::string condition = name.size() >= 4 ? name.substr(0, name.size() - 4) + ".cnd" : ".cnd";
    std::error_code ec;
    if (fs::exists(condition, ec)) {
        auto cond = ReadScrambledFile(condition);
        if (!cond)
            return fail(cond.error());
        work = *cond;
        if (Status st = ReadConditionText(ws, *cond, condition); !st)
            return fail(st.error());
    } else {
        ws.Params.Conditions.assign(1, Condition{});
    }
    (void)WriteFileBytes(ws.WorkFile(), work); // informational copy of the text read last
    return Status::Ok();
}

} // namespace pelto
