#include "editor/view/view_state.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace ws {

double ScaleFromSlider(int position) {
  const int s = std::clamp(position, kSliderMin, kSliderMax);
  // Above 54 the slider zooms eleven times faster, so that its right end
  // reaches about 10x.
  const double v = s < 55 ? s : 11.0 * s - 550.0;
  return std::trunc(std::max(v / 51.0, kMinScale) * 10.0) / 10.0;
}

std::string ScaleCaption(double scale) {
  char text[64];
  std::snprintf(text, sizeof text, "Scale: %3.0f%%", scale * 100.0);
  return text;
}

void SetSlider(EditorViewState& view, int position) {
  view.slider = std::clamp(position, kSliderMin, kSliderMax);
  view.scale = ScaleFromSlider(view.slider);
}

void SetScale100(EditorViewState& view) {
  view.slider = kSlider100;
  view.scale = 1.0;
  view.panX = 0.0;
  view.panY = 0.0;
}

void SetScale50(EditorViewState& view) {
  view.slider = kSlider50;
  view.scale = 0.5;
}

void ApplyScale(ObjectTables& tables, EditorViewState& view) {
  if (tables.allocated()) {
    for (std::uint32_t i = kReservedPoints; i < tables.pointCount; ++i) {
      Point& p = tables.points[i];
      p.x *= view.scale;
      p.y *= view.scale;
      p.z *= view.scale;
    }
  }
  SetScale100(view);
}

void ResetViewForObject(ViewState& view, EditorViewState& extra) {
  view.viewCode = kViewFront;
  view.orientation = kIdentityMatrix3;
  view.turns = {kIdentityMatrix3, kIdentityMatrix3, kIdentityMatrix3};
  view.activeTurn = kTurnNone;
  extra.scale = 1.0;
  extra.slider = kSlider100;
}

}  // namespace ws
