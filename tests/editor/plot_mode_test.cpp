#include "editor/plot_mode.h"

#include <gtest/gtest.h>

#include <cmath>

#include "interaction_test_support.h"
#include "model/undo.h"

namespace ws {
namespace {

using test::InteractionTest;

// ---- Snapping ----

TEST(PlotSnapTest, SnapsTheScaledPannedDistanceToTheGrid) {
  const struct {
    const char* name;
    int x, y, cx, cy;
    double scale;
    int g;
    double panX, panY, a, b;
  } rows[] = {
      {"14 right", 114, 50, 100, 50, 1.0, 10, 0, 0, 10, 0},
      {"half right goes away from zero", 115, 50, 100, 50, 1.0, 10, 0, 0, 20, 0},
      {"half left goes away from zero", 85, 50, 100, 50, 1.0, 10, 0, 0, -20, 0},
      {"14 left", 86, 50, 100, 50, 1.0, 10, 0, 0, -10, 0},
      {"screen down is world down", 100, 64, 100, 50, 1.0, 10, 0, 0, 0, -10},
      {"half up", 100, 35, 100, 50, 1.0, 10, 0, 0, 0, 20},
      {"scale 2: 7 units", 114, 0, 100, 0, 2.0, 10, 0, 0, 10, 0},
      {"scale 2: 4 units", 108, 0, 100, 0, 2.0, 10, 0, 0, 0, 0},
      {"scale 2: a half", 110, 0, 100, 0, 2.0, 10, 0, 0, 10, 0},
      {"scale 0.5: 16 units", 108, 0, 100, 0, 0.5, 10, 0, 0, 20, 0},
      {"pan x +1 step", 114, 0, 100, 0, 1.0, 10, 1, 0, 0, 0},
      {"pan x -2 steps", 85, 0, 100, 0, 1.0, 10, -2, 0, 0, 0},
      {"pan y +1 step", 0, 30, 0, 50, 1.0, 10, 0, 1, 0, 10},
      {"odd step: half is 2", 7, 0, 0, 0, 1.0, 5, 0, 0, 5, 0},
      {"odd step: past the half", 8, 0, 0, 0, 1.0, 5, 0, 0, 10, 0},
      {"odd step: negative", -8, 0, 0, 0, 1.0, 5, 0, 0, -10, 0},
      {"step 1", 2, 0, 0, 0, 1.0, 1, 0, 0, 2, 0},
  };
  for (const auto& r : rows) {
    const GridValues v = SnapCursorToGrid(r.x, r.y, r.cx, r.cy, r.scale, r.g, r.panX, r.panY);
    EXPECT_EQ(v.a, r.a) << r.name;
    EXPECT_EQ(v.b, r.b) << r.name;
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
  EXPECT_EQ(cursor.x, 99.0);
  EXPECT_EQ(cursor.y, 30.0);
}

TEST(PlotSnapTest, ZeroIsNeverNegative) {
  PlotCursor cursor;
  UpdatePlotCursor(cursor, 2, kViewRight, {0.0, 0.0});
  EXPECT_FALSE(std::signbit(cursor.z));
  UpdatePlotCursor(cursor, 0, kViewBack, {0.0, 0.0});
  EXPECT_FALSE(std::signbit(cursor.x));
}

// ---- Tracking and status ----

using PlotTrackTest = InteractionTest;

TEST_F(PlotTrackTest, StatusShowsTheSnappedValueFromTheAreaCentreWhenItChanges) {
  ASSERT_EQ(std::make_tuple(Left(), CX(), CY()), std::make_tuple(240, 564, 298));
  const struct {
    int step, dx, dy;
    const char* title;  // nullptr: left as it was
    std::string_view help;
  } rows[] = {
      {0, 10, 0, "Set X = 10.000", kHelpSetEp1X},
      {0, 12, 0, nullptr, kHelpSetEp1X},  // still 10: nothing refreshed
      {0, 16, 0, "Set X = 20.000", kHelpSetEp1X},
      {4, 0, 26, "Set Y = -30.000", kHelpSetEp2Y},
      {1, 14, -15, "Set Y = 20.000", kHelpSetEp1Y},
  };
  for (const auto& r : rows) {
    SetStatusTitle(shell, "other");
    m().plot.step = r.step;
    PlotTick(ctx, CX() + r.dx, CY() + r.dy);
    EXPECT_EQ(shell.statusTitle, r.title ? r.title : "other") << r.dx << "," << r.dy;
    EXPECT_EQ(shell.helpText, r.help) << r.dx << "," << r.dy;
    EXPECT_TRUE(d().plotCursor.inArea);
  }
  EXPECT_EQ(d().plotCursor.x, 20.0);  // step 1 leaves x alone
}

TEST_F(PlotTrackTest, StatusAsksForAnotherViewOnlyWhileInsideAndActive) {
  m().plot.step = 2;  // Z cannot be set from Front
  PlotTick(ctx, CX() + 3, CY() + 3);
  EXPECT_EQ(shell.statusTitle, kTitleChangeView);
  EXPECT_EQ(shell.helpText, kHelpChangeViewZ);
  const std::tuple<int, int, std::string_view> rows[] = {{kViewTop, 1, kHelpChangeViewY},
                                                         {kViewLeft, 0, kHelpChangeViewX}};
  for (const auto& [view, step, help] : rows) {
    m().view.viewCode = view;
    m().plot.step = step;
    RefreshPlotStatus(ctx);
    EXPECT_EQ(shell.helpText, help) << view;
  }
  SetStatusTitle(shell, "before");
  PlotTick(ctx, Left() - 5, CY());
  EXPECT_FALSE(d().plotCursor.inArea);
  shell.applicationActive = false;
  PlotTick(ctx, CX() + 20, CY());
  EXPECT_FALSE(d().plotCursor.inArea);
  EXPECT_EQ(shell.statusTitle, "before");
  shell.applicationActive = true;
  shell.mode = EditorMode::kSelectVector;  // other modes keep their own texts
  RefreshPlotStatus(ctx);
  EXPECT_EQ(shell.statusTitle, "before");
}

TEST_F(PlotTrackTest, ShiftStartsANewVectorOnlyWithUserPoints) {
  shell.heldKeys = HeldKey::kShift;
  m().plot.step = 4;
  m().plot.ep1Pending = true;
  m().plot.ep1X = 5.0;
  PlotTick(ctx, CX(), CY());
  // Only the reserved points: nothing resets.
  EXPECT_EQ(m().plot.step, 4);
  EXPECT_TRUE(m().plot.ep1Pending);

  t().AddPoint(1.0, 2.0, 3.0);
  PlotTick(ctx, CX(), CY());
  EXPECT_EQ(m().plot.step, 0);
  EXPECT_FALSE(m().plot.ep1Pending);
  EXPECT_EQ(m().plot.ep1X, 0.0);
  EXPECT_TRUE(shell.redraw);
  EXPECT_EQ(shell.helpText, kHelpSetEp1X);
}

// ---- Clicks ----

using PlotClickTest = InteractionTest;

TEST_F(PlotClickTest, WrongViewGivesTheMessageAndNothingElse) {
  m().view.viewCode = kViewLeft;
  EXPECT_FALSE(PlotClick(ctx, CX() + 20, CY()));
  m().view.viewCode = kViewTop;
  m().plot.step = 4;
  EXPECT_FALSE(PlotClick(ctx, CX(), CY()));
  m().view.viewCode = kViewBack;
  m().plot.step = 5;
  EXPECT_FALSE(PlotClick(ctx, CX(), CY()));
  EXPECT_EQ(Messages(),
            (std::vector<std::string>{std::string(kMsgMustPlotX), std::string(kMsgMustPlotY),
                                      std::string(kMsgMustPlotZ)}));
  EXPECT_EQ(f.ui.Messages()[0].caption, kNotificationCaption);
  EXPECT_EQ(m().plot.step, 5);
  EXPECT_EQ(m().undo.depth(), 0u);
  EXPECT_TRUE(sounds.empty());
}

TEST_F(PlotClickTest, DefaultCycleTurnsToRightForZAndBackToFront) {
  ASSERT_TRUE(PlotClick(ctx, CX() + 20, CY()));  // X in Front
  EXPECT_EQ(m().view.viewCode, kViewFront);      // no memory for Y
  ASSERT_TRUE(PlotClick(ctx, CX(), CY() - 30));  // Y in Front
  EXPECT_EQ(m().view.viewCode, kViewRight);      // turned by itself
  EXPECT_EQ(shell.statusTitle.rfind("Set Z = ", 0), 0u);
  ASSERT_TRUE(PlotClick(ctx, CX() + 40, CY()));  // Z in Right: -a
  EXPECT_EQ(m().view.viewCode, kViewFront);
  EXPECT_EQ(m().plot.step, 3);
  EXPECT_TRUE(m().plot.ep1Pending);
  EXPECT_EQ(std::make_tuple(m().plot.ep1X, m().plot.ep1Y, m().plot.ep1Z),
            std::make_tuple(20.0, 30.0, -40.0));
  // No point exists until the vector is complete.
  EXPECT_EQ(t().pointCount, kReservedPoints);
  EXPECT_EQ(sounds, (std::vector<int>{1, 1, 1}));
}

TEST_F(PlotClickTest, SixClicksMakeAVectorAndTheNextContinuesFromIt) {
  auto plot = [&](int dx, int dy) { ASSERT_TRUE(PlotClick(ctx, CX() + dx, CY() + dy)); };
  plot(20, 0);   // X 20
  plot(0, -30);  // Y 30, turn Right
  plot(40, 0);   // Z -40, turn Front
  plot(-10, 0);  // X -10
  plot(0, 0);    // Y 0, turn Right
  plot(0, 0);    // Z 0, turn Front
  ASSERT_EQ(t().vectorCount, kReservedVectors + 1);
  const Vector& v = t().vectors[kReservedVectors];
  const Point &a = t().points[v.p1], &b = t().points[v.p2];
  EXPECT_EQ(std::make_tuple(a.x, a.y, a.z), std::make_tuple(20.0, 30.0, -40.0));
  EXPECT_EQ(std::make_tuple(b.x, b.y, b.z), std::make_tuple(-10.0, 0.0, 0.0));
  EXPECT_EQ(v.width, 0u);
  EXPECT_EQ(v.selected, kUnselected);
  EXPECT_EQ(m().plot.step, 3);
  EXPECT_FALSE(m().plot.ep1Pending);
  EXPECT_EQ(m().plot.ep1Point, v.p2);

  plot(0, 0);
  plot(0, 20);   // Y -20
  plot(-50, 0);  // Z 50
  ASSERT_EQ(t().vectorCount, kReservedVectors + 2);
  const Vector& w = t().vectors[kReservedVectors + 1];
  EXPECT_EQ(w.p1, v.p2);  // continues from the last endpoint
  EXPECT_EQ(t().points[w.p2].z, 50.0);
  EXPECT_EQ(t().pointCount, kReservedPoints + 3);
}

TEST_F(PlotClickTest, TheSameEndpointTwiceMakesAVectorOfOnePoint) {
  auto plot = [&](int dx, int dy) { ASSERT_TRUE(PlotClick(ctx, CX() + dx, CY() + dy)); };
  for (int i = 0; i < 6; ++i) plot(i < 3 ? 0 : 30, 0);
  const std::uint32_t last = t().vectors[kReservedVectors].p2;
  // (30, 0, -30) again: X in Front, Y in Front, Z in Right (-a).
  for (int i = 0; i < 3; ++i) plot(30, 0);
  ASSERT_EQ(t().vectorCount, kReservedVectors + 2);
  const Vector& v = t().vectors[kReservedVectors + 1];
  EXPECT_EQ(v.p1, last);
  EXPECT_EQ(v.p2, last);
  EXPECT_EQ(t().pointCount, kReservedPoints + 2);
}

TEST_F(PlotClickTest, EveryCoordinateIsOneUndoStep) {
  ASSERT_TRUE(PlotClick(ctx, CX() + 20, CY()));
  EXPECT_EQ(UndoLabel(), UndoLabel::kPlot);
  ASSERT_TRUE(PlotClick(ctx, CX(), CY()));
  EXPECT_EQ(m().undo.depth(), 2u);
  EXPECT_TRUE(m().PopUndo());
  // The view turned by the second click is undone with it.
  EXPECT_EQ(m().plot.step, 1);
  EXPECT_EQ(m().view.viewCode, kViewFront);
}

TEST_F(PlotClickTest, PerspectiveWarnsOnEveryCoordinateAndStillPlots) {
  d().options.perspective = true;
  ASSERT_TRUE(PlotClick(ctx, CX() + 20, CY()));
  ASSERT_TRUE(PlotClick(ctx, CX() + 20, CY()));
  EXPECT_EQ(Messages(), (std::vector<std::string>(2, std::string(kMsgPerspectivePlot))));
  EXPECT_EQ(m().plot.step, 2);
  EXPECT_TRUE(sounds.empty());
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
  EXPECT_EQ(m().plot.step, 5);
  EXPECT_EQ(t().pointCount, points);
  EXPECT_EQ(m().undo.depth(), depth);
  t().vectorCount = kMaxVectors - 1;  // room for exactly one
  EXPECT_TRUE(plot(10));
  EXPECT_EQ(t().vectorCount, kMaxVectors);
}

TEST_F(PlotClickTest, AFullPointTableRefusesOnlyWhenNewPointsAreNeeded) {
  auto plot = [&](int dx) { return PlotClick(ctx, CX() + dx, CY()); };
  for (int i = 0; i < 6; ++i) ASSERT_TRUE(plot(10));  // a vector (10,0,-10)-(10,0,-10)
  const std::uint32_t real = t().pointCount;
  t().pointCount = kMaxPoints;
  // The same endpoint again needs no new point.
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(plot(10));
  EXPECT_EQ(t().vectorCount, kReservedVectors + 2u);
  for (int i = 0; i < 2; ++i) ASSERT_TRUE(plot(20));
  EXPECT_FALSE(plot(20));
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("20000 points"), std::string::npos) << Messages()[0];
  EXPECT_EQ(t().vectorCount, kReservedVectors + 2u);
  t().pointCount = real;
}

TEST_F(PlotClickTest, AFirstEndpointWhosePointWentIsAddedAgain) {
  auto plot = [&](int dx) { ASSERT_TRUE(PlotClick(ctx, CX() + dx, CY())); };
  for (int i = 0; i < 6; ++i) plot(i < 3 ? 10 : 20);
  // Something removed the points since (the plot state still names one).
  t().pointCount = kReservedPoints;
  t().vectorCount = kReservedVectors;
  for (int i = 0; i < 3; ++i) plot(30);
  ASSERT_EQ(t().vectorCount, kReservedVectors + 1);
  const Vector& v = t().vectors[kReservedVectors];
  ASSERT_LT(v.p1, t().pointCount);
  EXPECT_EQ(t().points[v.p1].x, 20.0);
  EXPECT_EQ(t().points[v.p2].x, 30.0);
}

TEST_F(PlotClickTest, TheLastEndpointIsUsedEvenWhenMovedSince) {
  for (int i = 0; i < 6; ++i) ASSERT_TRUE(PlotClick(ctx, CX() + 10, CY()));
  ASSERT_EQ(m().plot.ep1Point, kReservedPoints);  // both ends the first user point
  t().points[kReservedPoints].x = 50;              // moved since, by a drag or a key
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(PlotClick(ctx, CX() + 20, CY()));
  EXPECT_EQ(t().vectors[kReservedVectors + 1].p1, kReservedPoints);
}

// ---- View keys and the reset ----

TEST_F(PlotClickTest, ViewLettersAreRememberedForTheCurrentCoordinate) {
  EXPECT_TRUE(PlotViewKey(ctx, 't'));
  EXPECT_EQ(m().view.viewCode, kViewTop);
  EXPECT_EQ(m().plot.viewMemory[0], 'T');
  ASSERT_TRUE(PlotClick(ctx, CX() + 20, CY()));  // X in Top; no memory for Y
  EXPECT_EQ(m().view.viewCode, kViewTop);
  EXPECT_TRUE(PlotViewKey(ctx, 'L'));
  EXPECT_EQ(m().plot.viewMemory[1], 'L');
  ASSERT_TRUE(PlotClick(ctx, CX(), CY() - 10));  // Y in Left, then Right for Z
  EXPECT_EQ(m().view.viewCode, kViewRight);
  ASSERT_TRUE(PlotClick(ctx, CX() + 10, CY()));  // Z, then Top for X
  EXPECT_EQ(m().view.viewCode, kViewTop);

  EXPECT_FALSE(PlotViewKey(ctx, 'Q'));
  shell.mode = EditorMode::kSelectVector;
  EXPECT_FALSE(PlotViewKey(ctx, 'F'));
  EXPECT_EQ(m().view.viewCode, kViewTop);
}

TEST_F(PlotClickTest, NewObjectResetEmptiesTheObjectAndTheView) {
  for (int i = 0; i < 8; ++i) ASSERT_TRUE(PlotClick(ctx, CX() + 10 * i, CY()));
  t().vectors[kReservedVectors].selected = kSelected;
  t().polygonCount = 1;
  t().polygonSelected[0] = kSelected;
  d().view.scale = 2.0;
  shell.mode = EditorMode::kSelectVector;
  shell.hoveredVector = 6;
  TurnAboutX(m().view.orientation, 0.3);
  m().view.viewCode = kViewRight;

  // The reset comes from a menu: the cursor is not over the EditArea.
  state.cursorX = 0;
  NewObjectReset(ctx);
  EXPECT_EQ(t().pointCount, kReservedPoints);
  EXPECT_EQ(t().vectorCount, kReservedVectors);
  EXPECT_EQ(t().polygonCount, 0u);
  EXPECT_EQ(t().vectors[kReservedVectors].selected, kUnselected);
  EXPECT_EQ(t().polygonSelected[0], kUnselected);
  EXPECT_EQ(m().plot.step, 0);
  EXPECT_EQ(m().view.viewCode, kViewFront);
  EXPECT_EQ(m().view.orientation, kIdentityMatrix3);
  EXPECT_EQ(d().view.scale, 1.0);
  EXPECT_EQ(shell.mode, EditorMode::kPlot);
  EXPECT_EQ(shell.hoveredVector, 0u);
  EXPECT_EQ(shell.hoveredPolygon, -1);
  EXPECT_EQ(shell.helpText, kHelpPlotVectors);
  EXPECT_TRUE(shell.redraw);
}

TEST_F(PlotClickTest, TheEditorResetKeepsAnObjectAlreadyLoaded) {
  for (int i = 0; i < 6; ++i) ASSERT_TRUE(PlotClick(ctx, CX() + 10, CY()));
  t().vectors[kReservedVectors].selected = kSelected;
  shell.mode = EditorMode::kCameraView;
  state.cursorX = 0;
  ResetEditorForObject(ctx);
  EXPECT_EQ(t().vectorCount, kReservedVectors + 1);
  EXPECT_EQ(t().vectors[kReservedVectors].selected, kUnselected);
  EXPECT_EQ(m().plot.step, 0);
  EXPECT_EQ(shell.mode, EditorMode::kPlot);
}

}  // namespace
}  // namespace ws
