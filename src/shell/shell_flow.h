#pragma once
// How the wizard's windows follow one another in a run: the shell creates each window
// when it is asked for, shows it and lets it delete itself when it closes. Start opens the
// splash window, whose start-up sequence asks for the main window; from there each window
// hands over through this WindowFlow.
#include "library/workspace.h"
#include "platform/window_flow.h"

#include <QObject>
#include <QPointer>

class QWidget;

namespace pelto::ui {

class FrmCats;
class FrmSelectScript;
class frmSplash;

class ShellFlow : public QObject, public WindowFlow {
    Q_OBJECT
public:
    explicit ShellFlow(Workspace& ws);
    ~ShellFlow() override;

    // Shows the splash window; its start-up sequence opens the main window. When the
    // start-up fails, the application's event loop is left with exit code 1.
    void Start();

    void ShowCategories() override;
    void ShowScriptSelection() override;
    void ShowParameterPage() override;
    void ShowApplyDialog(QWidget* parent) override;
    void AddRecentEffect() override;

    // The windows currently open (nullptr when closed); for tests.
    FrmCats* Categories() const;
    FrmSelectScript* Selection() const;
    QWidget* ParameterPage() const;

private:
    Workspace& ws_;
    QPointer<frmSplash> splash_;
    QPointer<FrmCats> categories_;
    QPointer<FrmSelectScript> selection_;
    QPointer<QWidget> page_;
};

} // namespace pelto::ui
