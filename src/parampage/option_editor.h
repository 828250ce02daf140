#pragma once
// "Options": up to 14 option buttons in two columns of seven.
#include "ui_common/editor_frame.h"

#include <array>

class QButtonGroup;
class QRadioButton;

namespace pelto::ui {

class OptionEditor : public EditorFrame {
public:
    static constexpr int ButtonCount = 14;

    OptionEditor(Workspace& ws, QWidget* parent);
    void Show(int16_t ordinal) override;
    void Commit(int16_t ordinal) override;

    std::array<QRadioButton*, ButtonCount> OptOption{};

private:
    QButtonGroup* group_ = nullptr;
};

} // namespace pelto::ui
