#include "preview/engine/web_preview.h"

#include "preview/engine/preview_sandbox.h"

#include <QCoreApplication>
#include <QOpenGLContext>
#include <QSurfaceFormat>
#include <QVBoxLayout>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

QT_BEGIN_NAMESPACE
// Qt's own hook for the context that every drawing context shares (exported by Qt GUI,
// declared here as the engine itself declares it).
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);
Q_GUI_EXPORT QOpenGLContext* qt_gl_global_share_context();
QT_END_NAMESPACE

namespace pelto::ui {

namespace {

// The engine draws through a context shared with the windows'. Programs that link the
// engine ask for it before their application object exists; this one loads the engine
// later, so the context is made now, once, before the first view. A start that never
// shows a preview then never initialises the graphics drivers for it.
void ShareDrawingContexts() {
    if (qt_gl_global_share_context())
        return;
    static QOpenGLContext* shared = nullptr;
    shared = new QOpenGLContext;
    shared->setFormat(QSurfaceFormat::defaultFormat());
    shared->create();
    qt_gl_set_global_share_context(shared);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

} // namespace

WebPreviewView::WebPreviewView(QWidget* parent) : QWidget(parent) {
    // A profile without a storage name keeps nothing on disk.
    profile_ = new QWebEngineProfile(this);
    interceptor_ = new FolderOnlyInterceptor(this);
    profile_->setUrlRequestInterceptor(interceptor_);
    connect(profile_, &QWebEngineProfile::downloadRequested, this,
            [](QWebEngineDownloadRequest* download) { download->cancel(); });
    page_ = new PreviewPage(profile_, this);
    QWebEngineSettings* s = page_->settings();
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    // Local content keeps its access to local files: without it the engine loads none of
    // the page's own pictures, styles and scripts. What the page may load is the
    // interceptor's to say: files that really lie in the allowed folders, and no file
    // read by a script (XMLHttpRequest, fetch).
    s->setAttribute(QWebEngineSettings::WebRTCPublicInterfacesOnly, true);
    s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    s->setAttribute(QWebEngineSettings::PluginsEnabled, false);

    view_ = new QWebEngineView(this);
    view_->setObjectName("WebPreview");
    view_->setPage(page_);
    setFocusProxy(view_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);

    connect(page_, &PreviewPage::ErrorsChanged, this, [this] {
        if (ErrorsChanged)
            ErrorsChanged();
    });
    connect(page_, &QWebEnginePage::loadFinished, this, [this] { LoadFinished(); });
}

WebPreviewView::~WebPreviewView() {
    // The page must go before its profile.
    delete view_;
    delete page_;
}

void WebPreviewView::SetAllowedFolders(const QStringList& folders) {
    interceptor_->SetAllowedFolders(folders);
}

void WebPreviewView::Load(const QUrl& url) {
    restoreScroll_ = page_->url() == url;
    scroll_ = page_->scrollPosition();
    page_->Errors.clear();
    page_->load(url);
}

void WebPreviewView::ShowHtml(const QString& html, const QUrl& base) {
    restoreScroll_ = false;
    page_->Errors.clear();
    page_->setHtml(html, base);
}

QStringList WebPreviewView::Errors() const {
    return page_->Errors;
}

void WebPreviewView::RunJavaScript(const QString& script,
                                   const std::function<void(const QVariant&)>& done) {
    page_->runJavaScript(script, done);
}

void WebPreviewView::LoadFinished() {
    auto loaded = [this] {
        if (Loaded)
            Loaded();
    };
    if (restoreScroll_) {
        restoreScroll_ = false;
        page_->runJavaScript(
            QStringLiteral("window.scrollTo(%1, %2);").arg(scroll_.x()).arg(scroll_.y()),
            [loaded](const QVariant&) { loaded(); });
        return;
    }
    loaded();
}

namespace {} // namespace

PreviewView* WebPreviewEngine::CreateView(QWidget* parent, QString* error) {
    // The engine would end the program: the page goes on without a preview.
    if (const QString blocked = PreviewEngineBlocked(); !blocked.isEmpty()) {
        *error = blocked;
        return nullptr;
    }
    PrepareEngineSwitches();
    ShareDrawingContexts();
    return new WebPreviewView(parent);
}

} // namespace pelto::ui
