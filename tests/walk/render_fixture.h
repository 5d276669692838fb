// A model on the generated Preferences file and a walk world drawn into an
// 8-bit surface, for the render world and frame tests.
//
// The geometry helpers place things in the walk view's own terms: with the
// viewer at its start (0, 0, eye 15, heading 90, looking along +y), a point
// `ahead` units in front, `right` units to the right and `up` units above
// the eye is the object point ObjectPoint(ahead, right, up).
#pragma once

#include <memory>
#include <vector>

#include "model/model.h"
#include "platform/scripted_ui.h"
#include "raster/surface8.h"
#include "support/test_support.h"
#include "walk/render_frame.h"
#include "walk/render_world.h"

namespace ws::test {

struct Ahead {
  double ahead, right, up;
};

struct ObjectXyz {
  double x, y, z;
};

// The object point that item 0 places at `p` seen from the start position.
ObjectXyz ObjectPoint(const Ahead& p);

// Adds a polygon through the object points of `corners` (viewer terms),
// with its vectors, and returns its number.
std::uint32_t AddWalkPolygon(ObjectTables& t, const std::vector<Ahead>& corners,
                             std::uint32_t flags, std::uint8_t colour, std::uint8_t back = 0);
// A vertical rectangle facing the viewer: `ahead` away, spanning
// [left, right] across and [bottom, top] in height, clockwise on screen.
std::uint32_t AddFacingRect(ObjectTables& t, double ahead, double left, double right, double bottom,
                            double top, std::uint32_t flags, std::uint8_t colour,
                            std::uint8_t back = 0);

struct WalkFixture {
  explicit WalkFixture(int width = 160, int height = 120);

  // Builds the world for the current tables at the surface's size; the
  // build's message (empty on success).
  std::string Build();
  // One frame with the pointer at (x, y) (-1: none).
  void Frame(int x = -1, int y = -1);
  std::uint8_t Pixel(int x, int y) const { return surface.At(x, y); }
  // Keys of the last frame's sorted entries, by polygon number (kind 1).
  double PolygonKey(std::uint32_t k) const;
  // Position of polygon k among the sorted entries (drawn from the last).
  int SortedPosition(std::uint32_t k) const;

  TempDir dir;
  ScriptedUi ui;
  Runtime rt{ui};
  std::unique_ptr<Model> model;
  Surface8 surface;
  walk::WalkDisplay display;
  std::unique_ptr<walk::RenderWorld> world = std::make_unique<walk::RenderWorld>();

  Model& m() { return *model; }
  ObjectTables& tables() { return model->tables; }
  walk::RenderWorld& w() { return *world; }
};

}  // namespace ws::test
