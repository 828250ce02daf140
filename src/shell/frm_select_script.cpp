#include "shell/frm_select_script.h"

#include "platform/text_codec.h"
#include "shell/shell_pictures.h"
#include "ui_common/user_choice.h"
#include "ui_common/window_geometry.h"

#include <algorithm>

#include <QComboBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace pelto::ui {

namespace {

// A slot's height when its description takes one or two lines.
constexpr int kSlotLeastHeight = 64;

// 360 twips: the room the slot texts leave before the window's right edge.
int QuarterInch(const QWidget* w) {
    return qRound(w->logicalDpiX() * 360.0 / 1440.0);
}

QPushButton* Button(QWidget* parent, const QString& name, const QString& caption,
                    const QString& accessible) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAccessibleName(accessible);
    button->setAutoDefault(false);
    ClickOnEnter(button);
    return button;
}

} // namespace

FrmSelectScript::FrmSelectScript(Workspace& ws, WindowFlow& flow, QWidget* parent)
    : QWidget(parent, Qt::Window), ws_(ws), flow_(flow) {
    setObjectName("FrmSelectScript");
    setWindowTitle("Choose a Script");
    BuildControls();
    Form_Load();
}

void FrmSelectScript::BuildControls() {
    setStyleSheet("FrmSelectScript { background: #f4f6f8; }"
                  "QLabel#LblCategory { color: white; font-size: 15pt; font-weight: bold; }"
                  "QFrame#ScriptSlot { background: white; border: 1px solid #d3dae1;"
                  " border-radius: 6px; }"
                  "QFrame#ScriptSlot QLabel { background: transparent; border: none; }");

    // The banner: Image1's picture repeated across the top, with the category on it.
    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    const QPixmap banner = BannerTile();
    Image1->setFixedHeight(qRound(banner.height() / banner.devicePixelRatio()));
    QPalette palette = Image1->palette();
    palette.setBrush(QPalette::Window, QBrush(banner));
    Image1->setPalette(palette);
    Image1->setAutoFillBackground(true);
    LblCategory = new QLabel(Image1);
    LblCategory->setObjectName("LblCategory");
    LblCategory->setTextFormat(Qt::PlainText);
    auto* bannerLayout = new QHBoxLayout(Image1);
    bannerLayout->setContentsMargins(18, 0, 18, 0);
    bannerLayout->addWidget(LblCategory);

    auto* slotColumn = new QVBoxLayout;
    slotColumn->setSpacing(8);
    slotColumn_ = slotColumn;
    for (int i = 0; i < kMaxSlots; ++i) {
        auto* slot = new QFrame(this);
        slot->setObjectName("ScriptSlot");
        ImgScriptImage[i] = new QLabel(slot);
        ImgScriptImage[i]->setObjectName(QStringLiteral("ImgScriptImage_%1").arg(i));
        ImgScriptImage[i]->setPixmap(SlotPicture());
        ImgScriptImage[i]->setAlignment(Qt::AlignTop);
        LblScriptCation[i] = new QLabel(slot);
        LblScriptCation[i]->setObjectName(QStringLiteral("LblScriptCation_%1").arg(i));
        LblScriptCation[i]->setTextFormat(Qt::PlainText);
        QFont bold = LblScriptCation[i]->font();
        bold.setBold(true);
        bold.setPointSizeF(bold.pointSizeF() * 1.1);
        LblScriptCation[i]->setFont(bold);
        LblScriptDescription[i] = new QLabel(slot);
        LblScriptDescription[i]->setObjectName(QStringLiteral("LblScriptDescription_%1").arg(i));
        LblScriptDescription[i]->setTextFormat(Qt::PlainText);
        LblScriptDescription[i]->setWordWrap(true);
        LblScriptDescription[i]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        CmdGetScriptParameters[i] =
            Button(slot, QStringLiteral("CmdGetScriptParameters_%1").arg(i), "Go", "Go");
        CmdGetScriptParameters[i]->setMinimumWidth(72);
        connect(CmdGetScriptParameters[i], &QPushButton::clicked, this,
                [this, i] { CmdGetScriptParameters_Click(i); });

        auto* texts = new QVBoxLayout;
        texts->setSpacing(2);
        texts->addWidget(LblScriptCation[i]);
        texts->addWidget(LblScriptDescription[i], 1);
        auto* row = new QHBoxLayout(slot);
        row->setContentsMargins(10, 8, 10, 8);
        row->setSpacing(12);
        row->addWidget(ImgScriptImage[i], 0, Qt::AlignTop);
        row->addLayout(texts, 1);
        row->addWidget(CmdGetScriptParameters[i], 0, Qt::AlignVCenter);
        // A slot of the page keeps its room when a short page leaves it empty; the slots
        // beyond the page take none.
        QSizePolicy policy = slot->sizePolicy();
        policy.setRetainSizeWhenHidden(i < kSlots);
        slot->setSizePolicy(policy);
        slot->setMinimumHeight(kSlotLeastHeight);
        if (i >= kSlots)
            slot->hide();
        slotColumn->addWidget(slot);
    }

    LblNoScripts = new QLabel("There are no effects in this category.", this);
    LblNoScripts->setObjectName("LblNoScripts");
    LblNoScripts->setAlignment(Qt::AlignCenter);
    LblNoScripts->hide();

    Command1 = Button(this, "Command1", "<", "Previous page");
    Command2 = Button(this, "Command2", ">", "Next page");
    Command3 = Button(this, "Command3", "Back", "Back");
    Command1->setToolTip("Previous page");
    Command2->setToolTip("Next page");
    Command1->setFixedWidth(44);
    Command2->setFixedWidth(44);
    QSizePolicy keep = Command2->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    Command2->setSizePolicy(keep);
    Command1->setSizePolicy(keep);
    LstAllScripts = new QComboBox(this);
    LstAllScripts->setObjectName("LstAllScripts");
    LstAllScripts->setAccessibleName("All effects of this category");
    LstAllScripts->setPlaceholderText("All effects of this category");
    LstAllScripts->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    LstAllScripts->setMinimumContentsLength(24);
    connect(Command1, &QPushButton::clicked, this, &FrmSelectScript::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &FrmSelectScript::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &FrmSelectScript::Command3_Click);
    // The wheel, arrow keys and letters step through the entries; an entry picked in the
    // open list (or Enter on the box) opens its effect.
    OnEntryChosen(LstAllScripts, [this](int) { LstAllScripts_Click(); });

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Command1);
    bottom->addWidget(Command2);
    bottom->addSpacing(16);
    bottom->addWidget(LstAllScripts);
    bottom->addStretch(1);
    bottom->addWidget(Command3);

    auto* body = new QVBoxLayout;
    // The slotColumn end a quarter inch before the window's right edge.
    body->setContentsMargins(QuarterInch(this), 14, QuarterInch(this), 14);
    body->setSpacing(12);
    body->addLayout(slotColumn);
    body->addWidget(LblNoScripts);
    body->addLayout(bottom);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Image1);
    layout->addLayout(body, 1);

    setTabOrder(CmdGetScriptParameters[kMaxSlots - 1], Command1);
    setTabOrder(Command1, Command2);
    setTabOrder(Command2, LstAllScripts);
    setTabOrder(LstAllScripts, Command3);
}

