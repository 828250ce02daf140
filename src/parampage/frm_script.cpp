#include "parampage/frm_script.h"
#include "attach/ui/change_application.h"

#include "library/definition_reader.h"
#include "library/lookup.h"
#include "parampage/colour_editor.h"
#include "parampage/file_editor.h"
#include "parampage/font_editor.h"
#include "parampage/info_editor.h"
#include "parampage/int_editor.h"
#include "parampage/list_editor.h"
#include "parampage/menu_editor.h"
#include "parampage/mouseover_editor.h"
#include "parampage/option_editor.h"
#include "parampage/overlib_editor.h"
#include "parampage/position_editor.h"
#include "parampage/text_editor.h"
#include "platform/message_box.h"
#include "platform/settings_store.h"
#include "platform/text_codec.h"
#include "platform/window_flow.h"
#include "templates/ui/frm_parameter_set.h"
#include "ui_common/user_choice.h"
#include "ui_common/window_geometry.h"
#ifdef PELTO_HAS_PREVIEW
#include "preview/live_preview.h"
#include "preview/preview_engine_loader.h"
#endif

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <algorithm>

namespace pelto::ui {

namespace {
// The page's own size; the window never gets smaller.
constexpr int kBaseWidth = 582;
constexpr int kBaseHeight = 371;
// The preview shows only when it gets at least this much width.
constexpr int kMinPreviewWidth = 200;
// The width the window grows by when the preview is switched on.
constexpr int kPreviewWidth = 540;
// The pause in typing after which the preview follows.
constexpr int kTypingPauseMs = 300;

const char* const kGeometryKey = "ParameterPageGeometry";
const char* const kPreviewKey = "Preview";
} // namespace

FrmScript::FrmScript(Workspace& ws, WindowFlow& flow, QWidget* parent)
    : QWidget(parent), ws_(ws), flow_(flow) {
    setObjectName("FrmScript");
    setWindowTitle("Specify script parameters");
    setMinimumSize(kBaseWidth, kBaseHeight);

    LblScriptName = Named(PlainLabel(this), "LblScriptName", "Script name");
    QFont titleFont("Arial");
    titleFont.setPointSizeF(font().pointSizeF() * 1.5);
    titleFont.setBold(true);
    LblScriptName->setFont(titleFont);
    LblScriptName->setGeometry(8, 10, 500, 36);
    ImgScriptImage = Named(new QLabel(this), "ImgScriptImage");
    ImgScriptImage->setGeometry(526, 6, 48, 48);

    LstParameters = Named(new QListWidget(this), "LstParameters", "Parameters");
    LstParameters->setGeometry(4, 68, 173, 200);
    LstParameters->hide();

    intEditor = new IntEditor(ws, this);
    fileEditor = new FileEditor(ws, File, this);
    imageEditor = new FileEditor(ws, Image, this);
    colourEditor = new ColourEditor(ws, this);
    fontEditor = new FontEditor(ws, this);
    textEditor = new TextEditor(ws, this);
    listEditor = new ListEditor(ws, this);
    optionEditor = new OptionEditor(ws, this);
    overlibEditor = new OverlibEditor(ws, this);
    mouseoverEditor = new MouseoverEditor(ws, this);
    positionEditor = new PositionEditor(ws, this);
    menuEditor = new MenuEditor(ws, this);
    infoEditor = new InfoEditor(ws, this);
    FrameDataType = {intEditor,      fileEditor, imageEditor,  colourEditor,  fontEditor,
                     textEditor,     listEditor, optionEditor, overlibEditor, mouseoverEditor,
                     positionEditor, menuEditor, infoEditor};
    for (EditorFrame* frame : FrameDataType)
        frame->hide();

    auto button = [&](QWidget* parent, const char* name, const char* caption, const char* tip,
                      QRect geometry) {
        auto* b = Named(new QPushButton(caption, parent), name, caption);
        if (tip) {
            b->setToolTip(tip);
            b->setAccessibleDescription(tip);
        }
        b->setAutoDefault(false);
        ClickOnEnter(b);
        b->setGeometry(geometry);
        return b;
    };
    Command12 = button(this, "Command12", "<<", "Previous parameter", QRect(4, 326, 84, 30));
    Command13 = button(this, "Command13", ">>", "Next parameter", QRect(93, 326, 84, 30));
    Frame1 = Named(new QGroupBox("Templates", this), "Frame1", "Templates");
    Frame1->setGeometry(180, 312, 190, 54);
    Command8 = button(Frame1, "Command8", "Load", nullptr, QRect(8, 18, 84, 30));
    Command9 = button(Frame1, "Command9", "Save", nullptr, QRect(98, 18, 84, 30));
    Command7 = button(this, "Command7", "Back", nullptr, QRect(401, 326, 84, 30));
    Command5 = button(this, "Command5", "Apply", nullptr, QRect(493, 326, 84, 30));

    // Only a change of parameter runs the selection steps; clicking the shown one again
    // leaves its editor as it is.
    OnRowChosen(LstParameters, [this](int row) {
        if (row != CurrentParameterIndex)
            LstParameters_Click();
    });
    LstParameters->installEventFilter(this);
    LstParameters->viewport()->installEventFilter(this);
    connect(Command13, &QPushButton::clicked, this, [this] { Command13_Click(); });
    connect(Command12, &QPushButton::clicked, this, [this] { Command12_Click(); });
    connect(Command7, &QPushButton::clicked, this, [this] { Command7_Click(); });
    connect(Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });
    connect(Command8, &QPushButton::clicked, this, [this] { Command8_Click(); });
    connect(Command9, &QPushButton::clicked, this, [this] { Command9_Click(); });

