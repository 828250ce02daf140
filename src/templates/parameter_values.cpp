#include "templates/parameter_values.h"

#include "common/numbers.h"
#include "expansion/colour.h"
#include "library/lookup.h"

#include <optional>

namespace pelto {

namespace {

bool InTable(const Workspace& ws, int16_t kind, int16_t ordinal) {
    return ordinal >= 1 && ordinal <= MaxPerKind && kind >= 0 && kind < KindCodes &&
           ordinal <= ws.Params.KindCount[kind];
}

// The kind of a declared parameter of that name; no value when the script has none.
std::optional<int16_t> DeclaredKind(const Workspace& ws, const std::string& name) {
    if (ws.Params.KindCount[Reserved] > 0 && name == ws.Params.ReservedName)
        return Reserved; // the kind-8 parameter, listed under its (empty) name
    if (name.empty())
        return std::nullopt;
    const int16_t kind = GetParameterKind(ws, name);
    const int16_t ordinal = GetParameterOrdinal(ws, name);
    switch (kind) {
    case Int:
    case File:
    case Image:
    case Colour:
    case Font:
    case Text:
    case List:
    case Option:
    case Position:
        if (InTable(ws, kind, ordinal))
            return kind;
        return std::nullopt;
    case Mouseover:
    case Menu:
        if (ws.Params.KindCount[kind] > 0)
            return kind;
        return std::nullopt;
    case Info:
        return kind; // "Info" always names the script information
    default:
        return std::nullopt; // App and Var are no parameters
    }
}

const std::string& Cell(const std::vector<std::string>& v, int i) {
    static const std::string empty;
    return (i >= 0 && static_cast<size_t>(i) < v.size()) ? v[static_cast<size_t>(i)] : empty;
}

// Collects a block's lines; fails on a line break inside a value.
class BlockWriter {
public:
    explicit BlockWriter(const std::string& name) { Line(name); }
    void Line(const std::string& value) {
        if (value.find_first_of("\r\n") != std::string::npos)
            broken_ = true;
        text_ += value;
        text_ += "\r\n";
    }
    void Number(double v) { Line(FormatNumber(v)); }
    void Int(long long v) { Line(FormatInt(v)); }
    bool broken() const { return broken_; }
    const std::string& text() const { return text_; }

private:
    std::string text_;
    bool broken_ = false;
};

// Reads a block's lines one after another, with errors naming the file and line.
class BlockReader {
public:
    BlockReader(const std::vector<std::string>& lines, size_t at, const std::string& fileName,
                const std::string& name)
        : lines_(lines), at_(at), file_(fileName), name_(name) {}

    size_t position() const { return at_; }
    const std::optional<Error>& error() const { return error_; }

