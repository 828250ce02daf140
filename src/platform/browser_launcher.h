#pragma once
// Opening a page in the desktop's default browser. One replaceable function, so tests
// never start a browser.
#include <QString>

#include <functional>

namespace pelto::ui {

using BrowserLauncher = std::function<void(const QString& path)>;
// A launcher that says whether a browser could be started.
using CheckedBrowserLauncher = std::function<bool(const QString& path)>;

// False when no browser could be started (no default browser is set up).
bool OpenInBrowser(const QString& path);

// Replaces the launcher (tests record the paths instead); an empty function restores
// the desktop's default.
void SetBrowserLauncher(BrowserLauncher launcher);
void SetCheckedBrowserLauncher(CheckedBrowserLauncher launcher);

} // namespace pelto::ui
