#pragma once
// "Simple Int": one slider, a box to type the number, and a label with the value and
// unit.
#include "ui_common/editor_frame.h"

class QLabel;
class QScrollBar;
class QSpinBox;

namespace pelto::ui {

class IntEditor : public EditorFrame {
public:
    IntEditor(Workspace& ws, QWidget* parent);
    void Show(int16_t ordinal) override;
    void Commit(int16_t ordinal) override;

    void HScrollSimpleInt_Change();

    QScrollBar* HScrollSimpleInt = nullptr;
    QSpinBox* SpnSimpleInt = nullptr; // the same value, typed
    QLabel* LblIntValue = nullptr;

private:
    QString IntValueSuffix;
};

// Keeps spin showing slider's value and limits, and moves slider to a number typed or
// stepped in spin.
void TieToSlider(QSpinBox* spin, QScrollBar* slider);

// A double of the definition as a slider position: rounded half to even and kept in
// the 16-bit range.
int SliderNumber(double value);

} // namespace pelto::ui
