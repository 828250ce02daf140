#include "common/program_folders.h"

#include "common/files.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace pelto {

namespace {

// Relative path from the installed bin/ folder to the installed read-only data, set by
// the build from its install folders.
#ifndef PELTO_INSTALLED_DATA
#define PELTO_INSTALLED_DATA "../share/pelto"
#endif

ProgramFolders WithWritableFolder(ProgramFolders f, const fs::path& writable) {
    f.userDataDir = writable;
    f.templatesDir = writable / kTemplatesFolderName;
    f.outputDir = writable / kOutputFolderName;
    return f;
}

Status CreateFolder(const fs::path& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec || !fs::is_directory(folder, ec))
        return MakeError(PathText(folder), 0,
                         "cannot create this folder for Pelto's own files: " +
                             (ec ? ec.message() : std::string("a file is in the way")));
    return {};
}

} // namespace

ProgramFolders PortableFolders(const fs::path& folder) {
    ProgramFolders f;
    f.readOnlyDir = folder;
    return WithWritableFolder(f, folder);
}

ProgramFolders FindProgramFolders(const fs::path& executableFolder) {
    std::error_code ec;
    if (fs::is_directory(executableFolder / "data", ec))
        return PortableFolders(executableFolder);
    ProgramFolders f;
    f.installed = true;
    f.readOnlyDir = (executableFolder / PELTO_INSTALLED_DATA).lexically_normal();
    if (!f.readOnlyDir.has_filename())
        f.readOnlyDir = f.readOnlyDir.parent_path(); // no trailing separator
    return WithWritableFolder(f,
                              PerUserDataFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")));
}

fs::path PerUserDataFolder(const char* xdgDataHome, const char* home) {
    if (xdgDataHome && *xdgDataHome)
        return fs::path(xdgDataHome) / kUserFolderName;
    std::string homeFolder = home ? home : "";
    if (homeFolder.empty()) {
        const passwd* entry = getpwuid(getuid());
        homeFolder = entry && entry->pw_dir ? entry->pw_dir : "/";
    }
    return fs::path(homeFolder) / ".local" / "share" / kUserFolderName;
}

Status PrepareUserFolder(const ProgramFolders& folders) {
    if (!folders.installed)
        return {};
    for (const fs::path& folder : {folders.userDataDir, folders.templatesDir, folders.outputDir})
        if (Status st = CreateFolder(folder); !st)
            return st;
    const fs::path userSample = folders.userDataDir / kSamplePageName;
    const fs::path shippedSample = folders.readOnlyDir / kSamplePageName;
    std::error_code ec;
    if (fs::exists(userSample, ec) || !fs::exists(shippedSample, ec))
        return {};
    Result<std::string> bytes = ReadFileBytes(shippedSample);
    if (!bytes)
        return bytes.status();
    return WriteFileAtomic(userSample, *bytes);
}

fs::path RunningExecutableFolder(const char* argv0) {
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        self = fs::absolute(argv0 ? argv0 : "", ec);
    return self.parent_path();
}

} // namespace pelto
