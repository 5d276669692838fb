// Shared pieces of the geometry tests: a model with the reserved entries
// built, builders for small objects, a random object generator, a field by
// field comparison of two objects' used tables, and a feedback recorder.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstring>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "geometry/geometry_context.h"
#include "geometry/geometry_support.h"
#include "model/model.h"
#include "platform/scripted_ui.h"

namespace ws::test {

struct RecordingFeedback : GeometryFeedback {
  void SetStatusTitle(std::string_view title) override { titles.emplace_back(title); }
  void RedrawViews() override { ++redraws; }
  std::vector<std::string> titles;
  int redraws = 0;
};

struct GeometryFixture {
  GeometryFixture() {
    model.tables.AllocateObjectTables();
    model.tables.BuildReservedEntries();
    before.AllocateObjectTables();
  }
  ObjectTables& t() { return model.tables; }
  // Keeps a copy of the used part of the tables in `before`.
  void Snapshot() {
    std::tie(before.pointCount, before.vectorCount, before.polygonCount, before.currentPolygon) =
        std::tie(t().pointCount, t().vectorCount, t().polygonCount, t().currentPolygon);
    std::memcpy(before.points, t().points, sizeof(Point) * t().pointCount);
    std::memcpy(before.vectors, t().vectors, sizeof(Vector) * t().vectorCount);
    std::copy_n(t().polygons.begin(), t().polygonCount, before.polygons.begin());
    std::copy_n(t().polygonSelected.begin(), t().polygonCount, before.polygonSelected.begin());
  }

  std::uint32_t P(double x, double y, double z) { return AppendPoint(t(), x, y, z); }
  std::uint32_t V(std::uint32_t a, std::uint32_t b, bool selected = false) {
    const std::uint32_t k = AppendFreshVector(t(), a, b);
    t().vectors[k].selected = selected ? kSelected : kUnselected;
    return k;
  }
  // Appends a polygon with these corners; vector list from the point loop.
  std::uint32_t Poly(const std::vector<std::uint32_t>& points, bool selected = false) {
    const std::uint32_t k = t().polygonCount;
    Polygon& poly = t().polygons[k];
    poly = Polygon{};
    poly.pointCount = static_cast<std::uint32_t>(points.size());
    std::copy(points.begin(), points.end(), poly.points);
    poly.flags = PolyFlag::kDefined;
    t().polygonSelected[k] = selected ? kSelected : kUnselected;
    ++t().polygonCount;
    RebuildVectorLists(t(), k, k + 1);
    return k;
  }
  std::vector<std::uint32_t> PointsOf(std::uint32_t k) {
    return {t().polygons[k].points, t().polygons[k].points + t().polygons[k].pointCount};
  }
  std::vector<std::uint32_t> VectorsOf(std::uint32_t k) {
    return {t().polygons[k].vectors, t().polygons[k].vectors + t().polygons[k].vectorCount};
  }
  // Polygon k's view-zone list: set to these entries, or as it stands.
  void Zones(std::uint32_t k, const std::vector<std::uint32_t>& entries) {
    t().polygons[k].viewZoneCount = static_cast<std::uint32_t>(entries.size());
    std::copy(entries.begin(), entries.end(), t().polygons[k].viewZones);
  }
  std::vector<std::uint32_t> ZonesOf(std::uint32_t k) {
    return {t().polygons[k].viewZones, t().polygons[k].viewZones + t().polygons[k].viewZoneCount};
  }
  // The selection marks of the user vectors, in table order.
  std::vector<std::uint32_t> VectorMarks() {
    std::vector<std::uint32_t> marks;
    for (std::uint32_t i = kReservedVectors; i < t().vectorCount; ++i) {
      marks.push_back(t().vectors[i].selected);
    }
    return marks;
  }
  std::vector<double> Coords(std::uint32_t p) {
    return {t().points[p].x, t().points[p].y, t().points[p].z};
  }
  // Newell's normal of polygon k's loop: its length is twice the area.
  std::array<double, 3> Normal(std::uint32_t k) {
    const std::vector<std::uint32_t> loop = PointsOf(k);
    std::array<double, 3> n{0, 0, 0};
    for (std::size_t i = 0; i < loop.size(); ++i) {
      const Point& a = t().points[loop[i]];
      const Point& b = t().points[loop[(i + 1) % loop.size()]];
      n[0] += (a.y - b.y) * (a.z + b.z);
      n[1] += (a.z - b.z) * (a.x + b.x);
      n[2] += (a.x - b.x) * (a.y + b.y);
    }
    return n;
  }

