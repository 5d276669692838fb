#include "geometry/deletion.h"

#include <gtest/gtest.h>

#include <random>

#include "geometry/commands.h"
#include "geometry_test_support.h"
#include "literal_reference.h"

namespace ws::test {
namespace {

TEST(DeleteSelection, PolygonsNamingSelectedVectorsGoWithThemPointsStay) {
  GeometryFixture f;
  const auto a = f.P(0, 0, 0), b = f.P(10, 0, 0), c = f.P(0, 10, 0), d = f.P(10, 10, 0);
  f.V(a, b);                                  // 6
  const auto bc = f.V(b, c);                  // 7
  f.V(c, a);                                  // 8
  f.V(b, d);                                  // 9
  f.V(d, c);                                  // 10
  const auto left = f.Poly({a, b, c});        // names 6, 7, 8
  const auto right = f.Poly({b, d, c});       // names 9, 10, 7
  const auto lone = f.Poly({a, b, d}, true);  // selected itself
  f.t().vectors[bc].selected = kSelected;
  f.t().polygons[right].vectorCount = 2;  // now only 9 and 10
  ASSERT_TRUE(DeleteSelectedItems(f.t()));
  ASSERT_EQ(f.t().polygonCount, 1u);
  EXPECT_EQ(f.PointsOf(0), (std::vector<std::uint32_t>{b, d, c}));
  EXPECT_EQ(f.VectorsOf(0), (std::vector<std::uint32_t>{8, 9}));  // 9, 10 moved down one
  EXPECT_EQ(f.t().vectorCount, 10u);
  EXPECT_EQ(f.t().pointCount, 11u);
  (void)left;
  (void)lone;
}

TEST(DeleteSelection, NothingSelectedSaysSoAndStillResetsThePlot) {
  GeometryFixture f;
  f.V(f.P(0, 0, 0), f.P(1, 0, 0));
  f.model.plot.step = 4;
  f.model.plot.ep1Pending = false;
  f.model.plot.ep1X = 12;
  f.model.plot.viewMemory = {'T', 'L', 'B'};
  EXPECT_FALSE(DeleteSelection(f.ctx));
  EXPECT_EQ(f.ui.MessageTexts(), (std::vector<std::string>{"There is nothing to delete"}));
  EXPECT_EQ(f.ui.Messages()[0].caption, kNotificationCaption);
  EXPECT_EQ(f.model.plot.step, 0);
  EXPECT_TRUE(f.model.plot.ep1Pending);
  EXPECT_EQ(f.model.plot.ep1X, 0.0);
  EXPECT_EQ(f.model.plot.viewMemory, (std::array<char, 3>{'T', 'L', 'B'}));
  EXPECT_EQ(f.model.undo.CurrentStack().back().label, UndoLabel::kDelete);
  EXPECT_FALSE(f.ui.busy());
}

TEST(DeleteSelectionMatchesLiteralMethod, OnManyRandomObjects) {
  GeometryFixture f;
  ObjectTables reference{f.rt};
  reference.AllocateObjectTables();
  reference.BuildReservedEntries();
  std::mt19937 rng(17);
  for (int round = 0; round < 400; ++round) {
    RandomShape shape;
    shape.points = rng() % 40;
    shape.vectors = rng() % 70;
    shape.polygons = rng() % 30;
    FillRandomObject(f.t(), rng, shape);
    // Fewer marks, so that some polygons survive their vectors' selection.
    for (std::uint32_t i = kReservedVectors; i < f.t().vectorCount; ++i) {
      if (rng() % 3) f.t().vectors[i].selected = kUnselected;
    }
    CopyUsed(f.t(), reference);
    const bool fast = DeleteSelectedItems(f.t());
    const bool literal = reference::LiteralDeleteSelectedItems(reference);
    ASSERT_EQ(fast, literal) << "round " << round;
    ASSERT_TRUE(SameUsedTables(f.t(), reference)) << "round " << round;
  }
}

TEST(DeleteSelectionMatchesLiteralMethod, OnALargeSelection) {
  GeometryFixture f;
  ObjectTables reference{f.rt};
  reference.AllocateObjectTables();
  reference.BuildReservedEntries();
  std::mt19937 rng(29);
  RandomShape shape{2000, 3000, 1500, 6, 6};
  FillRandomObject(f.t(), rng, shape);
  for (std::uint32_t i = kReservedVectors; i < f.t().vectorCount; ++i) {
    if (rng() % 8) f.t().vectors[i].selected = kUnselected;
  }
  CopyUsed(f.t(), reference);
  ASSERT_TRUE(DeleteSelectedItems(f.t()));
  ASSERT_TRUE(reference::LiteralDeleteSelectedItems(reference));
  EXPECT_TRUE(SameUsedTables(f.t(), reference));
}

}  // namespace
}  // namespace ws::test
