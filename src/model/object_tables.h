// The current object: fixed-capacity point, vector and polygon tables with
// explicit counts, the polygon selection, and the small per-object state.
//
// Record layouts keep the field order the rest of the program relies on; the
// point table block is 20 bytes larger than its records, as it always was.
// The first 7 points and 6 vectors are the reserved axis cross: built once
// by BuildReservedEntries, never written to files, edited or deleted. Files
// number user points from index 7 and user vectors from index 6 as 0.
//
// The add operations check no capacity (callers do, before adding); the
// Can...() helpers say whether room is left. Nothing here ever stores past a
// capacity: an add at capacity is refused and returns kNoIndex.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "resource/handle_memory.h"

namespace ws {

struct Runtime;

inline constexpr std::uint32_t G_MaxPoints = 20000;
inline constexpr std::uint32_t kMaxPoints = G_MaxPoints;
inline constexpr std::uint32_t kMaxVectors = 20000;
inline constexpr std::uint32_t kMaxPolygons = 10000;
inline constexpr std::uint32_t kReservedPoints = 7;   // the axis cross
inline constexpr std::uint32_t kReservedVectors = 6;  // origin to each axis end
inline constexpr std::uint32_t kMaxPolygonPoints = 150;
inline constexpr std::uint32_t kMaxPolygonVectors = 150;
inline constexpr std::uint32_t kMaxViewZones = 20;
inline constexpr std::uint32_t kNoIndex = 0xFFFFFFFFu;

// Sizes of the blocks the tables are allocated in.
inline constexpr std::size_t kPointTableBytes = 1440020;  // 20,000 records + 20
inline constexpr std::size_t kPolygonFillBufferBytes = 131072;

// Polygon flag bits.
namespace PolyFlag {
inline constexpr std::uint32_t kShaded = 0x1;         // "Shaded From Base Color"
inline constexpr std::uint32_t kSelectedColor = 0x2;  // "Selected Color"
inline constexpr std::uint32_t kOutline = 0x4;
inline constexpr std::uint32_t kAdopted = 0x8;  // "Adopted From Group Leader"
inline constexpr std::uint32_t kInvisible = 0x10;
inline constexpr std::uint32_t kNotVisibleFromCollision = 0x20;
inline constexpr std::uint32_t kCollision = 0x40;
inline constexpr std::uint32_t kEntrance = 0x80;
inline constexpr std::uint32_t kBordered = 0x100;
inline constexpr std::uint32_t kViewZone = 0x200;
inline constexpr std::uint32_t kNeverDrawBackFace = 0x400;
inline constexpr std::uint32_t kEachSideDifferent = 0x800;
inline constexpr std::uint32_t kHigherPriority = 0x1000;
inline constexpr std::uint32_t kNotDrawn = 0x40000000;
inline constexpr std::uint32_t kBackFacing = 0x80000000;
inline constexpr std::uint32_t kDefined = 0x502;   // made by polygon definition
inline constexpr std::uint32_t kImported = 0x402;  // made by import
}  // namespace PolyFlag

// View-zone entry: low 14 bits an index, 0x4000 priority Low, 0x8000 the
// index is a vector number (else a polygon number).
namespace ViewZone {
inline constexpr std::uint32_t kIndexMask = 0x3FFF;
inline constexpr std::uint32_t kLowPriority = 0x4000;
inline constexpr std::uint32_t kIsVector = 0x8000;
inline constexpr std::uint32_t kFlagMask = 0xC000;
}  // namespace ViewZone

// Selection marks of vectors and polygons.
inline constexpr std::uint32_t kUnselected = 0;
inline constexpr std::uint32_t kSelected = 1;
inline constexpr std::uint32_t kMarqueeMarked = 128;

struct Point {
  double x;
  double y;
  double z;
  double eyeDepth;  // projection scratch; rotations keep unrounded x here
  double eyeX;      // projection scratch; rotations keep unrounded y here
  double eyeY;      // projection scratch; rotations keep unrounded z here
  std::int32_t screenX;
  std::int32_t screenY;
  std::int32_t screenDepth;
  std::uint32_t isDuplicate;
  std::uint32_t duplicateOf;
};
static_assert(sizeof(Point) * kMaxPoints + 20 == kPointTableBytes);

struct Vector {
  std::uint32_t p1;
  std::uint32_t p2;
  std::uint32_t width;
  std::uint32_t work1;
  std::uint32_t work2;
  std::uint32_t selected;
  std::int32_t attribute;
  std::uint8_t color;
};

struct Polygon {
  double depth;
  std::uint32_t pointCount;
  std::uint32_t vectorCount;
  std::uint32_t viewZoneCount;
  std::uint32_t flags;
  std::uint32_t frontFill;
  std::uint32_t backFill;
  std::uint32_t vectors[kMaxPolygonVectors];
  std::uint32_t viewZones[kMaxViewZones];  // slot 0: group leader with kAdopted
  std::uint32_t points[kMaxPolygonPoints];
  std::uint8_t frontColor;
  std::uint8_t backColor;
};

// Renumbers a polygon's view-zone entries naming polygons (or, with
// `vectorEntries`, vectors) after a removal: `renumber` gives an item's new
// number, or kNoIndex when the item is gone. An entry naming a gone item is
// dropped, the rest close up in order and the freed slots are cleared: a file
// written afterwards must name only what it holds, or it cannot be read back.
// Slot 0 of an adopted polygon holds its group leader, not an entry; it is
// left to the caller, so call this before a leader is cleared.
void RenumberViewZoneEntries(Polygon& poly, bool vectorEntries,
                             const std::function<std::uint32_t(std::uint32_t)>& renumber);
// A polygon whose group leader is gone stops adopting: the flag is cleared
// and slot 0 emptied. When slot 0 was counted in the view-zone list it held
// the leader, not an entry, so it leaves the list instead of naming polygon 0.
void ReleaseLeader(Polygon& poly);

class ObjectTables {
 public:
  explicit ObjectTables(Runtime& rt);
  ObjectTables(const ObjectTables&) = delete;
  ObjectTables& operator=(const ObjectTables&) = delete;

