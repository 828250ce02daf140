#pragma once
// The splash window, the first window of a run. Loading fills its labels; the first
// activation runs the start-up sequence (parameter state, handler texts, sample page,
// library, categories), showing each step in LblProgress, then opens the main window and
// closes itself. A missing data folder or handler file ends the start-up with a message.
#include "library/workspace.h"
#include "platform/window_flow.h"

#include <QWidget>

class QLabel;

namespace pelto::ui {

class frmSplash : public QWidget {
    Q_OBJECT
public:
    frmSplash(Workspace& ws, WindowFlow& flow, QWidget* parent = nullptr);

    // Event handlers.
    void Form_Load();
    void Form_Activate();

    // The start-up sequence; runs once. False when the program cannot go on.
    bool RunStartUp();

    QLabel* lblVersion = nullptr;
    QLabel* lblProductName = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* lblCompanyProduct = nullptr;
    QLabel* lblCompany = nullptr;
    QLabel* LblProgress = nullptr;

signals:
    // LblProgress has been repainted with this text.
    void progressShown(const QString& text);
    // The sequence has ended: the main window is open (true) or start-up failed.
    void startUpFinished(bool ok);

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void ShowProgress(const QString& text);

    Workspace& ws_;
    WindowFlow& flow_;
    bool started_ = false;
};

} // namespace pelto::ui
