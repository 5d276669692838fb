#include "geometry/copies.h"

#include <gtest/gtest.h>

#include "geometry/faces.h"
#include "geometry/polygon_define.h"
#include "geometry_test_support.h"

namespace ws::test {
namespace {

using Coords = std::vector<double>;
using Indices = std::vector<std::uint32_t>;

// The vector a-b and three polygons: a view zone (selected), a member of
// its group (selected) and one left alone.
TEST(Duplicate, CopiesLieOneGridStepDownLeftWithTheirViewZones) {
  GeometryFixture f;
  const auto a = f.P(0, 0, 0), b = f.P(20, 0, 0), c = f.P(0, 20, 0);
  const auto ab = f.V(a, b, true);
  f.V(b, c);
  f.V(c, a);
  Vector& source = f.t().vectors[ab];
  std::tie(source.color, source.attribute, source.width) = std::make_tuple(44, -9, 3);
  const auto zone = f.Poly({a, b, c}, true), member = f.Poly({c, b, a}, true);
  const auto alone = f.Poly({a, b, c});
  Polygon& z = f.t().polygons[zone];
  z.frontColor = 9;
  z.viewZoneCount = 4;  // the polygon left alone and a vector entry are not copied
  std::tie(z.viewZones[0], z.viewZones[1], z.viewZones[2], z.viewZones[3]) =
      std::make_tuple(alone, member | ViewZone::kLowPriority, 7 | ViewZone::kIsVector, zone);
  f.t().polygons[member].flags |= PolyFlag::kAdopted;
  f.t().polygons[member].viewZones[0] = zone;
  f.ctx.gridStep = 5;
  ASSERT_TRUE(DuplicateSelection(f.ctx));
  // The corners' copies merged with the vectors'; three new edges.
  ASSERT_EQ(std::make_tuple(f.t().pointCount, f.t().vectorCount, f.t().polygonCount),
            std::make_tuple(13u, 12u, 5u));
  const Vector& copy = f.t().vectors[9];
  EXPECT_EQ(
      std::make_tuple(f.Coords(copy.p1), f.Coords(copy.p2), copy.color, copy.attribute, copy.width),
      std::make_tuple(Coords{-5, -5, 0}, Coords{15, -5, 0}, 44, -9, 3u));
  for (std::uint32_t i = 6; i < 12; ++i) {
    EXPECT_EQ(f.t().vectors[i].selected, i < 9 ? kUnselected : kSelected) << i;
  }
  // The zone's copy: vectors rebuilt from the corners, the list renumbered;
  // the member's copy follows the leader's copy.
  const Polygon& zoneCopy = f.t().polygons[3];
  EXPECT_EQ(
      std::make_tuple(f.Coords(zoneCopy.points[2]), f.VectorsOf(3), zoneCopy.frontColor,
                      f.t().polygonSelected[3],
                      Indices(zoneCopy.viewZones, zoneCopy.viewZones + zoneCopy.viewZoneCount),
                      f.t().polygons[4].viewZones[0], f.t().polygons[4].flags & PolyFlag::kAdopted,
                      f.ui.busy()),
      std::make_tuple(Coords{-5, 15, 0}, Indices{9, 10, 11}, 9, kSelected,
                      Indices{4u | ViewZone::kLowPriority, 3u}, 3u,
                      std::uint32_t{PolyFlag::kAdopted}, false));
}

TEST(ConnectCopy, SquareGivesFourQuadrilateralsTwentyBehind) {
  GeometryFixture f;
  const auto a = f.P(0, 0, 0), b = f.P(10, 0, 0), c = f.P(10, 10, 0), d = f.P(0, 10, 0);
  f.t().vectors[f.V(a, b, true)].width = 4;
  for (auto [p, q] : {std::pair{b, c}, {c, d}, {d, a}}) f.V(p, q, true);
  ASSERT_TRUE(ConnectCopy(f.ctx));
  ASSERT_EQ(std::make_tuple(f.t().pointCount, f.t().vectorCount, f.t().polygonCount),
            std::make_tuple(7u + 8, 6u + 4 + 4 + 4, 4u));
  // The source, a-A, b-B, A-B: the back one has the source's width.
  EXPECT_EQ(
      std::make_tuple(f.Coords(11), f.Coords(12), f.t().vectors[12].width, f.t().vectors[11].width),
      std::make_tuple(Coords{0, 0, -20}, Coords{10, 0, -20}, 4u, 0u));
  for (std::uint32_t k = 0; k < 4; ++k) {
    EXPECT_EQ(std::tie(f.t().polygons[k].flags, f.t().polygons[k].pointCount,
                       f.t().polygons[k].vectorCount),
              std::make_tuple(2u, 4u, 4u))
        << k;
  }
  // V = a-b is the lowest of its four: the loop runs P1, A, B, P2.
  EXPECT_EQ(f.PointsOf(0), (Indices{a, 11, 12, b}));
  for (std::uint32_t i = 0; i < f.t().vectorCount; ++i)
    EXPECT_EQ(f.t().vectors[i].selected, kUnselected);
  EXPECT_TRUE(f.ui.Messages().empty());
}

using Points = std::vector<std::uint32_t>;
using Indices = Points;

TEST(Faces, FlipReversesSelectedPointListsAndClearEmptiesSelectedViewZoneLists) {
  GeometryFixture f;
  const Points p = {f.P(0, 0, 0), f.P(9, 0, 0), f.P(9, 9, 0), f.P(5, 12, 0), f.P(0, 9, 0)};
  const auto a = f.Poly({p[0], p[1], p[2], p[3], p[4]}, true), b = f.Poly({p[0], p[1], p[2]});
  for (auto k : {a, b}) f.t().polygons[k].viewZoneCount = 2;
  EXPECT_TRUE(FlipSelectedFaces(f.t()));
  EXPECT_EQ(std::make_pair(f.PointsOf(a), f.PointsOf(b)),
            std::make_pair(Points{p[4], p[3], p[2], p[1], p[0]}, Points{p[0], p[1], p[2]}));
  EXPECT_TRUE(ClearViewZoneLists(f.t()));
  EXPECT_EQ(std::make_pair(f.t().polygons[a].viewZoneCount, f.t().polygons[b].viewZoneCount),
            std::make_pair(0u, 2u));
  // In walk mode the zone the viewer stands in is emptied, selected or not.
  EXPECT_FALSE(ClearViewZoneLists(f.t(), 2));
  EXPECT_TRUE(ClearViewZoneLists(f.t(), b) && f.t().polygons[b].viewZoneCount == 0u);
  f.t().polygonSelected[a] = kUnselected;
  EXPECT_FALSE(FlipSelectedFaces(f.t()));
}

TEST(DefinePolygon, TriangleStartsAtTheLowestVectorsFirstPoint) {
  GeometryFixture f;
  const auto a = f.P(0, 0, 0), b = f.P(10, 0, 0), c = f.P(0, 10, 0);
  for (auto [p, q] : {std::pair{b, c}, {c, a}, {a, b}}) f.V(p, q, true);  // 6 = b-c is the lowest
  ASSERT_EQ(DefinePolygonFromSelection(f.t(), f.ui, 77), 0);
  const Polygon& poly = f.t().polygons[0];
  EXPECT_EQ(
      std::make_tuple(f.PointsOf(0), f.VectorsOf(0), poly.flags, poly.frontColor, poly.frontFill,
                      poly.viewZoneCount, f.t().polygonSelected[0], f.ui.Messages().size()),
      std::make_tuple(Indices{b, a, c}, Indices{6, 7, 8}, 0x502u, 77, 0x4D4D4D4Du, 0u, kUnselected,
                      0u));
  for (std::uint32_t i = 6; i < 9; ++i) EXPECT_EQ(f.t().vectors[i].selected, kUnselected);
}

}  // namespace
}  // namespace ws::test
