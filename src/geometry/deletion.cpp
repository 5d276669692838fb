#include "geometry/deletion.h"

#include <algorithm>
#include <vector>

#include "geometry/hash_index.h"

namespace ws {
namespace {

bool NamesSelectedVector(const ObjectTables& t, const Polygon& poly) {
  const std::uint32_t n = std::min(poly.vectorCount, kMaxPolygonVectors);
  for (std::uint32_t c = 0; c < n; ++c) {
    const std::uint32_t e = poly.vectors[c];
    if (e < t.vectorCount && t.vectors[e].selected != kUnselected) return true;
  }
  return false;
}

bool DeletePolygons(ObjectTables& t) {
  const std::uint32_t n = t.polygonCount;
  std::vector<std::uint8_t> doomed(n, 0);
  bool any = false;
  for (std::uint32_t k = 0; k < n; ++k) {
    if (t.polygonSelected[k] != kUnselected || NamesSelectedVector(t, t.polygons[k])) {
      doomed[k] = 1;
      any = true;
    }
  }
  if (!any) return false;
  detail::Renumbering map(0, n);
  for (std::uint32_t k = 0; k < n; ++k) {
    map.Set(k, !doomed[k]);
    if (doomed[k]) continue;
    const std::uint32_t to = map.Map(k);
    if (to == k) continue;
    t.polygons[to] = t.polygons[k];
    t.polygonSelected[to] = t.polygonSelected[k];
  }
  // Deleting the last polygon is the one case that lowers the current one.
  if (doomed[n - 1]) --t.currentPolygon;
  t.polygonCount = map.newCount();
  t.RenumberViewZones(false, [&](std::uint32_t p) { return map.Map(p); });
  for (std::uint32_t k = 0; k < t.polygonCount; ++k) {
    Polygon& poly = t.polygons[k];
    if (!(poly.flags & PolyFlag::kAdopted)) continue;
    const std::uint32_t leader = poly.viewZones[0];
    if (leader < n && doomed[leader]) {
      ReleaseLeader(poly);
    } else {
      poly.viewZones[0] = map.Map(leader);
    }
  }
  return true;
}

bool DeleteVectors(ObjectTables& t) {
  const std::uint32_t n = t.vectorCount;
  if (n <= kReservedVectors) return false;
  detail::Renumbering map(kReservedVectors, n);
  for (std::uint32_t i = kReservedVectors; i < n; ++i) {
    const bool keep = t.vectors[i].selected == kUnselected;
    map.Set(i, keep);
    if (keep && map.Map(i) != i) t.vectors[map.Map(i)] = t.vectors[i];
  }
  if (map.removed() == 0) return false;
  for (std::uint32_t k = 0; k < t.polygonCount; ++k) {
    Polygon& poly = t.polygons[k];
    const std::uint32_t count = std::min(poly.vectorCount, kMaxPolygonVectors);
    for (std::uint32_t c = 0; c < count; ++c) poly.vectors[c] = map.Map(poly.vectors[c]);
  }
  t.RenumberViewZones(true, [&](std::uint32_t v) { return map.Map(v); });
  t.vectorCount = map.newCount();
  return true;
}

}  // namespace

bool DeleteSelectedItems(ObjectTables& t) {
  const bool polygons = DeletePolygons(t);
  const bool vectors = DeleteVectors(t);
  return polygons || vectors;
}

}  // namespace ws
