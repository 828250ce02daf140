#include "parampage/menu_editor.h"

#include "platform/text_codec.h"
#include "ui_common/user_choice.h"

#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

#include <utility>

namespace pelto::ui {

int MenuDepth(const QString& text) {
    int d = 0;
    while (d < text.size() && text[d] == '>')
        ++d;
    return d;
}

QString BareCaption(const QString& text) {
    return text.mid(MenuDepth(text));
}

MenuEditor::MenuEditor(Workspace& ws, QWidget* parent) : EditorFrame(ws, Menu, "Menu", parent) {
    auto* grid = new QGridLayout(Body());
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(2);
    LstMenuBuilder = Named(new QListWidget(Body()), "LstMenuBuilder", "Menu entries");
    QFont fixed("Courier New");
    fixed.setStyleHint(QFont::TypeWriter);
    LstMenuBuilder->setFont(fixed);
    grid->addWidget(LstMenuBuilder, 0, 0, 6, 1);

    auto* captionLabel = new QLabel("Caption", Body());
    TxtMenuCaption = Named(new QLineEdit(Body()), "TxtMenuCaption", "Caption");
    captionLabel->setBuddy(TxtMenuCaption);
    auto* linkLabel = new QLabel("Link", Body());
    TxtMenuLink = Named(new QLineEdit(Body()), "TxtMenuLink", "Link");
    linkLabel->setBuddy(TxtMenuLink);
    grid->addWidget(captionLabel, 0, 1);
    grid->addWidget(TxtMenuCaption, 1, 1);
    grid->addWidget(linkLabel, 2, 1);
    grid->addWidget(TxtMenuLink, 3, 1);

    auto* buttons = new QGridLayout();
    buttons->setSpacing(3);
    auto button = [&](const char* name, const QString& symbol, const char* caption, int row,
                      int col) {
        auto* b = Named(new QPushButton(symbol, Body()), name, caption);
        b->setToolTip(caption);
        b->setAutoDefault(false);
        ClickOnEnter(b);
        buttons->addWidget(b, row, col);
        return b;
    };
    CmdMenuAdd = button("CmdMenuAdd", "+", "Add", 0, 0);
    CmdMenuRemove = button("CmdMenuRemove", QStringLiteral("\u2715"), "Remove", 1, 0);
    CmdMenuUp = button("CmdMenuUp", QStringLiteral("\u2191"), "Up", 0, 1);
    CmdMenuDown = button("CmdMenuDown", QStringLiteral("\u2193"), "Down", 1, 1);
    CmdMenuLeft = button("CmdMenuLeft", QStringLiteral("\u2190"), "Left", 0, 2);
    CmdMenuRight = button("CmdMenuRight", QStringLiteral("\u2192"), "Right", 1, 2);
    grid->setRowStretch(4, 1);
    grid->addLayout(buttons, 5, 1);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);

    // A click on a line, also on the highlighted one after Up or Down, loads its texts.
    OnRowChosen(LstMenuBuilder, [this](int) { LstMenuBuilder_Click(); });
    connect(TxtMenuCaption, &QLineEdit::textChanged, this, [this] { TxtMenuCaption_Change(); });
    connect(TxtMenuLink, &QLineEdit::textChanged, this, [this] { TxtMenuLink_Change(); });
    connect(CmdMenuAdd, &QPushButton::clicked, this, [this] { CmdMenuAdd_Click(); });
    connect(CmdMenuRemove, &QPushButton::clicked, this, [this] { CmdMenuRemove_Click(); });
    connect(CmdMenuUp, &QPushButton::clicked, this, [this] { CmdMenuUp_Click(); });
    connect(CmdMenuDown, &QPushButton::clicked, this, [this] { CmdMenuDown_Click(); });
    connect(CmdMenuLeft, &QPushButton::clicked, this, [this] { CmdMenuLeft_Click(); });
    connect(CmdMenuRight, &QPushButton::clicked, this, [this] { CmdMenuRight_Click(); });
}

void MenuEditor::ResizeArrays(int count) {
    MenuParameter& m = ws_.Params.Menu;
    m.MenuEntries.resize(count + 1);
    m.MenuCaptions.resize(count + 1);
    m.MenuLinks.resize(count + 1);
    m.MenuLines.resize(count + 1);
}

void MenuEditor::SetLine(int i, const QString& text) {
    LstMenuBuilder->item(i)->setText(text);
    ws_.Params.Menu.MenuEntries[i + 1] = ToBytes(text);
}

void MenuEditor::Show(int16_t) {
    MenuParameter& m = ws_.Params.Menu;
    SetCaptionAndDescription(m.Name, m.Description);
    LstMenuBuilder->clear();
    // The arrays always cover the count, so the list and the record stay in step.
    if (m.Count < 0)
        m.Count = 0;
    if (static_cast<int>(m.MenuEntries.size()) < m.Count + 1 ||
        static_cast<int>(m.MenuCaptions.size()) < m.Count + 1 ||
        static_cast<int>(m.MenuLinks.size()) < m.Count + 1 ||
        static_cast<int>(m.MenuLines.size()) < m.Count + 1)
        ResizeArrays(m.Count);
    for (int k = 1; k <= m.Count; ++k)
        LstMenuBuilder->addItem(FromBytes(m.MenuEntries[k]));
}

