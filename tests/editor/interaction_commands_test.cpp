#include "editor/interaction_commands.h"

#include <gtest/gtest.h>

#include "editor/command_ids.h"
#include "editor/drag.h"
#include "editor/key_handler.h"
#include "editor_test_support.h"
#include "shell_fixture.h"

namespace ws {
namespace {

// The whole shell (tick, key handler, command table) with the interaction
// modules wired in, as the application does it.
class WiredShell : public ::testing::Test {
 protected:
  WiredShell() : ectx{s.editor, s.shell, state, {}, {}, {}, {}} {
    RegisterInteractionCommands(s.registry, ectx);
    WireInteractionHooks(s.hooks, s.tickHooks, ectx);
    s.editor.display.options.instantViewChange = true;
    s.FirstTick(900, 600);
  }
  ObjectTables& t() { return s.tables(); }
  void Key(int key, bool down = true) {
    KeyInput in;
    in.key = key;
    in.down = down;
    HandleKeyMessage(s.ctx, s.registry, in);
  }

  test::ShellFixture s;
  InteractionState state;
  EditContext ectx;
};

TEST_F(WiredShell, AttributeItemsAreWiredAndActOnTheSelection) {
  const std::uint32_t k = test::AddPolygon(t(), {{0, 0, 0}, {0, 9, 0}, {9, 9, 0}}, 0x502, 4);
  t().polygonSelected[k] = kSelected;
  EXPECT_TRUE(s.registry.IsWired(Cmd::kPurposeCollision));
  EXPECT_TRUE(s.registry.Dispatch(s.ctx, Cmd::kPurposeCollision));
  EXPECT_NE(t().polygons[k].flags & PolyFlag::kCollision, 0u);
  EXPECT_TRUE(s.registry.Dispatch(s.ctx, Cmd::kOutlineStyle));
  EXPECT_EQ(t().polygons[k].flags & (PolyFlag::kOutline | PolyFlag::kBordered), PolyFlag::kOutline);
  // The menu now offers every Polygons item for the selected polygon.
  s.shell.menuRefreshPending = true;
  const TickOutput out = s.TickAt(5, 5);
  ASSERT_TRUE(out.menu.has_value());
  EXPECT_TRUE(out.menu->at(Cmd::kPurposeViewZone).enabled);
  EXPECT_TRUE(out.menu->at(Cmd::kPurposeCollision).checked);
}

TEST_F(WiredShell, ArrowKeysMoveTheSelectionByTheGridStep) {
  const std::uint32_t v = test::AddLine(t(), {0, 0, 0}, {10, 0, 0});
  t().vectors[v].selected = kSelected;
  s.editor.display.view.gridStep = 25;
  Key(Key::kRight);
  Key(Key::kRight, false);
  EXPECT_EQ(t().points[t().vectors[v].p1].x, 25.0);
  EXPECT_EQ(t().points[t().vectors[v].p2].x, 35.0);
}

TEST_F(WiredShell, PlotTicksTrackTheCursorAndTheModeStripSwitches) {
  const IntRect area = s.binding.EditArea();
  const int cx = area.left + s.editor.display.layout.cx;
  const int cy = area.top + s.editor.display.layout.cy;
  PointerMoved(ectx, cx + 20, cy);
  s.TickAt(cx + 20, cy);
  EXPECT_EQ(s.shell.statusTitle, "Set X = 20.000");
  s.hooks.selectMode(EditorMode::kSelectVector);
  EXPECT_EQ(s.shell.mode, EditorMode::kSelectVector);
  EXPECT_EQ(s.shell.statusTitle, "Select Vector Mode");
}

}  // namespace
}  // namespace ws
