#pragma once
// "Mouseover": the links of the sample page and one or two texts per link. The texts
// are stored into the link table as they are typed.
#include "ui_common/editor_frame.h"

class QLabel;
class QLineEdit;
class QListWidget;

namespace pelto::ui {

class MouseoverEditor : public EditorFrame {
public:
    MouseoverEditor(Workspace& ws, QWidget* parent);
    void Show(int16_t ordinal) override;

    void LstMouseover_Click();
    void TxtMouseover1_Change();
    void TxtMouseover2_Change();

    QListWidget* LstMouseover = nullptr;
    QLabel* LblMouseover1 = nullptr;
    QLineEdit* TxtMouseover1 = nullptr;
    QLabel* LblMouseover2 = nullptr;
    QLineEdit* TxtMouseover2 = nullptr;

    // False until the first line click; while false a box change is not stored.
    bool MouseoverEditsLive = false;

private:
    void StoreTyped(QLineEdit* box, std::string PageLink::*field);
};

} // namespace pelto::ui
