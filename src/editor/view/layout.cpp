#include "editor/view/layout.h"

#include <algorithm>

namespace ws {

namespace {

EditAreaLayout Finish(int left, int top, int w, int h, int surfaceW) {
  EditAreaLayout l;
  l.editArea = {left, top, left + w - 1, top + h - 1};
  l.local = {0, 0, w - 1, h - 1};
  l.cx = w / 2;
  l.cy = h / 2;
  const int surfaceW8 = surfaceW / 8 * 8;
  l.perspectiveFactor = (surfaceW8 - 1 - 50) * 0.5;
  l.surfaceWidth = std::max(surfaceW8, w);
  l.surfaceHeight = h + kSurfaceExtraRows;
  return l;
}

}  // namespace

EditAreaLayout ComputeEditAreaLayout(int clientWidth, int clientHeight, int helpBoxRight) {
  const int r = helpBoxRight;
  int h = clientHeight < 21 ? 0 : (clientHeight - 21) / 4 * 4;
  const int w = (std::max(clientWidth - r - 26, 0) + 8) / 8 * 8;
  int surfaceW = h / 3 * 4;
  if (surfaceW < w) {
    h = w / 4 * 3;
    surfaceW = h / 3 * 4;
  }
  // The EditArea's bottom is h + 9 with its top at 10: h rows.
  return Finish(r + 10, 10, w, h, surfaceW);
}

EditAreaLayout LayoutForAreaSize(int width, int height) {
  const int w = std::max(width, 1);
  const int h = std::max(height, 1);
  return Finish(0, 0, w, h, std::max(h / 3 * 4, w));
}

}  // namespace ws
