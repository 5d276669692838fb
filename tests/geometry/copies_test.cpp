#include "geometry/copies.h"

#include <gtest/gtest.h>

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
  EXPECT_EQ(f.t().pointCount, 13u);   // the corners' copies merged with the vectors'
  ASSERT_EQ(f.t().vectorCount, 12u);  // three new edges
  const Vector& copy = f.t().vectors[9];
  EXPECT_EQ(f.Coords(copy.p1), (Coords{-5, -5, 0}));
  EXPECT_EQ(f.Coords(copy.p2), (Coords{15, -5, 0}));
  EXPECT_EQ(std::make_tuple(copy.color, copy.attribute, copy.width), std::make_tuple(44, -9, 3u));
  for (std::uint32_t i = 6; i < 12; ++i) {
    EXPECT_EQ(f.t().vectors[i].selected, i < 9 ? kUnselected : kSelected) << i;
  }
  ASSERT_EQ(f.t().polygonCount, 5u);
  const Polygon& zoneCopy = f.t().polygons[3];
  EXPECT_EQ(f.Coords(zoneCopy.points[2]), (Coords{-5, 15, 0}));
  EXPECT_EQ(f.VectorsOf(3), (Indices{9, 10, 11}));  // rebuilt from the corners
  EXPECT_EQ(zoneCopy.frontColor, 9);
  EXPECT_EQ(f.t().polygonSelected[3], kSelected);
  ASSERT_EQ(zoneCopy.viewZoneCount, 2u);
  EXPECT_EQ(zoneCopy.viewZones[0], 4u | ViewZone::kLowPriority);
  EXPECT_EQ(zoneCopy.viewZones[1], 3u);
  EXPECT_EQ(f.t().polygons[4].viewZones[0], 3u);  // the leader's copy
  EXPECT_TRUE(f.t().polygons[4].flags & PolyFlag::kAdopted);
  EXPECT_FALSE(f.ui.busy());
}

TEST(ConnectCopy, SquareGivesFourQuadrilateralsTwentyBehind) {
  GeometryFixture f;
  const auto a = f.P(0, 0, 0), b = f.P(10, 0, 0), c = f.P(10, 10, 0), d = f.P(0, 10, 0);
  f.t().vectors[f.V(a, b, true)].width = 4;
  for (auto [p, q] : {std::pair{b, c}, {c, d}, {d, a}}) f.V(p, q, true);
  ASSERT_TRUE(ConnectCopy(f.ctx));
  ASSERT_EQ(f.t().pointCount, 7u + 8);
  EXPECT_EQ(f.Coords(11), (Coords{0, 0, -20}));
  EXPECT_EQ(f.Coords(12), (Coords{10, 0, -20}));
  ASSERT_EQ(f.t().vectorCount, 6u + 4 + 4 + 4);
  EXPECT_EQ(f.t().vectors[12].width, 4u);  // the source, a-A, b-B, A-B: the back one's width
  EXPECT_EQ(f.t().vectors[11].width, 0u);
  ASSERT_EQ(f.t().polygonCount, 4u);
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

}  // namespace
}  // namespace ws::test
