#pragma once
// "Script Information": the script's repeat rule, author, support, size, type and note.
#include "ui_common/editor_frame.h"

#include <array>

class QLabel;

namespace pelto::ui {

class InfoEditor : public EditorFrame {
public:
    InfoEditor(Workspace& ws, QWidget* parent);
    void Show(int16_t ordinal) override;

    QLabel* LblInfoRepeat = nullptr;
    QLabel* LblInfoAuthor = nullptr;
    QLabel* LblInfoSupport = nullptr;
    QLabel* LblInfoSize = nullptr;
    QLabel* LblInfoType = nullptr;
    QLabel* LblInfoNote = nullptr;
    std::array<QLabel*, 5> Label4{}; // "Repeat", "Author", "Size", "Type", "Browsers"
};

} // namespace pelto::ui
