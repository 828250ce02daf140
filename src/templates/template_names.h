#pragma once
// Where templates live: userdata/BASE.pNN, BASE being the current script's parameter
// file without its last four characters, NN from 01 to 99.
#include "common/result.h"
#include "library/workspace.h"

#include <filesystem>
#include <string>

namespace pelto {

constexpr int kMaxTemplateNumber = 99;

// The base name of the current script's templates; fails when no script is chosen.
Result<std::string> TemplateBaseName(const Workspace& ws);

// BASE.p01 .. BASE.p99 for number 1..99.
std::string TemplateFileName(const std::string& base, int number);

// The template number of a file name (BASE.pNN, letters in any case), or 0 when the
// name is not one of BASE's templates.
int TemplateNumberOf(const std::string& fileName, const std::string& base);

} // namespace pelto
