// A model on the generated Preferences file and a walk world drawn into an
// 8-bit surface. Geometry is placed in the walk view's own terms: with the
// viewer at its start (0, 0, eye 15, heading 90, looking along +y), a point
// `ahead` units in front, `right` to the right and `up` above the eye.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <vector>

#include "model/color_ops.h"
#include "model/model.h"
#include "platform/scripted_ui.h"
#include "raster/surface8.h"
#include "support/test_support.h"
#include "walk/environment.h"
#include "walk/render_frame.h"
#include "walk/render_world.h"

namespace ws::test {

struct Ahead {
  double ahead, right, up;
};

// Item 0 shows the object at a quarter of its size, 200 ahead, its y axis
// up: world (right, ahead, 15 + up) = (s x, s (-z) + 200, s y) with s = 0.25.
inline std::uint32_t AddWalkPoint(ObjectTables& t, const Ahead& p) {
  return t.AddPoint(p.right * 4, (walk::kGroundZeroHeight + p.up) * 4,
                    (walk::kFirstItemOffsetY - p.ahead) * 4);
}

// A polygon through `corners` with its vectors; its number.
inline std::uint32_t AddWalkPolygon(ObjectTables& t, const std::vector<Ahead>& corners,
                                    std::uint32_t flags, std::uint8_t colour,
                                    std::uint8_t back = 0) {
  const std::uint32_t k = t.polygonCount++;
  Polygon& poly = t.polygons[k] = Polygon{};
  poly.flags = flags;
  poly.frontColor = colour;
  poly.backColor = back;
  poly.frontFill = colour * 0x01010101u;
  poly.backFill = back * 0x01010101u;
  for (const Ahead& c : corners) poly.points[poly.pointCount++] = AddWalkPoint(t, c);
  for (std::uint32_t i = 0; i < poly.pointCount; ++i) {
    poly.vectors[poly.vectorCount++] =
        t.AddVector(poly.points[i], poly.points[(i + 1) % poly.pointCount]);
  }
  return k;
}

// A vertical rectangle facing the viewer, `ahead` away, spanning
// [left, right] across and [bottom, top] in height, clockwise on screen.
inline std::uint32_t AddFacingRect(ObjectTables& t, double ahead, double left, double right,
                                   double bottom, double top, std::uint32_t flags,
                                   std::uint8_t colour, std::uint8_t back = 0) {
  return AddWalkPolygon(
      t, {{ahead, left, top}, {ahead, right, top}, {ahead, right, bottom}, {ahead, left, bottom}},
      flags, colour, back);
}

// The 2 x 2 square 10 ahead: columns 72..88, rows 54..66 at 160 x 120.
inline std::uint32_t AddNearSquare(ObjectTables& t, std::uint32_t flags, std::uint8_t colour) {
  return AddFacingRect(t, 10, -1, 1, -1, 1, flags, colour);
}

// A courtyard: a back wall 140 ahead, two side walls and a gate post 90
// ahead, each the same colour on both sides.
inline void AddCourtyard(ObjectTables& t, std::uint32_t flags, std::uint8_t back,
                         std::uint8_t sides, std::uint8_t post) {
  AddFacingRect(t, 140, -70, 70, -15, 40, flags, back, back);
  AddWalkPolygon(t, {{60, -70, 25}, {140, -70, 25}, {140, -70, -15}, {60, -70, -15}}, flags, sides,
                 sides);
  AddWalkPolygon(t, {{60, 70, 25}, {140, 70, 25}, {140, 70, -15}, {60, 70, -15}}, flags, sides,
                 sides);
  AddFacingRect(t, 90, -12, 12, -15, 10, flags, post, post);
}

struct WalkFixture {
  explicit WalkFixture(int width = 160, int height = 120) {
    m().paths = Paths::FromBase(dir.path());
    std::filesystem::copy_file(BinaryDir() + "/Preferences", m().paths.preferences);
    EXPECT_TRUE(tables().AllocateObjectTables());
    tables().BuildReservedEntries();
    EXPECT_TRUE(RebuildColorState(m(), m().paths.preferences));
    EXPECT_TRUE(surface.Create(rt.memory, width, height));
    surface.SetPalette(m().colors.current);
    display.blackIndex = m().colors.drawing.black;
    display.wireColour = m().colors.drawing.green;
    display.highlightColour = m().colors.drawing.yellow;
    display.polygonsOn = true;
  }
  // The world for the current tables at the surface's size; the build's
  // message (empty on success).
  std::string Build() {
    return walk::BuildRenderWorld(w(), tables(), walk::EnvironmentFrom(m()), surface.width(),
                                  surface.height(), display, ui);
  }
  // One frame with the pointer at (x, y) (-1: none).
  void Frame(int x = -1, int y = -1) { walk::RenderFrame(w(), display, surface.Target(), x, y); }
  std::uint8_t Pixel(int x, int y) const { return surface.At(x, y); }
  // The viewer stands in view zone `polygon` of item 0 with this polygon list.
  void StandInZone(int polygon, std::vector<std::uint32_t> list) {
    w().viewer.zonePolygon = polygon;
    w().viewer.zoneItem = 0;
    w().viewer.zonePolys = std::move(list);
  }
  // Key of the last frame's sorted entry for polygon k.
  double PolygonKey(std::uint32_t k) {
    for (std::uint32_t i = 0; i < w().entryCount; ++i) {
      if (w().entries[i].kind == 1 && w().entries[i].index == k) return w().entries[i].key;
    }
    ADD_FAILURE() << "polygon " << k << " is not among the entries";
    return 0;
  }

  TempDir dir;
  ScriptedUi ui;
  Runtime rt{ui};
  std::unique_ptr<Model> model = std::make_unique<Model>(rt);
  Surface8 surface;
  walk::WalkDisplay display;
  std::unique_ptr<walk::RenderWorld> world = std::make_unique<walk::RenderWorld>();

  Model& m() { return *model; }
  ObjectTables& tables() { return model->tables; }
  walk::RenderWorld& w() { return *world; }
};

}  // namespace ws::test
