// Plot mode: each left click sets one coordinate of a vector endpoint from
// the grid-snapped cursor, in a view that shows that coordinate. Steps 0-2
// set EP1's X, Y, Z, steps 3-5 EP2's; the sixth click adds the vector and
// EP2 becomes the next EP1 (step 3 again). Shift with user points present
// forgets EP1 and returns to step 0.
//
// Cursor tracking (g grid step, k scale, pan px, py in grid steps, the
// projection centre CX, CY in client pixels):
//   u = (x - CX) / k, v = (y - CY) / k;
//   u' = u + g/2 when u >= 0, else u - g/2 (g/2 an integer division, so an
//        odd step snaps to its true nearest multiple as well); same for v;
//   su = round(u') / g, sv = round(v') / g (round half away from zero, then
//        an integer division truncating toward zero);
//   a = su * g - round(px * g)     the world value along screen right;
//   b = -(sv * g + round(py * g))  the world value along screen up.
// The coordinate of the current step takes a or b by the view:
//   X: Front a, Back -a, Top a, Bottom a;  Y: Front, Back, Left, Right b;
//   Z: Top -b, Bottom b, Left a, Right -a;
// the other views leave it alone. The orthographic mapping is used even
// with perspective on.
//
// A click in a view that cannot set the coordinate shows "Must plot X from
// FRONT/BACK/TOP/BOTTOM view" (Y: FRONT/BACK/LEFT/RIGHT, Z:
// TOP/BOTTOM/LEFT/RIGHT; Notification) and changes nothing. Otherwise: the
// perspective warning (perspective on) or sound 1; undo "Undo Plot\tCtrl+Z";
// the step advances; at 3 EP1 takes the cursor and is pending; at 6 EP1 (if
// pending) and EP2 are added with AddPoint (equal points are shared), the
// vector EP1-EP2 is appended fresh (width, colour and marks 0), EP2 becomes
// EP1 and the step is 3. A completion that would exceed the point or vector
// table is refused before the undo step with a clear message; the step
// stays at 5. Then the editor turns to the view remembered for the next
// coordinate (view memory; a space means none).
#pragma once

#include <string_view>

#include "editor/interaction/interaction.h"

namespace ws {

inline constexpr std::string_view kMsgMustPlotX = "Must plot X from FRONT/BACK/TOP/BOTTOM view";
inline constexpr std::string_view kMsgMustPlotY = "Must plot Y from FRONT/BACK/LEFT/RIGHT view";
inline constexpr std::string_view kMsgMustPlotZ = "Must plot Z from TOP/BOTTOM/LEFT/RIGHT view";
inline constexpr std::string_view kMsgPerspectivePlot =
    "Plotting with Perspective ON will give you undesired point alignments.";
inline constexpr std::string_view kTitleChangeView = "Change View";
inline constexpr std::string_view kHelpChangeViewX =
    "Change the view to set X. Use the (F)ront-(B)ack-(T)op-(B)ottom keys or the VIEW menu above.";
inline constexpr std::string_view kHelpChangeViewY =
    "Change the view to set Y. Use the (F)ront-(B)ack-(L)eft-(R)ight keys or the VIEW menu above.";
inline constexpr std::string_view kHelpChangeViewZ =
    "Change the view to set Z. Use the (T)op-(B)ottom-(L)eft-(R)ight keys or the VIEW menu above.";
inline constexpr std::string_view kHelpSetEp1X = "Ready to set EP1 X-coordinate of this vector.";
inline constexpr std::string_view kHelpSetEp1Y = "Ready to set EP1 Y-coordinate of this vector.";
inline constexpr std::string_view kHelpSetEp1Z = "Ready to set EP1 Z-coordinate of this vector.";
inline constexpr std::string_view kHelpSetEp2X =
    "Ready to set EP2 X-coordinate of this vector. Press shift to start a new vector.";
inline constexpr std::string_view kHelpSetEp2Y =
    "Ready to set EP2 Y-coordinate of this vector. Press shift to start a new vector.";
inline constexpr std::string_view kHelpSetEp2Z =
    "Ready to set EP2 Z-coordinate of this vector. Press shift to start a new vector.";

// Coordinates a plot step sets.
inline constexpr int kCoordX = 0;
inline constexpr int kCoordY = 1;
inline constexpr int kCoordZ = 2;
inline int StepCoordinate(int step) { return ((step % 3) + 3) % 3; }

// Whether view `viewCode` shows coordinate `coordinate`.
bool ViewCanSet(int viewCode, int coordinate);

// The snapped world values along screen right (a) and up (b) under a
// cursor, by the rule above. `centreX`, `centreY` and the cursor in the
// same pixel space.
struct GridValues {
  double a = 0.0;
  double b = 0.0;
};
GridValues SnapCursorToGrid(int cursorX, int cursorY, int centreX, int centreY, double scale,
                            int gridStep, double panX, double panY);

// Updates the cursor coordinate of `step` that `viewCode` shows (the others
// keep their values).
void UpdatePlotCursor(PlotCursor& cursor, int step, int viewCode, const GridValues& values);

// `TrackPlotCursor`: the two above for the editor's state and a cursor in
// client pixels.
void TrackPlotCursor(EditContext& ctx, int clientX, int clientY);

// The plot mode part of one tick (outside walk mode, in Plot mode; every
// tick, whether the cursor is in the EditArea or not): Shift with more
// points than the start count forgets EP1 (step 0, EP1 zeroed, redraw,
// status refreshed); the cursor is tracked and the cursor-in-area flag set
// (inside the EditArea with the application active); when any cursor
// coordinate differs from the shown values the status is refreshed and
// the shown values follow.
void PlotTick(EditContext& ctx, int clientX, int clientY);

// `PlotClick`: the left button in Plot mode (outside walk mode). True when
// a coordinate was plotted.
bool PlotClick(EditContext& ctx, int clientX, int clientY);

// `RefreshPlotStatus`: in Plot mode outside walk mode, sets the cursor-in-
// area flag from the last cursor position and, while the cursor is inside
// the EditArea and the application is active, the title ("Set X = %.3f",
// or "Change View") and help text of the current step and view.
void RefreshPlotStatus(EditContext& ctx);

// A view letter (F, E, L, R, T, B) in Plot mode: remembered as the view for
// the current step's coordinate, then the turn (animated unless Instant
// View Change), a redraw and the status. False for any other letter or
// outside Plot mode (nothing happens then).
bool PlotViewKey(EditContext& ctx, char letter);

// The plot state's start values: step 0, EP1 pending and zeroed; the view
// memory is kept.
void ResetPlotSteps(PlotState& plot);

// `NewObjectReset`: the editor state for a new, empty object: orientation
// and turn matrices identity, view Front, scale 1.0, mode Plot with its
// help text, plot step 0, only the reserved points and vectors, no
// polygons, nothing hovered or marked, a redraw and the status.
void NewObjectReset(EditContext& ctx);
// The same without emptying the object, for callers whose model operation
// has already put the object in place: New, Start New Cluster and Open
// empty it themselves, and Delete from Cluster loads the object that
// follows, which an empty reset after it would wipe.
void ResetEditorForObject(EditContext& ctx);

}  // namespace ws
