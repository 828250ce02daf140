#include "ui_common/window_geometry.h"

#include "platform/settings_store.h"

#include <QByteArray>
#include <QEvent>
#include <QObject>
#include <QWidget>

namespace pelto::ui {

namespace {

// Lives as a child of the window, so it goes away with it.
class GeometrySaver : public QObject {
public:
    GeometrySaver(QWidget* window, const QString& key) : QObject(window), key_(key) {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        // Hide also comes when a dialog's exec() ends and when a shown window is deleted.
        if (event->type() == QEvent::Hide && watched == parent()) {
            auto* window = static_cast<QWidget*>(watched);
            SaveSetting("Settings", key_, QString::fromLatin1(window->saveGeometry().toBase64()));
        }
        return false;
    }

private:
    QString key_;
};

} // namespace

bool KeepGeometry(QWidget* window, const QString& key) {
    const QByteArray stored = QByteArray::fromBase64(GetSetting("Settings", key).toLatin1());
    const bool restored = !stored.isEmpty() && window->restoreGeometry(stored);
    new GeometrySaver(window, key);
    return restored;
}

} // namespace pelto::ui
