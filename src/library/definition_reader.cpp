#include "library/definition_reader.h"

#include "common/file_text.h"
#include "common/files.h"
#include "common/numbers.h"
#include "common/scramble.h"
#include "library/page_links.h"
#include "library/parameter_kinds.h"

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

// Converts one value line as its table line says and stores it.
template <class R>
std::optional<Error> StoreLine(const kinds::Line<R>& d, R& r, const std::string& line) {
    using C = kinds::Conversion;
    LineValue v{line};
    switch (d.conversion) {
    case C::Text:
        kinds::StoreText(d, r, line);
        break;
    case C::Whole16: {
        int16_t x = 0;
        if (auto e = v.Int16(x))
            return e;
        kinds::StoreNumber(d, r, x);
        break;
    }
    case C::Whole32: {
        int32_t x = 0;
        if (auto e = v.Int32(x))
            return e;
        kinds::StoreNumber(d, r, x);
        break;
    }
    case C::Real: {
        double x = 0;
        if (auto e = v.Real(x))
            return e;
        kinds::StoreNumber(d, r, x);
        break;
    }
    case C::Truth:
        if (auto e = v.Truth())
            return e;
        break;
    case C::Count:
    case C::LeadingCount: {
        // Checked before it is stored, so a refused count leaves the record as it was
        // (its tables still matching its counts).
        int16_t x = 0;
        if (auto e = v.Int16(x))
            return e;
        if (x < d.low || x > d.high) {
            std::string message = d.refusal;
            if (size_t at = message.find("{}"); at != std::string::npos)
                message.replace(at, 2, std::to_string(x));
            return MakeError("", 0, message);
        }
        kinds::StoreNumber(d, r, x);
        break;
    }
    }
    if (d.then)
        d.then(r);
    return std::nullopt;
}

// A line after the fixed ones: i (from 0) counts the further lines, which fill the
// columns of `rows` lines one after another.
template <class R>
std::optional<Error> StoreCell(const kinds::Columns<R>& c, R& r, int i, const std::string& line) {
    const int rows = r.*c.rows;
    if (rows <= 0)
        return MakeError("", 0, c.whenNoRows);
    if (std::string* cell = kinds::CellOf(c, r, i % rows, i / rows))
        *cell = line;
    else if (c.beyondLast)
        return MakeError("", 0, c.beyondLast);
    return std::nullopt;
}

template <class R>
std::optional<Error> ApplyLine(const kinds::Format<R>& f, R& r, int L, const std::string& line) {
    const int fixed = static_cast<int>(f.definition.size());
    if (L >= 1 && L <= fixed)
        return StoreLine(f.definition[static_cast<size_t>(L - 1)], r, line);
    if (L > fixed && f.definitionRest)
        return StoreCell(*f.definitionRest, r, L - fixed - 1, line);
    return std::nullopt; // a further line of a kind without a rest is ignored
}

} // namespace

Status ApplyDefinitionLine(Workspace& ws, const std::string& line, std::vector<Error>* warnings) {
    ParameterState& p = ws.Params;
    if (p.ParameterCount < 1)
        return MakeError("", 0, "a value line stands before the first \"*\" block");
    const ParameterRecord rec = p.ParameterRecords[p.ParameterCount];
    const int L = p.LineNumber;
    std::optional<Error> err;
    // A kind without records (Reserved) ignores its lines.
    kinds::VisitFormat(rec.Kind, [&](const auto& format) {
        err = ApplyLine(format, kinds::RecordOf(format, p, p.KindCount[rec.Kind]), L, line);
        if (!err && L == format.pageLinksAfterLine) {
            if (Status st = ParseLinks(ws); !st.ok() && warnings)
                warnings->push_back(st.error());
        }
    });
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
    const std::vector<std::string> lines = SplitLines(FileTextToUtf8(definitionText));
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
    const std::vector<std::string> lines = SplitLines(FileTextToUtf8(conditionText));
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
