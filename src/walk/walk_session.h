// The walk view as the editor drives it: the render world built when walk
// mode starts and freed when it ends, one WalkFrame per tick (motion,
// RenderFrame, walk editing for the buttons), the walk keys, the wheel,
// Hide Environment and the Vectors On switch.
//
// WalkSession needs only the model and a drawing target, so the
// command-line walk and the tests drive the same code as the editor;
// WireWalkMode connects it to the editor's hooks (mode change, tick,
// Exit, Clear View Zone List).
//
// An object that does not fit the world (more universe points than
// GW_MAXRENPOINTS, a polygon of more than 150 points or vectors) is
// refused at Start with the build's message in the error box; the world is
// then left freed and walk mode does not start.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "editor/view/display_options.h"
#include "model/model.h"
#include "walk/render_world.h"
#include "walk/walk_edit.h"

namespace ws {
struct CommandContext;
struct EditContext;
struct TickHooks;
struct EditorHooks;
class CommandRegistry;
}  // namespace ws

namespace ws::walk {

struct WalkFrameResult {
  bool objectChanged = false;
  bool zoneChanged = false;
  std::optional<std::uint8_t> grabbedColour;
};

class WalkSession {
 public:
  explicit WalkSession(Model& model);
  ~WalkSession();
  WalkSession(const WalkSession&) = delete;
  WalkSession& operator=(const WalkSession&) = delete;

  bool active() const { return world_.built; }
  RenderWorld& world() { return world_; }
  const WalkViewer& viewer() const { return world_.viewer; }
  const WalkDisplay& display() const { return display_; }
  int width() const { return width_; }
  int height() const { return height_; }

  // Builds the world for the current object at W x H. False, after the
  // build's message in the error box, when the object is refused.
  bool Start(int width, int height, const WalkDisplay& display);
  void End();
  // The drawing area changed size: built again, the viewer kept.
  bool Resize(int width, int height);
  // Another object became current: built again for it.
  bool Rebuild();
  // The display switches; a change of Vectors On rebuilds the draw lists.
  void SetDisplay(const WalkDisplay& display);

  // Editor key codes (key_handler.h): the arrows and Page Up / Page Down
  // set and clear the viewer's key flags; a space typed returns it to
  // ground zero. True for a key walk mode uses.
  bool Key(int editorKey, bool down);
  void Wheel(int notch);
  void SetLeftButton(bool down) { leftDown_ = down; }
  void PressRightButton() { rightPressed_ = true; }

  // One frame into `target` (width x height pixels) with the pointer at
  // (cursorX, cursorY) in target pixels (-1: none).
  WalkFrameResult Frame(PixelRows target, int cursorX, int cursorY, int editMode,
                        std::uint8_t currentColour);
  // "Clear View Zone List" in walk mode; false outside a view zone.
  bool ClearViewZoneList();

  // PlaySoundEffect: sound 7 on a refused step, 6 on walk editing.
  std::function<void(int)> playSound;

 private:
  bool Build();

  Model& model_;
  RenderWorld world_;
  WalkDisplay display_;
  WalkEditState edit_;
  int width_ = 0;
  int height_ = 0;
  bool leftDown_ = false;
  bool rightPressed_ = false;
};

// Connects a session to the editor: the Virtual Walk mode starts it at the
// EditArea's size (a refusal keeps the previous mode), leaving the mode or
// Exit ends it, the tick draws and presents its frames, Hide Environment
// and relayout reach it, and in walk mode "Clear View Zone List" clears
// the zone the viewer stands in. The session must outlive the contexts.
void WireWalkMode(WalkSession& session, CommandContext& ctx, EditContext& ectx,
                  CommandRegistry& registry, TickHooks& tickHooks);

// The display switches and colours the editor hands the walk view: the
// wire frame in white, the pick outline in yellow.
WalkDisplay WalkDisplayFor(const Model& model, const DisplayOptions& options, bool hideEnvironment);
WalkDisplay WalkDisplayOf(const EditContext& ectx);

}  // namespace ws::walk
