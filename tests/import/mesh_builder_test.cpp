#include "import/mesh_builder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>

#include "import/hand_over.h"
#include "import_test_support.h"

namespace ws {
namespace {

std::vector<std::int32_t> List(const BlockArray<std::int32_t>& a) {
  std::vector<std::int32_t> v;
  for (std::size_t i = 0; i < a.size(); ++i) v.push_back(a[i]);
  return v;
}

void AddFace(MeshBuilder& b, std::initializer_list<Vec3> corners,
             const MaterialValue* m = nullptr) {
  b.BeginFace(m);
  for (const Vec3& c : corners) b.AddVertex(c.x, c.y, c.z);
  b.EndFace();
}

TEST(MaterialValue, DefaultAndEqualityWithinOneHundredThousandth) {
  const MaterialValue m;
  EXPECT_EQ((std::vector<Vec3>{m.ambient, m.diffuse, m.specular, m.emissive}),
            (std::vector<Vec3>{{0.2, 0.2, 0.2}, {0.8, 0.8, 0.8}, {0, 0, 0}, {0, 0, 0}}));
  EXPECT_EQ(std::tuple(m.shininess, m.transparency, m.twoSided), std::tuple(0.2, 0.0, false));
  MaterialValue near = m, far = m, shiny = m, clear = m, twoSided = m;
  near.diffuse = {0.8 + 0.6e-5, 0.8 + 0.6e-5, 0.8};          // distance 0.85e-5
  far.diffuse = {0.8 + 0.6e-5, 0.8 + 0.6e-5, 0.8 + 0.6e-5};  // 1.04e-5
  shiny.shininess += 0.9e-5;
  clear.transparency = 1e-5;  // the tolerance itself is not "less than"
  twoSided.twoSided = true;
  EXPECT_TRUE(EqualMaterials(m, near) && EqualMaterials(m, shiny));
  EXPECT_FALSE(EqualMaterials(m, far) || EqualMaterials(m, clear) || EqualMaterials(m, twoSided));
}

TEST(BlockArray, HoldsFiveHundredThousandAndRefusesTheNext) {
  BlockArray<std::int32_t> a;
  for (std::int32_t i = 0; i < 500000; ++i) ASSERT_TRUE(a.Append(i));
  EXPECT_TRUE(a.full());
  EXPECT_FALSE(a.Append(-7));
  // Entries on both sides of a block boundary are where they were put.
  EXPECT_EQ(std::tuple(a.size(), a[499], a[500], a[499999]), std::tuple(500000u, 499, 500, 499999));
  a.Clear();
  EXPECT_TRUE(a.empty() && a.Append(3) && a[0] == 3);
}

TEST(MeshBuilderHash, FollowsTheFormula) {
  // trunc(9.87 x 12.3) = 121 -> 19; 9.87 x 23.4 x 2 = 461.9 -> 2; 9.87 x 34.5 = 340.5 -> 34.
  EXPECT_EQ((std::vector<std::size_t>{
                MeshBuilder::PointBucket(1, 0, 0), MeshBuilder::PointBucket(0, -2, 0),
                MeshBuilder::PointBucket(0, 0, 1), MeshBuilder::PointBucket(NAN, 0, 0)}),
            (std::vector<std::size_t>{19, 2, 34, 0}));
  EXPECT_LT(MeshBuilder::PointBucket(1e300, 1e300, 1e300), 51u);
}

TEST(MeshBuilderWelding, CornersWithinTheToleranceBecomeOnePointTheFirstFoundWins) {
  MeshBuilder b;
  b.BeginFace(nullptr);
  const std::int32_t first = b.AddVertex(1, 2, 3);
  EXPECT_EQ(b.AddVertex(1 + 0.5e-5, 2, 3 + 0.5e-5), first);
  EXPECT_NE(b.AddVertex(1 + 2e-5, 2, 3), first);
  b.EndFace();
  EXPECT_EQ(b.points().size(), 2u);
  EXPECT_EQ(List(b.FaceIndices(0)), (std::vector<std::int32_t>{0, 0, 1, -1}));  // every corner kept
  const std::int32_t a = b.AddVertex(5, 0, 0);
  ASSERT_NE(b.AddVertex(5 + 1.5e-5, 0, 0), a);
  EXPECT_EQ(b.AddVertex(5 + 0.75e-5, 0, 0), a);  // within 1e-5 of both: the earlier one
}

// The welding the builder does, against a plain search of every earlier
// point of the same bucket in order.
void ExpectPlainSearchResults(const std::function<Vec3()>& next, int count) {
  MeshBuilder b;
  std::vector<Vec3> reference;
  b.BeginFace(nullptr);
  for (int i = 0; i < count; ++i) {
    const Vec3 q = next();
    std::size_t expected = 0;
    while (expected < reference.size() &&
           !(MeshBuilder::PointBucket(reference[expected].x, reference[expected].y,
                                      reference[expected].z) ==
                 MeshBuilder::PointBucket(q.x, q.y, q.z) &&
             Distance(reference[expected], q) < 1e-5)) {
      ++expected;
    }
    if (expected == reference.size()) reference.push_back(q);
    ASSERT_EQ(b.AddVertex(q.x, q.y, q.z), static_cast<std::int32_t>(expected)) << i;
  }
}

TEST(MeshBuilderWelding, MatchesAPlainSearchNearAndFarFromTheOrigin) {
  // Clusters whose points are within the tolerance of some neighbours and
  // not of others, on cell and bucket boundaries alike.
  std::mt19937 rng(1234);
  std::uniform_int_distribution<int> cell(0, 25);
  std::uniform_real_distribution<double> jitter(-0.9e-5, 0.9e-5);
  ExpectPlainSearchResults(
      [&] {
        return Vec3{cell(rng) * 0.1 + jitter(rng), cell(rng) * 0.1 + jitter(rng), jitter(rng)};
      },
      6000);
  // Where one step between doubles is near or beyond the tolerance.
  std::uniform_int_distribution<int> base(0, 6), steps(-3, 3);
  const double bases[] = {1e9, 3e10, -7e10, 2.5e11, 4e11, -1e13, 1e300};
  ExpectPlainSearchResults(
      [&] {
        double x = bases[base(rng)];
        for (int n = steps(rng); n != 0; n += n > 0 ? -1 : 1)
          x = std::nextafter(x, n > 0 ? INFINITY : -INFINITY);
        return Vec3{x, steps(rng) * 0.4e-5, 0.0};
      },
      3000);
}

TEST(MeshBuilderMaterials, EqualMaterialsShareOneEntry) {
  MeshBuilder b;
  EXPECT_FALSE(b.materialsPresent());
  const MaterialValue red = MaterialFromColor({1, 0, 0}), blue = MaterialFromColor({0, 0, 1});
  MaterialValue almostRed = red;
  almostRed.diffuse.y = 0.5e-5;
  almostRed.shininess += 0.5e-5;
  for (const MaterialValue* m : {&red, &std::as_const(almostRed), &blue, &red}) AddFace(b, {}, m);
  EXPECT_EQ(List(b.group(0).faceMaterials), (std::vector<std::int32_t>{0, 0, 1, 0}));
  EXPECT_EQ(
      std::tuple(b.materialTable().size(), b.GroupMaterialCount(0), b.FaceMaterialPosition(0, 2)),
      std::tuple(2u, 2u, 1));
  EXPECT_EQ(b.GroupMaterial(0, 1).diffuse, (Vec3{0, 0, 1}));
  EXPECT_TRUE(b.materialsPresent());
  // A material first used by another group is not in this group's list;
  // none is the default, a new entry.
  b.SelectGroup("second");
  AddFace(b, {}, &red);
  AddFace(b, {});
  EXPECT_EQ(std::tuple(b.GroupMaterialCount(1), b.FaceMaterialPosition(1, 0),
                       b.FaceMaterialPosition(1, 5)),
            std::tuple(1u, -1, -1));
  EXPECT_EQ(b.FaceMaterial(1, 0).diffuse, (Vec3{1, 0, 0}));
  EXPECT_TRUE(EqualMaterials(b.FaceMaterial(1, 1), MaterialValue{}));
}

TEST(MeshBuilderGroups, SelectGroupReusesANameAndStopsAt256) {
  MeshBuilder b;
  std::vector<std::size_t> current;
  for (const char* name : {"wing", "", "wing", "Wing"}) {  // names compare byte for byte
    EXPECT_TRUE(b.SelectGroup(name));
    AddFace(b, {{1, 0, 0}});
    current.push_back(b.currentGroup());
  }
  EXPECT_EQ(current, (std::vector<std::size_t>{1, 0, 1, 2}));
  for (int i = 3; i < 256; ++i) ASSERT_TRUE(b.SelectGroup("g" + std::to_string(i)));
  EXPECT_FALSE(b.SelectGroup("one too many"));
  EXPECT_EQ(std::tuple(b.currentGroup(), b.groupCount()), std::tuple(255u, 256u));
  EXPECT_EQ(std::tuple(b.GroupName(0), b.GroupName(255), b.GroupName(300)),
            std::tuple("", "g255", ""));
}

TEST(MeshBuilderLimits, FullListsKeepWholeFaces) {
  MeshBuilder b;
  b.BeginFace(nullptr);
  std::size_t accepted = 0;
  for (int i = 0; i < 499998; ++i) accepted += b.AddVertex(i % 7, 0, 0) >= 0;
  b.EndFace();
  EXPECT_EQ(accepted, 499998u);  // one slot stays for the face's -1
  EXPECT_EQ(b.FaceIndices(0).size(), 499999u);
  // A face that can hold no corner ends at once; one that cannot even be
  // ended is refused as a whole.
  EXPECT_TRUE(b.BeginFace(nullptr));
  EXPECT_EQ(b.AddVertex(0, 0, 0), -1);
  b.EndFace();
  EXPECT_FALSE(b.BeginFace(nullptr));
  b.EndFace();
  EXPECT_EQ(
      std::tuple(b.FaceIndices(0).size(), b.FaceIndices(0).back(), b.group(0).faceMaterials.size()),
      std::tuple(500000u, -1, 2u));
  // The 500,001st point is refused; an existing one is still found.
  MeshBuilder p;
  for (int g = 0; g < 2; ++g) {
    p.SelectGroup("g" + std::to_string(g));
    p.BeginFace(nullptr);
    for (int i = g * 300000; i < std::min(500001, (g + 1) * 300000); ++i) {
      ASSERT_EQ(p.AddVertex(i, 0.5, 0.25), i < 500000 ? i : -1) << i;
    }
    p.EndFace();
  }
  EXPECT_EQ(p.points().size(), 500000u);
  p.BeginFace(nullptr);
  EXPECT_EQ(p.AddVertex(7, 0.5, 0.25), 7);
}

// --- The import collector -------------------------------------------------

TEST(ImportCollectorEdges, EachDistinctEdgeOnceWithTheClosingEdge) {
  ImportCollector c;
  EXPECT_FALSE(c.hasBounds());
  // Two squares sharing the edge (1,0)-(1,1), walked the other way.
  AddFace(c, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}});
  AddFace(c, {{1, 0, 0}, {2, 0, -1}, {2, 1, 0.5}, {1, 1, 0}});
  EXPECT_EQ(c.points().size(), 6u);
  EXPECT_EQ(c.edges().size(), 7u);
  EXPECT_EQ(List(c.FaceIndices(0)), (std::vector<std::int32_t>{0, 1, 2, 3, -1, 1, 4, 5, 2, -1}));
  // Each corner's edge leaves it; the last corner's edge closes the face.
  EXPECT_EQ(List(c.CornerEdges(0)), (std::vector<std::int32_t>{0, 1, 2, 3, -1, 4, 5, 6, 1, -1}));
  EXPECT_EQ(std::minmax(c.edges()[1].p1, c.edges()[1].p2), std::minmax(1, 2));
  EXPECT_EQ(c.facesCollected(), 2u);
  EXPECT_EQ(c.cornersCollected(), 8u);
  EXPECT_EQ(c.boundsMin(), (Vec3{0, 0, -1}));
  EXPECT_EQ(c.boundsMax(), (Vec3{2, 1, 0.5}));
  ImportCollector d;  // the first corner sets both corners of the box
  d.BeginFace(nullptr);
  d.AddVertex(2, -3, 4);
  EXPECT_TRUE(d.hasBounds());
  EXPECT_EQ(d.boundsMin(), (Vec3{2, -3, 4}));
  EXPECT_EQ(d.boundsMax(), (Vec3{2, -3, 4}));
}

