#include "geometry/faces.h"

#include <gtest/gtest.h>

#include <random>

#include "geometry_test_support.h"
#include "literal_reference.h"

namespace ws::test {
namespace {

using Points = std::vector<std::uint32_t>;

// A flat ring of n points with its n edges.
Points Ring(GeometryFixture& f, std::uint32_t n) {
  Points p;
  for (std::uint32_t i = 0; i < n; ++i) p.push_back(f.P(i * 10.0, (i * i) % 7, 0));
  for (std::uint32_t i = 0; i < n; ++i) f.V(p[i], p[(i + 1) % n]);
  return p;
}

std::uint32_t PolyOf(GeometryFixture& f, const Points& p, bool selected) {
  const std::uint32_t k = f.Poly({}, selected);
  Polygon& poly = f.t().polygons[k];
  poly.pointCount = static_cast<std::uint32_t>(p.size());
  std::copy(p.begin(), p.end(), poly.points);
  RebuildVectorLists(f.t(), k, k + 1);
  return k;
}

TEST(FlipFace, ReversesThePointListOnly) {
  GeometryFixture f;
  const Points p = Ring(f, 5);
  const auto k = PolyOf(f, p, true);
  const Points vectorsBefore = f.VectorsOf(k);
  FlipFace(f.t(), k);
  EXPECT_EQ(f.PointsOf(k), (Points{p[4], p[3], p[2], p[1], p[0]}));
  EXPECT_EQ(f.VectorsOf(k), vectorsBefore);
  EXPECT_EQ(f.t().polygons[k].flags, PolyFlag::kDefined);
  FlipFace(f.t(), 99);  // past the table: nothing
}

TEST(FlipPolygonFace, TwiceRestoresTheOrderAndOnlySelectedFlip) {
  GeometryFixture f;
  const Points p = Ring(f, 4);
  const auto a = PolyOf(f, p, true);
  const auto b = PolyOf(f, p, false);
  EXPECT_TRUE(FlipSelectedFaces(f.t()));
  EXPECT_EQ(f.PointsOf(a), (Points{p[3], p[2], p[1], p[0]}));
  EXPECT_EQ(f.PointsOf(b), p);
  EXPECT_TRUE(FlipSelectedFaces(f.t()));
  EXPECT_EQ(f.PointsOf(a), p);
  f.t().polygonSelected[a] = kUnselected;
  EXPECT_FALSE(FlipSelectedFaces(f.t()));
}

TEST(ClearViewZoneList, SelectedPolygonsLoseTheirCountButKeepEntries) {
  GeometryFixture f;
  const Points p = Ring(f, 3);
  const auto a = PolyOf(f, p, true);
  const auto b = PolyOf(f, p, false);
  for (auto k : {a, b}) {
    f.t().polygons[k].viewZoneCount = 2;
    f.t().polygons[k].viewZones[0] = 0x4001;
    f.t().polygons[k].viewZones[1] = 0x8003;
  }
  EXPECT_TRUE(ClearViewZoneLists(f.t()));
  EXPECT_EQ(f.t().polygons[a].viewZoneCount, 0u);
  EXPECT_EQ(f.t().polygons[a].viewZones[1], 0x8003u);
  EXPECT_EQ(f.t().polygons[b].viewZoneCount, 2u);
  // In walk mode the zone the viewer stands in is emptied, selected or not.
  EXPECT_TRUE(ClearViewZoneLists(f.t(), b));
  EXPECT_EQ(f.t().polygons[b].viewZoneCount, 0u);
  EXPECT_FALSE(ClearViewZoneLists(f.t(), 7));
}

TEST(Tessellate, HexagonBecomesFourTrianglesAfterThreeDiagonals) {
  GeometryFixture f;
  const Points p = Ring(f, 6);
  PolyOf(f, p, true);
  const std::uint32_t vectorsBefore = f.t().vectorCount;
  ASSERT_TRUE(Tessellate(f.t(), f.ui));
  ASSERT_EQ(f.t().polygonCount, 4u);
  EXPECT_EQ(f.PointsOf(0), (Points{p[0], p[1], p[2]}));
  EXPECT_EQ(f.PointsOf(1), (Points{p[2], p[3], p[0]}));
  EXPECT_EQ(f.PointsOf(2), (Points{p[3], p[4], p[5]}));
  EXPECT_EQ(f.PointsOf(3), (Points{p[5], p[0], p[3]}));
  ASSERT_EQ(f.t().vectorCount, vectorsBefore + 3);
  const Vector* d = &f.t().vectors[vectorsBefore];
  EXPECT_EQ(std::make_pair(d[0].p1, d[0].p2), std::make_pair(p[0], p[3]));
  EXPECT_EQ(std::make_pair(d[1].p1, d[1].p2), std::make_pair(p[0], p[2]));
  EXPECT_EQ(std::make_pair(d[2].p1, d[2].p2), std::make_pair(p[3], p[5]));
  EXPECT_EQ(d[0].width, 0u);
  for (std::uint32_t k = 0; k < 4; ++k) {
    EXPECT_EQ(f.t().polygonSelected[k], kSelected);
    EXPECT_EQ(f.t().polygons[k].vectorCount, 3u) << "every edge has a vector";
  }
  // The second triangle's edges: p2-p3 (ring), p3-p0 (diagonal), p0-p2 (diagonal).
  EXPECT_EQ(f.VectorsOf(1), (Points{6 + 2, vectorsBefore, vectorsBefore + 1}));
}

TEST(Tessellate, TrianglesAndUnselectedPolygonsStayAndNewOnesFollowThem) {
  GeometryFixture f;
  const Points p = Ring(f, 4);
  const auto square = PolyOf(f, p, true);
  const auto triangle = PolyOf(f, {p[0], p[1], p[2]}, true);
  const auto other = PolyOf(f, p, false);
  f.t().polygons[square].frontColor = 33;
  f.t().polygons[square].viewZoneCount = 1;
  f.t().polygons[square].viewZones[0] = 0x4002;
  ASSERT_TRUE(Tessellate(f.t(), f.ui));
  ASSERT_EQ(f.t().polygonCount, 4u);
  EXPECT_EQ(f.PointsOf(0), (Points{p[0], p[1], p[2]}));  // the triangle, now first
  EXPECT_EQ(f.PointsOf(1), p);                           // the unselected square
  EXPECT_EQ(f.t().polygonSelected[1], kUnselected);
  EXPECT_EQ(f.PointsOf(2), (Points{p[0], p[1], p[2]}));
  EXPECT_EQ(f.PointsOf(3), (Points{p[2], p[3], p[0]}));
  for (std::uint32_t k : {2u, 3u}) {
    EXPECT_EQ(f.t().polygons[k].frontColor, 33);
    EXPECT_EQ(f.t().polygons[k].viewZoneCount, 1u);
    EXPECT_EQ(f.t().polygons[k].viewZones[0], 0x4002u);
  }
  (void)triangle;
  (void)other;
}

TEST(Tessellate, RefusesWhenTheTablesCannotTakeTheSplits) {
  GeometryFixture f;
  const Points p = Ring(f, 6);
  PolyOf(f, p, true);
  f.t().vectorCount = kMaxVectors - 2;  // three diagonals needed
  const std::uint32_t polygons = f.t().polygonCount;
  EXPECT_FALSE(Tessellate(f.t(), f.ui));
  EXPECT_EQ(f.ui.MessageTexts(),
            (std::vector<std::string>{"Not enough room in the object to tessellate the selection: "
                                      "it would exceed the limit of 20000 vectors."}));
  EXPECT_EQ(f.t().vectorCount, kMaxVectors - 2);
  EXPECT_EQ(f.t().polygonCount, polygons);
  EXPECT_EQ(f.PointsOf(0), p);
}

TEST(TessellateMatchesLiteralMethod, OnManyRandomObjects) {
  GeometryFixture f;
  ObjectTables reference{f.rt};
  reference.AllocateObjectTables();
  reference.BuildReservedEntries();
  std::mt19937 rng(3);
  for (int round = 0; round < 300; ++round) {
    RandomShape shape;
    shape.points = 1 + rng() % 50;
    shape.vectors = 1 + rng() % 60;
    shape.polygons = rng() % 25;
    shape.maxCorners = 3 + rng() % 12;
    FillRandomObject(f.t(), rng, shape);
    CopyUsed(f.t(), reference);
    const bool fast = Tessellate(f.t(), f.ui);
    const bool literal = reference::LiteralTessellate(reference);
    ASSERT_EQ(fast, literal) << "round " << round;
    ASSERT_TRUE(SameUsedTables(f.t(), reference)) << "round " << round;
  }
  EXPECT_TRUE(f.ui.Messages().empty());
}

TEST(TessellateMatchesLiteralMethod, OnALargeSelection) {
  GeometryFixture f;
  ObjectTables reference{f.rt};
  reference.AllocateObjectTables();
  reference.BuildReservedEntries();
  std::mt19937 rng(21);
  RandomShape shape{400, 800, 600, 4, 20};
  FillRandomObject(f.t(), rng, shape);
  CopyUsed(f.t(), reference);
  ASSERT_TRUE(Tessellate(f.t(), f.ui));
  ASSERT_TRUE(reference::LiteralTessellate(reference));
  EXPECT_TRUE(SameUsedTables(f.t(), reference));
}

}  // namespace
}  // namespace ws::test
