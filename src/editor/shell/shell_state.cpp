#include "editor/shell/shell_state.h"

#include <array>

namespace ws {
namespace {

constexpr std::string_view kCameraHelp =
    "Drag object to the desired position to see vectors and polygons for editing.";

constexpr std::array<ModeHelp, kModeCount> kModeHelp = {{
    {"Grab Color Mode", "Grab the current color from a polygon or vector."},
    {"Set Color Mode", "Set the fixed color of a polygon or vector to the current color."},
    {"Select Vector Mode", "Select vectors for editing."},
    {"Select Polygon Mode",
     "Select polygons for editing. Use the Polygons menu to change attributes."},
    {"Plot Mode",
     "Plot endpoints to define the frame vectors of the object. Use the shift key to start a "
     "new vector."},
    {"Camera View Mode", kCameraHelp},
    {"Virtual Walk Mode", kCameraHelp},
}};

constexpr ModeHelp kWalkHelp = {
    "Virtual Walk Mode",
    "Use the arrows to move, page-up/down or the mouse wheel to elevate, and the space bar to "
    "return to ground zero."};

}  // namespace

void SetStatusTitle(ShellState& shell, std::string_view text) {
  if (shell.statusTitle == text) return;
  shell.statusTitle = text;
  ++shell.textsVersion;
}

void SetHelpText(ShellState& shell, std::string_view text) {
  if (shell.helpText == text) return;
  shell.helpText = text;
  ++shell.textsVersion;
}

ModeHelp ModeHelpTexts(int mode, bool walkModeActive) {
  if (walkModeActive) return kWalkHelp;
  if (mode < 0 || mode >= kModeCount) return kModeHelp[EditorMode::kPlot];
  return kModeHelp[mode];
}

void ShowModeHelp(ShellState& shell, int mode) {
  const ModeHelp texts = ModeHelpTexts(mode, shell.walkModeActive);
  SetStatusTitle(shell, texts.title);
  SetHelpText(shell, texts.help);
}

}  // namespace ws
