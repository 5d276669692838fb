#include "import/scene_nodes.h"

#include <algorithm>
#include <cmath>

namespace ws::scene {

Matrix IdentityMatrix() { return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; }

Matrix Multiply(const Matrix& a, const Matrix& b) {
  Matrix r{};
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      double sum = 0;
      for (int k = 0; k < 4; ++k) sum += a[i * 4 + k] * b[k * 4 + j];
      r[i * 4 + j] = sum;
    }
  }
  return r;
}

Vec3 TransformPoint(const Matrix& m, const Vec3& p) {
  const double x = p.x * m[0] + p.y * m[4] + p.z * m[8] + m[12];
  const double y = p.x * m[1] + p.y * m[5] + p.z * m[9] + m[13];
  const double z = p.x * m[2] + p.y * m[6] + p.z * m[10] + m[14];
  const double w = p.x * m[3] + p.y * m[7] + p.z * m[11] + m[15];
  return {x / w, y / w, z / w};
}

Vec3 TransformDirection(const Matrix& m, const Vec3& v) {
  return {v.x * m[0] + v.y * m[4] + v.z * m[8], v.x * m[1] + v.y * m[5] + v.z * m[9],
          v.x * m[2] + v.y * m[6] + v.z * m[10]};
}

Matrix TranslationMatrix(const Vec3& t) {
  Matrix m = IdentityMatrix();
  m[12] = t.x;
  m[13] = t.y;
  m[14] = t.z;
  return m;
}

Matrix ScaleMatrix(const Vec3& s) {
  Matrix m = IdentityMatrix();
  m[0] = s.x;
  m[5] = s.y;
  m[10] = s.z;
  return m;
}

Matrix RotationMatrix(const Vec3& axis, double angle) {
  const double length = std::sqrt(axis.x * axis.x + axis.y * axis.y + axis.z * axis.z);
  if (!(length > 0) || !std::isfinite(length)) return IdentityMatrix();
  const double x = axis.x / length, y = axis.y / length, z = axis.z / length;
  const double c = std::cos(angle), s = std::sin(angle), t = 1 - c;
  // The column-vector rotation R (Rodrigues), stored transposed for the
  // row-vector convention: m[i * 4 + j] = R[j][i].
  const double r[3][3] = {{t * x * x + c, t * x * y - s * z, t * x * z + s * y},
                          {t * x * y + s * z, t * y * y + c, t * y * z - s * x},
                          {t * x * z - s * y, t * y * z + s * x, t * z * z + c}};
  Matrix m = IdentityMatrix();
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) m[i * 4 + j] = r[j][i];
  }
  return m;
}

GroupNode::~GroupNode() {
  // Take the grandchildren out before each child goes, so that no
  // destructor ever meets a deep subtree.
  std::vector<std::unique_ptr<SceneNode>> pending = std::move(children);
  while (!pending.empty()) {
    std::unique_ptr<SceneNode> node = std::move(pending.back());
    pending.pop_back();
    if (auto* group = dynamic_cast<GroupNode*>(node.get())) {
      for (auto& child : group->children) pending.push_back(std::move(child));
      group->children.clear();
    }
  }
}

std::size_t GroupNode::CountNodes() const {
  std::size_t n = 0;
  std::vector<const SceneNode*> pending{this};
  while (!pending.empty()) {
    const SceneNode* node = pending.back();
    pending.pop_back();
    ++n;
    if (const auto* group = dynamic_cast<const GroupNode*>(node)) {
      for (const auto& child : group->children) pending.push_back(child.get());
    }
  }
  return n;
}

std::size_t Material::LongestList() const {
  return std::max({ambientColor.size(), diffuseColor.size(), specularColor.size(),
                   emissiveColor.size(), shininess.size(), transparency.size()});
}

namespace {

template <class T>
T Entry(const std::vector<T>& list, std::size_t n, T whenEmpty) {
  if (list.empty()) return whenEmpty;
  return n < list.size() ? list[n] : list.back();
}

}  // namespace

MaterialValue Material::ValueAt(std::size_t n) const {
  const std::size_t longest = LongestList();
  const MaterialValue defaults;
  if (longest == 0) return defaults;
  n %= longest;
  const ColorTriple black{0, 0, 0};
  MaterialValue v;
  v.ambient = Entry(ambientColor, n, black);
  v.diffuse = Entry(diffuseColor, n, black);
  v.specular = Entry(specularColor, n, black);
  v.emissive = Entry(emissiveColor, n, black);
  v.shininess = Entry(shininess, n, defaults.shininess);
  v.transparency = Entry(transparency, n, defaults.transparency);
  v.twoSided = Entry<std::uint8_t>(twoSided, n, 0) != 0;
  return v;
}

void Material::Append(const MaterialValue& value) {
  ambientColor.push_back(value.ambient);
  diffuseColor.push_back(value.diffuse);
  specularColor.push_back(value.specular);
  emissiveColor.push_back(value.emissive);
  shininess.push_back(value.shininess);
  transparency.push_back(value.transparency);
  twoSided.push_back(value.twoSided ? 1 : 0);
}

Matrix Transform::OwnMatrix() const {
  const Vec3 minusCenter{-center.x, -center.y, -center.z};
  // The VRML 1.0 sequence, first node first; each later node's matrix
  // goes in front, as the walk would combine separate nodes.
  const Matrix steps[] = {TranslationMatrix(translation),
                          TranslationMatrix(center),
                          RotationMatrix(rotationAxis, rotationAngle),
                          RotationMatrix(scaleOrientationAxis, scaleOrientationAngle),
                          ScaleMatrix(scaleFactor),
                          RotationMatrix(scaleOrientationAxis, -scaleOrientationAngle),
                          TranslationMatrix(minusCenter)};
  Matrix m = IdentityMatrix();
  for (const Matrix& step : steps) m = Multiply(step, m);
  return m;
}

}  // namespace ws::scene
