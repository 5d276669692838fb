// What the geometry commands take from the editor besides the model: the
// grid step of "Set Units", the current colour of the colour swatch, and
// the help box and views they report to. The editor fills one of these for
// each command; tests and the command-line tool build their own.
#pragma once

#include <cstdint>
#include <string_view>

#include "model/model.h"

namespace ws {

// Where the primitive generators report while they define polygons. The
// defaults do nothing, so a command can run with no editor at all.
class GeometryFeedback {
 public:
  virtual ~GeometryFeedback() = default;
  // The status title of the Interactive Help box ("Defining Polygon 3").
  virtual void SetStatusTitle(std::string_view title) {}
  // Draw the views now (after each polygon a primitive defines).
  virtual void RedrawViews() {}
};

struct GeometryContext {
  Model& model;
  int gridStep = kDefaultGridStep;
  // Colour-table index that new polygons take as their front colour.
  std::uint8_t currentColor = 0;
  // May be null: nothing is reported.
  GeometryFeedback* feedback = nullptr;

  ObjectTables& tables() { return model.tables; }
  Runtime& rt() { return model.rt; }
  Ui& ui() { return model.rt.ui; }
};

}  // namespace ws
