#include "editor/view/print_page.h"

#include <cmath>

namespace ws {
namespace {

int RoundToInt(double v) { return static_cast<int>(std::lround(v)); }

}  // namespace

IntRect PrintPictureRect(int width, int height, double f, int localWidth, int localHeight) {
  const double usableWidth = width - kPrintMargin;
  const double usableHeight = height - kPrintMargin;
  const double pictureWidth = usableWidth * f;
  IntRect r;
  r.left = RoundToInt((usableWidth - pictureWidth) * 0.5 + kPrintMargin);
  r.right = RoundToInt(r.left + pictureWidth);
  r.top = RoundToInt((usableHeight - usableHeight * f) * 0.5 + kPrintMargin);
  r.bottom = RoundToInt(pictureWidth / localWidth * localHeight + r.top);
  return r;
}

PrintImage PrintableCopy(const Surface8& draw, const IntRect& local, std::uint8_t background,
                         std::uint8_t wire) {
  PrintImage image;
  const IntRect src = Intersect(local, draw.Bounds());
  image.palette = draw.palette();
  if (src.Empty()) return image;
  image.width = src.right - src.left + 1;
  image.height = src.bottom - src.top + 1;
  image.pixels.resize(static_cast<std::size_t>(image.width) * image.height);
  std::uint8_t* out = image.pixels.data();
  for (int y = src.top; y <= src.bottom; ++y) {
    const std::uint8_t* row = draw.Row(y);
    for (int x = src.left; x <= src.right; ++x) *out++ = row[x] == background ? wire : row[x];
  }
  return image;
}

bool PrintEditArea(Ui& ui, Printer& printer, bool directXChosen, const Surface8& draw,
                   const IntRect& local, std::uint8_t background, std::uint8_t wire, double f) {
  if (directXChosen) {
    ui.ShowNote(kMsgPrintDirectX);
    return false;
  }
  const std::optional<Printer::Page> page = printer.ChoosePrinter();
  if (!page) {
    ui.ShowNote(kMsgPrintNoPrinter);
    return false;
  }
  const PrintImage image = PrintableCopy(draw, local, background, wire);
  if (image.width == 0) return false;
  printer.PrintPage(image,
                    PrintPictureRect(page->width, page->height, f, image.width, image.height));
  return true;
}

}  // namespace ws
