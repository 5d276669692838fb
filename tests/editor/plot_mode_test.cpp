#include "editor/interaction/plot_mode.h"

#include <gtest/gtest.h>

#include "interaction_test_support.h"
#include "model/undo.h"

namespace ws {
namespace {

using test::InteractionTest;

TEST(PlotSnapTest, SnapsTheScaledPannedDistanceToTheGrid) {
  const struct {
    const char* name;
    int x, y, cx, cy;
    double scale;
    int g;
    double panX, panY, a, b;
  } rows[] = {
      // clang-format off
      {"14 right", 114, 50, 100, 50, 1.0, 10, 0, 0, 10, 0},
      {"half right goes away from zero", 115, 50, 100, 50, 1.0, 10, 0, 0, 20, 0},
      {"half left goes away from zero", 85, 50, 100, 50, 1.0, 10, 0, 0, -20, 0},
      {"screen down is world down", 100, 64, 100, 50, 1.0, 10, 0, 0, 0, -10},
      {"scale 2: 4 units", 108, 0, 100, 0, 2.0, 10, 0, 0, 0, 0},
      {"scale 2: a half", 110, 0, 100, 0, 2.0, 10, 0, 0, 10, 0},
      {"scale 0.5: 16 units", 108, 0, 100, 0, 0.5, 10, 0, 0, 20, 0},
      {"pan x -2 steps", 85, 0, 100, 0, 1.0, 10, -2, 0, 0, 0},
      {"pan y +1 step", 0, 30, 0, 50, 1.0, 10, 0, 1, 0, 10},
      {"odd step: half is 2", 7, 0, 0, 0, 1.0, 5, 0, 0, 5, 0},
      {"odd step: past the half", 8, 0, 0, 0, 1.0, 5, 0, 0, 10, 0},
      // clang-format on
  };
  for (const auto& r : rows) {
    const GridValues v = SnapCursorToGrid(r.x, r.y, r.cx, r.cy, r.scale, r.g, r.panX, r.panY);
    EXPECT_EQ(std::make_tuple(v.a, v.b), std::make_tuple(r.a, r.b)) << r.name;
  }
}

TEST(PlotSnapTest, EachViewSetsOnlyTheCoordinatesItShows) {
  const GridValues v{20.0, 30.0};
  struct Case {
    int view;
    double x, y, z;  // 99 means unchanged
  };
  const Case cases[] = {
      {kViewFront, 20, 30, 99},  {kViewBack, -20, 30, 99}, {kViewTop, 20, 99, -30},
      {kViewBottom, 20, 99, 30}, {kViewLeft, 99, 30, 20},  {kViewRight, 99, 30, -20},
  };
  for (const Case& c : cases) {
    PlotCursor cursor{99, 99, 99, false};
    for (int step = 0; step < kPlotStepCount; ++step) UpdatePlotCursor(cursor, step, c.view, v);
    EXPECT_EQ(std::make_tuple(cursor.x, cursor.y, cursor.z), std::make_tuple(c.x, c.y, c.z))
        << c.view;
  }
  // Only the coordinate of the step is touched.
  PlotCursor cursor{99, 99, 99, false};
  UpdatePlotCursor(cursor, 4, kViewFront, v);
  EXPECT_EQ(std::make_pair(cursor.x, cursor.y), std::make_pair(99.0, 30.0));
}

using PlotClickTest = InteractionTest;

TEST_F(PlotClickTest, SixClicksMakeAVectorAndTheNextContinuesFromIt) {
  auto plot = [&](int dx, int dy) { ASSERT_TRUE(PlotClick(ctx, CX() + dx, CY() + dy)); };
  // X 20, Y 30 (turns Right), Z -40 (turns Front), X -10, Y 0, Z 0.
  for (auto [dx, dy] : {std::pair{20, 0}, {0, -30}, {40, 0}, {-10, 0}, {0, 0}, {0, 0}})
    plot(dx, dy);
  ASSERT_EQ(t().vectorCount, kReservedVectors + 1);
  const Vector& v = t().vectors[kReservedVectors];
  const Point &a = t().points[v.p1], &b = t().points[v.p2];
  EXPECT_EQ(std::make_tuple(a.x, a.y, a.z), std::make_tuple(20.0, 30.0, -40.0));
  EXPECT_EQ(std::make_tuple(b.x, b.y, b.z), std::make_tuple(-10.0, 0.0, 0.0));
  EXPECT_EQ(std::make_tuple(m().plot.step, m().plot.ep1Pending, m().plot.ep1Point),
            std::make_tuple(3, false, v.p2));
  for (auto [dx, dy] : {std::pair{0, 0}, {0, 20}, {-50, 0}}) plot(dx, dy);
  ASSERT_EQ(t().vectorCount, kReservedVectors + 2);
  const Vector& next = t().vectors[kReservedVectors + 1];  // from the last endpoint
  EXPECT_EQ(std::make_pair(next.p1, t().points[next.p2].z), std::make_pair(v.p2, 50.0));
}

TEST_F(PlotClickTest, AFullVectorTableRefusesTheSixthClickBeforeWriting) {
  auto plot = [&](int dx) { return PlotClick(ctx, CX() + dx, CY()); };
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(plot(10));
  const std::uint32_t points = t().pointCount;
  t().vectorCount = kMaxVectors;
  const std::size_t depth = m().undo.depth();
  EXPECT_FALSE(plot(10));
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("20000 vectors"), std::string::npos) << Messages()[0];
  EXPECT_EQ(std::make_tuple(m().plot.step, t().pointCount, m().undo.depth()),
            std::make_tuple(5, points, depth));
  t().vectorCount = kMaxVectors - 1;  // room for exactly one
  EXPECT_TRUE(plot(10) && t().vectorCount == kMaxVectors);
}

TEST_F(PlotClickTest, TheLastEndpointIsUsedEvenWhenMovedSince) {
  for (int i = 0; i < 6; ++i) ASSERT_TRUE(PlotClick(ctx, CX() + 10, CY()));
  ASSERT_EQ(m().plot.ep1Point, kReservedPoints);  // both ends the first user point
  t().points[kReservedPoints].x = 50;              // moved since, by a drag or a key
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(PlotClick(ctx, CX() + 20, CY()));
  EXPECT_EQ(t().vectors[kReservedVectors + 1].p1, kReservedPoints);
}

}  // namespace
}  // namespace ws
