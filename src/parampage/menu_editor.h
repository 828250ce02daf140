#pragma once
// "Menu": the menu builder. Each line shows an entry's depth as leading ">" marks and
// its caption; the handlers store into the menu record at once, the commit only the
// count.
#include "ui_common/editor_frame.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace pelto::ui {

// The number of leading ">" of a display text, and the text without them.
int MenuDepth(const QString& text);
QString BareCaption(const QString& text);

class MenuEditor : public EditorFrame {
public:
    MenuEditor(Workspace& ws, QWidget* parent);
    void Show(int16_t ordinal) override;
    void Commit(int16_t ordinal) override;

    void LstMenuBuilder_Click();
    void TxtMenuCaption_Change();
    void TxtMenuLink_Change();
    void CmdMenuAdd_Click();
    void CmdMenuRemove_Click();
    void CmdMenuUp_Click();
    void CmdMenuDown_Click();
    void CmdMenuLeft_Click();
    void CmdMenuRight_Click();

    QListWidget* LstMenuBuilder = nullptr;
    QLineEdit* TxtMenuCaption = nullptr;
    QLineEdit* TxtMenuLink = nullptr;
    QPushButton* CmdMenuAdd = nullptr;
    QPushButton* CmdMenuRemove = nullptr;
    QPushButton* CmdMenuUp = nullptr;
    QPushButton* CmdMenuDown = nullptr;
    QPushButton* CmdMenuLeft = nullptr;
    QPushButton* CmdMenuRight = nullptr;

private:
    // Keeps the four arrays at 0..count.
    void ResizeArrays(int count);
    // Sets line i and MenuEntries[i+1].
    void SetLine(int i, const QString& text);
    void SwapEntries(int a, int b);
};

} // namespace pelto::ui
