#include "editor/plot_mode.h"

#include <gtest/gtest.h>

#include <cmath>

#include "interaction_test_support.h"
#include "model/undo.h"

namespace ws {
namespace {

using test::InteractionTest;

// ---- Snapping ----

TEST(PlotSnapTest, HalvesGoAwayFromZeroAtGridTen) {
  // Cursor 14, 15 and -15 pixels right of the centre at scale 1.0.
  EXPECT_EQ(SnapCursorToGrid(114, 50, 100, 50, 1.0, 10, 0, 0).a, 10.0);
  EXPECT_EQ(SnapCursorToGrid(115, 50, 100, 50, 1.0, 10, 0, 0).a, 20.0);
  EXPECT_EQ(SnapCursorToGrid(85, 50, 100, 50, 1.0, 10, 0, 0).a, -20.0);
  EXPECT_EQ(SnapCursorToGrid(86, 50, 100, 50, 1.0, 10, 0, 0).a, -10.0);
  // Screen down is world down: 14 pixels below the centre is -10, 15 above +20.
  EXPECT_EQ(SnapCursorToGrid(100, 64, 100, 50, 1.0, 10, 0, 0).b, -10.0);
  EXPECT_EQ(SnapCursorToGrid(100, 35, 100, 50, 1.0, 10, 0, 0).b, 20.0);
  EXPECT_EQ(SnapCursorToGrid(100, 50, 100, 50, 1.0, 10, 0, 0).b, 0.0);
}

TEST(PlotSnapTest, ScaleDividesThePixelDistance) {
  // 14 pixels at scale 2.0 is u = 7, which snaps to 10; 8 pixels (4) to 0,
  // 10 pixels (5, a half) to 10.
  EXPECT_EQ(SnapCursorToGrid(114, 0, 100, 0, 2.0, 10, 0, 0).a, 10.0);
  EXPECT_EQ(SnapCursorToGrid(108, 0, 100, 0, 2.0, 10, 0, 0).a, 0.0);
  EXPECT_EQ(SnapCursorToGrid(110, 0, 100, 0, 2.0, 10, 0, 0).a, 10.0);
  // At scale 0.5 a pixel is two world units: 8 pixels is 16, which snaps to 20.
  EXPECT_EQ(SnapCursorToGrid(108, 0, 100, 0, 0.5, 10, 0, 0).a, 20.0);
}

TEST(PlotSnapTest, PanShiftsThePlottedValueByWholeSteps) {
  // A pan of +1 grid step in x moves every plotted X by -g.
  for (int px : {-25, -14, 0, 6, 14, 15, 33}) {
    const double plain = SnapCursorToGrid(100 + px, 0, 100, 0, 1.0, 10, 0, 0).a;
    EXPECT_EQ(SnapCursorToGrid(100 + px, 0, 100, 0, 1.0, 10, 1.0, 0).a, plain - 10.0) << px;
    EXPECT_EQ(SnapCursorToGrid(100 + px, 0, 100, 0, 1.0, 10, -2.0, 0).a, plain + 20.0) << px;
  }
  // A pan of +1 in y moves every plotted up value by -g as well.
  EXPECT_EQ(SnapCursorToGrid(0, 30, 0, 50, 1.0, 10, 0, 1.0).b, 10.0);
}

TEST(PlotSnapTest, OddStepSnapsToTheNearestMultiple) {
  // With g = 5 the half step is 2 (integer division): 7 is nearer 5 than 10.
  EXPECT_EQ(SnapCursorToGrid(7, 0, 0, 0, 1.0, 5, 0, 0).a, 5.0);
  EXPECT_EQ(SnapCursorToGrid(8, 0, 0, 0, 1.0, 5, 0, 0).a, 10.0);
  EXPECT_EQ(SnapCursorToGrid(-8, 0, 0, 0, 1.0, 5, 0, 0).a, -10.0);
  EXPECT_EQ(SnapCursorToGrid(2, 0, 0, 0, 1.0, 1, 0, 0).a, 2.0);
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
    EXPECT_EQ(cursor.x, c.x) << c.view;
    EXPECT_EQ(cursor.y, c.y) << c.view;
    EXPECT_EQ(cursor.z, c.z) << c.view;
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

TEST_F(PlotTrackTest, TracksFromTheClientCentreOfTheEditArea) {
  // The EditArea does not start at the client origin here.
  ASSERT_EQ(Left(), 240);
  ASSERT_EQ(CX(), 564);
  ASSERT_EQ(CY(), 298);
  TrackPlotCursor(ctx, CX() + 14, CY());
  EXPECT_EQ(d().plotCursor.x, 10.0);
  m().plot.step = 1;
  TrackPlotCursor(ctx, CX() + 14, CY() - 15);
  EXPECT_EQ(d().plotCursor.y, 20.0);
  EXPECT_EQ(d().plotCursor.x, 10.0);  // not the step's coordinate
}

TEST_F(PlotTrackTest, StatusShowsTheValueAndTheStepsHelp) {
  PlotTick(ctx, CX() + 10, CY());
  EXPECT_EQ(shell.statusTitle, "Set X = 10.000");
  EXPECT_EQ(shell.helpText, kHelpSetEp1X);
  EXPECT_TRUE(d().plotCursor.inArea);
  m().plot.step = 4;
  PlotTick(ctx, CX(), CY() + 26);
  EXPECT_EQ(shell.statusTitle, "Set Y = -30.000");
  EXPECT_EQ(shell.helpText, kHelpSetEp2Y);
}

TEST_F(PlotTrackTest, StatusAsksForAnotherView) {
  m().plot.step = 2;  // Z cannot be set from Front
  PlotTick(ctx, CX() + 3, CY() + 3);
  EXPECT_EQ(shell.statusTitle, kTitleChangeView);
  EXPECT_EQ(shell.helpText, kHelpChangeViewZ);
  m().view.viewCode = kViewTop;
  m().plot.step = 1;
  RefreshPlotStatus(ctx);
  EXPECT_EQ(shell.helpText, kHelpChangeViewY);
  m().plot.step = 0;
  m().view.viewCode = kViewLeft;
  RefreshPlotStatus(ctx);
  EXPECT_EQ(shell.helpText, kHelpChangeViewX);
}

TEST_F(PlotTrackTest, StatusOnlyWhileInsideAndActive) {
  SetStatusTitle(shell, "before");
  PlotTick(ctx, Left() - 5, CY());
  EXPECT_EQ(shell.statusTitle, "before");
  EXPECT_FALSE(d().plotCursor.inArea);
  shell.applicationActive = false;
  PlotTick(ctx, CX() + 20, CY());
  EXPECT_EQ(shell.statusTitle, "before");
  EXPECT_FALSE(d().plotCursor.inArea);
  // Other modes keep their own texts.
  shell.applicationActive = true;
  shell.mode = EditorMode::kSelectVector;
  RefreshPlotStatus(ctx);
  EXPECT_EQ(shell.statusTitle, "before");
}

TEST_F(PlotTrackTest, TickRefreshesOnlyWhenTheCursorValueChanges) {
  PlotTick(ctx, CX() + 10, CY());
  ASSERT_EQ(shell.statusTitle, "Set X = 10.000");
  SetStatusTitle(shell, "other");
  // 12 pixels still snaps to 10: nothing is refreshed.
  PlotTick(ctx, CX() + 12, CY());
  EXPECT_EQ(shell.statusTitle, "other");
  PlotTick(ctx, CX() + 16, CY());
  EXPECT_EQ(shell.statusTitle, "Set X = 20.000");
  EXPECT_EQ(state.shownX, 20.0);
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

TEST_F(PlotTrackTest, TheFrameShowsTheCursorLineAndTheFirstEndpoint) {
  PlotTick(ctx, CX() + 12, CY() + 40);  // X snaps to 10
  ShowFrameNow(ctx);
  const int cx = d().layout.cx, cy = d().layout.cy;
  const Surface8& shown = d().offscreen.shown;
  const std::uint8_t cursor = f.colours().lightGrey;
  EXPECT_EQ(shown.At(cx + 10, cy + 55), cursor);
  EXPECT_EQ(shown.At(cx + 10, 10), cursor);
  EXPECT_NE(shown.At(cx + 20, cy + 55), cursor);

  // Step 3: the cross at the first endpoint, in the x-axis colour.
  m().plot.step = 3;
  m().plot.ep1X = 40;
  m().plot.ep1Y = 30;
  ShowFrameNow(ctx);
  const std::uint8_t red = f.colours().red;
  EXPECT_EQ(shown.At(cx + 35, cy - 30), red);
  EXPECT_EQ(shown.At(cx + 45, cy - 30), red);
  EXPECT_EQ(shown.At(cx + 40, cy - 35), red);
  EXPECT_EQ(shown.At(cx + 40, cy - 25), red);

  // The cursor leaving the EditArea takes the feedback away, also where
  // the tracked coordinate stays the same (straight above the area).
  PlotTick(ctx, CX() + 12, Top() - 20);
  EXPECT_FALSE(d().plotCursor.inArea);
  ShowFrameNow(ctx);
  EXPECT_NE(shown.At(cx + 35, cy - 30), red);
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
  EXPECT_EQ(m().plot.ep1X, 20.0);
  EXPECT_EQ(m().plot.ep1Y, 30.0);
  EXPECT_EQ(m().plot.ep1Z, -40.0);
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
  const Point& a = t().points[v.p1];
  const Point& b = t().points[v.p2];
  EXPECT_EQ(a.x, 20.0);
  EXPECT_EQ(a.y, 30.0);
  EXPECT_EQ(a.z, -40.0);
  EXPECT_EQ(b.x, -10.0);
  EXPECT_EQ(b.y, 0.0);
  EXPECT_EQ(b.z, 0.0);
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

TEST_F(PlotClickTest, SoundFollowsTheSoundEffectsOption) {
  d().options.soundEffects = false;
  ASSERT_TRUE(PlotClick(ctx, CX(), CY()));
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
