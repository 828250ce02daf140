#pragma once
// The boundary between the parameter page and the embedded browser engine. The engine
// lives in a plugin that is loaded the first time a preview shows, so a start that never
// reaches a preview never loads it. The page side builds the preview page; the engine
// side shows files of the folders it is allowed and reports loads and script errors.
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariant>
#include <QtPlugin>

#include <functional>

class QWidget;

namespace pelto::ui {

class PreviewView {
public:
    virtual ~PreviewView() = default;
    // The view to lay out; it is a child of the parent it was made for and goes with it.
    virtual QWidget* Widget() = 0;
    // The page shown may read files under these folders and nothing else.
    virtual void SetAllowedFolders(const QStringList& folders) = 0;
    // Shows the page at url; when it is the page shown already, its scroll position stays.
    virtual void Load(const QUrl& url) = 0;
    // Shows html (a message) in place of a page.
    virtual void ShowHtml(const QString& html, const QUrl& base) = 0;
    // The script errors of the page shown, one line each.
    virtual QStringList Errors() const = 0;
    // Runs script in the page shown; done gets its result.
    virtual void RunJavaScript(const QString& script,
                               const std::function<void(const QVariant&)>& done) = 0;

    // Called when a page or a message has finished loading.
    std::function<void()> Loaded;
    // Called when Errors() changed.
    std::function<void()> ErrorsChanged;
};

class PreviewEngine {
public:
    virtual ~PreviewEngine() = default;
    // A new view as a child of parent, or nullptr with the reason in error.
    virtual PreviewView* CreateView(QWidget* parent, QString* error) = 0;
};

} // namespace pelto::ui

#define PELTO_PREVIEW_ENGINE_IID "com.norvale.Pelto.PreviewEngine/1"
Q_DECLARE_INTERFACE(pelto::ui::PreviewEngine, PELTO_PREVIEW_ENGINE_IID)
