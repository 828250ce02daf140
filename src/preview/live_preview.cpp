#include "preview/live_preview.h"

#include "attach/do_it.h"
#include "common/files.h"
#include "platform/text_codec.h"
#include "preview/preview_sandbox.h"
#include "ui_common/editor_frame.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <QtConcurrent/QtConcurrentRun>

namespace pelto::ui {

namespace {

// What the preview would show from folder: every file's name and bytes.
QByteArray FolderDigest(const QString& folder) {
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QString& path : files) {
        hash.addData(path.toUtf8());
        hash.addData(QByteArrayView("\0", 1));
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            hash.addData(&file);
        hash.addData(QByteArrayView("\0", 1));
    }
    return hash.result();
}

PreviewBuild BuildInto(Workspace ws, const std::filesystem::path& folder) {
    DoItRequest request;
    request.option = OutputOption::Preview;
    request.repeat = ws.ScriptRepeat;
    request.outputArea = folder;
    PreviewBuild build;
    Result<DoItOutcome> outcome = DoIt(ws, request);
    if (!outcome) {
        build.message = outcome.error().text();
        return build;
    }
    build.ok = true;
    build.page = outcome->pageToOpen;
    build.digest = FolderDigest(QString::fromStdString(folder.string()));
    return build;
}

} // namespace

LivePreview::LivePreview(QWidget* parent) : QWidget(parent) {
    setObjectName("LivePreview");
    // A profile without a storage name keeps nothing on disk.
    profile_ = new QWebEngineProfile(this);
    interceptor_ = new FolderOnlyInterceptor(this);
    interceptor_->SetAllowedFolders({dir_.path()});
    profile_->setUrlRequestInterceptor(interceptor_);
    connect(profile_, &QWebEngineProfile::downloadRequested, this,
            [](QWebEngineDownloadRequest* download) { download->cancel(); });
    page_ = new PreviewPage(profile_, this);
    QWebEngineSettings* s = page_->settings();
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    s->setAttribute(QWebEngineSettings::PluginsEnabled, false);

    View = Named(new QWebEngineView(this), "ViewPreview", "Preview");
    View->setPage(page_);
    View->setMinimumSize(160, 120);
    LblScriptErrors = Named(new QLabel(this), "LblScriptErrors", "Script errors");
    LblScriptErrors->hide();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(View, 1);
    layout->addWidget(LblScriptErrors);

    connect(page_, &PreviewPage::ErrorsChanged, this, [this] { ShowErrors(); });
    connect(page_, &QWebEnginePage::loadFinished, this, [this] { LoadFinished(); });
    connect(&watcher_, &QFutureWatcher<PreviewBuild>::finished, this, [this] { BuildFinished(); });
}

LivePreview::~LivePreview() {
    // The build writes into dir_, which goes with this widget; the page must go before
    // its profile.
    watcher_.waitForFinished();
    delete View;
    delete page_;
}

void LivePreview::Rebuild(const Workspace& ws) {
    pending_ = ws;
    if (!watcher_.isRunning())
        StartBuild();
}

void LivePreview::StartBuild() {
    if (!pending_)
        return;
    Workspace ws = std::move(*pending_);
    pending_.reset();
    QStringList allowed{dir_.path()};
    if (!ws.SampleFile.empty())
        allowed << QFileInfo(FromBytes(ws.SampleFile)).absolutePath();
    interceptor_->SetAllowedFolders(allowed);
    watcher_.setFuture(QtConcurrent::run(BuildInto, std::move(ws),
                                         std::filesystem::path(dir_.path().toStdString())));
}

void LivePreview::BuildFinished() {
    const PreviewBuild build = watcher_.result();
    const bool stale = dropRunning_;
    dropRunning_ = false;
    if (pending_ || stale) {
        // A newer change came in while this one was built: show only the newest.
        StartBuild();
        return;
    }
    if (!build.ok) {
        ShowProblem(FromBytes(build.message));
        return;
    }
    const QUrl url = QUrl::fromLocalFile(QString::fromStdString(build.page));
    if (!build.digest.isEmpty() && build.digest == shownDigest_ && page_->url() == url) {
        // The same page with the same values: a reload would only restart its effect.
        emit Unchanged();
        return;
    }
    shownDigest_ = build.digest;
    ++loads_;
    restoreScroll_ = page_->url() == url;
    scroll_ = page_->scrollPosition();
    page_->Errors.clear();
    ShowErrors();
    page_->load(url);
}

void LivePreview::ShowProblem(const QString& text) {
    pending_.reset();
    shownDigest_.clear();
    dropRunning_ = watcher_.isRunning();
    restoreScroll_ = false;
    page_->Errors.clear();
    ShowErrors();
    const QString html =
        "<html><body style=\"font-family:sans-serif\"><h3>The preview could not be built</h3>"
        "<pre style=\"white-space:pre-wrap\" id=\"problem\">" +
        text.toHtmlEscaped() + "</pre></body></html>";
    page_->setHtml(html, QUrl::fromLocalFile(dir_.path() + "/"));
}

void LivePreview::LoadFinished() {
    if (restoreScroll_) {
        restoreScroll_ = false;
        page_->runJavaScript(
            QStringLiteral("window.scrollTo(%1, %2);").arg(scroll_.x()).arg(scroll_.y()),
            [this](const QVariant&) { emit Reloaded(); });
        return;
    }
    emit Reloaded();
}

void LivePreview::ShowErrors() {
    const qsizetype n = page_->Errors.size();
    LblScriptErrors->setVisible(n > 0);
    LblScriptErrors->setText(n == 1 ? QStringLiteral("1 script error")
                                    : QStringLiteral("%1 script errors").arg(n));
    LblScriptErrors->setToolTip(page_->Errors.join('\n'));
}

} // namespace pelto::ui
