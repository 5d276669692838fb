#include "import/scene_walk.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "import_test_support.h"

namespace ws::scene {
namespace {

using test::WalkFaces;

constexpr double kNear = 1e-9;

void ExpectNear(const Vec3& a, const Vec3& b) {
  EXPECT_NEAR(a.x, b.x, kNear);
  EXPECT_NEAR(a.y, b.y, kNear);
  EXPECT_NEAR(a.z, b.z, kNear);
}

// A unit square face set over four points at z = 0.
void AddSquare(GroupNode& parent) {
  parent.Make<Coordinate3>().point = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
  parent.Make<IndexedFaceSet>().coordIndex = {0, 1, 2, 3, -1};
}

TEST(SceneMaterials, TwoDiffuseColoursPerFaceAlternate) {
  Separator root;
  Material& m = root.Make<Material>();
  m.diffuseColor = {{1, 0, 0}, {0, 0, 1}};
  root.Make<MaterialBinding>(Binding::kPerFace);
  root.Make<Coordinate3>().point = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  root.Make<IndexedFaceSet>().coordIndex = {0, 1, 2, -1, 0, 2, 1, -1, 1, 2, 0, -1, 2, 0, 1, -1};
  const auto faces = WalkFaces(root);
  ASSERT_EQ(faces.size(), 4u);
  EXPECT_EQ(faces[0].material.diffuse, (Vec3{1, 0, 0}));
  EXPECT_EQ(faces[1].material.diffuse, (Vec3{0, 0, 1}));
  EXPECT_EQ(faces[2].material.diffuse, (Vec3{1, 0, 0}));
  EXPECT_EQ(faces[3].material.diffuse, (Vec3{0, 0, 1}));
  // The other lists are empty: black colours, default scalars.
  EXPECT_EQ(faces[1].material.ambient, (Vec3{0, 0, 0}));
  EXPECT_EQ(faces[1].material.shininess, 0.2);
  EXPECT_EQ(faces[3].number, 3);
}

TEST(SceneMaterials, BindingsPickTheMaterialNumber) {
  auto diffuseOf = [](Binding binding, std::vector<std::int32_t> materialIndex) {
    Separator root;
    Material& m = root.Make<Material>();
    m.diffuseColor = {{0, 0, 0}, {0.1, 0, 0}, {0.2, 0, 0}};
    m.ambientColor = {{0.5, 0.5, 0.5}};  // shorter list: its last entry
    root.Make<MaterialBinding>(binding);
    root.Make<Coordinate3>().point = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    IndexedFaceSet& f = root.Make<IndexedFaceSet>();
    f.coordIndex = {0, 1, 2, -1, 0, 2, 1, -1};
    f.materialIndex = std::move(materialIndex);
    std::vector<double> reds;
    for (const auto& face : WalkFaces(root)) {
      EXPECT_EQ(face.material.ambient, (Vec3{0.5, 0.5, 0.5}));
      reds.push_back(face.material.diffuse.x);
    }
    return reds;
  };
  EXPECT_EQ(diffuseOf(Binding::kOverall, {2, 2}), (std::vector<double>{0, 0}));
  EXPECT_EQ(diffuseOf(Binding::kDefault, {2, 2}), (std::vector<double>{0, 0}));
  EXPECT_EQ(diffuseOf(Binding::kPerFace, {2, 2}), (std::vector<double>{0, 0.1}));
  EXPECT_EQ(diffuseOf(Binding::kPerFaceIndexed, {2, 1}), (std::vector<double>{0.2, 0.1}));
  // A list too short for a face: the face's own number.
  EXPECT_EQ(diffuseOf(Binding::kPerFaceIndexed, {2}), (std::vector<double>{0.2, 0.1}));
  // Numbers beyond the longest list wrap around.
  EXPECT_EQ(diffuseOf(Binding::kPerFaceIndexed, {4, 6}), (std::vector<double>{0.1, 0}));
  // Per part counts as per face for a face set.
  EXPECT_EQ(diffuseOf(Binding::kPerPartIndexed, {1, 2}), (std::vector<double>{0.1, 0.2}));
}

TEST(SceneMaterials, NoOrEmptyMaterialNodeGivesTheDefault) {
  Separator root;
  AddSquare(root);
  Separator& second = root.Make<Separator>();
  second.Make<Material>();  // empty: nothing to take modulo
  AddSquare(second);
  const auto faces = WalkFaces(root);
  ASSERT_EQ(faces.size(), 2u);
  EXPECT_TRUE(EqualMaterials(faces[0].material, MaterialValue{}));
  EXPECT_TRUE(EqualMaterials(faces[1].material, MaterialValue{}));
}

TEST(SceneState, TranslationInsideASeparatorStaysThere) {
  Separator root;
  Separator& inner = root.Make<Separator>("inner");
  inner.Make<Translation>(Vec3{10, 0, 0});
  AddSquare(inner);
  AddSquare(root);
  const auto faces = WalkFaces(root);
  ASSERT_EQ(faces.size(), 2u);
  ExpectNear(faces[0].corners[1], {11, 0, 0});
  ExpectNear(faces[1].corners[1], {1, 0, 0});
}

TEST(SceneState, RotationThenTranslationTranslatesFirst) {
  Separator root;
  root.Make<Rotation>(Vec3{0, 0, 1}, std::numbers::pi / 2);
  root.Make<Translation>(Vec3{10, 0, 0});
  root.Make<Coordinate3>().point = {{1, 0, 0}, {1, 1, 0}, {1, 0, 1}};
  root.Make<IndexedFaceSet>().coordIndex = {0, 1, 2, -1};
  const auto faces = WalkFaces(root);
  ASSERT_EQ(faces.size(), 1u);
  // (1,0,0) + (10,0,0) = (11,0,0), then a quarter turn about z: (0,11,0).
  ExpectNear(faces[0].corners[0], {0, 11, 0});
  ExpectNear(faces[0].corners[1], {-1, 11, 0});
  ExpectNear(faces[0].corners[2], {0, 11, 1});
}

TEST(SceneState, ScaleMatrixAndTransformNodes) {
  Separator root;
  root.Make<Scale>(Vec3{2, 3, 4});
  MatrixTransform& m = root.Make<MatrixTransform>();
  m.matrix[12] = 1;  // row-vector translation by (1, 0, 0)
  root.Make<Coordinate3>().point = {{1, 1, 1}};
  root.Make<IndexedFaceSet>().coordIndex = {0, -1};
  auto faces = WalkFaces(root);
  ASSERT_EQ(faces.size(), 1u);
  ExpectNear(faces[0].corners[0], {4, 3, 4});  // moved by (1,0,0), then scaled

  // VRML Transform: scale about the centre, rotate about it, then move.
  Separator t;
  Transform& tr = t.Make<Transform>();
  tr.translation = {0, 0, 5};
  tr.rotationAxis = {0, 0, 1};
  tr.rotationAngle = std::numbers::pi / 2;
  tr.scaleFactor = {2, 1, 1};
  tr.center = {1, 0, 0};
  t.Make<Coordinate3>().point = {{2, 0, 0}};
  t.Make<IndexedFaceSet>().coordIndex = {0, -1};
  faces = WalkFaces(t);
  ASSERT_EQ(faces.size(), 1u);
  // (2,0,0) - centre = (1,0,0); scaled (2,0,0); turned (0,2,0); + centre
  // (1,2,0); + translation (1,2,5).
  ExpectNear(faces[0].corners[0], {1, 2, 5});
}

TEST(SceneState, GroupsLeakStateTransformSeparatorKeepsOnlyTheMatrix) {
  Separator root;
  Group& g = root.Make<Group>("g");
  g.Make<Translation>(Vec3{0, 5, 0});
  TransformSeparator& ts = root.Make<TransformSeparator>();
  ts.Make<Translation>(Vec3{100, 0, 0});
  Material& m = ts.Make<Material>();
  m.diffuseColor = {{0, 1, 0}};
  AddSquare(root);
  const auto faces = WalkFaces(root);
  ASSERT_EQ(faces.size(), 1u);
  ExpectNear(faces[0].corners[0], {0, 5, 0});      // the Group's translation stays
  EXPECT_EQ(faces[0].material.diffuse, (Vec3{0, 1, 0}));  // and the material too
}

TEST(SceneState, SwitchTraversesTheChosenChild) {
  auto count = [](int which) {
    Separator root;
    root.Make<Coordinate3>().point = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    Switch& s = root.Make<Switch>();
    s.whichChild = which;
    for (int i = 0; i < 3; ++i) s.Make<IndexedFaceSet>().coordIndex = {0, 1, 2, -1};
    return WalkFaces(root).size();
  };
  EXPECT_EQ(count(Switch::kNoChild), 0u);
  EXPECT_EQ(count(Switch::kAllChildren), 3u);
  EXPECT_EQ(count(1), 1u);
  EXPECT_EQ(count(3), 0u);
  EXPECT_EQ(count(-2), 0u);
}

TEST(SceneState, LodChoosesByDistanceFromTheOrigin) {
  auto chosen = [](double distance) {
    Separator root;
    root.Make<Translation>(Vec3{distance, 0, 0});
    LOD& lod = root.Make<LOD>();
    lod.range = {10, 20};
    for (int i = 0; i < 3; ++i) {
      Separator& level = lod.Make<Separator>();
      level.Make<Coordinate3>().point = {{0, 0, 0}, {1, 0, 0}, {0, static_cast<double>(i), 1}};
      level.Make<IndexedFaceSet>().coordIndex = {0, 1, 2, -1};
    }
    const auto faces = WalkFaces(root);
    return faces.size() == 1 ? static_cast<int>(faces[0].corners[2].y) : -1;
  };
  EXPECT_EQ(chosen(5), 0);
  EXPECT_EQ(chosen(10), 1);
  EXPECT_EQ(chosen(15), 1);
  EXPECT_EQ(chosen(25), 2);
}

TEST(SceneFaceSets, BadIndicesAndMissingStateAreSkipped) {
  Separator root;
  root.Make<IndexedFaceSet>().coordIndex = {0, 1, 2, -1};  // no coordinates yet: nothing
  root.Make<Coordinate3>().point = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  // 7 and -5 name no point; the last face has no -1 and still counts.
  root.Make<IndexedFaceSet>().coordIndex = {0, 7, 1, -5, 2, -1, 2, 1, 0};
  const auto faces = WalkFaces(root);
  ASSERT_EQ(faces.size(), 2u);
  EXPECT_EQ(faces[0].corners.size(), 3u);
  EXPECT_EQ(faces[1].corners.size(), 3u);
  EXPECT_EQ(faces[1].number, 1);
}

TEST(SceneFaceSets, NonFiniteCornersAreLeftOut) {
  Separator root;
  MatrixTransform& m = root.Make<MatrixTransform>();
  m.matrix[3] = 1;  // w = x + 1: zero for x = -1
  root.Make<Coordinate3>().point = {{-1, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  root.Make<IndexedFaceSet>().coordIndex = {0, 1, 2, 3, -1};
  const auto faces = WalkFaces(root);
  ASSERT_EQ(faces.size(), 1u);
  EXPECT_EQ(faces[0].corners.size(), 3u);
}

TEST(SceneFaceSets, NormalsFollowTheirBinding) {
  Separator root;
  root.Make<Normal>().vector = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  root.Make<NormalBinding>(Binding::kPerVertexIndexed);
  root.Make<Rotation>(Vec3{0, 0, 1}, std::numbers::pi / 2);
  root.Make<Translation>(Vec3{5, 5, 5});  // normals do not move
  root.Make<Coordinate3>().point = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  IndexedFaceSet& f = root.Make<IndexedFaceSet>();
  f.coordIndex = {0, 1, 2, -1};
  f.normalIndex = {2, 0, 9, -1};
  const auto faces = WalkFaces(root);
  ASSERT_EQ(faces.size(), 1u);
  ASSERT_EQ(faces[0].normals.size(), 3u);
  ExpectNear(faces[0].normals[0], {0, 0, 1});
  ExpectNear(faces[0].normals[1], {0, 1, 0});  // (1,0,0) turned a quarter about z
  ExpectNear(faces[0].normals[2], {0, 0, 0});  // 9 names no normal
}

TEST(SceneShapes, SphereHas256FacesOfWhich32AreTriangles) {
  Separator root;
  root.Make<Sphere>(2.0);
  const auto faces = WalkFaces(root);
  ASSERT_EQ(faces.size(), 256u);
  int triangles = 0, quads = 0;
  for (const auto& f : faces) {
    if (f.corners.size() == 3) ++triangles;
    if (f.corners.size() == 4) ++quads;
    for (const Vec3& c : f.corners) EXPECT_NEAR(std::sqrt(c.x * c.x + c.y * c.y + c.z * c.z), 2.0, 1e-12);
  }
  EXPECT_EQ(triangles, 32);
  EXPECT_EQ(quads, 224);
  // The first face touches the north pole; its normal points outwards.
  const auto& c = faces[20].corners;  // a quadrilateral of the second ring
  const Vec3 u{c[1].x - c[0].x, c[1].y - c[0].y, c[1].z - c[0].z};
  const Vec3 v{c[2].x - c[1].x, c[2].y - c[1].y, c[2].z - c[1].z};
  const Vec3 n{u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
  EXPECT_GT(n.x * c[0].x + n.y * c[0].y + n.z * c[0].z, 0);
  ExpectNear(faces[0].corners[0], {0, 2, 0});
}

TEST(SceneShapes, CubeConeAndCylinderParts) {
  Separator root;
  Cube& cube = root.Make<Cube>();
  cube.width = 2;
  cube.height = 4;
  cube.depth = 6;
  auto faces = WalkFaces(root);
  ASSERT_EQ(faces.size(), 6u);
  for (const auto& f : faces) {
    ASSERT_EQ(f.corners.size(), 4u);
    for (const Vec3& c : f.corners) {
      EXPECT_EQ(std::fabs(c.x), 1);
      EXPECT_EQ(std::fabs(c.y), 2);
      EXPECT_EQ(std::fabs(c.z), 3);
    }
  }

  EXPECT_EQ(ConeFaces(1, 0, 2, Parts::kSides | Parts::kBottom, false).size(), 17u);
  EXPECT_EQ(ConeFaces(1, 0, 2, Parts::kSides, false).size(), 16u);
  EXPECT_EQ(ConeFaces(1, 0, 2, Parts::kSides, false)[0].size(), 3u);  // apex merged
  EXPECT_EQ(ConeFaces(1, 1, 2, Parts::kAll, true).size(), 18u);
  EXPECT_EQ(ConeFaces(1, 1, 2, Parts::kTop, true).size(), 1u);
  EXPECT_EQ(ConeFaces(1, 1, 2, Parts::kTop, true)[0].size(), 16u);

  Separator cyl;
  Cylinder& c = cyl.Make<Cylinder>();
  c.parts = Parts::kSides;
  faces = WalkFaces(cyl);
  ASSERT_EQ(faces.size(), 16u);
  EXPECT_EQ(faces[0].corners.size(), 4u);
}

TEST(SceneWalkLimits, SeparatorsBeyondTwentyFiveLevelsAreSkipped) {
  Separator root;
  GroupNode* parent = &root;
  for (int depth = 1; depth <= 30; ++depth) {
    Separator& s = parent->Make<Separator>("s" + std::to_string(depth));
    AddSquare(s);
    parent = &s;
  }
  std::vector<std::string> lines;
  const auto faces = WalkFaces(root, &lines);
  // The root's children start at level 0; 24 Separators can push.
  EXPECT_EQ(faces.size(), 24u);
  EXPECT_EQ(std::count(lines.begin(), lines.end(),
                       "Separators nested more than 25 deep; the innermost part was skipped"),
            1);
}

TEST(SceneWalkLimits, DeepGroupsAreCutOffWithoutExhaustingTheStack) {
  Separator root;
  root.Make<Coordinate3>().point = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  GroupNode* parent = &root;
  for (int depth = 0; depth < 100000; ++depth) parent = &parent->Make<Group>();
  parent->Make<IndexedFaceSet>().coordIndex = {0, 1, 2, -1};
  std::vector<std::string> lines;
  EXPECT_TRUE(WalkFaces(root, &lines).empty());
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "Scene nested too deeply; the innermost part was skipped");
  // Counting and freeing the tree must not recurse that deep either.
}

TEST(SceneWalkProgress, ReportsEverySixPercent) {
  Separator root;
  for (int i = 0; i < 100; ++i) root.Make<Material>();
  std::vector<std::string> lines;
  WalkFaces(root, &lines);
  ASSERT_EQ(lines.size(), 16u);  // 6, 12, ..., 96
  EXPECT_EQ(lines.front(), "IMPORT_PROGRESS 6");
  EXPECT_EQ(lines.back(), "IMPORT_PROGRESS 96");

  // Growth is measured from the last report, not in fixed steps.
  Separator few;
  for (int i = 0; i < 7; ++i) few.Make<Material>();
  lines.clear();
  WalkFaces(few, &lines);
  // 14, 28, 42, 57, 71, 85, 100 percent: each more than 6 past the last.
  EXPECT_EQ(lines, (std::vector<std::string>{"IMPORT_PROGRESS 14", "IMPORT_PROGRESS 28",
                                             "IMPORT_PROGRESS 42", "IMPORT_PROGRESS 57",
                                             "IMPORT_PROGRESS 71", "IMPORT_PROGRESS 85",
                                             "IMPORT_PROGRESS 100"}));
}

TEST(SceneWalkGroups, SeparatorsAnnounceTheirNames) {
  Separator root;
  Separator& a = root.Make<Separator>("wing");
  a.Make<Group>("tip");
  test::RecordingAction action;
  WalkScene(root, action, {});
  EXPECT_EQ(action.groups, (std::vector<std::string>{"wing", "tip"}));
}

}  // namespace
}  // namespace ws::scene
