#include "attach/ui/frm_apply_changes.h"

#include "attach/applied_effects.h"
#include "attach/do_it.h"
#include "attach/recorded_run.h"
#include "attach/ui/change_application.h"
#include "attach/ui/frm_batch_apply.h"
#include "attach/ui/undo_actions.h"
#include "common/files.h"
#include "platform/browser_launcher.h"
#include "platform/message_box.h"
#include "platform/native_text.h"
#include "platform/settings_store.h"
#include "ui_common/elided_label.h"
#include "ui_common/frm_browse_file.h"
#include "ui_common/user_choice.h"
#include "ui_common/window_geometry.h"

#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <exception>
#include <optional>

namespace pelto::ui {

namespace {
constexpr int MaxScriptRepeat = 25;
constexpr int IdRole = Qt::UserRole;         // the effect's ScriptId
constexpr int NumberRole = Qt::UserRole + 1; // its application, 1 for the newest
constexpr int RemovableRole = Qt::UserRole + 2;
} // namespace

QString FrmApplyChanges::ScriptRepeatText(int value) {
    switch (value) {
    case 0:
        return QStringLiteral("First time");
    case 1:
        return QStringLiteral("Just once before");
    case 2:
        return QStringLiteral("I have used it twice");
    case 3:
        return QStringLiteral("Thrice (I like it)");
    case 4:
        return QStringLiteral("Four times (I like it too much)");
    case 5:
        return QStringLiteral("Five times (I am addicted to it)");
    default:
        return QStringLiteral(" %1 times, -overkill- ").arg(value);
    }
}

QString FrmApplyChanges::OverwriteQuestion(const QString& page) {
    return QStringLiteral("Are you sure want to overwrite the original file with modified file?"
                          "\n\n%1")
        .arg(QDir::toNativeSeparators(page));
}

QString FrmApplyChanges::OverwriteQuestion(int pages) {
    return QStringLiteral("Are you sure want to overwrite the original files of these %1 pages "
                          "with modified files?")
        .arg(pages);
}

FrmApplyChanges::FrmApplyChanges(Workspace& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
    setObjectName("FrmApplyChanges");
    setWindowTitle("Apply changes");

    Frame3 = new QGroupBox("Web Page", this);
    Frame3->setObjectName("Frame3");
    Frame3->setAccessibleName("Web Page");
    // A long path is shortened in the middle (its tool tip holds it whole), so it never
    // widens the dialog.
    LblHTMLFile = new ElidedLabel(Qt::ElideMiddle, Frame3);
    LblHTMLFile->setObjectName("LblHTMLFile");
    LblHTMLFile->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Command3 = new QPushButton("Browse", Frame3);
    Command3->setObjectName("Command3");
    Command3->setAccessibleName("Browse");
    Command3->setAutoDefault(false);
    auto* pageRow = new QHBoxLayout(Frame3);
    pageRow->addWidget(LblHTMLFile, 1);
    pageRow->addWidget(Command3);

    Frame1 = new QGroupBox("Options", this);
    Frame1->setObjectName("Frame1");
    Frame1->setAccessibleName("Options");
    Option1 = new QRadioButton(
        "Copy modified page to the original page's folder with different file name", Frame1);
    Option1->setObjectName("Option1");
    Option2 = new QRadioButton("Overwrite original page", Frame1);
    Option2->setObjectName("Option2");
    Option3 = new QRadioButton("Preview only", Frame1);
    Option3->setObjectName("Option3");
    auto* options = new QVBoxLayout(Frame1);
    for (QRadioButton* option : {Option1, Option2, Option3}) {
        option->setAccessibleName(option->text());
        options->addWidget(option);
    }

    Frame2 = new QGroupBox("Script Repeat", this);
    Frame2->setObjectName("Frame2");
    Frame2->setAccessibleName("Script Repeat");
    HScrollScriptRepeat = new QScrollBar(Qt::Horizontal, Frame2);
    HScrollScriptRepeat->setObjectName("HScrollScriptRepeat");
    HScrollScriptRepeat->setAccessibleName("Script Repeat");
    HScrollScriptRepeat->setRange(0, MaxScriptRepeat);
    HScrollScriptRepeat->setSingleStep(1);
    HScrollScriptRepeat->setPageStep(1);
    HScrollScriptRepeat->setFocusPolicy(Qt::StrongFocus);
    // Right and Page Down count up, like the mouse on the right arrow.
    HScrollScriptRepeat->setInvertedControls(false);
    LblScriptRepeat = new QLabel(ScriptRepeatText(0), Frame2);
    LblScriptRepeat->setObjectName("LblScriptRepeat");
    // Wide enough for the longest text, so the frame does not jump while scrolling.
    LblScriptRepeat->setMinimumWidth(
        LblScriptRepeat->fontMetrics().horizontalAdvance(ScriptRepeatText(4)) + 8);
    auto* repeatRow = new QVBoxLayout(Frame2);
    repeatRow->addWidget(HScrollScriptRepeat);
    repeatRow->addWidget(LblScriptRepeat);

    Command2 = new QPushButton("Do it", this);
    Command2->setObjectName("Command2");
    Command2->setAccessibleName("Do it");
    Command2->setDefault(true);
    Command1 = new QPushButton("Back", this);
    Command1->setObjectName("Command1");
    Command1->setAccessibleName("Back");
    Command1->setAutoDefault(false);

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(500);

    CmdUndo = new QPushButton("Undo last change", this);
    CmdUndo->setObjectName("CmdUndo");
    CmdUndo->setAccessibleName("Undo last change");
    CmdUndo->setAutoDefault(false);
    CmdUndo->setEnabled(false);
    CmdBatch = new QPushButton("Several pages...", this);
    CmdBatch->setObjectName("CmdBatch");
    CmdBatch->setAccessibleName("Several pages");
    CmdBatch->setAutoDefault(false);

    FraEffects = new QGroupBox("Effects on this page", this);
    FraEffects->setObjectName("FraEffects");
    FraEffects->setAccessibleName("Effects on this page");
    LstEffects = new QListWidget(FraEffects);
    LstEffects->setObjectName("LstEffects");
    LstEffects->setAccessibleName("Effects on this page");
    LstEffects->setMaximumHeight(LstEffects->fontMetrics().height() * 6);
    CmdRemove = new QPushButton("Remove", FraEffects);
    CmdRemove->setObjectName("CmdRemove");
    CmdRemove->setAccessibleName("Remove");
    CmdRemove->setAutoDefault(false);
    CmdRemove->setEnabled(false);
    CmdChange = new QPushButton(QStringLiteral("Change values\u2026"), FraEffects);
    CmdChange->setObjectName("CmdChange");
    CmdChange->setAccessibleName("Change values");
    CmdChange->setAutoDefault(false);
    CmdChange->setEnabled(false);
    auto* effectButtons = new QVBoxLayout;
    effectButtons->addWidget(CmdRemove);
    effectButtons->addWidget(CmdChange);
    effectButtons->addStretch(1);
    auto* effectsRow = new QHBoxLayout(FraEffects);
    effectsRow->addWidget(LstEffects, 1);
    effectsRow->addLayout(effectButtons);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CmdUndo);
    buttons->addWidget(CmdBatch);
    buttons->addStretch(1);
    buttons->addWidget(Command2);
    buttons->addWidget(Command1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame3);
    layout->addWidget(Frame1);
    layout->addWidget(Frame2);
    layout->addWidget(FraEffects);
    layout->addLayout(buttons);

