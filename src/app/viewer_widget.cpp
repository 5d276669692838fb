#include "app/viewer_widget.h"

#include <QOpenGLContext>

namespace ws {

QSurfaceFormat ViewerSurfaceFormat() {
  QSurfaceFormat f;
  f.setRenderableType(QSurfaceFormat::OpenGL);
  f.setVersion(3, 3);
  f.setProfile(QSurfaceFormat::CoreProfile);
  f.setDepthBufferSize(24);
  return f;
}

ViewerWidget::ViewerWidget(QWidget* parent, viewer::HardwareView& view)
    : QOpenGLWidget(parent), view_(view) {
  setObjectName("hardwareViewer");
  setFormat(ViewerSurfaceFormat());
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
  view_.SetHost(this);
}

ViewerWidget::~ViewerWidget() {
  view_.SetHost(nullptr);
  if (context()) {
    makeCurrent();
    renderer_.Release();
    doneCurrent();
  }
}

void ViewerWidget::Place(const IntRect& target) {
  const QRect where(target.left, target.top, target.right - target.left + 1,
                    target.bottom - target.top + 1);
  if (geometry() != where) setGeometry(where);
}

void ViewerWidget::Fail(const viewer::ViewerFailure& failure) {
  if (failedOnce_) return;
  failedOnce_ = true;
  if (failed) failed(failure);
}

void ViewerWidget::initializeGL() {
  // Qt makes a new context when the widget moves to another window; the
  // old buffers went with the old one.
  renderer_.Release();
  view_.RendererReset();
  if (auto failure = renderer_.Initialise()) Fail(*failure);
}

void ViewerWidget::paintGL() {
  if (!renderer_.ready()) return;
  ++paintCount_;
  const qreal ratio = devicePixelRatioF();
  if (auto failure = view_.Render(renderer_, static_cast<int>(width() * ratio),
                                  static_cast<int>(height() * ratio))) {
    Fail(*failure);
  }
}

}  // namespace ws
