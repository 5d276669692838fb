#include "editor/interaction/colour_chooser.h"

#include <gtest/gtest.h>

#include "editor/interaction/drag.h"
#include "editor/interaction/selection.h"
#include "interaction_test_support.h"

namespace ws {
namespace {

using test::AddLine;
using test::AddPolygon;

TEST(PaletteGridTest, ThirtyTwoByEightCellsCentredInTheArea) {
  const PaletteGrid grid = PlacePaletteGrid({0, 0, 647, 575});
  EXPECT_EQ(std::make_tuple(grid.left, grid.top, grid.Cell(0), grid.Cell(33), grid.Cell(255)),
            std::make_tuple(164, 248, IntRect{164, 248, 173, 257}, IntRect{174, 258, 183, 267},
                            IntRect{474, 318, 483, 327}));
  const int rows[][3] = {{164, 248, 0},   {173, 257, 0},   {174, 248, 1}, {164, 258, 32},
                         {483, 327, 255}, {163, 250, -1},  {484, 327, -1}, {200, 328, -1}};
  for (const auto& r : rows) EXPECT_EQ(grid.CellAt(r[0], r[1]), r[2]) << r[0] << "," << r[1];
  // An area smaller than the grid puts it at the corner.
  const PaletteGrid small = PlacePaletteGrid({0, 0, 99, 49});
  EXPECT_EQ(std::make_pair(small.left, small.top), std::make_pair(0, 0));
}

class ColourChooserTest : public test::InteractionTest {
 protected:
  // Client position of the middle of palette cell i.
  int CellX(int i) { return Left() + PlacePaletteGrid(d().layout.local).Cell(i).left + 5; }
  int CellY(int i) { return Top() + PlacePaletteGrid(d().layout.local).Cell(i).top + 5; }
};

TEST_F(ColourChooserTest, ChosenColourGoesToTheSelection) {
  const std::uint32_t shown =
      AddPolygon(t(), {{0, 0, 0}, {0, 40, 0}, {40, 40, 0}, {40, 0, 0}}, PolyFlag::kDefined, 5);
  const std::uint32_t away = AddPolygon(t(), {{60, 0, 0}, {100, 0, 0}, {100, 40, 0}, {60, 40, 0}},
                                        PolyFlag::kEachSideDifferent, 6, 7);
  const std::uint32_t left = AddPolygon(t(), {{-60, 0, 0}, {-60, 40, 0}, {-20, 40, 0}, {-20, 0, 0}},
                                        PolyFlag::kDefined, 8);
  const std::uint32_t v = AddLine(t(), {0, -50, 0}, {40, -50, 0}, 9);
  const std::uint32_t w = AddLine(t(), {0, -60, 0}, {40, -60, 0}, 10);
  t().polygonSelected[shown] = kSelected;
  t().polygonSelected[away] = kSelected;
  t().vectors[v].selected = kSelected;

  ASSERT_TRUE(ChooseColour(ctx));
  const IntRect cell = PlacePaletteGrid(d().layout.local).Cell(200);
  EXPECT_EQ(std::make_tuple(shell.statusTitle, shell.rotationInProgress,
                            d().offscreen.shown.At(cell.left + 5, cell.top + 5)),
            std::make_tuple(std::string(kTitleSelectNewColor), true, std::uint8_t{200}));
  const std::uint32_t version = state.swatchVersion;
  PointerMoved(ctx, CellX(12), CellY(12));
  EXPECT_EQ(state.currentColour, 12);
  PointerMoved(ctx, CellX(37), CellY(37));
  PointerMoved(ctx, Left() + 2, Top() + 2);  // off the grid: the colour stays
  // Nothing changes until the release.
  EXPECT_EQ(std::make_tuple(state.currentColour, state.currentFill, state.swatchVersion > version,
                            t().polygons[shown].frontColor),
            std::make_tuple(37, FillWord(37), true, std::uint8_t{5}));
  const GestureEnd end = PointerReleased(ctx, PointerButton::kLeft, Left() + 2, Top() + 2);
  EXPECT_EQ(std::make_tuple(end.kind, shell.rotationInProgress, sounds),
            std::make_tuple(GestureKind::kColourChooser, false, std::vector<int>{2}));
  const Polygon &ps = t().polygons[shown], &pa = t().polygons[away];
  EXPECT_EQ(
      std::make_tuple(ps.frontColor, ps.frontFill, pa.backColor, pa.backFill, pa.frontColor,
                      t().polygons[left].frontColor, t().vectors[v].color, t().vectors[w].color),
      std::make_tuple(37, FillWord(37), 37, FillWord(37), 6, 8, 37, 10));
}

}  // namespace
}  // namespace ws
