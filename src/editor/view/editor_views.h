// What the command table, the key handler and the tick need from the
// editor's views (projection, drawing, layout, hit tests), as one small
// interface. The editor's view layer implements it; keeping the commands on
// this side of it lets them build and run without a surface or a window.
#pragma once

#include <cstdint>

#include "editor/shell/shell_state.h"
#include "editor/view/display_options.h"
#include "raster/surface8.h"

namespace ws {

struct HoverResult {
  std::uint32_t vector = 0;   // 0: none
  std::int32_t polygon = -1;  // -1: none
};

class EditorViews {
 public:
  virtual ~EditorViews() = default;

  virtual DisplayOptions Display() const = 0;
  virtual void SetDisplay(const DisplayOptions& display) = 0;

  // The grid step (1 to 50) and the pan offset in grid steps.
  virtual int GridStep() const = 0;
  virtual void SetGridStep(int step) = 0;
  virtual void PanBy(double dx, double dy) = 0;

  // The layout rule: the EditArea for a client size and the right edge of
  // the "Interactive Help" box, with the surface re-created for it. The
  // first call also builds the surface's palette from the current colour
  // table. False after a message when drawing is not possible.
  virtual bool Layout(int clientWidth, int clientHeight, int helpBoxRight) = 0;
  // The EditArea in client coordinates (inclusive); empty before layout.
  virtual IntRect EditArea() const = 0;

  // Hover tests of the mode at an EditArea-local position.
  virtual HoverResult Hover(int mode, int localX, int localY) = 0;
  // One screen update: ProjectAll, DrawFrame(0), Present.
  virtual void DrawAndPresent() = 0;

  // Turns to the view of a letter F, E, L, R, T or B (animated unless
  // Instant View Change).
  virtual void TurnToView(char letter) = 0;

  // Scale: a slider position 0..100, the "100%", "50%" and "Apply" buttons.
  virtual double ScaleFactor() const = 0;
  virtual void SetSliderScale(int position) = 0;
  virtual void Scale100() = 0;
  virtual void Scale50() = 0;
  virtual void ApplyScale() = 0;

  // The quick-command labels (entries 3 onward) were rebuilt or hidden.
  virtual void SetQuickCommandsShown(bool shown, int mode, bool walkModeActive,
                                     int walkEditMode) = 0;

  // After the first working file, the preferences record and the colour
  // table are in: options from the record, axis labels, pan cleared, view
  // reset.
  virtual void InitialiseDisplay() = 0;
  // The object was replaced (loaded, new, reset): view Front, scale 1.0.
  virtual void ResetForNewObject() = 0;
  // The colour table changed: new palette and editor colours.
  virtual void ColorTableChanged() = 0;
};

}  // namespace ws
