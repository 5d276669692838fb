#include "app/art.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <array>

namespace ws::art {
namespace {

// A small fixed palette keeps every picture in one style.
const QColor kFace(192, 192, 192);
const QColor kFacePressed(150, 150, 158);
const QColor kLight(255, 255, 255);
const QColor kShadow(96, 96, 96);
const QColor kDark(24, 24, 24);
const QColor kInk(16, 16, 32);
const QColor kRed(220, 40, 40);
const QColor kGreen(30, 170, 60);
const QColor kBlue(40, 80, 220);
const QColor kYellow(240, 210, 40);
const QColor kCyan(40, 190, 210);
const QColor kGridInk(110, 110, 120);

QImage Blank(int w, int h) {
  QImage img(w, h, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  return img;
}

void Bevel(QPainter& p, const QRect& r, bool pressed) {
  p.fillRect(r, pressed ? kFacePressed : kFace);
  const QColor tl = pressed ? kShadow : kLight;
  const QColor br = pressed ? kLight : kShadow;
  p.setPen(tl);
  p.drawLine(r.left(), r.top(), r.right() - 1, r.top());
  p.drawLine(r.left(), r.top(), r.left(), r.bottom() - 1);
  p.setPen(br);
  p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
  p.drawLine(r.right(), r.top(), r.right(), r.bottom());
  p.setPen(kDark);
  if (!pressed) {
    p.drawLine(r.left() + 1, r.bottom() - 1, r.right() - 1, r.bottom() - 1);
    p.drawLine(r.right() - 1, r.top() + 1, r.right() - 1, r.bottom() - 1);
  }
}

QPen Pen(const QColor& c, int w = 1) {
  QPen pen(c);
  pen.setWidth(w);
  pen.setCapStyle(Qt::SquareCap);
  pen.setJoinStyle(Qt::MiterJoin);
  return pen;
}

void Dot(QPainter& p, int x, int y, const QColor& c, int size = 3) {
  p.fillRect(x - size / 2, y - size / 2, size, size, c);
}

// The icon pictures, drawn on a 32 x 32 button whose face starts at (3, 2).
void DrawGrid(QPainter& p, int o) {
  p.setPen(Pen(kGridInk));
  for (int i = 0; i <= 4; ++i) {
    p.drawLine(7 + o, 7 + i * 4 + o, 23 + o, 7 + i * 4 + o);
    p.drawLine(7 + i * 4 + o, 7 + o, 7 + i * 4 + o, 23 + o);
  }
  p.setPen(Pen(kInk));
  p.drawRect(7 + o, 7 + o, 16, 16);
}

void DrawAxis(QPainter& p, int o) {
  const QPoint c(13 + o, 17 + o);
  p.setPen(Pen(kRed, 2));
  p.drawLine(c, QPoint(24 + o, 17 + o));
  p.setPen(Pen(kBlue, 2));
  p.drawLine(c, QPoint(13 + o, 6 + o));
  p.setPen(Pen(kYellow.darker(130), 2));
  p.drawLine(c, QPoint(6 + o, 24 + o));
  Dot(p, 13 + o, 17 + o, kInk, 3);
}

void DrawPerspective(QPainter& p, int o) {
  p.setPen(Pen(kInk));
  // A floor running to a vanishing point.
  p.drawLine(5 + o, 25 + o, 15 + o, 9 + o);
  p.drawLine(25 + o, 25 + o, 15 + o, 9 + o);
  p.setPen(Pen(kBlue));
  p.drawLine(7 + o, 22 + o, 23 + o, 22 + o);
  p.drawLine(9 + o, 18 + o, 21 + o, 18 + o);
  p.drawLine(11 + o, 15 + o, 19 + o, 15 + o);
  p.drawLine(13 + o, 12 + o, 17 + o, 12 + o);
  Dot(p, 15 + o, 8 + o, kRed, 3);
}

void DrawVectors(QPainter& p, int o) {
  p.setPen(Pen(kInk));
  const std::array<QPoint, 5> pts = {QPoint(6 + o, 22 + o), QPoint(12 + o, 8 + o),
                                     QPoint(19 + o, 18 + o), QPoint(25 + o, 7 + o),
                                     QPoint(24 + o, 24 + o)};
  p.drawLine(pts[0], pts[1]);
  p.drawLine(pts[1], pts[2]);
  p.drawLine(pts[2], pts[3]);
  p.drawLine(pts[2], pts[4]);
  for (const QPoint& q : pts) Dot(p, q.x(), q.y(), kRed, 3);
}

void DrawPolygons(QPainter& p, int o) {
  QPolygon back({QPoint(9 + o, 6 + o), QPoint(25 + o, 10 + o), QPoint(20 + o, 22 + o)});
  QPolygon front({QPoint(6 + o, 12 + o), QPoint(18 + o, 14 + o), QPoint(10 + o, 25 + o)});
  p.setPen(Pen(kInk));
  p.setBrush(kGreen);
  p.drawPolygon(back);
  p.setBrush(kCyan);
  p.drawPolygon(front);
  p.setBrush(Qt::NoBrush);
}

void DrawDefinePolygon(QPainter& p, int o) {
  QPolygon quad({QPoint(6 + o, 20 + o), QPoint(11 + o, 8 + o), QPoint(22 + o, 10 + o),
                 QPoint(20 + o, 23 + o)});
  p.setPen(Pen(kInk));
  p.setBrush(kYellow);
  p.drawPolygon(quad);
  p.setBrush(Qt::NoBrush);
  for (const QPoint& q : quad) Dot(p, q.x(), q.y(), kRed, 3);
  // A plus: something is being made.
  p.setPen(Pen(kGreen.darker(140), 2));
  p.drawLine(22 + o, 4 + o, 22 + o, 10 + o);
  p.drawLine(19 + o, 7 + o, 25 + o, 7 + o);
}

void DrawDelete(QPainter& p, int o) {
  p.setPen(Pen(kInk));
  p.drawLine(7 + o, 22 + o, 14 + o, 9 + o);
  p.drawLine(14 + o, 9 + o, 23 + o, 19 + o);
  Dot(p, 7 + o, 22 + o, kInk);
  Dot(p, 14 + o, 9 + o, kInk);
  Dot(p, 23 + o, 19 + o, kInk);
  p.setPen(Pen(kRed, 3));
  p.drawLine(9 + o, 9 + o, 22 + o, 23 + o);
  p.drawLine(22 + o, 9 + o, 9 + o, 23 + o);
}

// Mode pictures on a 24 x 24 button.
void DrawEyedropper(QPainter& p, int x, int y) {
  p.setPen(Pen(kInk));
  p.setBrush(kShadow);
  p.drawRect(x + 14, y + 3, 5, 5);  // bulb
  p.setBrush(Qt::NoBrush);
  p.setPen(Pen(kInk, 2));
  p.drawLine(x + 14, y + 9, x + 6, y + 17);  // tube
  Dot(p, x + 5, y + 19, kRed, 3);            // drop
}

void DrawBrush(QPainter& p, int x, int y) {
  p.setPen(Pen(QColor(140, 90, 40), 2));
  p.drawLine(x + 18, y + 4, x + 11, y + 11);  // handle
  p.setPen(Pen(kInk));
  p.setBrush(kBlue);
  p.drawPolygon(QPolygon({QPoint(x + 11, y + 11), QPoint(x + 6, y + 14), QPoint(x + 4, y + 20),
                          QPoint(x + 10, y + 18), QPoint(x + 13, y + 13)}));
  p.setBrush(Qt::NoBrush);
}

void DrawArrow(QPainter& p, int x, int y) {
  QPolygon arrow({QPoint(x + 3, y + 3), QPoint(x + 3, y + 15), QPoint(x + 6, y + 12),
                  QPoint(x + 9, y + 18), QPoint(x + 11, y + 17), QPoint(x + 8, y + 11),
                  QPoint(x + 12, y + 11)});
  p.setPen(Pen(kInk));
  p.setBrush(kLight);
  p.drawPolygon(arrow);
  p.setBrush(Qt::NoBrush);
}

void DrawSelectVector(QPainter& p, int x, int y) {
  p.setPen(Pen(kRed, 2));
  p.drawLine(x + 10, y + 20, x + 21, y + 6);
  DrawArrow(p, x, y);
}

void DrawSelectPolygon(QPainter& p, int x, int y) {
  p.setPen(Pen(kInk));
  p.setBrush(kGreen);
  p.drawPolygon(QPolygon({QPoint(x + 9, y + 21), QPoint(x + 21, y + 5), QPoint(x + 21, y + 21)}));
  p.setBrush(Qt::NoBrush);
  DrawArrow(p, x, y);
}

void DrawPlot(QPainter& p, int x, int y) {
  p.setPen(Pen(kInk));
  p.drawLine(x + 12, y + 3, x + 12, y + 20);
  p.drawLine(x + 3, y + 12, x + 20, y + 12);
  p.drawEllipse(x + 8, y + 8, 8, 8);
  Dot(p, x + 12, y + 12, kRed, 3);
}

void DrawCamera(QPainter& p, int x, int y) {
  p.setPen(Pen(kInk));
  p.setBrush(kShadow);
  p.drawRect(x + 3, y + 8, 15, 10);
  p.drawPolygon(QPolygon({QPoint(x + 18, y + 11), QPoint(x + 21, y + 8), QPoint(x + 21, y + 18),
                          QPoint(x + 18, y + 15)}));
  p.setBrush(kLight);
  p.drawEllipse(x + 6, y + 4, 4, 4);
  p.drawEllipse(x + 11, y + 4, 4, 4);
  p.setBrush(Qt::NoBrush);
}

void DrawWalk(QPainter& p, int x, int y) {
  // Two footprints stepping up the button.
  p.setPen(Qt::NoPen);
  p.setBrush(kInk);
  p.drawEllipse(x + 5, y + 11, 5, 8);
  p.drawEllipse(x + 6, y + 19, 3, 3);
  p.drawEllipse(x + 13, y + 3, 5, 8);
  p.drawEllipse(x + 14, y + 11, 3, 3);
  p.setBrush(Qt::NoBrush);
}

using ModePicture = void (*)(QPainter&, int, int);
constexpr std::array<ModePicture, 7> kModePictures = {
    DrawEyedropper, DrawBrush, DrawSelectVector, DrawSelectPolygon, DrawPlot, DrawCamera, DrawWalk};

}  // namespace

QImage ToggleIcon(int index, bool pressed) {
  QImage img = Blank(32, 32);
  QPainter p(&img);
  Bevel(p, QRect(3, 2, 26, 29), pressed);
  const int o = pressed ? 1 : 0;  // the picture sinks with the button
  switch (index) {
    case 0:
      DrawGrid(p, o);
      break;
    case 1:
      DrawAxis(p, o);
      break;
    case 2:
      DrawPerspective(p, o);
      break;
    case 3:
      DrawVectors(p, o);
      break;
    case 4:
      DrawPolygons(p, o);
      break;
    case 5:
      DrawDefinePolygon(p, o);
      break;
    case 6:
      DrawDelete(p, o);
      break;
    default:
      break;
  }
  return img;
}

QImage ModeStrip(int current) {
  QImage img(kStripWidth, kStripHeight, QImage::Format_ARGB32);
  img.fill(kFace.darker(115));
  QPainter p(&img);
  for (int i = 0; i < 7; ++i) {
    const int x = 2 + 26 * i;
    Bevel(p, QRect(x, 0, 24, kStripHeight), i == current);
    const int o = i == current ? 1 : 0;
    kModePictures[i](p, x + o, o);
  }
  return img;
}

QImage ModeCursorImage(int mode) {
  QImage img = Blank(32, 32);
  {
    QPainter p(&img);
    switch (mode) {
      case 0:
        DrawEyedropper(p, 0, 0);
        break;
      case 1:
        DrawBrush(p, 0, 0);
        break;
      case 5:
        DrawCamera(p, 0, 0);
        break;
      case 6:
        DrawWalk(p, 0, 0);
        break;
      default:
        break;
    }
  }
  // A white rim keeps the dark pictures visible over the black EditArea.
  QImage rimmed = img.copy();
  for (int y = 0; y < img.height(); ++y) {
    for (int x = 0; x < img.width(); ++x) {
      if (qAlpha(img.pixel(x, y)) != 0) continue;
      bool edge = false;
      for (int dy = -1; dy <= 1 && !edge; ++dy) {
        for (int dx = -1; dx <= 1 && !edge; ++dx) {
          const int nx = x + dx, ny = y + dy;
          edge = nx >= 0 && ny >= 0 && nx < img.width() && ny < img.height() &&
                 qAlpha(img.pixel(nx, ny)) != 0;
        }
      }
      if (edge) rimmed.setPixel(x, y, qRgb(255, 255, 255));
    }
  }
  return rimmed;
}

QCursor ModeCursor(int mode) {
  switch (mode) {
    case 0:
      return QCursor(QPixmap::fromImage(ModeCursorImage(0)), 5, 19);  // the drop
    case 1:
      return QCursor(QPixmap::fromImage(ModeCursorImage(1)), 4, 20);  // the bristles
    case 5:
      return QCursor(QPixmap::fromImage(ModeCursorImage(5)), 12, 12);
    case 6:
      return QCursor(QPixmap::fromImage(ModeCursorImage(6)), 12, 12);
    default:
      return QCursor(Qt::ArrowCursor);
  }
}

QImage WindowIcon() {
  QImage img = Blank(32, 32);
  QPainter p(&img);
  p.setPen(Pen(kGreen.lighter(130)));
  const QRect f(4, 10, 16, 16), b(12, 4, 16, 16);
  p.drawRect(b);
  p.setPen(Pen(kYellow));
  p.drawLine(f.topLeft(), b.topLeft());
  p.drawLine(f.topRight(), b.topRight());
  p.drawLine(f.bottomLeft(), b.bottomLeft());
  p.drawLine(f.bottomRight(), b.bottomRight());
  p.setPen(Pen(kCyan));
  p.drawRect(f);
  return img;
}

QImage Splash(int width, int height) {
  QImage img(width, height, QImage::Format_RGB32);
  img.fill(QColor(8, 10, 24));
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, true);
  // A wire-frame landscape: a grid floor running to the horizon.
  const int horizon = height * 3 / 5;
  p.setPen(QPen(QColor(40, 120, 60), 1));
  for (int i = -12; i <= 12; ++i) {
    p.drawLine(QPointF(width / 2.0, horizon), QPointF(width / 2.0 + i * width / 8.0, height));
  }
  for (int k = 1; k < 9; ++k) {
    const double y = horizon + (height - horizon) * (k * k) / 64.0;
    p.drawLine(QPointF(0, y), QPointF(width, y));
  }
  // A tower of three wire cubes.
  auto cube = [&](double cx, double cy, double s, const QColor& c) {
    const double d = s * 0.45;
    QPolygonF front({QPointF(cx - s, cy - s), QPointF(cx + s, cy - s), QPointF(cx + s, cy + s),
                     QPointF(cx - s, cy + s)});
    QPolygonF back = front.translated(d, -d);
    p.setPen(QPen(c, 1.5));
    p.drawPolygon(back);
    p.drawPolygon(front);
    for (int i = 0; i < 4; ++i) p.drawLine(front[i], back[i]);
  };
  const double cx = width * 0.78;
  cube(cx, horizon - 28, 24, QColor(250, 220, 60));
  cube(cx, horizon - 74, 16, QColor(80, 200, 240));
  cube(cx, horizon - 102, 10, QColor(240, 80, 80));
  QFont title("Sans", 30, QFont::Bold);
  p.setFont(title);
  p.setPen(QColor(235, 235, 245));
  p.drawText(QRect(24, 24, width - 48, 60), Qt::AlignLeft | Qt::AlignVCenter, "Wirestead");
  QFont small("Sans", 10);
  p.setFont(small);
  p.setPen(QColor(160, 170, 200));
  p.drawText(QRect(26, 80, width / 2, 80), Qt::AlignLeft | Qt::AlignTop,
             "Wire-frame editor for\npalette-coloured 3D objects\n\nCalvane");
  return img;
}

}  // namespace ws::art
