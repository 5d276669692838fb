// Duplicate, and Duplicate and Connect Copy. The undo steps are taken by the
// menu commands (commands.h).
#pragma once

#include "geometry/geometry_context.h"

namespace ws {

inline constexpr std::string_view kNothingToDuplicate = "There is nothing to duplicate";

// Duplicate: a copy of the selection offset by minus one grid step in x and
// y (z kept), under the busy cursor.
// 1. Every vector of every selected polygon is selected. With no selected
//    user vector and no selected polygon, kNothingToDuplicate is shown
//    (Notification) and nothing changes.
// 2. The capacities are checked first: two points and one vector per
//    selected vector, one point per corner and one polygon per selected
//    polygon; when they do not fit, CheckCapacity's refusal is shown and
//    nothing changes (the selection marks included).
// 3. Each selected vector (those present at the start, in order) loses its
//    mark and gets a copy between two new points (x - g, y - g, z), appended
//    without search, selected, with the source's colour, attribute, width.
// 4. Each selected polygon gets a copy appended with new points for its
//    corners, the source's counts, flags, fills, colours and depth, selected
//    (the source stays selected). The copy's view-zone list holds, in the
//    source's order, the entries naming a duplicated polygon (vector bit
//    clear), each renumbered to that polygon's copy with its priority bit
//    kept; other entries are left out. An Adopted copy keeps its leader, or
//    names the leader's copy when the leader was duplicated too.
// 5. When step 3 appended points, MergeDuplicatesFrom the first of them: the
//    corners of the polygon copies fall onto the vector copies.
// 6. The copies' vector lists are rebuilt from their point loops
//    (RebuildVectorLists), so they can be edited like any polygon.
// Returns true when something was duplicated.
bool DuplicateSelection(GeometryContext& ctx);

// Duplicate and Connect Copy: for each selected user vector V = P1-P2 (those
// present at the start, in order) the points A and B 20 units behind P1 and
// P2 (z - 20) are found or added with AddPoint, the vectors P1-A, P2-B and
// A-B found or added with AddVectorUnique (A-B gets V's width; vectors it
// appends are fresh records). Then every selection mark is cleared, each
// quadruple (V, P1-A, A-B, P2-B) is defined as a polygon
// (DefinePolygonFromVectors, the context's current colour) whose flags then
// become 2 (Selected Color only), and RemoveDuplicateGeometry runs over the
// whole object. Before writing anything the capacities are checked against
// the points, vectors and polygons the command would add (points and
// vectors that already exist are not counted); when they do not fit,
// CheckCapacity's refusal is shown and nothing changes. Returns true unless
// it was refused.
bool ConnectCopy(GeometryContext& ctx);

}  // namespace ws
