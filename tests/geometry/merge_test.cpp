#include "geometry/merge.h"

#include <gtest/gtest.h>

#include <random>

#include "geometry_test_support.h"
#include "literal_reference.h"

namespace ws::test {
namespace {

struct MergeFixture : GeometryFixture {
  MergeFixture() {
    reference.AllocateObjectTables();
    reference.BuildReservedEntries();
  }
  ObjectTables reference{rt};
};

TEST(MergeMatchesLiteralMethod, WholeObjectOnManyRandomObjects) {
  MergeFixture f;
  std::mt19937 rng(7);
  for (int round = 0; round < 400; ++round) {
    RandomShape shape;
    shape.points = rng() % 60;
    shape.vectors = rng() % 90;
    shape.polygons = rng() % 25;
    shape.grid = 1 + static_cast<int>(rng() % 3);
    FillRandomObject(f.t(), rng, shape);
    CopyUsed(f.t(), f.reference);
    RemoveDuplicateGeometry(f.t(), f.rt);
    reference::LiteralMergeFrom(f.reference, f.ui, kReservedPoints);
    ASSERT_TRUE(SameUsedTables(f.t(), f.reference)) << "round " << round;
  }
  EXPECT_TRUE(f.ui.Messages().empty());
}

TEST(MergeMatchesLiteralMethod, FromAPointOnManyRandomObjects) {
  MergeFixture f;
  std::mt19937 rng(11);
  for (int round = 0; round < 300; ++round) {
    RandomShape shape;
    shape.points = 1 + rng() % 70;
    shape.vectors = rng() % 80;
    shape.polygons = rng() % 20;
    FillRandomObject(f.t(), rng, shape);
    CopyUsed(f.t(), f.reference);
    // Below the reserved points, inside the table, and past its end.
    const std::uint32_t first = static_cast<std::uint32_t>(rng() % (f.t().pointCount + 3));
    MergeDuplicatesFrom(f.t(), f.rt, first);
    reference::LiteralMergeFrom(f.reference, f.ui, first);
    ASSERT_TRUE(SameUsedTables(f.t(), f.reference)) << "round " << round << " first " << first;
  }
}

TEST(MergeMatchesLiteralMethod, LargeObjectsWithFewDistinctPoints) {
  MergeFixture f;
  std::mt19937 rng(5);
  for (int round = 0; round < 3; ++round) {
    RandomShape shape{1500, 2500, 400, 3, 12};
    FillRandomObject(f.t(), rng, shape);
    CopyUsed(f.t(), f.reference);
    RemoveDuplicateGeometry(f.t(), f.rt);
    reference::LiteralMergeFrom(f.reference, f.ui, kReservedPoints);
    ASSERT_TRUE(SameUsedTables(f.t(), f.reference));
  }
}

TEST(MergePoints, EqualPointsGoToTheEarliestAndUnusedOnesGo) {
  GeometryFixture f;
  const auto a = f.P(0, 0, 0);      // 7
  f.P(9, 9, 9);                     // 8, unused
  const auto b = f.P(5, 0, 0);      // 9
  const auto a2 = f.P(-0.0, 0, 0);  // 10, equals 7 (0 == -0)
  const auto a3 = f.P(0, 0, 0);     // 11, equals 7 too
  f.V(a2, b);
  f.V(b, a3);
  f.Poly({a3, b, a2});
  RemoveDuplicateGeometry(f.t(), f.rt);
  ASSERT_EQ(f.t().pointCount, 9u);  // 7 and 9 remain, as 7 and 8
  EXPECT_EQ(f.Coords(7), (std::vector<double>{0, 0, 0}));
  EXPECT_EQ(f.Coords(8), (std::vector<double>{5, 0, 0}));
  // The two vectors joined the same points in opposite directions: one is left.
  ASSERT_EQ(f.t().vectorCount, 7u);
  EXPECT_EQ(f.t().vectors[6].p1, 7u);
  EXPECT_EQ(f.t().vectors[6].p2, 8u);
  EXPECT_EQ(f.PointsOf(0), (std::vector<std::uint32_t>{7, 8, 7}));
  EXPECT_EQ(f.t().points[7].isDuplicate, 1u);  // the in-use mark stays
  EXPECT_EQ(f.t().points[7].duplicateOf, 0u);
  EXPECT_FALSE(f.ui.busy());
  (void)a;
}

TEST(MergeVectors, OppositeVectorsMergeIntoTheLowerAndPolygonsFollow) {
  GeometryFixture f;
  const auto a = f.P(0, 0, 0), b = f.P(10, 0, 0), c = f.P(0, 10, 0);
  const auto ab = f.V(a, b);  // 6
  const auto bc = f.V(b, c);  // 7
  const auto ba = f.V(b, a);  // 8: the same pair as 6, reversed
  const auto ca = f.V(c, a);  // 9
  const auto k = f.Poly({a, b, c});
  Polygon& poly = f.t().polygons[k];
  poly.vectorCount = 3;
  poly.vectors[0] = ba;  // names the higher of the two
  poly.vectors[1] = bc;
  poly.vectors[2] = ca;
  RemoveDuplicateGeometry(f.t(), f.rt);
  ASSERT_EQ(f.t().vectorCount, 9u);
  EXPECT_EQ(f.t().vectors[ab].p1, a);
  EXPECT_EQ(f.t().vectors[ab].p2, b);
  // ba pointed at the lower vector, then the vectors above it moved down.
  EXPECT_EQ(f.VectorsOf(k), (std::vector<std::uint32_t>{6, 7, 8}));
  EXPECT_EQ(f.t().vectors[8].p1, c);
  EXPECT_TRUE(f.ui.Messages().empty());
}

}  // namespace
}  // namespace ws::test
