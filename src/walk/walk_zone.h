// The zone test of walk mode: which item the viewer is at, which view zone
// it stands in, and whether the Collision and Entrance polygons let a trial
// position through. Run by the motion step on each trial position
// (walk_motion.h); it keeps the viewer's inside-state and current view zone.
//
// Items: the nearest item whose origin is within its radius + 40 (ground
// plane distance) is the current one. The inside tests use the even-odd
// rule on the viewer's (x, y) against the polygon's world points, height
// ignored. By the item's zone mode:
//   0 (no Collision polygon): always allowed; inside a polygon sets the
//     inside-state;
//   1 (Collision, no Entrance): inside the Collision polygon is refused;
//   2 (Collision and Entrance): the way in is through the Entrance polygon,
//     or over the top (eye at least 1 above the item's highest point); once
//     inside, the viewer can't leave over the walls while the ground level
//     is at or below the highest point, only back out through the Entrance.
// Every refusal asks for sound 7.
//
// View zones: the first View Zone polygon (of the items within 65535, in
// order) containing the viewer is the current zone; its view-zone list is
// split into the polygon list (entries without bit 15, whole) and the
// vector list (entries with bit 15, the bit cleared). The lists are
// refilled on each test, so edits to the zone's list show at once; they
// stay within the capacity reserved at build time.
#pragma once

#include "walk/render_world.h"

namespace ws::walk {

inline constexpr double kNearItemDistance = 65535.0;
inline constexpr double kClimbClearance = 1.0;
inline constexpr int kRefusalSound = 7;

struct ZoneTestResult {
  int answer = 0;            // 0 allowed, 1 refused
  bool playRefusal = false;  // sound 7
  bool zoneChanged = false;  // the current view zone changed: redraw
};

// Even-odd test of (x, y) against polygon `polygon` of item `item`, in
// world space. False for a polygon number out of range.
bool InsideItemPolygon(const RenderWorld& world, const WalkItem& item, std::int32_t polygon,
                       double x, double y);

// The test for the viewer at (x, y) with eye height `eye` (the viewer's
// ground level is used as it stands).
ZoneTestResult ZoneTest(RenderWorld& world, double x, double y, double eye);

}  // namespace ws::walk