  ScriptedUi ui;
  Runtime rt{ui};
  Model model{rt};
  RecordingFeedback feedback;
  GeometryContext ctx{model, kDefaultGridStep, 0, &feedback};
  ObjectTables before{rt};
};

// Within the counts, points and vectors byte for byte up to their last field
// (padding is not data; -0 is not 0); a polygon's lists within its counts,
// and its view-zone array whole since slot 0 doubles as the leader.
inline ::testing::AssertionResult SameUsedTables(const ObjectTables& a, const ObjectTables& b) {
  auto fail = [](const char* what, std::uint32_t i) {
    return ::testing::AssertionFailure() << what << " " << i << " differs";
  };
  constexpr std::size_t kPointBytes = offsetof(Point, duplicateOf) + sizeof(std::uint32_t);
  constexpr std::size_t kVectorBytes = offsetof(Vector, color) + 1;
  if (std::tie(a.pointCount, a.vectorCount, a.polygonCount, a.currentPolygon) !=
      std::tie(b.pointCount, b.vectorCount, b.polygonCount, b.currentPolygon)) {
    return fail("counts, current polygon", 0);
  }
  for (std::uint32_t i = 0; i < a.pointCount; ++i) {
    if (std::memcmp(&a.points[i], &b.points[i], kPointBytes)) return fail("point", i);
  }
  for (std::uint32_t i = 0; i < a.vectorCount; ++i) {
    if (std::memcmp(&a.vectors[i], &b.vectors[i], kVectorBytes)) return fail("vector", i);
  }
  for (std::uint32_t k = 0; k < a.polygonCount; ++k) {
    const Polygon &p = a.polygons[k], &q = b.polygons[k];
    const std::uint32_t np = std::min(p.pointCount, kMaxPolygonPoints),
                        nv = std::min(p.vectorCount, kMaxPolygonVectors);
    if (std::memcmp(&p, &q, offsetof(Polygon, vectors)) ||  // depth to backFill
        std::tie(p.frontColor, p.backColor, a.polygonSelected[k]) !=
            std::tie(q.frontColor, q.backColor, b.polygonSelected[k]) ||
        !std::equal(p.viewZones, p.viewZones + kMaxViewZones, q.viewZones) ||
        !std::equal(p.points, p.points + np, q.points) ||
        !std::equal(p.vectors, p.vectors + nv, q.vectors)) {
      return fail("polygon", k);
    }
  }
  return ::testing::AssertionSuccess();
}

// Random objects in which merging has work to do: points on a small integer
// grid (so that many coincide, -0 among them), vectors between random points
// in both directions (some degenerate, a few to reserved points), polygons
// whose point and vector lists name merged points and vectors, random
// selection, scratch fields, flags, group leaders and view-zone lists.
struct RandomShape {
  std::uint32_t points = 40, vectors = 60, polygons = 20;
  int grid = 2;  // coordinates in [-grid, grid]
  std::uint32_t maxCorners = 8;
};

inline void FillRandomObject(ObjectTables& t, std::mt19937& rng, const RandomShape& s) {
  auto pick = [&](std::uint32_t n) { return static_cast<std::uint32_t>(rng() % n); };
  t.pointCount = kReservedPoints;
  t.vectorCount = kReservedVectors;
  t.polygonCount = 0;
  t.currentPolygon = static_cast<std::int32_t>(pick(std::max(s.polygons, 1u)));
  auto coordinate = [&]() -> double {
    const int v = static_cast<int>(pick(2 * s.grid + 1)) - s.grid;
    return v == 0 && pick(4) == 0 ? -0.0 : v;
  };
  for (std::uint32_t i = 0; i < s.points; ++i) {
    const std::uint32_t p = AppendPoint(t, coordinate(), coordinate(), coordinate());
    t.points[p].isDuplicate = pick(3);
    t.points[p].duplicateOf = pick(1000);
    t.points[p].eyeDepth = pick(100);
  }
  const std::uint32_t users = t.pointCount - kReservedPoints;
  auto userPoint = [&] { return kReservedPoints + pick(std::max(users, 1u)); };
  for (std::uint32_t i = 0; i < s.vectors && users > 0; ++i) {
    std::uint32_t a = userPoint(), b = userPoint();
    if (pick(20) == 0) a = pick(kReservedPoints);
    Vector& v = t.vectors[t.AddVector(a, b)];
    v.width = pick(3);
    v.work1 = pick(2);
    v.work2 = pick(50);
    v.selected = pick(4) == 0 ? (pick(5) == 0 ? kMarqueeMarked : kSelected) : kUnselected;
    v.attribute = static_cast<std::int32_t>(pick(7)) - 3;
    v.color = static_cast<std::uint8_t>(pick(256));
  }
  for (std::uint32_t k = 0; k < s.polygons; ++k) {
    Polygon& poly = t.polygons[k];
    poly = Polygon{};
    poly.depth = pick(1000);
    poly.pointCount = users > 0 ? pick(s.maxCorners + 1) : 0;
    for (std::uint32_t c = 0; c < poly.pointCount; ++c) poly.points[c] = userPoint();
    poly.vectorCount = t.vectorCount > kReservedVectors ? pick(s.maxCorners + 1) : 0;
    for (std::uint32_t c = 0; c < poly.vectorCount; ++c) {
      poly.vectors[c] = kReservedVectors + pick(t.vectorCount - kReservedVectors);
    }
    poly.flags = pick(0x2000) | (pick(3) == 0 ? PolyFlag::kAdopted : 0);
    poly.frontColor = static_cast<std::uint8_t>(pick(256));
    poly.backColor = static_cast<std::uint8_t>(pick(256));
    poly.frontFill = FillWord(poly.frontColor);
    poly.backFill = FillWord(poly.backColor);
    poly.viewZoneCount = pick(4);
    // Entries name polygons or (bit 15) vectors, now and then past the
    // table, with either priority.
    for (std::uint32_t c = 0; c < kMaxViewZones; ++c) {
      poly.viewZones[c] =
          (pick(3) == 0 ? ViewZone::kIsVector | pick(t.vectorCount + 4) : pick(s.polygons + 4)) |
          (pick(2) == 0 ? ViewZone::kLowPriority : 0);
    }
    // Mostly real leaders; now and then one past the table.
    poly.viewZones[0] = pick(10) == 0 ? s.polygons + pick(12) : pick(s.polygons);
    t.polygonSelected[k] = pick(3) == 0 ? kSelected : kUnselected;
    ++t.polygonCount;
  }
}

}  // namespace ws::test
