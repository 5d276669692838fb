// Walk mode through the real window: the Virtual Walk button, a held key on
// the 20 ms tick, the wheel, Hide Environment, the quick commands, leaving
// the mode, another object, and an object the walk view refuses. The keys
// themselves are the session's and the motion's tests.
#include <QCheckBox>
#include <QWheelEvent>

#include "app/edit_area.h"
#include "editor/editor_state.h"
#include "gui_fixture.h"
#include "model/cluster.h"
#include "walk/render_fixture.h"
#include "walk/walk_session.h"

namespace ws::test {
namespace {

class WalkGuiTest : public GuiTest {
 protected:
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
  QImage Shown() { return window()->editArea()->image().copy(); }
};

TEST_F(WalkGuiTest, WalkingThroughTheWindowAnotherObjectAndARefusedOne) {
  ScriptedUi ui;
  StartEditor(&ui);
  AddCourtyard(app->model().tables, PolyFlag::kBordered | PolyFlag::kSelectedColor, 16, 48, 80);
  ClickMode(EditorMode::kVirtualWalk);
  ASSERT_TRUE(app->shell().walkModeActive);
  Tick();
  const QImage before = Shown();
  HoldKey(Qt::Key_Up, 20);
  EXPECT_GT(Viewer().y, 15.0);
  EXPECT_NE(Shown(), before);
  MaybeScreenshot("walk.png");
  // The wheel reaches the viewer (a notch climbs one unit; the motion tests
  // hold the rest of the wheel's rules).
  Wheel(120);
  EXPECT_EQ(Viewer().z, 16.0);
  // Hide Environment: the top band becomes black sky, until F5 draws the
  // quick commands over the walk frame.
  window()->hideEnvironment()->setChecked(true);
  Tick();
  const std::uint8_t black = app->model().colors.drawing.black;
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
  // Plot mode ends walk mode and frees the world.
  ClickMode(EditorMode::kPlot);
  EXPECT_EQ(std::make_tuple(app->shell().walkModeActive, app->walkSession().active(),
                            ui.Messages().size()),
            std::make_tuple(false, false, 0u));

  // Another object chosen while walking: the world is built for it.
  ASSERT_TRUE(NewObject(app->model(), "empty"));
  Tick();
  ClickMode(EditorMode::kVirtualWalk);
  ASSERT_TRUE(app->walkSession().active());
  Q_EMIT window()->objectList()->activated(0);
  Tick();
  EXPECT_EQ(std::make_tuple(app->model().cluster.current, app->shell().walkModeActive,
                            app->walkSession().world().objects[0].polygons.size()),
            std::make_tuple(0u, true, 4u));

  // An object the walk view refuses keeps the previous mode.
  ClickMode(EditorMode::kSelectPolygon);
  ObjectTables& t = app->model().tables;
  Polygon& p = t.polygons[t.polygonCount++];
  p = Polygon{};
  p.vectorCount = walk::kMaxPolySides + 1;  // damaged: more sides than a record holds
  ui.ClearMessages();
  ClickMode(EditorMode::kVirtualWalk);
  EXPECT_EQ(
      std::make_tuple(app->shell().walkModeActive, app->walkSession().active(), app->shell().mode),
      std::make_tuple(false, false, EditorMode::kSelectPolygon));
  EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{std::string(walk::kPolySidesMessage)});
}

}  // namespace
}  // namespace ws::test
