#include "editor/shell/control_column.h"

namespace ws {
namespace {

constexpr int kModeButtonStep = 26;
constexpr int kModeButtonWidth = 24;
constexpr int kToggleGap = 10;  // between the strip's bottom and the first row
constexpr int kRowStep = 34;

bool Inside(const IntRect& r, int x, int y) { return r.Contains(x, y); }

void ToggleOption(CommandContext& ctx, int index) {
  DisplayOptions d = ctx.views.Display();
  switch (index) {
    case kToggleGrid:
      d.gridOn = !d.gridOn;
      break;
    case kToggleAxis:
      d.axisOn = !d.axisOn;
      break;
    case kTogglePerspective:
      d.perspective = !d.perspective;
      break;
    case kToggleVectors:
      d.vectorsOn = !d.vectorsOn;
      break;
    case kTogglePolygons:
      d.polygonsOn = !d.polygonsOn;
      break;
    default:
      return;
  }
  ctx.views.SetDisplay(d);
  StoreOptions(d, ctx.model.preferences);
  ctx.shell.RequestRedraw();
  ctx.shell.RequestMenuRefresh();
}

// Buttons that do nothing in walk mode.
bool DisabledInWalk(int index) {
  return index == kToggleGrid || index == kToggleAxis || index == kTogglePerspective ||
         index == kToggleDefinePolygon || index == kToggleDeleteObjects || index == kSwatchArea;
}

}  // namespace

ControlColumn PlaceControls(const IntRect& strip, int editAreaLeft) {
  ControlColumn c;
  c.strip = strip;
  for (int i = 0; i < kModeCount; ++i) {
    const int x = strip.left + 2 + kModeButtonStep * i;
    c.modes[i] = {x, strip.top, x + kModeButtonWidth - 1, strip.bottom};
  }
  int x = strip.left;
  int y = strip.bottom + 1 + kToggleGap;
  const int limit = editAreaLeft - 40;
  for (int i = 0; i < kToggleCount; ++i) {
    if (i == kToggleCount - 1 && x > limit) {
      x = strip.left;
      y += kRowStep;
    }
    c.icons[i] = {x, y, x + kToggleIconSize - 1, y + kToggleIconSize - 1};
    x += kToggleIconSize;
  }
  if (x > limit) {
    x = strip.left;
    y += kRowStep;
  }
  c.swatch = {x, y, x + kSwatchSize - 1, y + kSwatchSize - 1};
  c.placed = true;
  return c;
}

IntRect ToggleHitRect(const IntRect& icon) {
  return {icon.left + 3, icon.top + 2, icon.left + 28, icon.top + 30};
}

int ModeAt(const ControlColumn& column, int x, int y) {
  if (!column.placed) return -1;
  for (int i = 0; i < kModeCount; ++i) {
    if (Inside(column.modes[i], x, y)) return i;
  }
  return -1;
}

int ToggleAt(const ControlColumn& column, int x, int y) {
  if (!column.placed) return -1;
  for (int i = 0; i < kToggleCount; ++i) {
    if (Inside(ToggleHitRect(column.icons[i]), x, y)) return i;
  }
  if (Inside(column.swatch, x, y)) return kSwatchArea;
  return -1;
}

std::string_view ToggleTitle(int index, const DisplayOptions& d, bool walk) {
  if (walk && DisabledInWalk(index)) return kTitleFunctionDisabled;
  switch (index) {
    case kToggleGrid:
      return d.gridOn ? "Grid On" : "Grid Off";
    case kToggleAxis:
      return d.axisOn ? "Axis On" : "Axis Off";
    case kTogglePerspective:
      return d.perspective ? "Perspective On" : "Perspective Off";
    case kToggleVectors:
      return d.vectorsOn ? "Vectors On" : "Vectors Off";
    case kTogglePolygons:
      return d.polygonsOn ? "Polygons On" : "Polygons Off";
    case kToggleDefinePolygon:
      return "Define Polygon";
    case kToggleDeleteObjects:
      return "Delete Objects";
    case kSwatchArea:
      return kTitleChangeColor;
    default:
      return {};
  }
}

bool TogglePressed(int index, const DisplayOptions& d, int pressedHotArea) {
  if (index == pressedHotArea) return true;
  switch (index) {
    case kToggleGrid:
      return d.gridOn;
    case kToggleAxis:
      return d.axisOn;
    case kTogglePerspective:
      return d.perspective;
    case kToggleVectors:
      return d.vectorsOn;
    case kTogglePolygons:
      return d.polygonsOn;
    default:
      return false;
  }
}

void PressToggle(ShellState& shell, const ControlColumn& column, int x, int y) {
  const int hit = ToggleAt(column, x, y);
  shell.pressedHotArea = hit >= 0 && hit < kToggleCount ? hit : kNoHotArea;
}

int ReleaseToggle(CommandContext& ctx) {
  ShellState& shell = ctx.shell;
  const int index = shell.pressedHotArea;
  if (index == kNoHotArea) return -1;
  shell.pressedHotArea = kNoHotArea;
  if (!(shell.walkModeActive && DisabledInWalk(index))) {
    switch (index) {
      case kToggleDefinePolygon:
        if (ctx.hooks.definePolygon) ctx.hooks.definePolygon();
        break;
      case kToggleDeleteObjects:
        if (ctx.hooks.deleteSelection) ctx.hooks.deleteSelection();
        break;
      default:
        ToggleOption(ctx, index);
        break;
    }
  }
  ctx.shell.RequestRedraw();
  ctx.shell.RequestMenuRefresh();
  PlaySoundEffect(ctx, 1);
  return index;
}

void ClickModeStrip(CommandContext& ctx, const ControlColumn& column, int x, int y) {
  const int mode = ModeAt(column, x, y);
  if (mode < 0) return;
  const int m = mode;
  if (ctx.hooks.selectMode) {
    // The mode change plays its own sound.
    ctx.hooks.selectMode(m);
  } else {
    PlaySoundEffect(ctx, 1);
    ctx.shell.mode = m;
    ShowModeHelp(ctx.shell, m);
  }
  if (ctx.shell.quickCommandsShown) {
    ctx.views.SetQuickCommandsShown(true, ctx.shell.mode, ctx.shell.walkModeActive,
                                    ctx.shell.walkEditMode);
  }
  ctx.shell.RequestRedraw();
  ctx.shell.RequestMenuRefresh();
}

}  // namespace ws
