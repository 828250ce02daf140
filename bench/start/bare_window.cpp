// The reference for Pelto's start: a bare Qt main window with a title, which prints the
// title once the window is exposed and quits, as "pelto --start-check" does.
#include <QApplication>
#include <QMainWindow>
#include <QTimer>
#include <QWindow>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("Bare window");
    window.resize(640, 480);
    window.show();
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!window.windowHandle() || !window.windowHandle()->isExposed())
            return;
        std::printf("%s\n", window.windowTitle().toUtf8().constData());
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
    poll.start();
    return app.exec();
}
