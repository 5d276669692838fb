// The table part of polygon definition: order a set of vectors into a closed
// loop, check it, and append the polygon record. The editor's Define Polygon
// button wraps it with its undo step and facing check; Duplicate and Connect
// Copy and the primitive generators call it directly.
#pragma once

#include <cstdint>
#include <span>

#include "model/color_table.h"
#include "model/object_tables.h"
#include "platform/ui.h"

namespace ws {

inline constexpr std::string_view kTooFewVerticesMessage =
    "At least 3 verticies are required to define a polygon.";
inline constexpr std::string_view kBadPolygonMessage = "Bad polygon. Please try again.";
inline constexpr std::string_view kNotConnectedMessage =
    "Points do not connect to define a polygon.";
inline constexpr std::string_view kNotConvexXY =
    "Warning: Bad polygon (not convex). Check x/y plane.";
inline constexpr std::string_view kNotConvexZY =
    "Warning: Bad polygon (not convex). Check z/y plane.";
inline constexpr std::string_view kNotConvexXZ =
    "Warning: Bad polygon (not convex). Check x/z plane.";
inline constexpr std::string_view kPolygonTooManyVectors =
    "A polygon can be made of at most 150 vectors.";
inline constexpr std::string_view kPolygonTableFull =
    "The object already holds the maximum of 10000 polygons.";

// Defines a polygon from the user vectors `vectors` (any order; duplicates
// and numbers outside the user vectors are ignored), taken in index order.
// The loop starts at the lowest vector's first point, which is also the
// current end; each step takes the first unused vector (in index order)
// touching the current end and moves to its other point, until as many
// points as vectors are placed; the loop must end at the lowest vector's
// second point. Messages (all Notification): fewer than 3 vectors
// kTooFewVerticesMessage; more than 150 kPolygonTooManyVectors; a full
// polygon table kPolygonTableFull (these three write nothing and leave the
// marks alone); no connecting vector kBadPolygonMessage; a loop that does not
// close kNotConnectedMessage (these two clear the counts of the slot past
// the last polygon). A loop whose turns change sign in a coordinate plane
// gives that plane's warning and is created all the same. The new record:
// point and vector counts n, vectors in index order, points in loop order,
// flags 0x502, front colour and fill word from `color`, back colour, fill,
// depth and view-zone list 0, polygon selection mark 0.
// The selection marks of `vectors` are cleared except after the first three
// refusals. Returns the new polygon's number, or -1.
std::int32_t DefinePolygonFromVectors(ObjectTables& t, Ui& ui,
                                      std::span<const std::uint32_t> vectors, std::uint8_t color);

// The same from the selected user vectors; after a definition or an ordering
// failure every vector's selection mark is cleared.
std::int32_t DefinePolygonFromSelection(ObjectTables& t, Ui& ui, std::uint8_t color);

}  // namespace ws
