#pragma once
// How the wizard's windows hand over to one another without knowing each other's
// classes: the shell implements this; window tests pass a recording fake.
class QWidget;

namespace pelto::ui {

class WindowFlow {
public:
    virtual ~WindowFlow() = default;
    // The main window with the category buttons.
    virtual void ShowCategories() = 0;
    // The script selection for the workspace's CurrentCategory.
    virtual void ShowScriptSelection() = 0;
    // The parameter page for the workspace's CurrentScriptIndex/CurrentParameterFile.
    virtual void ShowParameterPage() = 0;
    // The apply dialog, modal over parent; returns when it has closed.
    virtual void ShowApplyDialog(QWidget* parent) = 0;
    // Records the current script in the recent effects (the parameter page's "Apply").
    virtual void AddRecentEffect() = 0;
};

} // namespace pelto::ui
