#include "parampage/overlib_editor.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

namespace pelto::ui {

OverlibEditor::OverlibEditor(Workspace& ws, QWidget* parent)
    : EditorFrame(ws, Reserved, "Overlib", parent) {
    auto* grid = new QGridLayout(Body());
    LstOverlibLinks = Named(new QListWidget(Body()), "LstOverlibLinks", "Links");
    grid->addWidget(LstOverlibLinks, 0, 0, 7, 1);
    const char* captions[] = {"Caption", "Description", "Alignment"};
    for (int i = 0; i < 3; ++i)
        Label2[i] =
            Named(new QLabel(captions[i], Body()), QStringLiteral("Label2_%1").arg(i), captions[i]);
    TxtOverlibCaption = Named(new QLineEdit(Body()), "TxtOverlibCaption", "Caption");
    TxtOverlibDescription = Named(new QLineEdit(Body()), "TxtOverlibDescription", "Description");
    LstOverlibAlignment = Named(new QComboBox(Body()), "LstOverlibAlignment", "Alignment");
    LstOverlibAlignment->addItems({"Left of  link", "Right of link"});
    grid->addWidget(Label2[0], 0, 1);
    grid->addWidget(TxtOverlibCaption, 1, 1);
    grid->addWidget(Label2[1], 2, 1);
    grid->addWidget(TxtOverlibDescription, 3, 1);
    grid->addWidget(Label2[2], 4, 1);
    grid->addWidget(LstOverlibAlignment, 5, 1);
    grid->setRowStretch(6, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
}

} // namespace pelto::ui
