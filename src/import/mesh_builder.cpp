#include "import/mesh_builder.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace ws {

MeshBuilder::MeshBuilder() { Clear(); }

MeshBuilder::MeshBuilder(BlockArray<Vec3> points) {
  Clear();
  points_ = std::move(points);
  for (std::size_t i = 0; i < points_.size(); ++i) AddToHash(static_cast<std::int32_t>(i));
}

MeshBuilder::~MeshBuilder() = default;

void MeshBuilder::Clear() {
  points_.Clear();
  materials_.Clear();
  cells_.clear();
  cells_.shrink_to_fit();
  cellCount_ = 0;
  cellNext_.clear();
  cellNext_.shrink_to_fit();
  groups_.clear();
  groups_.push_back(std::make_unique<MeshGroup>());
  current_ = 0;
  materialsPresent_ = false;
  faceRefused_ = false;
}

std::size_t MeshBuilder::PointBucket(double x, double y, double z) {
  const double a = 12.3 * x, b = 23.4 * y, c = 34.5 * z;
  const double t = std::trunc(9.87 * std::sqrt(a * a + b * b + c * c));
  if (!std::isfinite(t)) return 0;
  return static_cast<std::size_t>(std::fmod(t, static_cast<double>(kHashBuckets)));
}

namespace {

// Four times the tolerance: two points closer than the tolerance are never
// more than one cell apart on any axis, even after the division rounds.
constexpr double kCellSize = 4 * kImportTolerance;
// Cell numbers up to here are exact integers of a double.
constexpr double kExactCells = 9007199254740992.0;  // 2^53

std::int64_t CellNumber(double v) {
  const double c = std::floor(v / kCellSize);
  if (std::fabs(c) < kExactCells) return static_cast<std::int64_t>(c);
  // So far out, neighbouring doubles lie further apart than the tolerance:
  // only equal values weld, and the value itself serves as the cell. Its
  // bit pattern, read as an integer, lies beyond every exact cell number.
  std::int64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  return bits;
}

// Which neighbours of q's cell on one axis can hold a point within the
// tolerance: only those that q lies near (a quarter cell, widened by what
// the division may have rounded away).
void NeighbourRange(double v, std::int64_t cell, std::int64_t& lo, std::int64_t& hi) {
  const double scaled = v / kCellSize;
  if (!(std::fabs(std::floor(scaled)) < kExactCells)) {
    lo = hi = 0;
    return;
  }
  const double offset = scaled - static_cast<double>(cell);
  const double slack = 0.3 + std::fabs(scaled) * 4e-16;
  lo = offset < slack ? -1 : 0;
  hi = offset > 1 - slack ? 1 : 0;
}

std::uint64_t Mix(std::uint64_t h) {  // splitmix64's finaliser
  h ^= h >> 30;
  h *= 0xBF58476D1CE4E5B9ull;
  h ^= h >> 27;
  h *= 0x94D049BB133111EBull;
  return h ^ (h >> 31);
}

std::size_t CellHashOf(std::int64_t x, std::int64_t y, std::int64_t z, std::uint32_t bucket) {
  std::uint64_t h = Mix(static_cast<std::uint64_t>(x));
  h = Mix(h ^ static_cast<std::uint64_t>(y));
  h = Mix(h ^ static_cast<std::uint64_t>(z));
  return static_cast<std::size_t>(Mix(h ^ bucket));
}

}  // namespace

const std::int32_t* MeshBuilder::FindCell(const CellKey& key) const {
  if (cells_.empty()) return nullptr;
  const std::size_t mask = cells_.size() - 1;
  for (std::size_t i = CellHashOf(key.x, key.y, key.z, key.bucket) & mask;; i = (i + 1) & mask) {
    const CellSlot& slot = cells_[i];
    if (slot.head < 0) return nullptr;
    if (slot.key == key) return &slot.head;
  }
}

std::int32_t& MeshBuilder::InsertCell(const CellKey& key) {
  if ((cellCount_ + 1) * 2 > cells_.size()) {
    std::vector<CellSlot> old = std::move(cells_);
    cells_.assign(old.empty() ? 1024 : old.size() * 2, CellSlot{{}, -1});
    cellCount_ = 0;
    for (const CellSlot& slot : old) {
      if (slot.head >= 0) InsertCell(slot.key) = slot.head;
    }
  }
  const std::size_t mask = cells_.size() - 1;
  for (std::size_t i = CellHashOf(key.x, key.y, key.z, key.bucket) & mask;; i = (i + 1) & mask) {
    CellSlot& slot = cells_[i];
    if (slot.head < 0) {
      slot.key = key;
      ++cellCount_;
      return slot.head;
    }
    if (slot.key == key) return slot.head;
  }
}