void MenuEditor::Commit(int16_t) {
    ws_.Params.Menu.Count = static_cast<int16_t>(LstMenuBuilder->count());
}

void MenuEditor::LstMenuBuilder_Click() {
    const int i = ChosenRow(LstMenuBuilder);
    if (i < 0)
        return;
    const MenuParameter& m = ws_.Params.Menu;
    TxtMenuCaption->setText(FromBytes(m.MenuCaptions[i + 1]));
    TxtMenuLink->setText(FromBytes(m.MenuLinks[i + 1]));
}

void MenuEditor::TxtMenuCaption_Change() {
    const int i = ChosenRow(LstMenuBuilder);
    if (i < 0)
        return;
    MenuParameter& m = ws_.Params.Menu;
    m.MenuCaptions[i + 1] = ToBytes(TxtMenuCaption->text());
    const int depth = MenuDepth(LstMenuBuilder->item(i)->text());
    SetLine(i, QString(depth, '>') + TxtMenuCaption->text());
}

void MenuEditor::TxtMenuLink_Change() {
    const int i = ChosenRow(LstMenuBuilder);
    if (i < 0)
        return;
    ws_.Params.Menu.MenuLinks[i + 1] = ToBytes(TxtMenuLink->text());
}

void MenuEditor::CmdMenuAdd_Click() {
    std::string caption = ToBytes(TxtMenuCaption->text());
    std::string link = ToBytes(TxtMenuLink->text());
    MenuParameter& m = ws_.Params.Menu;
    const int n = LstMenuBuilder->count();
    const int depth = n == 0 ? 0 : MenuDepth(LstMenuBuilder->item(n - 1)->text());
    const QString line = QString(depth, '>') + TxtMenuCaption->text();
    LstMenuBuilder->addItem(line);
    ResizeArrays(m.Count + 1);
    m.Count = static_cast<int16_t>(m.Count + 1);
    m.MenuEntries[m.Count] = std::string(depth, '>') + caption;
    m.MenuCaptions[m.Count] = std::move(caption);
    m.MenuLinks[m.Count] = std::move(link);
}

void MenuEditor::CmdMenuRemove_Click() {
    const int i = ChosenRow(LstMenuBuilder);
    if (i < 0)
        return;
    MenuParameter& m = ws_.Params.Menu;
    const int n = LstMenuBuilder->count();
    for (int k = i + 1; k <= n - 1; ++k) {
        m.MenuEntries[k] = m.MenuEntries[k + 1];
        m.MenuCaptions[k] = m.MenuCaptions[k + 1];
        m.MenuLinks[k] = m.MenuLinks[k + 1];
    }
    {
        // Removing the selected line leaves no line selected.
        const QSignalBlocker block(LstMenuBuilder);
        delete LstMenuBuilder->takeItem(i);
        LstMenuBuilder->setCurrentRow(-1);
    }
    ResizeArrays(n - 1);
    m.Count = static_cast<int16_t>(n - 1);
}

void MenuEditor::SwapEntries(int a, int b) {
    MenuParameter& m = ws_.Params.Menu;
    std::swap(m.MenuEntries[a], m.MenuEntries[b]);
    std::swap(m.MenuCaptions[a], m.MenuCaptions[b]);
    std::swap(m.MenuLinks[a], m.MenuLinks[b]);
}

void MenuEditor::CmdMenuUp_Click() {
    const int i = ChosenRow(LstMenuBuilder);
    if (i < 1)
        return;
    SwapEntries(i + 1, i);
    const QString above = LstMenuBuilder->item(i - 1)->text();
    LstMenuBuilder->item(i - 1)->setText(LstMenuBuilder->item(i)->text());
    LstMenuBuilder->item(i)->setText(above);
}

void MenuEditor::CmdMenuDown_Click() {
    const int i = ChosenRow(LstMenuBuilder);
    if (i < 0 || i >= LstMenuBuilder->count() - 1)
        return;
    SwapEntries(i + 1, i + 2);
    const QString below = LstMenuBuilder->item(i + 1)->text();
    LstMenuBuilder->item(i + 1)->setText(LstMenuBuilder->item(i)->text());
    LstMenuBuilder->item(i)->setText(below);
}

void MenuEditor::CmdMenuLeft_Click() {
    const int i = ChosenRow(LstMenuBuilder);
    if (i < 1)
        return;
    QString text = LstMenuBuilder->item(i)->text();
    if (text.startsWith('>'))
        text.remove(0, 1);
    SetLine(i, text);
}

void MenuEditor::CmdMenuRight_Click() {
    const int i = ChosenRow(LstMenuBuilder);
    if (i < 1)
        return;
    const int limit = MenuDepth(LstMenuBuilder->item(i - 1)->text()) + 1;
    const QString text = LstMenuBuilder->item(i)->text();
    const int depth = std::min(MenuDepth(text) + 1, limit);
    SetLine(i, QString(depth, '>') + BareCaption(text));
}

} // namespace pelto::ui
