#include "geometry/transforms.h"

#include <gtest/gtest.h>

#include <cmath>

#include "geometry/commands.h"
#include "geometry_test_support.h"

namespace ws::test {
namespace {

using Coords = std::vector<double>;

TEST(RoundHalfAwayFromZero, HalvesGoOutwardAndZeroIsPositive) {
  EXPECT_EQ(RoundHalfAwayFromZero(2.5), 3.0);
  EXPECT_EQ(RoundHalfAwayFromZero(-2.5), -3.0);
  EXPECT_EQ(RoundHalfAwayFromZero(2.4999), 2.0);
  EXPECT_EQ(RoundHalfAwayFromZero(-2.4999), -2.0);
  EXPECT_FALSE(std::signbit(RoundHalfAwayFromZero(-0.3)));
  EXPECT_FALSE(std::signbit(TruncToWhole(-0.7)));
  EXPECT_EQ(TruncToWhole(-7.5), -7.0);
  EXPECT_EQ(TruncToWhole(-12.5), -12.0);
}

TEST(RotateSelection, NoSelectionTurnsTheWholeObjectAboutTheOrigin) {
  GeometryFixture f;
  const auto a = f.P(3, 4, 5), b = f.P(-7, 2, 10);
  f.V(a, b);
  EXPECT_EQ(RotateSelection(f.t(), Axis::kY, 90), 2u);
  EXPECT_EQ(f.Coords(a), (Coords{5, 4, -3}));  // (z, y, -x)
  EXPECT_EQ(f.Coords(b), (Coords{10, 2, 7}));
  RotateSelection(f.t(), Axis::kY, 90);
  EXPECT_EQ(f.Coords(a), (Coords{-3, 4, -5}));  // twice: (-x, y, -z)
  EXPECT_EQ(f.Coords(b), (Coords{7, 2, -10}));
  RotateSelection(f.t(), Axis::kX, 90);
  EXPECT_EQ(f.Coords(a), (Coords{-3, 5, 4}));  // (x, -z, y)
  // The axis cross is never touched.
  EXPECT_EQ(f.Coords(1), (Coords{150, 0, 0}));
}

TEST(RotateSelection, FortyFiveDegreesKeepsTheUnroundedValues) {
  GeometryFixture f;
  const auto p = f.P(10, 0, 0);
  RotateSelection(f.t(), Axis::kY, 45);
  const Point& q = f.t().points[p];
  EXPECT_NEAR(q.eyeDepth, 7.0710678118654755, 1e-12);
  EXPECT_EQ(q.eyeX, 0.0);
  EXPECT_NEAR(q.eyeY, -7.0710678118654755, 1e-12);
  EXPECT_EQ(f.Coords(p), (Coords{7, 0, -7}));
  // The next turn starts again from the rounded values.
  RotateSelection(f.t(), Axis::kY, 45);
  EXPECT_NEAR(q.eyeDepth, 7 * std::sqrt(0.5) - 7 * std::sqrt(0.5), 1e-12);
  EXPECT_NEAR(q.eyeY, -7 * std::sqrt(2.0), 1e-12);
  EXPECT_EQ(f.Coords(p), (Coords{0, 0, -10}));
}

TEST(RotateSelection, ExactHalvesRoundAwayFromZero) {
  GeometryFixture f;
  // About x the x value passes through unchanged, halves included.
  const auto p = f.P(2.5, 0, 0), q = f.P(-2.5, 0, 0);
  RotateSelection(f.t(), Axis::kX, 90);
  EXPECT_EQ(f.t().points[p].x, 3.0);
  EXPECT_EQ(f.t().points[q].x, -3.0);
}

TEST(RotateSelection, OnlyPointsOfSelectedVectorsMoveEachOnce) {
  GeometryFixture f;
  const auto a = f.P(10, 0, 0), b = f.P(0, 0, 10), c = f.P(10, 10, 10), lone = f.P(5, 5, 5);
  f.V(a, b, true);
  f.V(b, c, true);
  f.V(c, lone);
  EXPECT_EQ(RotateSelection(f.t(), Axis::kY, 90), 3u);
  EXPECT_EQ(f.Coords(b), (Coords{10, 0, 0}));  // shared, turned once
  EXPECT_EQ(f.Coords(lone), (Coords{5, 5, 5}));
}

TEST(MirrorSelection, SharedPointMovesOnceAndZeroStaysPositive) {
  GeometryFixture f;
  const auto a = f.P(1, 2, 3), shared = f.P(4, 0, 6), c = f.P(7, 8, 9), other = f.P(1, 1, 1);
  f.V(a, shared, true);
  f.V(shared, c, true);
  f.V(c, other);
  EXPECT_EQ(MirrorSelection(f.t(), Axis::kY), 3u);
  EXPECT_EQ(f.Coords(a), (Coords{1, -2, 3}));
  EXPECT_EQ(f.Coords(shared), (Coords{4, 0, 6}));
  EXPECT_FALSE(std::signbit(f.t().points[shared].y));
  EXPECT_EQ(f.Coords(c), (Coords{7, -8, 9}));
  EXPECT_EQ(f.Coords(other), (Coords{1, 1, 1}));
  EXPECT_EQ(MirrorSelection(f.t(), Axis::kX), 3u);
  EXPECT_EQ(f.Coords(shared), (Coords{-4, 0, 6}));
}

TEST(MirrorCommand, NoSelectionMovesNothingButReversesEveryPolygon) {
  GeometryFixture f;
  const auto a = f.P(0, 0, 0), b = f.P(10, 0, 0), c = f.P(0, 10, 0);
  f.V(a, b);
  f.Poly({a, b, c});
  f.Poly({c, b, a}, true);
  EXPECT_TRUE(RunGeometryCommand(f.ctx, GeometryCommandId::kFlipFrontAndBack).value());
  EXPECT_EQ(f.Coords(b), (Coords{10, 0, 0}));
  EXPECT_EQ(f.PointsOf(0), (std::vector<std::uint32_t>{c, b, a}));
  EXPECT_EQ(f.PointsOf(1), (std::vector<std::uint32_t>{a, b, c}));
  EXPECT_EQ(f.model.undo.CurrentStack().back().label, "Undo Flip\tCtrl+Z");
}

TEST(MirrorCommand, AMirroredPolygonIsReversedExactlyOnce) {
  GeometryFixture f;
  const auto a = f.P(0, 0, 5), b = f.P(10, 0, 5), c = f.P(0, 10, 5);
  f.V(a, b, true);
  f.V(b, c, true);
  f.V(c, a, true);
  f.Poly({a, b, c}, false, PolyFlag::kDefined);  // single-sided
  ASSERT_TRUE(MirrorCommand(f.ctx, Axis::kZ));
  EXPECT_EQ(f.Coords(a), (Coords{0, 0, -5}));
  EXPECT_EQ(f.PointsOf(0), (std::vector<std::uint32_t>{c, b, a}));
}

}  // namespace
}  // namespace ws::test
