#pragma once
// Start-up reading of the library: handler texts, then every "*.hdr" header of the
// data folder (descrambled) into Workspace::Library, then the category list.
#include "common/result.h"
#include "library/workspace.h"

#include <string>
#include <vector>

namespace pelto {

// Reads the four plain handler files of the data folder. An error names the file that
// is missing or unreadable; the handler texts are then left as they were.
Status LoadHandlerTexts(Workspace& ws);

struct LibraryLoadReport {
    Status fatal;               // the data folder is missing or cannot be listed
    std::vector<Error> skipped; // damaged scripts that were left out of the catalogue
};

// Reads every header of the data folder, in file-name order, into the library. A
// damaged header is left out and reported; the others load. The work file holds the
// plain text of the last header read.
LibraryLoadReport LoadScriptLibrary(Workspace& ws);

// The same, ending with the first script whose ScriptId is scriptId: what is needed to
// work with that one script (the headers after it are not read). Where no script has that
// identifier, every header is read.
LibraryLoadReport LoadScriptLibraryUpTo(Workspace& ws, const std::string& scriptId);

// Reads one header's plain text (for tests and fuzzing). headerName is the file name
// as listed; it gives ParameterFile. The text is Windows-1252, or UTF-8 after a byte
// order mark; names and descriptions are held as UTF-8.
Result<ScriptRecord> ReadScriptHeader(const std::string& plainText, const std::string& headerName);

// Distinct categories of the library in order of first appearance. Leaves the list
// untouched when the library holds no script.
void BuildCategoryList(Workspace& ws);

} // namespace pelto
