#pragma once
// "Font": the system's font names, 34 sizes (6 to 72, even), four style boxes and a
// sample text drawn in the chosen font.
#include "ui_common/editor_frame.h"

class QCheckBox;
class QLabel;
class QListWidget;

namespace pelto::ui {

// The line of the size list for a stored size: Size / 2 - 3, rounded half to even.
int FontSizeLine(int size);

// The family name of a line of the font list: without the foundry the system puts in
// brackets behind a family several foundries offer ("C059 [urw]" is "C059").
QString FamilyName(const QString& listed);

class FontEditor : public EditorFrame {
public:
    FontEditor(Workspace& ws, QWidget* parent);
    void Show(int16_t ordinal) override;
    void Commit(int16_t ordinal) override;

    // Page load: the system's fonts and the size lines.
    void FillLists();

    void ChkFontBold_Click();
    void ChkFontItalic_Click();
    void ChkFontUnderline_Click();
    void ChkFontStrikethru_Click();
    void LstFontNames_Click();
    void LstFontSizes_Click();

    QListWidget* LstFontNames = nullptr;
    QListWidget* LstFontSizes = nullptr;
    QCheckBox* ChkFontBold = nullptr;
    QCheckBox* ChkFontItalic = nullptr;
    QCheckBox* ChkFontUnderline = nullptr;
    QCheckBox* ChkFontStrikethru = nullptr;
    QLabel* LblFontSampleText = nullptr;
};

} // namespace pelto::ui
