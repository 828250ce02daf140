#include "parampage/list_editor.h"

#include "parampage/list_case_rule.h"
#include "platform/message_box.h"
#include "platform/text_codec.h"
#include "ui_common/user_choice.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

#include <algorithm>

namespace pelto::ui {

ListEditor::ListEditor(Workspace& ws, QWidget* parent)
    : EditorFrame(ws, List, "List (1D to 3D)", parent), ListWorkTable(WorkRows) {
    auto* grid = new QGridLayout(Body());
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(1);
    LstList = Named(new QListWidget(Body()), "LstList", "Entries");
    grid->addWidget(LstList, 0, 0, 7, 1);
    auto addBox = [&](int row, const char* label, const char* box, QLabel*& l, QLineEdit*& t) {
        l = Named(PlainLabel(Body()), label);
        t = Named(new QLineEdit(Body()), box, QStringLiteral("Column %1").arg(row / 2 + 1));
        l->setBuddy(t);
        grid->addWidget(l, row, 1);
        grid->addWidget(t, row + 1, 1);
    };
    addBox(0, "LblListCaption", "TxtLstEntry", LblListCaption, TxtLstEntry);
    addBox(2, "LblListCaption2", "TxtLstEntry2", LblListCaption2, TxtLstEntry2);
    addBox(4, "LblListCaption3", "TxtLstEntry3", LblListCaption3, TxtLstEntry3);
    grid->setRowStretch(6, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout();
    buttons->setSpacing(3);
    auto button = [&](const char* name, const char* caption) {
        auto* b = Named(new QPushButton(caption, Body()), name, caption);
        b->setAutoDefault(false);
        ClickOnEnter(b);
        buttons->addWidget(b);
        return b;
    };
    Command1 = button("Command1", "New");
    Command2 = button("Command2", "Update");
    Command3 = button("Command3", "Delete");
    Command4 = button("Command4", "Up");
    Command6 = button("Command6", "Down");
    grid->addLayout(buttons, 7, 0, 1, 2);

    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
    // A double click or Enter on a highlighted entry brings it into the boxes.
    OnRowActivated(LstList, [this](int) { LstList_DblClick(); });
}

void ListEditor::Show(int16_t ordinal) {
    const ListParameter& p = ws_.Params.ListParameters[ordinal];
    LblListCaption2->hide();
    TxtLstEntry2->hide();
    LblListCaption3->hide();
    TxtLstEntry3->hide();
    SetCaptionAndDescription(p.Name, p.Description);
    LblListCaption->setText(FromBytes(p.ColumnCaption1));
    LblListCaption3->setText(FromBytes(p.ColumnCaption3));
    if (p.Columns >= 2) {
        LblListCaption2->setText(FromBytes(p.ColumnCaption2));
        LblListCaption2->show();
        TxtLstEntry2->show();
    }
    if (p.Columns == 3) {
        LblListCaption3->setText(FromBytes(p.ColumnCaption3));
        LblListCaption3->show();
        TxtLstEntry3->show();
    }
    NameAfterCaption(TxtLstEntry, LblListCaption->text(), "Column 1");
    NameAfterCaption(TxtLstEntry2, LblListCaption2->text(), "Column 2");
    NameAfterCaption(TxtLstEntry3, LblListCaption3->text(), "Column 3");
    LstList->clear();
    // A definition with more rows than the table: the table grows, so no entry is lost.
    if (p.Rows > static_cast<int>(ListWorkTable.size()))
        ListWorkTable.resize(p.Rows);
    for (int r = 0; r < p.Rows && r < static_cast<int>(p.Entries.size()); ++r) {
        const auto& entry = p.Entries[r];
        auto cell = [&](int c) {
            return c < static_cast<int>(entry.size()) ? entry[c] : std::string();
        };
        LstList->addItem(FromBytes(cell(0)));
        ListWorkTable[r][0] = cell(0);
        if (p.Columns == 2 || p.Columns == 3)
            ListWorkTable[r][1] = cell(1);
        if (p.Columns == 3)
            ListWorkTable[r][2] = cell(2);
    }
}

void ListEditor::Commit(int16_t ordinal) {
    ListParameter& p = ws_.Params.ListParameters[ordinal];
    const int n = LstList->count();
    const int columns = std::clamp<int>(p.Columns, 0, 3);
    p.Entries.assign(n, std::vector<std::string>(columns));
    p.Rows = static_cast<int16_t>(n);
    for (int r = 0; r < n; ++r) {
        if (columns >= 1)
            p.Entries[r][0] = ListWorkTable[r][0];
        if (columns == 2 || columns == 3)
            p.Entries[r][1] = ListWorkTable[r][1];
        if (columns == 3)
            p.Entries[r][2] = ListWorkTable[r][2];
    }
    ApplyListCaseRule(ws_, ordinal);
}

bool ListEditor::ReadBoxes(std::array<std::string, 3>& row) {
    const QLineEdit* boxes[] = {TxtLstEntry, TxtLstEntry2, TxtLstEntry3};
    for (int c = 0; c < 3; ++c)
        row[static_cast<size_t>(c)] = ToBytes(boxes[c]->text());
    return true;
}

void ListEditor::Command1_Click() {
    std::array<std::string, 3> row;
    if (!ReadBoxes(row))
        return;
    if (LstList->count() >= static_cast<int>(ListWorkTable.size())) {
        ShowMessage(
            this,
            QStringLiteral("The list cannot hold more than %1 entries").arg(ListWorkTable.size()),
            MessageIcon::Critical);
        return;
    }
    LstList->setCurrentRow(-1);
    LstList->addItem(TxtLstEntry->text());
    ListWorkTable[LstList->count() - 1] = std::move(row);
}

void ListEditor::Command2_Click() {
    const int i = ChosenRow(LstList);
    if (i < 0)
        return;
    std::array<std::string, 3> row;
    if (!ReadBoxes(row))
        return;
    LstList->item(i)->setText(TxtLstEntry->text());
    ListWorkTable[i] = std::move(row);
    LstList->setCurrentRow(-1);
}

void ListEditor::Command3_Click() {
    const int i = ChosenRow(LstList);
    if (i < 0)
        return;
    if (LstList->count() == 1) {
        ShowMessage(this, "You must have at least a single entry in the list",
                    MessageIcon::Critical);
        return;
    }
    if (ShowMessage(this, "Are you sure want to delete this line, " + LstList->item(i)->text(),
                    MessageIcon::Exclamation, MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    for (int r = i; r + 1 < static_cast<int>(ListWorkTable.size()); ++r)
        ListWorkTable[r] = ListWorkTable[r + 1];
    delete LstList->takeItem(i);
    LstList->setCurrentRow(-1);
}

void ListEditor::Command4_Click() {
    const int i = ChosenRow(LstList);
    if (i < 1)
        return;
    std::swap(ListWorkTable[i], ListWorkTable[i - 1]);
    const QString above = LstList->item(i - 1)->text();
    LstList->item(i - 1)->setText(LstList->item(i)->text());
    LstList->item(i)->setText(above);
}

void ListEditor::Command6_Click() {
    const int i = ChosenRow(LstList);
    if (i < 0 || i >= LstList->count() - 1)
        return;
    std::swap(ListWorkTable[i], ListWorkTable[i + 1]);
    const QString below = LstList->item(i + 1)->text();
    LstList->item(i + 1)->setText(LstList->item(i)->text());
    LstList->item(i)->setText(below);
}

void ListEditor::LstList_DblClick() {
    const int i = ChosenRow(LstList);
    if (i < 0)
        return;
    TxtLstEntry->setText(FromBytes(ListWorkTable[i][0]));
    TxtLstEntry2->setText(FromBytes(ListWorkTable[i][1]));
    TxtLstEntry3->setText(FromBytes(ListWorkTable[i][2]));
}

} // namespace pelto::ui
