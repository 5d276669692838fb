// An editor with its shell, command table and bindings over a private base
// directory holding a copy of the generated default Preferences file, and a
// ScriptedUi answering the prompts.
#pragma once

#include <gtest/gtest.h>


#include "editor/shell/commands.h"
#include "editor/editor.h"
#include "editor/shell/editor_binding.h"
#include "editor/shell/shell_observer.h"
#include "editor/shell/tick.h"
#include "platform/scripted_ui.h"
#include "resource/file_io.h"
#include "support/test_support.h"

namespace ws::test {

class ShellFixture {
 public:
  ShellFixture() {
    WriteFileBytes(dir.File("Preferences"), ReadFileBytes(BinaryDir() + "/Preferences"));
    editor.model.paths = Paths::FromBase(dir.path() + "/");
    editor.model.SetObserver(&observer);
    RegisterCoreCommands(registry);
  }
  ~ShellFixture() { editor.model.SetObserver(nullptr); }

  // The first tick for a client of `width` x `height`.
  TickOutput FirstTick(int width = 900, int height = 600) {
    TickInput in = Input(width, height);
    return Tick(ctx, registry, column, tickHooks, in);
  }
  TickInput Input(int width = 900, int height = 600) const {
    TickInput in;
    in.clientWidth = width;
    in.clientHeight = height;
    in.helpBoxRight = 230;
    in.modeStrip = {12, 80, 195, 103};
    in.foreground = true;
    return in;
  }
  TickOutput TickAt(int x, int y, bool foreground = true) {
    TickInput in = Input();
    in.cursorX = x;
    in.cursorY = y;
    in.foreground = foreground;
    return Tick(ctx, registry, column, tickHooks, in);
  }
  ObjectTables& tables() { return editor.model.tables; }

  TempDir dir;
  ScriptedUi ui;
  Runtime rt{ui};
  Editor editor{rt};
  ShellState shell;
  EditorBinding binding{editor, shell};
  ShellObserver observer{shell, binding};
  CommandRegistry registry;
  EditorHooks hooks;
  TickHooks tickHooks;
  ControlColumn column;
  CommandContext ctx{editor.model, shell, binding, hooks, nullptr};
};

}  // namespace ws::test
