// An Editor set up as after start-up, headless: a private base directory
// with a copy of the generated default Preferences file (palette and font),
// the object tables with the axis cross, the colour state, the glyphs, the
// display options of the default preferences record, a stopped ants clock
// and a laid-out EditArea. Plus small builders of test geometry.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "editor/editor.h"
#include "platform/scripted_ui.h"
#include "support/test_support.h"

namespace ws::test {

struct P3 {
  double x, y, z;
};

// A presenter that keeps what it was shown.
class RecordingPresenter final : public Presenter {
 public:
  void Show(const Surface8&, const IntRect&, const IntRect&) override { ++shows; }
  int shows = 0;
};

struct EditorFixture {
  explicit EditorFixture(int width = 160, int height = 120, std::uint32_t seed = 1);

  TempDir dir;
  ScriptedUi ui;
  Runtime rt{ui};
  std::unique_ptr<Editor> editor;
  FixedClock clock{0};
  RecordingPresenter presenter;

  Editor& e() { return *editor; }
  Model& m() { return editor->model; }
  ObjectTables& t() { return editor->model.tables; }
  EditorDisplay& d() { return editor->display; }
  const DrawingColors& colours() { return editor->model.colors.drawing; }
  std::uint8_t Pixel(int x, int y) { return editor->display.offscreen.draw.At(x, y); }
  // ProjectAll + DrawFrame(check); the frame's result.
  int Frame(std::int32_t check = 0);
};

// Appends a point (AddPoint, so equal points are shared).
std::uint32_t AddP(ObjectTables& t, const P3& p);
// A vector between two new-or-shared points; width and colour as given.
std::uint32_t AddLine(ObjectTables& t, const P3& a, const P3& b, std::uint8_t colour = 0,
                      std::uint32_t width = 0);
// A polygon over the points in order, with a vector per edge (shared when
// it exists); both colours `colour` unless `back` is given.
std::uint32_t AddPolygon(ObjectTables& t, const std::vector<P3>& points, std::uint32_t flags,
                         std::uint8_t colour, int back = -1);
// An axis-aligned cube of half size h centred at c, faces wound to face
// outward; returns the first polygon index. Faces in the order front (+z),
// back, right (+x), left, top (+y), bottom.
std::uint32_t AddCube(ObjectTables& t, const P3& c, double h, const std::uint32_t (&flags)[6],
                      const std::uint8_t (&colours)[6]);
// Flags for a cube whose faces carry no attribute.
inline constexpr std::uint32_t kPlainFaces[6] = {};
// A sphere of `bands` x `segments` quads (the poles as triangles), radius r,
// faces outward.
void AddSphere(ObjectTables& t, double r, int bands, int segments, std::uint32_t flags,
               std::uint8_t colour);

}  // namespace ws::test
