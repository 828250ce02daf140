#include "parampage/option_editor.h"

#include "platform/text_codec.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

#include <algorithm>

namespace pelto::ui {

OptionEditor::OptionEditor(Workspace& ws, QWidget* parent)
    : EditorFrame(ws, Option, "Options", parent) {
    auto* grid = new QGridLayout(Body());
    grid->setVerticalSpacing(2);
    group_ = new QButtonGroup(this);
    for (int i = 0; i < ButtonCount; ++i) {
        OptOption[i] = Named(new QRadioButton(Body()), QStringLiteral("OptOption_%1").arg(i));
        group_->addButton(OptOption[i], i);
        grid->addWidget(OptOption[i], i % 7, i / 7);
        OptOption[i]->hide();
    }
    grid->setRowStretch(7, 1);
}

void OptionEditor::Show(int16_t ordinal) {
    const OptionParameter& p = ws_.Params.OptionParameters[ordinal];
    SetCaptionAndDescription(p.Name, p.Description);
    for (QRadioButton* b : OptOption)
        b->hide();
    // More options than buttons: the first 14 are offered.
    const int shown = std::min<int>({p.Count, ButtonCount, static_cast<int>(p.Captions.size())});
    for (int j = 0; j < shown; ++j) {
        OptOption[j]->setText(FromBytes(p.Captions[j]));
        NameAfterCaption(OptOption[j], OptOption[j]->text(),
                         QStringLiteral("Option %1").arg(j + 1));
        OptOption[j]->show();
    }
    if (p.Selected >= 0 && p.Selected < shown) {
        OptOption[p.Selected]->setChecked(true);
    } else {
        // A choice outside the offered buttons: none is on, and committing keeps it.
        group_->setExclusive(false);
        for (QRadioButton* b : OptOption)
            b->setChecked(false);
        group_->setExclusive(true);
    }
}

void OptionEditor::Commit(int16_t ordinal) {
    OptionParameter& p = ws_.Params.OptionParameters[ordinal];
    for (int i = 0; i < ButtonCount; ++i)
        if (OptOption[i]->isChecked())
            p.Selected = static_cast<int16_t>(i);
}

} // namespace pelto::ui
