// The EditArea widget: shows the editor's 8-bit off-screen bitmap as an
// indexed image (the Presenter of edit_view.h) and forwards the mouse to
// the main window's handlers.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

#include "editor/view/edit_view.h"

namespace ws {

class EditArea : public QWidget, public Presenter {
  Q_OBJECT
 public:
  explicit EditArea(QWidget* parent);

  void Show(const Surface8& bitmap, const IntRect& source, const IntRect& target) override;
  const QImage& image() const { return image_; }
  int presentCount() const { return presentCount_; }

  std::function<void(QMouseEvent*)> mousePressed;
  std::function<void(QMouseEvent*)> mouseReleased;
  std::function<void(QMouseEvent*)> mouseMoved;
  std::function<void(QWheelEvent*)> wheelTurned;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  QImage image_;
  QList<QRgb> colorTable_;
  int presentCount_ = 0;
};

}  // namespace ws
