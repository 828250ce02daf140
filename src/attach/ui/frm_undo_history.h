#pragma once
// The last changes Pelto made to the user's folders (time, effect, page), newest first;
// the user picks one and undoes it.
#include "library/workspace.h"

#include <QDialog>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;

namespace pelto::ui {

class FrmUndoHistory : public QDialog {
    Q_OBJECT
public:
    static constexpr int kShown = 20;
    explicit FrmUndoHistory(const Workspace& ws, QWidget* parent = nullptr);

    QListWidget* LstChanges = nullptr;
    QPushButton* CmdUndo = nullptr;  // "Undo selected change"
    QPushButton* CmdClose = nullptr; // "Close"

    void Fill();
    void CmdUndo_Click();

private:
    const Workspace& ws_;
    std::vector<std::string> ids_;
};

} // namespace pelto::ui
