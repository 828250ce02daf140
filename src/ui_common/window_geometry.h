#pragma once
// Windows remember their size and position in the settings: a window calls KeepGeometry
// once its default size and place are set, and gets back where the user left it.
#include <QString>

class QWidget;

namespace pelto::ui {

// Restores window's geometry stored under key (section "Settings") over its default, and
// stores it again each time the window is hidden (closed, or a dialog finished). Returns
// whether a stored geometry was restored.
bool KeepGeometry(QWidget* window, const QString& key);

} // namespace pelto::ui
