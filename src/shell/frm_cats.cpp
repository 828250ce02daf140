#include "shell/frm_cats.h"
#include "attach/ui/frm_undo_history.h"
#include "attach/ui/undo_actions.h"
#include "common/text.h"

#include "platform/help_viewer.h"
#include "platform/message_box.h"
#include "platform/native_text.h"
#include "platform/settings_store.h"
#include "platform/text_codec.h"
#include "shell/frm_about.h"
#include "shell/frm_options.h"
#include "shell/shell_pictures.h"
#include "ui_common/user_choice.h"
#include "ui_common/window_geometry.h"

#include <QAction>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace pelto::ui {

namespace {

constexpr int kColumns = 3;
constexpr int kButtonsAtLeast = 9;
constexpr int kRowsShownAtOnce = 4;
constexpr int kSpacing = 14;
const QSize kButtonSize(168, 128);
const QSize kPictureSize(96, 72);

// A text shown on a button or menu entry: "&" is a literal ampersand, not an access key.
QString Caption(const std::string& bytes) {
    return FromBytes(bytes).replace('&', "&&");
}

QPixmap ButtonPicture(const QString& file) {
    QPixmap picture(file);
    if (!picture.isNull() &&
        (picture.width() > kPictureSize.width() || picture.height() > kPictureSize.height()))
        picture = picture.scaled(kPictureSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return picture;
}

} // namespace

QString CategoryPictureFile(const Workspace& ws, const std::string& category) {
    const QString images = PathToQString(ws.ImagesFolder().string());
    const QString name = FromBytes(std::string(TrimBlanks(category)));
    // A category is a caption, not a path: one that would leave the images folder gets
    // the default picture.
    if (!name.isEmpty() && !name.contains('/') && !name.contains('\\') && name != "..") {
        const QString own = images + "/" + name + ".gif";
        if (QFileInfo(own).isFile())
            return own;
    }
    return images + "/cdefault.gif";
}

FrmCats::FrmCats(Workspace& ws, WindowFlow& flow, QWidget* parent)
    : QMainWindow(parent), ws_(ws), flow_(flow) {
    setObjectName("FrmCats");
    setWindowTitle("Select Script Category");
    BuildMenus();
    // One button per category, and at least the nine places of the 3 x 3 grid.
    BuildButtons(std::max(static_cast<int>(ws_.CategoryList.size()) - 1, kButtonsAtLeast));
    Form_Load();
}

void FrmCats::BuildMenus() {
    mnu_recent_effects = menuBar()->addMenu("&Recent");
    mnu_recent_effects->setObjectName("mnu_recent_effects");
    RecentEntry(0)->setText("Recent effects");
    mnu_bar2 = mnu_recent_effects->addSeparator();
    mnu_bar2->setObjectName("mnu_bar2");
    mnu_mru_clear = mnu_recent_effects->addAction("&Clear");
    mnu_mru_clear->setObjectName("mnu_mru_clear");
    connect(mnu_mru_clear, &QAction::triggered, this, &FrmCats::mnu_mru_clear_Click);

    mnu_options = menuBar()->addMenu("&Options");
    mnu_options->setObjectName("mnu_options");
    mnu_options_sample_file = mnu_options->addAction("&Sample File");
    mnu_options_sample_file->setObjectName("mnu_options_sample_file");
    connect(mnu_options_sample_file, &QAction::triggered, this,
            &FrmCats::mnu_options_sample_file_Click);

    mnu_changes = menuBar()->addMenu("&Changes");
    mnu_changes->setObjectName("mnu_changes");
    mnu_undo_last = mnu_changes->addAction("&Undo last change");
    mnu_undo_last->setObjectName("mnu_undo_last");
    mnu_undo_last->setShortcut(QKeySequence::Undo);
    connect(mnu_undo_last, &QAction::triggered, this, &FrmCats::mnu_undo_last_Click);
    // Offered only while there is a change to undo (its shortcut too).
    mnu_undo_last->setEnabled(ChangeToUndoExists(ws_));
    connect(mnu_changes, &QMenu::aboutToShow, this,
            [this] { mnu_undo_last->setEnabled(ChangeToUndoExists(ws_)); });
    mnu_undo_history = mnu_changes->addAction("Change &history...");
    mnu_undo_history->setObjectName("mnu_undo_history");
    connect(mnu_undo_history, &QAction::triggered, this, &FrmCats::mnu_undo_history_Click);

    mnu_help = menuBar()->addMenu("&Help");
    mnu_help->setObjectName("mnu_help");
    mnu_help_help = mnu_help->addAction("&Contents");
    mnu_help_help->setObjectName("mnu_help_help");
    mnu_help_help->setShortcut(QKeySequence(Qt::Key_F1));
    connect(mnu_help_help, &QAction::triggered, this, &FrmCats::mnu_help_help_Click);
    mnu_help_tutorial = mnu_help->addAction("Script &Tutorials");
    mnu_help_tutorial->setObjectName("mnu_help_tutorial");
    connect(mnu_help_tutorial, &QAction::triggered, this, &FrmCats::mnu_help_tutorial_Click);
    // The maker has no web pages for the program, so the two web entries are left out.
    mnu_help_bar01 = mnu_help->addSeparator();
    mnu_help_bar01->setObjectName("mnu_help_bar01");
    mnu_help_about = mnu_help->addAction("&About Pelto");
    mnu_help_about->setObjectName("mnu_help_about");
    connect(mnu_help_about, &QAction::triggered, this, &FrmCats::mnu_help_about_Click);
}

QAction* FrmCats::RecentEntry(int index) {
    while (static_cast<int>(mnu_mru.size()) <= index) {
        const int k = static_cast<int>(mnu_mru.size());
        auto* entry = new QAction(mnu_recent_effects);
        entry->setObjectName(QStringLiteral("mnu_mru_%1").arg(k));
        entry->setVisible(false);
        mnu_recent_effects->insertAction(mnu_bar2, entry);
        connect(entry, &QAction::triggered, this, [this, k] { mnu_mru_Click(k); });
        mnu_mru.push_back(entry);
    }
    return mnu_mru[index];
}

void FrmCats::BuildButtons(int count) {
    auto* central = new QWidget(this);
    central->setObjectName("FrmCatsBackground");
    setCentralWidget(central);
    Image1 = new QLabel(central);
    Image1->setObjectName("Image1");
    Image1->setPixmap(BackgroundTile());
    Image1->hide();

    grid_ = new QWidget;
    grid_->setObjectName("CategoryGrid");
    grid_->setAttribute(Qt::WA_TranslucentBackground);
    grid_->setStyleSheet(
        "QToolButton { background: #e4e4e4; color: #1d1d1d; border: 1px solid #a9b3bd;"
        " border-radius: 6px; padding: 6px; }"
        "QToolButton:hover { background: #f2f2f2; border-color: #6f8fae; }"
        "QToolButton:pressed { background: #d2d2d2; }"
        "QToolButton:focus { border: 2px solid #2f5d8a; }");
    for (int i = 0; i < count; ++i) {
        auto* button = new QToolButton(grid_);
        button->setObjectName(QStringLiteral("CmdCats_%1").arg(i));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setFixedSize(kButtonSize);
        button->setIconSize(kPictureSize);
        button->setFocusPolicy(Qt::StrongFocus);
        button->setAutoRaise(false);
        QSizePolicy policy = button->sizePolicy();
        policy.setRetainSizeWhenHidden(true); // unused places keep the grid's shape
        button->setSizePolicy(policy);
        button->hide();
        ClickOnEnter(button);
        connect(button, &QToolButton::clicked, this, [this, i] { CmdCats_Click(i); });
        CmdCats.push_back(button);
    }

    PlaceButtons();

    auto* scroll = new QScrollArea(central);
    scroll->setObjectName("CategoryScroll");
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(false);
    scroll->setAlignment(Qt::AlignCenter);
    scroll->setStyleSheet("QScrollArea, QScrollArea > QWidget, QScrollArea > QWidget > QWidget"
                          " { background: transparent; }");
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidget(grid_);
    grid_->adjustSize();

    LblNoCategories = new QLabel(central);
    LblNoCategories->setObjectName("LblNoCategories");
    LblNoCategories->setTextFormat(Qt::PlainText);
    LblNoCategories->setWordWrap(true);
    LblNoCategories->setAlignment(Qt::AlignCenter);
    LblNoCategories->hide();

    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(28, 24, 28, 24);
    outer->addWidget(LblNoCategories);
    outer->addWidget(scroll);

    const int rows = (count + kColumns - 1) / kColumns;
    const int shownRows = std::min(rows, kRowsShownAtOnce);
    const int spacing = kSpacing;
    const int scrollBar = rows > shownRows ? scroll->verticalScrollBar()->sizeHint().width() : 0;
    // The default size; CentreOnScreen lets the area grow with the window afterwards.
    scroll->setFixedSize(kColumns * kButtonSize.width() + (kColumns - 1) * spacing + scrollBar + 2,
                         shownRows * kButtonSize.height() + (shownRows - 1) * spacing + 2);
    scroll_ = scroll;
}

void FrmCats::PlaceButtons() {
    const int room = scroll_ ? scroll_->viewport()->width() : 0;
    const int columns = std::max(kColumns, (room + kSpacing) / (kButtonSize.width() + kSpacing));
    if (columns == columns_)
        return;
    columns_ = columns;
    // A fresh layout: the old one would keep its extra rows and columns.
    delete grid_->layout();
    auto* layout = new QGridLayout(grid_);
    layout->setSpacing(kSpacing);
    layout->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < static_cast<int>(CmdCats.size()); ++i)
        layout->addWidget(CmdCats[i], i / columns, i % columns);
    grid_->adjustSize();
}

