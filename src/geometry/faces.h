// Operations on the selected polygons: reversing a face, emptying view-zone
// lists, and splitting polygons into triangles. The undo steps of the menu
// commands are taken in commands.h.
#pragma once

#include <cstdint>
#include <optional>

#include "model/object_tables.h"
#include "platform/ui.h"

namespace ws {

// Reverses the point list of polygon k in place (P0 ... Pn-1 becomes
// Pn-1 ... P0), which turns its front face into its back face. The vector
// list, the counts and every attribute stay. Needs no memory, so it cannot
// fail; a number past the polygon count does nothing.
void FlipFace(ObjectTables& t, std::uint32_t k);

// "Flip Polygon Face": FlipFace on each selected polygon, in order. True
// when at least one polygon was flipped (the views then need a redraw).
bool FlipSelectedFaces(ObjectTables& t);

// "Clear View Zone List": outside walk mode (`walkZone` empty) every
// selected polygon's view-zone count becomes 0 (the entries stay in the
// record but no longer count); in walk mode the list of polygon `walkZone`,
// the zone the viewer stands in, is emptied instead. True when a list was
// emptied.
bool ClearViewZoneLists(ObjectTables& t, std::optional<std::uint32_t> walkZone = std::nullopt);

// Tessellate: every selected polygon of more than three points is halved
// again and again until only triangles are left. One split of P0 ... Pn-1
// (m = n / 2) appends the diagonal P0-Pm with AddVector (a fresh record),
// appends A = P0 ... Pm and B = Pm ... Pn-1 P0 with the source's flags, fill
// words, colours, view-zone count and list and depth, both selected, and
// deletes the source with DeletePolygon; the scan then restarts from the
// first polygon. The result is the one that repeated splitting gives
// (computed directly, without moving the table once per split): the
// unsplit polygons keep their order, the triangles follow in the order
// they were made, group leaders are renumbered and a follower whose leader
// was split loses the Adopted bit, as DeletePolygon does. The triangles'
// vector lists are then rebuilt from their point loops (RebuildVectorLists).
// Before writing anything the capacities are checked: the splits append
// (n - 3) vectors and leave n - 2 triangles per polygon; when the tables
// cannot take them the refusal of CheckCapacity is shown (Notification) and
// nothing changes. Returns true when anything was split.
bool Tessellate(ObjectTables& t, Ui& ui);

}  // namespace ws
