// The display switches of the editing views. The first seven (grid, axis,
// vectors, perspective, polygons, sound effects, thick line), Instant View
// Change and the guide-frame half sizes are kept in the preferences record
// 'PREF' 128 between runs; the vector filter, the two "show" switches and
// the guide frame check box start afresh every run.
//
// Every change of an option must be followed by a redraw (the caller sets
// the redraw flag); nothing here draws.
#pragma once

#include "model/preferences.h"

namespace ws {

// Which vectors the wire frame shows (Display menu).
inline constexpr int kAllVectors = 0;
inline constexpr int kFrontVectorsOnly = 1;  // an endpoint with world z < 0
inline constexpr int kBackVectorsOnly = 2;   // an endpoint with world z > 0

struct DisplayOptions {
  bool gridOn = true;
  bool axisOn = true;
  bool vectorsOn = true;  // the wire frame of all vectors
  bool perspective = false;
  bool polygonsOn = true;
  bool soundEffects = true;
  bool thickLine = false;
  int vectorFilter = kAllVectors;
  bool showInvisible = false;  // "Invisible Polygons"
  bool showBackfaced = false;  // "Backfaced Polygons"
  bool instantViewChange = false;
  bool guideFrame = false;  // "Display Guide Frame"
  double guideHalfWidth = kDefaultViewHalfWidth;
  double guideHalfHeight = kDefaultViewHalfHeight;
};

// The options as the editor starts with `prefs`: the kept ones from the
// record, the others at their start values.
inline DisplayOptions OptionsFromPreferences(const Preferences& prefs) {
  DisplayOptions o;
  o.gridOn = prefs.gridShown;
  o.axisOn = prefs.axisShown;
  o.vectorsOn = prefs.vectorsShown;
  o.perspective = prefs.perspectiveOn;
  o.polygonsOn = prefs.polygonsShown;
  o.soundEffects = prefs.soundEffectsOn;
  o.thickLine = prefs.thickLine;
  o.instantViewChange = prefs.instantViewChange;
  o.guideHalfWidth = prefs.viewHalfWidth;
  o.guideHalfHeight = prefs.viewHalfHeight;
  return o;
}

// Writes the kept options into `prefs` (the record written at exit).
inline void StoreOptions(const DisplayOptions& o, Preferences& prefs) {
  prefs.gridShown = o.gridOn;
  prefs.axisShown = o.axisOn;
  prefs.vectorsShown = o.vectorsOn;
  prefs.perspectiveOn = o.perspective;
  prefs.polygonsShown = o.polygonsOn;
  prefs.soundEffectsOn = o.soundEffects;
  prefs.thickLine = o.thickLine;
  prefs.instantViewChange = o.instantViewChange;
  prefs.viewHalfWidth = o.guideHalfWidth;
  prefs.viewHalfHeight = o.guideHalfHeight;
}

}  // namespace ws
