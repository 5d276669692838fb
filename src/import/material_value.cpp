#include "import/material_value.h"

#include <cmath>

namespace ws {

double Distance(const Vec3& a, const Vec3& b) {
  const double dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

bool SameColor(const ColorTriple& a, const ColorTriple& b) {
  return Distance(a, b) < kImportTolerance;
}

bool EqualMaterials(const MaterialValue& a, const MaterialValue& b) {
  return SameColor(a.ambient, b.ambient) && SameColor(a.diffuse, b.diffuse) &&
         SameColor(a.specular, b.specular) && SameColor(a.emissive, b.emissive) &&
         std::fabs(a.shininess - b.shininess) < kImportTolerance &&
         std::fabs(a.transparency - b.transparency) < kImportTolerance && a.twoSided == b.twoSided;
}

MaterialValue MaterialFromColor(const ColorTriple& color) {
  MaterialValue m;
  m.ambient = {0.0, 0.0, 0.0};
  m.diffuse = color;
  return m;
}

}  // namespace ws