  // Allocates the point and vector tables and the polygon-fill buffer from
  // handle memory (freeing earlier ones first). On failure shows the
  // matching message, sets the runtime's fatal flag and returns false.
  bool AllocateObjectTables();
  bool allocated() const { return points != nullptr && vectors != nullptr; }
  // Writes the axis cross into the reserved slots and sets the counts to
  // 7 points, 6 vectors and 0 polygons.
  void BuildReservedEntries();

  std::uint32_t AddPoint(double x, double y, double z);
  std::uint32_t AddVector(std::uint32_t p1, std::uint32_t p2);
  std::uint32_t AddVectorUnique(std::uint32_t p1, std::uint32_t p2);
  // First exact match from index 0, or 0 when there is none.
  std::uint32_t FindPoint(double x, double y, double z) const;
  // Removes point i and renumbers vector ends and polygon corners above it.
  // An index beyond the table is corruption: message, fatal flag, false.
  bool DeletePoint(std::uint32_t i);
  // Removes user vector k; polygon vector lists above k are renumbered.
  void DeleteVector(std::uint32_t k);
  // Removes polygon k with its selection mark; group leaders and view-zone
  // entries renumbered.
  void DeletePolygon(std::uint32_t k);
  // RenumberViewZoneEntries over every polygon.
  void RenumberViewZones(bool vectorEntries,
                         const std::function<std::uint32_t(std::uint32_t)>& renumber);
  // Empties the object down to the reserved entries.
  void ResetObject();

  bool CanAddPoints(std::uint32_t n) const { return pointCount + std::uint64_t{n} <= kMaxPoints; }
  bool CanAddVectors(std::uint32_t n) const {
    return vectorCount + std::uint64_t{n} <= kMaxVectors;
  }
  bool CanAddPolygons(std::uint32_t n) const {
    return polygonCount + std::uint64_t{n} <= kMaxPolygons;
  }
  std::uint32_t userPointCount() const { return pointCount - kReservedPoints; }
  std::uint32_t userVectorCount() const { return vectorCount - kReservedVectors; }

  // Tables. points/vectors live in handle-memory blocks; polygons and their
  // selection are fixed arrays for the life of the object tables.
  Point* points = nullptr;
  Vector* vectors = nullptr;
  std::vector<Polygon> polygons;               // kMaxPolygons records
  std::vector<std::uint32_t> polygonSelected;  // kMaxPolygons marks
  std::uint8_t* polygonFillBuffer = nullptr;

  std::uint32_t pointCount = kReservedPoints;
  std::uint32_t vectorCount = kReservedVectors;
  std::uint32_t polygonCount = 0;
  std::int32_t currentPolygon = -1;
  std::uint32_t lastPointAdded = 0;
  std::string name = "Default Object";

 private:
  Runtime& rt_;
  Block pointBlock_, vectorBlock_, fillBlock_;
};

}  // namespace ws
