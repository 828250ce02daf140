#include "shell/frm_options.h"

#include "platform/native_text.h"
#include "platform/settings_store.h"
#include "ui_common/frm_browse_file.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace pelto::ui {

FrmOptions::FrmOptions(Workspace& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
    setObjectName("FrmOptions");
    setWindowTitle("Options");

    Frame1 = new QGroupBox("Sample web page", this);
    Frame1->setObjectName("Frame1");
    Frame1->setAccessibleName("Sample web page");
    Label1 = new QLabel(Frame1);
    Label1->setObjectName("Label1");
    Label1->setTextFormat(Qt::PlainText);
    Label1->setTextInteractionFlags(Qt::TextSelectableByMouse);
    CmdBrowse = new QPushButton("Browse", Frame1);
    CmdBrowse->setObjectName("CmdBrowse");
    CmdBrowse->setAccessibleName("Browse");

    auto* row = new QHBoxLayout(Frame1);
    row->addWidget(Label1, 1);
    row->addWidget(CmdBrowse);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame1);
    setMinimumWidth(480);

    connect(CmdBrowse, &QPushButton::clicked, this, &FrmOptions::CmdBrowse_Click);
    Form_Load();
}

void FrmOptions::Form_Load() {
    const QString current = PathToQString(ws_.SampleFile);
    ws_.SampleFile = PathFromQString(GetSetting("Settings", "Sample File", current));
    Label1->setText(PathToQString(ws_.SampleFile));
    Label1->setAccessibleName(Label1->text());
}

void FrmOptions::CmdBrowse_Click() {
    FrmBrowseFile browser(ws_, this);
    browser.exec();
    // Written whether or not a page was chosen.
    SaveSetting("Settings", "Sample File", PathToQString(ws_.SampleFile));
    Label1->setText(PathToQString(ws_.SampleFile));
    Label1->setAccessibleName(Label1->text());
}

} // namespace pelto::ui