    previewTimer_ = new QTimer(this);
    previewTimer_->setSingleShot(true);
    connect(previewTimer_, &QTimer::timeout, this, [this] { RefreshPreview(); });
#ifdef PELTO_HAS_PREVIEW
    if (!PreviewEnginePath().isEmpty()) {
        ChkPreview = Named(new QCheckBox("Preview", this), "ChkPreview", "Preview");
        ChkPreview->setToolTip("Show the page with the effect beside the editors");
        ChkPreview->setGeometry(4, 46, 173, 20);
        ChkPreview->setChecked(GetSetting("Settings", kPreviewKey, "1") == "1");
        connect(ChkPreview, &QCheckBox::clicked, this, [this] { ChkPreview_Click(); });
        LblPreviewHidden = Named(PlainLabel(this), "LblPreviewHidden", "Preview hidden");
        LblPreviewHidden->setText(QStringLiteral("Preview hidden: window too narrow (%1 px needed)")
                                      .arg(kBaseWidth + kMinPreviewWidth));
        LblPreviewHidden->setToolTip(
            QStringLiteral("The window is too narrow for the preview: make it at least %1 "
                           "pixels wide, or switch \"Preview\" off.")
                .arg(kBaseWidth + kMinPreviewWidth));
        LblPreviewHidden->hide();
    }
#endif
    // The preview follows the editors' own change signals, however the value changed
    // (keys, clicks, the wheel, paste, drag and drop, undo and redo in a text box).
    for (EditorFrame* frame : FrameDataType)
        for (QWidget* w : frame->findChildren<QWidget*>())
            FollowChanges(w);

    Form_Load();

    QSize size(kBaseWidth, kBaseHeight);
    if (ChkPreview && ChkPreview->isChecked() && screen() &&
        screen()->availableGeometry().width() >= kBaseWidth + kPreviewWidth + 40)
        size = QSize(kBaseWidth + kPreviewWidth, std::max(kBaseHeight, 520));
    resize(size);
    KeepGeometry(this, kGeometryKey);
    LayOut();
}

FrmScript::~FrmScript() {
    // The editors go after this page's own part: their lists' models announce their end
    // then, which must no longer reach the page.
    for (EditorFrame* frame : FrameDataType)
        for (QObject* o : frame->findChildren<QObject*>())
            disconnect(o, nullptr, this, nullptr);
}

