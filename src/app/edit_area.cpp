#include "app/edit_area.h"

#include <QMouseEvent>
#include <QPainter>

namespace ws {

EditArea::EditArea(QWidget* parent) : QWidget(parent) {
  setObjectName("editArea");
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  colorTable_.resize(256);
}

void EditArea::Show(const Surface8& bitmap, const IntRect& source, const IntRect& target) {
  const IntRect src = Intersect(source, bitmap.Bounds());
  if (src.Empty()) return;
  const int w = src.right - src.left + 1;
  const int h = src.bottom - src.top + 1;
  if (image_.width() != w || image_.height() != h || image_.format() != QImage::Format_Indexed8) {
    image_ = QImage(w, h, QImage::Format_Indexed8);
  }
  for (int i = 0; i < 256; ++i) colorTable_[i] = bitmap.Argb(static_cast<std::size_t>(i));
  image_.setColorTable(colorTable_);
  for (int y = 0; y < h; ++y) {
    std::memcpy(image_.scanLine(y), bitmap.Row(src.top + y) + src.left,
                static_cast<std::size_t>(w));
  }
  const QRect where(target.left, target.top, target.right - target.left + 1,
                    target.bottom - target.top + 1);
  if (geometry() != where) setGeometry(where);
  ++presentCount_;
  update();
}

void EditArea::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (image_.isNull()) {
    p.fillRect(rect(), Qt::black);
    return;
  }
  p.drawImage(0, 0, image_);
}

void EditArea::mousePressEvent(QMouseEvent* event) {
  if (mousePressed) mousePressed(event);
}
void EditArea::mouseReleaseEvent(QMouseEvent* event) {
  if (mouseReleased) mouseReleased(event);
}
void EditArea::mouseMoveEvent(QMouseEvent* event) {
  if (mouseMoved) mouseMoved(event);
}
void EditArea::wheelEvent(QWheelEvent* event) {
  if (wheelTurned) wheelTurned(event);
}

}  // namespace ws
