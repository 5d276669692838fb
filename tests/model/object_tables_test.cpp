#include "model/object_tables.h"

#include <gtest/gtest.h>

#include <tuple>

#include "model_test_util.h"

namespace ws {
namespace {

struct ObjectTablesTest : ::testing::Test, test::OwnTables {};
using test::MakePolygon;

TEST_F(ObjectTablesTest, AddPointMatchesUserPointsOnlyAndStopsAtTheCapacity) {
  // The reserved origin is never matched; -0.0 equals 0.0.
  // (Braced lists evaluate in order.)
  EXPECT_EQ((std::vector{t.AddPoint(0, 0, 0), t.AddPoint(-0.0, 0, -0.0), t.AddPoint(150, 0, 0),
                         t.AddPoint(1.5, -2, 3), t.lastPointAdded}),
            (std::vector{7u, 7u, 8u, 9u, 9u}));
  EXPECT_EQ(t.AddPoint(150, 0, 0), 8u);
  EXPECT_EQ(std::tie(t.lastPointAdded, t.pointCount), std::make_tuple(8u, 10u));  // follows matches
  for (std::uint32_t i = 10; i < kMaxPoints; ++i) {
    t.points[i] = Point{};
    t.points[i].x = 1000.0 + i;
  }
  t.pointCount = kMaxPoints;
  // Full, but a point already there still matches.
  EXPECT_EQ((std::vector{t.CanAddPoints(0), t.CanAddPoints(1)}), (std::vector{true, false}));
  EXPECT_EQ((std::vector{t.AddPoint(-1, -1, -1), t.pointCount, t.AddPoint(1000.0 + 19999, 0, 0)}),
            (std::vector{kNoIndex, kMaxPoints, 19999u}));
  // FindPoint searches the reserved points and says 0 for the origin and for none.
  EXPECT_EQ(std::make_tuple(t.FindPoint(0, 0, 0), t.FindPoint(9, 9, 9), t.FindPoint(1.5, -2, 3),
                            t.FindPoint(0, 150, 0)),
            std::make_tuple(0u, 0u, 9u, 4u));
}

TEST_F(ObjectTablesTest, AddVectorUniqueSearchesUserVectorsBothWaysAndKeepsTheSlotWidth) {
  t.vectors[6].width = 3, t.vectors[7].width = 4;
  // Stored in the order first given; reserved vectors are not searched;
  // AddVector does not search at all.
  EXPECT_EQ((std::vector{t.AddVectorUnique(9, 5), t.AddVectorUnique(5, 9), t.vectors[6].p1,
                         t.vectors[6].width, t.AddVectorUnique(0, 1), t.AddVector(9, 10),
                         t.vectors[8].width, t.AddVector(9, 10)}),
            (std::vector{6u, 6u, 9u, 3u, 7u, 8u, 0u, 9u}));
  t.vectorCount = kMaxVectors;
  EXPECT_EQ((std::vector{t.AddVector(1, 2), t.vectorCount}), (std::vector{kNoIndex, kMaxVectors}));
}

TEST_F(ObjectTablesTest, DeletePointMiddlePointRenumbersLastPointDropsBeyondIsCorruption) {
  for (int i = 0; i < 3; ++i) t.AddPoint(i + 1, 0, 0);  // points 7, 8, 9
  t.AddVector(8, 9);
  t.AddVector(9, 8);
  t.AddVector(0, 1);  // user vector touching reserved points
  t.polygons[t.polygonCount++] = MakePolygon({8, 9, 4}, {6, 7});
  t.AddVector(7, 9);  // vector 9 touches the deleted point: that end stays
  ASSERT_TRUE(t.DeletePoint(7));
  EXPECT_EQ(std::make_tuple(t.pointCount, t.points[7].x, t.points[8].x),
            std::make_tuple(9u, 2.0, 3.0));
  const Vector* v = t.vectors + 6;
  EXPECT_EQ(std::tie(v[0].p1, v[0].p2, v[1].p1, v[1].p2, v[2].p1, v[2].p2, v[3].p1, v[3].p2),
            std::make_tuple(7u, 8u, 8u, 7u, 0u, 1u, 7u, 8u));
  const Polygon& p = t.polygons[0];
  EXPECT_EQ(std::make_tuple(p.points[0], p.points[1], p.points[2], p.vectors[0]),
            std::make_tuple(7u, 8u, 4u, 6u));
  EXPECT_EQ(t.vectors[5].p2, 6u);  // reserved vectors are never renumbered
  ASSERT_TRUE(t.DeletePoint(8));   // the last point: only the count drops
  EXPECT_EQ(std::make_tuple(t.pointCount, t.vectors[9].p2), std::make_tuple(8u, 8u));
  EXPECT_FALSE(t.DeletePoint(50));
  EXPECT_EQ(std::make_tuple(ui.MessageTexts(), rt.fatalError, t.pointCount),
            std::make_tuple(std::vector<std::string>{"Something is corrupt. pnt > G_MaxPoints-1"},
                            true, 8u));
}

TEST_F(ObjectTablesTest, DeleteVectorRenumbersPolygonVectorListsAndIgnoresReserved) {
  t.AddVector(7, 8);
  t.AddVector(8, 9);
  t.AddVector(9, 7);
  t.polygons[t.polygonCount++] = MakePolygon({7, 8, 9}, {6, 7, 8});
  t.DeleteVector(3);  // reserved: nothing
  ASSERT_EQ(t.vectorCount, 9u);
  t.DeleteVector(7);
  // The deleted number itself stays in the list.
  EXPECT_EQ(std::make_tuple(t.vectorCount, t.vectors[7].p1, t.polygons[0].vectors[0],
                            t.polygons[0].vectors[1], t.polygons[0].vectors[2]),
            std::make_tuple(8u, 9u, 6u, 7u, 7u));
  t.DeleteVector(7);  // last one: the count drops
  EXPECT_EQ(t.vectorCount, 7u);
}

TEST_F(ObjectTablesTest, DeletePolygonMovesRecordsAndSelectionAndRenumbersLeaders) {
  for (int i = 0; i < 5; ++i) t.polygons[t.polygonCount++] = MakePolygon({7}, {});
  for (std::uint32_t k = 0; k < 5; ++k) t.polygons[k].frontColor = static_cast<std::uint8_t>(k);
  t.polygonSelected[3] = kSelected;
  // Polygon 4 follows leader 3, polygon 0 follows leader 1 (the one removed).
  t.polygons[4].flags = PolyFlag::kAdopted, t.polygons[4].viewZones[0] = 3;
  t.polygons[0].flags = PolyFlag::kAdopted | PolyFlag::kCollision, t.polygons[0].viewZones[0] = 1;
  t.polygons[2].viewZones[0] = 4;  // not a follower: untouched
  t.DeletePolygon(1);
  EXPECT_EQ(std::make_tuple(t.polygonCount, t.polygons[1].frontColor, t.polygonSelected[2],
                            t.polygons[3].viewZones[0], t.polygons[3].flags, t.polygons[0].flags,
                            t.polygons[0].viewZones[0], t.polygons[1].viewZones[0]),
            std::make_tuple(4u, std::uint8_t{2}, kSelected, 2u, std::uint32_t{PolyFlag::kAdopted},
                            std::uint32_t{PolyFlag::kCollision}, 0u, 4u));
  // The last polygon: the count and the current one drop, its followers are released.
  t.polygons[0].flags = PolyFlag::kAdopted, t.polygons[0].viewZones[0] = 3, t.currentPolygon = 3;
  t.DeletePolygon(3);
  t.DeletePolygon(5);  // beyond the table: nothing
  EXPECT_EQ(
      std::make_tuple(t.polygonCount, t.currentPolygon, t.polygons[0].flags & PolyFlag::kAdopted),
      std::make_tuple(3u, 2, 0u));
}

}  // namespace
}  // namespace ws
