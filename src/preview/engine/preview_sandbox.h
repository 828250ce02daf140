#pragma once
// The preview's sandbox: a private profile kept in memory only, whose requests may read
// files under a few folders (the user's page folder and the preview folder) and nothing
// else, and whose pages open no windows and start no downloads. Folders are compared
// after resolving links, so a link inside an allowed folder does not lead out of it; a
// page's scripts read no file (XMLHttpRequest and fetch are refused whatever they ask
// for), and WebRTC sends nothing (the engine allows it no UDP but through a proxy, and
// there is none).
#include <QMutex>
#include <QStringList>
#include <QWebEnginePage>
#include <QWebEngineUrlRequestInterceptor>

namespace pelto::ui {

// Why the preview's engine cannot run in this process ("" when it can): as the
// administrator (user id 0) the engine refuses to start with its sandbox, and ends the
// whole program; it runs without its sandbox only when the user asks for that by setting
// QTWEBENGINE_DISABLE_SANDBOX (or gives the engine "--no-sandbox").
QString PreviewEngineBlocked(unsigned userId, const QByteArray& disableSandbox,
                             const QByteArray& engineFlags);
// The same for this process and its environment.
QString PreviewEngineBlocked();

// Gives the engine the switches the preview needs, before its first profile is made (the
// engine reads them once): WebRTC only through a proxy, so no UDP leaves the page.
void PrepareEngineSwitches();

class FolderOnlyInterceptor : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    // Called from the window thread; requests are checked on the engine's thread.
    void SetAllowedFolders(const QStringList& folders);
    void interceptRequest(QWebEngineUrlRequestInfo& info) override;
    // True when url may be loaded with these folders allowed: the file it names, with
    // every link resolved, lies in one of the folders (also with their links resolved).
    // A script's own request (byScript: XMLHttpRequest, fetch) is never allowed.
    static bool Allows(const QUrl& url, const QStringList& folders, bool byScript = false);

private:
    QMutex mutex_;
    QStringList folders_;
};

// Counts the page's script errors for the line under the preview.
class PreviewPage : public QWebEnginePage {
    Q_OBJECT
public:
    using QWebEnginePage::QWebEnginePage;
    QStringList Errors;

signals:
    void ErrorsChanged();

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                  int lineNumber, const QString& sourceID) override;
    QWebEnginePage* createWindow(WebWindowType) override { return nullptr; }
};

} // namespace pelto::ui
