#include "model/object_tables.h"

#include <gtest/gtest.h>

#include "platform/scripted_ui.h"
#include "resource/runtime.h"

namespace ws {
namespace {

struct TablesFixture : ::testing::Test {
  ScriptedUi ui;
  Runtime rt{ui};
  ObjectTables t{rt};
  void SetUp() override {
    ASSERT_TRUE(t.AllocateObjectTables());
    t.BuildReservedEntries();
  }
  // A polygon with the given corners and edges, appended at the end.
  std::uint32_t AddPolygon(std::initializer_list<std::uint32_t> pts,
                           std::initializer_list<std::uint32_t> vecs) {
    Polygon& p = t.polygons[t.polygonCount];
    p = Polygon{};
    for (auto v : pts) p.points[p.pointCount++] = v;
    for (auto v : vecs) p.vectors[p.vectorCount++] = v;
    return t.polygonCount++;
  }
};

using ObjectTablesReserved = TablesFixture;

TEST_F(ObjectTablesReserved, AxisCrossIsBuiltAsDocumented) {
  EXPECT_EQ(t.pointCount, 7u);
  EXPECT_EQ(t.vectorCount, 6u);
  EXPECT_EQ(t.polygonCount, 0u);
  const double axis[7][3] = {{0, 0, 0},   {150, 0, 0},  {-150, 0, 0}, {0, -150, 0},
                             {0, 150, 0}, {0, 0, -150}, {0, 0, 150}};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(t.points[i].x, axis[i][0]);
    EXPECT_EQ(t.points[i].y, axis[i][1]);
    EXPECT_EQ(t.points[i].z, axis[i][2]);
  }
  for (std::uint32_t v = 0; v < 6; ++v) {
    EXPECT_EQ(t.vectors[v].p1, 0u);
    EXPECT_EQ(t.vectors[v].p2, v + 1);
    EXPECT_EQ(t.vectors[v].width, 0u);
  }
  EXPECT_EQ(t.name, "Default Object");
}

TEST_F(ObjectTablesReserved, ResetKeepsReservedEntries) {
  t.AddPoint(1, 2, 3);
  t.AddVector(7, 7);
  AddPolygon({7}, {6});
  t.ResetObject();
  EXPECT_EQ(t.pointCount, 7u);
  EXPECT_EQ(t.vectorCount, 6u);
  EXPECT_EQ(t.polygonCount, 0u);
  EXPECT_EQ(t.currentPolygon, 0);
  EXPECT_EQ(t.points[1].x, 150.0);
}

TEST(ObjectTablesAllocation, EachFailureHasItsMessageAndSetsFatalFlag) {
  const char* expected[] = {"Not enough memory.", "Not enough memory for vectors.",
                            "Not enough memory for polygon filling."};
  for (std::size_t successes = 0; successes < 3; ++successes) {
    ScriptedUi ui;
    Runtime rt(ui);
    ObjectTables t(rt);
    rt.memory.FailAfter(successes);
    EXPECT_FALSE(t.AllocateObjectTables());
    EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{expected[successes]});
    EXPECT_TRUE(rt.fatalError);
    // The blocks already obtained stay allocated.
    EXPECT_EQ(rt.memory.LiveCount(), successes);
  }
}

using AddPoint = TablesFixture;

TEST_F(AddPoint, MatchesUserPointsOnlyAndStopsAtTheCapacity) {
  EXPECT_EQ(t.AddPoint(0, 0, 0), 7u);        // the reserved origin is never matched
  EXPECT_EQ(t.AddPoint(-0.0, 0, -0.0), 7u);  // -0.0 equals 0.0
  EXPECT_EQ(t.AddPoint(150, 0, 0), 8u);
  EXPECT_EQ(t.AddPoint(1.5, -2, 3), 9u);
  EXPECT_EQ(t.lastPointAdded, 9u);
  EXPECT_EQ(t.AddPoint(150, 0, 0), 8u);
  EXPECT_EQ(t.lastPointAdded, 8u);  // follows matches too
  EXPECT_EQ(t.pointCount, 10u);
  for (std::uint32_t i = 10; i < kMaxPoints; ++i) {
    t.points[i] = Point{};
    t.points[i].x = 1000.0 + i;
  }
  t.pointCount = kMaxPoints;
  EXPECT_TRUE(t.CanAddPoints(0));
  EXPECT_FALSE(t.CanAddPoints(1));
  EXPECT_EQ(t.AddPoint(-1, -1, -1), kNoIndex);
  EXPECT_EQ(t.pointCount, kMaxPoints);
  EXPECT_EQ(t.AddPoint(1000.0 + 19999, 0, 0), 19999u);  // full, but still matches
}

