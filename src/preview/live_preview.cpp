#include "preview/live_preview.h"

#include "attach/do_it.h"
#include "platform/native_text.h"
#include "platform/text_codec.h"
#include "preview/preview_engine.h"
#include "preview/preview_engine_loader.h"
#include "ui_common/editor_frame.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
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

QString ProblemPage(const QString& text) {
    return "<html><body style=\"font-family:sans-serif\"><h3>The preview could not be built</h3>"
           "<pre style=\"white-space:pre-wrap\" id=\"problem\">" +
           text.toHtmlEscaped() + "</pre></body></html>";
}

} // namespace

LivePreview::LivePreview(QWidget* parent) : QWidget(parent) {
    setObjectName("LivePreview");
    LblPreviewStatus = Named(new QLabel(QStringLiteral("Starting the preview\u2026"), this),
                             "LblPreviewStatus", "Preview status");
    LblPreviewStatus->setAlignment(Qt::AlignCenter);
    LblPreviewStatus->setWordWrap(true);
    LblPreviewStatus->setMinimumSize(160, 120);
    LblScriptErrors = Named(new QLabel(this), "LblScriptErrors", "Script errors");
    LblScriptErrors->hide();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(LblPreviewStatus, 1);
    layout->addWidget(LblScriptErrors);
    connect(&watcher_, &QFutureWatcher<PreviewBuild>::finished, this, [this] { BuildFinished(); });
    // The engine starts once this widget has been painted with its status line, so the
    // page shows at once and says what is coming.
    QTimer::singleShot(0, this, [this] { StartEngine(); });
}

LivePreview::~LivePreview() {
    // The build writes into dir_, which goes with this widget.
    watcher_.waitForFinished();
    delete View;
}

void LivePreview::StartEngine() {
    QString error;
    PreviewEngine* engine = LoadPreviewEngine(&error);
    if (engine)
        engine_ = engine->CreateView(this, &error);
    if (!engine_) {
        LblPreviewStatus->setText(error);
        LblPreviewStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);
        engineFailed_ = true;
        waiting_.reset();
        return;
    }
    View = engine_->Widget();
    View->setObjectName("ViewPreview");
    View->setAccessibleName("Preview");
    View->setMinimumSize(160, 120);
    engine_->ErrorsChanged = [this] { ShowErrors(); };
    engine_->Loaded = [this] { emit Reloaded(); };
    AllowFolders();
    static_cast<QVBoxLayout*>(layout())->insertWidget(0, View, 1);
    LblPreviewStatus->hide();
    View->show();
    if (waiting_) {
        const auto [url, html] = *waiting_;
        waiting_.reset();
        Show(url, html);
    }
}

void LivePreview::Rebuild(const Workspace& ws) {
    if (engineFailed_)
        return; // no engine: nothing is built or shown
    pending_ = ws;
    if (!watcher_.isRunning())
        StartBuild();
}

void LivePreview::AllowFolders() {
    if (!engine_)
        return;
    QStringList allowed{dir_.path()};
    if (!pageFolder_.isEmpty())
        allowed << pageFolder_;
    engine_->SetAllowedFolders(allowed);
}

void LivePreview::StartBuild() {
    if (!pending_)
        return;
    Workspace ws = std::move(*pending_);
    pending_.reset();
    // The page's path is the file system's bytes, not text of the page's encoding.
    pageFolder_ =
        ws.SampleFile.empty() ? QString() : QFileInfo(PathToQString(ws.SampleFile)).absolutePath();
    AllowFolders();
    watcher_.setFuture(QtConcurrent::run(BuildInto, std::move(ws),
                                         std::filesystem::path(PathFromQString(dir_.path()))));
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
    const QUrl url = QUrl::fromLocalFile(PathToQString(build.page));
    if (!build.digest.isEmpty() && build.digest == shownDigest_ && shownUrl_ == url) {
        // The same page with the same values: a reload would only restart its effect.
        emit Unchanged();
        return;
    }
    shownDigest_ = build.digest;
    ++loads_;
    Show(url, QString());
}

void LivePreview::ShowProblem(const QString& text) {
    if (engineFailed_)
        return;
    pending_.reset();
    shownDigest_.clear();
    dropRunning_ = watcher_.isRunning();
    Show(QUrl(), ProblemPage(text));
}

void LivePreview::Show(const QUrl& url, const QString& html) {
    shownUrl_ = url;
    if (!engine_) {
        waiting_ = std::make_pair(url, html);
        return;
    }
    if (url.isEmpty())
        engine_->ShowHtml(html, QUrl::fromLocalFile(dir_.path() + "/"));
    else
        engine_->Load(url);
    ShowErrors();
}

void LivePreview::ShowErrors() {
    const QStringList errors = engine_ ? engine_->Errors() : QStringList();
    const qsizetype n = errors.size();
    LblScriptErrors->setVisible(n > 0);
    LblScriptErrors->setText(n == 1 ? QStringLiteral("1 script error")
                                    : QStringLiteral("%1 script errors").arg(n));
    LblScriptErrors->setToolTip(errors.join('\n'));
}

} // namespace pelto::ui
