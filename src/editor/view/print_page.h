// Printing the EditArea: the picture last drawn into the draw buffer, on
// one page, its width a fraction of the printable width and its height
// keeping the EditArea's proportions.
//
// The window system supplies a Printer (the print dialog and one page of a
// document named "Wirestead"); everything the user sees besides that, the
// messages, the page rectangle and the pixels, is decided here.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/ui.h"
#include "raster/surface8.h"

namespace ws {

inline constexpr std::string_view kMsgPrintDirectX =
    "Printing the edit area is not supported in DirectX mode.";
inline constexpr std::string_view kMsgPrintNoPrinter =
    "Printing failed. Wirestead can't find a printer.";
inline constexpr std::string_view kPrintDocumentName = "Wirestead";
// The page keeps this many device pixels free at its left and top edges,
// and as many are taken off the printable width and height.
inline constexpr int kPrintMargin = 5;

// The picture's rectangle on a printable area of width x height device
// pixels, for a size factor f and an EditArea of localWidth x localHeight
// pixels (each at least 1):
//   Wu = width - 5, Hu = height - 5, Wp = Wu * f;
//   left = round((Wu - Wp) / 2 + 5), right = round(left + Wp);
//   top = round((Hu - Hu * f) / 2 + 5);
//   bottom = round(Wp / localWidth * localHeight + top).
// Rounding is to the nearest integer, halves away from zero.
IntRect PrintPictureRect(int width, int height, double f, int localWidth, int localHeight);

// The bitmap a printer stretches onto the page: the local rectangle of the
// draw buffer, every pixel of the background colour replaced by the wire
// colour (paper is white; a black page would waste the printer's ink), with
// the buffer's palette.
struct PrintImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;  // row by row, width bytes each
  std::array<Rgb8, 256> palette{};
};
PrintImage PrintableCopy(const Surface8& draw, const IntRect& local, std::uint8_t background,
                         std::uint8_t wire);

class Printer {
 public:
  virtual ~Printer() = default;
  // The print dialog, owned by the main window: the printable width and
  // height of the chosen printer in device pixels, or nothing when there
  // is no printer or the dialog was cancelled.
  struct Page {
    int width = 0;
    int height = 0;
  };
  virtual std::optional<Page> ChoosePrinter() = 0;
  // One document named "Wirestead" of one page with `image` stretched onto
  // `target` (inclusive device pixels) through its palette.
  virtual void PrintPage(const PrintImage& image, const IntRect& target) = 0;
};

// The P key: refuses while the DirectX renderer is chosen, asks the
// printer for a page and prints the local rectangle of `draw` on it. The
// messages go to `ui` as notifications. True when a page was printed.
bool PrintEditArea(Ui& ui, Printer& printer, bool directXChosen, const Surface8& draw,
                   const IntRect& local, std::uint8_t background, std::uint8_t wire, double f);

}  // namespace ws
