#include "geometry/polygon_define.h"

#include <gtest/gtest.h>

#include "geometry_test_support.h"

namespace ws::test {
namespace {

using Indices = std::vector<std::uint32_t>;

TEST(DefinePolygon, TriangleStartsAtTheLowestVectorsFirstPoint) {
  GeometryFixture f;
  const auto a = f.P(0, 0, 0), b = f.P(10, 0, 0), c = f.P(0, 10, 0);
  f.V(b, c, true);  // 6: the lowest, so the loop starts at b and ends at c
  f.V(c, a, true);  // 7
  f.V(a, b, true);  // 8
  const std::int32_t k = DefinePolygonFromSelection(f.t(), f.ui, 77);
  ASSERT_EQ(k, 0);
  EXPECT_EQ(f.PointsOf(0), (Indices{b, a, c}));
  EXPECT_EQ(f.VectorsOf(0), (Indices{6, 7, 8}));
  const Polygon& poly = f.t().polygons[0];
  EXPECT_EQ(poly.flags, 0x502u);
  EXPECT_EQ(poly.frontColor, 77);
  EXPECT_EQ(poly.frontFill, 0x4D4D4D4Du);
  EXPECT_EQ(poly.viewZoneCount, 0u);
  EXPECT_EQ(f.t().polygonSelected[0], kUnselected);
  for (std::uint32_t i = 6; i < 9; ++i) EXPECT_EQ(f.t().vectors[i].selected, kUnselected);
  EXPECT_TRUE(f.ui.Messages().empty());
}

TEST(DefinePolygon, RefusalsAndTheirMessages) {
  GeometryFixture f;
  const auto a = f.P(0, 0, 0), b = f.P(10, 0, 0), c = f.P(10, 10, 0), d = f.P(0, 10, 0);
  const auto e = f.P(50, 50, 0), g = f.P(60, 50, 0);
  // Two vectors: too few, and the selection stays.
  f.V(a, b, true);
  f.V(b, c, true);
  EXPECT_EQ(DefinePolygonFromSelection(f.t(), f.ui, 0), -1);
  EXPECT_EQ(f.t().vectors[6].selected, kSelected);
  // A closed square plus a stray vector: no vector continues the chain.
  f.V(c, d, true);
  f.V(d, a, true);
  f.V(e, g, true);
  EXPECT_EQ(DefinePolygonFromSelection(f.t(), f.ui, 0), -1);
  EXPECT_EQ(f.t().vectors[6].selected, kUnselected);
  // a-b, c-d, d-a: the walk goes a, d, c and ends away from b.
  for (std::uint32_t i : {6u, 8u, 9u}) f.t().vectors[i].selected = kSelected;
  EXPECT_EQ(DefinePolygonFromSelection(f.t(), f.ui, 0), -1);
  EXPECT_EQ(f.ui.MessageTexts(),
            (std::vector<std::string>{"At least 3 verticies are required to define a polygon.",
                                      "Bad polygon. Please try again.",
                                      "Points do not connect to define a polygon."}));
  EXPECT_EQ(f.t().polygonCount, 0u);
  EXPECT_EQ(f.t().polygons[0].pointCount, 0u);
}

TEST(DefinePolygon, ConvexityWarningsDoNotStopTheDefinition) {
  GeometryFixture f;
  // An L-shaped hexagon in z = 0.
  const Indices p = {f.P(0, 0, 0),   f.P(20, 0, 0),  f.P(20, 10, 0),
                     f.P(10, 10, 0), f.P(10, 20, 0), f.P(0, 20, 0)};
  for (std::size_t i = 0; i < p.size(); ++i) f.V(p[i], p[(i + 1) % p.size()], true);
  EXPECT_EQ(DefinePolygonFromSelection(f.t(), f.ui, 0), 0);
  EXPECT_EQ(f.ui.MessageTexts(),
            (std::vector<std::string>{"Warning: Bad polygon (not convex). Check x/y plane."}));
  // A square in z = 0 warns about nothing.
  f.ui.ClearMessages();
  const Indices q = {f.P(100, 0, 0), f.P(110, 0, 0), f.P(110, 10, 0), f.P(100, 10, 0)};
  for (std::size_t i = 0; i < q.size(); ++i) f.V(q[i], q[(i + 1) % q.size()], true);
  EXPECT_EQ(DefinePolygonFromSelection(f.t(), f.ui, 0), 1);
  EXPECT_TRUE(f.ui.Messages().empty());
}

TEST(DefinePolygon, FullPolygonTableIsRefusedBeforeWriting) {
  GeometryFixture f;
  const auto a = f.P(0, 0, 0), b = f.P(10, 0, 0), c = f.P(0, 10, 0);
  f.V(a, b, true);
  f.V(b, c, true);
  f.V(c, a, true);
  f.t().polygonCount = kMaxPolygons;
  EXPECT_EQ(DefinePolygonFromSelection(f.t(), f.ui, 0), -1);
  EXPECT_EQ(f.ui.MessageTexts(), (std::vector<std::string>{std::string(kPolygonTableFull)}));
  EXPECT_EQ(f.t().polygonCount, kMaxPolygons);
  EXPECT_EQ(f.t().vectors[6].selected, kSelected);
}

}  // namespace
}  // namespace ws::test
