// The hardware viewer's window: a QOpenGLWidget (OpenGL 3.3 core) laid over
// the EditArea while "DirectX" is chosen. It lets the mouse through to the
// EditArea beneath, so every editing gesture works as before, and paints
// the HardwareView's picture with its renderer.
#pragma once

#include <QOpenGLWidget>
#include <functional>

#include "viewer/gl_renderer.h"
#include "viewer/hardware_view.h"

namespace ws {

// The surface format the viewer asks for.
QSurfaceFormat ViewerSurfaceFormat();

class ViewerWidget final : public QOpenGLWidget, public viewer::ViewerHost {
  Q_OBJECT
 public:
  ViewerWidget(QWidget* parent, viewer::HardwareView& view);
  ~ViewerWidget() override;

  void Place(const IntRect& target) override;
  void RequestPaint() override { update(); }

  // A failure of the renderer (reported once per widget).
  std::function<void(const viewer::ViewerFailure&)> failed;
  int paintCount() const { return paintCount_; }
  bool rendererReady() const { return renderer_.ready(); }

 protected:
  void initializeGL() override;
  void paintGL() override;

 private:
  void Fail(const viewer::ViewerFailure& failure);

  viewer::HardwareView& view_;
  viewer::GlRenderer renderer_;
  bool failedOnce_ = false;
  int paintCount_ = 0;
};

}  // namespace ws
