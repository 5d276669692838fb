// The command table: every menu and pop-up command, dispatched by its id
// (command_ids.h) to a handler. The core registers the handlers whose
// operations exist (RegisterCoreCommands); a later module wires its items
// with one Register call each, and until then the item is greyed
// (RefreshMenuState asks IsWired). Handlers run on the editor's state and
// never redraw themselves: they set the redraw and menu-refresh flags that
// the next tick obeys.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "editor/shell/menu_state.h"
#include "editor/shell/shell_state.h"
#include "editor/view/editor_views.h"
#include "model/model.h"

namespace ws {

// Plays an in-memory WAV sound without waiting; silent when it can't.
class SoundPlayer {
 public:
  virtual ~SoundPlayer() = default;
  virtual void Play(std::span<const std::uint8_t> wav) = 0;
};

// Operations of other modules that the key handler and the commands call;
// an empty function means the operation is not there yet (nothing happens).
struct EditorHooks {
  // Moves the selected vectors by the arrow and page keys in `heldKeys`.
  std::function<bool(std::uint32_t heldKeys)> moveSelectedVectors;
  std::function<void()> deleteSelection;
  std::function<void(double factor)> printEditArea;
  // Opens a file that is neither ".wdo" nor ".wdc" (the scene import);
  // `mode` is the command id (Open, Insert or Merge).
  std::function<bool(int mode, const std::string& path)> importFile;
  // Shows the splash dialog modally (About).
  std::function<void()> showAbout;
  // Ends walk mode when it is active.
  std::function<void()> endWalkMode;
  // The Define Polygon toggle button and the "Change Color" swatch.
  std::function<void()> definePolygon;
  std::function<void()> chooseColour;
  // The mode change of a mode-strip click; without it the mode is simply
  // set and its help shown.
  std::function<void(int mode)> selectMode;
  // Plot mode's part of the new-object reset (plot step 0 and the rest).
  std::function<void()> newObjectReset;
  // A view letter in Plot mode (the turn plus the plot's view memory);
  // without it the view simply turns.
  std::function<bool(char letter)> plotViewKey;
};

struct CommandContext {
  Model& model;
  ShellState& shell;
  EditorViews& views;
  EditorHooks& hooks;
  SoundPlayer* sound = nullptr;
};

using CommandHandler = std::function<void(CommandContext&)>;

class CommandRegistry {
 public:
  void Register(int id, CommandHandler handler) { handlers_[id] = std::move(handler); }
  void Unregister(int id) { handlers_.erase(id); }
  bool IsWired(int id) const { return handlers_.count(id) != 0; }
  // The handler of `id` (null when none), so a later module can wrap it.
  const CommandHandler* Find(int id) const {
    const auto it = handlers_.find(id);
    return it == handlers_.end() ? nullptr : &it->second;
  }
  // Runs the handler of `id`; false when nothing is wired to it.
  bool Dispatch(CommandContext& ctx, int id) const;

 private:
  std::map<int, CommandHandler> handlers_;
};

// Registers every command whose operation the core has: the File items for
// the program's own formats, Exit, Undo, the Edit settings, the Display
// items, Rendering > Software, the Object list commands, About and the
// pop-up selection items.
void RegisterCoreCommands(CommandRegistry& registry);

// The menu inputs of RefreshMenuState from the editor's state.
MenuInputs CollectMenuInputs(const CommandContext& ctx, const CommandRegistry& registry);

// `PlaySoundEffect`: sound n (0..7) when Sound Effects is on.
void PlaySoundEffect(CommandContext& ctx, int n);

// The "Need More Information" prompt's number: the answer's leading decimal
// integer (0 when it does not start with one), -1 on Cancel. An answer of
// -1 therefore reads as Cancel.
int LeadingInteger(std::string_view text);
int AskNumber(Ui& ui, std::string_view question, std::string* answer = nullptr);

inline constexpr std::string_view kPromptGridValue = "Enter grid value (1-50):";
inline constexpr std::string_view kMsgValueOutOfRange = "Value entered is out of range.";
inline constexpr std::string_view kPromptGuideWidth = "Enter Width:";
inline constexpr std::string_view kPromptGuideHeight = "Enter Height:";
inline constexpr std::string_view kMsgSameColorNoPolygon =
    "Can't select same because your not using the polygon select tool,\r or there is no polygon "
    "under the cursor.";
inline constexpr std::string_view kMsgCouldNotImport = "Could not import \"%s\"";

// "Set Units": repeats the grid prompt until 1..50 or Cancel.
void SetUnits(CommandContext& ctx);
// "Set" of the guide frame: width then height, each 2..10,000, halves kept.
void SetGuideFrame(CommandContext& ctx);
// The shell's part of the new-object reset after Start New Cluster, New,
// Delete from Cluster and Open: mode Plot and its help text, then the
// newObjectReset hook.
void NewObjectReset(CommandContext& ctx);
// Exit: frees the sounds, ends walk mode, sets the quit flag.
void ExitCommand(CommandContext& ctx);
// Open / Insert / Merge of a path already chosen (the command line's file
// too): ".wdc" clusters and ".wdo" objects here, other files through the
// import hook.
bool OpenPath(CommandContext& ctx, int mode, const std::string& path);
// The preferences record from the current options (written at exit and by
// Start New Cluster).
Preferences CurrentPreferences(const CommandContext& ctx);
// The display options from the preferences record, with the options that
// reset at every start (vector filter, invisible and backfaced polygons)
// back at their defaults.
void ApplyPreferences(CommandContext& ctx, const Preferences& prefs);

}  // namespace ws
