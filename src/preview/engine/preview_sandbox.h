#pragma once
// The preview's sandbox: a private profile kept in memory only, whose requests may read
// files under a few folders (the user's page folder and the preview folder) and nothing
// else, and whose pages open no windows and start no downloads.
#include <QMutex>
#include <QStringList>
#include <QWebEnginePage>
#include <QWebEngineUrlRequestInterceptor>

namespace pelto::ui {

class FolderOnlyInterceptor : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    // Called from the window thread; requests are checked on the engine's thread.
    void SetAllowedFolders(const QStringList& folders);
    void interceptRequest(QWebEngineUrlRequestInfo& info) override;
    // True when url may be loaded with these folders allowed.
    static bool Allows(const QUrl& url, const QStringList& folders);

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
