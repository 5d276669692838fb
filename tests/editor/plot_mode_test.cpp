#include "editor/plot_mode.h"

#include <gtest/gtest.h>

#include <cmath>

#include "interaction_test_support.h"
#include "model/undo.h"

namespace ws {
namespace {

using test::InteractionTest;

// ---- Snapping ----

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
  EXPECT_EQ(cursor.x, 99.0);
  EXPECT_EQ(cursor.y, 30.0);
}

// ---- Tracking and status ----

using PlotTrackTest = InteractionTest;

// ---- Clicks ----

using PlotClickTest = InteractionTest;

TEST_F(PlotClickTest, AFullVectorTableRefusesTheSixthClickBeforeWriting) {
  auto plot = [&](int dx) { return PlotClick(ctx, CX() + dx, CY()); };
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(plot(10));
  const std::uint32_t points = t().pointCount;
  t().vectorCount = kMaxVectors;
  const std::size_t depth = m().undo.depth();
  EXPECT_FALSE(plot(10));
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("20000 vectors"), std::string::npos) << Messages()[0];
  EXPECT_EQ(m().plot.step, 5);
  EXPECT_EQ(t().pointCount, points);
  EXPECT_EQ(m().undo.depth(), depth);
  t().vectorCount = kMaxVectors - 1;  // room for exactly one
  EXPECT_TRUE(plot(10));
  EXPECT_EQ(t().vectorCount, kMaxVectors);
}

TEST_F(PlotClickTest, TheLastEndpointIsUsedEvenWhenMovedSince) {
  for (int i = 0; i < 6; ++i) ASSERT_TRUE(PlotClick(ctx, CX() + 10, CY()));
  ASSERT_EQ(m().plot.ep1Point, kReservedPoints);  // both ends the first user point
  t().points[kReservedPoints].x = 50;              // moved since, by a drag or a key
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(PlotClick(ctx, CX() + 20, CY()));
  EXPECT_EQ(t().vectors[kReservedVectors + 1].p1, kReservedPoints);
}

// ---- View keys and the reset ----

}  // namespace
}  // namespace ws
