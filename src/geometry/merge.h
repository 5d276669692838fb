// The merge of coincident geometry: points with exactly equal coordinates
// become one, points that no vector and no polygon uses are removed, and
// vectors joining the same two points (in either direction) become one, with
// every reference redirected first.
//
// The result is the one the plain method gives (compare every pair, then
// delete one record at a time with DeletePoint / DeleteVector, each
// renumbering every table), reached with hash indexes and a single
// compaction pass per table: the used parts of the tables, the counts and
// the merge scratch fields (`isDuplicate`, `duplicateOf`, `work1`, `work2`)
// come out the same. Slots above the counts are not kept in step with the
// plain method; nothing reads them as data.
#pragma once

#include <cstdint>

#include "model/object_tables.h"
#include "resource/runtime.h"

namespace ws {

// The merge over the whole object (points from 7 on). Busy cursor for its
// duration. When no user point is left, the vector count drops to 6 and the
// polygon count to 0. A vector whose replacement names itself (which the
// pair order rules out) would show "Internal Error" and the merge go on.
void RemoveDuplicateGeometry(ObjectTables& t, Runtime& rt);

// The same merge with the point steps limited to points numbered `first`
// and above (clamped to 7): earlier points are neither merged, nor removed,
// nor marked, and are never the replacement of a later one. Vectors are
// merged over the whole object. Surviving points from `first` on end with
// `isDuplicate` 1 and `duplicateOf` 0 (the "in use" mark of the last step);
// surviving vectors with `work1` 0 and `work2` as they were.
void MergeDuplicatesFrom(ObjectTables& t, Runtime& rt, std::uint32_t first);

}  // namespace ws
