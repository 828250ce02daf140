#include "parampage/int_editor.h"

#include "common/numbers.h"
#include "platform/text_codec.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace pelto::ui {

int SliderNumber(double value) {
    if (!std::isfinite(value))
        return 0;
    return static_cast<int>(std::clamp(RoundHalfEven(value), -32768.0, 32767.0));
}

void TieToSlider(QSpinBox* spin, QScrollBar* slider) {
    // A typed number is taken on Enter or when the box is left; the arrows and the
    // wheel take theirs at once.
    spin->setKeyboardTracking(false);
    spin->setRange(slider->minimum(), slider->maximum());
    spin->setValue(slider->value());
    spin->setAccessibleName(slider->accessibleName());
    // The box's own text field is named too, for screen readers.
    if (auto* field = spin->findChild<QLineEdit*>())
        field->setAccessibleName(slider->accessibleName());
    QObject::connect(slider, &QScrollBar::rangeChanged, spin, [spin](int min, int max) {
        const QSignalBlocker quiet(spin);
        spin->setRange(min, max);
    });
    QObject::connect(slider, &QScrollBar::valueChanged, spin, [spin](int value) {
        const QSignalBlocker quiet(spin);
        spin->setValue(value);
    });
    QObject::connect(spin, &QSpinBox::valueChanged, slider,
                     [slider](int value) { slider->setValue(value); });
}

IntEditor::IntEditor(Workspace& ws, QWidget* parent) : EditorFrame(ws, Int, "Simple Int", parent) {
    auto* layout = new QVBoxLayout(Body());
    layout->addStretch(1);
    HScrollSimpleInt = Named(new QScrollBar(Qt::Horizontal, Body()), "HScrollSimpleInt", "Value");
    HScrollSimpleInt->setFocusPolicy(Qt::StrongFocus);
    // The arrow keys move the value the way they point.
    HScrollSimpleInt->setInvertedControls(false);
    // The number can be typed too, within the slider's limits.
    SpnSimpleInt = Named(new QSpinBox(Body()), "SpnSimpleInt", "Value");
    auto* row = new QHBoxLayout;
    row->addWidget(HScrollSimpleInt, 1);
    row->addWidget(SpnSimpleInt);
    layout->addLayout(row);
    TieToSlider(SpnSimpleInt, HScrollSimpleInt);
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
