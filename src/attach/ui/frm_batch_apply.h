#pragma once
// The current effect applied to several pages at once, with the apply dialog's option
// and repeat count, or taken out of them, or its newest application on each replaced with
// the current values: the user chooses the task, adds pages (several files, or a whole
// folder with its subfolders, from the file browser), starts, sees a progress bar with the
// page being worked on (and can cancel), and then the list tells for each page done or
// failed and why. The pages run on worker threads; this window only shows their progress.
#include "attach/do_it.h"
#include "library/workspace.h"

#include <QDialog>
#include <QStringList>
#include <atomic>
#include <string>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace pelto::ui {

class FrmBatchApply : public QDialog {
    Q_OBJECT
public:
    FrmBatchApply(Workspace& ws, OutputOption option, int16_t repeat, QWidget* parent = nullptr);

    QLabel* LblTask = nullptr;
    // The task: apply (with the dialog's option), take the effect out, or replace its
    // newest application with the current values; taking out and replacing overwrite the
    // pages.
    QRadioButton* OptApply = nullptr;
    QRadioButton* OptRemove = nullptr;
    QRadioButton* OptReplace = nullptr;
    QListWidget* LstPages = nullptr;
    QPushButton* CmdAddPages = nullptr; // "Add pages..."
    QPushButton* CmdClear = nullptr;    // "Clear list"
    QProgressBar* PrgPages = nullptr;
    QLabel* LblCurrentPage = nullptr;
    QPushButton* CmdStart = nullptr;  // "Apply to all"
    QPushButton* CmdCancel = nullptr; // "Cancel", while running
    QPushButton* CmdUndo = nullptr;   // "Undo last change", after a run that wrote pages
    QPushButton* CmdClose = nullptr;  // "Close"

    // The pages chosen, in order (full paths).
    QStringList Pages() const { return pages_; }
    void AddPages(const QStringList& pages);
    // Adds every page (*.htm, *.html, in any letter case) under folder and its
    // subfolders; hidden folders and files only with includeHidden.
    void AddFolder(const QString& folder, bool includeHidden = false);

    void CmdAddPages_Click();
    void CmdClear_Click();
    void CmdStart_Click();
    void CmdCancel_Click();
    void CmdUndo_Click();

    bool Running() const { return running_; }
    // Escape or the window's close button while pages run cancels instead of closing.
    void reject() override;

signals:
    void RunFinished();

private:
    void ShowPages();
    void ShowTask();

    Workspace& ws_;
    OutputOption option_;
    int16_t repeat_;
    QStringList pages_;
    std::atomic<bool> cancel_{false};
    bool running_ = false;
};

} // namespace pelto::ui
