// The keyboard: the pre-translation that every key message passes first,
// and the key handler that acts on the pending key.
//
// Key codes are the editor's own (below): letters are their upper-case
// ASCII codes, digits '0'..'9', and the named keys have the codes of the
// table; the front end maps its toolkit's keys onto them.
//
// The shortcut letters N, O, S, X and Z act only with Control held, and no
// key acts while a text field (the object list's edit field, a dialog's
// field) has the focus: text typed there is the field's. F5 works anywhere;
// key releases still clear their held bits, so no key stays held.
#pragma once

#include <cstdint>

#include "editor/shell/commands.h"
#include "editor/shell/shell_state.h"

namespace ws {

namespace Key {
inline constexpr int kEnter = 13;
inline constexpr int kShift = 16;
inline constexpr int kControl = 17;
inline constexpr int kSpace = 32;
inline constexpr int kPageUp = 33;
inline constexpr int kPageDown = 34;
inline constexpr int kLeft = 37;
inline constexpr int kUp = 38;
inline constexpr int kRight = 39;
inline constexpr int kDown = 40;
inline constexpr int kDelete = 46;
inline constexpr int kF5 = 116;
inline constexpr int kComma = 188;
inline constexpr int kPeriod = 190;
}  // namespace Key

struct KeyInput {
  int key = 0;
  bool down = true;
  bool control = false;         // Control is held with this key
  bool textFieldFocus = false;  // a text field has the keyboard focus
};

// What the pre-translation asks the caller to do besides its own state
// changes.
enum class KeyAction {
  kNone,
  kKeyHandler,       // run KeyHandler for shell.pendingKey
  kStartNewCluster,  // Ctrl+N
  kOpen,             // Ctrl+O
  kSaveObject,       // Ctrl+S
  kExit,             // Ctrl+X
  kUndo,             // Ctrl+Z
  kToggleQuickCommands,
};

struct PreTranslation {
  bool consumed = false;
  KeyAction action = KeyAction::kNone;
};

// Updates the held keys and the pending key and says what to run.
PreTranslation PreTranslateKey(ShellState& shell, const KeyInput& in);

// The whole keyboard path: pre-translation, then the command or the key
// handler it names, through the registry. Returns whether the key was
// consumed (the window must not see it).
bool HandleKeyMessage(CommandContext& ctx, const CommandRegistry& registry, const KeyInput& in);

// The key handler for shell.pendingKey (nothing in walk mode); clears the
// pending key.
void KeyHandler(CommandContext& ctx);

// The key handler's scale keys: every point used by a selected vector is
// multiplied by `factor`, each point once.
void ScaleSelectedPoints(ObjectTables& tables, double factor);
// The digit keys: every selected vector gets display width `width` and is
// unselected.
void SetSelectedVectorWidth(ObjectTables& tables, std::uint32_t width);

inline constexpr double kPrintFactor = 0.75;

}  // namespace ws