void FrmSelectScript::SizeAndCentre() {
    QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const int width = area.width() * 9 / 10;
    // The least room is that of a page of kSlots; the slots a taller window adds do not
    // raise it, or the window could not be made small again.
    setMinimumSize(minimumSizeHint());
    resize(width, std::max(sizeHint().height(), heightForWidth(width)));
    baseHeight_ = height();
    slotStep_ = LblScriptCation[0]->parentWidget()->sizeHint().height() + 8;
    move(area.left() + (area.width() - this->width()) / 2,
         area.top() + std::max(0, (area.height() - height()) / 2));
}

void FrmSelectScript::Form_Load() {
    LblCategory->setText(FromBytes(ws_.CurrentCategory));
    Image1->setAccessibleName(FromBytes(ws_.CurrentCategory));
    SizeAndCentre();
    KeepGeometry(this, "ScriptSelectionGeometry");
    pageNumber_ = 1;
    FitSlotsToHeight();
    PopulateScriptPage();
}

void FrmSelectScript::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int before = perPage_;
    FitSlotsToHeight();
    if (perPage_ != before)
        PopulateScriptPage();
}

// The height a slot needs at its current width for the longest description of the category
// (wrapped as the label wraps it), and never less than the slot's own least height.
int FrmSelectScript::TallestSlot() const {
    const QLabel* description = LblScriptDescription[0];
    const QWidget* slot = description->parentWidget();
    const int width = description->width();
    if (width <= 0)
        return 0;
    const QFontMetrics metrics(description->font());
    int tallest = 0;
    for (size_t index = 1; index < ws_.Library.size() && index <= 32767; ++index) {
        const ScriptRecord& script = ws_.Library[index];
        if (script.Category != ws_.CurrentCategory)
            continue;
        const QRect box(0, 0, width, 1 << 20);
        tallest = std::max(tallest, metrics
                                        .boundingRect(box, Qt::TextWordWrap | Qt::AlignLeft,
                                                      FromBytes(script.Description))
                                        .height());
    }
    const QMargins margins = slot->layout()->contentsMargins();
    const int texts = LblScriptCation[0]->sizeHint().height() + 2 + tallest;
    const int inner = std::max({texts, ImgScriptImage[0]->sizeHint().height(),
                                CmdGetScriptParameters[0]->sizeHint().height()});
    return std::max(kSlotLeastHeight, inner + margins.top() + margins.bottom());
}

