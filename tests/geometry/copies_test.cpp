#include "geometry/copies.h"

#include <gtest/gtest.h>

#include <set>

#include "geometry/commands.h"
#include "geometry_test_support.h"

namespace ws::test {
namespace {

using Coords = std::vector<double>;
using Indices = std::vector<std::uint32_t>;

// No two user points equal and no two user vectors joining the same points.
void ExpectNoDuplicates(ObjectTables& t) {
  std::set<Coords> points;
  for (std::uint32_t i = kReservedPoints; i < t.pointCount; ++i) {
    EXPECT_TRUE(points.insert({t.points[i].x, t.points[i].y, t.points[i].z}).second) << i;
  }
  std::set<std::pair<std::uint32_t, std::uint32_t>> pairs;
  for (std::uint32_t i = kReservedVectors; i < t.vectorCount; ++i) {
    const auto [lo, hi] = std::minmax(t.vectors[i].p1, t.vectors[i].p2);
    EXPECT_TRUE(pairs.insert({lo, hi}).second) << i;
  }
}

TEST(Duplicate, OneVectorWithGridTen) {
  GeometryFixture f;
  const auto v = f.V(f.P(0, 0, 0), f.P(10, 0, 0), true);
  f.t().vectors[v].color = 44;
  f.t().vectors[v].attribute = -9;
  f.t().vectors[v].width = 3;
  f.ctx.gridStep = 10;
  ASSERT_TRUE(DuplicateSelection(f.ctx));
  ASSERT_EQ(f.t().vectorCount, 8u);
  ASSERT_EQ(f.t().pointCount, 11u);
  const Vector& copy = f.t().vectors[7];
  EXPECT_EQ(f.Coords(copy.p1), (Coords{-10, -10, 0}));
  EXPECT_EQ(f.Coords(copy.p2), (Coords{0, -10, 0}));
  EXPECT_EQ(copy.selected, kSelected);
  EXPECT_EQ(copy.color, 44);
  EXPECT_EQ(copy.attribute, -9);
  EXPECT_EQ(copy.width, 3u);
  EXPECT_EQ(f.t().vectors[v].selected, kUnselected);
  EXPECT_FALSE(f.ui.busy());
}

TEST(Duplicate, NothingSelectedSaysSoAndChangesNothing) {
  GeometryFixture f;
  f.V(f.P(0, 0, 0), f.P(10, 0, 0));
  EXPECT_FALSE(DuplicateCommand(f.ctx));
  EXPECT_EQ(f.ui.MessageTexts(), (std::vector<std::string>{"There is nothing to duplicate"}));
  EXPECT_EQ(f.t().vectorCount, 7u);
  EXPECT_EQ(f.model.undo.CurrentStack().back().label, "Undo Duplicate\tCtrl+Z");
  EXPECT_FALSE(f.ui.busy());
}

TEST(Duplicate, PolygonCopyFallsOntoTheVectorCopiesAndCanBeEdited) {
  GeometryFixture f;
  const auto a = f.P(0, 0, 0), b = f.P(20, 0, 0), c = f.P(0, 20, 0);
  f.V(a, b);
  f.V(b, c);
  f.V(c, a);
  const auto k = f.Poly({a, b, c}, true);
  f.t().polygons[k].frontColor = 9;
  f.ctx.gridStep = 5;
  ASSERT_TRUE(DuplicateCommand(f.ctx));
  ASSERT_EQ(f.t().polygonCount, 2u);
  EXPECT_EQ(f.t().pointCount, 13u);   // three new corners, merged
  EXPECT_EQ(f.t().vectorCount, 12u);  // three new edges
  const Indices copy = f.PointsOf(1);
  EXPECT_EQ(f.Coords(copy[0]), (Coords{-5, -5, 0}));
  EXPECT_EQ(f.Coords(copy[1]), (Coords{15, -5, 0}));
  EXPECT_EQ(f.Coords(copy[2]), (Coords{-5, 15, 0}));
  EXPECT_EQ(f.VectorsOf(1), (Indices{9, 10, 11}));  // rebuilt from the corners
  EXPECT_EQ(f.t().polygons[1].frontColor, 9);
  EXPECT_EQ(f.t().polygonSelected[0], kSelected);
  EXPECT_EQ(f.t().polygonSelected[1], kSelected);
  for (std::uint32_t i = 6; i < 9; ++i) EXPECT_EQ(f.t().vectors[i].selected, kUnselected);
  for (std::uint32_t i = 9; i < 12; ++i) EXPECT_EQ(f.t().vectors[i].selected, kSelected);
  ExpectNoDuplicates(f.t());
}

TEST(Duplicate, ViewZoneEntriesFollowTheDuplicatedPolygons) {
  GeometryFixture f;
  const auto a = f.P(0, 0, 0), b = f.P(20, 0, 0), c = f.P(0, 20, 0);
  f.V(a, b);
  f.V(b, c);
  f.V(c, a);
  const auto unselected = f.Poly({a, b, c});    // 0
  const auto zone = f.Poly({a, b, c}, true);    // 1
  const auto member = f.Poly({c, b, a}, true);  // 2
  Polygon& z = f.t().polygons[zone];
  z.viewZoneCount = 4;
  z.viewZones[0] = unselected;  // not duplicated: left out
  z.viewZones[1] = member | ViewZone::kLowPriority;
  z.viewZones[2] = 7 | ViewZone::kIsVector;  // a vector entry: left out
  z.viewZones[3] = zone;
  f.t().polygons[member].flags |= PolyFlag::kAdopted;
  f.t().polygons[member].viewZones[0] = zone;
  ASSERT_TRUE(DuplicateSelection(f.ctx));
  ASSERT_EQ(f.t().polygonCount, 5u);
  const Polygon& zoneCopy = f.t().polygons[3];
  ASSERT_EQ(zoneCopy.viewZoneCount, 2u);
  EXPECT_EQ(zoneCopy.viewZones[0], 4u | ViewZone::kLowPriority);
  EXPECT_EQ(zoneCopy.viewZones[1], 3u);
  EXPECT_EQ(f.t().polygons[4].viewZones[0], 3u);  // the leader's copy
  EXPECT_TRUE(f.t().polygons[4].flags & PolyFlag::kAdopted);
}

TEST(Duplicate, RefusesWhenThePointTableCannotTakeTheCopy) {
  GeometryFixture f;
  const auto v = f.V(f.P(0, 0, 0), f.P(10, 0, 0), true);
  const std::uint32_t points = kMaxPoints - 1;  // two more points needed
  f.t().pointCount = points;
  EXPECT_FALSE(DuplicateSelection(f.ctx));
  EXPECT_EQ(f.ui.MessageTexts(),
            (std::vector<std::string>{"Not enough room in the object to duplicate the selection: "
                                      "it would exceed the limit of 20000 points."}));
  EXPECT_EQ(f.t().pointCount, points);
  EXPECT_EQ(f.t().vectorCount, 7u);
  EXPECT_EQ(f.t().vectors[v].selected, kSelected);
}

TEST(ConnectCopy, SquareGivesFourQuadrilateralsWithFlagsTwoAndNoDuplicates) {
  GeometryFixture f;
  const auto a = f.P(0, 0, 0), b = f.P(10, 0, 0), c = f.P(10, 10, 0), d = f.P(0, 10, 0);
  f.V(a, b, true);
  f.V(b, c, true);
  f.V(c, d, true);
  f.V(d, a, true);
  ASSERT_TRUE(ConnectCopyCommand(f.ctx));
  EXPECT_EQ(f.model.undo.CurrentStack().back().label, "Undo Vector Connect\tCtrl+Z");
  ASSERT_EQ(f.t().pointCount, 7u + 8);
  for (std::uint32_t i = 11; i < 15; ++i) EXPECT_EQ(f.t().points[i].z, -20.0);
  EXPECT_EQ(f.Coords(11), (Coords{0, 0, -20}));
  EXPECT_EQ(f.Coords(12), (Coords{10, 0, -20}));
  ASSERT_EQ(f.t().vectorCount, 6u + 4 + 4 + 4);
  ASSERT_EQ(f.t().polygonCount, 4u);
  for (std::uint32_t k = 0; k < 4; ++k) {
    EXPECT_EQ(f.t().polygons[k].flags, 2u);
    EXPECT_EQ(f.t().polygons[k].pointCount, 4u);
    EXPECT_EQ(f.t().polygons[k].vectorCount, 4u);
  }
  // V = a-b is the lowest of its four: the loop runs P1, A, B, P2.
  EXPECT_EQ(f.PointsOf(0), (Indices{a, 11, 12, b}));
  for (std::uint32_t i = 0; i < f.t().vectorCount; ++i) {
    EXPECT_EQ(f.t().vectors[i].selected, kUnselected);
  }
  ExpectNoDuplicates(f.t());
  EXPECT_TRUE(f.ui.Messages().empty());
}

TEST(ConnectCopy, BackVectorTakesTheSourceWidth) {
  GeometryFixture f;
  const auto v = f.V(f.P(0, 0, 0), f.P(10, 0, 0), true);
  f.t().vectors[v].width = 4;
  ASSERT_TRUE(ConnectCopy(f.ctx));
  // Vectors: the source, P1-A, P2-B, A-B.
  ASSERT_EQ(f.t().vectorCount, 10u);
  EXPECT_EQ(f.t().vectors[9].width, 4u);
  EXPECT_EQ(f.t().vectors[7].width, 0u);
}

TEST(ConnectCopy, RefusesBeforeWritingWhenTheVectorsWouldNotFit) {
  GeometryFixture f;
  f.V(f.P(0, 0, 0), f.P(10, 0, 0), true);
  f.t().vectorCount = kMaxVectors - 2;  // three vectors needed
  EXPECT_FALSE(ConnectCopy(f.ctx));
  EXPECT_EQ(
      f.ui.MessageTexts(),
      (std::vector<std::string>{"Not enough room in the object to duplicate and connect "
                                "the selection: it would exceed the limit of 20000 vectors."}));
  EXPECT_EQ(f.t().pointCount, 9u);
  EXPECT_EQ(f.t().polygonCount, 0u);
}

}  // namespace
}  // namespace ws::test
