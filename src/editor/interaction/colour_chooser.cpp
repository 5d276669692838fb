#include "editor/interaction/colour_chooser.h"

#include <algorithm>

#include "editor/interaction/drag.h"
#include "editor/interaction/selection.h"

namespace ws {
namespace {

constexpr int kGridWidth = kPaletteColumns * kPaletteCell;
constexpr int kGridHeight = kPaletteRows * kPaletteCell;

void OutlineRect(PixelRows target, const IntRect& r, std::uint8_t colour) {
  const IntRect clip = target.Bounds();
  DrawClippedLine(target, clip, r.left, r.top, r.right, r.top, colour);
  DrawClippedLine(target, clip, r.left, r.bottom, r.right, r.bottom, colour);
  DrawClippedLine(target, clip, r.left, r.top, r.left, r.bottom, colour);
  DrawClippedLine(target, clip, r.right, r.top, r.right, r.bottom, colour);
}

void ShowGrid(EditContext& ctx) {
  EditorDisplay& d = ctx.display();
  if (d.offscreen.empty()) return;
  const DrawingColors& colours = ctx.model().colors.drawing;
  DrawPaletteGrid(d.offscreen.draw.Target(), PlacePaletteGrid(d.layout.local),
                  ctx.state.gesture.cell, colours.black, colours.white);
  ctx.editor.view().Present(d.layout.local, d.layout.editArea);
}

}  // namespace

IntRect PaletteGrid::Cell(int index) const {
  const int x = left + (index % kPaletteColumns) * kPaletteCell;
  const int y = top + (index / kPaletteColumns) * kPaletteCell;
  return {x, y, x + kPaletteCell - 1, y + kPaletteCell - 1};
}

int PaletteGrid::CellAt(int x, int y) const {
  if (x < left || x > right() || y < top || y > bottom()) return -1;
  return (y - top) / kPaletteCell * kPaletteColumns + (x - left) / kPaletteCell;
}

PaletteGrid PlacePaletteGrid(const IntRect& local) {
  PaletteGrid grid;
  const int width = local.right - local.left + 1;
  const int height = local.bottom - local.top + 1;
  grid.left = local.left + std::max(0, (width - kGridWidth) / 2);
  grid.top = local.top + std::max(0, (height - kGridHeight) / 2);
  return grid;
}

void DrawPaletteGrid(PixelRows target, const PaletteGrid& grid, int highlight,
                     std::uint8_t background, std::uint8_t frame) {
  const IntRect bounds = target.Bounds();
  for (int i = 0; i < kPaletteColumns * kPaletteRows; ++i) {
    const IntRect cell = grid.Cell(i);
    const IntRect inside = Intersect(cell, bounds);
    for (int y = inside.top; y <= inside.bottom; ++y) {
      std::fill(target.rows[y] + inside.left, target.rows[y] + inside.right + 1,
                static_cast<std::uint8_t>(i));
    }
    OutlineRect(target, cell, background);
  }
  OutlineRect(target, {grid.left - 1, grid.top - 1, grid.right() + 1, grid.bottom() + 1}, frame);
  if (highlight >= 0 && highlight < kPaletteColumns * kPaletteRows) {
    const IntRect c = grid.Cell(highlight);
    OutlineRect(target, {c.left + 1, c.top + 1, c.right + 1, c.bottom + 1}, frame);
  }
}

bool ChooseColour(EditContext& ctx) {
  if (ctx.shell.walkModeActive || ctx.display().frame.firstLayoutPending) return false;
  if (GestureActive(ctx)) CancelGesture(ctx);
  SetStatusTitle(ctx.shell, kTitleSelectNewColor);
  BeginGesture(ctx, GestureKind::kColourChooser);
  ctx.state.gesture.cell = -1;
  ShowGrid(ctx);
  return true;
}

void ColourChooserStep(EditContext& ctx, int clientX, int clientY) {
  Gesture& g = ctx.state.gesture;
  if (g.kind != GestureKind::kColourChooser) return;
  const int cell = PlacePaletteGrid(ctx.display().layout.local)
                       .CellAt(LocalX(ctx, clientX), LocalY(ctx, clientY));
  if (cell == g.cell) return;
  g.cell = cell;
  if (cell >= 0) SetCurrentColour(ctx.state, static_cast<std::uint8_t>(cell));
  ShowGrid(ctx);
}

void FinishColourChooser(EditContext& ctx) {
  if (ctx.state.gesture.kind != GestureKind::kColourChooser) return;
  EndGesture(ctx);
  ApplyCurrentColour(ctx);
  ShowFrameNow(ctx);
  PlaySound(ctx, 2);
  // The swatch shows the colour now applied.
  ++ctx.state.swatchVersion;
  ctx.shell.RequestMenuRefresh();
}

void AbortColourChooser(EditContext& ctx) {
  if (ctx.state.gesture.kind != GestureKind::kColourChooser) return;
  EndGesture(ctx);
  ctx.shell.RequestRedraw();
}

}  // namespace ws
