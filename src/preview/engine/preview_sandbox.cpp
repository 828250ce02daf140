#include "preview/engine/preview_sandbox.h"

#include <QDir>
#include <QFileInfo>
#include <QMutexLocker>
#include <QUrl>

namespace pelto::ui {

void FolderOnlyInterceptor::SetAllowedFolders(const QStringList& folders) {
    QStringList clean;
    for (const QString& f : folders)
        if (!f.isEmpty())
            clean << QDir::cleanPath(QFileInfo(f).absoluteFilePath());
    QMutexLocker lock(&mutex_);
    folders_ = clean;
}

bool FolderOnlyInterceptor::Allows(const QUrl& url, const QStringList& folders) {
    const QString scheme = url.scheme();
    // Inline content and the engine's own blank page carry nothing from outside.
    if (scheme == "data" || scheme == "blob" || scheme == "about")
        return true;
    if (scheme != "file")
        return false;
    const QString path = QDir::cleanPath(url.toLocalFile());
    for (const QString& folder : folders)
        if (path == folder || path.startsWith(folder + '/'))
            return true;
    return false;
}

void FolderOnlyInterceptor::interceptRequest(QWebEngineUrlRequestInfo& info) {
    QMutexLocker lock(&mutex_);
    if (!Allows(info.requestUrl(), folders_))
        info.block(true);
}

void PreviewPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level,
                                           const QString& message, int lineNumber,
                                           const QString& sourceID) {
    if (level != ErrorMessageLevel)
        return;
    const QString file = QUrl(sourceID).fileName();
    Errors << QStringLiteral("%1 line %2: %3")
                  .arg(file.isEmpty() ? sourceID : file)
                  .arg(lineNumber)
                  .arg(message);
    emit ErrorsChanged();
}

} // namespace pelto::ui
