#include "parampage/colour_editor.h"

#include "common/numbers.h"
#include "expansion/colour.h"
#include "parampage/colour_palette.h"
#include "platform/text_codec.h"
#include "ui_common/user_choice.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <cmath>

namespace pelto::ui {

namespace {

const QString kHexDigits = QStringLiteral("0123456789ABCDEF");

int HexDigitValue(QChar c) {
    return std::max<qsizetype>(0, kHexDigits.indexOf(c));
}

int ComponentOf(const QString& text) {
    const double n = RoundHalfEven(LeadingNumber(text.toStdString()));
    if (!std::isfinite(n) || n < 0)
        return 0;
    return static_cast<int>(std::min(n, 255.0));
}

} // namespace

int32_t ParseHtmlColourCode(const QString& code) {
    QString text = code.toUpper().trimmed();
    if (text.startsWith('#'))
        text.remove(0, 1);
    while (text.size() < 6)
        text += '0';
    int parts[3];
    for (int k = 0; k < 3; ++k)
        parts[k] = 16 * HexDigitValue(text[2 * k]) + HexDigitValue(text[2 * k + 1]);
    return parts[0] + 256 * parts[1] + 65536 * parts[2];
}

int32_t ColourFromDecimalTexts(const QString& red, const QString& green, const QString& blue) {
    return ComponentOf(red) + 256 * ComponentOf(green) + 65536 * ComponentOf(blue);
}

ColourEditor::ColourEditor(Workspace& ws, QWidget* parent)
    : EditorFrame(ws, Colour, "Colour", parent) {
    auto* grid = new QGridLayout(Body());
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(3);
    PicPalette = Named(new ColourPalette(Body()), "PicPalette", "Palette");
    PicSolidColour = Named(new ColourSample(Body()), "PicSolidColour", "Sample");
    PicSolidColour->setMinimumHeight(36);
    grid->addWidget(PicPalette, 0, 0, 4, 1, Qt::AlignTop | Qt::AlignLeft);
    grid->addWidget(PicSolidColour, 4, 0, 2, 1);

    const char* captions[] = {"Red", "Green", "Blue", "HTML"};
    for (int i = 0; i < 4; ++i)
        Label1[i] =
            Named(new QLabel(captions[i], Body()), QStringLiteral("Label1_%1").arg(i), captions[i]);
    auto box = [&](const char* name, const char* caption, int maxLength) {
        auto* b = Named(new QLineEdit(Body()), name, caption);
        b->setMaxLength(maxLength);
        return b;
    };
    TxtR = box("TxtR", "Red", 12);
    TxtG = box("TxtG", "Green", 12);
    TxtB = box("TxtB", "Blue", 12);
    TxtHTMLColourCode = box("TxtHTMLColourCode", "HTML", 16);
    Command10 = Named(new QPushButton(">", Body()), "Command10", "Take red, green and blue");
    Command11 = Named(new QPushButton(">", Body()), "Command11", "Take HTML code");
    for (QPushButton* b : {Command10, Command11}) {
        b->setAutoDefault(false);
        ClickOnEnter(b);
        b->setFixedWidth(32);
    }
    QLineEdit* boxes[] = {TxtR, TxtG, TxtB};
    for (int i = 0; i < 3; ++i) {
        Label1[i]->setBuddy(boxes[i]);
        grid->addWidget(Label1[i], i, 1);
        grid->addWidget(boxes[i], i, 2);
    }
    grid->addWidget(Command10, 0, 3, 3, 1);
    Label1[3]->setBuddy(TxtHTMLColourCode);
    grid->addWidget(Label1[3], 4, 1);
    grid->addWidget(TxtHTMLColourCode, 4, 2);
    grid->addWidget(Command11, 4, 3);
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(2, 1);

    PicPalette->onMouseDown = [this](Qt::MouseButton b, int x, int y) {
        PicPalette_MouseDown(b, x, y);
    };
    PicPalette->onMouseMove = [this](Qt::MouseButtons b, int x, int y) {
        PicPalette_MouseMove(b, x, y);
    };
    connect(Command10, &QPushButton::clicked, this, [this] { Command10_Click(); });
    connect(Command11, &QPushButton::clicked, this, [this] { Command11_Click(); });
    // Enter in a box, or leaving it, takes its value, as the ">" beside it does. Only a
    // typed value is taken: a box the user did not change stays as it was shown.
    for (QLineEdit* box : {TxtR, TxtG, TxtB})
        connect(box, &QLineEdit::editingFinished, this, [this, box] {
            if (box->isModified())
                Command10_Click();
        });
    connect(TxtHTMLColourCode, &QLineEdit::editingFinished, this, [this] {
        if (TxtHTMLColourCode->isModified())
            Command11_Click();
    });
}

int32_t ColourEditor::TypedColour() const {
    // A value typed and not yet taken (the user went on without Enter) counts.
    if (TxtHTMLColourCode->isModified())
        return ParseHtmlColourCode(TxtHTMLColourCode->text());
    if (TxtR->isModified() || TxtG->isModified() || TxtB->isModified())
        return ColourFromDecimalTexts(TxtR->text(), TxtG->text(), TxtB->text());
    return PicSolidColour->BackColor();
}

void ColourEditor::ShowColour(int32_t colour) {
    int32_t red = 0, green = 0, blue = 0;
    SplitColour(colour, red, green, blue);
    TxtHTMLColourCode->setText(FromBytes(ColourToHex(colour)));
    TxtR->setText(QString::number(red));
    TxtG->setText(QString::number(green));
    TxtB->setText(QString::number(blue));
    PicSolidColour->SetBackColor(colour);
}

void ColourEditor::Show(int16_t ordinal) {
    const ColourParameter& p = ws_.Params.ColourParameters[ordinal];
    ShowColour(p.Colour);
    SetCaptionAndDescription(p.Name, p.Description);
}

void ColourEditor::Commit(int16_t ordinal) {
    ColourParameter& p = ws_.Params.ColourParameters[ordinal];
    p.Colour = TypedColour();
    int32_t red = 0, green = 0, blue = 0;
    SplitColour(p.Colour, red, green, blue);
    p.Red = static_cast<int16_t>(std::min(red, 255));
    p.Green = static_cast<int16_t>(std::min(green, 255));
    p.Blue = static_cast<int16_t>(std::min(blue, 255));
}

void ColourEditor::PicPalette_MouseDown(Qt::MouseButton, int x, int y) {
    const QImage& palette = PaletteImage();
    if (!palette.valid(x, y))
        return;
    const int32_t colour = ColourValue(palette.pixel(x, y));
    PicSolidColour->SetBackColor(colour);
    ShowColour(colour);
}

void ColourEditor::PicPalette_MouseMove(Qt::MouseButtons buttons, int x, int y) {
    if (buttons != Qt::LeftButton)
        return;
    const QImage& palette = PaletteImage();
    if (!palette.valid(x, y))
        return;
    const int32_t colour = ColourValue(palette.pixel(x, y));
    PicSolidColour->SetBackColor(colour);
    ShowColour(colour);
}

void ColourEditor::Command10_Click() {
    ShowColour(ColourFromDecimalTexts(TxtR->text(), TxtG->text(), TxtB->text()));
}

void ColourEditor::Command11_Click() {
    ShowColour(ParseHtmlColourCode(TxtHTMLColourCode->text()));
}

} // namespace pelto::ui