void FrmSelectScript::FitSlotsToHeight() {
    if (baseHeight_ <= 0 || slotStep_ <= 0)
        return;
    const int extra = std::max(0, height() - baseHeight_) / slotStep_;
    int fit = std::min(kMaxSlots, kSlots + extra);
    // In a narrow window the descriptions wrap to more lines: a page then holds the slots
    // that fit whole, so no description is cut off (at least one slot, paged with "<" ">").
    // (Only once the layout has placed the slots: before, their widths are not yet known.)
    // Every slot is then as tall as the longest description needs.
    if (isVisible() && slotColumn_->geometry().isValid()) {
        const int tallest = TallestSlot();
        for (int i = 0; i < kMaxSlots; ++i)
            LblScriptCation[i]->parentWidget()->setMinimumHeight(tallest);
        const int room = slotColumn_->geometry().height() + slotColumn_->spacing();
        fit = std::clamp(room / (tallest + slotColumn_->spacing()), 1, fit);
    }
    if (fit == perPage_)
        return;
    // The first effect shown stays on the page.
    const int first = (pageNumber_ - 1) * perPage_;
    perPage_ = fit;
    pageNumber_ = static_cast<int16_t>(first / perPage_ + 1);
    for (int i = 0; i < kMaxSlots; ++i) {
        QWidget* slot = LblScriptCation[i]->parentWidget();
        QSizePolicy policy = slot->sizePolicy();
        policy.setRetainSizeWhenHidden(i < perPage_);
        slot->setSizePolicy(policy);
    }
}

void FrmSelectScript::PopulateScriptPage() {
    int skip = (pageNumber_ - 1) * perPage_;
    for (int i = 0; i < kMaxSlots; ++i) {
        ShowSlot(i, false);
        CmdGetScriptParameters[i]->setProperty("Tag", QString());
    }
    QSignalBlocker quiet(LstAllScripts); // filling the list is not a choice
    LstAllScripts->clear();
    int found = 0;
    int slot = 0;
    for (size_t index = 1; index < ws_.Library.size() && index <= 32767; ++index) {
        const ScriptRecord& script = ws_.Library[index];
        if (script.Category != ws_.CurrentCategory)
            continue;
        ++found;
        LstAllScripts->addItem(FromBytes(script.Name), static_cast<int>(index));
        if (skip < 1 && slot < perPage_) {
            LblScriptCation[slot]->setText(FromBytes(script.Name));
            LblScriptDescription[slot]->setText(FromBytes(script.Description));
            CmdGetScriptParameters[slot]->setProperty("Tag", QString::number(index));
            CmdGetScriptParameters[slot]->setAccessibleDescription(FromBytes(script.Name));
            ShowSlot(slot, true);
            ++slot;
        }
        --skip;
    }
    LstAllScripts->setCurrentIndex(-1);
    const int pages = (found + perPage_ - 1) / perPage_;
    // At or past the last page there is nothing further to show (a category without
    // scripts has no pages at all).
    Command2->setVisible(pageNumber_ < pages);
    // "<" only where there is a page before this one.
    Command1->setVisible(pageNumber_ > 1);
    LblNoScripts->setVisible(found == 0);
}

void FrmSelectScript::ShowSlot(int slot, bool visible) {
    LblScriptCation[slot]->setVisible(visible);
    LblScriptDescription[slot]->setVisible(visible);
    ImgScriptImage[slot]->setVisible(visible);
    CmdGetScriptParameters[slot]->setVisible(visible);
    LblScriptCation[slot]->parentWidget()->setVisible(visible); // the slot's frame
}

void FrmSelectScript::Command1_Click() {
    if (pageNumber_ > 1)
        --pageNumber_;
    PopulateScriptPage();
}

void FrmSelectScript::Command2_Click() {
    if (pageNumber_ < 32767)
        ++pageNumber_;
    PopulateScriptPage();
}

void FrmSelectScript::Command3_Click() {
    flow_.ShowCategories();
    close();
}

void FrmSelectScript::ChooseScript(int16_t index) {
    ws_.CurrentScriptIndex = index;
    ws_.CurrentParameterFile = ws_.Library[index].ParameterFile;
}

void FrmSelectScript::CmdGetScriptParameters_Click(int slot) {
    if (slot < 0 || slot >= kMaxSlots)
        return;
    bool ok = false;
    const int index = CmdGetScriptParameters[slot]->property("Tag").toString().toInt(&ok);
    if (!ok || index < 1 || static_cast<size_t>(index) >= ws_.Library.size())
        return;
    ChooseScript(static_cast<int16_t>(index));
    flow_.ShowParameterPage();
    close();
}

void FrmSelectScript::LstAllScripts_Click() {
    const int entry = LstAllScripts->currentIndex();
    if (entry < 0)
        return;
    const int index = LstAllScripts->itemData(entry).toInt();
    if (index < 1 || static_cast<size_t>(index) >= ws_.Library.size())
        return;
    ChooseScript(static_cast<int16_t>(index));
    opensModalPage_ = true;
    flow_.ShowParameterPage();
    opensModalPage_ = false;
}

} // namespace pelto::ui
