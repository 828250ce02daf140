#pragma once
// Finding a parameter of the current script by name, and the entries of the
// parameter page's list.
#include "library/workspace.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pelto {

// The kind of the parameter of that name (0 when nothing matches, like an Int).
int16_t GetParameterKind(const Workspace& ws, const std::string& name);

// The 1-based index within its kind's table (0 when nothing matches, and for "App"
// and "Var").
int16_t GetParameterOrdinal(const Workspace& ws, const std::string& name);

struct ParameterListEntry {
    std::string text;
    int16_t itemNumber = 0; // the kind code
};

// One entry per declared parameter, in declaration order: list position + 1 is the
// ParameterRecord index.
std::vector<ParameterListEntry> FillParameterList(const Workspace& ws);

// The name of the parameter with that ordinal and kind ("Info" for kind 12,
// "Invalid Parameter" for a kind outside 0..12).
std::string ParameterNameOf(const Workspace& ws, int16_t ordinal, int16_t kind);

// ParameterNameOf for the 1-based directory position p.
std::string ParameterNameAt(const Workspace& ws, int p);

} // namespace pelto
