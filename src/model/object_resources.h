// The per-object resources of a cluster file (and of the vector-font glyphs
// in the Preferences file): 'PINF', 'PNTS', 'TVCT', 'FACE' and 'ANIM', all
// with id = object number and name = object name, all little-endian. Bytes
// the layouts leave unwritten are written as zero.
//
//   'PINF' 32 bytes: +0 u32 format word (0x200, not checked on reading),
//     +4 u32 object word (carried unchanged), +8 u32 user vectors,
//     +12 u32 user points, +16 u32 polygons, +20..31 unwritten.
//   'PNTS' 24 bytes per user point: f64 x, y, z.
//   'TVCT' 12 bytes per user vector: +0 u32 p1 - 7, +4 u32 p2 - 7,
//     +8 u8 color, +9 u8 low byte of attribute, +10 u8 low byte of width.
//   'FACE' 1,312 bytes per polygon: +0 i32 depth (unwritten), +4 pointCount,
//     +8 vectorCount, +12 viewZoneCount, +16 flags, +20 frontFill,
//     +24 backFill, +28 150 x u32 vectors - 6 (first vectorCount written),
//     +628 20 x u32 viewZones (first viewZoneCount written, all 20 read),
//     +708 150 x i32 points - 7 (first pointCount written), +1308 u8
//     frontColor, +1309 u8 backColor.
//   'ANIM' 2,168 bytes: +0 u32 active slots, +4 3 x u32 first slot word,
//     +16 3 x u32 slot point - 7, +28 3 x u32 active word, +40 3 x i32
//     angle, +52 3 x 600-byte point lists of which the first 50 entries
//     (index - 7) are written and read.
//
// Resources whose count is zero are not written, and an 'ANIM' only when a
// slot is active. Index lists are stored minus the reserved entries (7
// points, 6 vectors), so reserved points come out negative; this module
// only carries the stored values (StoredObject) and leaves their meaning to
// its callers (the cluster loader, the glyph store).
//
// ReadObjectResources is safe on untrusted files: it checks every count
// against the table capacities and the lengths actually read, and every list
// count against 150/150/20, before it returns anything. Index checks depend
// on what the caller's tables reserve: CheckStoredIndices does them.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/object_tables.h"
#include "resource/resource_file.h"

namespace ws {

inline constexpr std::uint32_t kPinfFormatWord = 0x200;
inline constexpr std::size_t kPinfBytes = 32;
inline constexpr std::size_t kPinfBytesRead = 20;  // the last 12 are never read
inline constexpr std::size_t kPointRecordBytes = 24;
inline constexpr std::size_t kVectorRecordBytes = 12;
inline constexpr std::size_t kFaceRecordBytes = 1312;
inline constexpr std::size_t kAnimBytes = 2168;

inline constexpr std::size_t kAnimSlotCount = 3;
inline constexpr std::size_t kAnimSlotPoints = 150;       // room in each slot list
inline constexpr std::size_t kAnimSlotPointsStored = 50;  // entries written and read
// Bytes of 'ANIM' that are read: up to the 50th entry of the third list.
inline constexpr std::size_t kAnimBytesRead = 52 + 2 * 600 + kAnimSlotPointsStored * 4;

// One of the three animation slots of an object. The editor never changes
// them; they are carried from load to store for the render world.
struct AnimationSlot {
  std::uint32_t firstWord = 0;
  std::uint32_t point = 0;                              // point table index
  std::uint32_t active = 0;                             // non-zero: slot in use
  std::int32_t angle = 0;                               // whole degrees
  std::array<std::uint32_t, kAnimSlotPoints> points{};  // point table indices
  bool operator==(const AnimationSlot&) const = default;
};

struct AnimationSlots {
  std::uint32_t activeCount = 0;  // as read from the file
  std::array<AnimationSlot, kAnimSlotCount> slots{};

