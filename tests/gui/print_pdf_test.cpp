// Printing the EditArea through the real print path (the P key, the key
// handler's hook, the Qt printer, a PDF file), the PDF rasterised with
// pdftoppm.
#include <gtest/gtest.h>

#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>

#include "app/viewer_wiring.h"
#include "editor/shell/key_handler.h"
#include "editor/view/print_page.h"
#include "gui_fixture.h"

namespace ws::test {
namespace {

constexpr int kPrinterDpi = 300;
constexpr int kRasterDpi = 60;

TEST_F(GuiTest, PrintsThePictureOnAPdfPageWithTheBackgroundInTheWireColour) {
  const QString pdftoppm = QStandardPaths::findExecutable("pdftoppm");
  if (pdftoppm.isEmpty()) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
  StartEditor();
  const std::string pdf = dir.File("page.pdf");
  QRect paint;
  app->viewer()->choosePrinter = [&](QPrinter& printer) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    printer.setResolution(kPrinterDpi);
    paint = printer.pageLayout().paintRectPixels(kPrinterDpi);
    return true;
  };
  // A blue picture with a background hole in its middle.
  EditorDisplay& d = app->editor().display;
  const DrawingColors& colours = app->model().colors.drawing;
  const IntRect local = d.layout.local;
  const int w = local.right + 1, h = local.bottom + 1;
  d.offscreen.draw.FillRect(local, colours.blue);
  d.offscreen.draw.FillRect({w / 4, h / 4, w * 3 / 4, h * 3 / 4}, colours.black);
  // The P key, as a person prints.
  window()->pane()->setFocus();
  QTest::keyClick(window()->pane(), Qt::Key_P);
  ASSERT_TRUE(FileExists(pdf));

  const QString prefix = QString::fromStdString(dir.File("page"));
  ASSERT_EQ(QProcess::execute(pdftoppm, {"-r", QString::number(kRasterDpi), "-png", "-singlefile",
                                         QString::fromStdString(pdf), prefix}),
            0);
  QImage page(prefix + ".png");
  ASSERT_FALSE(page.isNull());
  // The blue pixels' bounding box is the picture's rectangle on the page.
  int left = page.width(), top = page.height(), right = -1, bottom = -1;
  for (int y = 0; y < page.height(); ++y) {
    for (int x = 0; x < page.width(); ++x) {
      if (page.pixel(x, y) != qRgb(0, 0, 255)) continue;
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
    }
  }
  const IntRect r = PrintPictureRect(paint.width(), paint.height(), kPrintFactor, w, h);
  const double s = double(kRasterDpi) / kPrinterDpi;
  const int expected[] = {int((paint.left() + r.left) * s), int((paint.top() + r.top) * s),
                          int((paint.left() + r.right) * s), int((paint.top() + r.bottom) * s)};
  const int found[] = {left, top, right, bottom};
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(found[i], expected[i], 2) << "edge " << i;
  // The hole printed in the wire colour (white), the blue around it.
  EXPECT_EQ(page.pixel((left + right) / 2, (top + bottom) / 2), qRgb(255, 255, 255));
  EXPECT_EQ(page.pixel(left + (right - left) / 8, (top + bottom) / 2), qRgb(0, 0, 255));
}

}  // namespace
}  // namespace ws::test
