#include "preview/engine/preview_sandbox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>
#include <QUrl>

#include <filesystem>
#include <unistd.h>

namespace pelto::ui {

namespace {

// The path with every link resolved (the part that does not exist yet kept as written),
// as the file system's bytes.
std::string RealPath(const QString& path) {
    std::error_code ec;
    const std::filesystem::path native(QFile::encodeName(QDir::cleanPath(path)).toStdString());
    std::filesystem::path real = std::filesystem::weakly_canonical(native, ec);
    if (ec)
        real = native.lexically_normal();
    std::string text = real.native();
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    return text;
}

} // namespace

QString PreviewEngineBlocked(unsigned userId, const QByteArray& disableSandbox,
                             const QByteArray& engineFlags) {
    if (userId != 0 || !disableSandbox.isEmpty() || engineFlags.contains("--no-sandbox"))
        return {};
    return QStringLiteral(
        "The preview is off: Pelto runs as the administrator (root), and the web engine that "
        "shows the preview does not run so with its sandbox. Your values are not affected. "
        "To see the preview, run Pelto as an ordinary user, or start it with the variable "
        "QTWEBENGINE_DISABLE_SANDBOX=1 set to run the engine without its sandbox.");
}

QString PreviewEngineBlocked() {
    return PreviewEngineBlocked(static_cast<unsigned>(::geteuid()),
                                qgetenv("QTWEBENGINE_DISABLE_SANDBOX"),
                                qgetenv("QTWEBENGINE_CHROMIUM_FLAGS"));
}

void PrepareEngineSwitches() {
    static bool done = false;
    if (done)
        return;
    done = true;
    const QByteArray policy = "--force-webrtc-ip-handling-policy=disable_non_proxied_udp";
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (!flags.contains(policy))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", (flags.isEmpty() ? policy : flags + ' ' + policy));
}

void FolderOnlyInterceptor::SetAllowedFolders(const QStringList& folders) {
    QStringList clean;
    for (const QString& f : folders)
        if (!f.isEmpty())
            clean << QFileInfo(f).absoluteFilePath();
    QMutexLocker lock(&mutex_);
    folders_ = clean;
}

bool FolderOnlyInterceptor::Allows(const QUrl& url, const QStringList& folders, bool byScript) {
    if (byScript)
        return false; // a script reads no file and reaches no server
    const QString scheme = url.scheme();
    // Inline content and the engine's own blank page carry nothing from outside.
    if (scheme == "data" || scheme == "blob" || scheme == "about")
        return true;
    if (scheme != "file")
        return false;
    const std::string path = RealPath(url.toLocalFile());
    for (const QString& f : folders) {
        const std::string folder = RealPath(f);
        if (path == folder ||
            (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 &&
             (folder == "/" || path[folder.size()] == '/')))
            return true;
    }
    return false;
}

void FolderOnlyInterceptor::interceptRequest(QWebEngineUrlRequestInfo& info) {
    QMutexLocker lock(&mutex_);
    const bool byScript = info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeXhr ||
                          info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypePing ||
                          info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeCspReport;
    if (!Allows(info.requestUrl(), folders_, byScript))
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
