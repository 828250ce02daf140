#pragma once
// "Position": two sliders, each with a caption, a box to type the number and a value
// label.
#include "ui_common/editor_frame.h"

class QLabel;
class QScrollBar;
class QSpinBox;

namespace pelto::ui {

class PositionEditor : public EditorFrame {
public:
    PositionEditor(Workspace& ws, QWidget* parent);
    void Show(int16_t ordinal) override;
    void Commit(int16_t ordinal) override;

    void HScrollPosition1_Change();
    void HScrollPosition2_Change();

    QScrollBar* HScrollPosition1 = nullptr;
    QScrollBar* HScrollPosition2 = nullptr;
    QSpinBox* SpnPosition1 = nullptr;
    QSpinBox* SpnPosition2 = nullptr;
    QLabel* LblPositionValue1 = nullptr;
    QLabel* LblPositionValue2 = nullptr;
    QLabel* LblPositionCaption1 = nullptr;
    QLabel* LblPositionCaption2 = nullptr;

private:
    QString PositionValueSuffix1;
    QString PositionValueSuffix2;
};

} // namespace pelto::ui
