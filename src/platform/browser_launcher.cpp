#include "platform/browser_launcher.h"

#include <QDesktopServices>
#include <QUrl>

namespace pelto::ui {

namespace {
CheckedBrowserLauncher& Current() {
    static CheckedBrowserLauncher launcher;
    return launcher;
}
} // namespace

bool OpenInBrowser(const QString& path) {
    if (Current())
        return Current()(path);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void SetBrowserLauncher(BrowserLauncher launcher) {
    if (!launcher) {
        Current() = {};
        return;
    }
    Current() = [launcher = std::move(launcher)](const QString& path) {
        launcher(path);
        return true;
    };
}

void SetCheckedBrowserLauncher(CheckedBrowserLauncher launcher) {
    Current() = std::move(launcher);
}

} // namespace pelto::ui
