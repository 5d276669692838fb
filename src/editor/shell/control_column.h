// The mode strip and the toggle buttons of the main window's left column:
// where they sit, what the cursor is over, what their hover titles read and
// what a click on them does. Positions are window client pixels.
//
// Mode strip: mode i's button at x = strip left + 2 + 26 * i, 24 pixels
// wide, the strip's full height. Toggle buttons: seven 32 x 32 icons in a
// row 10 pixels below the strip, from the strip's left edge, 32 apart;
// icon 6, and after it the 22 x 22 "Change Color" swatch, each start a new
// row 34 pixels lower when their x would pass EditArea left - 40. A
// button's hit rectangle is (x + 3, y + 2) to (x + 28, y + 30).
#pragma once

#include <array>
#include <string_view>

#include "editor/shell/commands.h"
#include "raster/surface8.h"

namespace ws {

inline constexpr int kToggleCount = 7;
inline constexpr int kToggleGrid = 0;
inline constexpr int kToggleAxis = 1;
inline constexpr int kTogglePerspective = 2;
inline constexpr int kToggleVectors = 3;
inline constexpr int kTogglePolygons = 4;
inline constexpr int kToggleDefinePolygon = 5;
inline constexpr int kToggleDeleteObjects = 6;
inline constexpr int kSwatchArea = 7;  // hover target only: the colour swatch

inline constexpr int kToggleIconSize = 32;
inline constexpr int kSwatchSize = 22;

struct ControlColumn {
  IntRect strip;
  std::array<IntRect, kModeCount> modes{};
  std::array<IntRect, kToggleCount> icons{};  // 32 x 32 icon rectangles
  IntRect swatch;
  bool placed = false;
};

// Places the mode buttons from the strip's rectangle and the toggle icons
// and swatch for the EditArea's left edge.
ControlColumn PlaceControls(const IntRect& strip, int editAreaLeft);

// The mode button under (x, y), or -1.
int ModeAt(const ControlColumn& column, int x, int y);
// The toggle button whose hit rectangle holds (x, y) (0..6), kSwatchArea
// for the swatch, or -1.
int ToggleAt(const ControlColumn& column, int x, int y);
IntRect ToggleHitRect(const IntRect& icon);

// The status title shown while hovering toggle `index` (or the swatch).
std::string_view ToggleTitle(int index, const DisplayOptions& display, bool walkModeActive);
// Whether toggle `index` shows its pressed icon.
bool TogglePressed(int index, const DisplayOptions& display, int pressedHotArea);

// Button down over the column: remembers a toggle button (redrawn pressed).
void PressToggle(ShellState& shell, const ControlColumn& column, int x, int y);
// Button up: performs the remembered button's action, plays sound 1 and
// forgets it. Returns the button that acted, or -1.
int ReleaseToggle(CommandContext& ctx);

// A click on the mode strip: sound 1 and the mode change.
void ClickModeStrip(CommandContext& ctx, const ControlColumn& column, int x, int y);

}  // namespace ws
