// The editor-side part of the view state: zoom, pan, grid step and the
// scale controls. The orientation, the turn matrices, the active turn and
// the view code are the model's ViewState (undo carries them); everything
// here stays out of undo snapshots.
//
// Scale controls of the main window:
//   slider position s (0..100): v = s when s < 55, else 11 * s - 550;
//     scale = trunc(max(v / 51, 0.1) * 10) / 10 (tenths, never below 0.1);
//   "100%": slider 50, scale 1.0, pan cleared;
//   "50%":  slider 25, scale 0.5, pan kept;
//   "Apply": every user point's x, y, z times the scale, then "100%".
// The callers show a frame and refresh the status line afterwards.
#pragma once

#include <string>

#include "model/object_tables.h"
#include "model/view_plot_state.h"

namespace ws {

inline constexpr int kSliderMin = 0;
inline constexpr int kSliderMax = 100;
inline constexpr int kSlider100 = 50;
inline constexpr int kSlider50 = 25;
inline constexpr double kMinScale = 0.1;

struct EditorViewState {
  double scale = 1.0;  // zoom factor k; 1.0 is "100%"
  double panX = 0.0;   // picture shift, in grid steps
  double panY = 0.0;
  int gridStep = kDefaultGridStep;  // world units, 1..50
  int slider = kSlider100;
  // Set while a view turn or a free rotation runs; the tick skips its hover
  // work meanwhile.
  bool turnInProgress = false;
  bool rotationInProgress = false;
};

// Scale of a slider position (positions outside 0..100 count as the
// nearest end).
double ScaleFromSlider(int position);
// The scale group box caption: "Scale: %3.0f%" of scale * 100.
std::string ScaleCaption(double scale);

// The slider moved to `position`.
void SetSlider(EditorViewState& view, int position);
// "100%" and "50%".
void SetScale100(EditorViewState& view);
void SetScale50(EditorViewState& view);
// "Apply": scales every user point (the reserved axis points stay), then
// acts as "100%".
void ApplyScale(ObjectTables& tables, EditorViewState& view);

// The view reset for a new or newly loaded object: view Front, active turn
// none, orientation and turn matrices identity, scale 1.0 (slider 50); the
// grid step and the pan are kept.
void ResetViewForObject(ViewState& view, EditorViewState& extra);

}  // namespace ws
