#include "render_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "model/color_ops.h"
#include "walk/environment.h"

namespace ws::test {

ObjectXyz ObjectPoint(const Ahead& p) {
  // World (right, ahead, 15 + up) = (s x, s (-z) + 200, s y) with s = 0.25.
  return {p.right * 4, (walk::kGroundZeroHeight + p.up) * 4,
          (walk::kFirstItemOffsetY - p.ahead) * 4};
}

std::uint32_t AddWalkPolygon(ObjectTables& t, const std::vector<Ahead>& corners,
                             std::uint32_t flags, std::uint8_t colour, std::uint8_t back) {
  const std::uint32_t k = t.polygonCount++;
  Polygon& poly = t.polygons[k];
  poly = Polygon{};
  poly.flags = flags;
  poly.frontColor = colour;
  poly.backColor = back;
  poly.frontFill = colour * 0x01010101u;
  poly.backFill = back * 0x01010101u;
  for (const Ahead& c : corners) {
    const ObjectXyz o = ObjectPoint(c);
    poly.points[poly.pointCount++] = t.AddPoint(o.x, o.y, o.z);
  }
  for (std::uint32_t i = 0; i < poly.pointCount; ++i) {
    poly.vectors[poly.vectorCount++] =
        t.AddVector(poly.points[i], poly.points[(i + 1) % poly.pointCount]);
  }
  return k;
}

std::uint32_t AddFacingRect(ObjectTables& t, double ahead, double left, double right, double bottom,
                            double top, std::uint32_t flags, std::uint8_t colour,
                            std::uint8_t back) {
  return AddWalkPolygon(
      t, {{ahead, left, top}, {ahead, right, top}, {ahead, right, bottom}, {ahead, left, bottom}},
      flags, colour, back);
}

WalkFixture::WalkFixture(int width, int height) {
  model = std::make_unique<Model>(rt);
  model->paths = Paths::FromBase(dir.path());
  std::filesystem::copy_file(BinaryDir() + "/Preferences", model->paths.preferences);
  EXPECT_TRUE(model->tables.AllocateObjectTables());
  model->tables.BuildReservedEntries();
  EXPECT_TRUE(RebuildColorState(*model, model->paths.preferences));
  EXPECT_TRUE(surface.Create(rt.memory, width, height));
  surface.SetPalette(model->colors.current);
  display.blackIndex = model->colors.drawing.black;
  display.wireColour = model->colors.drawing.green;
  display.highlightColour = model->colors.drawing.yellow;
  display.polygonsOn = true;
}

std::string WalkFixture::Build() {
  return walk::BuildRenderWorld(w(), tables(), walk::EnvironmentFrom(m()), surface.width(),
                                surface.height(), display, ui);
}

void WalkFixture::Frame(int x, int y) { walk::RenderFrame(w(), display, surface.Target(), x, y); }

double WalkFixture::PolygonKey(std::uint32_t k) const {
  for (std::uint32_t i = 0; i < world->entryCount; ++i) {
    if (world->entries[i].kind == 1 && world->entries[i].index == k) return world->entries[i].key;
  }
  ADD_FAILURE() << "polygon " << k << " is not among the entries";
  return 0;
}

int WalkFixture::SortedPosition(std::uint32_t k) const {
  for (std::uint32_t i = 0; i < world->entryCount; ++i) {
    if (world->entries[i].kind == 1 && world->entries[i].index == k) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace ws::test
