#include "geometry/faces.h"

#include <gtest/gtest.h>

#include "geometry/polygon_define.h"
#include "geometry_test_support.h"

namespace ws::test {
namespace {

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
