// The scene nodes that the scene readers build and the import walks
// (their walk, state and shapes are in scene_walk.h).
//
// A scene is a tree: grouping nodes own their children. Node fields follow
// the VRML 1.0 nodes of the same names; a reader fills them from untrusted
// files, so the walk checks every index against the lists it names and
// never assumes a field is consistent with another.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "import/material_value.h"

namespace ws::scene {

class SceneWalk;

// Material and normal binding values.
enum class Binding : int {
  kDefault = 1,
  kOverall = 2,
  kPerPart = 4,
  kPerPartIndexed = 8,
  kPerFace = 16,
  kPerFaceIndexed = 32,
  kPerVertex = 64,
  kPerVertexIndexed = 128,
};

// 4 x 4 doubles, row-vector convention: a point (x, y, z) becomes
// (x*m0 + y*m4 + z*m8 + m12, x*m1 + y*m5 + z*m9 + m13,
//  x*m2 + y*m6 + z*m10 + m14), each divided by x*m3 + y*m7 + z*m11 + m15.
using Matrix = std::array<double, 16>;
Matrix IdentityMatrix();
// a x b: a point moved by the result is moved by a, then by b.
Matrix Multiply(const Matrix& a, const Matrix& b);
Vec3 TransformPoint(const Matrix& m, const Vec3& p);
// The linear part only (normals do not move with translations).
Vec3 TransformDirection(const Matrix& m, const Vec3& v);
Matrix TranslationMatrix(const Vec3& t);
Matrix ScaleMatrix(const Vec3& s);
// Right-handed rotation by `angle` radians about `axis` (any length; a zero
// axis gives the identity).
Matrix RotationMatrix(const Vec3& axis, double angle);

class SceneNode {
 public:
  explicit SceneNode(std::string name = {}) : name(std::move(name)) {}
  virtual ~SceneNode() = default;
  SceneNode(const SceneNode&) = delete;
  SceneNode& operator=(const SceneNode&) = delete;

  // The same for every node: Apply, count the node, report progress.
  void Traverse(SceneWalk& walk);
  // What this kind of node does to the walk.
  virtual void Apply(SceneWalk& walk) = 0;
  // This node and everything below it.
  virtual std::size_t CountNodes() const { return 1; }

  std::string name;
};

// Base of the nodes that hold children.
// Counting and destruction do not recurse, so a tree of any depth is safe
// to count and to free.
class GroupNode : public SceneNode {
 public:
  using SceneNode::SceneNode;
  ~GroupNode() override;
  std::size_t CountNodes() const override;

  SceneNode& Add(std::unique_ptr<SceneNode> child) {
    children.push_back(std::move(child));
    return *children.back();
  }
  template <class T, class... Args>
  T& Make(Args&&... args) {
    auto node = std::make_unique<T>(std::forward<Args>(args)...);
    T& ref = *node;
    children.push_back(std::move(node));
    return ref;
  }
  // Walks the children in order.
  void TraverseChildren(SceneWalk& walk);

  std::vector<std::unique_ptr<SceneNode>> children;
};

// Saves the whole state for its children.
class Separator : public GroupNode {
 public:
  using GroupNode::GroupNode;
  void Apply(SceneWalk& walk) override;
};

// Its children change the state of what follows it.
class Group : public GroupNode {
 public:
  using GroupNode::GroupNode;
  void Apply(SceneWalk& walk) override;
};

// Saves the current matrix alone.
class TransformSeparator : public GroupNode {
 public:
  using GroupNode::GroupNode;
  void Apply(SceneWalk& walk) override;
};

class Switch : public GroupNode {
 public:
  static constexpr int kAllChildren = -3;
  static constexpr int kNoChild = -1;
  using GroupNode::GroupNode;
  void Apply(SceneWalk& walk) override;
  int whichChild = kNoChild;
};

// Level of detail: child i is chosen when range[i-1] <= d < range[i], d the
// distance from the viewer (the origin of the scene) to `center` moved by
// the current matrix; the last child when d is beyond every range, the
// first when there are no ranges.
class LOD : public GroupNode {
 public:
  using GroupNode::GroupNode;
  void Apply(SceneWalk& walk) override;
  std::vector<double> range;
  Vec3 center;
};

class Material : public SceneNode {
 public:
  using SceneNode::SceneNode;
  void Apply(SceneWalk& walk) override;

  // The longest of the six lists; 0 for an empty node.
  std::size_t LongestList() const;
  // Material number n (taken modulo the longest list): each field entry n
  // of its own list, its last entry when the list is shorter, black for an
  // empty colour list, the default for an empty scalar list. An empty node
  // gives the default MaterialValue.
  MaterialValue ValueAt(std::size_t n) const;
  void Append(const MaterialValue& value);

