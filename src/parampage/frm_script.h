#pragma once
// The parameter page: loads the current script's definition, lists its parameters and
// shows one editor frame at a time. Leaving a parameter commits its editor into the
// parameter's record (CommitParameter); choosing one fills its kind's frame from the
// record (ShowParameter). From here the user saves or loads templates, goes back to
// script selection, or goes on to the apply dialog.
#include "library/workspace.h"

#include <QWidget>

#include <array>
#include <cstdint>

class QCheckBox;
class QGroupBox;
class QTimer;
class QLabel;
class QListWidget;
class QPushButton;

namespace pelto::ui {

class ColourEditor;
class EditorFrame;
class FileEditor;
class FontEditor;
class FrmParameterSet;
class InfoEditor;
class LivePreview;
class IntEditor;
class ListEditor;
class MenuEditor;
class MouseoverEditor;
class OptionEditor;
class OverlibEditor;
class PositionEditor;
class TextEditor;
class WindowFlow;

class FrmScript : public QWidget {
    Q_OBJECT
public:
    FrmScript(Workspace& ws, WindowFlow& flow, QWidget* parent = nullptr);
    ~FrmScript() override;

    void ShowParameter(int position);
    // False (after the editor's message) when the editor holds a value the record cannot
    // take; nothing is stored then.
    bool CommitParameter(int position);

    void LstParameters_Click();
    void Command13_Click(); // ">>"
    void Command12_Click(); // "<<"
    void Command7_Click();  // "Back"
    void Command5_Click();  // "Apply"
    void Command8_Click();  // "Load"
    void Command9_Click();  // "Save"

    // Template loading: no parameter is current and the list has no selection, so the
    // next selection does not store an editor over the loaded values.
    void ForgetCurrentParameter();

    // The 0-based position whose editor is shown, -1 when none.
    int16_t CurrentParameterIndex = -1;

    QLabel* LblScriptName = nullptr;
    QLabel* ImgScriptImage = nullptr;
    QListWidget* LstParameters = nullptr;
    std::array<EditorFrame*, 13> FrameDataType{};
    QPushButton* Command13 = nullptr;
    QPushButton* Command12 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QPushButton* Command8 = nullptr;
    QPushButton* Command9 = nullptr;
    QPushButton* Command7 = nullptr;
    QPushButton* Command5 = nullptr;

    IntEditor* intEditor = nullptr;
    FileEditor* fileEditor = nullptr;
    FileEditor* imageEditor = nullptr;
    ColourEditor* colourEditor = nullptr;
    FontEditor* fontEditor = nullptr;
    TextEditor* textEditor = nullptr;
    ListEditor* listEditor = nullptr;
    OptionEditor* optionEditor = nullptr;
    OverlibEditor* overlibEditor = nullptr;
    MouseoverEditor* mouseoverEditor = nullptr;
    PositionEditor* positionEditor = nullptr;
    MenuEditor* menuEditor = nullptr;
    InfoEditor* infoEditor = nullptr;

    // "Preview" and the live preview beside the editors; both null in a build without
    // the web engine. The preview is made when it is first shown.
    QCheckBox* ChkPreview = nullptr;
    LivePreview* Preview = nullptr;
    // Says why the preview is not shown while "Preview" is ticked (a window too narrow).
    QLabel* LblPreviewHidden = nullptr;

    // Rebuilds the preview with the values as they stand in the editors now.
    void RefreshPreview();

protected:
    // Clicks and keys that would move LstParameters away from a parameter whose editor
    // holds a value the record cannot take are refused before the list moves.
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Places the controls for the window's size: the list and the editors take the
    // extra height, the editors or the preview the extra width.
    void LayOut();
    // Rebuilds the preview after delayMs without a further change.
    void SchedulePreview(int delayMs);
    // Connects an editor control's change signals to the preview.
    void FollowChanges(QWidget* w);
    void ChkPreview_Click();
    QTimer* previewTimer_ = nullptr;

    void Form_Load();
    // The editor of the parameter at position and its ordinal; nullptr when it has none.
    EditorFrame* EditorAt(int position, int16_t& ordinal) const;
    // True when no parameter is current or its editor can be committed; otherwise the
    // editor says why and the user stays.
    bool MayLeaveParameter();
    // Selects a row and runs the selection steps even when it is already selected.
    void SelectParameterRow(int row);
    // The template dialog of this page, prepared for saving or loading.
    FrmParameterSet* MakeTemplateDialog(bool save);

    Workspace& ws_;
    WindowFlow& flow_;
};

} // namespace pelto::ui
