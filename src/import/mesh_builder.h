// The face collector of the import and export paths.
//
// MeshBuilder collects polygonal faces into up to 256 named groups over one
// shared point list and one shared table of distinct materials. Corners
// closer than 1e-5 to an earlier point (found through a 51-bucket hash on
// the point's distance from the origin) reuse that point.
//
// Per face the caller runs BeginFace, AddVertex for each corner in order,
// then EndFace. Every list is a BlockArray (at most 500,000 entries); the
// builder never stores past one: a face it cannot start is ignored as a
// whole, and a corner for which there is no room (for the corner and the
// face's closing -1) is dropped, so the face index lists always stay made of
// whole faces, each ended by -1.
//
// ImportCollector is the builder the import pipeline collects into: it also
// records every distinct edge of the collected faces, a corner-edge list
// parallel to each group's face index list, the bounding box of the corners
// and the collection counters.
//
// Inside a bucket the search goes through a grid of cells a few times the
// tolerance wide, which finds exactly the point a scan of the bucket in
// index order would find first (the lowest index within 1e-5), without
// the scan's cost on large files. Safe on any input values: a non-finite
// coordinate is never within the tolerance of anything, so such corners
// always make new points.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "import/block_array.h"
#include "import/material_value.h"

namespace ws {

// One group of a builder: its name, its face index list (each face's point
// indices followed by -1), its face material list (one shared-table index
// per face) and its material list (the shared-table indices first used by
// this group, in order of first use).
struct MeshGroup {
  std::string name;
  BlockArray<std::int32_t> faceIndices;
  BlockArray<std::int32_t> faceMaterials;
  BlockArray<std::int32_t> materials;
};

class MeshBuilder {
 public:
  static constexpr std::size_t kMaxGroups = 256;
  static constexpr std::size_t kHashBuckets = 51;

  // Empty, group 0 (named "") current.
  MeshBuilder();
  // Starts from a point list handed in by the creator; later corners weld
  // against those points too.
  explicit MeshBuilder(BlockArray<Vec3> points);
  MeshBuilder(const MeshBuilder&) = delete;
  MeshBuilder& operator=(const MeshBuilder&) = delete;
  virtual ~MeshBuilder();

  // Starts a face with `material` (nullptr: the default MaterialValue): the
  // first equal entry of the shared table, or a new entry that is also
  // appended to the current group's material list. Sets the
  // materials-present flag. False (and the face is ignored up to its
  // EndFace) when a list is full.
  virtual bool BeginFace(const MaterialValue* material);
  // Appends -1 to the current group's face index list.
  virtual void EndFace();
  // The point index of the corner (an earlier point within 1e-5, first
  // found in its bucket, or a new one), appended to the current group's
  // face index list. -1 when the corner was dropped for want of room.
  virtual std::int32_t AddVertex(double x, double y, double z);
  // Makes the group of that name (exact bytes) current, or names the next
  // free slot and makes it current. False, current group unchanged, when
  // all 256 slots are taken.
  virtual bool SelectGroup(std::string_view name);
  // The name of group `index`; empty for an index beyond the groups.
  virtual std::string_view GroupName(std::size_t index) const;

  // bucket = trunc(9.87 * sqrt((12.3x)^2 + (23.4y)^2 + (34.5z)^2)) mod 51.
  static std::size_t PointBucket(double x, double y, double z);

  const BlockArray<Vec3>& points() const { return points_; }
  std::size_t groupCount() const { return groups_.size(); }
  std::size_t currentGroup() const { return current_; }
  const MeshGroup& group(std::size_t g) const { return *groups_[g]; }
  const BlockArray<MaterialValue>& materialTable() const { return materials_; }
  bool materialsPresent() const { return materialsPresent_; }

  // Accessors of the export and of the conversion.
  const BlockArray<std::int32_t>& FaceIndices(std::size_t g) const {
    return groups_[g]->faceIndices;
  }
  std::size_t GroupMaterialCount(std::size_t g) const { return groups_[g]->materials.size(); }
  // The MaterialValue of group g's n-th material (n below the count).
  const MaterialValue& GroupMaterial(std::size_t g, std::size_t n) const;
  // The position of face `face`'s material within its group's material
  // list; -1 when the face has no material entry or its material was first
  // used by another group.
  std::int32_t FaceMaterialPosition(std::size_t g, std::size_t face) const;
  // The MaterialValue of face `face` of group g; the default when the group
  // has no material entry for it.
  MaterialValue FaceMaterial(std::size_t g, std::size_t face) const;

