#include "editor_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "model/color_ops.h"
#include "model/glyph_store.h"

namespace ws::test {

EditorFixture::EditorFixture(int width, int height, std::uint32_t seed) {
  editor = std::make_unique<Editor>(rt, seed);
  Model& model = editor->model;
  model.paths = Paths::FromBase(dir.path());
  std::filesystem::copy_file(BinaryDir() + "/Preferences", model.paths.preferences);
  EXPECT_TRUE(model.tables.AllocateObjectTables());
  model.tables.BuildReservedEntries();
  EXPECT_TRUE(RebuildColorState(model, model.paths.preferences));
  EXPECT_EQ(LoadGlyphs(model.resources, model.paths.preferences, ui, model.glyphs), 39u);
  editor->display.clock = &clock;
  editor->InitialiseDisplay();
  editor->SetPresenter(&presenter);
  EXPECT_TRUE(editor->LayoutArea(width, height));
  EXPECT_TRUE(ui.Messages().empty());
}

int EditorFixture::Frame(std::int32_t check) {
  editor->view().ProjectAll();
  return editor->view().DrawFrame(check);
}

std::uint32_t AddP(ObjectTables& t, const P3& p) { return t.AddPoint(p.x, p.y, p.z); }

// A new vector's colour and width as given, unselected, no attribute.
static std::uint32_t InitVector(ObjectTables& t, std::uint32_t v, std::uint8_t colour,
                                std::uint32_t width) {
  t.vectors[v].color = colour;
  t.vectors[v].width = width;
  t.vectors[v].selected = kUnselected;
  t.vectors[v].attribute = 0;
  return v;
}

std::uint32_t AddLine(ObjectTables& t, const P3& a, const P3& b, std::uint8_t colour,
                      std::uint32_t width) {
  const std::uint32_t pa = AddP(t, a), pb = AddP(t, b);
  return InitVector(t, t.AddVector(pa, pb), colour, width);
}

std::uint32_t AddPolygon(ObjectTables& t, const std::vector<P3>& points, std::uint32_t flags,
                         std::uint8_t colour, int back) {
  const std::uint32_t k = t.polygonCount++;
  Polygon& poly = t.polygons[k];
  poly = Polygon{};
  poly.flags = flags;
  poly.frontColor = colour;
  poly.backColor = back < 0 ? colour : static_cast<std::uint8_t>(back);
  poly.frontFill = FillWord(poly.frontColor);
  poly.backFill = FillWord(poly.backColor);
  poly.pointCount = static_cast<std::uint32_t>(points.size());
  for (std::size_t i = 0; i < points.size(); ++i) poly.points[i] = AddP(t, points[i]);
  poly.vectorCount = poly.pointCount;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const std::uint32_t a = poly.points[i], b = poly.points[(i + 1) % points.size()];
    const std::uint32_t v = t.AddVectorUnique(a, b);
    poly.vectors[i] = v + 1 == t.vectorCount ? InitVector(t, v, 0, 0) : v;
  }
  t.polygonSelected[k] = kUnselected;
  return k;
}

std::uint32_t AddCube(ObjectTables& t, const P3& c, double h, const std::uint32_t (&flags)[6],
                      const std::uint8_t (&colours)[6]) {
  auto v = [&](double sx, double sy, double sz) {
    return P3{c.x + sx * h, c.y + sy * h, c.z + sz * h};
  };
  // Each face clockwise as seen from outside: the order the views take as
  // facing the viewer.
  const std::vector<P3> faces[6] = {
      {v(-1, 1, 1), v(1, 1, 1), v(1, -1, 1), v(-1, -1, 1)},      // front +z
      {v(1, 1, -1), v(-1, 1, -1), v(-1, -1, -1), v(1, -1, -1)},  // back -z
      {v(1, 1, 1), v(1, 1, -1), v(1, -1, -1), v(1, -1, 1)},      // right +x
      {v(-1, 1, -1), v(-1, 1, 1), v(-1, -1, 1), v(-1, -1, -1)},  // left -x
      {v(-1, 1, -1), v(1, 1, -1), v(1, 1, 1), v(-1, 1, 1)},      // top +y
      {v(-1, -1, 1), v(1, -1, 1), v(1, -1, -1), v(-1, -1, -1)},  // bottom -y
  };
  const std::uint32_t first = t.polygonCount;
  for (int f = 0; f < 6; ++f) AddPolygon(t, faces[f], flags[f], colours[f]);
  return first;
}

void AddSphere(ObjectTables& t, double r, int bands, int segments, std::uint32_t flags,
               std::uint8_t colour) {
  const double pi = std::acos(-1.0);
  auto at = [&](int band, int seg) {
    const double theta = pi * band / bands;  // 0 at the north pole
    const double phi = 2.0 * pi * (seg % segments) / segments;
    // Rounded to 1/1000 so that shared corners compare equal exactly.
    auto q = [](double v) { return std::round(v * 1000.0) / 1000.0; };
    return P3{q(r * std::sin(theta) * std::cos(phi)), q(r * std::cos(theta)),
              q(r * std::sin(theta) * std::sin(phi))};
  };
  // Each face clockwise as seen from outside; the poles' faces are triangles.
  for (int b = 0; b < bands; ++b) {
    for (int s = 0; s < segments; ++s) {
      std::vector<P3> face;
      if (b + 1 < bands) face.push_back(at(b + 1, s));
      face.push_back(at(b + 1, s + 1));
      if (b > 0) face.push_back(at(b, s + 1));
      face.push_back(at(b, s));
      AddPolygon(t, face, flags, colour);
    }
  }
}

}  // namespace ws::test
