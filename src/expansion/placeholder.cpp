#include "expansion/placeholder.h"
#include "common/text.h"

#include "common/cp1252.h"
#include "common/numbers.h"
#include "common/scramble.h"
#include "expansion/colour.h"
#include "expansion/escaping.h"
#include "expansion/image_size.h"
#include "expansion/page_text.h"
#include "library/lookup.h"

#include <algorithm>
#include <filesystem>

namespace pelto {

namespace {

constexpr size_t kMaxVarNames = 255;

std::string Placeholder(std::string_view name, std::string_view keyword) {
    std::string out;
    out.reserve(name.size() + keyword.size() + 3);
    out += kOpeningMark;
    out += name;
    out += ',';
    out += keyword;
    out += kClosingMark;
    return out;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && text.substr(0, prefix.size()) == prefix;
}

// A 16-bit value in upper-case hexadecimal without leading zeros (negative values show
// their 16-bit pattern).
std::string HexText(int16_t value) {
    static const char digits[] = "0123456789ABCDEF";
    auto v = static_cast<uint16_t>(value);
    std::string out;
    do {
        out.insert(out.begin(), digits[v & 15]);
        v = static_cast<uint16_t>(v >> 4);
    } while (v != 0);
    return out;
}

std::string FontStep(int16_t size) {
    if (size <= 7)
        return "1";
    if (size == 8)
        return "2";
    if (size <= 10)
        return "3";
    if (size <= 14)
        return "4";
    int step = 5 + (size - 15) / 6; // 15-20 -> 5, 21-26 -> 6, ... 39-44 -> 9
    return FormatInt(std::min(step, 10));
}

// The "NOTNULL" conditions of the parameter, applied one after another to entry (the
// escaped form of plain). Whether an entry is blank is told from plain, as the user
// typed it, so escaping never turns a blank entry into a filled one.
std::string ApplyConditions(const Workspace& ws, const std::string& name, std::string entry,
                            std::string plain) {
    const auto& conditions = ws.Params.Conditions;
    for (size_t i = 1; i < conditions.size(); ++i) {
        const Condition& c = conditions[i];
        if (c.Parameter != name || c.Test != "NOTNULL")
            continue;
        if (!TrimBlanks(plain).empty()) {
            entry = FillMarkers(c.Format, 0, entry);
            plain = FillMarkers(c.Format, 0, plain);
        }
    }
    return entry;
}

// Entries(row, column) when it is stored; no value otherwise.
const std::string* StoredEntry(const ListParameter& list, long long row, int column) {
    if (row < 0 || row >= list.Rows || column < 0 || column >= list.Columns)
        return nullptr;
    if (static_cast<size_t>(row) >= list.Entries.size())
        return nullptr;
    const auto& cells = list.Entries[static_cast<size_t>(row)];
    if (static_cast<size_t>(column) >= cells.size())
        return nullptr;
    return &cells[static_cast<size_t>(column)];
}

// The list's value for the keyword. Each value taken from the user's entries is
// escaped before it is put into the entry format or a condition, which come from the
// definition and stay as they are.
std::optional<std::string> ListValue(const Workspace& ws, const ListParameter& list,
                                     const std::string& name, const std::string& keyword,
                                     Escaping how) {
    std::optional<std::string> result;
    if (keyword == "LISTENTRY") {
        std::string all;
        for (int16_t r = 0; r < list.Rows; ++r) {
            const std::string* cell = StoredEntry(list, r, 0);
            const std::string value = cell ? *cell : std::string();
            std::string entry =
                ApplyConditions(ws, name, FillMarkers(list.EntryFormat, r, Escape(how, value)),
                                FillMarkers(list.EntryFormat, r, value));
            if (list.LineBreak == 1)
                entry += "\r\n";
            all += entry;
        }
        result = std::move(all);
    } else if (keyword == "LISTNOOFENTRIES") {
        result = FormatInt(list.Rows);
    } else if (keyword == "FIRSTENTRY") {
        const std::string* cell = StoredEntry(list, 0, 0);
        result = cell ? Escape(how, *cell) : std::string();
    }
    // The prefixes win over every other list keyword.
    int column = StartsWith(keyword, "LE")   ? 0
                 : StartsWith(keyword, "DB") ? 1
                 : StartsWith(keyword, "DC") ? 2
                                             : -1;
    if (column >= 0) {
        double n = RoundHalfEven(LeadingNumber(std::string_view(keyword).substr(2)));
        // A row that is not stored gives the empty text: nothing is read outside the table.
        const std::string* cell =
            (n >= 0 && n < 32768) ? StoredEntry(list, static_cast<long long>(n), column) : nullptr;
        result = cell ? ApplyConditions(ws, name, Escape(how, *cell), *cell) : std::string();
    }
    return result;
}

std::optional<std::string> VarValue(Workspace& ws, const std::string& keyword) {
    auto& names = ws.VarNames;
    if (names.empty())
        names.emplace_back();
    size_t k = 0;
    for (size_t i = 1; i < names.size(); ++i) {
        if (names[i] == keyword) {
            k = i;
            break;
        }
    }
    if (k == 0) {
        if (names.size() - 1 >= kMaxVarNames)
            return std::nullopt; // every slot is taken: the placeholder stays
        names.push_back(keyword);
        k = names.size() - 1;
    }
    const ScriptRecord& script = ws.CurrentScript();
    long number = static_cast<long>(script.IdStride) * ws.ScriptRepeat + static_cast<long>(k);
    if (number < INT16_MIN || number > INT16_MAX)
        return std::nullopt; // the identifier would leave the 16-bit range
    return script.IdPrefix + FormatInt(number);
}

bool InTable(int16_t ordinal) {
    return ordinal >= 1 && ordinal <= MaxPerKind;
}

} // namespace

std::string UpperCaseText(std::string_view text) {
    std::string out(text);
    for (char& ch : out) {
        auto c = static_cast<unsigned char>(ch);
        if (c >= 'a' && c <= 'z')
            c = static_cast<unsigned char>(c - 32);
        else if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
            c = static_cast<unsigned char>(c - 32);
        else if (c == 0x9A || c == 0x9C || c == 0x9E)
            c = static_cast<unsigned char>(c - 16);
        else if (c == 0xFF)
            c = 0x9F;
        ch = static_cast<char>(c);
    }
    return out;
}

std::string FillMarkers(std::string_view format, int16_t number, std::string_view value) {
    const std::string numberText = FormatInt(number);
    std::string out;
    out.reserve(format.size() + value.size());
    for (char c : format) {
        if (c == '#')
            out += value;
        else if (c == '*')
            out += numberText;
        else
            out += c;
    }
    return out;
}

namespace {

// The size of an image parameter's picture: the file chosen in its folder; with no folder,
// the library's own picture the effect copies beside the page under that name, else a
// picture of that name beside the page.
std::optional<ImageSize> PictureSize(const Workspace& ws, const FileParameter& f) {
    if (f.FileName.empty())
        return std::nullopt;
    if (!f.Path.empty())
        return ReadImageSize(std::filesystem::path(f.Path + f.FileName));
    if (f.FileName.find_first_of("/\\") != std::string::npos)
        return std::nullopt; // only a name beside the page
    if (ws.CurrentScriptIndex > 0 &&
        static_cast<size_t>(ws.CurrentScriptIndex) < ws.Library.size()) {
        const ScriptRecord& script = ws.Library[static_cast<size_t>(ws.CurrentScriptIndex)];
        for (size_t i = 1; i < script.ItemLocation.size(); ++i) {
            if (script.ItemLocation[i] != "External" || i >= script.ItemExternalName.size() ||
                i >= script.ItemCodeFile.size() || script.ItemExternalName[i] != f.FileName ||
                script.ItemCodeFile[i].find_first_of("/\\") != std::string::npos)
                continue;
            Result<std::string> bytes = ReadScrambledFile(ws.DataFolder() / script.ItemCodeFile[i]);
            return bytes ? ImageSizeOf(*bytes) : std::nullopt;
        }
    }
    if (ws.SampleFile.empty())
        return std::nullopt;
    return ReadImageSize(std::filesystem::path(ws.SampleFile).parent_path() / f.FileName);
}

// The value for a keyword without modifier; list entries are escaped as `how` says,
// other values are escaped by the caller.
std::optional<std::string> PlainValue(Workspace& ws, const std::string& name,
                                      const std::string& keyword, Escaping how) {
    const int16_t kind = GetParameterKind(ws, name);
    const int16_t ordinal = GetParameterOrdinal(ws, name);
    const ParameterState& p = ws.Params;
    const std::string& k = keyword;
    switch (kind) {
    case Int:
        if (InTable(ordinal) && k == "INTVALUE")
            return FormatNumber(p.IntParameters[ordinal].Value);
        break;
    case File:
    case Image: {
        if (!InTable(ordinal))
            break;
        const FileParameter& f =
            kind == File ? p.FileParameters[ordinal] : p.ImageParameters[ordinal];
        const bool file = kind == File;
        if (k == (file ? "FULLFILENAME" : "FULLIMAGENAME"))
            return f.Path + f.FileName;
        if (k == (file ? "FILEPATH" : "IMAGEPATH"))
            return f.Path;
        if (k == (file ? "FILENAMEONLY" : "IMAGENAMEONLY"))
            return f.FileName;
        if (!file && (k == "IMAGEWIDTH" || k == "IMAGEHEIGHT")) {
            const std::optional<ImageSize> size = PictureSize(ws, f);
            if (!size)
                return std::string(); // the attribute stays empty: the browser then waits
            return FormatInt(k == "IMAGEWIDTH" ? size->Width : size->Height);
        }
        break;
    }
    case Colour: {
        if (!InTable(ordinal))
            break;
        const ColourParameter& c = p.ColourParameters[ordinal];
        if (k == "HVALUE")
            return ColourToHex(c.Colour);
        if (k == "LVALUE")
            return FormatInt(c.Colour);
        if (k == "R")
            return FormatInt(c.Red);
        if (k == "G")
            return FormatInt(c.Green);
        if (k == "B")
            return FormatInt(c.Blue);
        if (k == "RH")
            return HexText(c.Red);
        if (k == "GH")
            return HexText(c.Green);
        if (k == "BH")
            return HexText(c.Blue);
        break;
    }
    case Font: {
        if (!InTable(ordinal))
            break;
        const FontParameter& f = p.FontParameters[ordinal];
        if (k == "FONTNAME")
            return f.FontName;
        if (k == "FONTSIZE")
            return FormatInt(f.Size);
        if (k == "FONTHSIZE")
            return FontStep(f.Size);
        if ((k == "FONTBOLD" || k == "FONTBOLDINT") && (f.Bold == 0 || f.Bold == 1))
            return k == "FONTBOLD" ? (f.Bold ? "bold" : "normal") : (f.Bold ? "1" : "0");
        if ((k == "FONTITALIC" || k == "FONTITALICINT") && (f.Italic == 0 || f.Italic == 1))
            return k == "FONTITALIC" ? (f.Italic ? "italic" : "normal") : (f.Italic ? "1" : "0");
        if (k == "FONTUNDERLINE")
            return FormatInt(f.Underline);
        if (k == "FONTSTRIKETHRU")
            return FormatInt(f.StrikeThru);
        break;
    }
    case Text:
        if (InTable(ordinal) && k == "TEXTVALUE")
            return p.TextParameters[ordinal].Value;
        break;
    case Option: {
        if (!InTable(ordinal) || k != "TEXTVALUE")
            break;
        const OptionParameter& o = p.OptionParameters[ordinal];
        if (o.Selected >= 0 && o.Selected < o.Count &&
            static_cast<size_t>(o.Selected) < o.Texts.size())
            return o.Texts[static_cast<size_t>(o.Selected)];
        break; // a selection outside the options has no value
    }
    case List:
        if (InTable(ordinal))
            return ListValue(ws, p.ListParameters[ordinal], name, k, how);
        break;
    case Position:
        if (!InTable(ordinal))
            break;
        if (k == "INTVALUE1")
            return FormatNumber(p.PositionParameters[ordinal].Value1);
        if (k == "INTVALUE2")
            return FormatNumber(p.PositionParameters[ordinal].Value2);
        break;
    case Menu:
        if (k == "MENUDATA") {
            std::string all;
            const auto& lines = p.Menu.MenuLines;
            for (int i = 1; i <= p.Menu.Count && static_cast<size_t>(i) < lines.size(); ++i)
                all += lines[static_cast<size_t>(i)] + "\r\n";
            return all;
        }
        if (k == "TOPLEVELENTRIES")
            return FormatInt(ws.TopLevelCount);
        break;
    case App:
        if (k == "IMAGESNAME") {
            return ws.ImagesFolder().string() +
                   std::string(1, std::filesystem::path::preferred_separator);
        }
        if (k == "INTSEQUENCE") {
            if (ws.IntSequence == INT16_MAX)
                return std::nullopt; // the counter cannot grow any further
            return FormatInt(ws.IntSequence++);
        }
        if (k == "SCRIPTREPEAT")
            return FormatInt(ws.ScriptRepeat);
        break;
    case Var:
        return VarValue(ws, k);
    default:
        break; // Reserved, Mouseover and Info have no keyword
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> PlaceholderValue(Workspace& ws, const std::string& name,
                                            const std::string& keyword) {
    std::string plainKeyword = keyword;
    const Escaping how = SplitModifier(plainKeyword);
    std::optional<std::string> value = PlainValue(ws, name, plainKeyword, how);
    if (!value)
        return value;
    // A list has escaped its entries already; its formats come from the definition.
    if (how != Escaping::None && GetParameterKind(ws, name) != List)
        value = Escape(how, *value);
    // What is left beyond ASCII (an unescaped value, a list's formats) goes into the
    // page in the page's own encoding.
    return ToPageText(*value, ws.PageIsUtf8);
}

std::string ExpandPlaceholder(Workspace& ws, const std::string& name, const std::string& keyword) {
    if (auto value = PlaceholderValue(ws, name, keyword))
        return std::move(*value);
    return Placeholder(name, keyword);
}

namespace {

// The value of the placeholder with this inner text (between the marks); no value for
// an inner text without a comma.
std::optional<std::string> InnerValue(Workspace& ws, std::string_view inner) {
    size_t comma = inner.find(',');
    if (comma == std::string_view::npos)
        return std::nullopt;
    // Names are held as UTF-8; a name in Windows-1252 code bytes is read as such.
    std::string_view name = inner.substr(0, comma);
    return PlaceholderValue(ws, IsValidUtf8(name) ? std::string(name) : Cp1252ToUtf8(name),
                            UpperCaseText(inner.substr(comma + 1)));
}

void AppendReversed(std::string& out, const std::string& rev, size_t from) {
    out.append(rev.rbegin(), rev.rbegin() + static_cast<std::ptrdiff_t>(rev.size() - from));
}

// The key of a placeholder for telling whether it is already being expanded: the name
// as written and the keyword upper-cased.
std::string PlaceholderKey(std::string_view inner) {
    size_t comma = inner.find(',');
    if (comma == std::string_view::npos)
        return std::string(inner);
    return std::string(inner.substr(0, comma + 1)) + UpperCaseText(inner.substr(comma + 1));
}

// A value being examined again: it occupies rev from index `below` upwards, and came
// from the placeholder with this key.
struct OpenValue {
    size_t below;
    std::string key;
};

// The general scan once a value must be examined again. The text still to scan is
// kept reversed in rev, so a value goes in front of it by appending, and every byte is
// moved at most once: the whole pass stays linear in what it reads and produces.
// A placeholder met inside its own value (directly or through others) stays as it
// stands, so a value that contains itself ends at once; the budget bounds what chains
// of distinct values that each repeat the next can produce.
std::string ExpandRescanning(Workspace& ws, std::string out, std::string rev,
                             std::vector<OpenValue> open, size_t& budget) {
    while (!rev.empty()) {
        size_t at = rev.rfind(kOpeningMark);
        if (at == std::string::npos)
            break;
        size_t close = at == 0 ? std::string::npos : rev.rfind(kClosingMark, at - 1);
        if (close == std::string::npos)
            break;
        // A placeholder never holds an opening mark: it starts at the last one before
        // its closing mark, and earlier ones are plain text.
        at = rev.find(kOpeningMark, close + 1);
        AppendReversed(out, rev, at + 1);
        rev.resize(at + 1);
        std::string inner(rev.rbegin() + 1, rev.rbegin() + static_cast<std::ptrdiff_t>(at - close));
        rev.resize(close);
        while (!open.empty() && open.back().below > rev.size())
            open.pop_back(); // that value is scanned to its end
        std::string key = PlaceholderKey(inner);
        bool cycle = false;
        for (const OpenValue& v : open)
            cycle = cycle || v.key == key;
        std::optional<std::string> value;
        if (!cycle)
            value = InnerValue(ws, inner);
        if (!value) {
            out += kOpeningMark;
            out += inner;
            out += kClosingMark;
            continue;
        }
        if (value->find(kOpeningMark) != std::string::npos && value->size() <= budget) {
            budget -= value->size();
            open.push_back({rev.size(), std::move(key)});
            rev.append(value->rbegin(), value->rend());
        } else {
            out += *value; // out of budget: the value is taken as it stands
        }
    }
    AppendReversed(out, rev, 0);
    return out;
}

} // namespace

std::string ExpandLine(Workspace& ws, std::string_view line) {
    size_t budget = ExpansionBudget(line.size());
    return ExpandLine(ws, line, budget);
}

size_t ExpansionBudget(size_t textSize) {
    return (size_t{1} << 20) + 4 * textSize;
}

std::string ExpandLine(Workspace& ws, std::string_view line, size_t& budget) {
    if (line.find(kOpeningMark) == std::string_view::npos ||
        line.find(kClosingMark) == std::string_view::npos)
        return std::string(line);
    std::string out;
    out.reserve(line.size());
    size_t pos = 0;
    for (;;) {
        size_t open = line.find(kOpeningMark, pos);
        if (open == std::string_view::npos)
            break;
        size_t close = line.find(kClosingMark, open + 1);
        if (close == std::string_view::npos)
            break;
        // A placeholder never holds an opening mark: it starts at the last one before
        // its closing mark, and earlier ones are plain text.
        open = line.rfind(kOpeningMark, close - 1);
        out.append(line.substr(pos, open - pos));
        std::string_view inner = line.substr(open + 1, close - open - 1);
        std::optional<std::string> value = InnerValue(ws, inner);
        if (!value) {
            out.append(line.substr(open, close + 1 - open));
            pos = close + 1;
            continue;
        }
        pos = close + 1;
        if (value->find(kOpeningMark) == std::string::npos) {
            out += *value;
            continue;
        }
        if (value->size() > budget) {
            out += *value; // out of budget: the value is taken as it stands
            continue;
        }
        // The value holds an opening mark: scan it together with the rest of the line.
        budget -= value->size();
        std::string_view rest = line.substr(pos);
        std::string rev(rest.rbegin(), rest.rend());
        std::vector<OpenValue> openValues{{rev.size(), PlaceholderKey(inner)}};
        rev.append(value->rbegin(), value->rend());
        return ExpandRescanning(ws, std::move(out), std::move(rev), std::move(openValues), budget);
    }
    out.append(line.substr(pos));
    return out;
}

} // namespace pelto
