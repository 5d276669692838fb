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
  EXPECT_EQ(grid.left, 164);
  EXPECT_EQ(grid.top, 248);
  EXPECT_EQ(grid.Cell(0), (IntRect{164, 248, 173, 257}));
  EXPECT_EQ(grid.Cell(33), (IntRect{174, 258, 183, 267}));
  EXPECT_EQ(grid.Cell(255), (IntRect{474, 318, 483, 327}));
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
  EXPECT_EQ(shell.statusTitle, kTitleSelectNewColor);
  EXPECT_TRUE(shell.rotationInProgress);
  const IntRect cell = PlacePaletteGrid(d().layout.local).Cell(200);
  EXPECT_EQ(d().offscreen.shown.At(cell.left + 5, cell.top + 5), 200);
  const std::uint32_t version = state.swatchVersion;

  PointerMoved(ctx, CellX(12), CellY(12));
  EXPECT_EQ(state.currentColour, 12);
  PointerMoved(ctx, CellX(37), CellY(37));
  EXPECT_EQ(state.currentColour, 37);
  EXPECT_EQ(state.currentFill, FillWord(37));
  EXPECT_GT(state.swatchVersion, version);
  PointerMoved(ctx, Left() + 2, Top() + 2);  // off the grid: the colour stays
  EXPECT_EQ(state.currentColour, 37);
  // Nothing changes until the release.
  EXPECT_EQ(t().polygons[shown].frontColor, 5);

  const GestureEnd end = PointerReleased(ctx, PointerButton::kLeft, Left() + 2, Top() + 2);
  EXPECT_EQ(end.kind, GestureKind::kColourChooser);
  EXPECT_FALSE(shell.rotationInProgress);
  EXPECT_EQ(t().polygons[shown].frontColor, 37);
  EXPECT_EQ(t().polygons[shown].frontFill, FillWord(37));
  EXPECT_EQ(t().polygons[away].backColor, 37);
  EXPECT_EQ(t().polygons[away].backFill, FillWord(37));
  EXPECT_EQ(t().polygons[away].frontColor, 6);
  EXPECT_EQ(t().polygons[left].frontColor, 8);
  EXPECT_EQ(t().vectors[v].color, 37);
  EXPECT_EQ(t().vectors[w].color, 10);
  EXPECT_EQ(sounds, std::vector<int>{2});
}

}  // namespace
}  // namespace ws
