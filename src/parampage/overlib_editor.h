#pragma once
// "Overlib": a frame kept for the reserved parameter kind. Nothing fills or reads its
// controls.
#include "ui_common/editor_frame.h"

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace pelto::ui {

class OverlibEditor : public EditorFrame {
public:
    OverlibEditor(Workspace& ws, QWidget* parent);
    void Show(int16_t) override {}

    QListWidget* LstOverlibLinks = nullptr;
    QLineEdit* TxtOverlibCaption = nullptr;
    QLineEdit* TxtOverlibDescription = nullptr;
    QComboBox* LstOverlibAlignment = nullptr;
    std::array<QLabel*, 3> Label2{}; // "Caption", "Description", "Alignment"
};

} // namespace pelto::ui
