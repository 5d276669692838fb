// An editor laid out as in a 900 x 600 window (the EditArea at client
// (240, 10), 648 x 576 pixels, projection centre at client (564, 298)),
// with a shell in Plot mode and the application active, the interaction
// state, and a context that records the sounds it plays.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "editor/interaction/interaction.h"
#include "editor_test_support.h"

namespace ws::test {

class InteractionTest : public ::testing::Test {
 protected:
  InteractionTest() : ctx{f.e(), shell, state, {}, {}, {}, {}} {
    EXPECT_TRUE(f.e().Layout(900, 600, 230));
    f.d().options.instantViewChange = true;
    shell.applicationActive = true;
    ctx.playSound = [this](int n) { sounds.push_back(n); };
  }

  ObjectTables& t() { return f.t(); }
  Model& m() { return f.m(); }
  EditorDisplay& d() { return f.d(); }
  // The projection centre and the EditArea's corner in client pixels.
  int CX() const { return f.editor->display.layout.editArea.left + f.editor->display.layout.cx; }
  int CY() const { return f.editor->display.layout.editArea.top + f.editor->display.layout.cy; }
  int Left() const { return f.editor->display.layout.editArea.left; }
  int Top() const { return f.editor->display.layout.editArea.top; }
  // Client position of a world point as the last projection left it.
  int ScreenX(std::uint32_t p) { return Left() + t().points[p].screenX; }
  int ScreenY(std::uint32_t p) { return Top() + t().points[p].screenY; }
  void Project() { f.e().view().ProjectAll(); }
  std::vector<std::string> Messages() const { return f.ui.MessageTexts(); }
  std::string UndoLabel() const { return f.editor->model.undo.UndoMenuState().text; }

  EditorFixture f{160, 120};
  ShellState shell;
  InteractionState state;
  std::vector<int> sounds;
  EditContext ctx;
};

}  // namespace ws::test
