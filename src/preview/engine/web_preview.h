#pragma once
// The preview engine plugin: a web view on a private, memory-only profile whose pages
// read only files of the allowed folders (preview_sandbox.h), open no windows and start
// no downloads.
#include "preview/preview_engine.h"

#include <QObject>
#include <QPointF>
#include <QWidget>

class QWebEngineProfile;
class QWebEngineView;

namespace pelto::ui {

class FolderOnlyInterceptor;
class PreviewPage;

class WebPreviewView : public QWidget, public PreviewView {
    Q_OBJECT
public:
    explicit WebPreviewView(QWidget* parent);
    ~WebPreviewView() override;

    QWidget* Widget() override { return this; }
    void SetAllowedFolders(const QStringList& folders) override;
    void Load(const QUrl& url) override;
    void ShowHtml(const QString& html, const QUrl& base) override;
    QStringList Errors() const override;
    void RunJavaScript(const QString& script,
                       const std::function<void(const QVariant&)>& done) override;

private:
    void LoadFinished();

    QWebEngineProfile* profile_ = nullptr;
    FolderOnlyInterceptor* interceptor_ = nullptr;
    PreviewPage* page_ = nullptr;
    QWebEngineView* view_ = nullptr;
    QPointF scroll_;
    bool restoreScroll_ = false;
};

class WebPreviewEngine : public QObject, public PreviewEngine {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID PELTO_PREVIEW_ENGINE_IID)
    Q_INTERFACES(pelto::ui::PreviewEngine)
public:
    PreviewView* CreateView(QWidget* parent, QString* error) override;
};

} // namespace pelto::ui
