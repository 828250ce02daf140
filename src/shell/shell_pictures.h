#pragma once
// The pictures that belong to the shell's windows themselves (not to the library): the
// tiled background of the main window, the banner of the script selection and the small
// picture beside each of its slots. They are drawn here rather than shipped as files, so
// the windows never miss them; each is drawn for the screen's pixel ratio.
#include <QPixmap>

namespace pelto::ui {

// A seamless tile for the main window's background.
QPixmap BackgroundTile();

// One piece of the selection window's banner; pieces placed side by side join up.
QPixmap BannerTile();

// The decorative picture beside each script slot.
QPixmap SlotPicture();

// The program's emblem, for the splash window.
QPixmap ProgramEmblem(int size);

} // namespace pelto::ui
