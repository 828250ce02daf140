#pragma once
// Where Pelto finds its files, decided once at start-up from the layout around the
// executable (never from permissions, since root can write anywhere):
// - a folder that holds data/ is a portable program folder (the build tree, an unpacked
//   folder): everything, read-only and writable, stays in it;
// - otherwise the program is installed: the read-only data comes from ../share/pelto
//   beside the executable's bin/ folder, and what the program writes (templates, the
//   output folder, the work file, the user's copy of the sample page) goes into the
//   per-user data folder, $XDG_DATA_HOME/Pelto or ~/.local/share/Pelto.
// The windows and pelto-cli both ask here; the core is handed the folders.
#include "common/result.h"

#include <filesystem>

namespace pelto {

inline constexpr char kTemplatesFolderName[] = "userdata";
inline constexpr char kOutputFolderName[] = "output";
inline constexpr char kSamplePageName[] = "sample.htm";
// The per-user data folder's name below the user's data home; the windows' application
// name, so that it is the folder their standard application-data location names.
inline constexpr char kUserFolderName[] = "Pelto";

struct ProgramFolders {
    bool installed = false;
    std::filesystem::path readOnlyDir;  // data/, images/, help/, sample.htm
    std::filesystem::path userDataDir;  // everything written: the folders below, the work
                                        // file, the user's sample page, undo records
    std::filesystem::path templatesDir; // userDataDir/userdata
    std::filesystem::path outputDir;    // userDataDir/output
};

// One folder for everything (a portable program folder, or pelto-cli --home DIR).
ProgramFolders PortableFolders(const std::filesystem::path& folder);

// The layout rule above, with the per-user folder from the environment.
ProgramFolders FindProgramFolders(const std::filesystem::path& executableFolder);

// The per-user data folder for the given values of XDG_DATA_HOME and HOME (either may
// be null): XDG_DATA_HOME/Pelto when it is set, else HOME/.local/share/Pelto (the
// password database's home folder when HOME is unset).
std::filesystem::path PerUserDataFolder(const char* xdgDataHome, const char* home);

// For an installed program: creates the per-user folders and, when the user has no
// sample page there yet, copies the installed one so it can be applied to and changed.
// Does nothing for a portable folder. The error names the folder or file.
Status PrepareUserFolder(const ProgramFolders& folders);

// The folder of the running executable (argv0 when /proc cannot tell).
std::filesystem::path RunningExecutableFolder(const char* argv0);

} // namespace pelto
