#pragma once
// Opening a page in the desktop's default browser. One replaceable function, so tests
// never start a browser.
#include <QString>

#include <functional>

namespace pelto::ui {

using BrowserLauncher = std::function<void(const QString& path)>;

void OpenInBrowser(const QString& path);

// Replaces the launcher (tests record the paths instead); an empty function restores
// the desktop's default.
void SetBrowserLauncher(BrowserLauncher launcher);

} // namespace pelto::ui
