#pragma once
// Reads a script's definition file (and its optional condition file) into the
// parameter state. Both files are scrambled in the data folder.
#include "common/result.h"
#include "library/workspace.h"

#include <filesystem>
#include <string>
#include <vector>

namespace pelto {

// Counts to 0, LineNumber and IntSequence to 1. Record tables keep their contents.
void ResetParameterState(Workspace& ws);

// Resets the state, clears the record tables, then reads the definition file at the
// given full path and the condition file beside it (same path, last four characters
// replaced by ".cnd"). On an error the state holds no parameters (ParameterCount 0)
// and the error names the file and line.
// A sample page whose links cannot be read does not make the definition unusable: the
// link table stays empty and the problem is added to warnings (when given).
Status LoadScriptDefinition(Workspace& ws, const std::filesystem::path& parameterFile,
                            std::vector<Error>* warnings = nullptr);

// The same on plain text already read (tests and fuzzing); fileName is used in errors.
// The text is Windows-1252, or UTF-8 after a byte order mark (common/file_text.h); the
// values are held as UTF-8.
// ReadDefinitionText does not reset the state first.
Status ReadDefinitionText(Workspace& ws, const std::string& definitionText,
                          const std::string& fileName, std::vector<Error>* warnings = nullptr);
Status ReadConditionText(Workspace& ws, const std::string& conditionText,
                         const std::string& fileName);

// Adds a parameter of the given kind (0..12). Fails when the script already has 100
// parameters or 30 of that kind.
Status RegisterParameter(Workspace& ws, int16_t kind);

// Stores one value line into the current parameter at ws.Params.LineNumber.
Status ApplyDefinitionLine(Workspace& ws, const std::string& line,
                           std::vector<Error>* warnings = nullptr);

// Empties every record table and the condition list (counts are left alone).
void ClearParameterRecords(ParameterState& params);

} // namespace pelto
