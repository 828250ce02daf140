#pragma once
// The script selection: the scripts of CurrentCategory, five to a page with name,
// description and "Go" (more in a taller window), and all of them in a drop-down list. "Go" closes
// this window and opens the parameter page; the drop-down list opens the parameter page modally
// over this window; "Back" returns to the main window.
#include "library/workspace.h"
#include "platform/window_flow.h"

#include <QWidget>
#include <array>
#include <cstdint>

class QBoxLayout;
class QComboBox;
class QLabel;
class QPushButton;

namespace pelto::ui {

class FrmSelectScript : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSlots = 5;     // a page at the window's own size
    static constexpr int kMaxSlots = 12; // a page in a tall window

    FrmSelectScript(Workspace& ws, WindowFlow& flow, QWidget* parent = nullptr);

    // Fills the slots of page PageNumber and the drop-down list.
    void PopulateScriptPage();
    int16_t PageNumber() const { return pageNumber_; }
    int SlotsPerPage() const { return perPage_; }
    // True while the drop-down list is opening a parameter page, which is then owned by
    // this window and modal over it.
    bool OpensModalPage() const { return opensModalPage_; }

    // Event handlers.
    void Form_Load();
    void Command1_Click(); // "<"
    void Command2_Click(); // ">"
    void Command3_Click(); // "Back"
    void CmdGetScriptParameters_Click(int index);
    void LstAllScripts_Click();

    // Controls.
    std::array<QLabel*, kMaxSlots> LblScriptCation{};
    std::array<QLabel*, kMaxSlots> LblScriptDescription{};
    std::array<QLabel*, kMaxSlots> ImgScriptImage{};
    std::array<QPushButton*, kMaxSlots> CmdGetScriptParameters{};
    QComboBox* LstAllScripts = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* LblCategory = nullptr;
    QLabel* LblNoScripts = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildControls();
    void FitSlotsToHeight();
    int TallestSlot() const;
    void SizeAndCentre();
    void ChooseScript(int16_t index);
    void ShowSlot(int slot, bool visible);

    Workspace& ws_;
    WindowFlow& flow_;
    int16_t pageNumber_ = 1;
    int perPage_ = kSlots;
    int baseHeight_ = 0; // the window's own height, where a page holds kSlots
    int slotStep_ = 0;   // the height one more slot takes
    QBoxLayout* slotColumn_ = nullptr;
    bool opensModalPage_ = false;
};

} // namespace pelto::ui
