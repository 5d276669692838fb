#include "editor/interaction/interaction_commands.h"

#include <gtest/gtest.h>


#include "editor/shell/command_ids.h"
#include "editor/view/projection.h"
#include "editor/interaction/selection.h"
#include "editor_test_support.h"
#include "shell_fixture.h"

namespace ws {
namespace {

using namespace PolyFlag;

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

// Each menu item, dispatched through the table, changes the one selected
// polygon as its own handler does; polygon 0 is the group leader.
TEST_F(WiredShell, EachMenuItemReachesItsHandler) {
  struct Row {
    int id;
    std::uint32_t before, after;
    bool away, awayAfter;  // the polygon faces away before / after
  };
  // clang-format off
  const Row rows[] = {
      {Cmd::kStyleNormal,                 kBordered | kCollision,  kCollision,                              false, false},
      {Cmd::kStyleBordered,               kOutline,                kBordered,                               false, false},
      {Cmd::kOutlineStyle,                kBordered | kShaded,     kOutline | kShaded,                      false, false},
      {Cmd::kColorSelected,               kShaded | kBordered,     kSelectedColor | kBordered,              false, false},
      {Cmd::kColorShaded,                 kSelectedColor,          kShaded,                                 false, false},
      {Cmd::kColorAdopted,                kSelectedColor,          kAdopted | kShaded | kEachSideDifferent, false, false},
      {Cmd::kColorEachSide,               kAdopted,                kEachSideDifferent,                      false, false},
      {Cmd::kVisibilityNormal,            kInvisible | kCollision, kCollision,                              false, false},
      {Cmd::kVisibilityInvisible,         kHigherPriority,         kInvisible,                              false, false},
      {Cmd::kVisibilityNeverBackFace,     kInvisible,              kNeverDrawBackFace,                      false, false},
      {Cmd::kVisibilityNotFromCollision,  0,                       kNotVisibleFromCollision,                false, false},
      {Cmd::kVisibilityHigherPriority,    kInvisible,              kHigherPriority,                         false, false},
      {Cmd::kPurposeNormal,               kCollision | kBordered,  kBordered,                               false, false},
      {Cmd::kPurposeCollision,            kEntrance,               kCollision,                              false, false},
      {Cmd::kPurposeEntrance,             kCollision,              kEntrance,                               false, false},
      {Cmd::kPurposeViewZone,             0,                       kViewZone,                               false, false},
      {Cmd::kPopupMakeBackFaced,          0,                       0,                                       false, true},
      {Cmd::kPopupMakeFrontFaced,         0,                       0,                                       true,  false},
  };
  // clang-format on
  test::AddPolygon(t(), {{-40, 0, 0}, {-40, 9, 0}, {-31, 9, 0}}, kShaded | kEachSideDifferent, 4);
  ectx.runViewZoneDialog = [](ViewZoneDialog&) { return true; };
  double x = 0;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.id);
    x += 20;
    const std::uint32_t k =
        row.away ? test::AddPolygon(t(), {{x, 0, 0}, {x + 9, 0, 0}, {x + 9, 9, 0}}, row.before, 4)
                 : test::AddPolygon(t(), {{x, 0, 0}, {x, 9, 0}, {x + 9, 9, 0}}, row.before, 4);
    UnselectAll(t());
    t().polygonSelected[k] = kSelected;
    if (row.id == Cmd::kColorAdopted) s.ui.QueueValue("0");
    EXPECT_TRUE(s.registry.IsWired(row.id) && s.registry.Dispatch(s.ctx, row.id));
    ProjectAllPoints(t(), s.editor.display.MakeProjector());
    EXPECT_EQ(std::make_pair(t().polygons[k].flags, PolygonFacesAway(t(), k)),
              std::make_pair(row.after, row.awayAfter));
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

}  // namespace
}  // namespace ws
