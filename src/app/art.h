// The program's own artwork, drawn in code as pixel art so that it needs no
// image files: the seven toggle-button icons (normal and pressed, 32 x 32),
// the mode strip (seven 24-pixel buttons 26 pixels apart), the mode
// cursors, the window icon and the splash picture.
#pragma once

#include <QCursor>
#include <QImage>
#include <QPixmap>

namespace ws::art {

inline constexpr int kStripWidth = 184;
inline constexpr int kStripHeight = 24;

// Toggle button `index` (0..6), normal or pressed.
QImage ToggleIcon(int index, bool pressed);
// The mode strip with mode `current` drawn pressed (-1 for none).
QImage ModeStrip(int current);
// The cursor of a mode inside the EditArea (Grab Color, Set Color, Camera
// View, Virtual Walk have their own; the others use the arrow).
QCursor ModeCursor(int mode);
QImage ModeCursorImage(int mode);
QImage WindowIcon();
QImage Splash(int width, int height);

}  // namespace ws::art
