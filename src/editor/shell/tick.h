// The editor's 20 ms tick and its first-layout initialisation. The front
// end's timer gathers a TickInput (client size, cursor, foreground state)
// and applies the TickOutput (menu state, cursor, repaint); everything in
// between is here, so tests call Tick directly with no window.
//
// Order of one tick:
//  1. a pending menu refresh is computed (RefreshMenuState);
//  2. in walk mode a change of "Hide Environment" goes to the walk view;
//  3. a pending layout runs once the client size is known (the first time
//     with InitializeEditor; a failure there ends the program);
//  4. after the first layout, the frame update: with the window not in the
//     foreground only "Wirestead Inactive"; otherwise the hover work of the
//     mode and the control column, the status title, the mode's cursor, a
//     frame drawn and presented, and the plot status when a redraw was
//     requested;
//  5. a file named on the command line is opened once (not in walk mode).
#pragma once

#include <functional>
#include <optional>

#include "editor/shell/commands.h"
#include "editor/shell/control_column.h"
#include "editor/shell/menu_state.h"

namespace ws {

struct TickInput {
  int clientWidth = 0;
  int clientHeight = 0;
  // Right edge of the "Interactive Help" box and the mode strip's
  // rectangle, in client pixels.
  int helpBoxRight = 0;
  IntRect modeStrip;
  // Cursor in client coordinates.
  int cursorX = -1;
  int cursorY = -1;
  bool foreground = false;
  bool hideEnvironmentChecked = false;
};

// The work of other modules that the tick drives; empty ones are skipped.
struct TickHooks {
  // Plot mode's per-tick cursor tracking and status (Shift handling,
  // TrackPlotCursor, RefreshPlotStatus when the coordinates change); every
  // tick in Plot mode outside walk mode, with the cursor in client pixels
  // wherever it is.
  std::function<void(int cursorX, int cursorY)> plotTick;
  // RefreshPlotStatus when the redraw flag is set.
  std::function<void()> refreshPlotStatus;
  // The walk view's own frame (software renderer), with the cursor in
  // client pixels, and its environment.
  std::function<void(int cursorX, int cursorY)> walkFrame;
  std::function<void(bool hide)> hideEnvironment;
  // The walk world rebuilt for a new size.
  std::function<void()> walkRelayout;
};

enum class CursorChoice { kWindowDefault, kModeCursor };

struct TickOutput {
  std::optional<MenuState> menu;  // a refresh was due
  bool laidOut = false;           // the layout ran (controls placed anew)
  bool firstLayout = false;
  bool drewFrame = false;
  CursorChoice cursor = CursorChoice::kWindowDefault;
  bool cursorInEditArea = false;
};

// Part of the first layout: the working file with "Default Object", the
// tables, the preferences record, the colours. False (after its message,
// with the quit flag set) when the editor cannot work.
bool InitializeEditor(CommandContext& ctx);

// Marks a size change: the next tick lays out.
void RequestLayout(ShellState& shell);

TickOutput Tick(CommandContext& ctx, const CommandRegistry& registry, ControlColumn& column,
                const TickHooks& hooks, const TickInput& in);

}  // namespace ws