void FrmScript::FollowChanges(QWidget* w) {
    // Typing is shown after a pause; a value set any other way at once. A text box that
    // changes without the focus was set by its editor (a palette click, a list line).
    auto typed = [this](QWidget* box) { SchedulePreview(box->hasFocus() ? kTypingPauseMs : 0); };
    if (auto* box = qobject_cast<QLineEdit*>(w)) {
        connect(box, &QLineEdit::textChanged, this, [box, typed] { typed(box); });
    } else if (auto* box = qobject_cast<QPlainTextEdit*>(w)) {
        connect(box, &QPlainTextEdit::textChanged, this, [box, typed] { typed(box); });
    } else if (auto* slider = qobject_cast<QAbstractSlider*>(w)) {
        connect(slider, &QAbstractSlider::valueChanged, this, [this] { SchedulePreview(0); });
    } else if (auto* spin = qobject_cast<QAbstractSpinBox*>(w)) {
        connect(spin, &QAbstractSpinBox::editingFinished, this, [this] { SchedulePreview(0); });
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        if (button->isCheckable())
            connect(button, &QAbstractButton::toggled, this, [this] { SchedulePreview(0); });
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        connect(combo, &QComboBox::currentIndexChanged, this, [this] { SchedulePreview(0); });
    } else if (auto* list = qobject_cast<QAbstractItemView*>(w)) {
        // A line chosen (fonts, sizes, files) or the lines themselves changed (list and
        // menu entries added, changed, moved or removed).
        if (list->selectionModel())
            connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                    [this] { SchedulePreview(0); });
        if (QAbstractItemModel* model = list->model()) {
            auto now = [this] { SchedulePreview(0); };
            connect(model, &QAbstractItemModel::rowsInserted, this, now);
            connect(model, &QAbstractItemModel::rowsRemoved, this, now);
            connect(model, &QAbstractItemModel::rowsMoved, this, now);
            connect(model, &QAbstractItemModel::dataChanged, this, now);
            connect(model, &QAbstractItemModel::modelReset, this, now);
        }
    }
}

void FrmScript::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    LayOut();
}

void FrmScript::LayOut() {
    const bool previewOn =
        ChkPreview && ChkPreview->isChecked() && width() >= kBaseWidth + kMinPreviewWidth;
    const int left = previewOn ? kBaseWidth : width();
    const int dx = left - kBaseWidth;
    const int dy = std::max(0, height() - kBaseHeight);
    ImgScriptImage->move(526 + dx, 6);
    LstParameters->setGeometry(4, 68, 173, 244 + dy);
    for (EditorFrame* frame : FrameDataType)
        frame->setGeometry(180, 62, 397 + dx, 249 + dy);
    Command12->move(4, 326 + dy);
    Command13->move(93, 326 + dy);
    Frame1->move(180, 312 + dy);
    Command7->move(401 + dx, 326 + dy);
    Command5->move(493 + dx, 326 + dy);
#ifdef PELTO_HAS_PREVIEW
    // Ticked but without room: the user is told why nothing shows, above the editors.
    if (LblPreviewHidden) {
        LblPreviewHidden->setGeometry(180, 46, 342 + dx, 16);
        LblPreviewHidden->setVisible(ChkPreview->isChecked() && !previewOn);
    }
    if (previewOn) {
        const bool fresh = !Preview || Preview->isHidden();
        if (!Preview)
            Preview = new LivePreview(this);
        Preview->setGeometry(kBaseWidth, 8, width() - kBaseWidth - 6, height() - 14);
        Preview->show();
        if (fresh)
            SchedulePreview(0);
    } else if (Preview) {
        Preview->hide();
    }
#endif
}

void FrmScript::ChkPreview_Click() {
    SaveSetting("Settings", kPreviewKey, ChkPreview->isChecked() ? "1" : "0");
    if (ChkPreview->isChecked() && width() < kBaseWidth + kMinPreviewWidth && !isMaximized()) {
        int wide = width() + kPreviewWidth;
        if (screen())
            wide = std::min(wide, screen()->availableGeometry().width());
        resize(std::max(wide, width()), height());
    }
    LayOut();
}

void FrmScript::SchedulePreview(int delayMs) {
#ifdef PELTO_HAS_PREVIEW
    // The page may not be on screen yet: its first build is made while it opens. Each
    // key typed starts the pause again.
    if (Preview && !Preview->isHidden())
        previewTimer_->start(delayMs);
#else
    (void)delayMs;
#endif
}

