#pragma once
// The apply dialog, the wizard's last step: the user picks the page (SampleFile), says
// how often this script was applied to it before and what to do with the result; "Do it"
// runs the core pipeline (DoIt) and opens the resulting page in the browser. The dialog
// stays open so the user can apply again with other settings.
#include "library/workspace.h"

#include <QDialog>
#include <QString>

class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTimer;

namespace pelto::ui {
class ElidedLabel;
}

namespace pelto::ui {

class FrmApplyChanges : public QDialog {
    Q_OBJECT
public:
    explicit FrmApplyChanges(Workspace& ws, QWidget* parent = nullptr);

    // The text LblScriptRepeat shows for a repeat count.
    static QString ScriptRepeatText(int value);
    // The overwrite confirmation, naming the page (or, for several, their count).
    static QString OverwriteQuestion(const QString& page);
    static QString OverwriteQuestion(int pages);

    QGroupBox* Frame3 = nullptr;
    ElidedLabel* LblHTMLFile = nullptr;
    QPushButton* Command3 = nullptr; // "Browse"
    QGroupBox* Frame1 = nullptr;
    QRadioButton* Option1 = nullptr; // copy beside the page
    QRadioButton* Option2 = nullptr; // overwrite the page
    QRadioButton* Option3 = nullptr; // preview only
    QGroupBox* Frame2 = nullptr;
    QScrollBar* HScrollScriptRepeat = nullptr;
    QLabel* LblScriptRepeat = nullptr;
    QPushButton* Command2 = nullptr; // "Do it"
    QPushButton* Command1 = nullptr; // "Back"
    QTimer* Timer1 = nullptr;
    QPushButton* CmdUndo = nullptr;  // "Undo last change", once a run wrote into a folder
    QPushButton* CmdBatch = nullptr; // "Several pages...": the batch window
    // The effects on the chosen page, newest first, and taking the chosen one out.
    QGroupBox* FraEffects = nullptr;
    QListWidget* LstEffects = nullptr;
    QPushButton* CmdRemove = nullptr; // "Remove"
    // "Change values...": back to the parameter page with the chosen application's values;
    // its "Apply" then replaces that application.
    QPushButton* CmdChange = nullptr;

    void Form_Load();
    void HScrollScriptRepeat_Change();
    void Timer1_Timer();
    void Command3_Click();
    void Command2_Click();
    void Command1_Click();
    void CmdUndo_Click();
    void CmdBatch_Click();
    void CmdRemove_Click();
    void CmdChange_Click();
    void LstEffects_Click();
    // Reads the page's effects again into LstEffects.
    void RefreshEffects();

    // Escape and the window's close button leave the dialog as "Back" does.
    void reject() override;

private:
    void ShowSampleFile();

    Workspace& ws_;
};

} // namespace pelto::ui