using FindPoint = TablesFixture;

TEST_F(FindPoint, OriginAndMissingBothGiveZero) {
  t.AddPoint(5, 5, 5);
  EXPECT_EQ(t.FindPoint(0, 0, 0), 0u);
  EXPECT_EQ(t.FindPoint(9, 9, 9), 0u);
  EXPECT_EQ(t.FindPoint(5, 5, 5), 7u);
  EXPECT_EQ(t.FindPoint(0, 150, 0), 4u);  // reserved points are searched
}

using AddVector = TablesFixture;

TEST_F(AddVector, UniqueSearchesUserVectorsBothWaysAndKeepsTheSlotWidth) {
  t.vectors[6].width = 3;
  t.vectors[7].width = 4;
  EXPECT_EQ(t.AddVectorUnique(9, 5), 6u);
  EXPECT_EQ(t.AddVectorUnique(5, 9), 6u);
  EXPECT_EQ(t.vectors[6].p1, 9u);  // stored in the order first given
  EXPECT_EQ(t.vectors[6].width, 3u);
  EXPECT_EQ(t.AddVectorUnique(0, 1), 7u);  // reserved vectors are not searched
  EXPECT_EQ(t.AddVector(9, 10), 8u);
  EXPECT_EQ(t.vectors[8].width, 0u);
  EXPECT_EQ(t.AddVector(9, 10), 9u);  // no search
  t.vectorCount = kMaxVectors;
  EXPECT_EQ(t.AddVector(1, 2), kNoIndex);
  EXPECT_EQ(t.vectorCount, kMaxVectors);
}

using DeletePoint = TablesFixture;

TEST_F(DeletePoint, LastPointOnlyDecrementsCount) {
  for (int i = 0; i < 3; ++i) t.AddPoint(i + 1, 0, 0);
  t.AddVector(7, 9);
  ASSERT_TRUE(t.DeletePoint(9));
  EXPECT_EQ(t.pointCount, 9u);
  EXPECT_EQ(t.vectors[6].p2, 9u);  // untouched
}

TEST_F(DeletePoint, MiddlePointRenumbersVectorsAndPolygons) {
  for (int i = 0; i < 3; ++i) t.AddPoint(i + 1, 0, 0);  // points 7, 8, 9
  t.AddVector(8, 9);
  t.AddVector(9, 8);
  t.AddVector(0, 1);  // user vector touching reserved points
  AddPolygon({8, 9, 4}, {6, 7});
  t.AddVector(7, 9);  // vector 9 touches the deleted point: that end stays
  ASSERT_TRUE(t.DeletePoint(7));
  EXPECT_EQ(t.vectors[9].p1, 7u);
  EXPECT_EQ(t.vectors[9].p2, 8u);
  EXPECT_EQ(t.pointCount, 9u);
  EXPECT_EQ(t.points[7].x, 2.0);
  EXPECT_EQ(t.points[8].x, 3.0);
  EXPECT_EQ(t.vectors[6].p1, 7u);
  EXPECT_EQ(t.vectors[6].p2, 8u);
  EXPECT_EQ(t.vectors[7].p1, 8u);
  EXPECT_EQ(t.vectors[8].p1, 0u);
  EXPECT_EQ(t.vectors[8].p2, 1u);
  EXPECT_EQ(t.polygons[0].points[0], 7u);
  EXPECT_EQ(t.polygons[0].points[1], 8u);
  EXPECT_EQ(t.polygons[0].points[2], 4u);
  EXPECT_EQ(t.polygons[0].vectors[0], 6u);  // vector lists untouched
  // Reserved vectors are never renumbered.
  EXPECT_EQ(t.vectors[5].p2, 6u);
}

