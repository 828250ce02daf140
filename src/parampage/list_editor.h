#pragma once
// "List (1D to 3D)": the entries of a list parameter with up to three columns. The
// editor works on ListWorkTable; the record's entries change only at commit.
#include "ui_common/editor_frame.h"

#include <array>
#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace pelto::ui {

class ListEditor : public EditorFrame {
public:
    static constexpr int WorkRows = 256;

    ListEditor(Workspace& ws, QWidget* parent);
    void Show(int16_t ordinal) override;
    void Commit(int16_t ordinal) override;

    void Command1_Click(); // New
    void Command2_Click(); // Update
    void Command3_Click(); // Delete
    void Command4_Click(); // Up
    void Command6_Click(); // Down
    void LstList_DblClick();

    QListWidget* LstList = nullptr;
    QLabel* LblListCaption = nullptr;
    QLineEdit* TxtLstEntry = nullptr;
    QLabel* LblListCaption2 = nullptr;
    QLineEdit* TxtLstEntry2 = nullptr;
    QLabel* LblListCaption3 = nullptr;
    QLineEdit* TxtLstEntry3 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command6 = nullptr;

    // Row r holds entry r; element 0..2 are the columns 1..3. Shared by every list
    // parameter shown on this page; rows beyond the entries keep what they held.
    std::vector<std::array<std::string, 3>> ListWorkTable;

private:
    // The three boxes as file text; false (after a message) when one cannot be stored.
    bool ReadBoxes(std::array<std::string, 3>& row);
};

} // namespace pelto::ui
