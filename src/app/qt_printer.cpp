#include "app/qt_printer.h"

#include <QImage>
#include <QPainter>
#include <QPrintDialog>

namespace ws {

QtPrinter::QtPrinter(QWidget* parent, std::function<bool(QPrinter&)> choose)
    : parent_(parent), choose_(std::move(choose)) {}

std::optional<Printer::Page> QtPrinter::ChoosePrinter() {
  bool accepted = false;
  if (choose_) {
    accepted = choose_(printer_);
  } else {
    QPrintDialog dialog(&printer_, parent_);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    accepted = dialog.exec() == QDialog::Accepted;
  }
  if (!accepted || !printer_.isValid()) return std::nullopt;
  // The painter's origin is the top-left corner of the printable area.
  const QRectF printable = printer_.pageRect(QPrinter::DevicePixel);
  const int width = static_cast<int>(printable.width());
  const int height = static_cast<int>(printable.height());
  if (width <= kPrintMargin || height <= kPrintMargin) return std::nullopt;
  return Page{width, height};
}

void QtPrinter::PrintPage(const PrintImage& image, const IntRect& target) {
  printer_.setDocName(QString::fromUtf8(kPrintDocumentName.data(),
                                        static_cast<qsizetype>(kPrintDocumentName.size())));
  QImage bitmap(image.width, image.height, QImage::Format_Indexed8);
  QList<QRgb> table(256);
  for (int i = 0; i < 256; ++i) {
    const Rgb8& c = image.palette[static_cast<std::size_t>(i)];
    table[i] = qRgb(c.red, c.green, c.blue);
  }
  bitmap.setColorTable(table);
  for (int y = 0; y < image.height; ++y) {
    std::memcpy(bitmap.scanLine(y), image.pixels.data() + static_cast<std::size_t>(y) * image.width,
                static_cast<std::size_t>(image.width));
  }
  QPainter painter(&printer_);
  // Palette entries are printed as they are: no blending between pixels and
  // no lossy compression of the picture in a PDF.
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.setRenderHint(QPainter::LosslessImageRendering, true);
  painter.drawImage(
      QRect(target.left, target.top, target.right - target.left, target.bottom - target.top),
      bitmap);
  painter.end();
}

}  // namespace ws
