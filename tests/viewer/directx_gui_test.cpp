// The hardware viewer in the running editor: the GL widget over the
// EditArea, one viewer however often "DirectX" is chosen, the shading
// checks, the frame information dialogs, the fall-back to the software
// renderer, and walk mode seen through it.
#include <gtest/gtest.h>

#include <QAction>
#include <QOpenGLContext>

#include "app/edit_area.h"
#include "app/frame_info_dialog.h"
#include "app/viewer_widget.h"
#include "app/viewer_wiring.h"
#include "editor/interaction/interaction.h"
#include "editor/shell/command_ids.h"
#include "editor_test_support.h"
#include "gui_fixture.h"
#include "model/color_ops.h"
#include "walk/render_fixture.h"
#include "walk/walk_session.h"

namespace ws::test {
namespace {

class ViewerGuiTest : public GuiTest {
 protected:
  void SetUp() override {
    QOpenGLContext context;
    context.setFormat(ViewerSurfaceFormat());
    if (!context.create() || context.format().version() < qMakePair(3, 3))
      GTEST_SKIP() << "no OpenGL 3.3 core context here (run under xvfb-run -a)";
  }
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) {
      Tick();
      QTest::qWait(5);
    }
  }
  // "DirectX", then a few ticks to draw. The window becomes a GL window
  // when the widget joins it, and without a window manager nobody gives it
  // the focus back, so the test does.
  void ChooseDirectX() {
    app->Dispatch(Cmd::kRenderDirectX);
    window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
    for (int i = 0; i < 20 && (i < 4 || app->viewer()->widget()->paintCount() == 0); ++i) Ticks(1);
  }
  QImage Picture() {
    return app->viewer()->widget()->grabFramebuffer().convertToFormat(QImage::Format_RGB32);
  }
};

TEST_F(ViewerGuiTest, DirectXLaysOneViewerOverTheEditAreaAndSoftwareHidesIt) {
  StartEditor();
  ViewerWiring* v = app->viewer();
  AddSphere(app->model().tables, 130, 8, 12, 0,
            NearestColor(app->model().colors.current, 0xFFFF, 0x8080, 0x2020));
  TurnAboutX(app->model().view.orientation, 0.35);
  app->Dispatch(Cmd::kShadingPhong);
  app->Dispatch(Cmd::kRenderDirectX);
  ChooseDirectX();
  ASSERT_NE(v->widget(), nullptr);
  EXPECT_EQ(std::make_tuple(v->viewersCreated(), &app->editor().view() == v->view(),
                            app->shell().rendererChoice, v->widget()->isVisible(),
                            v->widget()->paintCount() > 0, v->widget()->rendererReady(),
                            v->widget()->geometry(), v->view()->shadingState().quality,
                            window()->action(Cmd::kRenderDirectX)->isChecked(),
                            window()->action(Cmd::kRenderSoftware)->isChecked()),
            std::make_tuple(1, true, kRendererDirectX, true, true, true,
                            window()->editArea()->geometry(), viewer::kQualityPhong, true, false));

  // The debug dialogs toggle, modeless, their items checked while open.
  const char* dialogs[][3] = {{"Mesh Frame Info", "", ""},
                              {"Light Frame Info", "position", "0.000, 100.000, 300.000"},
                              {"Camera Frame Information", "direction", "0.000, 0.000, -1.000"}};
  for (int i = 0; i < 3; ++i) {
    const auto which = static_cast<ViewerWiring::InfoFrame>(i);
    const auto& [title, field, text] = dialogs[i];
    v->infoAction(which)->trigger();
    const FrameInfoDialog* dialog = v->infoDialog(which);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(std::make_tuple(dialog->isVisible(), dialog->isModal(), dialog->windowTitle(),
                              v->infoAction(which)->isChecked(),
                              *field ? dialog->FieldText(field) : QString()),
              std::make_tuple(true, false, QString(title), true, QString(text)));
    v->infoAction(which)->trigger();
    EXPECT_EQ(std::make_pair(dialog->isVisible(), v->infoAction(which)->isChecked()),
              std::make_pair(false, false))
        << title;
  }

  app->Dispatch(Cmd::kRenderSoftware);
  Tick();
  EXPECT_EQ(
      std::make_tuple(v->widget()->isVisible(), window()->action(Cmd::kRenderSoftware)->isChecked(),
                      &app->editor().view() == &app->editor().softwareView()),
      std::make_tuple(false, true, true));
  ChooseDirectX();
  EXPECT_EQ(std::make_pair(v->viewersCreated(), v->widget()->isVisible()), std::make_pair(1, true));

  // A shading chosen while the viewer shows reaches its picture (how each
  // looks is the GL picture tests'). With WS_SCREENSHOT_DIR set the two
  // windows are saved for the documentation.
  QImage pictures[2];
  for (int flat : {1, 0}) {
    app->Dispatch(flat ? Cmd::kShadingFlat : Cmd::kShadingPhong);
    Ticks(4);
    pictures[flat] = Picture();
    MaybeScreenshot(flat ? "viewer_flat.png" : "viewer_phong.png");
  }
  EXPECT_NE(pictures[0], pictures[1]);
}

