#pragma once
// What several harnesses share: a definition that declares one parameter of every
// kind (with a text whose value holds a placeholder of another, which points back),
// and the rules the parameter state keeps whatever was read into it.
#include "harness/check.h"

#include "library/workspace.h"

#include <string>

namespace pelto::fuzz {

const std::string& BaseDefinition();
const std::string& BaseConditions();

// Loads the base definition and conditions and makes one script ("pF" prefix, stride
// 1000) the current one.
void LoadBase(Workspace& ws);

// Counts, directory entries and the list, option and menu tables agree.
void CheckParameterState(const ParameterState& p, Check& check);

} // namespace pelto::fuzz
