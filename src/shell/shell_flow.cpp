#include "shell/shell_flow.h"

#include "attach/ui/frm_apply_changes.h"
#include "shell/frm_cats.h"
#include "shell/frm_select_script.h"
#include "shell/frm_splash.h"
#include "shell/recent_effects.h"

#if __has_include("parampage/frm_script.h")
#include "parampage/frm_script.h"
#define PELTO_HAVE_PARAMETER_PAGE 1
#endif

#include <QCoreApplication>

namespace pelto::ui {

namespace {

// An open window: created and not yet closed (a closed window may still wait for its
// deletion).
template <class W> W* Open(const QPointer<W>& window) {
    return window && window->isVisible() ? window.data() : nullptr;
}

template <class W> void Present(W* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

ShellFlow::ShellFlow(Workspace& ws) : ws_(ws) {}

ShellFlow::~ShellFlow() {
    // Windows still open at the end of the run go before the workspace they refer to.
    delete page_.data();
    delete selection_.data();
    delete categories_.data();
    delete splash_.data();
}

void ShellFlow::Start() {
    splash_ = new frmSplash(ws_, *this);
    splash_->setAttribute(Qt::WA_DeleteOnClose);
    connect(splash_, &frmSplash::startUpFinished, this, [](bool ok) {
        // Queued: the sequence may run before the event loop has started, and the exit
        // must reach the loop.
        if (!ok)
            QMetaObject::invokeMethod(
                qApp, [] { QCoreApplication::exit(1); }, Qt::QueuedConnection);
    });
    splash_->show();
}

void ShellFlow::ShowCategories() {
    if (FrmCats* open = Open(categories_)) {
        Present(open);
        return;
    }
    // Every opening loads the window afresh: buttons and recent effects are current.
    categories_ = new FrmCats(ws_, *this);
    categories_->setAttribute(Qt::WA_DeleteOnClose);
    Present(categories_.data());
}

void ShellFlow::ShowScriptSelection() {
    if (FrmSelectScript* open = Open(selection_)) {
        // Still open under a parameter page chosen from its list: it comes back as it was.
        Present(open);
        return;
    }
    selection_ = new FrmSelectScript(ws_, *this);
    selection_->setAttribute(Qt::WA_DeleteOnClose);
    Present(selection_.data());
}

void ShellFlow::ShowParameterPage() {
#ifdef PELTO_HAVE_PARAMETER_PAGE
    // Only one script's parameters exist at a time, so only one page may edit them.
    if (QWidget* open = Open(page_))
        open->close();
    auto* page = new FrmScript(ws_, *this);
    page->setAttribute(Qt::WA_DeleteOnClose);
    if (FrmSelectScript* owner = Open(selection_); owner && owner->OpensModalPage()) {
        // Chosen from the drop-down list: owned by the selection, which waits underneath.
        page->setParent(owner, page->windowFlags() | Qt::Window);
        page->setWindowModality(Qt::WindowModal);
    }
    page_ = page;
    Present(page);
#endif
}

void ShellFlow::ShowApplyDialog(QWidget* parent) {
    FrmApplyChanges dialog(ws_, parent);
    dialog.exec();
}

void ShellFlow::AddRecentEffect() {
    ui::AddRecentEffect(ws_, ws_.CurrentScriptIndex);
}

FrmCats* ShellFlow::Categories() const {
    return Open(categories_);
}
FrmSelectScript* ShellFlow::Selection() const {
    return Open(selection_);
}
QWidget* ShellFlow::ParameterPage() const {
    return Open(page_);
}

} // namespace pelto::ui
