#include "geometry/merge.h"

#include <algorithm>
#include <vector>

#include "geometry/hash_index.h"

namespace ws {
namespace {

std::uint32_t UsedPoints(const Polygon& poly) {
  return std::min(poly.pointCount, kMaxPolygonPoints);
}
std::uint32_t UsedVectors(const Polygon& poly) {
  return std::min(poly.vectorCount, kMaxPolygonVectors);
}

// Points: every point from `first` on that equals an earlier one from `first`
// on is replaced by the earliest, then every point from `first` on that no
// vector and no polygon uses (the replaced ones among them) goes.
void MergePoints(ObjectTables& t, std::uint32_t first) {
  const std::uint32_t n = t.pointCount;
  if (first >= n) return;
  std::vector<std::uint32_t> replacement(n - first);
  detail::PointIndex index(t.points, n - first);
  for (std::uint32_t i = first; i < n; ++i) {
    replacement[i - first] = index.FindOrInsert(i);
  }
  auto redirect = [&](std::uint32_t& r) {
    if (r >= first && r < n) r = replacement[r - first];
  };
  std::vector<std::uint8_t> used(n - first, 0);
  auto markUsed = [&](std::uint32_t r) {
    if (r >= first && r < n) used[r - first] = 1;
  };
  for (std::uint32_t k = kReservedVectors; k < t.vectorCount; ++k) {
    Vector& v = t.vectors[k];
    redirect(v.p1);
    redirect(v.p2);
    markUsed(v.p1);
    markUsed(v.p2);
  }
  for (std::uint32_t k = 0; k < t.polygonCount; ++k) {
    Polygon& poly = t.polygons[k];
    for (std::uint32_t c = 0; c < UsedPoints(poly); ++c) {
      redirect(poly.points[c]);
      markUsed(poly.points[c]);
    }
  }

  detail::Renumbering map(first, n);
  for (std::uint32_t i = first; i < n; ++i) {
    const bool keep = used[i - first] != 0;
    map.Set(i, keep);
    if (!keep) continue;
    const std::uint32_t to = map.Map(i);
    if (to != i) t.points[to] = t.points[i];
    // The last step marks every point still in use.
    t.points[to].isDuplicate = 1;
    t.points[to].duplicateOf = 0;
  }
  if (map.removed() == 0) return;
  for (std::uint32_t k = kReservedVectors; k < t.vectorCount; ++k) {
    t.vectors[k].p1 = map.Map(t.vectors[k].p1);
    t.vectors[k].p2 = map.Map(t.vectors[k].p2);
  }
  for (std::uint32_t k = 0; k < t.polygonCount; ++k) {
    Polygon& poly = t.polygons[k];
    for (std::uint32_t c = 0; c < UsedPoints(poly); ++c) poly.points[c] = map.Map(poly.points[c]);
  }
  t.pointCount = map.newCount();
}

// Vectors: every user vector joining the same two points as a lower one is
// replaced by the lowest in the polygon vector lists, then removed.
void MergeVectors(ObjectTables& t, Ui& ui) {
  const std::uint32_t n = t.vectorCount;
  if (n <= kReservedVectors) return;
  detail::PairIndex pairs(n - kReservedVectors);
  bool anyMarked = false;
  for (std::uint32_t i = kReservedVectors; i < n; ++i) {
    Vector& v = t.vectors[i];
    v.work1 = 0;
    const std::uint32_t first = pairs.FindOrInsert(v.p1, v.p2, i);
    if (first != i) {
      v.work1 = 1;
      v.work2 = first;
      anyMarked = true;
    }
  }
  if (!anyMarked) return;
  for (std::uint32_t k = 0; k < t.polygonCount; ++k) {
    Polygon& poly = t.polygons[k];
    for (std::uint32_t c = 0; c < UsedVectors(poly); ++c) {
      const std::uint32_t e = poly.vectors[c];
      if (e < kReservedVectors || e >= n || t.vectors[e].work1 == 0) continue;
      if (t.vectors[e].work2 == e) {
        ui.ShowError("Internal Error");
        continue;
      }
      poly.vectors[c] = t.vectors[e].work2;
    }
  }
  detail::Renumbering map(kReservedVectors, n);
  for (std::uint32_t i = kReservedVectors; i < n; ++i) map.Set(i, t.vectors[i].work1 == 0);
  // A view zone's entry for a merged vector follows it to the one kept.
  t.RenumberViewZones(true, [&](std::uint32_t v) {
    return map.Map(v >= kReservedVectors && v < n && t.vectors[v].work1 != 0 ? t.vectors[v].work2
                                                                             : v);
  });
  for (std::uint32_t i = kReservedVectors; i < n; ++i) {
    if (t.vectors[i].work1 == 0 && map.Map(i) != i) t.vectors[map.Map(i)] = t.vectors[i];
  }
  for (std::uint32_t k = 0; k < t.polygonCount; ++k) {
    Polygon& poly = t.polygons[k];
    for (std::uint32_t c = 0; c < UsedVectors(poly); ++c) {
      poly.vectors[c] = map.Map(poly.vectors[c]);
    }
  }
  t.vectorCount = map.newCount();
}

void Merge(ObjectTables& t, Ui& ui, std::uint32_t first) {
  first = std::max(first, kReservedPoints);
  MergePoints(t, first);
  MergeVectors(t, ui);
  if (t.pointCount <= kReservedPoints) {
    t.vectorCount = kReservedVectors;
    t.polygonCount = 0;
  }
}

}  // namespace

void RemoveDuplicateGeometry(ObjectTables& t, Runtime& rt) {
  MergeDuplicatesFrom(t, rt, kReservedPoints);
}

void MergeDuplicatesFrom(ObjectTables& t, Runtime& rt, std::uint32_t first) {
  WaitScope wait(rt);
  Merge(t, rt.ui, first);
}

}  // namespace ws