void FrmCats::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (scroll_)
        PlaceButtons();
}

void FrmCats::TileBackground() {
    // The background repeats Image1's picture from the top left corner across the window.
    QWidget* central = centralWidget();
    QPalette palette = central->palette();
    palette.setBrush(QPalette::Window, QBrush(Image1->pixmap()));
    central->setPalette(palette);
    central->setAutoFillBackground(true);
}

void FrmCats::CentreOnScreen() {
    adjustSize();
    scroll_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
}

void FrmCats::Form_Load() {
    const int categories =
        std::min(static_cast<int>(ws_.CategoryList.size()) - 1, static_cast<int>(CmdCats.size()));
    for (QToolButton* button : CmdCats)
        button->hide();
    for (int i = 1; i <= categories; ++i) {
        const std::string& category = ws_.CategoryList[i];
        QToolButton* button = CmdCats[i - 1];
        QPixmap picture = ButtonPicture(CategoryPictureFile(ws_, category));
        if (picture.isNull()) // the category's own picture is unreadable: use the default
            picture = ButtonPicture(PathToQString((ws_.ImagesFolder() / "cdefault.gif").string()));
        button->setIcon(QIcon(picture));
        button->setText(Caption(category));
        button->setToolTip(FromBytes(category));
        button->setAccessibleName(FromBytes(category));
        button->show();
    }
    LblNoCategories->setText(QStringLiteral("No effects were found in the library folder \"%1\".")
                                 .arg(PathToQString(ws_.DataFolder().string())));
    LblNoCategories->setVisible(categories < 1);
    TileBackground();
    CentreOnScreen();
    KeepGeometry(this, "CategoriesGeometry");
    LoadRecentEffects();
    ws_.SampleFile =
        PathFromQString(GetSetting("Settings", "Sample File", PathToQString(ws_.SampleFile)));
    if (categories >= 1)
        CmdCats[0]->setFocus();
}

