#pragma once
// Everything one run of Pelto works on: the program folder, the library read at
// start-up, the current selection, the parameters of the current script and the
// expansion counters. Passed by reference; tests make their own.
#include "common/program_folders.h"
#include "library/parameter_state.h"
#include "library/script_record.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace pelto {

struct Workspace {
    // The program folder with the read-only library, pictures, help and sample page, and
    // the folder everything written goes to (empty: the program folder itself).
    std::filesystem::path ProgramFolder;
    std::filesystem::path UserFolder;

    // The library, read once at start-up.
    ScriptLibrary Library{ScriptRecord{}};     // 1..M
    std::vector<std::string> CategoryList{""}; // 1..C
    std::string MouseHandlerText;
    std::string OnloadHandlerText;
    std::string OnresizeHandlerText;
    std::string OnscrollHandlerText;

    // The current selection.
    std::string CurrentCategory;
    int16_t CurrentScriptIndex = 0;
    std::string CurrentParameterFile;
    std::string SampleFile; // full path of the user's page

    // The current script's parameters.
    ParameterState Params;

    // Expansion state.
    int16_t IntSequence = 1;
    std::vector<std::string> VarNames{""}; // 1..255, never cleared while the program runs
    int16_t ScriptRepeat = 0;              // 0..25
    int16_t TopLevelCount = 0;             // made by BuildMenuLines
    // The encoding a placeholder without modifier writes in: the page's (set from the
    // page by DoIt); false is Windows-1252.
    bool PageIsUtf8 = false;

    // Takes the folders that the layout rule (common/program_folders.h) chose.
    void UseFolders(const ProgramFolders& folders);

    // Folders and files read from the program folder.
    std::filesystem::path DataFolder() const { return ProgramFolder / "data"; }
    std::filesystem::path ImagesFolder() const { return ProgramFolder / "images"; }
    std::filesystem::path HelpFile() const { return ProgramFolder / "help" / "index.html"; }
    // Folders and files written.
    std::filesystem::path WritableFolder() const;
    std::filesystem::path UserDataFolder() const { return WritableFolder() / kTemplatesFolderName; }
    std::filesystem::path OutputFolder() const { return WritableFolder() / kOutputFolderName; }
    std::filesystem::path WorkFile() const { return WritableFolder() / "temp.dat"; }
    std::filesystem::path DefaultSampleFile() const { return WritableFolder() / kSamplePageName; }

    // The current script's record (element 0 when none is chosen or the index is out
    // of range).
    const ScriptRecord& CurrentScript() const;
};

} // namespace pelto
