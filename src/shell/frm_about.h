#pragma once
// The about box: the program's name and version, and "System Info...".
#include <QDialog>

class QLabel;
class QPushButton;

namespace pelto::ui {

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

    QLabel* picIcon = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDescription = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSysInfo = nullptr;

    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();
    // Starts the desktop's system information tool; this platform has none, so it says so.
    void StartSysInfo();
};

} // namespace pelto::ui
