#pragma once
// "Colour": a colour picked on the spectrum palette, typed as decimal red, green and
// blue, or typed as an HTML code. The sample box holds the colour that is stored.
#include "ui_common/editor_frame.h"

#include <array>
#include <cstdint>

class QLabel;
class QLineEdit;
class QPushButton;

namespace pelto::ui {

class ColourPalette;
class ColourSample;

// The colour an HTML code stands for: upper-cased and trimmed, an optional "#",
// padded with "0" to six digits, extra characters ignored, a non-digit counts as 0.
int32_t ParseHtmlColourCode(const QString& code);

// The colour of three decimal texts, each read by its leading number (rounded half
// to even, below 0 as 0, above 255 as 255).
int32_t ColourFromDecimalTexts(const QString& red, const QString& green, const QString& blue);

class ColourEditor : public EditorFrame {
public:
    ColourEditor(Workspace& ws, QWidget* parent);
    void Show(int16_t ordinal) override;
    void Commit(int16_t ordinal) override;

    void ShowColour(int32_t colour);
    void PicPalette_MouseDown(Qt::MouseButton button, int x, int y);
    void PicPalette_MouseMove(Qt::MouseButtons buttons, int x, int y);
    void Command10_Click();
    void Command11_Click();
    // The colour the editor holds: a code or decimal values typed and not yet taken,
    // else the sample's.
    int32_t TypedColour() const;

    ColourPalette* PicPalette = nullptr;
    ColourSample* PicSolidColour = nullptr;
    QLineEdit* TxtR = nullptr;
    QLineEdit* TxtG = nullptr;
    QLineEdit* TxtB = nullptr;
    QPushButton* Command10 = nullptr;
    QLineEdit* TxtHTMLColourCode = nullptr;
    QPushButton* Command11 = nullptr;
    std::array<QLabel*, 4> Label1{}; // "Red", "Green", "Blue", "HTML"
};

} // namespace pelto::ui
