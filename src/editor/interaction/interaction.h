// The state and context of the EditArea's mouse and keyboard editing: plot
// mode, selection, the endpoint drag, the marquee, free rotation, the
// colour chooser, polygon definition and the polygon attributes.
//
// InteractionState is the part of the editor's state these own: the
// current colour with its fill word, the plot status bookkeeping, the last
// cursor position seen and the gesture in progress. One instance lives
// beside the Editor and the ShellState; EditContext bundles references to
// all three with the few services of the window system they need (sound,
// the walk view, the view-zone dialog). Tests build their own.
//
// Positions handed to the functions of these modules are window client
// pixels, as the tick's cursor is; the EditArea-local position is that
// less the EditArea's top-left corner.
//
// The inner loops of the original (drag, marquee, free rotation, colour
// chooser) are gestures here: a press starts one, PointerMoved steps it,
// PointerReleased or CancelGesture ends it (drag.h). While a gesture runs,
// the shell's rotation-in-progress flag is set so that the tick leaves its
// hover work and its frame alone, as the original's timer did while an
// inner loop ran; every way a gesture ends clears it again.
#pragma once

#include <cstdint>
#include <functional>

#include "editor/editor.h"
#include "editor/shell/shell_state.h"

namespace ws {

class ViewZoneDialog;

// The value the shown plot coordinates start at, so that the first tick
// always refreshes the status.
inline constexpr double kPlotShownUnset = 65535.0;

enum class GestureKind { kNone, kFreeRotation, kDragEndpoint, kMarquee, kColourChooser };

// The gesture in progress (one at a time).
struct Gesture {
  GestureKind kind = GestureKind::kNone;
  // EditArea-local position of the last step.
  int lastX = 0;
  int lastY = 0;
  // Endpoint drag: the point moved, the cursor and the point's x, y at the
  // start.
  std::uint32_t dragPoint = 0;
  int startX = 0;
  int startY = 0;
  double pointX0 = 0.0;
  double pointY0 = 0.0;
  // Marquee: the start corner (EditArea-local, clamped like the rectangle).
  int cornerX = 0;
  int cornerY = 0;
  // Colour chooser: the cell under the cursor, -1 for none.
  int cell = -1;
  // Free rotation: the mode's texts come back when it ends (the selection
  // modes), or not (Camera View and Virtual Walk).
  bool restoreModeHelp = false;
};

struct InteractionState {
  // Current colour of the "Change Color" swatch and its fill word.
  std::uint8_t currentColour = 0;
  std::uint32_t currentFill = 0;
  // Bumped whenever the current colour changes, so the window repaints the
  // swatch only then.
  std::uint32_t swatchVersion = 0;

  // The plot values last shown in the status title.
  double shownX = kPlotShownUnset;
  double shownY = kPlotShownUnset;
  double shownZ = kPlotShownUnset;
  // The point count right after the reserved points were built; Shift
  // starts a new vector only when the object holds more.
  std::uint32_t startPointCount = kReservedPoints;

  // The last cursor position seen (client pixels).
  int cursorX = -1;
  int cursorY = -1;

  Gesture gesture;
};

struct EditContext {
  Editor& editor;
  ShellState& shell;
  InteractionState& state;
  // PlaySoundEffect: sound n when Sound Effects is on. May be empty.
  std::function<void(int n)> playSound;
  // Virtual Walk: builds the render world and starts the walk view (true
  // when it did); ends it and frees the world. Without them Virtual Walk
  // is a mode like Camera View and walk mode never becomes active.
  std::function<bool()> startWalk;
  std::function<void()> endWalk;
  // Runs dialog 154 modally (its own message loop); true when it ended
  // with "Done", false when it was cancelled. Without it the View Zone
  // command changes nothing.
  std::function<bool(ViewZoneDialog& dialog)> runViewZoneDialog;

  Model& model() { return editor.model; }
  ObjectTables& tables() { return editor.model.tables; }
  EditorDisplay& display() { return editor.display; }
  Ui& ui() { return editor.model.ui(); }
};

// Sound n through the context (nothing when there is no player or Sound
// Effects is off).
void PlaySound(EditContext& ctx, int n);
// The shell's mode and flags into the frame state (EditorBinding's rule),
// before a frame is drawn outside the tick.
void SyncFrame(EditContext& ctx);
// One screen update: ProjectAll, DrawFrame(0), Present(local, EditArea).
void ShowFrameNow(EditContext& ctx);
// The EditArea-local position of a client position.
int LocalX(const EditContext& ctx, int clientX);
int LocalY(const EditContext& ctx, int clientY);
bool InsideEditArea(const EditContext& ctx, int clientX, int clientY);
// Sets the current colour and its fill word and marks the swatch for
// repainting.
void SetCurrentColour(InteractionState& state, std::uint8_t colour);

}  // namespace ws