bool MeshBuilder::CellOf(const Vec3& p, CellKey& key) {
  if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return false;
  key = {CellNumber(p.x), CellNumber(p.y), CellNumber(p.z),
         static_cast<std::uint32_t>(PointBucket(p.x, p.y, p.z))};
  return true;
}

void MeshBuilder::AddToHash(std::int32_t index) {
  cellNext_.push_back(-1);
  CellKey key;
  if (!CellOf(points_[static_cast<std::size_t>(index)], key)) return;
  std::int32_t& head = InsertCell(key);
  cellNext_[static_cast<std::size_t>(index)] = head;  // -1 for a new cell
  head = index;
}

std::int32_t MeshBuilder::FindOrAddPoint(double x, double y, double z) {
  const Vec3 q{x, y, z};
  CellKey key;
  if (CellOf(q, key)) {
    // The lowest index within the tolerance among the bucket's points in
    // this cell and the neighbours that can hold one.
    std::int64_t x0, x1, y0, y1, z0, z1;
    NeighbourRange(x, key.x, x0, x1);
    NeighbourRange(y, key.y, y0, y1);
    NeighbourRange(z, key.z, z0, z1);
    std::int32_t best = -1;
    for (std::int64_t dx = x0; dx <= x1; ++dx) {
      for (std::int64_t dy = y0; dy <= y1; ++dy) {
        for (std::int64_t dz = z0; dz <= z1; ++dz) {
          const std::int32_t* head = FindCell({key.x + dx, key.y + dy, key.z + dz, key.bucket});
          if (head == nullptr) continue;
          for (std::int32_t i = *head; i >= 0; i = cellNext_[static_cast<std::size_t>(i)]) {
            if ((best < 0 || i < best) &&
                Distance(points_[static_cast<std::size_t>(i)], q) < kImportTolerance) {
              best = i;
            }
          }
        }
      }
    }
    if (best >= 0) return best;
  }
  if (!points_.Append(q)) return -1;
  const auto index = static_cast<std::int32_t>(points_.size() - 1);
  AddToHash(index);
  return index;
}

bool MeshBuilder::BeginFace(const MaterialValue* material) {
  const MaterialValue value = material ? *material : MaterialValue{};
  MeshGroup& g = currentGroupRef();
  std::size_t found = materials_.size();
  for (std::size_t i = 0; i < materials_.size(); ++i) {
    if (EqualMaterials(materials_[i], value)) {
      found = i;
      break;
    }
  }
  const bool isNew = found == materials_.size();
  // Everything this face will need must fit before anything is stored, so
  // that a refused face leaves no half-recorded trace.
  if (!g.faceIndices.HasRoom(1) || !g.faceMaterials.HasRoom(1) ||
      (isNew && (!materials_.HasRoom(1) || !g.materials.HasRoom(1)))) {
    faceRefused_ = true;
    return false;
  }
  faceRefused_ = false;
  if (isNew) {
    materials_.Append(value);
    g.materials.Append(static_cast<std::int32_t>(found));
  }
  g.faceMaterials.Append(static_cast<std::int32_t>(found));
  materialsPresent_ = true;
  return true;
}

void MeshBuilder::EndFace() {
  if (faceRefused_) {
    faceRefused_ = false;
    return;
  }
  currentGroupRef().faceIndices.Append(-1);
}

std::int32_t MeshBuilder::AddVertex(double x, double y, double z) {
  MeshGroup& g = currentGroupRef();
  // Keep a slot for the face's closing -1.
  if (faceRefused_ || !g.faceIndices.HasRoom(2)) return -1;
  const std::int32_t index = FindOrAddPoint(x, y, z);
  if (index < 0) return -1;
  g.faceIndices.Append(index);
  return index;
}

bool MeshBuilder::SelectGroup(std::string_view name) {
  for (std::size_t i = 0; i < groups_.size(); ++i) {
    if (groups_[i]->name == name) {
      current_ = i;
      return true;
    }
  }
  if (groups_.size() >= kMaxGroups) return false;
  groups_.push_back(std::make_unique<MeshGroup>());
  groups_.back()->name = std::string(name);
  current_ = groups_.size() - 1;
  return true;
}

std::string_view MeshBuilder::GroupName(std::size_t index) const {
  return index < groups_.size() ? std::string_view(groups_[index]->name) : std::string_view();
}

