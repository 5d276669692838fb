// One frame of the walk view (RenderFrame, declared in render_world.h) and
// the pieces a test can look at on their own.
//
// Frame order: background (Hide Environment black, else sky rows, the ground
// band and the texture-mapped floor), the item's points into the viewer's
// frame, one sort entry per drawable polygon and draw-list vector, the sort
// by key ascending, then drawing from the last entry to the first (farthest
// first), each polygon tested against the pointer before it is drawn, and
// the outline of the polygon under the pointer drawn last.
//
// The viewer's frame: the first component is negative ahead of the viewer
// (its size the distance ahead), the second the offset to the right, the
// third the height above the eye. The camera is built from the heading, the
// same angle the walking direction comes from, so what is seen ahead is
// always where the viewer walks.
#pragma once

#include <span>

#include "walk/render_world.h"

namespace ws::walk {

// Added to or taken from a sort key by a sorting priority.
inline constexpr double kPriorityShift = 12800.0;
// Points nearer than this ahead of the viewer are clipped away.
inline constexpr double kNearDistance = 1.0;
// Floor texels per world unit; where one screen pixel would span more than a
// texel the ground band is drawn instead of the texture.
inline constexpr double kFloorTexelsPerUnit = 1.0;

// Sorts by key, ascending, in the order of a quicksort that takes the first
// element of each range as its pivot (Lomuto partition). `scratch` holds at
// least as many entries; nothing is allocated.
void SortEntries(std::span<SortEntry> entries, std::span<SortEntry> scratch);

// Even-odd test of pixel (x, y) against a closed outline.
bool OutlineContains(std::span<const ScreenPoint> outline, int x, int y);

// The background alone: black, or sky, ground and floor for the viewer's
// position and heading.
void DrawBackground(RenderWorld& world, const WalkDisplay& display, PixelRows target);

}  // namespace ws::walk
