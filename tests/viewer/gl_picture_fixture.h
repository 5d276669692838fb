// A 160 x 120 picture of the hardware viewer read back from GL: an OpenGL
// 3.3 core context on an offscreen surface, a framebuffer with depth, the
// viewer's renderer on it, and an editor whose display it shows. Tests skip
// where no such context can be had.
#pragma once

#include <gtest/gtest.h>

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <memory>

#include "app/viewer_widget.h"
#include "editor_test_support.h"
#include "viewer/gl_renderer.h"
#include "viewer/hardware_view.h"

namespace ws::viewer {

class GlPictureTest : public ::testing::Test {
 public:
  static constexpr int kWidth = 160, kHeight = 120;

 protected:
  // Derived SetUps return at once when this skipped or failed.
  void SetUp() override {
    surface.setFormat(ViewerSurfaceFormat());
    surface.create();
    context.setFormat(ViewerSurfaceFormat());
    if (!context.create() || !context.makeCurrent(&surface) ||
        context.format().version() < qMakePair(3, 3)) {
      GTEST_SKIP() << "no OpenGL 3.3 core context here (run under xvfb-run -a with Mesa)";
    }
    fbo = std::make_unique<QOpenGLFramebufferObject>(kWidth, kHeight,
                                                     QOpenGLFramebufferObject::Depth);
    ASSERT_TRUE(fbo->bind());
    ASSERT_FALSE(renderer.Initialise().has_value());
    // The line layer stays empty: only the scene shows.
    f.d().options.gridOn = f.d().options.axisOn = f.d().options.vectorsOn = false;
    f.e().SetEditView(&view);
  }
  bool Stopped() const { return IsSkipped() || HasFatalFailure(); }
  void TearDown() override {
    if (renderer.ready()) renderer.Release();
    fbo.reset();
    context.doneCurrent();
  }
  // The framebuffer as 32-bit RGB.
  QImage ReadBack() const { return fbo->toImage().convertToFormat(QImage::Format_RGB32); }

  QOffscreenSurface surface;
  QOpenGLContext context;
  std::unique_ptr<QOpenGLFramebufferObject> fbo;
  GlRenderer renderer;
  test::EditorFixture f{kWidth, kHeight};
  HardwareView view{f.d(), f.e().softwareView()};
};

}  // namespace ws::viewer
