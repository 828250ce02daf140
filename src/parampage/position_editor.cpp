#include "parampage/position_editor.h"

#include "parampage/int_editor.h"
#include "platform/text_codec.h"

#include <QGridLayout>
#include <QLabel>
#include <QScrollBar>
#include <QSpinBox>

#include <algorithm>

namespace pelto::ui {

PositionEditor::PositionEditor(Workspace& ws, QWidget* parent)
    : EditorFrame(ws, Position, "Position", parent) {
    auto* grid = new QGridLayout(Body());
    grid->setRowStretch(0, 1);
    auto addRow = [&](int row, int n, QLabel*& caption, QScrollBar*& bar, QSpinBox*& spin,
                      QLabel*& value) {
        caption = Named(PlainLabel(Body()), QStringLiteral("LblPositionCaption%1").arg(n));
        bar = Named(new QScrollBar(Qt::Horizontal, Body()),
                    QStringLiteral("HScrollPosition%1").arg(n), QStringLiteral("Value %1").arg(n));
        bar->setFocusPolicy(Qt::StrongFocus);
        bar->setInvertedControls(false);
        value = Named(PlainLabel(Body()), QStringLiteral("LblPositionValue%1").arg(n));
        value->setAlignment(Qt::AlignCenter);
        spin = Named(new QSpinBox(Body()), QStringLiteral("SpnPosition%1").arg(n));
        TieToSlider(spin, bar);
        grid->addWidget(caption, row, 0, 1, 2);
        grid->addWidget(bar, row + 1, 0);
        grid->addWidget(spin, row + 1, 1);
        grid->addWidget(value, row + 2, 0);
    };
    addRow(1, 1, LblPositionCaption1, HScrollPosition1, SpnPosition1, LblPositionValue1);
    grid->setRowMinimumHeight(4, 12);
    addRow(5, 2, LblPositionCaption2, HScrollPosition2, SpnPosition2, LblPositionValue2);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(8, 1);
    connect(HScrollPosition1, &QScrollBar::valueChanged, this,
            [this] { HScrollPosition1_Change(); });
    connect(HScrollPosition2, &QScrollBar::valueChanged, this,
            [this] { HScrollPosition2_Change(); });
}

void PositionEditor::Show(int16_t ordinal) {
    const PositionParameter& p = ws_.Params.PositionParameters[ordinal];
    SetCaptionAndDescription(p.Name, p.Description);
    PositionValueSuffix1 = FromBytes(" " + p.ValueSuffix1);
    PositionValueSuffix2 = FromBytes(" " + p.ValueSuffix2);
    HScrollPosition1->setMaximum(p.Max1);
    HScrollPosition2->setMaximum(p.Max2);
    HScrollPosition1->setMinimum(p.Min1);
    HScrollPosition2->setMinimum(p.Min2);
    HScrollPosition1->setValue(SliderNumber(p.Value1));
    HScrollPosition2->setValue(SliderNumber(p.Value2));
    HScrollPosition1->setPageStep(std::max(1, SliderNumber(p.LargeChange1)));
    HScrollPosition2->setPageStep(std::max(1, SliderNumber(p.LargeChange2)));
    LblPositionCaption1->setText(FromBytes(p.Caption1));
    LblPositionCaption2->setText(FromBytes(p.Caption2));
    NameAfterCaption(HScrollPosition1, LblPositionCaption1->text(), "Value 1");
    NameAfterCaption(HScrollPosition2, LblPositionCaption2->text(), "Value 2");
    SpnPosition1->setAccessibleName(HScrollPosition1->accessibleName());
    SpnPosition2->setAccessibleName(HScrollPosition2->accessibleName());
    // Refresh the units even when a value did not change.
    HScrollPosition1_Change();
    HScrollPosition2_Change();
}

void PositionEditor::HScrollPosition1_Change() {
    LblPositionValue1->setText(QString::number(HScrollPosition1->value()) + PositionValueSuffix1);
}

void PositionEditor::HScrollPosition2_Change() {
    LblPositionValue2->setText(QString::number(HScrollPosition2->value()) + PositionValueSuffix2);
}

void PositionEditor::Commit(int16_t ordinal) {
    PositionParameter& p = ws_.Params.PositionParameters[ordinal];
    p.Value1 = HScrollPosition1->value();
    p.Value2 = HScrollPosition2->value();
}

} // namespace pelto::ui
