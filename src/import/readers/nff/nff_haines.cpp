// Eric Haines' NFF (the ray-tracing test scenes): one entity per line,
// "#" comment lines. The viewpoint ("v" and its from/at/up/angle/hither/
// resolution lines), the background ("b") and the lights ("l") are
// skipped, as is every word this reader does not know. "f r g b [Kd Ks
// Shine T ior]" sets the current material; "p n" and "pp n" are polygons
// (and patches) whose n vertices follow one per line (a patch vertex also
// carries a normal, not used); "s x y z r" is a sphere and "c" a cone or
// cylinder whose base "x y z r" and apex "x y z r" follow on two lines.
//
// Polygons go into a MeshBuilder handed over into a first Separator;
// each sphere, cone and cylinder becomes a Separator of its own with the
// current Material, its placement and a Sphere, Cone or Cylinder node.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "import/hand_over.h"
#include "import/mesh_builder.h"
#include "import/readers/nff/nff_lines.h"

namespace ws::nff {
namespace {

using namespace scene;

// n numbers from the reader; false when one is missing.
bool Numbers(TokenReader& reader, double* out, int n) {
  for (int i = 0; i < n; ++i) {
    const std::optional<double> d = reader.Double();
    if (!d) return false;
    out[i] = *d;
  }
  return true;
}

MaterialValue FillMaterial(const double* v, int count) {
  MaterialValue m = MaterialFromColor({v[0], v[1], v[2]});
  if (count >= 5) m.specular = {v[4], v[4], v[4]};
  if (count >= 6) m.shininess = std::clamp(v[5] / 128.0, 0.0, 1.0);
  if (count >= 7) m.transparency = std::clamp(v[6], 0.0, 1.0);
  return m;
}

Separator& ShapeSeparator(Separator& root, const MaterialValue& material) {
  Separator& s = root.Make<Separator>();
  s.Make<Material>().Append(material);
  return s;
}

// Places a shape built along y (from -h/2 to +h/2) between base and apex.
void PlaceAlong(Separator& s, const Vec3& base, const Vec3& apex, double length) {
  const Vec3 middle{(base.x + apex.x) / 2, (base.y + apex.y) / 2, (base.z + apex.z) / 2};
  const Vec3 d{(apex.x - base.x) / length, (apex.y - base.y) / length, (apex.z - base.z) / length};
  s.Make<Translation>(middle);
  // The rotation that takes the y axis onto d: about y x d.
  const Vec3 axis{d.z, 0, -d.x};
  const double sine = std::sqrt(axis.x * axis.x + axis.z * axis.z);
  if (sine > 1e-12) {
    s.Make<Rotation>(axis, std::atan2(sine, d.y));
  } else if (d.y < 0) {
    s.Make<Rotation>(Vec3{1, 0, 0}, std::numbers::pi);
  }
}

}  // namespace

bool ReadHaines(std::string_view text, Importer& importer, const std::string& path) {
  NffLines lines(text, importer, "#", false);
  Separator& root = importer.root();
  Separator& polygons = root.Make<Separator>("polygons");
  MeshBuilder builder;
  MaterialValue current;
  std::string_view line;
  auto error = [&] { return SyntaxError(importer, path, lines.lineNumber()); };

  while (lines.Next(line)) {
    TokenReader reader(line);
    const std::string_view word = reader.Token();
    if (word == "f") {
      double v[8];
      int count = 0;
      for (; count < 8; ++count) {
        const std::optional<double> d = reader.Double();
        if (!d) break;
        v[count] = *d;
      }
      if (count < 3) return error();
      current = FillMaterial(v, count);
    } else if (word == "s") {
      double v[4];
      if (!Numbers(reader, v, 4)) return error();
      const double radius = std::fabs(v[3]);
      if (radius == 0) continue;
      Separator& s = ShapeSeparator(root, current);
      s.Make<Translation>(Vec3{v[0], v[1], v[2]});
      s.Make<Sphere>(radius);
    } else if (word == "c") {
      double b[4], a[4];
      if (!lines.Next(line)) return error();
      TokenReader baseLine(line);
      if (!Numbers(baseLine, b, 4)) return error();
      if (!lines.Next(line)) return error();
      TokenReader apexLine(line);
      if (!Numbers(apexLine, a, 4)) return error();
      const Vec3 base{b[0], b[1], b[2]}, apex{a[0], a[1], a[2]};
      const double length = Distance(base, apex);
      if (!(length > 0) || !std::isfinite(length)) continue;
      const double baseRadius = std::fabs(b[3]), apexRadius = std::fabs(a[3]);
      Separator& s = ShapeSeparator(root, current);
      PlaceAlong(s, base, apex, length);
      // Ray-tracing cones and cylinders are open tubes.
      if (baseRadius == apexRadius) {
        Cylinder& c = s.Make<Cylinder>();
        c.radius = baseRadius;
        c.height = length;
        c.parts = Parts::kSides;
      } else {
        Cone& c = s.Make<Cone>();
        c.bottomRadius = baseRadius;
        c.topRadius = apexRadius;
        c.height = length;
        c.parts = Parts::kSides;
      }
    } else if (word == "p" || word == "pp") {
      const std::optional<std::int64_t> n = WholeNumber(reader.Token());
      if (!n) return error();
      builder.BeginFace(&current);
      for (std::int64_t i = 0; i < *n; ++i) {
        double v[3];
        if (!lines.Next(line)) return error();
        TokenReader vertex(line);
        if (!Numbers(vertex, v, 3)) return error();
        builder.AddVertex(v[0], v[1], v[2]);
      }
      builder.EndFace();
    }
  }
  HandOverBuilder(polygons, builder);
  return true;
}

}  // namespace ws::nff
