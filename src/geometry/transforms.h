// Rotations and mirrors of the selection, about the world origin. The undo
// steps and the reversal of every polygon after a mirror belong to the menu
// commands (commands.h).
#pragma once

#include "geometry/geometry_support.h"
#include "model/object_tables.h"

namespace ws {

// Rotates by `degrees` about the x or y axis (kZ does nothing). The points
// moved: with at least one user vector selected, every user point that ends
// a selected vector; with none selected, every user point. Each is visited
// once, in point order. With d the menu's degrees, about y:
// x' = cos d x + sin d z, z' = -sin d x + cos d z; about x:
// y' = cos d y - sin d z, z' = sin d y + cos d z (the angle is taken as
// d times -0.017453292519943295 and applied as a column matrix, which gives
// exactly these). The rotation starts from the point's stored x, y, z; the
// unrounded results go to eyeDepth, eyeX and eyeY, and x, y, z become them
// rounded half away from zero. Returns the number of points moved.
std::uint32_t RotateSelection(ObjectTables& t, Axis axis, double degrees);

// Mirrors about the plane through the origin normal to `axis`: walking the
// selected user vectors in order, first point then second, each user point
// not yet mirrored has that coordinate negated (so a point shared by several
// selected vectors moves once; zero stays +0). eyeDepth, eyeX, eyeY are not
// touched. With nothing selected nothing moves. Polygon point lists are not
// touched here. Returns the number of points moved.
std::uint32_t MirrorSelection(ObjectTables& t, Axis axis);

}  // namespace ws
