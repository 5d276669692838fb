#include "import/scene_walk.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "import_test_support.h"

namespace ws::scene {
namespace {

using test::WalkFaces;

void ExpectNear(const Vec3& a, const Vec3& b, const std::string& what = "") {
  EXPECT_LT(Distance(a, b), 1e-9) << what << ": " << a.x << " " << a.y << " " << a.z;
}

// A triangle face set over three points at z = 0.
IndexedFaceSet& AddTriangles(GroupNode& parent, std::vector<std::int32_t> faces = {0, 1, 2, -1}) {
  parent.Make<Coordinate3>().point = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  IndexedFaceSet& f = parent.Make<IndexedFaceSet>();
  f.coordIndex = std::move(faces);
  return f;
}

TEST(SceneMaterials, BindingsPickTheMaterialNumber) {
  auto diffuseOf = [](Binding binding, std::vector<std::int32_t> materialIndex) {
    Separator root;
    Material& m = root.Make<Material>();
    m.diffuseColor = {{0, 0, 0}, {0.1, 0, 0}, {0.2, 0, 0}};
    m.ambientColor = {{0.5, 0.5, 0.5}};  // shorter list: its last entry
    root.Make<MaterialBinding>(binding);
    AddTriangles(root, {0, 1, 2, -1, 0, 2, 1, -1, 1, 2, 0, -1}).materialIndex = materialIndex;
    std::vector<double> reds;
    for (const auto& face : WalkFaces(root)) {
      EXPECT_EQ(face.material.ambient, (Vec3{0.5, 0.5, 0.5}));
      EXPECT_EQ(face.material.shininess, 0.2);  // an empty list: the default
      reds.push_back(face.material.diffuse.x);
    }
    return reds;
  };
  const std::tuple<Binding, std::vector<std::int32_t>, std::vector<double>> cases[] = {
      {Binding::kOverall, {2, 2, 2}, {0, 0, 0}},
      {Binding::kPerFace, {2, 2, 2}, {0, 0.1, 0.2}},
      {Binding::kPerFaceIndexed, {2, 1, 0}, {0.2, 0.1, 0}},
      {Binding::kPerFaceIndexed, {2}, {0.2, 0.1, 0.2}},       // too short: the face's own number
      {Binding::kPerFaceIndexed, {4, 6, 5}, {0.1, 0, 0.2}}};  // beyond the list: wrapped
  for (const auto& [binding, indices, reds] : cases)
    EXPECT_EQ(diffuseOf(binding, indices), reds) << static_cast<int>(binding);
}

// The first corner of a triangle at (1, 0, 0), (1, 1, 0), (1, 0, 1) after
// the nodes already in `root`.
Vec3 FirstCorner(Separator& root) {
  root.Make<Coordinate3>().point = {{1, 0, 0}, {1, 1, 0}, {1, 0, 1}};
  root.Make<IndexedFaceSet>().coordIndex = {0, 1, 2, -1};
  const auto faces = WalkFaces(root);
  return faces.size() == 1 ? faces[0].corners[0] : Vec3{NAN, NAN, NAN};
}

TEST(SceneState, TransformsAndWhereTheyApply) {
  Separator inSeparator, inGroup, rotated, scaled;
  inSeparator.Make<Separator>().Make<Translation>(Vec3{10, 0, 0});
  ExpectNear(FirstCorner(inSeparator), {1, 0, 0}, "separator");
  inGroup.Make<Group>().Make<Translation>(Vec3{0, 5, 0});  // a Group leaks its state
  ExpectNear(FirstCorner(inGroup), {1, 5, 0}, "group");
  // A quarter turn about z after (10, 0, 0): the later node applies first.
  rotated.Make<Rotation>(Vec3{0, 0, 1}, std::numbers::pi / 2);
  rotated.Make<Translation>(Vec3{10, 0, 0});
  ExpectNear(FirstCorner(rotated), {0, 11, 0}, "rotation");
  scaled.Make<Scale>(Vec3{2, 3, 4});
  scaled.Make<MatrixTransform>().matrix[12] = 1;  // row-vector translation by (1, 0, 0)
  ExpectNear(FirstCorner(scaled), {4, 0, 0}, "scale");
}

TEST(SceneFaceSets, BadIndicesMissingStateAndNonFiniteCornersAreSkipped) {
  Separator root;
  root.Make<IndexedFaceSet>().coordIndex = {0, 1, 2, -1};  // no coordinates yet: nothing
  root.Make<MatrixTransform>().matrix[3] = 1;              // w = x + 1: zero for x = -1
  root.Make<Coordinate3>().point = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {-1, 0, 0}};
  // 7 and -5 name no point, point 3 is at infinity; the last face has no
  // -1 and still counts.
  root.Make<IndexedFaceSet>().coordIndex = {0, 7, 1, -5, 3, 2, -1, 2, 1, 0};
  const auto faces = WalkFaces(root);
  ASSERT_EQ(faces.size(), 2u);
  EXPECT_EQ(faces[0].corners.size() * 10 + faces[1].corners.size(), 33u);
  EXPECT_EQ(faces[1].number, 1);
}

TEST(SceneWalkLimits, DeepNestingIsCutOffWithOneLine) {
  Separator root;
  GroupNode* parent = &root;
  for (int depth = 1; depth <= 30; ++depth) {
    parent = &parent->Make<Separator>("s" + std::to_string(depth));
    AddTriangles(*parent);
  }
  std::vector<std::string> lines;
  EXPECT_EQ(WalkFaces(root, &lines).size(), 24u);  // the root's children are level 0
  EXPECT_EQ(std::count(lines.begin(), lines.end(),
                       "Separators nested more than 25 deep; the innermost part was skipped"),
            1);
  // Grouping nodes count to 200 levels, the root's children included.
  for (int levels : {199, 200}) {
    Separator nested;
    parent = &nested;
    for (int depth = 0; depth < levels; ++depth) parent = &parent->Make<Group>();
    AddTriangles(*parent);
    EXPECT_EQ(WalkFaces(nested).size(), levels < 200 ? 1u : 0u) << levels;
  }
  // Groups nested far deeper neither exhaust the stack nor count.
  Separator deep;
  parent = &deep;
  for (int depth = 0; depth < 100000; ++depth) parent = &parent->Make<Group>();
  AddTriangles(*parent);
  lines.clear();
  EXPECT_TRUE(WalkFaces(deep, &lines).empty());
  EXPECT_EQ(lines.empty() ? "" : lines.back(),
            "Scene nested too deeply; the innermost part was skipped");
}

TEST(SceneWalkProgress, ReportsEachSixPercentPastTheLastAndNamesGroups) {
  Separator root;
  root.Make<Separator>("wing").Make<Group>("tip");
  for (int i = 2; i < 100; ++i) root.Make<Material>();
  test::RecordingAction action;
  std::vector<std::string> lines;
  WalkScene(root, action, [&](std::string_view line) { lines.emplace_back(line); });
  // Of 100 nodes (the nested one counts): 6, 12, ..., 96; 100 would be
  // too close to the last.
  std::vector<std::string> expected;
  for (int p = 6; p < 100; p += 6) expected.push_back("IMPORT_PROGRESS " + std::to_string(p));
  EXPECT_EQ(std::tuple(lines, action.groups),
            std::tuple(expected, std::vector<std::string>{"wing", "tip"}));
}

}  // namespace
}  // namespace ws::scene
