#pragma once
// "Text": a large multi-line text box.
#include "ui_common/editor_frame.h"

class QPlainTextEdit;

namespace pelto::ui {

class TextEditor : public EditorFrame {
public:
    TextEditor(Workspace& ws, QWidget* parent);
    void Show(int16_t ordinal) override;
    void Commit(int16_t ordinal) override;

    QPlainTextEdit* TxtText = nullptr;
};

} // namespace pelto::ui
