// Walk editing: clicking what the walk view shows changes the polygon under
// the pointer (the pick of the last frame), in the render copy and in the
// object at once, so no rebuild is needed. Walk edits take no undo
// snapshot (Undo is greyed in walk mode).
//
// By walk edit mode (the Edit menu's "Walk Editing" items):
//   Color Polygon (3): left button held, the picked polygon's front colour
//     (back colour when the pick saw its back face) becomes the current
//     colour, every frame; a right press gets that colour as the current
//     colour (sound 6);
//   Flip Polygon Face (1): left button, the picked polygon's point order is
//     reversed (FlipFaceWalk on the copy, FlipFace on the object);
//   Set View Zone Priorities (4), only while the viewer stands in a view
//     zone: left button High, right press Low, for the picked polygon in
//     the zone's list (an existing polygon entry rewritten, else appended
//     while the list has room).
// In modes 1 and 4 the polygon last edited is skipped, so a held button
// edits each polygon once. Left actions run after every frame while the
// button is down; right actions once per press.
#pragma once

#include <cstdint>
#include <optional>

#include "model/object_tables.h"
#include "walk/render_world.h"

namespace ws::walk {

inline constexpr int kWalkEditSound = 6;

struct WalkEditInput {
  int mode = 0;               // 1, 3 or 4
  bool leftDown = false;      // the left button is down this frame
  bool rightPressed = false;  // the right button went down since the last frame
  std::uint8_t currentColour = 0;
};

struct WalkEditResult {
  bool objectChanged = false;
  std::optional<std::uint8_t> grabbedColour;  // Color Polygon's right press
  bool playSound = false;                     // sound 6
};

// The polygon last edited in modes 1 and 4 (-1 none); kept across frames.
struct WalkEditState {
  int lastEdited = -1;
};

WalkEditResult ApplyWalkEdit(RenderWorld& world, ObjectTables& tables, WalkEditState& state,
                             const WalkEditInput& in);

// Reverses the point list of a render polygon, as FlipFace does for the
// object's.
void FlipFaceWalk(RenderPolygon& polygon);

// "Clear View Zone List" in walk mode: empties the list of the zone the
// viewer stands in, in the copy and the object. False when it stands in
// none.
bool ClearWalkViewZoneList(RenderWorld& world, ObjectTables& tables);

}  // namespace ws::walk
