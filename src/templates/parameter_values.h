#pragma once
// The blocks of a template file: a parameter's name line followed by the lines of its
// current value, laid out by its kind. Option, Reserved and Info parameters have no
// block.
#include "common/result.h"
#include "library/workspace.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace pelto {

// Appends the block of the named parameter (each line + CR LF) to out. Fails when the
// script has no parameter of that name or a value holds a line break (a template line
// cannot store one); out is then unchanged.
Status WriteParameterValues(const Workspace& ws, const std::string& name, std::string& out);

// Reads blocks from lines[first] to the end into the current values. Each block is
// checked whole before it is applied; an error names fileName and the line, and the
// blocks read before it stay applied. After each block, showParameter (when given)
// receives the 0-based list position of that parameter, if it has one.
Status ReadParameterValues(Workspace& ws, const std::vector<std::string>& lines, size_t first,
                           const std::string& fileName,
                           const std::function<void(int position)>& showParameter = {});

} // namespace pelto