    setTabOrder(Command3, Option1);
    setTabOrder(Option1, Option2);
    setTabOrder(Option2, Option3);
    setTabOrder(Option3, HScrollScriptRepeat);
    setTabOrder(HScrollScriptRepeat, Command2);
    setTabOrder(Command2, Command1);
    setTabOrder(Command1, CmdUndo);
    setTabOrder(CmdUndo, CmdBatch);
    setTabOrder(CmdBatch, LstEffects);
    setTabOrder(LstEffects, CmdRemove);
    setTabOrder(CmdRemove, CmdChange);

    connect(HScrollScriptRepeat, &QScrollBar::valueChanged, this,
            [this](int) { HScrollScriptRepeat_Change(); });
    connect(Timer1, &QTimer::timeout, this, &FrmApplyChanges::Timer1_Timer);
    connect(Command3, &QPushButton::clicked, this, &FrmApplyChanges::Command3_Click);
    connect(Command2, &QPushButton::clicked, this, &FrmApplyChanges::Command2_Click);
    connect(Command1, &QPushButton::clicked, this, &FrmApplyChanges::Command1_Click);
    connect(CmdUndo, &QPushButton::clicked, this, &FrmApplyChanges::CmdUndo_Click);
    connect(CmdBatch, &QPushButton::clicked, this, &FrmApplyChanges::CmdBatch_Click);
    connect(CmdRemove, &QPushButton::clicked, this, &FrmApplyChanges::CmdRemove_Click);
    connect(CmdChange, &QPushButton::clicked, this, &FrmApplyChanges::CmdChange_Click);
    connect(LstEffects, &QListWidget::currentRowChanged, this, [this](int) { LstEffects_Click(); });

