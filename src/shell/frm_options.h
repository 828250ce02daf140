#pragma once
// The options dialog: shows the sample page and lets the user change it through the file
// browser. The page is read from and written to the setting "Sample File".
#include "library/workspace.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QPushButton;

namespace pelto::ui {

class FrmOptions : public QDialog {
    Q_OBJECT
public:
    explicit FrmOptions(Workspace& ws, QWidget* parent = nullptr);

    QGroupBox* Frame1 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* CmdBrowse = nullptr;

    void Form_Load();
    void CmdBrowse_Click();

private:
    Workspace& ws_;
};

} // namespace pelto::ui
