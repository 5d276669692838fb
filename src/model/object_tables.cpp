#include "model/object_tables.h"

#include <algorithm>
#include <cstring>

#include "resource/runtime.h"

namespace ws {
namespace {

// Handle-memory tags of the three table blocks.
constexpr std::uint32_t kPointTableTag = 1;
constexpr std::uint32_t kVectorTableTag = 2;
constexpr std::uint32_t kFillBufferTag = 3;

constexpr double kAxisLength = 150.0;

bool SamePoint(const Point& p, double x, double y, double z) {
  // Compared as doubles, so 0.0 equals -0.0.
  return p.x == x && p.y == y && p.z == z;
}

}  // namespace

ObjectTables::ObjectTables(Runtime& rt)
    : polygons(kMaxPolygons), polygonSelected(kMaxPolygons, 0), rt_(rt) {
  std::memset(polygons.data(), 0, polygons.size() * sizeof(Polygon));
}

bool ObjectTables::AllocateObjectTables() {
  points = nullptr;
  vectors = nullptr;
  polygonFillBuffer = nullptr;
  pointBlock_.reset();
  vectorBlock_.reset();
  fillBlock_.reset();

  pointBlock_ = rt_.memory.Allocate(kPointTableBytes, kPointTableTag, true);
  if (!pointBlock_) {
    rt_.ui.ShowNote("Not enough memory.");
    rt_.fatalError = true;
    return false;
  }
  points = reinterpret_cast<Point*>(pointBlock_.data());
  vectorBlock_ = rt_.memory.Allocate(sizeof(Vector) * kMaxVectors, kVectorTableTag, true);
  if (!vectorBlock_) {
    rt_.ui.ShowNote("Not enough memory for vectors.");
    rt_.fatalError = true;
    return false;
  }
  vectors = reinterpret_cast<Vector*>(vectorBlock_.data());
  fillBlock_ = rt_.memory.Allocate(kPolygonFillBufferBytes, kFillBufferTag, true);
  if (!fillBlock_) {
    rt_.ui.ShowNote("Not enough memory for polygon filling.");
    rt_.fatalError = true;
    return false;
  }
  polygonFillBuffer = fillBlock_.data();
  pointCount = kReservedPoints;
  vectorCount = kReservedVectors;
  polygonCount = 0;
  return true;
}

void ObjectTables::BuildReservedEntries() {
  static constexpr double kAxis[kReservedPoints][3] = {
      {0, 0, 0},           {kAxisLength, 0, 0},  {-kAxisLength, 0, 0}, {0, -kAxisLength, 0},
      {0, kAxisLength, 0}, {0, 0, -kAxisLength}, {0, 0, kAxisLength}};
  for (std::uint32_t i = 0; i < kReservedPoints; ++i) {
    points[i] = Point{};
    points[i].x = kAxis[i][0];
    points[i].y = kAxis[i][1];
    points[i].z = kAxis[i][2];
  }
  pointCount = kReservedPoints;
  vectorCount = 0;
  for (std::uint32_t i = 1; i < kReservedPoints; ++i) AddVector(0, i);
  polygonCount = 0;
}

std::uint32_t ObjectTables::AddPoint(double x, double y, double z) {
  if (pointCount > kReservedPoints) {
    for (std::uint32_t i = kReservedPoints; i < pointCount; ++i) {
      if (SamePoint(points[i], x, y, z)) {
        lastPointAdded = i;
        return i;
      }
    }
  }
  if (pointCount >= kMaxPoints) return kNoIndex;
  Point& p = points[pointCount];
  p = Point{};
  p.x = x;
  p.y = y;
  p.z = z;
  lastPointAdded = pointCount;
  return pointCount++;
}

std::uint32_t ObjectTables::AddVector(std::uint32_t p1, std::uint32_t p2) {
  if (vectorCount >= kMaxVectors) return kNoIndex;
  Vector& v = vectors[vectorCount];
  v.p1 = p1;
  v.p2 = p2;
  v.width = 0;
  return vectorCount++;
}

std::uint32_t ObjectTables::AddVectorUnique(std::uint32_t p1, std::uint32_t p2) {
  for (std::uint32_t i = kReservedVectors; i < vectorCount; ++i) {
    const Vector& v = vectors[i];
    if ((v.p1 == p1 && v.p2 == p2) || (v.p1 == p2 && v.p2 == p1)) return i;
  }
  if (vectorCount >= kMaxVectors) return kNoIndex;
  // The slot keeps whatever width it held; callers set width, colour and
  // attribute themselves.
  Vector& v = vectors[vectorCount];
  v.p1 = p1;
  v.p2 = p2;
  return vectorCount++;
}

std::uint32_t ObjectTables::FindPoint(double x, double y, double z) const {
  for (std::uint32_t i = 0; i < pointCount; ++i) {
    if (SamePoint(points[i], x, y, z)) return i;
  }
  return 0;
}

bool ObjectTables::DeletePoint(std::uint32_t i) {
  if (i + 1 == pointCount) {
    --pointCount;
    return true;
  }
  if (i >= pointCount) {
    rt_.ui.ShowNote("Something is corrupt. pnt > G_MaxPoints-1");
    rt_.fatalError = true;
    return false;
  }
  std::memmove(&points[i], &points[i + 1], sizeof(Point) * (pointCount - i - 1));
  --pointCount;
  for (std::uint32_t k = kReservedVectors; k < vectorCount; ++k) {
    if (vectors[k].p1 > i) --vectors[k].p1;
    if (vectors[k].p2 > i) --vectors[k].p2;
  }
  for (std::uint32_t k = 0; k < polygonCount; ++k) {
    Polygon& poly = polygons[k];
    for (std::uint32_t c = 0; c < poly.pointCount && c < kMaxPolygonPoints; ++c) {
      if (poly.points[c] > i) --poly.points[c];
    }
  }
  return true;
}

void ObjectTables::DeleteVector(std::uint32_t k) {
  if (k < kReservedVectors || vectorCount <= kReservedVectors || k >= vectorCount) return;
  if (k + 1 < vectorCount) {
    std::memmove(&vectors[k], &vectors[k + 1], sizeof(Vector) * (vectorCount - k - 1));
  }
  --vectorCount;
  for (std::uint32_t p = 0; p < polygonCount; ++p) {
    Polygon& poly = polygons[p];
    for (std::uint32_t c = 0; c < poly.vectorCount && c < kMaxPolygonVectors; ++c) {
      if (poly.vectors[c] > k) --poly.vectors[c];
    }
  }
  RenumberViewZones(true, [k](std::uint32_t v) { return v == k ? kNoIndex : v - (v > k ? 1 : 0); });
}

void ObjectTables::DeletePolygon(std::uint32_t k) {
  if (polygonCount == 0 || k >= polygonCount) return;
  if (k + 1 == polygonCount) {
    --polygonCount;
    --currentPolygon;
  } else {
    std::memmove(&polygons[k], &polygons[k + 1], sizeof(Polygon) * (polygonCount - k - 1));
    std::memmove(&polygonSelected[k], &polygonSelected[k + 1],
                 sizeof(std::uint32_t) * (polygonCount - k - 1));
    --polygonCount;
  }
  RenumberViewZones(false,
                    [k](std::uint32_t p) { return p == k ? kNoIndex : p - (p > k ? 1 : 0); });
  // Followers of the removed polygon lose their leader, also when it was the
  // last one: a leader number past the table would be read later.
  for (std::uint32_t p = 0; p < polygonCount; ++p) {
    Polygon& poly = polygons[p];
    if (!(poly.flags & PolyFlag::kAdopted)) continue;
    if (poly.viewZones[0] > k) {
      --poly.viewZones[0];
    } else if (poly.viewZones[0] == k) {
      ReleaseLeader(poly);
    }
  }
}

void RenumberViewZoneEntries(Polygon& poly, bool vectorEntries,
                             const std::function<std::uint32_t(std::uint32_t)>& renumber) {
  const std::uint32_t count = std::min(poly.viewZoneCount, kMaxViewZones);
  std::uint32_t kept = (poly.flags & PolyFlag::kAdopted) ? std::min(1u, count) : 0;
  for (std::uint32_t c = kept; c < count; ++c) {
    const std::uint32_t entry = poly.viewZones[c];
    std::uint32_t to = entry;
    if (((entry & ViewZone::kIsVector) != 0) == vectorEntries) {
      to = renumber(entry & ViewZone::kIndexMask);
      if (to == kNoIndex) continue;
      to |= entry & ViewZone::kFlagMask;
    }
    poly.viewZones[kept++] = to;
  }
  std::fill(poly.viewZones + kept, poly.viewZones + count, 0u);
  poly.viewZoneCount = kept;
}

void ReleaseLeader(Polygon& poly) {
  poly.flags &= ~PolyFlag::kAdopted;
  const std::uint32_t count = std::min(poly.viewZoneCount, kMaxViewZones);
  if (count == 0) {
    poly.viewZones[0] = 0;
    return;
  }
  std::copy(poly.viewZones + 1, poly.viewZones + count, poly.viewZones);
  poly.viewZones[count - 1] = 0;
  poly.viewZoneCount = count - 1;
}

void ObjectTables::RenumberViewZones(bool vectorEntries,
                                     const std::function<std::uint32_t(std::uint32_t)>& renumber) {
  for (std::uint32_t p = 0; p < polygonCount; ++p) {
    RenumberViewZoneEntries(polygons[p], vectorEntries, renumber);
  }
}

void ObjectTables::ResetObject() {
  pointCount = kReservedPoints;
  vectorCount = kReservedVectors;
  polygonCount = 0;
  currentPolygon = 0;
}

}  // namespace ws
