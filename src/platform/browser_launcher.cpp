#include "platform/browser_launcher.h"

#include <QDesktopServices>
#include <QUrl>

namespace pelto::ui {

namespace {
BrowserLauncher& Current() {
    static BrowserLauncher launcher;
    return launcher;
}
} // namespace

void OpenInBrowser(const QString& path) {
    if (Current()) {
        Current()(path);
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void SetBrowserLauncher(BrowserLauncher launcher) {
    Current() = std::move(launcher);
}

} // namespace pelto::ui
