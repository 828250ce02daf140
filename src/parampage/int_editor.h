#pragma once
// "Simple Int": one slider and a label with its value and unit.
#include "ui_common/editor_frame.h"

class QLabel;
class QScrollBar;

namespace pelto::ui {

class IntEditor : public EditorFrame {
public:
    IntEditor(Workspace& ws, QWidget* parent);
    void Show(int16_t ordinal) override;
    void Commit(int16_t ordinal) override;

    void HScrollSimpleInt_Change();

    QScrollBar* HScrollSimpleInt = nullptr;
    QLabel* LblIntValue = nullptr;

private:
    QString IntValueSuffix;
};

// A double of the definition as a slider position: rounded half to even and kept in
// the 16-bit range.
int SliderNumber(double value);

} // namespace pelto::ui
