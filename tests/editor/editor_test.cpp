#include "editor/editor.h"

#include <gtest/gtest.h>

#include "editor_test_support.h"

namespace ws {
namespace {

using test::AddLine;
using test::EditorFixture;

TEST(EditorLayout, LaysOutTheAreaAndItsSurface) {
  EditorFixture f;
  EXPECT_TRUE(f.e().Layout(1000, 700, 200));
  const EditorDisplay& d = f.d();
  EXPECT_EQ(d.layout.editArea, (IntRect{210, 10, 985, 685}));
  EXPECT_EQ(std::make_tuple(d.offscreen.draw.width(), d.offscreen.draw.height(),
                            d.offscreen.shown.width()),
            std::make_tuple(896, 827, 896));
  EXPECT_FALSE(d.frame.firstLayoutPending);
  // The palette is the current colour table.
  EXPECT_EQ(d.offscreen.draw.palette()[f.colours().red], (Rgb8{255, 0, 0}));
  // A zero client size waits.
  EXPECT_FALSE(f.e().Layout(0, 700, 200));
  EXPECT_EQ(d.layout.editArea, (IntRect{210, 10, 985, 685}));
}

TEST(EditorLayout, FailuresShowTheirMessagesAndStop) {
  EditorFixture f;
  f.ui.ClearMessages();
  f.rt.memory.SetFailAbove(1000);
  EXPECT_FALSE(f.e().Layout(1000, 700, 200));
  EXPECT_EQ(f.ui.MessageTexts(), std::vector<std::string>{std::string(kMsgOffscreenFailed)});
  EXPECT_EQ(f.ui.Messages()[0].caption, "General Error");
  EXPECT_TRUE(f.rt.fatalError);

  // A fresh editor whose draw list (50,000 items) cannot be had.
  EditorFixture g;
  ScriptedUi ui;
  Runtime rt(ui);
  Editor e(rt);
  e.model.colors = g.m().colors;
  rt.memory.SetFailAbove(700000);
  EXPECT_FALSE(e.LayoutArea(320, 240));
  EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{std::string(kMsgNoFillMemory)});
  EXPECT_TRUE(rt.fatalError);
  EXPECT_TRUE(e.display.frame.firstLayoutPending);
  // Without any colour table there is no palette for the surface.
  ScriptedUi ui2;
  Runtime rt2(ui2);
  Editor noColours(rt2);
  EXPECT_FALSE(noColours.LayoutArea(320, 240));
  EXPECT_EQ(ui2.MessageTexts(),
            std::vector<std::string>{"Failed to get color table for offscreen."});
  EXPECT_TRUE(rt2.fatalError);
  // Nothing is drawn or presented then.
  test::RecordingPresenter presenter;
  e.SetPresenter(&presenter);
  e.ShowFrame();
  EXPECT_EQ(presenter.shows, 0);
}

TEST(EditorFrames, ShowFramePresentsTheLocalRectangleInTheEditArea) {
  EditorFixture f;
  ASSERT_TRUE(f.e().Layout(1000, 700, 200));
  f.e().ShowFrame();
  ASSERT_EQ(f.presenter.shows, 1);
  EXPECT_EQ(f.presenter.lastSource, (IntRect{0, 0, 775, 675}));
  EXPECT_EQ(f.presenter.lastTarget, (IntRect{210, 10, 985, 685}));
  // The x axis is in the shown bitmap.
  EXPECT_EQ(f.d().offscreen.shown.At(388 + 100, 338), f.colours().red);
}

TEST(EditorFrames, ViewTurnsAreAnimatedUnlessInstant) {
  EditorFixture f;
  int yields = 0;
  f.e().yieldProcessor = [&] { ++yields; };
  f.d().frame.mode = EditorMode::kPlot;
  ASSERT_TRUE(f.e().TurnToView('L'));
  EXPECT_EQ(f.presenter.shows, 45);
  EXPECT_EQ(yields, 45);
  EXPECT_EQ(f.m().view.viewCode, kViewLeft);
  EXPECT_FALSE(f.d().view.turnInProgress);
  // From Left, T turns back about y and then about x.
  ASSERT_TRUE(f.e().TurnToView('t'));
  EXPECT_EQ(f.presenter.shows, 135);
  EXPECT_EQ(f.m().view.viewCode, kViewTop);
  // The letter of the current view does nothing; neither does a non-view.
  EXPECT_FALSE(f.e().TurnToView('T'));
  EXPECT_FALSE(f.e().TurnToView('Q'));
  EXPECT_EQ(f.presenter.shows, 135);
  // Instant View Change: the turn is made without frames.
  f.d().options.instantViewChange = true;
  ASSERT_TRUE(f.e().TurnToView('E'));
  EXPECT_EQ(f.presenter.shows, 135);
  EXPECT_EQ(yields, 135);
  EXPECT_EQ(f.m().view.viewCode, kViewBack);
}

TEST(EditorFrames, FreeRotationStepsTurnAndShowFrames) {
  EditorFixture f;  // 160 x 120: centre (80, 60), width less one 159
  f.m().view.activeTurn = kTurnAboutY;
  TurnAboutY(f.m().view.turns[1], 0.5);
  f.e().BeginFreeRotation();
  EXPECT_TRUE(f.d().view.rotationInProgress);
  EXPECT_EQ(f.m().view.turns[1], kIdentityMatrix3);
  f.clock.now = 100;  // the ants move on with the clock
  f.e().FreeRotationStep(80, 60, 100, 60);
  EXPECT_EQ(f.presenter.shows, 1);
  EXPECT_EQ(f.d().frame.ants.phase, 1);
  const Matrix3 expected =
      FreeRotationMatrix(SpherePoint(80, 60, 80, 60, 159), SpherePoint(100, 60, 80, 60, 159));
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) EXPECT_DOUBLE_EQ(f.m().view.orientation[i][j], expected[i][j]);
  f.e().FreeRotationStep(100, 60, 100, 40);  // no 40 ms passed: same phase
  EXPECT_EQ(f.d().frame.ants.phase, 1);
  EXPECT_EQ(f.presenter.shows, 2);
  f.e().EndFreeRotation();
  EXPECT_FALSE(f.d().view.rotationInProgress);
}

