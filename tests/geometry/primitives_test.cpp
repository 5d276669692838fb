#include "geometry/primitives.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "geometry_test_support.h"

namespace ws::test {
namespace {

using Coords = std::vector<double>;
using Indices = std::vector<std::uint32_t>;

std::set<Coords> UserPoints(GeometryFixture& f) {
  std::set<Coords> out;
  for (std::uint32_t i = kReservedPoints; i < f.t().pointCount; ++i) out.insert(f.Coords(i));
  return out;
}

void ExpectAllUserVectorsSelected(GeometryFixture& f) {
  for (std::uint32_t i = kReservedVectors; i < f.t().vectorCount; ++i) {
    EXPECT_EQ(f.t().vectors[i].selected, kSelected) << i;
  }
}

// The set of corner coordinates of polygon k, in loop order.
std::vector<Coords> Corners(GeometryFixture& f, std::uint32_t k) {
  std::vector<Coords> out;
  for (std::uint32_t p : f.PointsOf(k)) out.push_back(f.Coords(p));
  return out;
}

TEST(Circle, FourVectorsGiveFourRimPointsFourSpokesAndFourTriangles) {
  GeometryFixture f;
  ASSERT_TRUE(CreateCircle(f.ctx, {"4", "10", "0,0,0", false}));
  EXPECT_EQ(f.model.undo.CurrentStack().back().label, "Undo Circle\tCtrl+Z");
  ASSERT_EQ(f.t().pointCount, 12u);
  EXPECT_EQ(f.Coords(7), (Coords{0, 0, 0}));  // the centre comes first
  EXPECT_EQ(f.Coords(8), (Coords{5, 0, 0}));
  EXPECT_EQ(f.Coords(9), (Coords{0, 5, 0}));  // cos 90 degrees truncates to 0
  EXPECT_EQ(f.Coords(10), (Coords{-5, 0, 0}));
  EXPECT_EQ(f.Coords(11), (Coords{0, -5, 0}));
  ASSERT_EQ(f.t().vectorCount, 6u + 8);  // each spoke was made twice, then merged
  int spokes = 0;
  for (std::uint32_t i = 6; i < f.t().vectorCount; ++i) {
    spokes += f.t().vectors[i].p1 == 7 || f.t().vectors[i].p2 == 7;
  }
  EXPECT_EQ(spokes, 4);
  ASSERT_EQ(f.t().polygonCount, 4u);
  for (std::uint32_t k = 0; k < 4; ++k) {
    EXPECT_EQ(f.PointsOf(k), (Indices{8 + k, 7, 8 + (k + 1) % 4}));
    EXPECT_EQ(f.t().polygons[k].vectorCount, 3u);
  }
  ExpectAllUserVectorsSelected(f);
  EXPECT_EQ(f.feedback.titles,
            (std::vector<std::string>{"Defining Polygon 0", "Defining Polygon 1",
                                      "Defining Polygon 2", "Defining Polygon 3"}));
  EXPECT_EQ(f.feedback.redraws, 4);
  EXPECT_FALSE(f.ui.busy());
  EXPECT_TRUE(f.ui.Messages().empty());
}

TEST(Circle, OriginMovesTheRimButNotTheCentre) {
  GeometryFixture f;
  ASSERT_TRUE(CreateCircle(f.ctx, {"4", "10", "10,0,0", true}));
  EXPECT_EQ(UserPoints(f),
            (std::set<Coords>{{0, 0, 0}, {-5, 0, 0}, {-10, 5, 0}, {-15, 0, 0}, {-10, -5, 0}}));
  EXPECT_EQ(f.t().polygonCount, 0u);
}

TEST(Cylinder, HeightFiveBelowTheOriginTruncatesTowardZero) {
  GeometryFixture f;
  ASSERT_TRUE(CreateCylinder(f.ctx, {"4", "5", "10", "0,-10,0", false}));
  EXPECT_EQ(f.model.undo.CurrentStack().back().label, "Undo Cylinder\tCtrl+Z");
  EXPECT_EQ(f.Coords(7), (Coords{0, -8, 0}));   // 5/2 + oy
  EXPECT_EQ(f.Coords(8), (Coords{0, -12, 0}));  // oy - 5/2
  std::set<double> ringHeights;
  for (std::uint32_t i = 9; i < f.t().pointCount; ++i) ringHeights.insert(f.t().points[i].y);
  EXPECT_EQ(ringHeights, (std::set<double>{-7, -12}));  // trunc(-7.5), trunc(-12.5)
  EXPECT_EQ(f.t().pointCount, 7u + 10);
  EXPECT_EQ(f.t().vectorCount, 6u + 20);
  ASSERT_EQ(f.t().polygonCount, 12u);
  // Side k = 0 after its reversal: T[1], B[1], B[0], T[0].
  EXPECT_EQ(Corners(f, 0), (std::vector<Coords>{{5, -7, 0}, {5, -12, 0}, {0, -12, 5}, {0, -7, 5}}));
  ExpectAllUserVectorsSelected(f);
  ASSERT_EQ(f.feedback.titles.size(), 12u);
  EXPECT_EQ(f.feedback.titles[4], "Defining Polygon 0");  // each group counts from 0
}

TEST(Sphere, ThreeByThreeVectorsOnly) {
  GeometryFixture f;
  ASSERT_TRUE(CreateSphere(f.ctx, {"3", "3", "100", "0,0,0", true}));
  EXPECT_EQ(f.model.undo.CurrentStack().back().label, "Undo Sphere\tCtrl+Z");
  ASSERT_EQ(f.t().pointCount, 7u + 8);
  EXPECT_EQ(f.Coords(7), (Coords{0, 50, 0}));
  EXPECT_EQ(f.Coords(14), (Coords{0, -50, 0}));
  EXPECT_EQ(f.t().polygonCount, 0u);
  // 3 + 3 pole vectors, 3 + 3 ring vectors, 3 between the rings.
  EXPECT_EQ(f.t().vectorCount, 6u + 15);
  ExpectAllUserVectorsSelected(f);
  EXPECT_TRUE(f.feedback.titles.empty());
}

TEST(Sphere, FacesAreNumberedOnAcrossTheGroups) {
  GeometryFixture f;
  ASSERT_TRUE(CreateSphere(f.ctx, {"4", "6", "200", "0,0,0", false}));
  ASSERT_EQ(f.t().polygonCount, 24u);  // 6 + 6 caps, 2 x 6 band quadrilaterals
  EXPECT_EQ(f.feedback.titles.front(), "Defining Polygon 0");
  EXPECT_EQ(f.feedback.titles.back(), "Defining Polygon 23");
  // Three points per cap triangle, the pole among them.
  for (std::uint32_t k = 0; k < 6; ++k) {
    const Indices loop = f.PointsOf(k);
    ASSERT_EQ(loop.size(), 3u);
    EXPECT_EQ(std::count(loop.begin(), loop.end(), 7u), 1) << k;
  }
  EXPECT_TRUE(f.ui.Messages().empty());
}

// Every closed primitive winds all its faces one way: seen from outside, as
// the cube's six faces do (their right-hand normals point into the solid).
TEST(Primitives, EveryFaceOfTheClosedShapesWindsTheCubesWay) {
  auto check = [](GeometryFixture& f, const Coords& centre) {
    ASSERT_GT(f.t().polygonCount, 0u);
    for (std::uint32_t k = 0; k < f.t().polygonCount; ++k) {
      const std::vector<Coords> c = Corners(f, k);
      const std::array<double, 3> n = f.Normal(k);
      double inward = 0;
      for (int d = 0; d < 3; ++d) {
        double mid = 0;
        for (const Coords& a : c) mid += a[d] / c.size();
        inward += n[d] * (centre[d] - mid);
      }
      EXPECT_GT(inward, 0) << "polygon " << k;
    }
  };
  {
    GeometryFixture f;
    ASSERT_TRUE(CreateCube(f.ctx, {"10", "20", "30", "5,5,5", false}));
    check(f, {5, 5, 5});
  }
  {
    GeometryFixture f;
    ASSERT_TRUE(CreateCylinder(f.ctx, {"12", "40", "100", "0,0,0", false}));
    check(f, {0, 0, 0});
  }
  {
    GeometryFixture f;
    ASSERT_TRUE(CreateSphere(f.ctx, {"8", "12", "1000", "0,0,0", false}));
    check(f, {0, 0, 0});
    EXPECT_TRUE(f.ui.Messages().empty());
  }
}

TEST(Cube, TenCubeCornersAndItsSixPointLists) {
  GeometryFixture f;
  ASSERT_TRUE(CreateCube(f.ctx, {"10", "10", "10", "0,0,0", false}));
  EXPECT_EQ(f.model.undo.CurrentStack().back().label, "Undo Rectangle\tCtrl+Z");
  ASSERT_EQ(f.t().pointCount, 15u);
  const Coords corners[8] = {{-5, -5, 5},  {5, -5, 5},  {-5, 5, 5},  {5, 5, 5},
                             {-5, -5, -5}, {5, -5, -5}, {-5, 5, -5}, {5, 5, -5}};
  for (std::uint32_t i = 0; i < 8; ++i) EXPECT_EQ(f.Coords(7 + i), corners[i]) << "P" << i + 1;
  auto P = [](std::uint32_t n) { return 6 + n; };  // P1 is point 7
  ASSERT_EQ(f.t().polygonCount, 6u);
  EXPECT_EQ(f.PointsOf(0), (Indices{P(1), P(3), P(4), P(2)}));
  EXPECT_EQ(f.PointsOf(1), (Indices{P(2), P(6), P(5), P(1)}));
  EXPECT_EQ(f.PointsOf(2), (Indices{P(3), P(7), P(8), P(4)}));
  EXPECT_EQ(f.PointsOf(3), (Indices{P(1), P(5), P(7), P(3)}));
  EXPECT_EQ(f.PointsOf(4), (Indices{P(4), P(8), P(6), P(2)}));
  EXPECT_EQ(f.PointsOf(5), (Indices{P(6), P(8), P(7), P(5)}));
  EXPECT_EQ(f.t().vectorCount, 18u);
  ExpectAllUserVectorsSelected(f);
  EXPECT_EQ(
      f.feedback.titles,
      (std::vector<std::string>{"Defining Polygon 1", "Defining Polygon 2", "Defining Polygon 3",
                                "Defining Polygon 4", "Defining Polygon 5", "Defining Polygon 6"}));
}

TEST(Cube, OddWidthHalvesByIntegerDivisionAndAddsTheOrigin) {
  GeometryFixture f;
  ASSERT_TRUE(CreateCube(f.ctx, {"10", "5", "10", "100,0,-20", true}));
  std::set<double> xs;
  for (std::uint32_t i = 7; i < f.t().pointCount; ++i) xs.insert(f.t().points[i].x);
  EXPECT_EQ(xs, (std::set<double>{98, 102}));
  EXPECT_EQ(f.t().points[7].z, -15.0);
}

TEST(Primitives, VectorsSelectedBeforehandDoNotJoinTheFirstPolygon) {
  GeometryFixture f;
  const auto old = f.V(f.P(500, 500, 500), f.P(600, 500, 500), true);
  ASSERT_TRUE(CreateCube(f.ctx, {"10", "10", "10", "0,0,0", false}));
  EXPECT_EQ(f.t().polygonCount, 6u);
  EXPECT_EQ(f.t().polygons[0].vectorCount, 4u);
  EXPECT_EQ(f.t().vectors[old].selected, kUnselected);
  EXPECT_TRUE(f.ui.Messages().empty());
}

TEST(Primitives, WorkingMemoryFailuresAddNothing) {
  GeometryFixture f;
  f.rt.memory.FailAfter(0);
  EXPECT_FALSE(GenerateCircle(f.ctx, {4, 10, {}, false}));
  EXPECT_FALSE(GenerateCylinder(f.ctx, {4, 10, 10, {}, false}));
  for (std::size_t succeed = 0; succeed < 4; ++succeed) {
    f.rt.memory.FailAfter(succeed);
    EXPECT_FALSE(GenerateSphere(f.ctx, {3, 3, 100, {}, false}));
  }
  f.rt.memory.FailAfter(std::nullopt);
  EXPECT_EQ(f.ui.MessageTexts(),
            (std::vector<std::string>{
                "Not enough memory. Decrease number of vectors.", "Not Enough Memory",
                "Not enough memory for top.", "Not enough memory for bottom.",
                "Not enough memory for center.", "Not enough memory for points."}));
  EXPECT_EQ(f.ui.Messages()[0].caption, kGeneralErrorCaption);
  EXPECT_EQ(f.t().pointCount, 7u);
  EXPECT_EQ(f.t().vectorCount, 6u);
  EXPECT_FALSE(f.ui.busy());
}

TEST(Primitives, GeneratedShapeThatCannotFitIsRefused) {
  GeometryFixture f;
  f.t().polygonCount = kMaxPolygons - 5;
  EXPECT_FALSE(GenerateCube(f.ctx, {10, 10, 10, {}, false}));
  EXPECT_EQ(f.ui.MessageTexts(), (std::vector<std::string>{
                                     "Not enough room in the object for this cube: it would exceed "
                                     "the limit of 10000 polygons."}));
  EXPECT_EQ(f.t().pointCount, 7u);
}

}  // namespace
}  // namespace ws::test
