#include "templates/ui/frm_parameter_set.h"

#include "library/lookup.h"
#include "platform/message_box.h"
#include "platform/text_codec.h"
#include "ui_common/editor_frame.h"
#include "ui_common/user_choice.h"
#include "ui_common/window_geometry.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace pelto::ui {

namespace {
const QString kSaveCaption = QStringLiteral("Save Template");
const QString kLoadCaption = QStringLiteral("Load Template");
constexpr int NameRole = Qt::UserRole;
} // namespace

FrmParameterSet::FrmParameterSet(Workspace& ws, TemplatePageHooks hooks, QWidget* parent)
    : QDialog(parent), ws_(ws), hooks_(std::move(hooks)) {
    setObjectName("FrmParameterSet");
    setWindowTitle(kSaveCaption);
    auto* grid = new QGridLayout(this);
    Label3 = Named(new QLabel("New Set", this), "Label3", "New Set");
    TxtName = Named(new QLineEdit(this), "TxtName", "New Set");
    Label3->setBuddy(TxtName);
    Label2 = Named(new QLabel("Select Value set name", this), "Label2", "Select Value set name");
    LstName = Named(new QListWidget(this), "LstName", "Select Value set name");
    Label2->setBuddy(LstName);
    Label1 = Named(new QLabel("Select values to save", this), "Label1", "Select values to save");
    LstParameters = Named(new QListWidget(this), "LstParameters", "Select values to save");
    LstParameters->setSelectionMode(QAbstractItemView::MultiSelection);
    Label1->setBuddy(LstParameters);
    Command1 = Named(new QPushButton("Save", this), "Command1", "Save");
    Command2 = Named(new QPushButton("Cancel", this), "Command2", "Cancel");
    Command1->setDefault(true);

    grid->addWidget(Label3, 0, 0);
    grid->addWidget(TxtName, 1, 0);
    grid->addWidget(Label2, 2, 0);
    grid->addWidget(LstName, 3, 0);
    grid->addWidget(Label1, 0, 1);
    grid->addWidget(LstParameters, 1, 1, 3, 1);
    auto* buttons = new QHBoxLayout();
    buttons->addStretch(1);
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    grid->addLayout(buttons, 4, 0, 1, 2);
    resize(440, 300);
    KeepGeometry(this, "ParameterSetGeometry");

    // Only a name the user picks is copied: moving the focus into the list picks none.
    OnRowChosen(LstName, [this](int) { LstName_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });

    Form_Load();
}

void FrmParameterSet::Form_Load() {
    for (int p = 1; p <= ws_.Params.ParameterCount; ++p) {
        const std::string name = ParameterNameAt(ws_, p);
        auto* item = new QListWidgetItem(FromBytes(name), LstParameters);
        item->setData(NameRole, QByteArray::fromStdString(name));
    }
    LstParameters->selectAll();

    Result<std::vector<TemplateEntry>> listed = ListTemplates(ws_);
    if (!listed.ok()) {
        ShowMessage(this, FromBytes(listed.error().text()), MessageIcon::Critical);
        return;
    }
    templateFiles_ = std::move(listed.value());
    for (const TemplateEntry& entry : templateFiles_)
        LstName->addItem(FromBytes(entry.name));
}

void FrmParameterSet::PrepareFor(Mode mode) {
    const bool save = mode == Mode::Save;
    setWindowTitle(save ? kSaveCaption : kLoadCaption);
    Command1->setText(save ? "Save" : "Load");
    Command1->setAccessibleName(Command1->text());
    Command1->setProperty("HelpContextID", save ? 56 : 53);
    TxtName->setVisible(save);
    Label3->setVisible(save);
    Label1->setText(save ? "Select values to save" : "Select values to load");
    LstParameters->setAccessibleName(Label1->text());
    // Loading needs a chosen name.
    Command1->setEnabled(save || !TxtName->text().isEmpty());
    // Loading: a double click or Enter on a name (Enter on the one the focus is on) takes
    // it and loads. Saving keeps Enter for the name typed, which a name of the list would
    // overwrite.
    if (!save && !LstName->property("enterLoads").toBool()) {
        LstName->setProperty("enterLoads", true);
        OnRowActivated(LstName, [this](int) {
            LstName_Click();
            if (Command1->isEnabled() && windowTitle() == kLoadCaption)
                Command1_Click();
        });
    }
}

void FrmParameterSet::LstName_Click() {
    const int row = ChosenRow(LstName);
    if (row < 0)
        return;
    TxtName->setText(LstName->item(row)->text());
    Command1->setEnabled(true);
}

void FrmParameterSet::Command1_Click() {
    if (windowTitle() == kSaveCaption) {
        // On an error the name and the chosen parameters stay for another try.
        if (!SaveTemplateNow())
            return;
    } else if (windowTitle() == kLoadCaption)
        LoadTemplateNow();
    close();
}

void FrmParameterSet::Command2_Click() {
    close();
}

bool FrmParameterSet::SaveTemplateNow() {
    const std::string name = ToBytes(TxtName->text());
    std::vector<std::string> chosen;
    for (int i = 0; i < LstParameters->count(); ++i)
        if (LstParameters->item(i)->isSelected())
            chosen.push_back(LstParameters->item(i)->data(NameRole).toByteArray().toStdString());
    auto confirm = [this](const std::string& existing) {
        return ShowMessage(this,
                           "A template with name " + FromBytes(existing) +
                               " already exists. Overwrite existing one",
                           MessageIcon::Critical, MessageButtons::YesNo) == MessageAnswer::Yes;
    };
    std::vector<Error> leftOut;
    const Status saved =
        SaveTemplate(ws_, name, chosen, templateFiles_, confirm, nullptr, &leftOut);
    if (!saved.ok()) {
        ShowMessage(this, FromBytes(saved.error().text()), MessageIcon::Critical);
        return false;
    }
    if (!leftOut.empty()) {
        QStringList reasons;
        for (const Error& e : leftOut)
            reasons << FromBytes(e.text());
        ShowMessage(this,
                    "The template " + TxtName->text() + " was saved without these values:\n" +
                        reasons.join("\n"),
                    MessageIcon::Exclamation);
    }
    return true;
}

void FrmParameterSet::LoadTemplateNow() {
    if (TxtName->text().isEmpty())
        return;
    const std::string name = ToBytes(TxtName->text());
    const Status loaded = LoadTemplate(ws_, name, templateFiles_, [this](int position) {
        if (hooks_.showParameter)
            hooks_.showParameter(position);
    });
    // Whatever was read stays; the page must not store an editor over it.
    if (hooks_.templateLoaded)
        hooks_.templateLoaded();
    if (!loaded.ok())
        ShowMessage(this, FromBytes(loaded.error().text()), MessageIcon::Critical);
}

} // namespace pelto::ui
