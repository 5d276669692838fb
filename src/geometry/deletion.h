// Deleting the selection. DeleteVector and DeletePolygon themselves are the
// object tables' (model/object_tables.h).
#pragma once

#include "model/object_tables.h"

namespace ws {

inline constexpr std::string_view kNothingToDelete = "There is nothing to delete";

// The table part of Delete: every polygon that is selected or whose vector
// list names a selected vector goes, then every selected user vector; points
// stay (unused ones go with the next merge). The result is the one that
// repeated DeletePolygon (lowest first) and DeleteVector calls give, reached
// in one compaction pass per table: later records move down, polygon vector
// lists are renumbered, group leaders renumbered, and a follower whose
// leader was deleted loses the Adopted bit (leader 0). The current polygon
// drops by one when the last polygon is among those deleted, as
// DeletePolygon does. Returns true when anything was deleted.
bool DeleteSelectedItems(ObjectTables& t);

}  // namespace ws
