#pragma once
// A parameter page opened on a definition written for the test: a temporary program
// folder, a workspace whose current script uses that definition, and a window flow
// that records what the page asks of the shell.
#include "library/workspace.h"
#include "parampage/frm_script.h"
#include "platform/window_flow.h"
#include "support/test_support.h"

#include <QLabel>
#include <QStringList>

#include <initializer_list>
#include <memory>
#include <string>

class QListWidget;

namespace pelto::test {

class RecordingFlow : public ui::WindowFlow {
public:
    void ShowCategories() override { calls << "ShowCategories"; }
    void ShowScriptSelection() override { calls << "ShowScriptSelection"; }
    void ShowParameterPage() override { calls << "ShowParameterPage"; }
    void ShowApplyDialog(QWidget* parent) override {
        calls << (parent ? "ShowApplyDialog(page)" : "ShowApplyDialog");
        if (onApply)
            onApply();
    }
    void AddRecentEffect() override { calls << "AddRecentEffect"; }

    QStringList calls;
    std::function<void()> onApply;
};

// Definition blocks, one line per element (the last line of a file is never read, so
// Definition() ends the file with a comment).
std::string Definition(std::initializer_list<std::initializer_list<std::string>> blocks);

class PageFixture {
public:
    // Writes the definition (and the sample page, when given) and opens the page.
    explicit PageFixture(const std::string& definition, const std::string& samplePage = "");
    ~PageFixture();

    ui::FrmScript& page() { return *page_; }
    Workspace ws;
    RecordingFlow flow;
    TempProgramFolder folder;

    // Selects the parameter of that name in the page's list, as a click would.
    void Select(const QString& name);
    int RowOf(const QString& name) const;

    template <class T> T* Find(const char* name) const {
        T* w = page_->findChild<T*>(name);
        if (!w)
            throw std::runtime_error(std::string("no control ") + name);
        return w;
    }

private:
    std::unique_ptr<ui::FrmScript> page_;
};

// Clicks line row of a list box with the mouse.
void ClickRow(QListWidget* list, int row);

} // namespace pelto::test
