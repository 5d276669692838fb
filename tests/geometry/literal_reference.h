// Plain, slow versions of the merge, the deletion of the selection and
// tessellation, written step by step the way the operations are described:
// every pair compared, one DeletePoint / DeleteVector / DeletePolygon per
// record, each renumbering every table. The fast versions in src/geometry
// must leave the tables exactly as these do. Shared by the tests and by
// bench/bench_merge.cpp.
#pragma once

#include <algorithm>
#include <cstdint>

#include "geometry/geometry_support.h"
#include "model/object_tables.h"
#include "platform/ui.h"

namespace ws::reference {

inline bool SameCoordinates(const Point& a, const Point& b) {
  return a.x == b.x && a.y == b.y && a.z == b.z;
}

inline bool SamePair(const Vector& a, const Vector& b) {
  return (a.p1 == b.p1 && a.p2 == b.p2) || (a.p1 == b.p2 && a.p2 == b.p1);
}

inline std::uint32_t UsedPoints(const Polygon& p) {
  return std::min(p.pointCount, kMaxPolygonPoints);
}
inline std::uint32_t UsedVectors(const Polygon& p) {
  return std::min(p.vectorCount, kMaxPolygonVectors);
}
inline std::uint32_t UsedViewZones(const Polygon& p) {
  return std::min(p.viewZoneCount, kMaxViewZones);
}

inline void LiteralMergeFrom(ObjectTables& t, Ui& ui, std::uint32_t first) {
  first = std::max(first, kReservedPoints);
  // Marks and replacements cleared, then each unmarked point marks its later
  // equals with itself as replacement.
  for (std::uint32_t i = first; i < t.pointCount; ++i) {
    t.points[i].isDuplicate = 0;
    t.points[i].duplicateOf = 0;
  }
  for (std::uint32_t i = first; i < t.pointCount; ++i) {
    if (t.points[i].isDuplicate) continue;
    for (std::uint32_t j = i + 1; j < t.pointCount; ++j) {
      if (SameCoordinates(t.points[i], t.points[j])) {
        t.points[j].isDuplicate = 1;
        t.points[j].duplicateOf = i;
      }
    }
  }
  // References to each marked point go to its replacement.
  for (std::uint32_t j = first; j < t.pointCount; ++j) {
    if (!t.points[j].isDuplicate) continue;
    const std::uint32_t r = t.points[j].duplicateOf;
    for (std::uint32_t k = kReservedVectors; k < t.vectorCount; ++k) {
      if (t.vectors[k].p1 == j) t.vectors[k].p1 = r;
      if (t.vectors[k].p2 == j) t.vectors[k].p2 = r;
    }
    for (std::uint32_t k = 0; k < t.polygonCount; ++k) {
      Polygon& poly = t.polygons[k];
      for (std::uint32_t c = 0; c < UsedPoints(poly); ++c) {
        if (poly.points[c] == j) poly.points[c] = r;
      }
    }
  }
  // The lowest marked point goes, again and again.
  for (std::uint32_t i = first; i < t.pointCount;) {
    if (t.points[i].isDuplicate) {
      t.DeletePoint(i);
    } else {
      ++i;
    }
  }
  // Points in use are marked; the lowest unmarked one goes, again and again.
  for (std::uint32_t i = first; i < t.pointCount; ++i) {
    t.points[i].isDuplicate = 0;
    t.points[i].duplicateOf = 0;
  }
  auto mark = [&](std::uint32_t p) {
    if (p >= first && p < t.pointCount) t.points[p].isDuplicate = 1;
  };
  for (std::uint32_t k = kReservedVectors; k < t.vectorCount; ++k) {
    mark(t.vectors[k].p1);
    mark(t.vectors[k].p2);
  }
  for (std::uint32_t k = 0; k < t.polygonCount; ++k) {
    for (std::uint32_t c = 0; c < UsedPoints(t.polygons[k]); ++c) mark(t.polygons[k].points[c]);
  }
  for (std::uint32_t i = first; i < t.pointCount;) {
    if (!t.points[i].isDuplicate) {
      t.DeletePoint(i);
    } else {
      ++i;
    }
  }
  // Vectors: each later equal vector not yet marked is marked with the
  // earlier one as replacement.
  for (std::uint32_t i = kReservedVectors; i < t.vectorCount; ++i) t.vectors[i].work1 = 0;
  for (std::uint32_t i = kReservedVectors; i < t.vectorCount; ++i) {
    for (std::uint32_t j = i + 1; j < t.vectorCount; ++j) {
      if (!t.vectors[j].work1 && SamePair(t.vectors[i], t.vectors[j])) {
        t.vectors[j].work1 = 1;
        t.vectors[j].work2 = i;
      }
    }
  }
  for (std::uint32_t j = kReservedVectors; j < t.vectorCount; ++j) {
    if (!t.vectors[j].work1) continue;
    for (std::uint32_t k = 0; k < t.polygonCount; ++k) {
      Polygon& poly = t.polygons[k];
      for (std::uint32_t c = 0; c < UsedVectors(poly); ++c) {
        if (poly.vectors[c] != j) continue;
        if (t.vectors[j].work2 == j) {
          ui.ShowError("Internal Error");
        } else {
          poly.vectors[c] = t.vectors[j].work2;
        }
      }
      // A view zone's entry for the vector follows it to the one kept.
      for (std::uint32_t c = (poly.flags & PolyFlag::kAdopted) ? 1 : 0; c < UsedViewZones(poly); ++c) {
        const std::uint32_t e = poly.viewZones[c];
        if ((e & ViewZone::kIsVector) && (e & ViewZone::kIndexMask) == j) {
          poly.viewZones[c] = t.vectors[j].work2 | (e & ViewZone::kFlagMask);
        }
      }
    }
  }
  for (std::uint32_t i = kReservedVectors; i < t.vectorCount;) {
    if (t.vectors[i].work1) {
      t.DeleteVector(i);
    } else {
      ++i;
    }
  }
  if (t.pointCount < kReservedPoints + 1) {
    t.vectorCount = kReservedVectors;
    t.polygonCount = 0;
  }
}

inline bool NamesSelectedVector(const ObjectTables& t, const Polygon& poly) {
  for (std::uint32_t c = 0; c < UsedVectors(poly); ++c) {
    const std::uint32_t e = poly.vectors[c];
    if (e < t.vectorCount && t.vectors[e].selected) return true;
  }
  return false;
}

inline bool LiteralDeleteSelectedItems(ObjectTables& t) {
  bool any = false;
  for (;;) {
    std::uint32_t k = 0;
    while (k < t.polygonCount && !t.polygonSelected[k] && !NamesSelectedVector(t, t.polygons[k])) {
      ++k;
    }
    if (k == t.polygonCount) break;
    t.DeletePolygon(k);
    any = true;
  }
  for (std::uint32_t i = 0; i < t.vectorCount;) {
    if (i >= kReservedVectors && t.vectors[i].selected) {
      t.DeleteVector(i);
      any = true;
      i = 0;  // the walk starts again from the first vector
    } else {
      ++i;
    }
  }
  return any;
}

inline bool LiteralTessellate(ObjectTables& t) {
  std::uint32_t qualifying = 0;
  for (std::uint32_t k = 0; k < t.polygonCount; ++k) {
    if (t.polygonSelected[k] && t.polygons[k].pointCount > 3) ++qualifying;
  }
  const std::uint32_t originals = t.polygonCount;
  bool any = false;
  for (;;) {
    std::uint32_t k = 0;
    while (k < t.polygonCount && !(t.polygonSelected[k] && t.polygons[k].pointCount > 3)) ++k;
    if (k == t.polygonCount) break;
    const Polygon source = t.polygons[k];
    const std::uint32_t n = UsedPoints(source);
    const std::uint32_t m = n / 2;
    AppendFreshVector(t, source.points[0], source.points[m]);
    auto append = [&](std::uint32_t from, std::uint32_t count) {
      Polygon& piece = t.polygons[t.polygonCount];
      piece.pointCount = count;
      piece.vectorCount = count;
      for (std::uint32_t i = 0; i < count; ++i) piece.points[i] = source.points[(from + i) % n];
      piece.flags = source.flags;
      piece.frontFill = source.frontFill;
      piece.backFill = source.backFill;
      piece.frontColor = source.frontColor;
      piece.backColor = source.backColor;
      piece.viewZoneCount = source.viewZoneCount;
      std::copy(source.viewZones, source.viewZones + kMaxViewZones, piece.viewZones);
      piece.depth = source.depth;
      t.polygonSelected[t.polygonCount] = kSelected;
      ++t.polygonCount;
    };
    append(0, m + 1);
    append(m, n - m + 1);
    t.DeletePolygon(k);
    any = true;
  }
  if (any) RebuildVectorLists(t, originals - qualifying, t.polygonCount);
  return any;
}

}  // namespace ws::reference
