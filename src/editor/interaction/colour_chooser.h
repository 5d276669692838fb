// The colour chooser of the "Change Color" swatch (`ChooseColour`): the
// status title "Select New Color"; the 256 palette entries drawn over the
// EditArea as a grid of 32 columns by 8 rows of 10-pixel cells (entry i at
// column i % 32, row i / 32), each outlined in the background colour, with
// a frame in the wire colour around the grid, which is centred in the
// EditArea. While the left button stays down the cell under the cursor is
// highlighted (an outline in the wire colour on the cell's rectangle
// shrunk by 1 pixel at left and top and grown by 1 at right and bottom)
// and becomes the current colour. On release `ApplyCurrentColour` runs, a
// frame is shown, sound 2 plays and the swatch is repainted.
#pragma once

#include <string_view>

#include "editor/interaction/interaction.h"

namespace ws {

inline constexpr std::string_view kTitleSelectNewColor = "Select New Color";
inline constexpr int kPaletteColumns = 32;
inline constexpr int kPaletteRows = 8;
inline constexpr int kPaletteCell = 10;

// Where the grid lies in the EditArea (local pixels).
struct PaletteGrid {
  int left = 0;
  int top = 0;

  int right() const { return left + kPaletteColumns * kPaletteCell - 1; }
  int bottom() const { return top + kPaletteRows * kPaletteCell - 1; }
  // The cell rectangle of palette entry `index`.
  IntRect Cell(int index) const;
  // The entry under a local position, or -1.
  int CellAt(int x, int y) const;
};

// The grid centred in a local rectangle (at its top-left when it is
// smaller than the grid).
PaletteGrid PlacePaletteGrid(const IntRect& local);

// Draws the grid, highlighting `highlight` (-1 for none).
void DrawPaletteGrid(PixelRows target, const PaletteGrid& grid, int highlight,
                     std::uint8_t background, std::uint8_t frame);

// `ChooseColour`: starts the chooser (not in walk mode, nor before the
// first layout). False when it did not start.
bool ChooseColour(EditContext& ctx);
// The cursor at a client position while the button is down.
void ColourChooserStep(EditContext& ctx, int clientX, int clientY);
// The release: applies the current colour to the selection.
void FinishColourChooser(EditContext& ctx);
// Ends the chooser applying nothing (the current colour keeps what the
// cursor chose).
void AbortColourChooser(EditContext& ctx);

}  // namespace ws
