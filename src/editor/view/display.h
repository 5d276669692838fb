// EditorDisplay: the editor's picture of the current object, everything a
// view reads besides the model itself: display options, zoom and pan, the
// EditArea layout, hover and marquee, the plot cursor, the text labels, the
// frame flags and the off-screen surface. It works over a Model owned
// elsewhere (the Editor's, or a command-line session's), so the same
// drawing serves the editor, the command-line renderer and the tests.
#pragma once

#include "editor/editor_state.h"
#include "editor/view/display_options.h"
#include "editor/view/layout.h"
#include "editor/view/projection.h"
#include "editor/view/text_labels.h"
#include "editor/view/view_state.h"
#include "model/model.h"
#include "raster/surface8.h"

namespace ws {

inline constexpr std::string_view kMsgOffscreenFailed = "CD_Offscreen failed.";
inline constexpr std::string_view kMsgNoOffscreenPalette =
    "Failed to get color table for offscreen.";
inline constexpr std::string_view kMsgNoFillMemory = "Not enough memory for polygon filling.";

struct EditorDisplay {
  explicit EditorDisplay(Model& m) : model(m) {}
  EditorDisplay(const EditorDisplay&) = delete;
  EditorDisplay& operator=(const EditorDisplay&) = delete;

  Model& model;
  DisplayOptions options;
  EditorViewState view;  // the model's ViewState holds the rest
  EditAreaLayout layout;
  SelectionState selection;
  PlotCursor plotCursor;
  TextLabels labels;
  FrameState frame;
  CD_Offscreen offscreen;
  // The ants clock; the steady clock unless a caller sets another.
  const MillisecondClock* clock = &steadyClock;
  SteadyClock steadyClock;

  // The projection of the current view (`rotated` false for labels that
  // always face the screen).
  Projector MakeProjector(bool rotated = true) const {
    return Projector(model.view, view, layout, options.perspective, rotated);
  }
  // (Re-)creates the off-screen surface for the current layout with the
  // current colour table. On failure shows "Failed to get color table for
  // offscreen." (no colour table was ever read) or "CD_Offscreen failed."
  // and returns false.
  bool CreateSurface() {
    if (!model.colors.valid) {
      model.ui().ShowError(kMsgNoOffscreenPalette);
      return false;
    }
    if (offscreen.Create(model.rt.memory, layout.surfaceWidth, layout.surfaceHeight,
                         model.colors.current)) {
      return true;
    }
    model.ui().ShowError(kMsgOffscreenFailed);
    return false;
  }
};

}  // namespace ws