TEST(EditorFrames, ScaleControlsShowAFrameOutsideWalkMode) {
  EditorFixture f;
  f.e().SetSlider(60);
  EXPECT_DOUBLE_EQ(f.d().view.scale, 2.1);
  EXPECT_EQ(f.presenter.shows, 1);
  f.e().Scale50();
  EXPECT_DOUBLE_EQ(f.d().view.scale, 0.5);
  f.d().view.panX = 4;
  f.e().Scale100();
  EXPECT_DOUBLE_EQ(f.d().view.panX, 0);
  EXPECT_EQ(f.presenter.shows, 3);
  f.d().frame.walkMode = true;
  f.e().SetSlider(0);
  EXPECT_DOUBLE_EQ(f.d().view.scale, 0.1);
  f.t().AddPoint(10, 10, 10);
  f.e().ApplyScale();
  EXPECT_DOUBLE_EQ(f.t().points[7].x, 1.0);
  EXPECT_EQ(f.presenter.shows, 3);
}

TEST(EditorModel, ObjectReplacementResetsTheViewAndTheSelection) {
  EditorFixture f;
  const std::uint32_t v = AddLine(f.t(), {0, 0, 0}, {10, 0, 0});
  f.t().vectors[v].selected = kSelected;
  f.t().polygonSelected[3] = kSelected;
  f.d().selection.hover.vector = v;
  f.d().view.scale = 3;
  f.d().view.gridStep = 20;
  TurnToView(f.m().view, kViewTop, nullptr);
  f.m().observer().ObjectReplaced();
  EXPECT_EQ(std::make_tuple(f.t().vectors[v].selected, f.t().polygonSelected[3],
                            f.d().selection.hover.vector),
            std::make_tuple(kUnselected, kUnselected, 0u));
  EXPECT_EQ(std::make_pair(f.m().view.viewCode, f.m().view.activeTurn),
            std::make_pair(kViewFront, kTurnNone));
  EXPECT_DOUBLE_EQ(f.d().view.scale, 1.0);
  EXPECT_EQ(f.d().view.gridStep, 20);
}

TEST(EditorModel, ColourTableChangesReachTheSurfaceAndTheLabels) {
  EditorFixture f;
  ColorTable t = f.m().colors.current;
  t.Set(7, {0x1200, 0x3400, 0x5600});
  f.m().colors.current = t;
  f.m().colors.drawing.green2 = 99;
  f.m().observer().ColorTableChanged();
  EXPECT_EQ(f.d().offscreen.draw.palette()[7], (Rgb8{0x12, 0x34, 0x56}));
  EXPECT_EQ(f.d().offscreen.shown.palette()[7], (Rgb8{0x12, 0x34, 0x56}));
  EXPECT_EQ(f.d().labels.entries()[0].colour, 99);
}

TEST(EditorModel, InitialiseTakesTheKeptOptionsFromThePreferences) {
  EditorFixture f;
  f.m().preferences.gridShown = false;
  f.m().preferences.thickLine = true;
  f.m().preferences.perspectiveOn = true;
  f.m().preferences.viewHalfWidth = 42;
  f.d().options.vectorFilter = kBackVectorsOnly;
  f.d().options.showInvisible = true;
  f.d().view.panX = 5;
  f.e().InitialiseDisplay();
  const DisplayOptions& o = f.d().options;
  EXPECT_EQ(std::make_tuple(o.gridOn, o.thickLine, o.perspective, o.guideHalfWidth),
            std::make_tuple(false, true, true, 42.0));
  EXPECT_EQ(std::make_pair(o.vectorFilter, o.showInvisible),  // reset at every start
            std::make_pair(kAllVectors, false));
  EXPECT_DOUBLE_EQ(f.d().view.panX, 0);
  EXPECT_EQ(f.d().labels.entries()[2].Text(), "z");
  // And back into a record.
  Preferences p;
  StoreOptions(o, p);
  EXPECT_EQ(p, f.m().preferences);
}

}  // namespace
}  // namespace ws