// A context the machine cannot give is reported with its code (which call
// refuses depends on the GL library) and the editor stays on the software
// renderer.
TEST_F(GuiTest, DirectXWithoutTheContextItNeedsStaysOnSoftware) {
  ScriptedUi ui;
  StartEditor(&ui);
  ViewerWiring* v = app->viewer();
  v->contextFormat.setVersion(99, 0);
  app->Dispatch(Cmd::kRenderDirectX);
  EXPECT_EQ(std::make_tuple(v->viewersCreated(), app->shell().rendererChoice,
                            &app->editor().view() == &app->editor().softwareView()),
            std::make_tuple(0, kRendererSoftware, true));
  const std::vector<RecordedMessage> generic = {
      {"General Error", "DirectX Error 80004005 - Generic failure. - Create an OpenGL context"}};
  const std::vector<RecordedMessage> unsupported = {
      {"General Error",
       "DirectX Error 80004001 - Action not supported. - Acquire OpenGL 99.0 core"}};
  EXPECT_TRUE(ui.Messages() == generic || ui.Messages() == unsupported)
      << testing::PrintToString(ui.MessageTexts());
}

// Walk mode with "DirectX" chosen: the tick moves the walker and the GL
// picture follows from the walker's eye, a walk edit shows in it, and
// leaving walk mode gives the plain view back.
TEST_F(ViewerGuiTest, TheGlViewWalksWithTheKeysAndLeavesWithTheMode) {
  ScriptedUi ui;
  StartEditor(&ui);
  ObjectTables& t = app->model().tables;
  const ColorTable& table = app->model().colors.current;
  AddCourtyard(t, PolyFlag::kBordered | PolyFlag::kSelectedColor,
               NearestColor(table, 0xC0C0, 0x6060, 0x3030),
               NearestColor(table, 0x9090, 0x9090, 0xA0A0),
               NearestColor(table, 0xC0C0, 0x2020, 0x2020));
  app->Dispatch(Cmd::kShadingGouraud);
  ChooseDirectX();
  viewer::HardwareView* view = app->viewer()->view();
  ASSERT_FALSE(view->builtForWalk());

  ClickMode(EditorMode::kVirtualWalk);
  Ticks(2);
  ASSERT_TRUE(app->walkSession().active());
  EXPECT_EQ(std::make_pair(view->builtForWalk(), view->frames().perspective),
            std::make_pair(true, true));
  const QImage before = Picture();
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

  // Color Polygon on the wall ahead, picked under the pointer of the tick:
  // the GL picture shows the new colour once the button comes up.
  const QPoint middle(window()->editArea()->width() / 2, window()->editArea()->height() / 2);
  const QRgb ahead = Picture().pixel(middle);
  SetCurrentColour(app->interaction(), NearestColor(table, 0x2020, 0xE0E0, 0x2020));
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
  Ticks(2);
  EXPECT_EQ(std::make_tuple(app->walkSession().active(), view->builtForWalk(),
                            view->frames().perspective),
            std::make_tuple(false, false, false));
  const QImage plain = Picture();
  EXPECT_EQ(plain.pixel(2, plain.height() - 3), qRgb(0, 0, 0));
  EXPECT_TRUE(ui.Messages().empty());
}

}  // namespace
}  // namespace ws::test
