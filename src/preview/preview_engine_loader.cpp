#include "preview/preview_engine_loader.h"

#include "preview/preview_engine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPluginLoader>

#ifndef PELTO_INSTALLED_PLUGIN_DIR
#define PELTO_INSTALLED_PLUGIN_DIR "../lib/pelto"
#endif

namespace pelto::ui {

namespace {

constexpr const char* kPluginFile = "pelto-preview.so";

} // namespace

QString PreviewEnginePath() {
    const QString named = qEnvironmentVariable("PELTO_PREVIEW_PLUGIN");
    if (!named.isEmpty())
        return QFileInfo(named).isFile() ? named : QString();
    const QDir programDir(QCoreApplication::applicationDirPath());
    for (const QString& candidate :
         {programDir.filePath(kPluginFile),
          programDir.filePath(QStringLiteral(PELTO_INSTALLED_PLUGIN_DIR) + '/' + kPluginFile)})
        if (QFileInfo(candidate).isFile())
            return QDir::cleanPath(candidate);
    return QString();
}

PreviewEngine* LoadPreviewEngine(QString* error) {
    const QString path = PreviewEnginePath();
    if (path.isEmpty()) {
        *error = QStringLiteral("The preview engine (%1) is not installed.").arg(kPluginFile);
        return nullptr;
    }
    // One loader for the run: the plugin is never unloaded while views of it may live.
    static QPluginLoader* loader = nullptr;
    if (!loader)
        loader = new QPluginLoader(path);
    QObject* root = loader->instance();
    auto* engine = qobject_cast<PreviewEngine*>(root);
    if (!engine)
        *error = QStringLiteral("The preview engine %1 could not be loaded: %2")
                     .arg(QDir::toNativeSeparators(path), loader->errorString());
    return engine;
}

} // namespace pelto::ui
