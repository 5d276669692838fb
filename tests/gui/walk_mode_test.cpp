// Walk mode through the real window: the Virtual Walk button, held keys on
// the 20 ms tick, the wheel, Hide Environment, leaving the mode, and an
// object the walk view refuses.
#include <QCheckBox>
#include <QWheelEvent>
#include <cstdlib>

#include "app/edit_area.h"
#include "model/cluster.h"
#include "model/color_table.h"
#include "editor/editor_state.h"
#include "gui_fixture.h"
#include "walk/render_world.h"
#include "walk/walk_session.h"

namespace ws::test {
namespace {

class WalkGuiTest : public GuiTest {
 protected:
  void ClickMode(int mode) {
    const IntRect r = app->column().modes[mode];
    QTest::mouseClick(window()->pane(), Qt::LeftButton, {},
                      QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    Tick();
  }
  void HoldKey(Qt::Key key, int ticks) {
    QTest::keyPress(window()->pane(), key);
    for (int i = 0; i < ticks; ++i) Tick();
    QTest::keyRelease(window()->pane(), key);
    Tick();
  }
  void Wheel(int delta) {
    QWidget* area = window()->editArea();
    const QPointF at(10, 10);
    QWheelEvent e(at, area->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(area, &e);
    Tick();
  }
  const walk::WalkViewer& Viewer() { return app->walkSession().viewer(); }
  // A polygon through corners given from the walk's start: `ahead` units
  // in front, `right` to the right, `up` above the eye (item 0 shows the
  // object at a quarter of its size, 200 ahead, its height axis up).
  void AddWall(std::initializer_list<std::array<double, 3>> corners, std::uint8_t colour) {
    ObjectTables& t = app->model().tables;
    Polygon& p = t.polygons[t.polygonCount++];
    p = Polygon{};
    p.flags = PolyFlag::kBordered | 0x2;
    p.frontColor = p.backColor = colour;
    p.frontFill = p.backFill = FillWord(colour);
    for (const auto& c : corners) {
      p.points[p.pointCount++] = t.AddPoint(c[1] * 4, (15 + c[2]) * 4, (200 - c[0]) * 4);
    }
    for (std::uint32_t i = 0; i < p.pointCount; ++i) {
      p.vectors[p.vectorCount++] = t.AddVector(p.points[i], p.points[(i + 1) % p.pointCount]);
    }
  }
  // Documentation pictures: saved only when WS_SCREENSHOT_DIR names a
  // directory (run under xvfb-run for the real window system).
  void MaybeScreenshot(const char* name) {
    const char* out = std::getenv("WS_SCREENSHOT_DIR");
    if (!out || !*out) return;
    QApplication::processEvents();
    EXPECT_TRUE(window()->grab().save(QString("%1/%2").arg(out, name)));
  }
  QImage Shown() { return window()->editArea()->image().copy(); }
};

TEST_F(WalkGuiTest, TheModeButtonStartsWalkingAndHeldUpWalksForward) {
  ScriptedUi ui;
  StartEditor(&ui);
  // A courtyard: a back wall, two side walls and a gate post.
  AddWall({{140, -70, 40}, {140, 70, 40}, {140, 70, -15}, {140, -70, -15}}, 16);
  AddWall({{60, -70, 25}, {140, -70, 25}, {140, -70, -15}, {60, -70, -15}}, 48);
  AddWall({{60, 70, 25}, {140, 70, 25}, {140, 70, -15}, {60, 70, -15}}, 48);
  AddWall({{90, -12, 10}, {90, 12, 10}, {90, 12, -15}, {90, -12, -15}}, 80);
  ClickMode(EditorMode::kVirtualWalk);
  ASSERT_TRUE(app->shell().walkModeActive);
  EXPECT_TRUE(app->walkSession().active());
  EXPECT_EQ(app->shell().mode, EditorMode::kVirtualWalk);
  EXPECT_EQ(Title(), "Virtual Walk Mode");
  Tick();
  const QImage before = Shown();
  HoldKey(Qt::Key_Up, 20);
  EXPECT_GT(Viewer().y, 15.0);
  EXPECT_NEAR(Viewer().x, 0.0, 1e-9);
  EXPECT_NE(Shown(), before);
  const double y = Viewer().y;
  HoldKey(Qt::Key_Left, 5);
  EXPECT_GT(Viewer().heading, 90.0);
  EXPECT_GT(Viewer().y, y);  // still coasting
  MaybeScreenshot("walk.png");

  // Height: one Page Up step per key-down, the wheel, space back to 15.
  HoldKey(Qt::Key_PageUp, 5);
  EXPECT_EQ(Viewer().z, 16.0);
  Wheel(120);
  EXPECT_EQ(Viewer().z, 17.0);
  Wheel(-120);
  Wheel(-120);
  EXPECT_EQ(Viewer().z, 15.0);
  // Page Down sinks once per tick while held (the timer may add ticks).
  HoldKey(Qt::Key_PageDown, 3);
  EXPECT_LE(Viewer().z, 12.0);
  EXPECT_EQ(Viewer().z, Viewer().ground);
  HoldKey(Qt::Key_Space, 1);
  EXPECT_EQ(Viewer().z, 15.0);

  // Hide Environment: black where the sky was.
  window()->hideEnvironment()->setChecked(true);
  Tick();
  const std::uint8_t black = app->model().colors.drawing.black;
  EXPECT_EQ(window()->editArea()->image().pixelIndex(2, 2), black);
  // F5: the quick commands drawn over the walk frame (the top band is
  // empty black sky without them).
  auto topBandInk = [&] {
    const QImage im = window()->editArea()->image();
    int ink = 0;
    for (int y = 0; y < im.height() / 4; ++y) {
      for (int x = 0; x < im.width(); ++x) ink += im.pixelIndex(x, y) != black;
    }
    return ink;
  };
  EXPECT_EQ(topBandInk(), 0);
  HoldKey(Qt::Key_F5, 1);
  EXPECT_GT(topBandInk(), 100);
  HoldKey(Qt::Key_F5, 1);
  window()->hideEnvironment()->setChecked(false);
  Tick();
  EXPECT_NE(window()->editArea()->image().pixelIndex(2, 2), black);

  // Plot mode ends walk mode and frees the world.
  ClickMode(EditorMode::kPlot);
  EXPECT_FALSE(app->shell().walkModeActive);
  EXPECT_FALSE(app->walkSession().active());
  EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(WalkGuiTest, SelectingAnotherObjectBuildsTheWorldForIt) {
  ScriptedUi ui;
  StartEditor(&ui);
  AddWall({{90, -12, 10}, {90, 12, 10}, {90, 12, -15}, {90, -12, -15}}, 80);
  ASSERT_TRUE(NewObject(app->model(), "empty"));
  Tick();
  ClickMode(EditorMode::kVirtualWalk);
  ASSERT_TRUE(app->walkSession().active());
  EXPECT_EQ(app->walkSession().world().objects[0].polygons.size(), 0u);
  Q_EMIT window()->objectList()->activated(0);
  Tick();
  EXPECT_EQ(app->model().cluster.current, 0u);
  EXPECT_TRUE(app->shell().walkModeActive);
  EXPECT_EQ(app->walkSession().world().objects[0].polygons.size(), 1u);
}

TEST_F(WalkGuiTest, AnObjectTheWalkViewRefusesKeepsThePreviousMode) {
  ScriptedUi ui;
  StartEditor(&ui);
  ClickMode(EditorMode::kSelectPolygon);
  ObjectTables& t = app->model().tables;
  Polygon& p = t.polygons[t.polygonCount++];
  p = Polygon{};
  p.vectorCount = walk::kMaxPolySides + 1;  // damaged: more sides than a record holds
  ui.ClearMessages();
  ClickMode(EditorMode::kVirtualWalk);
  EXPECT_FALSE(app->shell().walkModeActive);
  EXPECT_FALSE(app->walkSession().active());
  EXPECT_EQ(app->shell().mode, EditorMode::kSelectPolygon);
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].text, walk::kPolySidesMessage);
  EXPECT_NE(Title(), "Virtual Walk Mode");
}

}  // namespace
}  // namespace ws::test
