// Walk mode through the real window with "DirectX" chosen: the tick moves
// the walker and the GL picture follows it from the walker's eye (where the
// sky and the eye's frames are the GL walk view's and the walk camera's
// tests); a walk edit shows in it; leaving walk mode gives the plain view
// back.
#include <gtest/gtest.h>

#include "app/edit_area.h"
#include "editor/interaction/interaction.h"
#include "viewer_gui_fixture.h"
#include "walk/render_fixture.h"
#include "walk/walk_session.h"

namespace ws::test {
namespace {

class DirectXWalkTest : public ViewerGuiTest {
 protected:
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) {
      Tick();
      QTest::qWait(5);
    }
  }
  void ClickMode(int mode) {
    QTest::mouseClick(window()->pane(), Qt::LeftButton, {}, Middle(app->column().modes[mode]));
    Ticks(3);
  }
  QImage Picture() { return app->viewer()->widget()->grabFramebuffer().convertToFormat(QImage::Format_RGB32); }
};

TEST_F(DirectXWalkTest, TheGlViewWalksWithTheKeysAndLeavesWithTheMode) {
  if (!GlAvailable()) GTEST_SKIP() << "no OpenGL 3.3 core context here (run under xvfb-run -a)";
  ScriptedUi ui;
  StartEditor(&ui);
  ObjectTables& t = app->model().tables;
  const ColorTable& table = app->model().colors.current;
  // A courtyard: a back wall, two side walls and a gate post.
  const std::uint32_t flags = PolyFlag::kBordered | PolyFlag::kSelectedColor;
  AddWalkPolygon(t, {{140, -70, 40}, {140, 70, 40}, {140, 70, -15}, {140, -70, -15}}, flags,
                 NearestColor(table, 0xC0C0, 0x6060, 0x3030));
  AddWalkPolygon(t, {{60, -70, 25}, {140, -70, 25}, {140, -70, -15}, {60, -70, -15}}, flags,
                 NearestColor(table, 0x9090, 0x9090, 0xA0A0));
  AddWalkPolygon(t, {{60, 70, 25}, {140, 70, 25}, {140, 70, -15}, {60, 70, -15}}, flags,
                 NearestColor(table, 0x9090, 0x9090, 0xA0A0));
  AddWalkPolygon(t, {{90, -12, 10}, {90, 12, 10}, {90, 12, -15}, {90, -12, -15}}, flags,
                 NearestColor(table, 0xC0C0, 0x2020, 0x2020));
  app->Dispatch(Cmd::kShadingGouraud);
  ChooseDirectX();
  viewer::HardwareView* view = app->viewer()->view();
  ASSERT_FALSE(view->builtForWalk());

  ClickMode(EditorMode::kVirtualWalk);
  ASSERT_TRUE(app->walkSession().active());
  EXPECT_EQ(std::make_pair(view->builtForWalk(), view->frames().perspective), std::make_pair(true, true));
  const QImage before = Picture();

  // Held Up walks forward each tick, and the picture follows.
  QTest::keyPress(window()->pane(), Qt::Key_Up);
  Ticks(25);
  QTest::keyRelease(window()->pane(), Qt::Key_Up);
  Ticks(2);
  const walk::WalkViewer& walker = app->walkSession().viewer();
  EXPECT_GT(walker.y, 15.0);
  // 200 back along z: the camera stands where the walker is.
  EXPECT_NEAR(TransformPoint(view->frames().camera, {0, 0, 0})[2], 200.0 - walker.y, 1e-3);
  EXPECT_NE(Picture(), before);
  MaybeScreenshot("viewer_walk.png");

  // Walk editing (Color Polygon) on the polygon ahead: the GL picture shows
  // the new colour once the button comes up.
  const QPoint middle(window()->editArea()->width() / 2, window()->editArea()->height() / 2);
  const QRgb ahead = Picture().pixel(middle);
  SetCurrentColour(app->interaction(), NearestColor(table, 0x2020, 0xE0E0, 0x2020));
  // The walk view picks under the pointer of the tick.
  QCursor::setPos(window()->editArea()->mapToGlobal(middle));
  QTest::mouseMove(window()->editArea(), middle);
  QTest::mousePress(window()->editArea(), Qt::LeftButton, {}, middle);
  Ticks(2);
  QTest::mouseRelease(window()->editArea(), Qt::LeftButton, {}, middle);
  Ticks(2);
  const QRgb edited = Picture().pixel(middle);
  EXPECT_GT(qGreen(edited), qRed(edited) + 40) << std::hex << ahead << " " << edited;
  EXPECT_GT(qRed(ahead), qGreen(ahead) + 40) << std::hex << ahead;

  ClickMode(EditorMode::kPlot);
  EXPECT_EQ(std::make_tuple(app->walkSession().active(), view->builtForWalk(), view->frames().perspective),
            std::make_tuple(false, false, false));
  const QImage plain = Picture();
  EXPECT_EQ(plain.pixel(2, plain.height() - 3), qRgb(0, 0, 0));
  EXPECT_TRUE(ui.Messages().empty());
}

}  // namespace
}  // namespace ws::test
