#include "parampage/info_editor.h"

#include "platform/text_codec.h"

#include <QGridLayout>
#include <QLabel>

namespace pelto::ui {

InfoEditor::InfoEditor(Workspace& ws, QWidget* parent)
    : EditorFrame(ws, Info, "Script Information", parent) {
    auto* grid = new QGridLayout(Body());
    grid->setVerticalSpacing(2);
    grid->setColumnStretch(1, 1);
    auto value = [&](const char* name) {
        auto* l = Named(PlainLabel(Body()), name);
        l->setWordWrap(true);
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return l;
    };
    auto caption = [&](int i, const char* text) {
        Label4[i] = Named(new QLabel(text, Body()), QStringLiteral("Label4_%1").arg(i), text);
        return Label4[i];
    };
    LblInfoRepeat = value("LblInfoRepeat");
    LblInfoAuthor = value("LblInfoAuthor");
    LblInfoSupport = value("LblInfoSupport");
    LblInfoSize = value("LblInfoSize");
    LblInfoType = value("LblInfoType");
    LblInfoNote = value("LblInfoNote");
    LblInfoNote->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(caption(0, "Repeat"), 0, 0);
    grid->addWidget(LblInfoRepeat, 0, 1);
    grid->addWidget(caption(1, "Author"), 1, 0);
    grid->addWidget(LblInfoAuthor, 1, 1);
    grid->addWidget(caption(4, "Browsers"), 2, 0);
    grid->addWidget(LblInfoSupport, 2, 1);
    grid->addWidget(caption(2, "Size"), 3, 0);
    grid->addWidget(LblInfoSize, 3, 1);
    grid->addWidget(caption(3, "Type"), 4, 0);
    grid->addWidget(LblInfoType, 4, 1);
    grid->addWidget(LblInfoNote, 5, 0, 1, 2);
    grid->setRowStretch(5, 1);
    for (QLabel* l : Label4)
        l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void InfoEditor::Show(int16_t) {
    setTitle("Script Information");
    lblDescription->setText(QString());
    const ScriptInfo& info = ws_.Params.Info;
    LblInfoRepeat->setText(FromBytes(info.Repeat));
    LblInfoNote->setText(FromBytes(info.Note));
    LblInfoAuthor->setText(FromBytes(info.Author));
    LblInfoSupport->setText(FromBytes(info.Support));
    LblInfoSize->setText(FromBytes(info.Size));
    LblInfoType->setText(FromBytes(info.Type));
}

} // namespace pelto::ui