const MaterialValue& MeshBuilder::GroupMaterial(std::size_t g, std::size_t n) const {
  return materials_[static_cast<std::size_t>(groups_[g]->materials[n])];
}

std::int32_t MeshBuilder::FaceMaterialPosition(std::size_t g, std::size_t face) const {
  const MeshGroup& group = *groups_[g];
  if (face >= group.faceMaterials.size()) return -1;
  const std::int32_t shared = group.faceMaterials[face];
  for (std::size_t i = 0; i < group.materials.size(); ++i) {
    if (group.materials[i] == shared) return static_cast<std::int32_t>(i);
  }
  return -1;
}

MaterialValue MeshBuilder::FaceMaterial(std::size_t g, std::size_t face) const {
  const MeshGroup& group = *groups_[g];
  if (face >= group.faceMaterials.size()) return MaterialValue{};
  return materials_[static_cast<std::size_t>(group.faceMaterials[face])];
}

// ---------------------------------------------------------------------------

ImportCollector::ImportCollector() = default;

BlockArray<std::int32_t>& ImportCollector::CurrentCornerEdges() {
  const std::size_t g = currentGroup();
  while (cornerEdges_.size() <= g)
    cornerEdges_.push_back(std::make_unique<BlockArray<std::int32_t>>());
  return *cornerEdges_[g];
}

const BlockArray<std::int32_t>& ImportCollector::CornerEdges(std::size_t g) const {
  return g < cornerEdges_.size() ? *cornerEdges_[g] : noCornerEdges_;
}

std::int32_t ImportCollector::FindOrAddEdge(std::int32_t a, std::int32_t b) {
  const auto lo = static_cast<std::uint32_t>(std::min(a, b));
  const auto hi = static_cast<std::uint32_t>(std::max(a, b));
  const auto [it, inserted] = edgeIndex_.try_emplace(std::uint64_t{lo} << 32 | hi,
                                                     static_cast<std::int32_t>(edges_.size()));
  // AddVertex made sure of the room.
  if (inserted) edges_.Append(Edge{a, b});
  return it->second;
}

bool ImportCollector::BeginFace(const MaterialValue* material) {
  const bool started = MeshBuilder::BeginFace(material);
  faceStart_ = FaceIndices(currentGroup()).size();
  faceCorners_ = 0;
  return started;
}

std::int32_t ImportCollector::AddVertex(double x, double y, double z) {
  if (faceRefused()) return -1;
  BlockArray<std::int32_t>& faces = currentGroupRef().faceIndices;
  BlockArray<std::int32_t>& cornerEdges = CurrentCornerEdges();
  // Room for this corner and the face's -1, and for this corner's edge and
  // the closing edge, so that EndFace never finds a list full.
  if (!faces.HasRoom(2) || !cornerEdges.HasRoom(2) || !edges_.HasRoom(2)) return -1;
  const std::int32_t p = FindOrAddPoint(x, y, z);
  if (p < 0) return -1;
  const Vec3& q = points()[static_cast<std::size_t>(p)];
  if (!hasBounds_) {
    min_ = max_ = q;
    hasBounds_ = true;
  } else {
    min_ = {std::min(min_.x, q.x), std::min(min_.y, q.y), std::min(min_.z, q.z)};
    max_ = {std::max(max_.x, q.x), std::max(max_.y, q.y), std::max(max_.z, q.z)};
  }
  if (faceCorners_ > 0) {
    const std::int32_t previous = faces.back();
    if (previous == p) return -1;
    cornerEdges.back() = FindOrAddEdge(previous, p);
  }
  faces.Append(p);
  cornerEdges.Append(-1);
  ++faceCorners_;
  ++cornersCollected_;
  return p;
}

void ImportCollector::EndFace() {
  if (faceRefused()) {
    MeshBuilder::EndFace();
    return;
  }
  BlockArray<std::int32_t>& faces = currentGroupRef().faceIndices;
  BlockArray<std::int32_t>& cornerEdges = CurrentCornerEdges();
  if (faceCorners_ >= 2 && faces.back() == faces[faceStart_]) {
    // The face came back to its first corner: the edge into that last
    // corner is already the closing edge.
    faces.PopBack();
    cornerEdges.PopBack();
    --faceCorners_;
    --cornersCollected_;
  }
  if (faceCorners_ >= 2 && cornerEdges.back() < 0) {
    cornerEdges.back() = FindOrAddEdge(faces.back(), faces[faceStart_]);
  }
  MeshBuilder::EndFace();
  cornerEdges.Append(-1);
  ++facesCollected_;
  faceStart_ = faces.size();
  faceCorners_ = 0;
}

}  // namespace ws
