// The scene of the frame benchmarks: an editor on a 1024 x 768 EditArea
// with the bench palette and, optionally, a closed torus of 100 x 100
// quadrilaterals (10,000 polygons, the table's capacity; its 20,000 edges
// as vectors as far as the vector table holds them) covering about half
// the area, slightly tilted; Polygons, Vectors, Grid and Axis on. Shared by
// the software frame benchmark and the hardware viewer's.
#pragma once

#include <cmath>
#include <cstdio>
#include <memory>

#include "editor/editor.h"
#include "platform/scripted_ui.h"

namespace ws::bench {

inline constexpr int kWidth = 1024;
inline constexpr int kHeight = 768;
inline constexpr int kRing = 100;  // quads around the torus
inline constexpr int kTube = 100;  // quads around the tube

// 32 ramps of 8 shades with exact white, black, greys, red, green, blue and
// yellow, as the default palette has them.
inline ColorTable BenchPalette() {
  ColorTable t;
  const RGB16 bases[8] = {{65535, 65535, 65535}, {65535, 0, 0},        {0, 65535, 0},
                          {0, 0, 65535},         {65535, 65535, 0},    {0, 65535, 65535},
                          {65535, 0, 65535},     {34952, 34952, 34952}};
  for (std::size_t i = 0; i < 256; ++i) {
    const RGB16 b = bases[(i / 8) % 8];
    const double k = 1.0 - (i % 8) / 8.0;
    t.Set(i, {static_cast<std::uint16_t>(b.red * k), static_cast<std::uint16_t>(b.green * k),
              static_cast<std::uint16_t>(b.blue * k)});
  }
  t.Set(250, {13107, 13107, 13107});
  t.Set(255, {0, 0, 0});
  return t;
}

struct FrameBench {
  explicit FrameBench(bool withTorus) : editor(rt) {
    Model& m = editor.model;
    m.tables.AllocateObjectTables();
    m.tables.BuildReservedEntries();
    m.colors.current = BenchPalette();
    m.colors.drawing = ComputeDrawingColors(m.colors.current);
    m.colors.valid = true;
    editor.display.clock = &clock;
    editor.InitialiseDisplay();
    editor.LayoutArea(kWidth, kHeight);
    if (withTorus) AddTorus();
    // A slight tilt, so the tube's inner and outer walls both show.
    BeginFreeRotation(m.view);
    FreeRotationStep(m.view, 512, 384, 512, 330, editor.display.layout.cx, editor.display.layout.cy,
                     kWidth - 1);
  }

  void AddTorus() {
    ObjectTables& t = editor.model.tables;
    const double pi = std::acos(-1.0);
    const double major = 230.0, minor = 105.0;
    std::uint32_t index[kRing][kTube];
    for (int i = 0; i < kRing; ++i) {
      for (int j = 0; j < kTube; ++j) {
        const double a = 2 * pi * i / kRing, b = 2 * pi * j / kTube;
        const double r = major + minor * std::cos(b);
        index[i][j] = t.AddPoint(r * std::cos(a), r * std::sin(a), minor * std::sin(b));
      }
    }
    for (int i = 0; i < kRing; ++i) {
      for (int j = 0; j < kTube; ++j) {
        const std::uint32_t c[4] = {index[i][j], index[(i + 1) % kRing][j],
                                    index[(i + 1) % kRing][(j + 1) % kTube],
                                    index[i][(j + 1) % kTube]};
        Polygon& p = t.polygons[t.polygonCount];
        p = Polygon{};
        p.flags = PolyFlag::kDefined;
        p.frontColor = p.backColor = static_cast<std::uint8_t>(8 * (1 + (i + j) % 6));
        p.frontFill = p.backFill = FillWord(p.frontColor);
        p.pointCount = p.vectorCount = 4;
        for (int k = 0; k < 4; ++k) {
          p.points[k] = c[k];
          // Two new edges per quad; the table holds 19,994 of the 20,000.
          if (k < 2 && t.CanAddVectors(1)) {
            const std::uint32_t v = t.AddVector(c[k], c[k + 1]);
            t.vectors[v] = {c[k], c[k + 1], 0, 0, 0, 0, 0, 0};
          }
          p.vectors[k] = 0;
        }
        t.polygonSelected[t.polygonCount] = 0;
        ++t.polygonCount;
      }
    }
  }

  void Frame() {
    EditView& v = editor.view();
    v.ProjectAll();
    v.DrawFrame(0);
    v.Present(editor.display.layout.local, editor.display.layout.editArea);
  }

  double Coverage() {
    Frame();
    const Surface8& s = editor.display.offscreen.shown;
    const std::uint8_t background = editor.model.colors.drawing.black;
    long covered = 0;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) covered += s.At(x, y) != background;
    return static_cast<double>(covered) / (kWidth * kHeight);
  }

  ScriptedUi ui;
  Runtime rt{ui};
  FixedClock clock{0};
  Editor editor;
};

}  // namespace ws::bench
