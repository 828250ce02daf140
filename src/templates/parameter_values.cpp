#include "templates/parameter_values.h"

#include "common/numbers.h"
#include "library/lookup.h"
#include "library/page_links.h"
#include "library/parameter_kinds.h"

#include <algorithm>
#include <array>
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
    bool declared = false; // App, Var and Reserved are no parameters
    kinds::VisitFormat(kind, [&](const auto& f) {
        if (f.table)
            declared = InTable(ws, kind, ordinal);
        else if (f.name)
            declared = ws.Params.KindCount[kind] > 0;
        else
            declared = true; // "Info" always names the script information
    });
    return declared ? std::optional<int16_t>(kind) : std::nullopt;
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

// The mouseover's link texts: the link count, then LinkText, Text1 and Text2 of each link.
void WriteLinkTexts(const MouseoverParameter& m, BlockWriter& w) {
    w.Int(m.LinkCount());
    for (int i = 1; i <= m.LinkCount(); ++i) {
        w.Line(m.Links[i].LinkText);
        w.Line(m.Links[i].Text1);
        w.Line(m.Links[i].Text2);
    }
}
template <class R> void WriteLinkTexts(const R&, BlockWriter&) {}

// Each group goes to the first link of the current page with its link text (the same
// characters, however either file writes them); a group
// whose link the page no longer has is skipped.
void ReadLinkTexts(MouseoverParameter& m, BlockReader& in) {
    const int16_t count = in.Count(0, 32767);
    for (int g = 0; g < count && !in.error(); ++g) {
        std::array<std::string, 3> group{in.Text(), in.Text(), in.Text()};
        if (in.error())
            break;
        for (size_t i = 1; i < m.Links.size(); ++i) {
            if (SameLinkText(m.Links[i].LinkText, group[0])) {
                m.Links[i].Text1 = group[1];
                m.Links[i].Text2 = group[2];
                break;
            }
        }
    }
}
template <class R> void ReadLinkTexts(R&, BlockReader&) {}

template <class R> void WriteBlock(const kinds::Format<R>& f, const R& r, BlockWriter& w) {
    for (const kinds::Line<R>& line : f.templateBlock)
        w.Line(kinds::Shown(line, r));
    if (const kinds::Columns<R>* rest = f.templateRest) {
        const int rows = std::max<int>(0, r.*rest->rows);
        for (int c = 0; c < rest->width(r); ++c)
            for (int row = 0; row < rows; ++row) {
                const std::string* cell = rest->cell(r, row, c);
                w.Line(cell ? *cell : std::string());
            }
    }
    if (f.linkTexts)
        WriteLinkTexts(r, w);
}

// Reads the block into r, a copy of the record that the caller stores only when the
// whole block has been read.
template <class R> void ReadBlock(const kinds::Format<R>& f, R& r, BlockReader& in) {
    using C = kinds::Conversion;
    for (const kinds::Line<R>& line : f.templateBlock) {
        switch (line.conversion) {
        case C::Text:
            kinds::StoreText(line, r, in.Text());
            break;
        case C::Whole16:
            kinds::StoreNumber(line, r, in.Int16());
            break;
        case C::Whole32:
            kinds::StoreNumber(line, r, in.Int32());
            break;
        default: // a count (templates hold no reals or truth values)
            kinds::StoreNumber(line, r, in.Count(line.low, line.high));
            break;
        }
        if (in.error())
            return;
        if (line.then)
            line.then(r);
    }
    if (const kinds::Columns<R>* rest = f.templateRest) {
        const int rows = r.*rest->rows;
        for (int c = 0; c < rest->width(r) && !in.error(); ++c)
            for (int row = 0; row < rows && !in.error(); ++row) {
                std::string text = in.Text();
                if (std::string* cell = kinds::CellOf(*rest, r, row, c))
                    *cell = std::move(text);
            }
    }
    if (f.linkTexts)
        ReadLinkTexts(r, in);
}

} // namespace

Status WriteParameterValues(const Workspace& ws, const std::string& name, std::string& out) {
    std::optional<int16_t> kind = DeclaredKind(ws, name);
    if (!kind)
        return MakeError("", 0, "the effect has no parameter named \"" + name + "\"");
    const int16_t n = GetParameterOrdinal(ws, name);
    BlockWriter w(name);
    bool stored = false;
    kinds::VisitFormat(*kind, [&](const auto& f) {
        if (!f.inTemplates)
            return; // Option and Info write no block
        stored = true;
        WriteBlock(f, kinds::RecordOf(f, ws.Params, n), w);
    });
    if (!stored)
        return Status::Ok();
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
        kinds::VisitFormat(*kind, [&](const auto& f) {
            if (!f.inTemplates)
                return; // Option and Info: no lines
            // The block is read into a copy and stored only when complete, so a broken
            // block changes nothing.
            auto& record = kinds::RecordOf(f, p, n);
            auto copy = record;
            ReadBlock(f, copy, in);
            if (!in.error())
                record = std::move(copy);
        });
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
