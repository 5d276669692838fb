// The layout rule of the EditArea: a pure function of the main window's
// client size and the right edge R of the "Interactive Help" group box (the
// control column), in client pixels.
//
//   h = (clientHeight - 21, or 0 below 21) rounded down to a multiple of 4;
//   w = (clientWidth - R - 26, or 0 when smaller) + 8, rounded down to a
//       multiple of 8 (so never below 8);
//   W = (h / 3) * 4; when W < w the height is raised to h = (w / 4) * 3 and
//       W = (h / 3) * 4 again (the surface keeps a 4:3 shape);
//   EditArea = (R + 10, 10) to (R + 10 + w - 1, h + 9), inclusive;
//   the off-screen surface = (W rounded down to 8) x (h + 151) pixels;
//   perspective factor f = ((W rounded down to 8) - 1 - 50) * 0.5;
//   projection centre (cx, cy) = (w / 2, h / 2) in EditArea-local pixels.
// All divisions are integer divisions.
#pragma once

#include "raster/surface8.h"

namespace ws {

// Space between the surface height and the surface's last row (the surface
// is h + 150 rows deep below its first row).
inline constexpr int kSurfaceExtraRows = 151;

struct EditAreaLayout {
  IntRect editArea;  // in window client coordinates, inclusive
  IntRect local;     // (0, 0, width - 1, height - 1)
  int cx = 0;        // projection centre, EditArea-local
  int cy = 0;
  double perspectiveFactor = 0.0;  // f, the same for x and y
  int surfaceWidth = 0;            // size of the off-screen surface
  int surfaceHeight = 0;

  int width() const { return local.right + 1; }
  int height() const { return local.bottom + 1; }
};

// The layout for a client area; the client size must be non-zero (a
// pending layout waits until it is).
EditAreaLayout ComputeEditAreaLayout(int clientWidth, int clientHeight, int helpBoxRight);

// A layout whose EditArea is exactly width x height at the client origin,
// for headless rendering: the surface, f and the centre follow the rule
// above for that area (the surface is widened to the area when the rule's
// width rounds below it).
EditAreaLayout LayoutForAreaSize(int width, int height);

}  // namespace ws
