#include "parampage/mouseover_editor.h"

#include "platform/text_codec.h"
#include "ui_common/user_choice.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>

namespace pelto::ui {

MouseoverEditor::MouseoverEditor(Workspace& ws, QWidget* parent)
    : EditorFrame(ws, Mouseover, "Mouseover", parent) {
    auto* grid = new QGridLayout(Body());
    grid->setContentsMargins(0, 0, 0, 0);
    LstMouseover = Named(new QListWidget(Body()), "LstMouseover", "Links");
    LblMouseover1 = Named(PlainLabel(Body()), "LblMouseover1");
    TxtMouseover1 = Named(new QLineEdit(Body()), "TxtMouseover1", "First text");
    LblMouseover2 = Named(PlainLabel(Body()), "LblMouseover2");
    TxtMouseover2 = Named(new QLineEdit(Body()), "TxtMouseover2", "Second text");
    LblMouseover1->setBuddy(TxtMouseover1);
    LblMouseover2->setBuddy(TxtMouseover2);
    grid->addWidget(LstMouseover, 0, 0, 5, 1);
    grid->addWidget(LblMouseover1, 0, 1);
    grid->addWidget(TxtMouseover1, 1, 1);
    grid->addWidget(LblMouseover2, 2, 1);
    grid->addWidget(TxtMouseover2, 3, 1);
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    OnRowChosen(LstMouseover, [this](int) { LstMouseover_Click(); });
    connect(TxtMouseover1, &QLineEdit::textChanged, this, [this] { TxtMouseover1_Change(); });
    connect(TxtMouseover2, &QLineEdit::textChanged, this, [this] { TxtMouseover2_Change(); });
}

void MouseoverEditor::Show(int16_t) {
    const MouseoverParameter& p = ws_.Params.Mouseover;
    LstMouseover->clear();
    lblDescription->setText(FromBytes(p.Description));
    const bool first = p.Template.find('*') != std::string::npos;
    const bool second = p.Template.find('#') != std::string::npos;
    LblMouseover1->setText(FromBytes(p.Caption1));
    NameAfterCaption(TxtMouseover1, LblMouseover1->text(), "First text");
    LblMouseover1->setVisible(first);
    TxtMouseover1->setVisible(first);
    LblMouseover2->setText(FromBytes(p.Caption2));
    NameAfterCaption(TxtMouseover2, LblMouseover2->text(), "Second text");
    LblMouseover2->setVisible(second);
    TxtMouseover2->setVisible(second);
    for (int i = 1; i <= p.LinkCount(); ++i)
        LstMouseover->addItem(FromBytes(p.Links[i].LinkText));
}

void MouseoverEditor::LstMouseover_Click() {
    const int i = ChosenRow(LstMouseover);
    const auto& links = ws_.Params.Mouseover.Links;
    if (i < 0 || i + 1 >= static_cast<int>(links.size()))
        return;
    MouseoverEditsLive = false;
    TxtMouseover1->setText(FromBytes(links[i + 1].Text1));
    MouseoverEditsLive = false;
    TxtMouseover2->setText(FromBytes(links[i + 1].Text2));
    MouseoverEditsLive = true;
}

void MouseoverEditor::StoreTyped(QLineEdit* box, std::string PageLink::*field) {
    auto& links = ws_.Params.Mouseover.Links;
    const int i = ChosenRow(LstMouseover);
    // With no line selected the text belongs to no link.
    if (MouseoverEditsLive && i >= 0 && i + 1 < static_cast<int>(links.size())) {
        links[i + 1].*field = ToBytes(box->text());
    }
    MouseoverEditsLive = true;
}

void MouseoverEditor::TxtMouseover1_Change() {
    StoreTyped(TxtMouseover1, &PageLink::Text1);
}
void MouseoverEditor::TxtMouseover2_Change() {
    StoreTyped(TxtMouseover2, &PageLink::Text2);
}

} // namespace pelto::ui