void FrmScript::RefreshPreview() {
#ifdef PELTO_HAS_PREVIEW
    if (!Preview || Preview->isHidden())
        return;
    if (CurrentParameterIndex != -1 && CurrentParameterIndex < LstParameters->count())
        CommitParameter(CurrentParameterIndex);
    Preview->Rebuild(ws_);
#endif
}

void FrmScript::Form_Load() {
    for (EditorFrame* frame : FrameDataType)
        frame->setGeometry(180, 62, 397, 249);
    fontEditor->FillLists();
    // The values are read afresh: an application chosen earlier for a change is forgotten.
    ForgetApplicationToChange();

    std::vector<Error> warnings;
    const Status loaded =
        LoadScriptDefinition(ws_, ws_.DataFolder() / ws_.CurrentParameterFile, &warnings);
    QStringList problems;
    if (!loaded.ok())
        problems << FromBytes(loaded.error().text());
    for (const Error& w : warnings)
        problems << FromBytes(w.text());
    if (!problems.isEmpty())
        ShowMessage(this, problems.join("\n"), MessageIcon::Critical);

    for (const ParameterListEntry& entry : FillParameterList(ws_)) {
        auto* item = new QListWidgetItem(FromBytes(entry.text), LstParameters);
        item->setData(Qt::UserRole, static_cast<int>(entry.itemNumber));
    }
    CurrentParameterIndex = -1;
    if (LstParameters->count() >= 1)
        LstParameters->setCurrentRow(0);
    LstParameters->setGeometry(4, 68, 173, 244);
    LstParameters->show();
    LblScriptName->setText(FromBytes(ws_.CurrentScript().Name));
}

void FrmScript::LstParameters_Click() {
    const int selected = ChosenRow(LstParameters);
    if (selected < 0)
        return;
    if (CurrentParameterIndex != -1 && !CommitParameter(CurrentParameterIndex)) {
        // Refused: the user stays on the parameter, its editor untouched, to correct it.
        // (Selecting the current parameter again runs no selection steps.)
        LstParameters->setCurrentRow(CurrentParameterIndex);
        return;
    }
    for (EditorFrame* frame : FrameDataType)
        frame->hide();
    CurrentParameterIndex = static_cast<int16_t>(selected);
    ShowParameter(selected);
    SchedulePreview(0);
}

void FrmScript::ShowParameter(int position) {
    if (position < 0 || position >= ws_.Params.ParameterCount || position >= LstParameters->count())
        return;
    const ParameterRecord& record = ws_.Params.ParameterRecords[position + 1];
    const int frame = LstParameters->item(position)->data(Qt::UserRole).toInt();
    if (frame >= 0 && frame < static_cast<int>(FrameDataType.size()))
        FrameDataType[frame]->show();
    if (record.Kind < 0 || record.Kind >= static_cast<int>(FrameDataType.size()))
        return;
    if (record.Ordinal < 0 || record.Ordinal > MaxPerKind)
        return;
    FrameDataType[record.Kind]->Show(record.Ordinal);
}

EditorFrame* FrmScript::EditorAt(int position, int16_t& ordinal) const {
    if (position < 0 || position >= ws_.Params.ParameterCount)
        return nullptr;
    const ParameterRecord& record = ws_.Params.ParameterRecords[position + 1];
    if (record.Kind < 0 || record.Kind >= static_cast<int>(FrameDataType.size()))
        return nullptr;
    if (record.Ordinal < 0 || record.Ordinal > MaxPerKind)
        return nullptr;
    ordinal = record.Ordinal;
    return FrameDataType[record.Kind];
}

bool FrmScript::CommitParameter(int position) {
    int16_t ordinal = 0;
    EditorFrame* editor = EditorAt(position, ordinal);
    if (!editor)
        return true;
    if (!editor->CanCommit(ordinal))
        return false;
    editor->Commit(ordinal);
    return true;
}

bool FrmScript::MayLeaveParameter() {
    int16_t ordinal = 0;
    EditorFrame* editor = EditorAt(CurrentParameterIndex, ordinal);
    return !editor || editor->CanCommit(ordinal);
}

