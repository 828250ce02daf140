#include "shell/start_check.h"

#include "shell/frm_cats.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWindow>
#include <cstdio>

namespace pelto::ui {

namespace {

class MainWindowWatch : public QObject {
public:
    explicit MainWindowWatch(QObject* parent) : QObject(parent) {
        QCoreApplication::instance()->installEventFilter(this);
        poll_.setInterval(20);
        connect(&poll_, &QTimer::timeout, this, &MainWindowWatch::CheckExposed);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && !window_) {
            // A message box before the main window (a missing library, damaged effects)
            // would wait for a person: the start failed.
            if (auto* box = qobject_cast<QMessageBox*>(watched)) {
                std::fprintf(stderr, "pelto: start check: a message box appeared: %s\n",
                             box->text().toUtf8().constData());
                QCoreApplication::exit(1);
                return false;
            }
            if (auto* w = qobject_cast<FrmCats*>(watched); w && w->isWindow()) {
                window_ = w;
                poll_.start();
            }
        }
        return false;
    }

private:
    void CheckExposed() {
        if (!window_ || !window_->isVisible() || !window_->windowHandle() ||
            !window_->windowHandle()->isExposed())
            return;
        poll_.stop();
        std::printf("%s\n", window_->windowTitle().toUtf8().constData());
        std::fflush(stdout);
        QCoreApplication::exit(0);
    }

    QPointer<QWidget> window_;
    QTimer poll_;
};

} // namespace

bool StartCheckRequested(const QStringList& arguments) {
    return arguments.contains(QStringLiteral("--start-check"));
}

void QuitWhenMainWindowAppears(QObject* parent) {
    new MainWindowWatch(parent);
}

} // namespace pelto::ui
