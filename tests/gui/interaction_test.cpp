// Interactive editing through the real window: plotting with the mouse and
// the view letters, the right-button marquee, the Define Polygon button,
// the Polygons menu and a save-and-reload of the result.
#include <QAction>
#include <QMouseEvent>
#include <cstdlib>

#include "app/edit_area.h"
#include "editor/colour_chooser.h"
#include "editor/command_ids.h"
#include "editor/control_column.h"
#include "editor/drag.h"
#include "editor/editor_state.h"
#include "gui_fixture.h"

namespace ws::test {
namespace {

class InteractionGuiTest : public GuiTest {
 protected:
  // The projection centre in client pixels.
  QPoint Centre() {
    const auto& l = app->editor().display.layout;
    return {l.editArea.left + l.cx, l.editArea.top + l.cy};
  }
  QWidget* Area() { return window()->editArea(); }
  QPoint Local(QPoint client) { return client - Area()->pos(); }
  void Key(Qt::Key key) {
    QTest::keyClick(window()->pane(), key);
    Tick();
  }
  void LeftClick(QPoint client) {
    MoveCursor(client.x(), client.y());
    QTest::mouseClick(Area(), Qt::LeftButton, {}, Local(client));
    Tick();
  }
  // A right-button drag from `from` to `to` (client pixels).
  void RightDrag(QPoint from, QPoint to) {
    QTest::mousePress(Area(), Qt::RightButton, {}, Local(from));
    const QPoint mid = (from + to) / 2;
    for (const QPoint p : {mid, to}) {
      QMouseEvent move(QEvent::MouseMove, Local(p), Area()->mapToGlobal(Local(p)), Qt::NoButton,
                       Qt::RightButton, Qt::NoModifier);
      QApplication::sendEvent(Area(), &move);
    }
    QTest::mouseRelease(Area(), Qt::RightButton, {}, Local(to));
    Tick();
  }
  // Documentation pictures: saved only when WS_SCREENSHOT_DIR names a
  // directory (run under xvfb-run for the real window system).
  void MaybeScreenshot(const char* name) {
    const char* out = std::getenv("WS_SCREENSHOT_DIR");
    if (!out || !*out) return;
    QApplication::processEvents();
    EXPECT_TRUE(window()->grab().save(QString("%1/%2").arg(out, name)));
  }
  void SendPaneMove(QPoint client, Qt::MouseButtons buttons) {
    QMouseEvent move(QEvent::MouseMove, client, window()->pane()->mapToGlobal(client), Qt::NoButton,
                     buttons, Qt::NoModifier);
    QApplication::sendEvent(window()->pane(), &move);
  }
  void ClickModeStrip(int mode) {
    const IntRect r = app->column().modes[mode];
    QTest::mouseClick(window()->pane(), Qt::LeftButton, {},
                      QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    Tick();
  }
};

TEST_F(InteractionGuiTest, PlotSquareMarqueeDefineCollisionSaveAndReload) {
  ScriptedUi ui;
  StartEditor(&ui);
  app->editor().display.options.instantViewChange = true;
  const int g = app->editor().display.view.gridStep;
  const QPoint c = Centre();
  const int s = 4 * g;  // the square's side, in world units and pixels at 100%

  // While the cursor moves in the Front view, the title follows the
  // snapped X under it (grid snapping rounds to the nearest step).
  MoveCursor(c.x() + g, c.y());
  EXPECT_EQ(Title(), QString::asprintf("Set X = %.3f", static_cast<double>(g)));
  MoveCursor(c.x() + 3 * g + g / 3, c.y());
  EXPECT_EQ(Title(), QString::asprintf("Set X = %.3f", 3.0 * g));

  // Corners in the z = 0 plane, round and back to the first: X and Y from
  // the Front view, Z from the Right view (screen right is -Z there).
  const int corners[5][2] = {{0, 0}, {s, 0}, {s, s}, {0, s}, {0, 0}};
  for (int i = 0; i < 5; ++i) {
    const int x = corners[i][0], y = corners[i][1];
    Key(Qt::Key_F);
    LeftClick(QPoint(c.x() + x, c.y()));
    LeftClick(QPoint(c.x(), c.y() - y));
    Key(Qt::Key_R);
    LeftClick(QPoint(c.x(), c.y()));
  }
  const ObjectTables& t = app->model().tables;
  ASSERT_EQ(t.vectorCount, kReservedVectors + 4);
  ASSERT_EQ(t.userPointCount(), 4u) << "the closing corner is shared with the first";

  // The four vectors by a right-button marquee in Select Vector mode, seen
  // from the Front.
  Key(Qt::Key_F);
  ClickModeStrip(EditorMode::kSelectVector);
  ASSERT_EQ(app->shell().mode, EditorMode::kSelectVector);
  RightDrag(QPoint(c.x() - g, c.y() + g), QPoint(c.x() + s + g, c.y() - s - g));
  int selected = 0;
  for (std::uint32_t v = kReservedVectors; v < t.vectorCount; ++v)
    selected += t.vectors[v].selected == kSelected;
  EXPECT_EQ(selected, 4);

  // The Define Polygon button.
  const IntRect icon = app->column().icons[kToggleDefinePolygon];
  const QPoint button((icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2);
  QTest::mouseClick(window()->pane(), Qt::LeftButton, {}, button);
  Tick();
  ASSERT_EQ(t.polygonCount, 1u) << (ui.MessageTexts().empty() ? "" : ui.MessageTexts().back());
  MaybeScreenshot("polygon-defined.png");

  // Select it with a marquee in Select Polygon mode; Polygons > Purpose >
  // "Collision".
  ClickModeStrip(EditorMode::kSelectPolygon);
  RightDrag(QPoint(c.x() - g, c.y() + g), QPoint(c.x() + s + g, c.y() - s - g));
  ASSERT_EQ(t.polygonSelected[0], kSelected);
  QAction* collision = window()->action(Cmd::kPurposeCollision);
  Tick();
  ASSERT_TRUE(collision->isEnabled());
  collision->trigger();
  Tick();
  EXPECT_NE(t.polygons[0].flags & PolyFlag::kCollision, 0u);

  // Save as a .wdo, start a new object, and open the file again.
  const std::string path = dir.path() + "/square.wdo";
  ui.QueueSavePath(path);
  window()->action(Cmd::kSaveObjectAs)->trigger();
  Tick();
  ASSERT_TRUE(FileExists(path));
  ui.QueueOpenPath(path);
  window()->action(Cmd::kOpen)->trigger();
  Tick();
  ASSERT_EQ(t.polygonCount, 1u);
  EXPECT_EQ(t.polygons[0].vectorCount, 4u);
  EXPECT_NE(t.polygons[0].flags & PolyFlag::kCollision, 0u);
  EXPECT_EQ(t.userPointCount(), 4u);
}

TEST_F(InteractionGuiTest, ColourChooserFollowsTheButtonAndTakesTheCellReleasedOn) {
  StartEditor();
  const IntRect sw = app->column().swatch;
  const QPoint swatch((sw.left + sw.right) / 2, (sw.top + sw.bottom) / 2);
  QTest::mousePress(window()->pane(), Qt::LeftButton, {}, swatch);
  ASSERT_EQ(app->interaction().gesture.kind, GestureKind::kColourChooser);
  EXPECT_TRUE(app->shell().rotationInProgress) << "the tick rests while the chooser is open";
  app->OnTick();
  EXPECT_EQ(Title().toStdString(), kTitleSelectNewColor);

  // Entry 37 lies at column 5 of row 1 of the grid centred in the EditArea.
  const auto& layout = app->editor().display.layout;
  const IntRect cell = PlacePaletteGrid(layout.local).Cell(37);
  const QPoint over(layout.editArea.left + (cell.left + cell.right) / 2,
                    layout.editArea.top + (cell.top + cell.bottom) / 2);
  SendPaneMove(over, Qt::LeftButton);
  EXPECT_EQ(app->interaction().gesture.cell, 37);
  MaybeScreenshot("colour-chooser.png");
  QTest::mouseRelease(window()->pane(), Qt::LeftButton, {}, over);
  Tick();
  EXPECT_EQ(app->interaction().gesture.kind, GestureKind::kNone);
  EXPECT_FALSE(app->shell().rotationInProgress);
  EXPECT_EQ(app->interaction().currentColour, 37);
  const RGB16 c = app->model().colors.current[37];
  EXPECT_EQ(window()->pane()->swatchColor, QColor::fromRgb(c.red >> 8, c.green >> 8, c.blue >> 8));
}

}  // namespace
}  // namespace ws::test
