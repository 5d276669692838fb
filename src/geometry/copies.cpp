#include "geometry/copies.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "geometry/geometry_support.h"
#include "geometry/hash_index.h"
#include "geometry/merge.h"
#include "geometry/polygon_define.h"

namespace ws {
namespace {

constexpr double kConnectDepth = 20.0;  // the copy lies this far behind (z - 20)

bool ValidPoint(const ObjectTables& t, std::uint32_t p) { return p < t.pointCount; }

bool CopyableVector(const ObjectTables& t, const Vector& v) {
  return ValidPoint(t, v.p1) && ValidPoint(t, v.p2);
}

bool CopyablePolygon(const ObjectTables& t, const Polygon& poly) {
  const std::uint32_t n = std::min(poly.pointCount, kMaxPolygonPoints);
  return std::all_of(poly.points, poly.points + n,
                     [&](std::uint32_t p) { return ValidPoint(t, p); });
}

// View-zone list of the copy of `source`: the entries naming a duplicated
// polygon, renumbered to its copy, in the source's order; then the group
// leader in slot 0 for an Adopted polygon.
void CopyViewZones(const Polygon& source, Polygon& copy, const std::vector<std::uint32_t>& copyOf) {
  std::uint32_t count = 0;
  const std::uint32_t n = std::min(source.viewZoneCount, kMaxViewZones);
  std::fill(copy.viewZones, copy.viewZones + kMaxViewZones, 0u);
  for (std::uint32_t i = 0; i < n; ++i) {
    const std::uint32_t entry = source.viewZones[i];
    if (entry & ViewZone::kIsVector) continue;
    const std::uint32_t target = entry & ViewZone::kIndexMask;
    if (target >= copyOf.size() || copyOf[target] == kNoIndex) continue;
    copy.viewZones[count++] =
        (entry & ViewZone::kFlagMask) | (copyOf[target] & ViewZone::kIndexMask);
  }
  copy.viewZoneCount = count;
  if (source.flags & PolyFlag::kAdopted) {
    const std::uint32_t leader = source.viewZones[0];
    copy.viewZones[0] =
        leader < copyOf.size() && copyOf[leader] != kNoIndex ? copyOf[leader] : leader;
  }
}

}  // namespace

bool DuplicateSelection(GeometryContext& ctx) {
  ObjectTables& t = ctx.tables();
  WaitScope wait(ctx.rt());
  const double g = ctx.gridStep;
  const std::uint32_t startVectors = t.vectorCount;
  const std::uint32_t startPolygons = t.polygonCount;

  // What the gather step would select, counted before anything is written.
  std::vector<std::uint8_t> willSelect(startVectors, 0);
  bool anyPolygon = false;
  TableNeeds needs;
  std::vector<std::uint32_t> copyOf(startPolygons, kNoIndex);
  for (std::uint32_t k = 0; k < startPolygons; ++k) {
    if (t.polygonSelected[k] == kUnselected) continue;
    anyPolygon = true;
    const Polygon& poly = t.polygons[k];
    for (std::uint32_t c = 0; c < std::min(poly.vectorCount, kMaxPolygonVectors); ++c) {
      if (poly.vectors[c] >= kReservedVectors && poly.vectors[c] < startVectors) {
        willSelect[poly.vectors[c]] = 1;
      }
    }
    if (CopyablePolygon(t, poly)) {
      copyOf[k] = startPolygons + static_cast<std::uint32_t>(needs.polygons++);
      needs.points += std::min(poly.pointCount, kMaxPolygonPoints);
    }
  }
  bool anyVector = false;
  for (std::uint32_t i = kReservedVectors; i < startVectors; ++i) {
    if (t.vectors[i].selected != kUnselected) willSelect[i] = 1;
    if (!willSelect[i]) continue;
    anyVector = true;
    if (CopyableVector(t, t.vectors[i])) {
      needs.vectors += 1;
      needs.points += 2;
    }
  }
  if (!anyVector && !anyPolygon) {
    wait.End();
    ctx.ui().ShowNote(kNothingToDuplicate);
    return false;
  }
  if (auto refusal = CheckCapacity(t, needs, "to duplicate the selection")) {
    wait.End();
    ctx.ui().ShowNote(*refusal);
    return false;
  }

  const std::uint32_t firstNewPoint = t.pointCount;
  for (std::uint32_t i = kReservedVectors; i < startVectors; ++i) {
    if (!willSelect[i]) continue;
    Vector& source = t.vectors[i];
    source.selected = kUnselected;
    if (!CopyableVector(t, source)) continue;
    const Point a = t.points[source.p1];
    const Point b = t.points[source.p2];
    const std::uint32_t pa = AppendPoint(t, a.x - g, a.y - g, a.z);
    const std::uint32_t pb = AppendPoint(t, b.x - g, b.y - g, b.z);
    const std::uint32_t k = AppendFreshVector(t, pa, pb);
    Vector& copy = t.vectors[k];
    const Vector& from = t.vectors[i];
    copy.selected = kSelected;
    copy.color = from.color;
    copy.attribute = from.attribute;
    copy.width = from.width;
  }
  const bool vectorsCopied = t.pointCount > firstNewPoint;

  for (std::uint32_t k = 0; k < startPolygons; ++k) {
    if (copyOf[k] == kNoIndex) continue;
    const Polygon& source = t.polygons[k];
    Polygon& copy = t.polygons[copyOf[k]];
    copy = Polygon{};
    copy.depth = source.depth;
    copy.pointCount = std::min(source.pointCount, kMaxPolygonPoints);
    copy.vectorCount = source.vectorCount;
    copy.flags = source.flags;
    copy.frontFill = source.frontFill;
    copy.backFill = source.backFill;
    copy.frontColor = source.frontColor;
    copy.backColor = source.backColor;
    for (std::uint32_t c = 0; c < std::min(source.pointCount, kMaxPolygonPoints); ++c) {
      const Point p = t.points[source.points[c]];
      copy.points[c] = AppendPoint(t, p.x - g, p.y - g, p.z);
    }
    CopyViewZones(source, copy, copyOf);
    t.polygonSelected[copyOf[k]] = kSelected;
    ++t.polygonCount;
  }

  if (vectorsCopied) MergeDuplicatesFrom(t, ctx.rt(), firstNewPoint);
  RebuildVectorLists(t, startPolygons, t.polygonCount);
  return true;
}

namespace {

struct CoordKey {
  double x, y, z;
  bool operator==(const CoordKey& o) const { return x == o.x && y == o.y && z == o.z; }
};
struct CoordHash {
  std::size_t operator()(const CoordKey& k) const {
    std::uint64_t h = 0;
    for (double v : {k.x + 0.0, k.y + 0.0, k.z + 0.0}) {
      std::uint64_t bits;
      std::memcpy(&bits, &v, sizeof bits);
      h = detail::Mix64(h ^ bits);
    }
    return h;
  }
};

// Counts what ConnectCopy would append, without writing: the back points
// not already in the table, and the connecting and back vectors not already
// joining their two points, with one polygon per selected vector.
TableNeeds PlanConnect(const ObjectTables& t) {
  TableNeeds needs;
  std::unordered_map<CoordKey, std::uint32_t, CoordHash> points;
  for (std::uint32_t i = kReservedPoints; i < t.pointCount; ++i) {
    const Point& p = t.points[i];
    points.emplace(CoordKey{p.x, p.y, p.z}, i);
  }
  detail::PairIndex pairs(t.vectorCount);
  for (std::uint32_t i = kReservedVectors; i < t.vectorCount; ++i) {
    pairs.FindOrInsert(t.vectors[i].p1, t.vectors[i].p2, i);
  }
  std::uint32_t nextPoint = t.pointCount;
  std::uint32_t nextVector = t.vectorCount;
  auto point = [&](const Point& p) {
    const CoordKey key{p.x, p.y, p.z - kConnectDepth};
    if (key.x == key.x && key.y == key.y && key.z == key.z) {
      auto [it, added] = points.emplace(key, nextPoint);
      if (!added) return it->second;
    }
    ++needs.points;
    return nextPoint++;
  };
  auto vector = [&](std::uint32_t a, std::uint32_t b) {
    if (pairs.FindOrInsert(a, b, nextVector) == nextVector) {
      ++nextVector;
      ++needs.vectors;
    }
  };
  for (std::uint32_t i = kReservedVectors; i < t.vectorCount; ++i) {
    const Vector& v = t.vectors[i];
    if (v.selected == kUnselected || !CopyableVector(t, v)) continue;
    const std::uint32_t a = point(t.points[v.p1]);
    vector(v.p1, a);
    const std::uint32_t b = point(t.points[v.p2]);
    vector(v.p2, b);
    vector(a, b);
    ++needs.polygons;
  }
  return needs;
}

}  // namespace

bool ConnectCopy(GeometryContext& ctx) {
  ObjectTables& t = ctx.tables();
  if (auto refusal = CheckCapacity(t, PlanConnect(t), "to duplicate and connect the selection")) {
    ctx.ui().ShowNote(*refusal);
    return false;
  }
  const std::uint32_t startVectors = t.vectorCount;
  std::vector<std::array<std::uint32_t, 4>> quads;
  for (std::uint32_t i = kReservedVectors; i < startVectors; ++i) {
    if (t.vectors[i].selected == kUnselected || !CopyableVector(t, t.vectors[i])) continue;
    const std::uint32_t p1 = t.vectors[i].p1;
    const std::uint32_t p2 = t.vectors[i].p2;
    const Point first = t.points[p1];
    const std::uint32_t a = t.AddPoint(first.x, first.y, first.z - kConnectDepth);
    const std::uint32_t e1 = AddFreshVectorUnique(t, p1, a);
    const Point second = t.points[p2];
    const std::uint32_t b = t.AddPoint(second.x, second.y, second.z - kConnectDepth);
    const std::uint32_t e2 = AddFreshVectorUnique(t, p2, b);
    const std::uint32_t c = AddFreshVectorUnique(t, a, b);
    t.vectors[c].width = t.vectors[i].width;
    quads.push_back({i, e1, c, e2});
  }
  for (std::uint32_t i = 0; i < t.vectorCount; ++i) t.vectors[i].selected = kUnselected;
  for (const auto& quad : quads) {
    for (std::uint32_t v : quad) t.vectors[v].selected = kSelected;
    const std::int32_t k = DefinePolygonFromVectors(t, ctx.ui(), quad, ctx.currentColor);
    if (k >= 0) t.polygons[k].flags = PolyFlag::kSelectedColor;
  }
  RemoveDuplicateGeometry(t, ctx.rt());
  return true;
}

}  // namespace ws
