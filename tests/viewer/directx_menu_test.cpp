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
  EXPECT_EQ(v->viewersCreated(), 1);
  ASSERT_NE(v->widget(), nullptr);
  EXPECT_EQ(&app->editor().view(), v->view());
  EXPECT_EQ(app->shell().rendererChoice, kRendererDirectX);
  EXPECT_TRUE(v->widget()->isVisible());
  EXPECT_GT(v->widget()->paintCount(), 0);
  EXPECT_TRUE(v->widget()->rendererReady());
  EXPECT_EQ(v->widget()->geometry(), window()->editArea()->geometry());
  EXPECT_EQ(v->view()->shadingState().quality, viewer::kQualityPhong);
  EXPECT_TRUE(window()->action(Cmd::kRenderDirectX)->isChecked());
  EXPECT_FALSE(window()->action(Cmd::kRenderSoftware)->isChecked());
  EXPECT_TRUE(window()->action(Cmd::kShadingPhong)->isChecked());
  EXPECT_FALSE(window()->action(Cmd::kShadingNone)->isChecked());

  // The debug dialogs toggle, modeless, their items checked while open.
  const char* titles[] = {"Mesh Frame Info", "Light Frame Info", "Camera Frame Information"};
  for (int i = 0; i < 3; ++i) {
    const auto which = static_cast<ViewerWiring::InfoFrame>(i);
    v->infoAction(which)->trigger();
    ASSERT_NE(v->infoDialog(which), nullptr);
    EXPECT_TRUE(v->infoDialog(which)->isVisible());
    EXPECT_FALSE(v->infoDialog(which)->isModal());
    EXPECT_EQ(v->infoDialog(which)->windowTitle(), titles[i]);
    EXPECT_TRUE(v->infoAction(which)->isChecked());
  }
  EXPECT_EQ(v->infoDialog(ViewerWiring::kLightInfo)->FieldText("position"),
            "0.000, 100.000, 300.000");
  EXPECT_EQ(v->infoDialog(ViewerWiring::kCameraInfo)->FieldText("direction"),
            "0.000, 0.000, -1.000");
  v->infoAction(ViewerWiring::kMeshInfo)->trigger();
  EXPECT_FALSE(v->infoDialog(ViewerWiring::kMeshInfo)->isVisible());
  EXPECT_FALSE(v->infoAction(ViewerWiring::kMeshInfo)->isChecked());

  app->Dispatch(Cmd::kRenderSoftware);
  Tick();
  EXPECT_FALSE(v->widget()->isVisible());
  EXPECT_EQ(&app->editor().view(), static_cast<EditView*>(&app->editor().softwareView()));
  EXPECT_TRUE(window()->action(Cmd::kRenderSoftware)->isChecked());
  app->Dispatch(Cmd::kRenderDirectX);
  EXPECT_EQ(v->viewersCreated(), 1);
  EXPECT_TRUE(v->widget()->isVisible());
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
  EXPECT_EQ(v->viewersCreated(), 0);
  EXPECT_EQ(app->shell().rendererChoice, kRendererSoftware);
  EXPECT_EQ(&app->editor().view(), static_cast<EditView*>(&app->editor().softwareView()));
  ASSERT_EQ(ui.Messages().size(), 1u);
  const RecordedMessage& m = ui.Messages()[0];
  EXPECT_EQ(m.caption, "General Error");
  const std::vector<std::string> accepted = {
      "DirectX Error 80004005 - Generic failure. - Create an OpenGL context",
      "DirectX Error 80004001 - Action not supported. - Acquire OpenGL 99.0 core"};
  EXPECT_NE(std::find(accepted.begin(), accepted.end(), m.text), accepted.end()) << m.text;
}

}  // namespace
}  // namespace ws::test
