#pragma once
// "File (Other than image)" and "Image": a folder and a file chosen from lists filtered
// by the parameter's pattern; the image editor previews the clicked picture.
#include "ui_common/editor_frame.h"

class QLabel;

namespace pelto::ui {

class FileChooser;

class FileEditor : public EditorFrame {
public:
    // kind is File or Image.
    FileEditor(Workspace& ws, int16_t kind, QWidget* parent);
    void Show(int16_t ordinal) override;
    void Commit(int16_t ordinal) override;

    // Image only: loads the chosen file into the preview.
    void FileImage_Click();

    FileChooser* Chooser = nullptr;
    QLabel* ImgImage = nullptr; // Image only

private:
    FileParameter& Record(int16_t ordinal);
    int16_t kind_;
    // The record's own file as Show highlighted it, in the folder shown.
    QString shownFolder_;
    QString shownFile_;
};

} // namespace pelto::ui
