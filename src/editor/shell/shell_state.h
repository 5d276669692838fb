// The editor-wide state of the main window that is not the object, the view
// or the colours: the mode, the loop's flags, the keys held, the status
// texts, the F5 state and the settings the Edit menu switches. One instance
// per editor; the Qt front end reads it after every tick and every command
// to bring its widgets up to date, and tests drive it with no window.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "editor/editor_state.h"
#include "editor/view/text_labels.h"

namespace ws {

inline constexpr int kModeCount = 7;

// Held keys, as bits.
namespace HeldKey {
inline constexpr std::uint32_t kShift = 1;
inline constexpr std::uint32_t kControl = 2;
inline constexpr std::uint32_t kUp = 4;
inline constexpr std::uint32_t kDown = 8;
inline constexpr std::uint32_t kLeft = 16;
inline constexpr std::uint32_t kRight = 32;
inline constexpr std::uint32_t kDelete = 64;
inline constexpr std::uint32_t kPageUp = 128;
inline constexpr std::uint32_t kPageDown = 256;
}  // namespace HeldKey

inline constexpr int kNoHotArea = 255;
inline constexpr int kNoColumnTarget = -2;

struct ShellState {
  int mode = EditorMode::kPlot;  // EditorMode::k...
  bool walkModeActive = false;
  bool quit = false;
  bool firstLayoutPending = true;
  bool layoutPending = false;
  bool redraw = false;
  bool menuRefreshPending = false;
  bool applicationActive = false;
  std::uint32_t heldKeys = 0;
  std::uint8_t pendingKey = 0;
  int pressedHotArea = kNoHotArea;
  bool quickCommandsShown = false;
  // Set while a modal prompt is open (the prompt itself needs no tick work).
  bool modalDialogOpen = false;
  // Set while a free rotation drag runs: the tick then skips hover work.
  bool rotationInProgress = false;
  // What the cursor was over in the control column at the last tick (a
  // mode, a toggle, elsewhere, or kNoColumnTarget when it was not there).
  int columnHoverTarget = kNoColumnTarget;
  // The cursor was inside the EditArea at the last tick.
  bool cursorWasInArea = false;

  int marqueeSelection = kMarqueeAllPolygons;
  int walkEditMode = kWalkEditColour;
  int rendererChoice = kRendererSoftware;
  int viewerShading = 0;
  // A view zone chosen in walk edit mode 4 (the walk view sets it).
  bool viewZoneChosen = false;
  // The "Hide Environment" check box as the walk view last saw it.
  bool hideEnvironment = false;

  // The last texts set; a text equal to the last one is not set again.
  std::string statusTitle;
  std::string helpText;
  // Bumped whenever the texts change, so the window repaints only then.
  std::uint32_t textsVersion = 0;

  // Hover results of the last tick: vector index (0 none), polygon (-1 none).
  std::uint32_t hoveredVector = 0;
  std::int32_t hoveredPolygon = -1;

  // Bumped when the object list or the window title changed, so the
  // window refreshes its combo box and caption only then.
  std::uint32_t objectListVersion = 0;
  std::uint32_t windowTitleVersion = 0;

  // A file named on the command line, opened once after the first layout.
  std::optional<std::string> commandLineFile;

  bool IsMode(int m) const { return mode == m; }
  bool KeyHeld(std::uint32_t bit) const { return (heldKeys & bit) != 0; }
  void RequestRedraw() { redraw = true; }
  void RequestMenuRefresh() { menuRefreshPending = true; }
};

// Sets the status title / help text when it differs from the last one set.
void SetStatusTitle(ShellState& shell, std::string_view text);
void SetHelpText(ShellState& shell, std::string_view text);

// The title and help text of a mode (in walk mode always the walk texts).
struct ModeHelp {
  std::string_view title;
  std::string_view help;
};
ModeHelp ModeHelpTexts(int mode, bool walkModeActive);
void ShowModeHelp(ShellState& shell, int mode);

// Texts of the first layout and of the new-object reset.
inline constexpr std::string_view kTitlePlotVectors = "Plot Vectors";
inline constexpr std::string_view kHelpPlotVectors =
    "Plot endpoints to define the wire frame vectors of the object. Use the shift key to "
    "disconnect from the last vector and start a new one.";
inline constexpr std::string_view kTitleInactive = "Wirestead Inactive";
inline constexpr std::string_view kHelpInactive = "Click on the dialog to reactivate Wirestead.";
inline constexpr std::string_view kTitleNothingSelected = "Nothing Selected";
inline constexpr std::string_view kTitleFunctionDisabled = "Function Disabled";
inline constexpr std::string_view kTitleChangeColor = "Change Color";

}  // namespace ws