bool FrmScript::eventFilter(QObject* watched, QEvent* event) {
    if (CurrentParameterIndex == -1)
        return false;
    bool leaving = false;
    if (watched == LstParameters->viewport() && (event->type() == QEvent::MouseButtonPress ||
                                                 event->type() == QEvent::MouseButtonDblClick)) {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        const QModelIndex row = LstParameters->indexAt(at);
        leaving = row.isValid() && row.row() != CurrentParameterIndex;
    } else if (watched == LstParameters && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
            leaving = true;
            break;
        default: // a letter moves to the parameter it starts
            leaving = !key->text().isEmpty() && key->text().at(0).isLetterOrNumber();
            break;
        }
    }
    return leaving && !MayLeaveParameter(); // refused: the list does not move
}

void FrmScript::SelectParameterRow(int row) {
    if (ChosenRow(LstParameters) == row)
        LstParameters_Click();
    else
        LstParameters->setCurrentRow(row);
}

void FrmScript::Command13_Click() {
    const int selected = ChosenRow(LstParameters);
    if (selected != LstParameters->count() - 1 && MayLeaveParameter())
        LstParameters->setCurrentRow(selected + 1);
}

void FrmScript::Command12_Click() {
    const int selected = ChosenRow(LstParameters);
    if (selected >= 1 && MayLeaveParameter())
        LstParameters->setCurrentRow(selected - 1);
}

void FrmScript::Command7_Click() {
    // The opener decides whether closing unloads the page (WA_DeleteOnClose).
    close();
    flow_.ShowScriptSelection();
}

void FrmScript::Command5_Click() {
    // A refused value keeps the user on its parameter; nothing is applied with an old one.
    // The user stays on the parameter they were editing.
    if (LstParameters->count() >= 1 && ChosenRow(LstParameters) >= 0 &&
        CurrentParameterIndex != -1 && !CommitParameter(CurrentParameterIndex))
        return;
    flow_.AddRecentEffect();
    if (ApplicationChosenToChange(ws_)) {
        // "Change values..." of the apply dialog brought the user here: this "Apply"
        // replaces that application with the values as they stand now.
        ReplaceChosenApplication(this, ws_);
    }
    const int current = CurrentParameterIndex;
    flow_.ShowApplyDialog(this);
    if (ApplicationChosenToChange(ws_) && LstParameters->count() >= 1) {
        // The dialog chose an application to change: its values are now the current ones,
        // and the editor shows them (not stored over them first).
        ForgetCurrentParameter();
        SelectParameterRow(current >= 0 && current < LstParameters->count() ? current : 0);
    }
    // The apply dialog may have chosen another page.
    SchedulePreview(0);
}

FrmParameterSet* FrmScript::MakeTemplateDialog(bool save) {
    TemplatePageHooks hooks;
    hooks.showParameter = [this](int position) { ShowParameter(position); };
    hooks.templateLoaded = [this] { ForgetCurrentParameter(); };
    auto* dialog = new FrmParameterSet(ws_, std::move(hooks), this);
    dialog->PrepareFor(save ? FrmParameterSet::Mode::Save : FrmParameterSet::Mode::Load);
    return dialog;
}

void FrmScript::Command8_Click() {
    // The values loaded are shown on the parameter the user was on; the loading
    // forgets it (so its editor is not stored over them), and it is chosen again after.
    const int current = CurrentParameterIndex;
    FrmParameterSet* dialog = MakeTemplateDialog(false);
    dialog->exec();
    delete dialog;
    if (CurrentParameterIndex == -1 && LstParameters->count() >= 1)
        SelectParameterRow(current >= 0 && current < LstParameters->count()
                               ? current
                               : LstParameters->count() - 1);
    SchedulePreview(0);
}

void FrmScript::Command9_Click() {
    FrmParameterSet* dialog = MakeTemplateDialog(true);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

void FrmScript::ForgetCurrentParameter() {
    CurrentParameterIndex = -1;
    LstParameters->setCurrentRow(-1);
}

} // namespace pelto::ui
