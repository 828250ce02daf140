#include "parampage/int_editor.h"

#include "common/numbers.h"
#include "platform/text_codec.h"

#include <QLabel>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace pelto::ui {

int SliderNumber(double value) {
    if (!std::isfinite(value))
        return 0;
    return static_cast<int>(std::clamp(RoundHalfEven(value), -32768.0, 32767.0));
}

IntEditor::IntEditor(Workspace& ws, QWidget* parent) : EditorFrame(ws, Int, "Simple Int", parent) {
    auto* layout = new QVBoxLayout(Body());
    layout->addStretch(1);
    HScrollSimpleInt = Named(new QScrollBar(Qt::Horizontal, Body()), "HScrollSimpleInt", "Value");
    HScrollSimpleInt->setFocusPolicy(Qt::StrongFocus);
    // The arrow keys move the value the way they point.
    HScrollSimpleInt->setInvertedControls(false);
    layout->addWidget(HScrollSimpleInt);
    LblIntValue = Named(PlainLabel(Body()), "LblIntValue", "Value");
    LblIntValue->setAlignment(Qt::AlignCenter);
    layout->addWidget(LblIntValue);
    layout->addStretch(1);
    connect(HScrollSimpleInt, &QScrollBar::valueChanged, this,
            [this] { HScrollSimpleInt_Change(); });
}

void IntEditor::Show(int16_t ordinal) {
    const IntParameter& p = ws_.Params.IntParameters[ordinal];
    SetCaptionAndDescription(p.Name, p.Description);
    IntValueSuffix = FromBytes(" " + p.ValueSuffix);
    HScrollSimpleInt->setMaximum(p.Max);
    HScrollSimpleInt->setMinimum(p.Min);
    HScrollSimpleInt->setValue(SliderNumber(p.Value));
    HScrollSimpleInt->setPageStep(std::max(1, SliderNumber(p.LargeChange)));
    // The value may equal the previous parameter's, which fires no change: the label
    // must still show this parameter's unit.
    HScrollSimpleInt_Change();
}

void IntEditor::HScrollSimpleInt_Change() {
    LblIntValue->setText(QString::number(HScrollSimpleInt->value()) + IntValueSuffix);
}

void IntEditor::Commit(int16_t ordinal) {
    ws_.Params.IntParameters[ordinal].Value = HScrollSimpleInt->value();
}

} // namespace pelto::ui