  // Empties the builder (points, materials, every group) and makes group 0,
  // named "", current again: what is left after a hand-over.
  void Clear();

 protected:
  MeshGroup& currentGroupRef() { return *groups_[current_]; }
  // The point index for (x, y, z), welding; -1 when a new point is needed
  // and the point list is full.
  std::int32_t FindOrAddPoint(double x, double y, double z);
  bool faceRefused() const { return faceRefused_; }

 private:
  struct CellKey {
    std::int64_t x, y, z;
    std::uint32_t bucket;
    bool operator==(const CellKey&) const = default;
  };
  // One cell of the open-addressed cell table: its key and its most
  // recent point (-1: the slot is free).
  struct CellSlot {
    CellKey key;
    std::int32_t head;
  };
  static bool CellOf(const Vec3& p, CellKey& key);
  // The head of the cell's chain; nullptr when no point is in the cell.
  const std::int32_t* FindCell(const CellKey& key) const;
  std::int32_t& InsertCell(const CellKey& key);
  void AddToHash(std::int32_t index);

  BlockArray<Vec3> points_;
  BlockArray<MaterialValue> materials_;
  // Per cell of a bucket the most recent point (a power-of-two table, at
  // most half full); cellNext_ chains the cell's earlier points.
  std::vector<CellSlot> cells_;
  std::size_t cellCount_ = 0;
  std::vector<std::int32_t> cellNext_;
  std::vector<std::unique_ptr<MeshGroup>> groups_;
  std::size_t current_ = 0;
  bool materialsPresent_ = false;
  bool faceRefused_ = false;
};

struct Edge {
  std::int32_t p1 = 0;
  std::int32_t p2 = 0;
};

// The import pipeline's collector. On top of MeshBuilder:
// - AddVertex records the edge from the previous corner of the face to the
//   new one (an unordered point pair, de-duplicated) as the previous
//   corner's entry of the corner-edge list.
//   A corner that is the same point as the previous one is not added at
//   all; it returns -1 (no edge).
// - EndFace drops a last corner that is the first one again and records the
//   closing edge from the last corner to the first (none for a face of one
//   corner: its entry stays -1).
// - Every corner widens the bounding box; the first sets both of its
//   corners. Faces and corners are counted.
// So each group's corner-edge list is parallel to its face index list, -1
// standing at each face end.
class ImportCollector : public MeshBuilder {
 public:
  ImportCollector();

  bool BeginFace(const MaterialValue* material) override;
  void EndFace() override;
  std::int32_t AddVertex(double x, double y, double z) override;

  const BlockArray<Edge>& edges() const { return edges_; }
  // Empty for a group that never received a face.
  const BlockArray<std::int32_t>& CornerEdges(std::size_t g) const;

  bool hasBounds() const { return hasBounds_; }
  const Vec3& boundsMin() const { return min_; }
  const Vec3& boundsMax() const { return max_; }
  std::size_t facesCollected() const { return facesCollected_; }
  std::size_t cornersCollected() const { return cornersCollected_; }

 private:
  BlockArray<std::int32_t>& CurrentCornerEdges();
  std::int32_t FindOrAddEdge(std::int32_t a, std::int32_t b);

  BlockArray<Edge> edges_;
  // Unordered point pair -> edge index. Edges are distinct, so any exact
  // lookup finds what a bucket scan would.
  std::unordered_map<std::uint64_t, std::int32_t> edgeIndex_;
  std::vector<std::unique_ptr<BlockArray<std::int32_t>>> cornerEdges_;
  BlockArray<std::int32_t> noCornerEdges_;
  // The face being collected: its group, the position of its first corner
  // in the face index list, and its corner count so far.
  std::size_t faceStart_ = 0;
  std::size_t faceCorners_ = 0;
  bool hasBounds_ = false;
  Vec3 min_, max_;
  std::size_t facesCollected_ = 0;
  std::size_t cornersCollected_ = 0;
};

}  // namespace ws
