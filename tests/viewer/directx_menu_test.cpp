// The Rendering menu in the running editor: the GL widget over the EditArea,
// one viewer however often "DirectX" is chosen, the shading checks, the
// frame information dialogs and the fall-back to the software renderer.
#include <gtest/gtest.h>

#include <QAction>
#include <QOpenGLContext>
#include <set>

#include "app/edit_area.h"
#include "app/frame_info_dialog.h"
#include "app/viewer_widget.h"
#include "app/viewer_wiring.h"
#include "editor/shell/command_ids.h"
#include "editor_test_support.h"
#include "viewer_gui_fixture.h"
#include "model/color_ops.h"

namespace ws::test {
namespace {

TEST_F(ViewerGuiTest, DirectXLaysOneViewerOverTheEditAreaAndSoftwareHidesIt) {
  if (!GlAvailable()) GTEST_SKIP() << "no OpenGL 3.3 core context here (run under xvfb-run -a)";
  StartEditor();
  ViewerWiring* v = app->viewer();
  app->Dispatch(Cmd::kShadingPhong);
  app->Dispatch(Cmd::kRenderDirectX);
  ChooseDirectX();
  ASSERT_NE(v->widget(), nullptr);
  EXPECT_EQ(std::make_tuple(v->viewersCreated(), &app->editor().view() == v->view(),
                            app->shell().rendererChoice, v->widget()->isVisible(),
                            v->widget()->paintCount() > 0, v->widget()->rendererReady(),
                            v->widget()->geometry(), v->view()->shadingState().quality),
            std::make_tuple(1, true, kRendererDirectX, true, true, true,
                            window()->editArea()->geometry(), viewer::kQualityPhong));
  // The shading items' checks are the menu state's tests.
  EXPECT_EQ(std::make_pair(window()->action(Cmd::kRenderDirectX)->isChecked(),
                           window()->action(Cmd::kRenderSoftware)->isChecked()),
            std::make_pair(true, false));

  // The debug dialogs toggle, modeless, their items checked while open.
  const char* titles[] = {"Mesh Frame Info", "Light Frame Info", "Camera Frame Information"};
  for (int i = 0; i < 3; ++i) {
    const auto which = static_cast<ViewerWiring::InfoFrame>(i);
    v->infoAction(which)->trigger();
    ASSERT_NE(v->infoDialog(which), nullptr);
    EXPECT_EQ(std::make_tuple(v->infoDialog(which)->isVisible(), v->infoDialog(which)->isModal(),
                              v->infoDialog(which)->windowTitle(), v->infoAction(which)->isChecked()),
              std::make_tuple(true, false, QString(titles[i]), true));
  }
  EXPECT_EQ(v->infoDialog(ViewerWiring::kLightInfo)->FieldText("position"),
            "0.000, 100.000, 300.000");
  EXPECT_EQ(v->infoDialog(ViewerWiring::kCameraInfo)->FieldText("direction"),
            "0.000, 0.000, -1.000");
  v->infoAction(ViewerWiring::kMeshInfo)->trigger();
  EXPECT_EQ(std::make_pair(v->infoDialog(ViewerWiring::kMeshInfo)->isVisible(),
                           v->infoAction(ViewerWiring::kMeshInfo)->isChecked()),
            std::make_pair(false, false));

  app->Dispatch(Cmd::kRenderSoftware);
  Tick();
  EXPECT_EQ(std::make_tuple(v->widget()->isVisible(), window()->action(Cmd::kRenderSoftware)->isChecked(),
                            &app->editor().view() == &app->editor().softwareView()),
            std::make_tuple(false, true, true));
  app->Dispatch(Cmd::kRenderDirectX);
  EXPECT_EQ(std::make_pair(v->viewersCreated(), v->widget()->isVisible()), std::make_pair(1, true));
}

// A faceted sphere: Flat gives each facet one colour, Phong lights every
// pixel, so its picture holds far more distinct colours. (With
// WS_SCREENSHOT_DIR set the two windows are saved for the documentation.)
TEST_F(ViewerGuiTest, PhongShowsASphereSmootherThanFlat) {
  if (!GlAvailable()) GTEST_SKIP() << "no OpenGL 3.3 core context here (run under xvfb-run -a)";
  StartEditor();
  ObjectTables& t = app->model().tables;
  AddSphere(t, 130, 8, 12, 0, NearestColor(app->model().colors.current, 0xFFFF, 0x8080, 0x2020));
  TurnAboutX(app->model().view.orientation, 0.35);
  ViewerWiring* v = app->viewer();
  ChooseDirectX();
  std::size_t distinct[2] = {0, 0};
  for (int shading : {1, 3}) {
    app->Dispatch(shading == 1 ? Cmd::kShadingFlat : Cmd::kShadingPhong);
    for (int i = 0; i < 4; ++i) {
      Tick();
      QTest::qWait(10);
    }
    const QImage picture = v->widget()->grabFramebuffer();
    std::set<QRgb> colours;
    for (int y = 0; y < picture.height(); ++y) {
      for (int x = 0; x < picture.width(); ++x) colours.insert(picture.pixel(x, y));
    }
    distinct[shading == 1 ? 0 : 1] = colours.size();
    MaybeScreenshot(shading == 1 ? "viewer_flat.png" : "viewer_phong.png");
  }
  EXPECT_GT(distinct[0], 20u);  // the facets differ
  EXPECT_GT(distinct[1], 4 * distinct[0]);
}

// A context the machine cannot give is reported with its code and the
// editor stays on the software renderer.
TEST_F(GuiTest, DirectXWithoutTheContextItNeedsStaysOnSoftware) {
  ScriptedUi ui;
  StartEditor(&ui);
  ViewerWiring* v = app->viewer();
  v->contextFormat.setVersion(99, 0);
  app->Dispatch(Cmd::kRenderDirectX);
  EXPECT_EQ(std::make_tuple(v->viewersCreated(), app->shell().rendererChoice,
                            &app->editor().view() == &app->editor().softwareView()),
            std::make_tuple(0, kRendererSoftware, true));
  // Which call refuses depends on the GL library.
  const std::vector<RecordedMessage> generic = {
      {"General Error", "DirectX Error 80004005 - Generic failure. - Create an OpenGL context"}};
  const std::vector<RecordedMessage> unsupported = {
      {"General Error", "DirectX Error 80004001 - Action not supported. - Acquire OpenGL 99.0 core"}};
  EXPECT_TRUE(ui.Messages() == generic || ui.Messages() == unsupported) << testing::PrintToString(ui.MessageTexts());
}

}  // namespace
}  // namespace ws::test