TEST(ImportCollectorEdges, RepeatedCornersAndDegenerateFacesStayParallel) {
  ImportCollector c;
  c.BeginFace(nullptr);
  EXPECT_EQ(c.AddVertex(0, 0, 0), 0);
  EXPECT_EQ(c.AddVertex(0, 0, 0), -1);       // the same point again
  EXPECT_EQ(c.AddVertex(0.4e-5, 0, 0), -1);  // welded onto it
  EXPECT_EQ(c.AddVertex(1, 0, 0), 1);
  EXPECT_EQ(c.AddVertex(0, 1, 0), 2);
  EXPECT_EQ(c.AddVertex(0, 0, 0), 0);  // back at the first corner
  c.EndFace();
  EXPECT_EQ(c.cornersCollected(), 3u);
  AddFace(c, {{3, 3, 3}});             // a single corner: no edge at all
  AddFace(c, {{3, 3, 3}, {4, 3, 3}});  // two corners: one edge, used both ways
  AddFace(c, {});                      // no corner
  EXPECT_EQ(List(c.FaceIndices(0)), (std::vector<std::int32_t>{0, 1, 2, -1, 3, -1, 3, 4, -1, -1}));
  EXPECT_EQ(List(c.CornerEdges(0)), (std::vector<std::int32_t>{0, 1, 2, -1, -1, -1, 3, 3, -1, -1}));
  EXPECT_EQ(c.edges().size(), 4u);
  EXPECT_EQ(c.facesCollected(), 4u);
}

