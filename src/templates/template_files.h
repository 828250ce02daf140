#pragma once
// Templates: named sets of parameter values of one script, saved as numbered files
// (base.p01 .. base.p99) in the userdata folder. A template whose name and values all
// fit Windows-1252 is written in it, as always; any other in UTF-8 after a byte order
// mark. Both are read (common/file_text.h).
#include "common/result.h"
#include "library/workspace.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace pelto {

struct TemplateEntry {
    std::string name; // line 1 of the file, as the user typed it
    std::string file; // the file's name in the userdata folder
};

// The templates of the current script (CurrentParameterFile), in listing order.
Result<std::vector<TemplateEntry>> ListTemplates(const Workspace& ws);

// Saves the named parameters' values under name. When a listed template has that name,
// confirmOverwrite(name) is asked; false ends the save with nothing written (declined is
// then set). Fails with a clear error when all 99 numbers are taken. A value the file
// cannot hold (a text with a line break) fails the save, unless leftOut is given: that
// block is then left out, the others are saved, and leftOut says which and why.
Status SaveTemplate(Workspace& ws, const std::string& name,
                    const std::vector<std::string>& parameterNames,
                    const std::vector<TemplateEntry>& listed,
                    const std::function<bool(const std::string& name)>& confirmOverwrite,
                    bool* declined = nullptr, std::vector<Error>* leftOut = nullptr);

// Loads the first listed template of that name into the current values. After each
// block, showParameter(position) is called with the 0-based list position of that
// parameter (when it has one). On an error the blocks read before it stay applied.
Status LoadTemplate(Workspace& ws, const std::string& name,
                    const std::vector<TemplateEntry>& listed,
                    const std::function<void(int position)>& showParameter);

// Reads a template file (line 1 its name, then the blocks) into the current values.
Status ReadTemplateFile(Workspace& ws, const std::filesystem::path& path,
                        const std::function<void(int position)>& showParameter = {});

} // namespace pelto
