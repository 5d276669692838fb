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

inline void LiteralMergeFrom(ObjectTables& t, Ui& ui, std::uint32_t first) {
  first = std::max(first, kReservedPoints);
  // Marks and replacements cleared, then each unmarked point marks its later
  // equals with itself as replacement.
  for (std::uint32_t i = first; i < t.pointCount; ++i) {
    t.points[i].isDuplicate = t.points[i].duplicateOf = 0;
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
  for (std::uint32_t i = first; i < t.pointCount; ++i) {
    while (i < t.pointCount && t.points[i].isDuplicate) t.DeletePoint(i);
  }
  // Points in use are marked (the points left are all unmarked); the lowest
  // unmarked one goes, again and again.
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
  for (std::uint32_t i = first; i < t.pointCount; ++i) {
    while (i < t.pointCount && !t.points[i].isDuplicate) t.DeletePoint(i);
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
      const std::uint32_t zones = std::min(poly.viewZoneCount, kMaxViewZones);
      for (std::uint32_t c = (poly.flags & PolyFlag::kAdopted) ? 1 : 0; c < zones; ++c) {
        const std::uint32_t e = poly.viewZones[c];
        if ((e & ViewZone::kIsVector) && (e & ViewZone::kIndexMask) == j) {
          poly.viewZones[c] = t.vectors[j].work2 | (e & ViewZone::kFlagMask);
        }
      }
    }
  }
  for (std::uint32_t i = kReservedVectors; i < t.vectorCount; ++i) {
    while (i < t.vectorCount && t.vectors[i].work1) t.DeleteVector(i);
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

// The lowest polygon that is selected or names a selected vector goes, again
// and again; then the lowest selected vector.
inline bool LiteralDeleteSelectedItems(ObjectTables& t) {
  const std::uint32_t records = t.polygonCount + t.vectorCount;
  for (std::uint32_t k = 0; k < t.polygonCount; ++k) {
    while (k < t.polygonCount && (t.polygonSelected[k] || NamesSelectedVector(t, t.polygons[k])))
      t.DeletePolygon(k);
  }
  for (std::uint32_t i = kReservedVectors; i < t.vectorCount; ++i) {
    while (i < t.vectorCount && t.vectors[i].selected) t.DeleteVector(i);
  }
  return t.polygonCount + t.vectorCount != records;
}

inline bool LiteralTessellate(ObjectTables& t) {
  std::uint32_t qualifying = 0;
  for (std::uint32_t k = 0; k < t.polygonCount; ++k) {
    if (t.polygonSelected[k] && t.polygons[k].pointCount > 3) ++qualifying;
  }
  const std::uint32_t originals = t.polygonCount;
  // The lowest selected polygon of four or more points goes, again and again,
  // its two halves appended.
  for (std::uint32_t k = 0; k < t.polygonCount; ++k) {
    while (k < t.polygonCount && t.polygonSelected[k] && t.polygons[k].pointCount > 3) {
      const Polygon source = t.polygons[k];
      const std::uint32_t n = UsedPoints(source), m = n / 2;
      AppendFreshVector(t, source.points[0], source.points[m]);
      auto append = [&](std::uint32_t from, std::uint32_t count) {
        Polygon& piece = t.polygons[t.polygonCount];
        piece = source;  // flags, fills, colours, view zones and depth
        piece.pointCount = piece.vectorCount = count;
        for (std::uint32_t i = 0; i < count; ++i) piece.points[i] = source.points[(from + i) % n];
        t.polygonSelected[t.polygonCount++] = kSelected;
      };
      append(0, m + 1);
      append(m, n - m + 1);
      t.DeletePolygon(k);
    }
  }
  // Each qualifying polygon was split.
  if (qualifying > 0) RebuildVectorLists(t, originals - qualifying, t.polygonCount);
  return qualifying > 0;
}

}  // namespace ws::reference