// --- Hand-over ------------------------------------------------------------

TEST(HandOverBuilder, TurnsGroupsIntoFaceSetsAndEmptiesTheBuilder) {
  MeshBuilder b;
  const MaterialValue red = MaterialFromColor({1, 0, 0});
  b.SelectGroup("9lives");
  AddFace(b, {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, &red);
  b.SelectGroup("empty");
  b.SelectGroup("Top");
  AddFace(b, {{0, 0, 0}, {0, 0, 1}, {1, 0, 0}});
  scene::Separator root;
  HandOverBuilder(root, b);
  ASSERT_EQ(root.children.size(), 6u);
  EXPECT_EQ(dynamic_cast<scene::Material&>(*root.children[0]).LongestList(), 0u);
  EXPECT_EQ(dynamic_cast<scene::MaterialBinding&>(*root.children[1]).value,
            scene::Binding::kPerFaceIndexed);
  EXPECT_EQ(dynamic_cast<scene::Material&>(*root.children[2]).LongestList(), 2u);
  EXPECT_EQ(dynamic_cast<scene::Coordinate3&>(*root.children[3]).point.size(), 4u);
  const auto& first = dynamic_cast<scene::IndexedFaceSet&>(*root.children[4]);
  const auto& second = dynamic_cast<scene::IndexedFaceSet&>(*root.children[5]);
  EXPECT_EQ(first.name, "G9lives");
  EXPECT_EQ(second.name, "Top");
  EXPECT_EQ(second.coordIndex, (std::vector<std::int32_t>{0, 3, 1, -1}));
  EXPECT_EQ(second.materialIndex, (std::vector<std::int32_t>{1}));
  EXPECT_EQ(b.points().size(), 0u);
  EXPECT_EQ(b.groupCount(), 1u);
  EXPECT_FALSE(b.materialsPresent());
  // Without materials: bound overall, no material indices.
  MeshBuilder plain;
  plain.AddVertex(1, 1, 1);
  plain.EndFace();
  scene::Separator bare;
  HandOverBuilder(bare, plain);
  ASSERT_EQ(bare.children.size(), 4u);
  EXPECT_EQ(dynamic_cast<scene::MaterialBinding&>(*bare.children[1]).value,
            scene::Binding::kOverall);
  EXPECT_EQ(dynamic_cast<scene::IndexedFaceSet&>(*bare.children[3]).name, "G");
  EXPECT_TRUE(dynamic_cast<scene::IndexedFaceSet&>(*bare.children[3]).materialIndex.empty());
}

}  // namespace
}  // namespace ws
