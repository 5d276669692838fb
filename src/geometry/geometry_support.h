// Small pieces shared by the geometry operations: the two rounding rules,
// appends that make fresh records, the capacity check every growing command
// runs before it writes anything, and the rebuild of polygon vector lists
// from their point loops.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "model/object_tables.h"

namespace ws {

enum class Axis { kX, kY, kZ };

// Rounds half away from zero: v >= 0 gives trunc(v + 0.5), v < 0 gives
// trunc(v - 0.5). A zero result is +0, so files never show "-0".
double RoundHalfAwayFromZero(double v);
// Truncates toward zero; a zero result is +0.
double TruncToWhole(double v);

// Appends a point at the end of the table without looking for an equal one;
// every scratch field starts at 0. The caller has checked the capacity.
std::uint32_t AppendPoint(ObjectTables& t, double x, double y, double z);
// AddVector, then the new record is made fresh: width, colour, attribute,
// selection mark and merge scratch all 0 (a slot keeps nothing of the vector
// that used it before). The caller has checked the capacity.
std::uint32_t AppendFreshVector(ObjectTables& t, std::uint32_t p1, std::uint32_t p2);
// AddVectorUnique; when it appended, the new record is made fresh as above.
// An existing vector it found is returned untouched.
std::uint32_t AddFreshVectorUnique(ObjectTables& t, std::uint32_t p1, std::uint32_t p2);

// Room a command needs in the three tables, beyond their current counts.
struct TableNeeds {
  std::uint64_t points = 0;
  std::uint64_t vectors = 0;
  std::uint64_t polygons = 0;
};

// Empty when the tables can take `needs`; otherwise the refusal, naming the
// first table that would overflow: "Not enough room in the object <action>:
// it would exceed the limit of 20000 points." (`action` is, for instance,
// "to duplicate the selection").
std::optional<std::string> CheckCapacity(const ObjectTables& t, const TableNeeds& needs,
                                         std::string_view action);

// Refills the vector lists of polygons [begin, end) from their point loops:
// for each edge (point i to point i + 1, the last back to the first) the
// lowest-numbered user vector joining the two points in either direction;
// an edge that no vector joins is left out, so vectorCount may end below
// pointCount. One pass over the vector table, whatever the range.
void RebuildVectorLists(ObjectTables& t, std::uint32_t begin, std::uint32_t end);

// True when any user vector (index 6 on) carries a selection mark.
bool AnyVectorSelected(const ObjectTables& t);

}  // namespace ws
