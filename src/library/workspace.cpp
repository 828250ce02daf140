#include "library/workspace.h"

namespace pelto {

void Workspace::UseFolders(const ProgramFolders& folders) {
    ProgramFolder = folders.readOnlyDir;
    UserFolder = folders.userDataDir;
}

std::filesystem::path Workspace::WritableFolder() const {
    return UserFolder.empty() ? ProgramFolder : UserFolder;
}

} // namespace pelto