    ClickFocusedButtonOnEnter(this);
    KeepGeometry(this, "ApplyDialogGeometry");
    Form_Load();
}

void FrmApplyChanges::Form_Load() {
    const QString current = PathToQString(ws_.SampleFile);
    ws_.SampleFile = PathFromQString(GetSetting("Settings", "Sample File", current));
    ShowSampleFile();
    Option3->setChecked(true);
    HScrollScriptRepeat->setValue(0);
    HScrollScriptRepeat_Change(); // the label starts at "First time" even when already 0
    Timer1->start();
}

void FrmApplyChanges::ShowSampleFile() {
    const QString page = PathToQString(ws_.SampleFile);
    if (LblHTMLFile->text() != page) {
        LblHTMLFile->SetFullText(page);
        LblHTMLFile->setAccessibleName(page);
        RefreshEffects();
    }
}

void FrmApplyChanges::RefreshEffects() {
    LstEffects->clear();
    CmdRemove->setEnabled(false);
    CmdChange->setEnabled(false);
    std::error_code ec;
    const std::filesystem::path page = std::filesystem::canonical(ws_.SampleFile, ec);
    if (ec || ws_.SampleFile.empty())
        return;
    Result<std::string> bytes = ReadFileBytes(page);
    if (!bytes)
        return; // the page cannot be read: "Do it" says why when it is used
    Result<std::vector<EffectOnPage>> effects =
        EffectsOnPage(AppliedRecordsFolder(ws_), PathText(page), *bytes);
    if (!effects) {
        auto* item = new QListWidgetItem(ErrorToQString(effects.error()), LstEffects);
        item->setFlags(Qt::ItemIsEnabled);
        return;
    }
    for (const EffectOnPage& e : *effects) {
        QString text = QString::fromStdString(e.scriptId);
        if (e.record) {
            if (!e.record->effectName.empty())
                text = QString::fromStdString(e.record->effectName) + " (" + text + ")";
            text += ", applied " + QString::fromStdString(e.record->time);
        }
        if (!e.why.empty())
            text += " - cannot be taken out: " + QString::fromStdString(e.why);
        auto* item = new QListWidgetItem(text, LstEffects);
        item->setData(IdRole, QString::fromStdString(e.scriptId));
        item->setData(NumberRole, e.number);
        item->setData(RemovableRole, e.why.empty());
        item->setToolTip(e.record ? QString::fromStdString(e.record->values) : text);
    }
}

void FrmApplyChanges::LstEffects_Click() {
    const QListWidgetItem* item = LstEffects->currentItem();
    const bool removable = item != nullptr && item->data(RemovableRole).toBool();
    CmdRemove->setEnabled(removable);
    CmdChange->setEnabled(removable);
}

void FrmApplyChanges::CmdChange_Click() {
    const QListWidgetItem* item = LstEffects->currentItem();
    if (item == nullptr || !item->data(RemovableRole).toBool())
        return;
    if (ChooseApplicationToChange(this, ws_, item->data(IdRole).toString().toStdString(),
                                  item->data(NumberRole).toInt()))
        Command1_Click(); // back to the parameter page, which now shows those values
}

