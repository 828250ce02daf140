#pragma once
// The live preview of the parameter page: the user's page with the current effect and
// values, built exactly as "Do it" with "Preview only" builds it, but into a temporary
// folder of this widget, off the window's thread, and shown by the embedded engine (a
// plugin started when the first preview shows) sandboxed to that folder and the page's
// own folder.
#include "library/workspace.h"

#include <QByteArray>
#include <QFutureWatcher>
#include <QTemporaryDir>
#include <QUrl>
#include <QWidget>

#include <optional>
#include <string>

class QLabel;

namespace pelto::ui {

class PreviewView;

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
    // The engine's view once it has started, else nullptr.
    PreviewView* Engine() const { return engine_; }
    // How many times a built page was loaded (a build that gave the page already shown
    // is not loaded again).
    int Loads() const { return loads_; }

    // The engine's view (null until the engine has started), the line of script errors
    // under it, and the line that stands in the view's place while the engine starts or
    // when it cannot.
    QWidget* View = nullptr;
    QLabel* LblScriptErrors = nullptr;
    QLabel* LblPreviewStatus = nullptr;

signals:
    // A page or a message finished loading.
    void Reloaded();
    // A build gave the page already shown, which stays as it is.
    void Unchanged();

private:
    void StartEngine();
    void StartBuild();
    void BuildFinished();
    void ShowErrors();
    void AllowFolders();
    // Shows url or, with no url, html; waits for the engine when it has not started.
    void Show(const QUrl& url, const QString& html);

    QTemporaryDir dir_;
    PreviewView* engine_ = nullptr;
    QFutureWatcher<PreviewBuild> watcher_;
    std::optional<Workspace> pending_;
    QString pageFolder_;
    // What to show once the engine has started.
    std::optional<std::pair<QUrl, QString>> waiting_;
    // The running build started before the message now shown: its page is stale.
    bool dropRunning_ = false;
    // The engine could not start (LblPreviewStatus says why): nothing is built.
    bool engineFailed_ = false;
    // The digest of the build shown (empty while a message is shown).
    QByteArray shownDigest_;
    // The page shown (empty while a message is shown).
    QUrl shownUrl_;
    int loads_ = 0;
};

} // namespace pelto::ui