  std::vector<ColorTriple> ambientColor, diffuseColor, specularColor, emissiveColor;
  std::vector<double> shininess, transparency;
  // Filled by Append only (no scene format has the field): empty means
  // one-sided.
  std::vector<std::uint8_t> twoSided;
};

class MaterialBinding : public SceneNode {
 public:
  explicit MaterialBinding(Binding v = Binding::kOverall) : value(v) {}
  void Apply(SceneWalk& walk) override;
  Binding value;
};

class NormalBinding : public SceneNode {
 public:
  explicit NormalBinding(Binding v = Binding::kDefault) : value(v) {}
  void Apply(SceneWalk& walk) override;
  Binding value;
};

class Coordinate3 : public SceneNode {
 public:
  using SceneNode::SceneNode;
  void Apply(SceneWalk& walk) override;
  std::vector<Vec3> point;
};

class Normal : public SceneNode {
 public:
  using SceneNode::SceneNode;
  void Apply(SceneWalk& walk) override;
  std::vector<Vec3> vector;
};

// Faces over the current coordinates: each face its point indices followed
// by -1 (a last face without its -1 counts too). Entries that name no point
// are skipped.
class IndexedFaceSet : public SceneNode {
 public:
  using SceneNode::SceneNode;
  void Apply(SceneWalk& walk) override;
  std::vector<std::int32_t> coordIndex;
  std::vector<std::int32_t> materialIndex;
  std::vector<std::int32_t> normalIndex;
};

// The transformation nodes combine their own matrix N with the current one
// M into N x M: a node's transformation applies before those above it.
class TransformNode : public SceneNode {
 public:
  using SceneNode::SceneNode;
  void Apply(SceneWalk& walk) override;
  virtual Matrix OwnMatrix() const = 0;
};

class Translation : public TransformNode {
 public:
  explicit Translation(Vec3 t = {}) : translation(t) {}
  Matrix OwnMatrix() const override { return TranslationMatrix(translation); }
  Vec3 translation;
};

class Rotation : public TransformNode {
 public:
  Rotation(Vec3 axis = {0, 0, 1}, double angle = 0) : axis(axis), angle(angle) {}
  Matrix OwnMatrix() const override { return RotationMatrix(axis, angle); }
  Vec3 axis;
  double angle;  // radians
};

class Scale : public TransformNode {
 public:
  explicit Scale(Vec3 f = {1, 1, 1}) : scaleFactor(f) {}
  Matrix OwnMatrix() const override { return ScaleMatrix(scaleFactor); }
  Vec3 scaleFactor;
};

class MatrixTransform : public TransformNode {
 public:
  MatrixTransform() : matrix(IdentityMatrix()) {}
  explicit MatrixTransform(const Matrix& m) : matrix(m) {}
  Matrix OwnMatrix() const override { return matrix; }
  Matrix matrix;
};

// VRML 1.0 Transform: scale about the centre in the scale orientation,
// then rotate about the centre, then translate.
class Transform : public TransformNode {
 public:
  Matrix OwnMatrix() const override;
  Vec3 translation;
  Vec3 rotationAxis{0, 0, 1};
  double rotationAngle = 0;
  Vec3 scaleFactor{1, 1, 1};
  Vec3 scaleOrientationAxis{0, 0, 1};
  double scaleOrientationAngle = 0;
  Vec3 center;
};

// Parts of the cone and the cylinder.
namespace Parts {
inline constexpr unsigned kSides = 1;
inline constexpr unsigned kBottom = 2;
inline constexpr unsigned kTop = 4;
inline constexpr unsigned kAll = kSides | kBottom | kTop;
}  // namespace Parts

// A box centred on the origin; six four-cornered faces.
class Cube : public SceneNode {
 public:
  using SceneNode::SceneNode;
  void Apply(SceneWalk& walk) override;
  double width = 2, height = 2, depth = 2;
};

// 16 rings x 16 segments about the y axis; the faces at the poles are
// triangles.
class Sphere : public SceneNode {
 public:
  explicit Sphere(double r = 1) : radius(r) {}
  void Apply(SceneWalk& walk) override;
  double radius;
};

// Axis y, from -height/2 to +height/2, 16 segments. topRadius 0 (VRML's
// cone) closes the sides at an apex; a non-zero one cuts the cone off
// there (the open cones of ray-tracing scenes).
class Cone : public SceneNode {
 public:
  using SceneNode::SceneNode;
  void Apply(SceneWalk& walk) override;
  double bottomRadius = 1, topRadius = 0, height = 2;
  unsigned parts = Parts::kSides | Parts::kBottom;
};

class Cylinder : public SceneNode {
 public:
  using SceneNode::SceneNode;
  void Apply(SceneWalk& walk) override;
  double radius = 1, height = 2;
  unsigned parts = Parts::kAll;
};

}  // namespace ws::scene