TEST_F(DeletePoint, IndexBeyondTableIsCorruption) {
  EXPECT_FALSE(t.DeletePoint(50));
  EXPECT_EQ(ui.MessageTexts(),
            std::vector<std::string>{"Something is corrupt. pnt > G_MaxPoints-1"});
  EXPECT_TRUE(rt.fatalError);
  EXPECT_EQ(t.pointCount, 7u);
}

using DeleteVector = TablesFixture;

TEST_F(DeleteVector, RenumbersPolygonVectorListsAndIgnoresReserved) {
  t.AddVector(7, 8);
  t.AddVector(8, 9);
  t.AddVector(9, 7);
  AddPolygon({7, 8, 9}, {6, 7, 8});
  t.DeleteVector(3);  // reserved: nothing
  EXPECT_EQ(t.vectorCount, 9u);
  t.DeleteVector(7);
  EXPECT_EQ(t.vectorCount, 8u);
  EXPECT_EQ(t.vectors[7].p1, 9u);
  EXPECT_EQ(t.polygons[0].vectors[0], 6u);
  EXPECT_EQ(t.polygons[0].vectors[1], 7u);  // the deleted number itself stays
  EXPECT_EQ(t.polygons[0].vectors[2], 7u);
  t.DeleteVector(7);  // last one: the count drops
  EXPECT_EQ(t.vectorCount, 7u);
}

using DeletePolygon = TablesFixture;

TEST_F(DeletePolygon, MovesRecordsAndSelectionAndRenumbersLeaders) {
  for (int i = 0; i < 5; ++i) AddPolygon({7}, {});
  for (std::uint32_t k = 0; k < 5; ++k) t.polygons[k].frontColor = static_cast<std::uint8_t>(k);
  t.polygonSelected[3] = kSelected;
  // Polygon 4 follows leader 3, polygon 0 follows leader 1 (the one removed).
  t.polygons[4].flags = PolyFlag::kAdopted;
  t.polygons[4].viewZones[0] = 3;
  t.polygons[0].flags = PolyFlag::kAdopted | PolyFlag::kCollision;
  t.polygons[0].viewZones[0] = 1;
  t.polygons[2].viewZones[0] = 4;  // not a follower: untouched
  t.DeletePolygon(1);
  ASSERT_EQ(t.polygonCount, 4u);
  EXPECT_EQ(t.polygons[1].frontColor, 2);
  EXPECT_EQ(t.polygonSelected[2], kSelected);
  EXPECT_EQ(t.polygons[3].viewZones[0], 2u);
  EXPECT_EQ(t.polygons[3].flags, PolyFlag::kAdopted);
  EXPECT_EQ(t.polygons[0].flags, PolyFlag::kCollision);
  EXPECT_EQ(t.polygons[0].viewZones[0], 0u);
  EXPECT_EQ(t.polygons[1].viewZones[0], 4u);
}

TEST_F(DeletePolygon, LastPolygonDropsCountAndCurrentAndReleasesFollowers) {
  AddPolygon({7}, {});
  AddPolygon({7}, {});
  t.polygons[0].flags = PolyFlag::kAdopted;
  t.polygons[0].viewZones[0] = 1;
  t.currentPolygon = 1;
  t.DeletePolygon(1);
  EXPECT_EQ(t.polygonCount, 1u);
  EXPECT_EQ(t.currentPolygon, 0);
  // No follower may keep a leader number past the table.
  EXPECT_EQ(t.polygons[0].flags & PolyFlag::kAdopted, 0u);
  t.DeletePolygon(5);  // beyond the table: nothing
  EXPECT_EQ(t.polygonCount, 1u);
}

}  // namespace
}  // namespace ws