    std::string Text() {
        if (error_)
            return {};
        if (at_ >= lines_.size()) {
            error_ = MakeError(file_, static_cast<long>(at_) + 1,
                               "the template ends inside the block of \"" + name_ + "\"");
            return {};
        }
        return lines_[at_++];
    }
    int16_t Int16() {
        std::string t = Text();
        if (error_)
            return 0;
        if (auto v = ParseInt16(t))
            return *v;
        Fail("\"" + t + "\" is not a whole number from -32768 to 32767");
        return 0;
    }
    int32_t Int32() {
        std::string t = Text();
        if (error_)
            return 0;
        if (auto v = ParseInt32(t))
            return *v;
        Fail("\"" + t + "\" is not a 32-bit whole number");
        return 0;
    }
    // A count: the leading number of the line, rounded, from low to high.
    int16_t Count(int16_t low, int16_t high) {
        std::string t = Text();
        if (error_)
            return 0;
        auto v = ToInt16(LeadingNumber(t));
        if (v && *v >= low && *v <= high)
            return *v;
        Fail("\"" + t + "\" is not a count from " + FormatInt(low) + " to " + FormatInt(high));
        return 0;
    }

private:
    void Fail(const std::string& message) {
        error_ =
            MakeError(file_, static_cast<long>(at_), message + " (block of \"" + name_ + "\")");
    }
    const std::vector<std::string>& lines_;
    size_t at_;
    const std::string& file_;
    const std::string& name_;
    std::optional<Error> error_;
};

constexpr int16_t kMaxRows = 32767;

} // namespace

Status WriteParameterValues(const Workspace& ws, const std::string& name, std::string& out) {
    std::optional<int16_t> kind = DeclaredKind(ws, name);
    if (!kind)
        return MakeError("", 0, "the effect has no parameter named \"" + name + "\"");
    if (*kind == Option || *kind == Info || *kind == Reserved)
        return Status::Ok(); // these kinds are not stored in templates
    const ParameterState& p = ws.Params;
    const int16_t n = GetParameterOrdinal(ws, name);
    BlockWriter w(name);
    switch (*kind) {
    case Int:
        w.Number(p.IntParameters[n].Value);
        break;
    case File:
    case Image: {
        const FileParameter& f = *kind == File ? p.FileParameters[n] : p.ImageParameters[n];
        w.Line(f.FileName);
        w.Line(f.Path);
        break;
    }
    case Colour:
        w.Int(p.ColourParameters[n].Colour);
        break;
    case Font: {
        const FontParameter& f = p.FontParameters[n];
        w.Line(f.FontName);
        w.Int(f.Size);
        w.Int(f.Bold);
        w.Int(f.Italic);
        w.Int(f.StrikeThru);
        w.Int(f.Underline);
        break;
    }
    case Text:
        w.Line(p.TextParameters[n].Value);
        break;
    case List: {
        const ListParameter& l = p.ListParameters[n];
        w.Int(l.Rows);
        w.Int(l.Columns);
        for (int c = 0; c < l.Columns; ++c)
            for (int r = 0; r < l.Rows; ++r)
                w.Line(r < static_cast<int>(l.Entries.size()) ? Cell(l.Entries[r], c) : "");
        break;
    }
    case Mouseover: {
        const MouseoverParameter& m = p.Mouseover;
        w.Int(m.LinkCount());
        for (int i = 1; i <= m.LinkCount(); ++i) {
            w.Line(m.Links[i].LinkText);
            w.Line(m.Links[i].Text1);
            w.Line(m.Links[i].Text2);
        }
        break;
    }
    case Position:
        w.Number(p.PositionParameters[n].Value1);
        w.Number(p.PositionParameters[n].Value2);
        break;
    case Menu: {
        const MenuParameter& m = p.Menu;
        const int count = std::max<int>(0, m.Count);
        w.Int(count);
        for (const auto* column : {&m.MenuEntries, &m.MenuCaptions, &m.MenuLinks})
            for (int i = 1; i <= count; ++i)
                w.Line(Cell(*column, i));
        break;
    }
    default:
        break;
    }
    if (w.broken())
        return MakeError(
            "", 0, "a value of \"" + name + "\" holds a line break, which a template cannot store");
    out += w.text();
    return Status::Ok();
}

Status ReadParameterValues(Workspace& ws, const std::vector<std::string>& lines, size_t first,
                           const std::string& fileName,
                           const std::function<void(int position)>& showParameter) {
    ParameterState& p = ws.Params;
    size_t at = first;
    while (at < lines.size()) {
        const std::string name = lines[at];
        const long nameLine = static_cast<long>(at) + 1;
        ++at;
        if (name.empty())
            continue; // a blank line between blocks names nothing
        std::optional<int16_t> kind = DeclaredKind(ws, name);
        if (!kind)
            return MakeError(fileName, nameLine,
                             "the effect has no parameter named \"" + name + "\"");
        const int16_t n = GetParameterOrdinal(ws, name);
        BlockReader in(lines, at, fileName, name);
        // Each kind reads its whole block into a copy first and stores it only when the
        // block is complete, so a broken block changes nothing.
        switch (*kind) {
        case Int: {
            int16_t v = in.Int16();
            if (!in.error())
                p.IntParameters[n].Value = v;
            break;
        }
        case File:
        case Image: {
            FileParameter& f = *kind == File ? p.FileParameters[n] : p.ImageParameters[n];
            std::string fileNameValue = in.Text();
            std::string path = in.Text();
            if (!in.error()) {
                f.FileName = std::move(fileNameValue);
                f.Path = std::move(path);
            }
            break;
        }
        case Colour: {
            int32_t v = in.Int32();
            if (!in.error()) {
                p.ColourParameters[n].Colour = v;
                SetColourComponents(p.ColourParameters[n]); // R, G and B follow the colour
            }
            break;
        }
        case Font: {
            FontParameter f = p.FontParameters[n];
            f.FontName = in.Text();
            f.Size = in.Int16();
            f.Bold = in.Int16();
            f.Italic = in.Int16();
            f.StrikeThru = in.Int16();
            f.Underline = in.Int16();
            if (!in.error())
                p.FontParameters[n] = std::move(f);
            break;
        }
        case Text: {
            std::string v = in.Text();
            if (!in.error())
                p.TextParameters[n].Value = std::move(v);
            break;
        }
        case List: {
            ListParameter l = p.ListParameters[n];
            l.Rows = in.Count(0, kMaxRows);
            l.Columns = in.Count(0, 3);
            if (in.error())
                break;
            l.ResetEntries();
            for (int k = 0; k < l.Rows * l.Columns && !in.error(); ++k) {
                std::string v = in.Text();
                if (!in.error())
                    l.Entries[static_cast<size_t>(k % l.Rows)][static_cast<size_t>(k / l.Rows)] =
                        std::move(v);
            }
            if (!in.error())
                p.ListParameters[n] = std::move(l);
            break;
        }
        case Mouseover: {
            const int16_t count = in.Count(0, kMaxRows);
            std::vector<std::array<std::string, 3>> groups;
            for (int g = 0; g < count && !in.error(); ++g) {
                std::array<std::string, 3> group{in.Text(), in.Text(), in.Text()};
                groups.push_back(std::move(group));
            }
            if (in.error())
                break;
            auto& links = p.Mouseover.Links;
            for (const auto& group : groups) {
                // A link the current page no longer has is skipped.
                for (size_t i = 1; i < links.size(); ++i) {
                    if (links[i].LinkText == group[0]) {
                        links[i].Text1 = group[1];
                        links[i].Text2 = group[2];
                        break;
                    }
                }
            }
            break;
        }
        case Position: {
            int16_t v1 = in.Int16();
            int16_t v2 = in.Int16();
            if (!in.error()) {
                p.PositionParameters[n].Value1 = v1;
                p.PositionParameters[n].Value2 = v2;
            }
            break;
        }
        case Menu: {
            MenuParameter m = p.Menu;
            m.Count = in.Count(0, kMaxRows);
            if (in.error())
                break;
            m.ResetEntries();
            for (auto* column : {&m.MenuEntries, &m.MenuCaptions, &m.MenuLinks})
                for (int i = 1; i <= m.Count && !in.error(); ++i)
                    (*column)[static_cast<size_t>(i)] = in.Text();
            if (!in.error())
                p.Menu = std::move(m);
            break;
        }
        default:
            break; // Option and Info: no lines
        }
        if (in.error())
            return *in.error();
        at = in.position();
        if (showParameter) {
            for (int pos = 1; pos <= p.ParameterCount; ++pos) {
                if (ParameterNameAt(ws, pos) == name) {
                    showParameter(pos - 1);
                    break;
                }
            }
        }
    }
    return Status::Ok();
}

} // namespace pelto
