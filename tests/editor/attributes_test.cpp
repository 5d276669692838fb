#include "editor/interaction/attributes.h"

#include <gtest/gtest.h>

#include "editor/interaction/colour_chooser.h"
#include "editor/interaction/drag.h"
#include "editor/interaction/interaction_commands.h"
#include "editor/interaction/selection.h"
#include "editor/interaction/view_zone_dialog.h"
#include "editor/shell/command_ids.h"
#include "editor/view/projection.h"
#include "editor_test_support.h"
#include "interaction_test_support.h"
#include "shell_fixture.h"

namespace ws {
namespace {

using test::AddPolygon;
using namespace PolyFlag;

class AttributeTest : public test::InteractionTest {
 protected:
  std::uint32_t Square(double x, std::uint32_t flags, std::uint8_t colour = 3) {
    return AddPolygon(t(), {{x, 0, 0}, {x, 10, 0}, {x + 10, 10, 0}, {x + 10, 0, 0}}, flags, colour);
  }
  std::uint32_t Flags(std::uint32_t k) { return t().polygons[k].flags; }
  void Select(std::initializer_list<std::uint32_t> ks) {
    for (std::uint32_t k : ks) t().polygonSelected[k] = kSelected;
  }
};

TEST_F(AttributeTest, EachCommandsFlagChangeOnOneAndOnSeveral) {
  // `one`: the result with one polygon selected; `several`: with two.
  struct Case { int id; std::uint32_t before, one, several; };
  const std::uint32_t all = 0x1FFF;
  const Case cases[] = {
      {Cmd::kStyleNormal, all, all & ~(kOutline | kBordered), all & ~(kOutline | kBordered)},
      {Cmd::kStyleBordered, kOutline, kBordered, kBordered},
      {Cmd::kOutlineStyle, kBordered | kShaded, kOutline | kShaded, kOutline | kShaded},
      {Cmd::kColorSelected, kShaded | kAdopted | kBordered, kSelectedColor | kBordered,
       kSelectedColor | kBordered},
      {Cmd::kColorShaded, kSelectedColor | kAdopted, kShaded, kShaded},
      {Cmd::kColorEachSide, kAdopted, kEachSideDifferent, kEachSideDifferent},
      {Cmd::kColorEachSide, kEachSideDifferent | kAdopted, kAdopted, kEachSideDifferent},
      {Cmd::kVisibilityNormal, all,
       all & ~(kInvisible | kNotVisibleFromCollision | kNeverDrawBackFace | kHigherPriority),
       all & ~(kInvisible | kNotVisibleFromCollision | kNeverDrawBackFace | kHigherPriority)},
      {Cmd::kVisibilityInvisible,
       kNotVisibleFromCollision | kNeverDrawBackFace | kHigherPriority | kCollision,
       kInvisible | kCollision, kInvisible | kCollision},
      {Cmd::kVisibilityNeverBackFace, kNeverDrawBackFace | kInvisible, 0,
       kNeverDrawBackFace | kInvisible},
      {Cmd::kVisibilityNeverBackFace, kInvisible, kNeverDrawBackFace,
       kNeverDrawBackFace | kInvisible},
      {Cmd::kVisibilityNotFromCollision, kNotVisibleFromCollision, 0, kNotVisibleFromCollision},
      {Cmd::kVisibilityNotFromCollision, 0, kNotVisibleFromCollision, kNotVisibleFromCollision},
      {Cmd::kVisibilityHigherPriority, kHigherPriority | kInvisible, 0, kHigherPriority},
      {Cmd::kVisibilityHigherPriority, kInvisible, kHigherPriority, kHigherPriority},
      {Cmd::kPurposeNormal, kCollision | kEntrance | kViewZone | kBordered, kBordered, kBordered},
      {Cmd::kPurposeCollision, kEntrance, kCollision, kCollision},
      {Cmd::kPurposeEntrance, kCollision, kEntrance, kEntrance},
  };
  for (double x : {0.0, 20.0, 40.0}) Square(x, 0);
  for (const Case& c : cases) {
    for (std::uint32_t k = 0; k < 3; ++k) t().polygons[k].flags = c.before;
    UnselectAll(t());
    Select({0});
    EXPECT_TRUE(RunAttributeCommand(ctx, c.id));
    EXPECT_EQ(std::make_pair(Flags(0), Flags(2)), std::make_pair(c.one, c.before)) << c.id;
    for (std::uint32_t k = 0; k < 3; ++k) t().polygons[k].flags = c.before;
    Select({1});
    EXPECT_TRUE(RunAttributeCommand(ctx, c.id));
    EXPECT_EQ(std::make_tuple(Flags(0), Flags(1), Flags(2)), std::make_tuple(c.several, c.several, c.before)) << c.id;
  }
  // Attribute commands take no undo step.
  EXPECT_EQ(std::make_tuple(shell.redraw, shell.menuRefreshPending, m().undo.depth()), std::make_tuple(true, true, 0u));
}

// The follower takes the leader's colour mode bits and keeps its others.
TEST_F(AttributeTest, TheLeaderIsAskedAgainUntilItExistsAndLendsItsColourMode) {
  const std::uint32_t leader = Square(0, kShaded | kEachSideDifferent | kBordered);
  const std::uint32_t k = Square(20, kSelectedColor | kCollision);
  Select({k});
  for (const char* answer : {"2", "-7", "0"}) f.ui.QueueValue(answer);
  RunAttributeCommand(ctx, Cmd::kColorAdopted);
  EXPECT_EQ(f.ui.Prompts(), std::vector<std::string>(3, std::string(kPromptGroupLeader)));
  EXPECT_EQ(Messages(), (std::vector<std::string>(2, std::string(kMsgNoSuchPolygon))));
  EXPECT_EQ(std::make_tuple(t().polygons[k].viewZones[0], Flags(k), Flags(leader)),
            std::make_tuple(leader, kAdopted | kShaded | kEachSideDifferent | kCollision,
                            kShaded | kEachSideDifferent | kBordered));
  // The follower as its own leader: its own bits, read after the change.
  t().polygons[k].flags = kSelectedColor;
  f.ui.QueueValue("1");
  RunAttributeCommand(ctx, Cmd::kColorAdopted);
  EXPECT_EQ(Flags(k), kAdopted);

  // Cancel (or an answer of -1) ends the command with nothing changed.
  t().polygons[k].flags = kSelectedColor;
  f.ui.QueueValue(std::nullopt);
  RunAttributeCommand(ctx, Cmd::kColorAdopted);
  EXPECT_EQ(Flags(k), kSelectedColor);
  f.ui.QueueValue("-1");
  RunAttributeCommand(ctx, Cmd::kColorAdopted);
  EXPECT_EQ(Flags(k), kSelectedColor);
}

TEST_F(AttributeTest, ViewZoneNeedsExactlyOneOfAtLeastTwo) {
  int dialogs = 0;
  ctx.runViewZoneDialog = [&](ViewZoneDialog&) { return ++dialogs > 0; };
  Square(0, 0);
  RunAttributeCommand(ctx, Cmd::kPurposeViewZone);  // nothing selected
  Select({0});
  RunAttributeCommand(ctx, Cmd::kPurposeViewZone);  // no other polygon
  Square(20, 0);
  Select({1});
  RunAttributeCommand(ctx, Cmd::kPurposeViewZone);  // two selected
  EXPECT_EQ(Messages(), (std::vector<std::string>{std::string(kMsgViewZoneNone),
                                                  std::string(kMsgViewZoneNoOthers),
                                                  std::string(kMsgViewZoneSeveral)}));
  EXPECT_EQ(std::make_pair(dialogs, Flags(0) & kViewZone), std::make_pair(0, 0u));
}

using test::AddLine;

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

// The colour goes to the selection by the same rule as Set Color mode
// (whose test covers the side facing the viewer).
TEST_F(AttributeTest, ChosenColourGoesToTheSelection) {
  const std::uint32_t shown = Square(0, kDefined, 5), left = Square(-60, kDefined, 8);
  const std::uint32_t v = AddLine(t(), {0, -50, 0}, {40, -50, 0}, 9);
  const std::uint32_t w = AddLine(t(), {0, -60, 0}, {40, -60, 0}, 10);
  t().polygonSelected[shown] = kSelected;
  t().vectors[v].selected = kSelected;

  ASSERT_TRUE(ChooseColour(ctx));
  const IntRect cell = PlacePaletteGrid(d().layout.local).Cell(200);
  EXPECT_EQ(std::make_tuple(shell.statusTitle, shell.rotationInProgress,
                            d().offscreen.shown.At(cell.left + 5, cell.top + 5)),
            std::make_tuple(std::string(kTitleSelectNewColor), true, std::uint8_t{200}));
  const std::uint32_t version = state.swatchVersion;
  const IntRect cell37 = PlacePaletteGrid(d().layout.local).Cell(37);
  PointerMoved(ctx, Left() + cell37.left + 5, Top() + cell37.top + 5);
  PointerMoved(ctx, Left() + 2, Top() + 2);  // off the grid: the colour stays
  // Nothing changes until the release.
  EXPECT_EQ(std::make_tuple(state.currentColour, state.currentFill, state.swatchVersion > version,
                            t().polygons[shown].frontColor),
            std::make_tuple(37, FillWord(37), true, std::uint8_t{5}));
  const GestureEnd end = PointerReleased(ctx, PointerButton::kLeft, Left() + 2, Top() + 2);
  EXPECT_EQ(std::make_tuple(end.kind, shell.rotationInProgress, sounds),
            std::make_tuple(GestureKind::kColourChooser, false, std::vector<int>{2}));
  const Polygon& ps = t().polygons[shown];
  EXPECT_EQ(std::make_tuple(ps.frontColor, ps.frontFill, t().polygons[left].frontColor,
                            t().vectors[v].color, t().vectors[w].color),
            std::make_tuple(37, FillWord(37), 8, 37, 10));
}

// The whole shell with the interaction modules wired in, as the
// application does it.
class WiredShell : public ::testing::Test {
 protected:
  WiredShell() : ectx{s.editor, s.shell, state, {}, {}, {}, {}} {
    RegisterInteractionCommands(s.registry, ectx);
    WireInteractionHooks(s.hooks, s.tickHooks, ectx);
    s.editor.display.options.instantViewChange = true;
    s.FirstTick(900, 600);
  }
  ObjectTables& t() { return s.tables(); }