void FrmCats::CmdCats_Click(int index) {
    if (index < 0 || index + 1 >= static_cast<int>(ws_.CategoryList.size()))
        return;
    ws_.CurrentCategory = ws_.CategoryList[index + 1];
    // The next window opens before this one closes, so the program never sees a moment
    // without windows.
    flow_.ShowScriptSelection();
    close();
}

void FrmCats::LoadRecentEffects() {
    recent_.Load();
    for (QAction* entry : mnu_mru)
        entry->setVisible(false);
    for (int slot = 1; slot <= RecentEffects::kSlots; ++slot) {
        const std::string& id = recent_.Slot(slot);
        if (id.empty())
            continue;
        QAction* entry = RecentEntry(slot - 1);
        const int16_t index = FindScriptById(ws_, id);
        if (index > 0) {
            entry->setText(Caption(ws_.Library[index].Name));
            entry->setEnabled(true);
        } else {
            // The effect has left the library: listed so the user sees why it is gone,
            // but it cannot be chosen.
            entry->setText(Caption(id) + " (no longer in the library)");
            entry->setEnabled(false);
        }
        entry->setVisible(true);
    }
}

void FrmCats::ClearRecentEffects() {
    recent_.Clear();
    for (QAction* entry : mnu_mru)
        entry->setVisible(false);
}

void FrmCats::OpenRecentEffect(int k) {
    const std::string& id = recent_.Slot(k + 1);
    const int16_t index = id.empty() ? 0 : FindScriptById(ws_, id);
    if (index < 1) {
        ShowMessage(this,
                    id.empty() ? QStringLiteral("This entry of the recent effects is empty.")
                               : QStringLiteral("The effect \"%1\" is no longer in the library.")
                                     .arg(FromBytes(id)),
                    MessageIcon::Exclamation);
        return;
    }
    ws_.CurrentScriptIndex = index;
    ws_.CurrentParameterFile = ws_.Library[index].ParameterFile;
    flow_.ShowParameterPage();
    close();
}

void FrmCats::mnu_mru_Click(int index) {
    OpenRecentEffect(index);
}

void FrmCats::mnu_mru_clear_Click() {
    ClearRecentEffects();
}

void FrmCats::mnu_options_sample_file_Click() {
    FrmOptions options(ws_, this);
    options.exec();
}

void FrmCats::mnu_help_help_Click() {
    ShowHelpContents(this, PathToQString(ws_.HelpFile().string()));
}

void FrmCats::mnu_help_tutorial_Click() {
    ShowHelpTopic(this, PathToQString(ws_.HelpFile().string()), kTutorialsContext);
}

void FrmCats::mnu_help_about_Click() {
    frmAbout about(this);
    about.exec();
}

void FrmCats::mnu_undo_last_Click() {
    UndoChangeAsking(this, ws_, "");
    mnu_undo_last->setEnabled(ChangeToUndoExists(ws_));
}

void FrmCats::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && mnu_undo_last)
        mnu_undo_last->setEnabled(ChangeToUndoExists(ws_));
}

void FrmCats::mnu_undo_history_Click() {
    FrmUndoHistory history(ws_, this);
    history.exec();
}

} // namespace pelto::ui
