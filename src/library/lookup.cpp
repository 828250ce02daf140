#include "library/lookup.h"

#include "library/parameter_kinds.h"

#include <optional>

namespace pelto {

namespace {

// The ordinal a name has among the parameters of one kind, if it names one of them: the
// index of the last matching entry of a table, 1 for a single record, 0 for a reserved
// name.
std::optional<int16_t> Match(const ParameterState& p, int16_t kind, const std::string& name) {
    if (const char* reserved = kinds::ReservedNameOf(kind))
        return name == reserved ? std::optional<int16_t>(0) : std::nullopt;
    if (kind == Reserved)
        return p.ReservedName == name ? std::optional<int16_t>(0) : std::nullopt;
    std::optional<int16_t> found;
    kinds::VisitFormat(kind, [&](const auto& f) {
        if (f.table) {
            const auto& table = p.*f.table;
            for (int i = 1; i <= p.KindCount[kind] && i < static_cast<int>(table.size()); ++i)
                if (table[static_cast<size_t>(i)].*f.name == name)
                    found = static_cast<int16_t>(i);
        } else if ((p.*f.single).*f.name == name) {
            found = 1;
        }
    });
    return found;
}

} // namespace

int16_t GetParameterKind(const Workspace& ws, const std::string& name) {
    int16_t result = 0;
    for (ParameterKind kind : kinds::kKindLookupOrder)
        if (Match(ws.Params, kind, name))
            result = kind;
    return result;
}

int16_t GetParameterOrdinal(const Workspace& ws, const std::string& name) {
    int16_t result = 0;
    for (ParameterKind kind : kinds::kOrdinalLookupOrder)
        if (auto ordinal = Match(ws.Params, kind, name))
            result = *ordinal;
    return result;
}

std::string ParameterNameOf(const Workspace& ws, int16_t ordinal, int16_t kind) {
    const ParameterState& p = ws.Params;
    if (kind == Reserved)
        return p.ReservedName;
    std::string result = "Invalid Parameter";
    kinds::VisitFormat(kind, [&](const auto& f) {
        if (f.table)
            result = ordinal >= 1 && ordinal <= MaxPerKind ? (p.*f.table)[ordinal].*f.name : "";
        else if (f.name)
            result = (p.*f.single).*f.name;
        else
            result = kinds::ReservedNameOf(kind);
    });
    return result;
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
