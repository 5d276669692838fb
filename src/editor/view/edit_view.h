// EditView: the drawing object of the EditArea. Two implementations share
// this interface: the software drawing into the 8-bit off-screen surface
// (software_view.h) and, later, the hardware viewer. Callers go through the
// current one; every screen update is the triple
//   ProjectAll(); DrawFrame(0); Present(local rectangle, EditArea).
//
// Present hands the shown bitmap to a Presenter, the one thing a window
// system must provide: the Qt EditArea widget shows it as an indexed 8-bit
// image, the command-line renderer writes it to a PNG file, tests keep it.
#pragma once

#include <cstdint>

#include "raster/surface8.h"

namespace ws {

class Presenter {
 public:
  virtual ~Presenter() = default;
  // Shows the `source` rectangle of `bitmap` (with its palette) in the
  // `target` rectangle of the window (client coordinates).
  virtual void Show(const Surface8& bitmap, const IntRect& source, const IntRect& target) = 0;
};

class EditView {
 public:
  virtual ~EditView() = default;
  // Projects every point of the current object for the current view.
  virtual void ProjectAll() = 0;
  // Draws one frame; returns 1 when polygon `polygonToCheck` was found
  // back-facing during the frame, else 0.
  virtual int DrawFrame(std::int32_t polygonToCheck) = 0;
  // Brings the `source` rectangle of the frame to the `target` rectangle of
  // the window. Nothing is presented before the first layout.
  virtual void Present(const IntRect& source, const IntRect& target) = 0;
  // Hook for views that keep their own scene; the software view has none.
  virtual void Update() {}
};

}  // namespace ws
