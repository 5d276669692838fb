// Selection: the mode strip, the left click in the EditArea in every mode,
// the selection marks and the commands that set them, recolouring, and the
// keyboard moves of the selected vectors.
//
// Marks: a vector's `selected` field and the polygon selection table hold
// 0, 1, or 128 while a marquee is dragged; the reserved vectors 0-5 are
// never marked. Points are selected through the vectors that use them.
//
// Facing: a polygon faces away when the signed area sum of its current
// screen outline is negative (the rule of the views; >= 0 faces the
// viewer). Recolouring a polygon that has "Each Side Has Different Color"
// and faces away sets its back colour and back fill word, any other its
// front colour and front fill word.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "editor/interaction/interaction.h"

namespace ws {

inline constexpr std::string_view kMsgSameColourNoPolygon =
    "Can't select same because your not using the polygon select tool,\r or there is no polygon "
    "under the cursor.";

// ---- Marks ----

// "Select All": every user vector and every polygon marked 1.
void SelectAll(ObjectTables& t);
// "Unselect": every user vector and every polygon unmarked.
void UnselectAll(ObjectTables& t);
// Marks the vectors / polygons of the given file numbers (a vector's file
// number is its index less 6; polygons are numbered from 0). False, after
// "Vector %u does not exist." / "Polygon %u does not exist."
// (Notification) for the first number out of range, with nothing marked.
bool SelectVectorsByFileNumber(ObjectTables& t, Ui& ui, std::span<const std::uint32_t> numbers);
bool SelectPolygonsByNumber(ObjectTables& t, Ui& ui, std::span<const std::uint32_t> numbers);
// "Select All Polygons Like This One (same color)": with a hovered polygon
// every polygon of its front colour is also selected (true); without one
// the message above (Notification) and nothing changes (false).
bool SelectSameColour(ObjectTables& t, Ui& ui, std::int32_t hoveredPolygon);

// ---- Facing and colours ----

// The facing of polygon k on the screen positions of the last projection:
// true when its outline's signed area sum is negative.
bool PolygonFacesAway(const ObjectTables& t, std::uint32_t k);
// The colour a click in Grab Color mode takes from polygon k.
std::uint8_t PolygonPickColour(const ObjectTables& t, std::uint32_t k);
// Set Color on polygon k: the back colour and fill when it has Each Side
// Different and faces away, else the front ones.
void SetPolygonColour(ObjectTables& t, std::uint32_t k, std::uint8_t colour);
// Each selected polygon and vector gets `colour` (polygons by the rule
// above), on the screen positions of the last projection.
void ApplyColourToSelection(ObjectTables& t, std::uint8_t colour);
// `ApplyCurrentColour`: the points are projected for the current view,
// then the selection gets the current colour; a redraw is requested.
void ApplyCurrentColour(EditContext& ctx);

// "Make Back Faced" (`back` true) / "Make Front Faced": every selected
// polygon facing the other way in the current view is reversed with
// FlipFace, after an undo step "Undo Flip Backface" when there is one to
// reverse. Returns the number reversed.
std::uint32_t MakeSelectedFacing(EditContext& ctx, bool back);

// ---- Keyboard moves ----

// `MoveSelectedVectors`: from the held keys (shell_state.h bits), with g
// the grid step: Left dx = -g, Right +g (Right wins); Down dy = -g, Up +g
// (Up wins); Page Down dz = +g, Page Up -g (Page Up wins). Shift moves
// only endpoint 1 of each selected vector, Control (without Shift) only
// endpoint 2, neither both; every affected user point moves once, however
// many selected vectors share it. No undo step. False when no such key is
// held or nothing moved (also when the work list cannot be had).
bool MoveSelectedVectors(ObjectTables& t, std::uint32_t heldKeys, int gridStep);

// ---- Modes and clicks ----

// `SelectMode`: a click on the mode strip (mode 0-6): the mode's texts;
// leaving walk mode or choosing Plot from another mode enters Plot (walk
// ends, hover and plot step 0, marquee and every mark cleared, menu
// refresh); while the mode is Plot the view is reset (Front, identity
// matrices, 100% with the pan cleared), the status refreshed and a redraw
// requested; Virtual Walk starts the walk view (when the context can) and
// clears every mark; then the mode is set, the quick commands rebuilt, the
// plot status refreshed and sound 1 plays.
void SelectMode(EditContext& ctx, int mode);

// `EditAreaClick`: a left-button press at a client position inside the
// EditArea, outside walk mode, by mode (the hovered vector of the last
// tick before the hovered polygon):
//   Plot: PlotClick.
//   Grab Color: the current colour from the vector, or from the polygon
//     (its back colour when Each Side Different and facing away); sound 6.
//   Set Color: the vector's or polygon's colour from the current colour;
//     sound 6.
//   Select Vector: a selected vector starts the endpoint drag ("Drag
//     Vector"); an unselected one is marked, sound 6; nothing under the
//     cursor starts a free rotation ("Changing View").
//   Select Polygon: the polygon's mark toggles, sound 6, menu refresh;
//     with Polygons Off, or an invisible polygon while they are hidden, or
//     nothing under the cursor, a free rotation.
//   Camera View, Virtual Walk: a free rotation.
void EditAreaClick(EditContext& ctx, int clientX, int clientY);

}  // namespace ws
