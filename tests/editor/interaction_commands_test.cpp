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

}  // namespace
}  // namespace ws
