#include "library/lookup.h"

namespace pelto {

namespace {

// Visits the record tables in the order the lookups test them.
template <class Table, class F> void Scan(const Table& table, int count, F&& onMatch) {
    for (int i = 1; i <= count && i < static_cast<int>(table.size()); ++i)
        onMatch(table[i].Name, i);
}

} // namespace

int16_t GetParameterKind(const Workspace& ws, const std::string& name) {
    const ParameterState& p = ws.Params;
    int16_t result = 0;
    auto test = [&](const auto& table, int16_t kind) {
        Scan(table, p.KindCount[kind], [&](const std::string& n, int) {
            if (n == name)
                result = kind;
        });
    };
    test(p.ColourParameters, Colour);
    test(p.FileParameters, File);
    test(p.FontParameters, Font);
    test(p.ImageParameters, Image);
    test(p.IntParameters, Int);
    test(p.ListParameters, List);
    test(p.OptionParameters, Option);
    test(p.TextParameters, Text);
    if (p.ReservedName == name)
        result = Reserved;
    if (p.Mouseover.Name == name)
        result = Mouseover;
    if (p.Menu.Name == name)
        result = Menu;
    if (name == "App")
        result = App;
    if (name == "Var")
        result = Var;
    if (name == "Info")
        result = Info;
    test(p.PositionParameters, Position);
    return result;
}

int16_t GetParameterOrdinal(const Workspace& ws, const std::string& name) {
    const ParameterState& p = ws.Params;
    int16_t result = 0;
    auto test = [&](const auto& table, int16_t kind) {
        Scan(table, p.KindCount[kind], [&](const std::string& n, int i) {
            if (n == name)
                result = static_cast<int16_t>(i);
        });
    };
    test(p.ColourParameters, Colour);
    test(p.FileParameters, File);
    test(p.FontParameters, Font);
    test(p.ImageParameters, Image);
    test(p.IntParameters, Int);
    test(p.ListParameters, List);
    test(p.OptionParameters, Option);
    test(p.TextParameters, Text);
    test(p.PositionParameters, Position);
    if (p.Mouseover.Name == name)
        result = 1;
    if (p.Menu.Name == name)
        result = 1;
    if (name == "App" || name == "Var")
        result = 0;
    return result;
}

std::string ParameterNameOf(const Workspace& ws, int16_t ordinal, int16_t kind) {
    const ParameterState& p = ws.Params;
    const bool inTable = ordinal >= 1 && ordinal <= MaxPerKind;
    switch (kind) {
    case Int:
        return inTable ? p.IntParameters[ordinal].Name : "";
    case File:
        return inTable ? p.FileParameters[ordinal].Name : "";
    case Image:
        return inTable ? p.ImageParameters[ordinal].Name : "";
    case Colour:
        return inTable ? p.ColourParameters[ordinal].Name : "";
    case Font:
        return inTable ? p.FontParameters[ordinal].Name : "";
    case Text:
        return inTable ? p.TextParameters[ordinal].Name : "";
    case List:
        return inTable ? p.ListParameters[ordinal].Name : "";
    case Option:
        return inTable ? p.OptionParameters[ordinal].Name : "";
    case Position:
        return inTable ? p.PositionParameters[ordinal].Name : "";
    case Reserved:
        return p.ReservedName;
    case Mouseover:
        return p.Mouseover.Name;
    case Menu:
        return p.Menu.Name;
    case Info:
        return "Info";
    default:
        return "Invalid Parameter";
    }
}

std::string ParameterNameAt(const Workspace& ws, int p) {
    if (p < 1 || p > ws.Params.ParameterCount)
        return "Invalid Parameter";
    const ParameterRecord& r = ws.Params.ParameterRecords[p];
    return ParameterNameOf(ws, r.Ordinal, r.Kind);
}

std::vector<ParameterListEntry> FillParameterList(const Workspace& ws) {
    std::vector<ParameterListEntry> out;
    for (int p = 1; p <= ws.Params.ParameterCount; ++p) {
        const ParameterRecord& r = ws.Params.ParameterRecords[p];
        if (r.Kind < 0 || r.Kind > Info)
            continue;
        out.push_back({ParameterNameOf(ws, r.Ordinal, r.Kind), r.Kind});
    }
    return out;
}

} // namespace pelto