void FrmApplyChanges::CmdRemove_Click() {
    const QListWidgetItem* item = LstEffects->currentItem();
    if (item == nullptr || !item->data(RemovableRole).toBool())
        return;
    RemoveRequest request;
    request.scriptId = item->data(IdRole).toString().toStdString();
    request.which = item->data(NumberRole).toInt();
    Result<BatchOutcome> outcome = RemoveFromPages(ws_, {ws_.SampleFile}, request);
    if (!outcome) {
        ShowMessage(this, ErrorToQString(outcome.error()), MessageIcon::Critical);
    } else if (outcome->done != 1) {
        ShowMessage(this,
                    QString::fromStdString(outcome->pages.empty() ? std::string()
                                                                  : outcome->pages[0].message),
                    MessageIcon::Exclamation);
    }
    if (outcome && !outcome->changeId.empty())
        CmdUndo->setEnabled(true);
    RefreshEffects();
}

void FrmApplyChanges::HScrollScriptRepeat_Change() {
    LblScriptRepeat->setText(ScriptRepeatText(HScrollScriptRepeat->value()));
    LblScriptRepeat->setAccessibleName(LblScriptRepeat->text());
}

void FrmApplyChanges::Timer1_Timer() {
    ShowSampleFile();
}

void FrmApplyChanges::Command3_Click() {
    FrmBrowseFile browser(ws_, this);
    browser.exec();
    ShowSampleFile();
}

void FrmApplyChanges::Command2_Click() {
    DoItRequest request;
    request.option = Option1->isChecked()   ? OutputOption::Copy
                     : Option2->isChecked() ? OutputOption::Overwrite
                                            : OutputOption::Preview;
    request.repeat = static_cast<int16_t>(HScrollScriptRepeat->value());
    request.confirmOverwrite = [this] {
        return ShowMessage(this, OverwriteQuestion(PathToQString(ws_.SampleFile)),
                           MessageIcon::Exclamation, MessageButtons::YesNo,
                           "Confirm Action") == MessageAnswer::Yes;
    };
    ws_.ScriptRepeat = request.repeat;

    std::optional<Result<RecordedOutcome>> run;
    try {
        // Another run (a second window, pelto-cli) holding the output folder is named in
        // the message; this one does not wait for it.
        run.emplace(DoItRecorded(ws_, request, FileLock::Wait::No));
    } catch (const std::exception& e) {
        // The core reports errors as values; this only keeps an unforeseen file-system
        // failure from ending the program.
        ShowMessage(this, "The effect could not be applied: " + QString::fromLocal8Bit(e.what()),
                    MessageIcon::Critical);
        return;
    }
    Result<RecordedOutcome>& recorded = *run;
    if (!recorded) {
        ShowMessage(this, ErrorToQString(recorded.error()), MessageIcon::Critical);
        return;
    }
    if (!recorded->changeId.empty())
        CmdUndo->setEnabled(true);
    RefreshEffects();
    const DoItOutcome* outcome = &recorded->outcome;
    if (outcome->overwriteDeclined || outcome->pageToOpen.empty())
        return;
    const QString page = PathToQString(outcome->pageToOpen);
    if (!OpenInBrowser(page))
        ShowMessage(this,
                    QStringLiteral("The page \"%1\" is ready, but no web browser could be started "
                                   "to show it. Open it in your browser yourself, or set a "
                                   "default web browser for this system.")
                        .arg(QDir::toNativeSeparators(page)),
                    MessageIcon::Exclamation);
}

void FrmApplyChanges::CmdUndo_Click() {
    if (UndoChangeAsking(this, ws_, ""))
        CmdUndo->setEnabled(false);
    RefreshEffects();
}

void FrmApplyChanges::CmdBatch_Click() {
    const OutputOption option = Option1->isChecked()   ? OutputOption::Copy
                                : Option2->isChecked() ? OutputOption::Overwrite
                                                       : OutputOption::Preview;
    FrmBatchApply batch(ws_, option, static_cast<int16_t>(HScrollScriptRepeat->value()), this);
    batch.exec();
}

void FrmApplyChanges::Command1_Click() {
    SaveSetting("Settings", "Sample File", PathToQString(ws_.SampleFile));
    accept();
}

void FrmApplyChanges::reject() {
    // The next opening starts from the page chosen here, however the dialog is left.
    Command1_Click();
}

} // namespace pelto::ui
