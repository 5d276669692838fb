// The material record every reader, the X export and the face collector
// share, and the small vector type of the import paths.
#pragma once

namespace ws {

// x, y, z as doubles; also used for colour triples (red, green, blue, each
// 0.0 to 1.0).
struct Vec3 {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
  bool operator==(const Vec3&) const = default;
};
using ColorTriple = Vec3;

// Colours, points and scalars closer than this count as the same.
inline constexpr double kImportTolerance = 1e-5;

double Distance(const Vec3& a, const Vec3& b);
// Euclidean distance below kImportTolerance.
bool SameColor(const ColorTriple& a, const ColorTriple& b);

struct MaterialValue {
  ColorTriple ambient{0.2, 0.2, 0.2};
  ColorTriple diffuse{0.8, 0.8, 0.8};
  ColorTriple specular{0.0, 0.0, 0.0};
  ColorTriple emissive{0.0, 0.0, 0.0};
  double shininess = 0.2;
  double transparency = 0.0;
  // Seen from both sides: the polygon made of the face draws its back face
  // too (as a double-sided material does elsewhere), instead of a second,
  // reversed copy of the face.
  bool twoSided = false;
};

// All four colour pairs SameColor, shininess and transparency each within
// kImportTolerance, and the same sidedness. (Not operator==: the relation is not transitive.)
bool EqualMaterials(const MaterialValue& a, const MaterialValue& b);

// A material whose colour comes out of the import conversion as exactly
// `color`: ambient black, so diffuse x ambient + diffuse is the diffuse
// colour itself. Readers of formats that give one colour per face use it.
MaterialValue MaterialFromColor(const ColorTriple& color);

}  // namespace ws