  test::ShellFixture s;
  InteractionState state;
  EditContext ectx;
};

// Each attribute item is wired to the attribute command (whose tests cover
// each item's flags): one dispatched through the table changes the one
// selected polygon; the two facing items turn it round.
TEST_F(WiredShell, EachMenuItemReachesItsHandler) {
  for (int id : {Cmd::kStyleNormal, Cmd::kStyleBordered, Cmd::kOutlineStyle, Cmd::kColorSelected,
                 Cmd::kColorShaded, Cmd::kColorAdopted, Cmd::kColorEachSide, Cmd::kVisibilityNormal,
                 Cmd::kVisibilityInvisible, Cmd::kVisibilityNeverBackFace,
                 Cmd::kVisibilityNotFromCollision, Cmd::kVisibilityHigherPriority,
                 Cmd::kPurposeNormal, Cmd::kPurposeCollision, Cmd::kPurposeEntrance,
                 Cmd::kPurposeViewZone}) {
    EXPECT_TRUE(s.registry.IsWired(id)) << id;
  }
  const std::uint32_t k = test::AddPolygon(t(), {{0, 0, 0}, {0, 9, 0}, {9, 9, 0}}, kOutline, 4);
  t().polygonSelected[k] = kSelected;
  const std::tuple<int, std::uint32_t, bool> rows[] = {{Cmd::kStyleBordered, kBordered, false},
                                                       {Cmd::kPopupMakeBackFaced, kBordered, true},
                                                       {Cmd::kPopupMakeFrontFaced, kBordered, false}};
  for (const auto& [id, flags, away] : rows) {
    EXPECT_TRUE(s.registry.Dispatch(s.ctx, id)) << id;
    ProjectAllPoints(t(), s.editor.display.MakeProjector());
    EXPECT_EQ(std::make_pair(t().polygons[k].flags, PolygonFacesAway(t(), k)), std::make_pair(flags, away)) << id;
  }
  EXPECT_TRUE(s.ui.Messages().empty());
}

// The shell hooks the window tests do not reach reach their interaction
// handlers (plotting, view letters, Define Polygon, the mode strip and the
// swatch are driven through the real window there).
TEST_F(WiredShell, EachHookReachesItsHandler) {
  const std::uint32_t v = test::AddLine(t(), {0, 0, 0}, {10, 0, 0});
  t().vectors[v].selected = kSelected;
  s.editor.display.view.gridStep = 25;
  EXPECT_TRUE(s.hooks.moveSelectedVectors(HeldKey::kRight));
  EXPECT_EQ(t().points[t().vectors[v].p1].x, 25.0);
  s.shell.mode = EditorMode::kSelectVector;
  s.hooks.newObjectReset();
  EXPECT_EQ(s.shell.mode, EditorMode::kPlot);
}

TEST_F(AttributeTest, AFullViewZoneListRefusesAnotherEntry) {
  t().polygonCount = 30;
  for (std::uint32_t k = 0; k < 30; ++k) t().polygons[k] = Polygon{};
  Select({1, 4});  // the zone: the last one selected
  Polygon& zone = t().polygons[4];
  zone.viewZoneCount = 2;
  zone.viewZones[0] = 3 | ViewZone::kIsVector;
  zone.viewZones[1] = 5;
  ViewZoneDialog dialog(t(), f.ui);
  for (int i = 4; i < 22; ++i) {
    dialog.polygonChoice = i;
    ASSERT_TRUE(dialog.Add()) << i;
  }
  ASSERT_EQ(dialog.entries().size(), kMaxViewZones);
  dialog.polygonChoice = 23;
  EXPECT_FALSE(dialog.Add());
  EXPECT_EQ(Messages(), std::vector<std::string>{std::string(kMsgViewZoneListFull)});
  // Rewriting an entry already listed still works; no choice adds nothing.
  dialog.polygonChoice = 4;
  dialog.priorityChoice = kPriorityHigh;
  EXPECT_TRUE(dialog.Add() && dialog.entries().size() == kMaxViewZones);
  dialog.polygonChoice = -1;
  EXPECT_FALSE(dialog.Add());
}

// The dialog run from the Purpose menu on polygon 2 of four, whose list
// holds a vector 3, polygon 1 (High) and polygon 0 (Low). The combo offers
// polygons 0, 1 and 3. Ops: "A<choice><l|h>" adds, "D<row>" selects a row
// and deletes it, "d" deletes at the current selection.
TEST_F(AttributeTest, ViewZoneDialogAddDeleteDoneAndCancel) {
  using V = std::vector<std::uint32_t>;
  const std::uint32_t vec3 = 3 | ViewZone::kIsVector, low = ViewZone::kLowPriority;
  struct Row {
    const char* name;
    const char* ops;
    bool done;
    V after;  // the zone's list afterwards
    const char* message;
  };
  // clang-format off
  const Row rows[] = {
      {"add appends a new polygon",           "A2l",     true,  {vec3, 1, 0 | low, 3 | low}, nullptr},
      {"add rewrites the polygon's entry",    "A1lA0h",  true,  {vec3, 1 | low, 0},          nullptr},
      {"delete removes the selected row",     "D1",      true,  {vec3, 0 | low},             nullptr},
      {"deleting the last row moves up",      "D2d",     true,  {vec3},                      nullptr},
      {"delete with no row selected",         "d",       true,  {vec3, 1, 0 | low},          nullptr},
      {"delete on an empty list says so",     "D0D0D0d", true,  {},                          "There are no entries to delete."},
      {"cancel keeps the list as it was",     "A2hD0",   false, {vec3, 1, 0 | low},          nullptr},
  };
  // clang-format on
  for (double x : {0.0, 20.0, 40.0, 60.0}) Square(x, 0);
  Select({2});
  Polygon& zone = t().polygons[2];
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    f.ui.ClearMessages();
    zone.flags = 0;
    zone.viewZoneCount = 3;
    zone.viewZones[0] = vec3;
    zone.viewZones[1] = 1;
    zone.viewZones[2] = 0 | low;
    ctx.runViewZoneDialog = [&](ViewZoneDialog& dialog) {
      EXPECT_EQ(std::make_tuple(shell.modalDialogOpen, dialog.zone()), std::make_tuple(true, 2u));
      for (const char* op = row.ops; *op; ++op) {
        if (*op == 'A') {
          dialog.polygonChoice = *++op - '0';
          dialog.priorityChoice = *++op == 'l' ? kPriorityLow : kPriorityHigh;
          EXPECT_TRUE(dialog.Add());
        } else if (*op == 'D') {
          dialog.listSelection = *++op - '0';
          EXPECT_TRUE(dialog.Delete());
        } else {
          dialog.Delete();
        }
      }
      return row.done;
    };
    RunAttributeCommand(ctx, Cmd::kPurposeViewZone);
    EXPECT_EQ(std::make_tuple(shell.modalDialogOpen, V(zone.viewZones, zone.viewZones + zone.viewZoneCount), zone.flags,
                              Messages()),
              std::make_tuple(false, row.after, row.done ? PolyFlag::kViewZone : 0u,
                              row.message ? std::vector<std::string>{row.message} : std::vector<std::string>{}));
  }
}

}  // namespace
}  // namespace ws
