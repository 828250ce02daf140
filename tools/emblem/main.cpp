// pelto-emblem OUT_DIR NAME
// Draws the program emblem (the one the windows show) as the desktop's theme icon:
// OUT_DIR/hicolor/<N>x<N>/apps/NAME.png for the usual sizes. Run at build time on the
// offscreen platform.
#include "shell/shell_pictures.h"

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() != 3) {
        std::fputs("usage: pelto-emblem OUT_DIR NAME\n", stderr);
        return 2;
    }
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1/hicolor/%2x%2/apps").arg(args[1]).arg(size);
        const QString file = folder + "/" + args[2] + ".png";
        if (!QDir().mkpath(folder) || !pelto::ui::ProgramEmblem(size).save(file, "PNG")) {
            std::fprintf(stderr, "pelto-emblem: %s: cannot write the icon\n",
                         file.toLocal8Bit().constData());
            return 1;
        }
    }
    return 0;
}
