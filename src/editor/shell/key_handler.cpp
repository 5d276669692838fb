#include "editor/shell/key_handler.h"

#include <vector>

#include "editor/shell/command_ids.h"
#include "model/cluster.h"

namespace ws {
namespace {

std::uint32_t HeldBit(int key) {
  switch (key) {
    case Key::kShift:
      return HeldKey::kShift;
    case Key::kControl:
      return HeldKey::kControl;
    case Key::kUp:
      return HeldKey::kUp;
    case Key::kDown:
      return HeldKey::kDown;
    case Key::kLeft:
      return HeldKey::kLeft;
    case Key::kRight:
      return HeldKey::kRight;
    case Key::kDelete:
      return HeldKey::kDelete;
    case Key::kPageUp:
      return HeldKey::kPageUp;
    case Key::kPageDown:
      return HeldKey::kPageDown;
    default:
      return 0;
  }
}

// Keys the key handler gives a meaning to (letters, digits, comma,
// period); other keys pass to the window untouched.
bool HandlerKey(int key) {
  return (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9') || key == Key::kComma ||
         key == Key::kPeriod;
}

KeyAction ShortcutAction(int key) {
  switch (key) {
    case 'N':
      return KeyAction::kStartNewCluster;
    case 'O':
      return KeyAction::kOpen;
    case 'S':
      return KeyAction::kSaveObject;
    case 'X':
      return KeyAction::kExit;
    case 'Z':
      return KeyAction::kUndo;
    default:
      return KeyAction::kNone;
  }
}

void Pan(CommandContext& ctx, double dx, double dy, std::string_view help) {
  ctx.views.PanBy(dx, dy);
  SetHelpText(ctx.shell, help);
  ctx.shell.RequestRedraw();
}

}  // namespace

PreTranslation PreTranslateKey(ShellState& shell, const KeyInput& in) {
  const std::uint32_t bit = HeldBit(in.key);
  if (!in.down) {
    // A release always clears its bit, also in a text field, so that a
    // key pressed in the window and released elsewhere never stays held.
    shell.heldKeys &= ~bit;
    if (in.textFieldFocus) return {};
    if (in.key == Key::kEnter) {
      shell.pendingKey = 0;
      return {true, KeyAction::kNone};
    }
    if (bit != 0) {
      const bool again =
          in.key == Key::kPageUp || in.key == Key::kPageDown || in.key == Key::kDelete;
      return {true, again ? KeyAction::kKeyHandler : KeyAction::kNone};
    }
    if (ShortcutAction(in.key) != KeyAction::kNone && in.control) return {true, KeyAction::kNone};
    return {};
  }

  if (in.key == Key::kF5) {
    shell.quickCommandsShown = !shell.quickCommandsShown;
    return {false, KeyAction::kToggleQuickCommands};
  }
  if (in.textFieldFocus) return {};
  if (in.key == Key::kEnter) return {true, KeyAction::kKeyHandler};
  if (bit != 0) {
    shell.heldKeys |= bit;
    return {true, KeyAction::kKeyHandler};
  }
  if (in.control) {
    const KeyAction shortcut = ShortcutAction(in.key);
    // The letter still reaches the window, as it always did.
    if (shortcut != KeyAction::kNone) return {false, shortcut};
  }
  if (HandlerKey(in.key)) {
    shell.pendingKey = static_cast<std::uint8_t>(in.key);
    return {false, KeyAction::kKeyHandler};
  }
  return {};
}

bool HandleKeyMessage(CommandContext& ctx, const CommandRegistry& registry, const KeyInput& in) {
  const PreTranslation t = PreTranslateKey(ctx.shell, in);
  switch (t.action) {
    case KeyAction::kNone:
      break;
    case KeyAction::kKeyHandler:
      KeyHandler(ctx);
      break;
    case KeyAction::kStartNewCluster:
      registry.Dispatch(ctx, Cmd::kStartNewCluster);
      break;
    case KeyAction::kOpen:
      registry.Dispatch(ctx, Cmd::kOpen);
      break;
    case KeyAction::kSaveObject:
      registry.Dispatch(ctx, Cmd::kSaveObject);
      break;
    case KeyAction::kExit:
      registry.Dispatch(ctx, Cmd::kExit);
      break;
    case KeyAction::kUndo:
      registry.Dispatch(ctx, Cmd::kUndo);
      ctx.shell.RequestMenuRefresh();
      break;
    case KeyAction::kToggleQuickCommands:
      ctx.views.SetQuickCommandsShown(ctx.shell.quickCommandsShown, ctx.shell.mode,
                                      ctx.shell.walkModeActive, ctx.shell.walkEditMode);
      ctx.shell.RequestRedraw();
      break;
  }
  return t.consumed;
}

void ScaleSelectedPoints(ObjectTables& tables, double factor) {
  std::vector<bool> done(tables.pointCount, false);
  for (std::uint32_t v = kReservedVectors; v < tables.vectorCount; ++v) {
    const Vector& vec = tables.vectors[v];
    if (vec.selected != kSelected) continue;
    for (std::uint32_t p : {vec.p1, vec.p2}) {
      // The reserved axis cross is never edited; a stray index is skipped.
      if (p < kReservedPoints || p >= tables.pointCount || done[p]) continue;
      done[p] = true;
      tables.points[p].x *= factor;
      tables.points[p].y *= factor;
      tables.points[p].z *= factor;
    }
  }
}

void SetSelectedVectorWidth(ObjectTables& tables, std::uint32_t width) {
  for (std::uint32_t v = kReservedVectors; v < tables.vectorCount; ++v) {
    Vector& vec = tables.vectors[v];
    if (vec.selected != kSelected) continue;
    vec.width = width;
    vec.selected = kUnselected;
  }
}

void KeyHandler(CommandContext& ctx) {
  ShellState& shell = ctx.shell;
  const int key = shell.pendingKey;
  shell.pendingKey = 0;
  if (shell.walkModeActive) return;
  ObjectTables& tables = ctx.model.tables;
  const bool deleteHeld = shell.KeyHeld(HeldKey::kDelete);
  const bool plot = shell.IsMode(EditorMode::kPlot);
  switch (key) {
    case 'P':
      if (ctx.hooks.printEditArea) ctx.hooks.printEditArea(kPrintFactor);
      return;
    case 'K':
      Pan(ctx, -1.0, 0.0, "Shift Left");
      return;
    case 'J':
      Pan(ctx, 1.0, 0.0, "Shift Right");
      return;
    case 'M':
      Pan(ctx, 0.0, 1.0, "Shift Up");
      return;
    case 'I':
      Pan(ctx, 0.0, -1.0, "Shift Down");
      return;
    case Key::kComma:
    case Key::kPeriod:
      if (!tables.allocated()) return;
      ScaleSelectedPoints(tables, key == Key::kComma ? 0.5 : 2.0);
      shell.RequestRedraw();
      return;
    case 'F':
    case 'E':
    case 'L':
    case 'R':
    case 'T':
    case 'B':
      if (plot) {
        if (ctx.hooks.plotViewKey) {
          ctx.hooks.plotViewKey(static_cast<char>(key));
        } else {
          ctx.views.TurnToView(static_cast<char>(key));
        }
        shell.RequestRedraw();
      }
      return;
    default:
      break;
  }
  if (deleteHeld) {
    if (ctx.hooks.deleteSelection) {
      ctx.hooks.deleteSelection();
      shell.RequestRedraw();
    }
    return;
  }
  if (key >= '0' && key <= '9') {
    if (!tables.allocated()) return;
    SetSelectedVectorWidth(tables, static_cast<std::uint32_t>(key - '0'));
    shell.RequestRedraw();
    return;
  }
  if (ctx.hooks.moveSelectedVectors && ctx.hooks.moveSelectedVectors(shell.heldKeys)) {
    shell.RequestRedraw();
  }
}

}  // namespace ws
