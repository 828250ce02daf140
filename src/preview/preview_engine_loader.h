#pragma once
// Finds and loads the preview engine plugin: beside the program (the build tree and a
// portable folder) or in the installed library folder; PELTO_PREVIEW_PLUGIN names the
// file instead (the tests use it).
#include <QString>

namespace pelto::ui {

class PreviewEngine;

// The plugin file that would be loaded, or an empty text when none is installed.
QString PreviewEnginePath();

// The loaded engine, or nullptr with the reason in error. The engine stays loaded for the
// rest of the run.
PreviewEngine* LoadPreviewEngine(QString* error);

} // namespace pelto::ui
