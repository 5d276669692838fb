#include "walk/walk_session.h"

#include "editor/editor.h"
#include "editor/interaction/interaction.h"
#include "editor/interaction/selection.h"
#include "editor/shell/command_ids.h"
#include "editor/shell/commands.h"
#include "editor/shell/key_handler.h"
#include "editor/shell/tick.h"
#include "walk/environment.h"
#include "walk/walk_motion.h"
#include "walk/walk_zone.h"

namespace ws::walk {
namespace {

std::optional<WalkKey> WalkKeyOf(int editorKey) {
  switch (editorKey) {
    case Key::kUp:
      return WalkKey::kUp;
    case Key::kDown:
      return WalkKey::kDown;
    case Key::kLeft:
      return WalkKey::kLeft;
    case Key::kRight:
      return WalkKey::kRight;
    case Key::kPageUp:
      return WalkKey::kPageUp;
    case Key::kPageDown:
      return WalkKey::kPageDown;
    default:
      return std::nullopt;
  }
}

}  // namespace

WalkSession::WalkSession(Model& model) : model_(model) {}

WalkSession::~WalkSession() { End(); }

bool WalkSession::Build() {
  const std::string message = BuildRenderWorld(world_, model_.tables, EnvironmentFrom(model_),
                                               width_, height_, display_, model_.ui());
  if (message.empty()) return true;
  model_.ui().ShowError(message);
  return false;
}

bool WalkSession::Start(int width, int height, const WalkDisplay& display) {
  width_ = width;
  height_ = height;
  display_ = display;
  edit_ = {};
  leftDown_ = rightPressed_ = false;
  return Build();
}

void WalkSession::End() {
  if (world_.built) FreeRenderWorld(world_);
  leftDown_ = rightPressed_ = false;
}

bool WalkSession::Resize(int width, int height) {
  if (!world_.built || (width == width_ && height == height_)) return world_.built;
  width_ = width;
  height_ = height;
  const std::string message = ResizeRenderWorld(world_, model_.tables, EnvironmentFrom(model_),
                                                width, height, display_, model_.ui());
  if (message.empty()) return true;
  model_.ui().ShowError(message);
  return false;
}

bool WalkSession::Rebuild() {
  if (!world_.built) return false;
  edit_ = {};
  return Build();
}

void WalkSession::SetDisplay(const WalkDisplay& display) {
  const bool vectorsChanged = display.vectorsOn != display_.vectorsOn;
  display_ = display;
  if (vectorsChanged && world_.built) RebuildVectorDrawList(world_, display_);
}

bool WalkSession::Key(int editorKey, bool down) {
  if (const std::optional<WalkKey> key = WalkKeyOf(editorKey)) {
    SetWalkKey(world_.viewer, *key, down);
    return true;
  }
  if (editorKey == Key::kSpace) {
    if (down) TypeWalkChar(world_.viewer, ' ');
    return true;
  }
  return false;
}

void WalkSession::Wheel(int notch) { WalkWheel(world_.viewer, notch); }

WalkFrameResult WalkSession::Frame(PixelRows target, int cursorX, int cursorY, int editMode,
                                   std::uint8_t currentColour) {
  WalkFrameResult r;
  if (!world_.built) return r;
  StepMotion(world_.viewer, [&](const WalkPose& trial) {
    const ZoneTestResult z = ZoneTest(world_, trial.x, trial.y, trial.z);
    if (z.playRefusal && playSound) playSound(kRefusalSound);
    r.zoneChanged = z.zoneChanged;
    return z.answer;
  });
  RenderFrame(world_, display_, target, cursorX, cursorY);
  const WalkEditInput in{editMode, leftDown_, rightPressed_, currentColour};
  rightPressed_ = false;
  const WalkEditResult e = ApplyWalkEdit(world_, model_.tables, edit_, in);
  if (e.playSound && playSound) playSound(kWalkEditSound);
  r.objectChanged = e.objectChanged;
  r.grabbedColour = e.grabbedColour;
  return r;
}

bool WalkSession::ClearViewZoneList() {
  return world_.built && ClearWalkViewZoneList(world_, model_.tables);
}

WalkDisplay WalkDisplayFor(const Model& model, const DisplayOptions& options,
                           bool hideEnvironment) {
  const DrawingColors& colours = model.colors.drawing;
  WalkDisplay w;
  w.vectorsOn = options.vectorsOn;
  w.polygonsOn = options.polygonsOn;
  w.hideEnvironment = hideEnvironment;
  w.wireColour = colours.white;
  w.blackIndex = colours.black;
  w.highlightColour = colours.yellow;
  return w;
}

WalkDisplay WalkDisplayOf(const EditContext& ectx) {
  return WalkDisplayFor(ectx.editor.model, ectx.editor.display.options, ectx.shell.hideEnvironment);
}

void WireWalkMode(WalkSession& session, CommandContext& ctx, EditContext& ectx,
                  CommandRegistry& registry, TickHooks& tickHooks) {
  session.playSound = [&ctx](int n) { PlaySoundEffect(ctx, n); };
  ectx.startWalk = [&session, &ectx] {
    const EditAreaLayout& layout = ectx.editor.display.layout;
    return session.Start(layout.width(), layout.height(), WalkDisplayOf(ectx));
  };
  ectx.endWalk = [&session] { session.End(); };
  ctx.hooks.endWalkMode = [&session, &ectx] {
    session.End();
    ectx.shell.walkModeActive = false;
  };
  tickHooks.hideEnvironment = [&session, &ectx](bool) { session.SetDisplay(WalkDisplayOf(ectx)); };
  tickHooks.walkRelayout = [&session, &ectx] {
    const EditAreaLayout& layout = ectx.editor.display.layout;
    if (!session.Resize(layout.width(), layout.height())) SelectMode(ectx, EditorMode::kPlot);
  };
  tickHooks.walkFrame = [&session, &ectx](int cursorX, int cursorY) {
    EditorDisplay& d = ectx.editor.display;
    session.SetDisplay(WalkDisplayOf(ectx));
    if (d.offscreen.empty() || !session.active()) return;
    const int w = std::min(session.width(), d.layout.width());
    const int h = std::min(session.height(), d.layout.height());
    const PixelRows target{d.offscreen.draw.Target().rows, w, h};
    const int x = LocalX(ectx, cursorX), y = LocalY(ectx, cursorY);
    const bool inside = x >= 0 && y >= 0 && x < w && y < h;
    const WalkFrameResult r = session.Frame(target, inside ? x : -1, inside ? y : -1,
                                            ectx.shell.walkEditMode, ectx.state.currentColour);
    if (r.grabbedColour) SetCurrentColour(ectx.state, *r.grabbedColour);
    const bool chosen = session.viewer().zonePolygon >= 0;
    if (chosen != ectx.shell.viewZoneChosen) {
      ectx.shell.viewZoneChosen = chosen;
      ectx.shell.RequestMenuRefresh();
    }
    // The F5 quick commands stay readable over the walk frame.
    if (ectx.shell.quickCommandsShown) {
      SyncFrame(ectx);
      ectx.editor.softwareView().DrawLabels();
    }
    ectx.editor.view().Present(d.layout.local, d.layout.editArea);
  };
  // In walk mode the command clears the list of the zone the viewer stands
  // in, with no undo step, like the other walk edits.
  const CommandHandler* clear = registry.Find(Cmd::kClearViewZoneList);
  CommandHandler outside = clear ? *clear : CommandHandler{};
  registry.Register(Cmd::kClearViewZoneList, [&session, outside](CommandContext& c) {
    if (c.shell.walkModeActive) {
      if (c.shell.walkEditMode == kWalkEditViewZones) session.ClearViewZoneList();
    } else if (outside) {
      outside(c);
    }
  });
}

}  // namespace ws::walk
