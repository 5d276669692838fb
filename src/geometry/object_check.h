// Check Object: what in the current object's game attributes and geometry
// will not work in walk mode or in another program, found without changing
// anything. Safe on any table contents (indices past the tables, counts past
// the record capacities, NaN coordinates): a reference that names nothing is
// itself a finding and is never followed.
//
// Findings come in a fixed order: the object-wide attribute findings
// (Collision without Entrance, several Collision, several Entrance, too many
// View Zones), then per polygon in polygon order (broken references, view-zone
// entries, group leader, degenerate / not coplanar / not convex), then the
// unused vectors, the unused points and the groups of coincident points.
// Polygons are numbered from 0, vectors and points as in files (table index
// less 6 and 7), the numbering of `wirestead-cli dump`.
//
// Tolerances, in model units (coordinates are whole numbers after every edit
// command, so each tolerance sits well clear of both real faults and the
// rounding those commands do):
// - kPlaneTolerance: a polygon is not coplanar when one of its points lies
//   farther than this from the plane through its centroid with its Newell
//   normal. Rounding a point to whole numbers moves it at most sqrt(3)/2
//   (about 0.87) off its plane, so rounding alone never reports one.
// - kMinPolygonArea: a polygon with at least 3 distinct points whose area is
//   below this is degenerate (its points are collinear). With whole-number
//   coordinates a real triangle has an area of at least 0.5.
// - kTurnTolerance: a corner turns the wrong way (not convex) only when its
//   turn, the cross product of its two edges along the unit normal, is below
//   minus this; straight corners (turn 0) are allowed.
// Coincident points use the rule of Remove Duplicate Geometry: exact equality
// of x, y and z (0.0 equals -0.0, a NaN equals nothing), with no tolerance.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/object_tables.h"

namespace ws {

inline constexpr double kPlaneTolerance = 1.0;
inline constexpr double kMinPolygonArea = 1.0 / 1024.0;
inline constexpr double kTurnTolerance = 1.0 / 1024.0;
// Walk mode records this many View Zone polygons, the first in polygon order.
inline constexpr std::uint32_t kRecordedViewZones = 10;

enum class CheckKind {
  kCollisionWithoutEntrance,
  kSeveralCollision,
  kSeveralEntrance,
  kTooManyViewZones,
  kBrokenReference,
  kViewZoneEntryMissing,
  kViewZoneEntrySelf,
  kMissingGroupLeader,
  kDegenerate,
  kNotCoplanar,
  kNotConvex,
  kUnusedVectors,
  kUnusedPoints,
  kCoincidentPoints,
};

struct CheckFinding {
  CheckKind kind;
  std::string message;                  // one sentence for people
  std::vector<std::uint32_t> polygons;  // from 0
  std::vector<std::uint32_t> vectors;   // file numbering (index - 6)
  std::vector<std::uint32_t> points;    // file numbering (index - 7)
};

// The stable name of a kind in the CLI's JSON, e.g. "not-convex".
std::string_view CheckKindName(CheckKind kind);

std::vector<CheckFinding> CheckObject(const ObjectTables& t);

// Marks what a finding names as selected, adding to the marks already set
// (the editor clears them first): its polygons, its vectors and every user
// vector ending at one of its points (points are selected through their
// vectors). Numbers no longer in the tables are passed over, so a finding
// older than the last edit is harmless. Returns the number of marks set.
std::uint32_t MarkFinding(ObjectTables& t, const CheckFinding& finding);

}  // namespace ws
