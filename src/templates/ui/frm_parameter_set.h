#pragma once
// The template dialog: saves the current values of the chosen parameters under a name,
// or loads a named template of the current script. The parameter page prepares it for
// one of the two modes; the window caption selects the action.
#include "library/workspace.h"
#include "templates/template_files.h"

#include <QDialog>

#include <functional>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace pelto::ui {

// What loading needs from the parameter page.
struct TemplatePageHooks {
    // Shows the parameter at a 0-based list position (after its block was read).
    std::function<void(int position)> showParameter;
    // After the file: no parameter is current and the page's list has no selection.
    std::function<void()> templateLoaded;
};

class FrmParameterSet : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Save, Load };

    FrmParameterSet(Workspace& ws, TemplatePageHooks hooks, QWidget* parent = nullptr);

    // Caption, action button, name box and prompt for one mode.
    void PrepareFor(Mode mode);

    void LstName_Click();
    void Command1_Click();
    void Command2_Click();

    // Entry k of the template list is TemplateFiles[k].
    const std::vector<TemplateEntry>& TemplateFiles() const { return templateFiles_; }

    QLineEdit* TxtName = nullptr;
    QLabel* Label3 = nullptr;
    QListWidget* LstName = nullptr;
    QLabel* Label2 = nullptr;
    QListWidget* LstParameters = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;

private:
    void Form_Load();
    // False when the user must change something first (the dialog stays open).
    bool SaveTemplateNow();
    void LoadTemplateNow();

    Workspace& ws_;
    TemplatePageHooks hooks_;
    std::vector<TemplateEntry> templateFiles_;
};

} // namespace pelto::ui
