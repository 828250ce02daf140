// Pelto's GUI entry point: the program folder is the executable's folder; the shell shows
// the splash window, whose start-up sequence opens the main window. The run ends when the
// last window closes.
#include "library/workspace.h"
#include "shell/shell_flow.h"
#include "shell/shell_pictures.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv) {
    // The web engine of the live preview shares its drawing context with the windows.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName("Pelto");
    QApplication::setOrganizationName("Norvale");
    QApplication::setWindowIcon(QIcon(pelto::ui::ProgramEmblem(64)));
    pelto::Workspace ws;
    ws.ProgramFolder = QCoreApplication::applicationDirPath().toStdString();
    pelto::ui::ShellFlow shell(ws);
    shell.Start();
    return app.exec();
}
