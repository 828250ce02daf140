#pragma once
// The main window: one picture button per category of the library (three to a row, in
// library order), and the menus "Recent", "Options" and "Help". A category button sets
// CurrentCategory and hands over to the script selection; a recent effect sets the
// current script and hands over to the parameter page. Both close this window.
#include "library/workspace.h"
#include "platform/window_flow.h"
#include "shell/recent_effects.h"

#include <QMainWindow>
#include <QString>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QResizeEvent;
class QScrollArea;
class QToolButton;

namespace pelto::ui {

// The picture of a category button: images/<category without blanks at its ends>.gif in
// the program folder, or images/cdefault.gif when there is no such file.
QString CategoryPictureFile(const Workspace& ws, const std::string& category);

class FrmCats : public QMainWindow {
    Q_OBJECT
public:
    FrmCats(Workspace& ws, WindowFlow& flow, QWidget* parent = nullptr);

    // Event handlers.
    void Form_Load();
    void CmdCats_Click(int index);
    void mnu_mru_Click(int index);
    void mnu_mru_clear_Click();
    void mnu_options_sample_file_Click();
    void mnu_help_help_Click();
    void mnu_help_tutorial_Click();
    void mnu_help_about_Click();
    void mnu_undo_last_Click();
    void mnu_undo_history_Click();

    // The recent effects: filled from the store on load, shown in the "Recent" menu.
    void LoadRecentEffects();
    void ClearRecentEffects();
    void OpenRecentEffect(int k);
    const RecentEffects& Recent() const { return recent_; }

    // Controls. CmdCats has one button per category (at least nine; those without a
    // category stay hidden); mnu_mru holds the recent entries created so far (entry 0
    // always exists).
    std::vector<QToolButton*> CmdCats;
    QLabel* Image1 = nullptr;
    QLabel* LblNoCategories = nullptr;
    QMenu* mnu_recent_effects = nullptr;
    std::vector<QAction*> mnu_mru;
    QAction* mnu_bar2 = nullptr;
    QAction* mnu_mru_clear = nullptr;
    QMenu* mnu_options = nullptr;
    QAction* mnu_options_sample_file = nullptr;
    QMenu* mnu_changes = nullptr; // "Changes": undo of what Pelto wrote into pages
    QAction* mnu_undo_last = nullptr;
    QAction* mnu_undo_history = nullptr;
    QMenu* mnu_help = nullptr;
    QAction* mnu_help_help = nullptr;
    QAction* mnu_help_tutorial = nullptr;
    QAction* mnu_help_bar01 = nullptr;
    QAction* mnu_help_about = nullptr;

protected:
    // Coming back to the window updates what "Undo last change" offers.
    void changeEvent(QEvent* event) override;

private:
    void BuildMenus();
    void BuildButtons(int count);
    QAction* RecentEntry(int index);
    void TileBackground();
    void CentreOnScreen();
    // Places the buttons in as many columns as the grid's area has room for (at least
    // three): a wider window shows more of them at once, at the same size.
    void PlaceButtons();
    void resizeEvent(QResizeEvent* event) override;

    Workspace& ws_;
    WindowFlow& flow_;
    RecentEffects recent_;
    QWidget* grid_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    int columns_ = 0;
};

} // namespace pelto::ui
