// Pelto's GUI entry point: the program facts decide where the library is read and where
// the user's files go (a portable program folder, or an installed program with a per-user
// data folder); the shell shows the splash window, whose start-up sequence opens the main
// window. The run ends when the last window closes.
#include "library/workspace.h"
#include "platform/message_box.h"
#include "platform/native_text.h"
#include "platform/program_facts.h"
#include "platform/settings_store.h"
#include "shell/shell_flow.h"
#include "shell/shell_pictures.h"
#include "shell/start_check.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    pelto::ui::ApplyProgramIdentity();
    QApplication::setWindowIcon(QIcon(pelto::ui::ProgramEmblem(64)));
    const pelto::ProgramFolders folders = pelto::ui::ProgramFoldersOfThisRun();
    // A portable program folder keeps its settings beside the program, like all else.
    if (!folders.installed)
        pelto::ui::SetSettingsFile(
            pelto::ui::SettingsFileOf(QString::fromStdString(folders.userDataDir.string())));
    pelto::Workspace ws;
    ws.UseFolders(folders);
    if (pelto::Status st = pelto::PrepareUserFolder(folders); !st)
        pelto::ui::ShowMessage(nullptr, pelto::ui::ErrorToQString(st.error()),
                               pelto::ui::MessageIcon::Exclamation);
    if (pelto::ui::StartCheckRequested(QApplication::arguments()))
        pelto::ui::QuitWhenMainWindowAppears(&app);
    pelto::ui::ShellFlow shell(ws);
    shell.Start();
    return app.exec();
}
