#pragma once
// Shared set-up of the apply dialog and shell dialog tests: settings in a temporary INI
// file, message boxes answered by the test, the browser replaced by a recorder, and a
// way to act on a modal dialog once it is showing.
#include "library/script_record.h"
#include "support/test_support.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QWidget;

namespace pelto::test {

class WindowFixture {
public:
    WindowFixture();
    ~WindowFixture();

    const fs::path& folder() const { return temp_.path(); }
    QString settingsFile() const;
    // Paths handed to the browser launcher, in order.
    QStringList& openedPages() { return *opened_; }

private:
    TempFolder temp_;
    std::shared_ptr<QStringList> opened_;
};

// Runs act on the next modal dialog to show (polled from the event loop).
void WhenModal(std::function<void(QWidget*)> act);

// The interactive controls of window (buttons, scroll bars, lists, combo boxes) that the
// Tab key cannot reach or that have no accessible name, as "objectName: problem".
QStringList UnreachableControls(QWidget* window);

// Writes bytes to path, creating folders.
void WriteBytes(const fs::path& path, const std::string& bytes);

// The user's page of the apply tests, and their effect "fx": a "Head" item and an
// "External" file fx.js.
extern const std::string UserPage;
ScriptRecord HeadAndExternalEffect();

QString Q(const fs::path& p);

} // namespace pelto::test
