#include "parampage/font_editor.h"

#include "common/numbers.h"
#include "platform/text_codec.h"
#include "ui_common/user_choice.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QRegularExpression>

namespace pelto::ui {

QString FamilyName(const QString& listed) {
    // "C059 [urw]": the system names a family offered by several foundries with the
    // foundry in brackets; the page knows the family alone.
    static const QRegularExpression foundry(QStringLiteral("\\s*\\[[^\\[\\]]*\\]$"));
    return QString(listed).remove(foundry);
}

int FontSizeLine(int size) {
    return static_cast<int>(RoundHalfEven(size / 2.0 - 3));
}

FontEditor::FontEditor(Workspace& ws, QWidget* parent) : EditorFrame(ws, Font, "Font", parent) {
    auto* grid = new QGridLayout(Body());
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(1);
    LstFontNames = Named(new QListWidget(Body()), "LstFontNames", "Font");
    LstFontSizes = Named(new QListWidget(Body()), "LstFontSizes", "Size");
    LstFontSizes->setFixedWidth(fontMetrics().horizontalAdvance("0000") + 30);
    auto check = [&](const char* name, const char* caption) {
        return Named(new QCheckBox(caption, Body()), name, caption);
    };
    ChkFontBold = check("ChkFontBold", "Bold");
    ChkFontItalic = check("ChkFontItalic", "Italic");
    ChkFontUnderline = check("ChkFontUnderline", "Underline");
    ChkFontStrikethru = check("ChkFontStrikethru", "Strike thru");
    LblFontSampleText = Named(new QLabel("This is the sample text. Play with font styles and find "
                                         "best setting for your need.",
                                         Body()),
                              "LblFontSampleText", "Sample text");
    LblFontSampleText->setWordWrap(true);
    LblFontSampleText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LblFontSampleText->setFrameShape(QFrame::StyledPanel);
    LblFontSampleText->setMinimumHeight(60);
    grid->addWidget(LstFontNames, 0, 0, 4, 1);
    grid->addWidget(LstFontSizes, 0, 1, 4, 1);
    grid->addWidget(ChkFontBold, 0, 2);
    grid->addWidget(ChkFontItalic, 1, 2);
    grid->addWidget(ChkFontUnderline, 2, 2);
    grid->addWidget(ChkFontStrikethru, 3, 2);
    grid->addWidget(LblFontSampleText, 4, 0, 1, 3);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(4, 1);

    connect(ChkFontBold, &QCheckBox::toggled, this, [this] { ChkFontBold_Click(); });
    connect(ChkFontItalic, &QCheckBox::toggled, this, [this] { ChkFontItalic_Click(); });
    connect(ChkFontUnderline, &QCheckBox::toggled, this, [this] { ChkFontUnderline_Click(); });
    connect(ChkFontStrikethru, &QCheckBox::toggled, this, [this] { ChkFontStrikethru_Click(); });
    OnRowChosen(LstFontNames, [this](int) { LstFontNames_Click(); });
    OnRowChosen(LstFontSizes, [this](int) { LstFontSizes_Click(); });
}

void FontEditor::FillLists() {
    LstFontNames->clear();
    // Every font of the system, whatever the characters of its name.
    for (const QString& family : QFontDatabase::families())
        LstFontNames->addItem(family);
    LstFontSizes->clear();
    for (int size = 6; size <= 72; size += 2)
        LstFontSizes->addItem(QString::number(size));
}

void FontEditor::Show(int16_t ordinal) {
    const FontParameter& p = ws_.Params.FontParameters[ordinal];
    const QString name = FromBytes(p.FontName);
    for (int i = 0; i < LstFontNames->count(); ++i) {
        const QString listed = LstFontNames->item(i)->text();
        if (listed == name || (FamilyName(listed) == name && listed != name &&
                               LstFontNames->findItems(name, Qt::MatchExactly).isEmpty())) {
            LstFontNames->setCurrentRow(i);
            break;
        }
    }
    SetCaptionAndDescription(p.Name, p.Description);
    ChkFontBold->setChecked(p.Bold != 0);
    ChkFontItalic->setChecked(p.Italic != 0);
    ChkFontStrikethru->setChecked(p.StrikeThru != 0);
    ChkFontUnderline->setChecked(p.Underline != 0);
    // A size outside 6..72 keeps the current line.
    const int line = FontSizeLine(p.Size);
    if (line >= 0 && line < LstFontSizes->count())
        LstFontSizes->setCurrentRow(line);
}

void FontEditor::Commit(int16_t ordinal) {
    FontParameter& p = ws_.Params.FontParameters[ordinal];
    p.Bold = ChkFontBold->isChecked() ? 1 : 0;
    p.Italic = ChkFontItalic->isChecked() ? 1 : 0;
    p.StrikeThru = ChkFontStrikethru->isChecked() ? 1 : 0;
    p.Underline = ChkFontUnderline->isChecked() ? 1 : 0;
    // Without a chosen line the stored size and name stay as they are.
    // Only a highlighted line counts: the line the focus lands on is no choice.
    if (const int size = ChosenRow(LstFontSizes); size >= 0)
        p.Size = static_cast<int16_t>(size * 2 + 6);
    if (const int font = ChosenRow(LstFontNames); font >= 0)
        p.FontName = ToBytes(FamilyName(LstFontNames->item(font)->text()));
}

void FontEditor::ChkFontBold_Click() {
    QFont f = LblFontSampleText->font();
    f.setBold(ChkFontBold->isChecked());
    LblFontSampleText->setFont(f);
}

void FontEditor::ChkFontItalic_Click() {
    QFont f = LblFontSampleText->font();
    f.setItalic(ChkFontItalic->isChecked());
    LblFontSampleText->setFont(f);
}

void FontEditor::ChkFontUnderline_Click() {
    QFont f = LblFontSampleText->font();
    f.setUnderline(ChkFontUnderline->isChecked());
    LblFontSampleText->setFont(f);
}

void FontEditor::ChkFontStrikethru_Click() {
    QFont f = LblFontSampleText->font();
    f.setStrikeOut(ChkFontStrikethru->isChecked());
    LblFontSampleText->setFont(f);
}

void FontEditor::LstFontNames_Click() {
    const int row = ChosenRow(LstFontNames);
    if (row < 0)
        return;
    QFont f = LblFontSampleText->font();
    f.setFamily(LstFontNames->item(row)->text());
    LblFontSampleText->setFont(f);
}

void FontEditor::LstFontSizes_Click() {
    const int row = ChosenRow(LstFontSizes);
    if (row < 0)
        return;
    QFont f = LblFontSampleText->font();
    f.setPointSize(LstFontSizes->item(row)->text().toInt());
    LblFontSampleText->setFont(f);
}

} // namespace pelto::ui
