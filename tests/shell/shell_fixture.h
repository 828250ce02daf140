#pragma once
// Fixtures for the shell's window tests: a small library in a temporary program folder,
// an isolated settings store, message boxes answered by the test seam, and a WindowFlow
// that records what the windows asked for.
#include "library/workspace.h"
#include "platform/window_flow.h"
#include "support/test_support.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>

namespace pelto::test {

// Records every hand-over; an optional hook runs inside each call.
class RecordingFlow : public ui::WindowFlow {
public:
    void ShowCategories() override { Record("ShowCategories"); }
    void ShowScriptSelection() override { Record("ShowScriptSelection"); }
    void ShowParameterPage() override { Record("ShowParameterPage"); }
    void ShowApplyDialog(QWidget*) override { Record("ShowApplyDialog"); }
    void AddRecentEffect() override { Record("AddRecentEffect"); }

    QStringList calls;
    std::function<void(const QString&)> hook;

private:
    void Record(const QString& call) {
        calls << call;
        if (hook)
            hook(call);
    }
};

struct ScriptSpec {
    std::string file; // header file name, e.g. "a01.hdr" (library order is file-name order)
    std::string id;
    std::string name;
    std::string description;
    std::string category;
};

// A program folder with the given scripts (headers without items), a settings file of
// its own and test message boxes. Load() reads it into the workspace as start-up does.
class ShellFixture {
public:
    ShellFixture();
    ~ShellFixture();

    void AddScript(const ScriptSpec& spec);
    // A one-pixel GIF picture in images/ (red, green and blue pick its colour).
    void AddPicture(const std::string& name, int red, int green, int blue);
    void Load();

    const TempProgramFolder& home() const { return home_; }
    Workspace ws;
    RecordingFlow flow;
    QString settingsFile;

private:
    TempProgramFolder home_;
    TempFolder settingsFolder_;
};

// A GIF file of one pixel of the given colour.
std::string OnePixelGif(int red, int green, int blue);

} // namespace pelto::test
