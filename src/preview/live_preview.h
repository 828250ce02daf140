#pragma once
// The live preview of the parameter page: the user's page with the current effect and
// values, built exactly as "Do it" with "Preview only" builds it, but into a temporary
// folder of this widget, off the window's thread, and shown by an embedded engine
// sandboxed to that folder and the page's own folder.
#include "library/workspace.h"

#include <QByteArray>
#include <QFutureWatcher>
#include <QPointF>
#include <QTemporaryDir>
#include <QWidget>

#include <optional>
#include <string>

class QLabel;
class QWebEngineProfile;
class QWebEngineView;

namespace pelto::ui {

class FolderOnlyInterceptor;
class PreviewPage;

struct PreviewBuild {
    bool ok = false;
    std::string page;    // the built page, when ok
    std::string message; // why it failed, otherwise
    QByteArray digest;   // of every file built, when ok
};

class LivePreview : public QWidget {
    Q_OBJECT
public:
    explicit LivePreview(QWidget* parent = nullptr);
    ~LivePreview() override;

    // Builds the preview of a copy of ws and reloads it. While a build runs, only the
    // newest request waits; requests in between are dropped.
    void Rebuild(const Workspace& ws);
    // Shows text in place of the page (a value that cannot be used yet).
    void ShowProblem(const QString& text);

    QString PreviewFolder() const { return dir_.path(); }
    bool Building() const { return watcher_.isRunning() || pending_.has_value(); }
    // How many times a built page was loaded (a build that gave the page already shown
    // is not loaded again).
    int Loads() const { return loads_; }

    QWebEngineView* View = nullptr;
    QLabel* LblScriptErrors = nullptr;

signals:
    // A page or a message finished loading.
    void Reloaded();
    // A build gave the page already shown, which stays as it is.
    void Unchanged();

private:
    void StartBuild();
    void BuildFinished();
    void LoadFinished();
    void ShowErrors();

    QTemporaryDir dir_;
    QWebEngineProfile* profile_ = nullptr;
    FolderOnlyInterceptor* interceptor_ = nullptr;
    PreviewPage* page_ = nullptr;
    QFutureWatcher<PreviewBuild> watcher_;
    std::optional<Workspace> pending_;
    QPointF scroll_;
    bool restoreScroll_ = false;
    // The running build started before the message now shown: its page is stale.
    bool dropRunning_ = false;
    // The digest of the build shown (empty while a message is shown).
    QByteArray shownDigest_;
    int loads_ = 0;
};

} // namespace pelto::ui