  bool AnyActive() const;
  std::uint32_t CountActive() const;
  // All three inactive, count 0.
  void Reset() { *this = AnimationSlots{}; }
  bool operator==(const AnimationSlots&) const = default;
};

// ---- Encoding ---------------------------------------------------------------

std::array<std::uint8_t, kPinfBytes> EncodePinf(std::uint32_t objectWord, std::uint32_t userVectors,
                                                std::uint32_t userPoints, std::uint32_t polygons);
// 'PNTS', 'TVCT', 'FACE' of the tables' user entries (empty when none).
std::vector<std::uint8_t> EncodePoints(const ObjectTables& tables);
std::vector<std::uint8_t> EncodeVectors(const ObjectTables& tables);
std::vector<std::uint8_t> EncodeFaces(const ObjectTables& tables);
void EncodeFace(const Polygon& polygon, std::uint8_t* out);  // kFaceRecordBytes
// 'ANIM'; the count of active slots goes first.
std::array<std::uint8_t, kAnimBytes> EncodeAnim(const AnimationSlots& slots);

enum class StoreStatus {
  kOk,
  kFileFull,     // the directory has no room for the new resources; nothing written
  kNameTooLong,  // more than 255 characters; nothing written
  kWriteFailed,  // the resource library refused a write (and said why)
};

// Writes the object as 'ANIM' (when a slot is active; a stale one is
// removed otherwise), 'PINF', and 'PNTS', 'TVCT', 'FACE' when their tables
// are non-empty, all with `id` and `name`, into the open file `ref`. A
// resource whose table is now empty is left as it was. Room in the
// directory and the name length are checked before anything is written.
StoreStatus StoreObjectResources(ResourceFile& files, RefNum ref, std::uint32_t id,
                                 std::string_view name, const ObjectTables& tables,
                                 const AnimationSlots& animation, std::uint32_t objectWord);

// ---- Decoding ---------------------------------------------------------------

// A vector as stored: ends are file numbers (table index - 7).
struct StoredVector {
  std::uint32_t p1 = 0;
  std::uint32_t p2 = 0;
  std::uint8_t color = 0;
  std::uint8_t attribute = 0;
  std::uint8_t width = 0;
  bool operator==(const StoredVector&) const = default;
};

// A polygon as stored: vector entries are table index - 6, point entries
// table index - 7, view zones as they are.
struct StoredPolygon {
  std::int32_t depth = 0;
  std::uint32_t pointCount = 0;
  std::uint32_t vectorCount = 0;
  std::uint32_t viewZoneCount = 0;
  std::uint32_t flags = 0;
  std::uint32_t frontFill = 0;
  std::uint32_t backFill = 0;
  std::array<std::uint32_t, kMaxPolygonVectors> vectors{};
  std::array<std::uint32_t, kMaxViewZones> viewZones{};
  std::array<std::int32_t, kMaxPolygonPoints> points{};
  std::uint8_t frontColor = 0;
  std::uint8_t backColor = 0;
  bool operator==(const StoredPolygon&) const = default;
};

struct StoredPoint {
  double x = 0, y = 0, z = 0;
};

// One object exactly as its resources hold it.
struct StoredObject {
  std::string name;  // the 'PINF' name
  std::uint32_t formatWord = 0;
  std::uint32_t objectWord = 0;
  std::vector<StoredPoint> points;
  std::vector<StoredVector> vectors;
  std::vector<StoredPolygon> polygons;
  bool hasAnimation = false;
  AnimationSlots animation;  // point indices already converted (+7)
};

enum class ObjectReadStatus {
  kOk,
  kMissingPinf,  // no 'PINF' with this id
  kDamaged,      // a resource is short, a count is over a capacity, ...
};

struct ObjectReadResult {
  ObjectReadStatus status = ObjectReadStatus::kOk;
  std::string problem;  // what is wrong, for the message; empty when ok
  bool ok() const { return status == ObjectReadStatus::kOk; }
};

// Capacities the stored counts are checked against: the user part of the
// tables the object is going to.
struct ObjectCapacity {
  std::uint32_t points;
  std::uint32_t vectors;
  std::uint32_t polygons;
};
// The editor's tables less their reserved entries.
inline constexpr ObjectCapacity kEditorObjectCapacity{kMaxPoints - kReservedPoints,
                                                      kMaxVectors - kReservedVectors, kMaxPolygons};

// Reads object `id` from the open file `ref` into `out`. Counts beyond
// `capacity`, resources shorter than their counts need, and polygon list
// counts beyond 150/150/20 are reported as kDamaged; `out` is then
// unspecified. Nothing outside `out` changes.
ObjectReadResult ReadObjectResources(ResourceFile& files, RefNum ref, std::uint32_t id,
                                     const ObjectCapacity& capacity, StoredObject& out);

// Decoders of single records (the caller has checked the length).
StoredPolygon DecodeFace(const std::uint8_t* in);
AnimationSlots DecodeAnim(const std::uint8_t* in);

// Checks every stored index against the object's own tables, given how
// many entries the target tables reserve below the stored numbering:
// vector ends and polygon corners in [-reservedPoints, points), the first
// vectorCount polygon vector entries in [-reservedVectors, vectors), and a
// group leader (flag 0x8, view-zone slot 0) below the polygon count.
// Returns a description of the first bad index, or an empty string.
std::string CheckStoredIndices(const StoredObject& object, std::uint32_t reservedPoints,
                               std::uint32_t reservedVectors);

// ---- The editor's tables ---------------------------------------------------

// An object read for the editor's tables and checked completely, waiting to
// replace the current one: installing it cannot fail. It keeps the raw
// 'PNTS', 'TVCT' and 'FACE' records and only what the conversion works out
// (added points, corners, rebuilt edges), so that a full object is read
// without copying its polygon records more than once.
struct EditorObject {
  std::string name;
  std::uint32_t objectWord = 0;
  AnimationSlots animation;  // all inactive when the object has no 'ANIM'
  std::uint32_t userPoints = 0;
  std::uint32_t userVectors = 0;
  std::uint32_t polygonCount = 0;
  Block points;                          // 'PNTS' records
  Block vectors;                         // 'TVCT' records
  Block faces;                           // 'FACE' records
  std::vector<StoredPoint> addedPoints;  // appended for reserved corners
  // Every polygon's corners and vector entries as table indices, polygon
  // after polygon; polygon i owns [cornerStart[i], cornerStart[i + 1]).
  std::vector<std::uint32_t> corners;
  std::vector<std::uint32_t> edges;
  std::vector<std::uint32_t> cornerStart;
  std::uint32_t lastPointAdded = kNoIndex;  // set when a reserved corner added a point
};

// Reads object `id` for the editor's tables: points from index 7, vectors
// from index 6 (ends + 7), polygon vector entries + 6, corners + 7. A
// negative corner names a reserved point of `tables`: its coordinates are
// looked up from index 0 (FindPoint) and, when that gives the origin, added
// as a user point (AddPoint: the first user point with exactly those
// coordinates, else a new one). Then every polygon's vector list is rebuilt
// from its corners (RebuildPolygonVectorLists). Everything ReadObjectResources
// checks is checked, and vector ends and corners against the object's own
// tables; the stored vector lists are not checked, since the rebuild
// replaces them: kDamaged only when a corner keeps an edge outside the
// vector table, or an added point would pass the capacity. A group leader
// outside the object is dropped (flag 0x8 cleared, slot 0 set to 0).
// `tables` is only read.
ObjectReadResult ReadEditorObject(ResourceFile& files, RefNum ref, std::uint32_t id,
                                  const ObjectTables& tables, EditorObject& out);
// Replaces the current object's tables (counts, records, object word,
// animation slots) with `object`; every vector and polygon selection is
// cleared and there is no current polygon. The tables must be allocated.
void InstallEditorObject(const EditorObject& object, ObjectTables& tables,
                         AnimationSlots& animation, std::uint32_t& objectWord);

// The two ends of a vector, all the vector-list rebuild looks at.
struct VectorEnds {
  std::uint32_t p1;
  std::uint32_t p2;
};

// The vector list of every polygon rebuilt from its corners: vectorCount =
// pointCount, and entry k becomes the lowest-numbered vector of the whole
// table (index 0 up) that has corner k as either end and is not among
// entries 0 .. k-1; a corner without one keeps its entry. Works through a
// point-to-vectors index, so it costs the size of the tables rather than
// their product. `pointCount` bounds every vector end and corner (ends
// beyond it join no corner). Polygon i's corners are
// corners[cornerStart[i] .. cornerStart[i+1]) and `edges` holds its entries
// at the same positions, rebuilt in place. Returns kNoIndex, or the number
// of the first polygon left with an entry outside the vector table (the
// rebuild stops there).
std::uint32_t RebuildPolygonVectorLists(std::span<const VectorEnds> vectors,
                                        std::uint32_t pointCount,
                                        std::span<const std::uint32_t> corners,
                                        std::span<const std::uint32_t> cornerStart,
                                        std::span<std::uint32_t> edges);
// The same on whole records; on failure the polygons are left as they were.
std::uint32_t RebuildPolygonVectorLists(std::span<const Vector> vectors, std::uint32_t pointCount,
                                        std::span<Polygon> polygons);

}  // namespace ws
