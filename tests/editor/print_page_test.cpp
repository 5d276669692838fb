// The printed page: the picture rectangle on the page, the bitmap handed to
// the printer, and the refusals with their messages.
#include "editor/view/print_page.h"

#include <gtest/gtest.h>

#include "platform/scripted_ui.h"
#include "resource/handle_memory.h"

namespace ws {
namespace {

TEST(PrintPictureRect, PlacesThePictureByTheFactorAndKeepsTheAreaProportions) {
  // The page's width and height, the factor, the area's width and height.
  const std::tuple<const char*, int, int, double, int, int, IntRect> rows[] = {
      // Wu = 1000, Wp = 500: left exactly 255, top from Hu = 2995.
      {"whole halves", 1005, 3000, 0.5, 100, 100, {255, 754, 755, 1254}},
      // Hu = 3, Hu * f = 1.5: top = 5.75 -> 6 and left (10 - 5) / 2 + 5 = 7.5 -> 8.
      {"halves round up", 15, 8, 0.5, 5, 1, {8, 6, 13, 7}},
      {"full width", 105, 105, 1.0, 10, 5, {5, 5, 105, 55}},
  };
  for (const auto& [name, width, height, f, localWidth, localHeight, expected] : rows)
    EXPECT_EQ(PrintPictureRect(width, height, f, localWidth, localHeight), expected) << name;
}

// Records the page it printed; `page` is the printer chosen (none: the
// dialog cancelled).
struct FakePrinter : Printer {
  std::optional<Page> ChoosePrinter() override {
    ++chosen;
    return page;
  }
  void PrintPage(const PrintImage& i, const IntRect& t) override { printed.push_back({i, t}); }
  std::optional<Page> page;
  int chosen = 0;
  std::vector<std::pair<PrintImage, IntRect>> printed;
};

class PrintEditAreaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(draw.Create(memory, 12, 9));
    draw.Clear(kBackground);
    draw.FillRect({2, 1, 3, 2}, 7);
    draw.FillRect({0, 6, 11, 8}, 9);  // below the EditArea: not printed
    std::array<Rgb8, 256> palette{};
    palette[7] = {1, 2, 3};
    draw.SetPalette(palette);
  }
  bool Print(bool directX) {
    return PrintEditArea(ui, printer, directX, draw, kLocal, kBackground, kWire, 0.75);
  }
  static constexpr std::uint8_t kBackground = 4;
  static constexpr std::uint8_t kWire = 200;
  static constexpr IntRect kLocal{0, 0, 9, 4};
  HandleMemory memory;
  Surface8 draw;
  ScriptedUi ui;
  FakePrinter printer;
};

TEST_F(PrintEditAreaTest, PrintsTheLocalRectangleWithTheBackgroundInTheWireColour) {
  printer.page = Printer::Page{2000, 2000};
  ASSERT_TRUE(Print(false));
  EXPECT_TRUE(ui.Messages().empty());
  ASSERT_EQ(printer.printed.size(), 1u);
  const auto& [image, target] = printer.printed[0];
  ASSERT_EQ(std::make_pair(image.width, image.height), std::make_pair(10, 5));
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 10; ++x) {
      const bool drawn = x >= 2 && x <= 3 && y >= 1 && y <= 2;
      EXPECT_EQ(image.pixels[static_cast<std::size_t>(y * 10 + x)], drawn ? 7 : kWire)
          << x << "," << y;
    }
  }
  EXPECT_EQ(image.palette[7], (Rgb8{1, 2, 3}));
  // Wp = 1496.25; left 254.375 -> 254, right 1750.25 -> 1750, top
  // (1995 - 1496.25) / 2 + 5 = 254.375 -> 254; 10 x 5 pixels: the picture
  // is half as high as wide (1496.25 / 2).
  EXPECT_EQ(target, (IntRect{254, 254, 1750, 1002}));
}

TEST_F(PrintEditAreaTest, RefusesInDirectXModeAndWithoutAPrinter) {
  EXPECT_FALSE(Print(true));
  EXPECT_EQ(printer.chosen, 0);  // no dialog at all
  EXPECT_FALSE(Print(false));    // no page: no printer or cancelled
  EXPECT_EQ(std::make_pair(printer.chosen, printer.printed.empty()), std::make_pair(1, true));
  const std::vector<RecordedMessage> expected = {
      {"Notification", "Printing the edit area is not supported in DirectX mode."},
      {"Notification", "Printing failed. Wirestead can't find a printer."}};
  EXPECT_EQ(ui.Messages(), expected);
}

}  // namespace
}  // namespace ws
