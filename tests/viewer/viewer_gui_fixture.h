// The running editor with the hardware viewer: whether GL can be had here,
// and "DirectX" chosen with the first pictures drawn.
#pragma once

#include <QOpenGLContext>

#include "app/viewer_widget.h"
#include "app/viewer_wiring.h"
#include "editor/shell/command_ids.h"
#include "gui_fixture.h"

namespace ws::test {

inline bool GlAvailable() {
  QOpenGLContext context;
  context.setFormat(ViewerSurfaceFormat());
  return context.create() && context.format().version() >= qMakePair(3, 3);
}

class ViewerGuiTest : public GuiTest {
 protected:
  // "DirectX", then a few ticks to draw. The window becomes a GL window
  // when the widget joins it, and without a window manager nobody gives it
  // the focus back, so the test does.
  void ChooseDirectX() {
    app->Dispatch(Cmd::kRenderDirectX);
    window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
    for (int i = 0; i < 20 && (i < 4 || app->viewer()->widget()->paintCount() == 0); ++i) {
      Tick();
      QTest::qWait(10);
    }
  }
};

}  // namespace ws::test
