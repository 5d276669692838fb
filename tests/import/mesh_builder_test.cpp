#include "import/mesh_builder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>

#include "import/hand_over.h"
#include "import/scene_walk.h"
#include "import_test_support.h"

namespace ws {
namespace {

std::vector<std::int32_t> List(const BlockArray<std::int32_t>& a) {
  std::vector<std::int32_t> v;
  for (std::size_t i = 0; i < a.size(); ++i) v.push_back(a[i]);
  return v;
}

TEST(MaterialValue, DefaultIsTheDocumentedMaterial) {
  const MaterialValue m;
  EXPECT_EQ(m.ambient, (Vec3{0.2, 0.2, 0.2}));
  EXPECT_EQ(m.diffuse, (Vec3{0.8, 0.8, 0.8}));
  EXPECT_EQ(m.specular, (Vec3{0, 0, 0}));
  EXPECT_EQ(m.emissive, (Vec3{0, 0, 0}));
  EXPECT_EQ(m.shininess, 0.2);
  EXPECT_EQ(m.transparency, 0.0);
}

TEST(MaterialValue, EqualityToleratesLessThanOneHundredThousandth) {
  MaterialValue a, b;
  b.diffuse.x += 0.6e-5;
  b.diffuse.y += 0.6e-5;  // distance 0.85e-5: still equal
  EXPECT_TRUE(EqualMaterials(a, b));
  b.diffuse.z += 0.6e-5;  // distance 1.04e-5: different
  EXPECT_FALSE(EqualMaterials(a, b));

  MaterialValue c;
  c.shininess += 0.9e-5;
  EXPECT_TRUE(EqualMaterials(a, c));
  c.shininess += 0.2e-5;
  EXPECT_FALSE(EqualMaterials(a, c));
  MaterialValue d;
  d.transparency = 1e-5;  // exactly the tolerance is not "less than"
  EXPECT_FALSE(EqualMaterials(a, d));
  MaterialValue e;
  e.emissive = {0, 0, 2e-5};
  EXPECT_FALSE(EqualMaterials(a, e));
}

TEST(BlockArray, HoldsFiveHundredThousandAndRefusesTheNext) {
  BlockArray<std::int32_t> a;
  for (std::int32_t i = 0; i < 500000; ++i) ASSERT_TRUE(a.Append(i));
  EXPECT_TRUE(a.full());
  EXPECT_FALSE(a.Append(-7));
  EXPECT_EQ(a.size(), 500000u);
  // Entries on both sides of every block boundary are where they were put.
  EXPECT_EQ(a[499], 499);
  EXPECT_EQ(a[500], 500);
  EXPECT_EQ(a[499999], 499999);
  a.Clear();
  EXPECT_TRUE(a.empty());
  EXPECT_TRUE(a.Append(3));
  EXPECT_EQ(a[0], 3);
}

TEST(MeshBuilderHash, FollowsTheFormula) {
  // trunc(9.87 * sqrt((12.3*1)^2)) = trunc(121.401) = 121; 121 mod 51 = 19.
  EXPECT_EQ(MeshBuilder::PointBucket(1, 0, 0), 19u);
  // 9.87 * 23.4 * 2 = 461.916 -> 461 mod 51 = 2.
  EXPECT_EQ(MeshBuilder::PointBucket(0, -2, 0), 2u);
  // 9.87 * 34.5 = 340.515 -> 340 mod 51 = 34.
  EXPECT_EQ(MeshBuilder::PointBucket(0, 0, 1), 34u);
  EXPECT_EQ(MeshBuilder::PointBucket(0, 0, 0), 0u);
  // Values that are no numbers still land in a bucket.
  EXPECT_EQ(MeshBuilder::PointBucket(NAN, 0, 0), 0u);
  EXPECT_LT(MeshBuilder::PointBucket(1e300, 1e300, 1e300), 51u);
}

TEST(MeshBuilderWelding, CornersWithinTheToleranceBecomeOnePoint) {
  MeshBuilder b;
  b.BeginFace(nullptr);
  const std::int32_t first = b.AddVertex(1, 2, 3);
  const std::int32_t near = b.AddVertex(1 + 0.5e-5, 2, 3 + 0.5e-5);
  const std::int32_t far = b.AddVertex(1 + 2e-5, 2, 3);
  b.EndFace();
  ASSERT_EQ(MeshBuilder::PointBucket(1, 2, 3), MeshBuilder::PointBucket(1 + 0.5e-5, 2, 3 + 0.5e-5));
  EXPECT_EQ(near, first);
  EXPECT_NE(far, first);
  EXPECT_EQ(b.points().size(), 2u);
  // The face list keeps every corner, the repeated one included.
  EXPECT_EQ(List(b.FaceIndices(0)), (std::vector<std::int32_t>{0, 0, 1, -1}));
}

TEST(MeshBuilderWelding, FirstMatchInTheBucketWins) {
  MeshBuilder b;
  b.BeginFace(nullptr);
  const std::int32_t a = b.AddVertex(5, 0, 0);
  const std::int32_t c = b.AddVertex(5 + 1.5e-5, 0, 0);  // 1.5e-5 from a: a new point
  ASSERT_NE(a, c);
  ASSERT_EQ(MeshBuilder::PointBucket(5, 0, 0), MeshBuilder::PointBucket(5 + 0.75e-5, 0, 0));
  // Within 1e-5 of both: the earlier one is found first.
  EXPECT_EQ(b.AddVertex(5 + 0.75e-5, 0, 0), a);
}

TEST(MeshBuilderMaterials, EqualMaterialsShareOneEntry) {
  MeshBuilder b;
  MaterialValue red;
  red.diffuse = {1, 0, 0};
  MaterialValue almostRed = red;
  almostRed.diffuse.y = 0.5e-5;
  almostRed.shininess += 0.5e-5;
  MaterialValue blue;
  blue.diffuse = {0, 0, 1};
  for (const MaterialValue* m : {&red, &almostRed, &blue, &red}) {
    ASSERT_TRUE(b.BeginFace(m));
    b.AddVertex(0, 0, 0);
    b.EndFace();
  }
  EXPECT_EQ(b.materialTable().size(), 2u);
  EXPECT_EQ(List(b.group(0).faceMaterials), (std::vector<std::int32_t>{0, 0, 1, 0}));
  EXPECT_EQ(b.GroupMaterialCount(0), 2u);
  EXPECT_EQ(b.GroupMaterial(0, 1).diffuse, (Vec3{0, 0, 1}));
  EXPECT_EQ(b.FaceMaterialPosition(0, 2), 1);
  EXPECT_TRUE(b.materialsPresent());
}

TEST(MeshBuilderMaterials, NoMaterialMeansTheDefaultAndSetsTheFlag) {
  MeshBuilder b;
  EXPECT_FALSE(b.materialsPresent());
  b.BeginFace(nullptr);
  b.EndFace();
  EXPECT_TRUE(b.materialsPresent());
  ASSERT_EQ(b.materialTable().size(), 1u);
  EXPECT_TRUE(EqualMaterials(b.materialTable()[0], MaterialValue{}));
}

TEST(MeshBuilderMaterials, AMaterialFirstUsedElsewhereIsNotInTheGroupList) {
  MeshBuilder b;
  MaterialValue red;
  red.diffuse = {1, 0, 0};
  b.BeginFace(&red);
  b.EndFace();
  b.SelectGroup("second");
  b.BeginFace(&red);
  b.EndFace();
  EXPECT_EQ(b.GroupMaterialCount(1), 0u);
  EXPECT_EQ(b.FaceMaterialPosition(1, 0), -1);
  EXPECT_EQ(b.FaceMaterial(1, 0).diffuse, (Vec3{1, 0, 0}));
  EXPECT_EQ(b.FaceMaterialPosition(1, 5), -1);
}

TEST(MeshBuilderGroups, SelectGroupReusesANameAndStopsAt256) {
  MeshBuilder b;
  EXPECT_EQ(b.GroupName(0), "");
  EXPECT_TRUE(b.SelectGroup("wing"));
  EXPECT_EQ(b.currentGroup(), 1u);
  b.BeginFace(nullptr);
  b.AddVertex(1, 0, 0);
  b.EndFace();
  EXPECT_TRUE(b.SelectGroup(""));
  EXPECT_EQ(b.currentGroup(), 0u);
  EXPECT_TRUE(b.SelectGroup("wing"));
  EXPECT_EQ(b.currentGroup(), 1u);
  EXPECT_EQ(b.groupCount(), 2u);
  // Names are compared byte for byte.
  EXPECT_TRUE(b.SelectGroup("Wing"));
  EXPECT_EQ(b.groupCount(), 3u);
  for (int i = 3; i < 256; ++i) ASSERT_TRUE(b.SelectGroup("g" + std::to_string(i)));
  EXPECT_EQ(b.groupCount(), 256u);
  EXPECT_EQ(b.GroupName(255), "g255");
  EXPECT_FALSE(b.SelectGroup("one too many"));
  EXPECT_EQ(b.currentGroup(), 255u);
  EXPECT_EQ(b.groupCount(), 256u);
  EXPECT_EQ(b.GroupName(300), "");
}

TEST(MeshBuilderLimits, AFullFaceListKeepsWholeFaces) {
  MeshBuilder b;
  // Triangles of 3 corners + -1 fill the list four entries at a time.
  b.BeginFace(nullptr);
  std::size_t accepted = 0;
  for (int i = 0; i < 499998; ++i) {
    if (b.AddVertex(i % 7, 0, 0) >= 0) ++accepted;
  }
  b.EndFace();
  // One slot stays for the face's -1.
  EXPECT_EQ(accepted, 499999u - 0u - 1u);
  EXPECT_EQ(b.FaceIndices(0).size(), 499999u);
  EXPECT_EQ(b.FaceIndices(0).back(), -1);
  // A face that cannot even be ended is refused as a whole.
  EXPECT_TRUE(b.BeginFace(nullptr));
  EXPECT_EQ(b.AddVertex(0, 0, 0), -1);
  b.EndFace();
  EXPECT_EQ(b.FaceIndices(0).size(), 500000u);
  EXPECT_FALSE(b.BeginFace(nullptr));
  EXPECT_EQ(b.AddVertex(0, 0, 0), -1);
  b.EndFace();
  EXPECT_EQ(b.FaceIndices(0).size(), 500000u);
  EXPECT_EQ(b.group(0).faceMaterials.size(), 2u);
}

TEST(MeshBuilderLimits, The500001stPointIsRefused) {
  MeshBuilder b;
  // Spread over many groups' face lists, so that only the point list fills.
  int added = 0;
  for (int g = 0; g < 2 && added < 500001; ++g) {
    b.SelectGroup("g" + std::to_string(g));
    b.BeginFace(nullptr);
    for (int i = 0; i < 300000 && added < 500001; ++i, ++added) {
      const std::int32_t p = b.AddVertex(added, 0.5, 0.25);
      if (added < 500000) {
        ASSERT_EQ(p, added);
      } else {
        EXPECT_EQ(p, -1);
      }
    }
    b.EndFace();
  }
  EXPECT_EQ(b.points().size(), 500000u);
  // An existing point is still found.
  b.BeginFace(nullptr);
  EXPECT_EQ(b.AddVertex(7, 0.5, 0.25), 7);
}

// --- The import collector -------------------------------------------------

TEST(ImportCollectorEdges, RecordsEachDistinctEdgeOnceWithTheClosingEdge) {
  ImportCollector c;
  c.BeginFace(nullptr);
  c.AddVertex(0, 0, 0);
  c.AddVertex(1, 0, 0);
  c.AddVertex(1, 1, 0);
  c.AddVertex(0, 1, 0);
  c.EndFace();
  // A second square sharing the edge (1,0)-(1,1), walked the other way.
  c.BeginFace(nullptr);
  c.AddVertex(1, 0, 0);
  c.AddVertex(2, 0, 0);
  c.AddVertex(2, 1, 0);
  c.AddVertex(1, 1, 0);
  c.EndFace();
  EXPECT_EQ(c.points().size(), 6u);
  EXPECT_EQ(c.edges().size(), 7u);
  EXPECT_EQ(List(c.FaceIndices(0)), (std::vector<std::int32_t>{0, 1, 2, 3, -1, 1, 4, 5, 2, -1}));
  // Each corner's edge leaves it; the last corner's edge closes the face.
  EXPECT_EQ(List(c.CornerEdges(0)), (std::vector<std::int32_t>{0, 1, 2, 3, -1, 4, 5, 6, 1, -1}));
  const Edge e = c.edges()[1];
  EXPECT_EQ(std::min(e.p1, e.p2), 1);
  EXPECT_EQ(std::max(e.p1, e.p2), 2);
  EXPECT_EQ(c.facesCollected(), 2u);
  EXPECT_EQ(c.cornersCollected(), 8u);
}

TEST(ImportCollectorEdges, RepeatedCornersRecordNoEdge) {
  ImportCollector c;
  c.BeginFace(nullptr);
  EXPECT_EQ(c.AddVertex(0, 0, 0), 0);
  EXPECT_EQ(c.AddVertex(0, 0, 0), -1);          // the same point again
  EXPECT_EQ(c.AddVertex(0.4e-5, 0, 0), -1);     // welded onto it
  EXPECT_EQ(c.AddVertex(1, 0, 0), 1);
  EXPECT_EQ(c.AddVertex(0, 1, 0), 2);
  EXPECT_EQ(c.AddVertex(0, 0, 0), 0);           // back at the first corner
  c.EndFace();
  EXPECT_EQ(List(c.FaceIndices(0)), (std::vector<std::int32_t>{0, 1, 2, -1}));
  EXPECT_EQ(c.edges().size(), 3u);
  EXPECT_EQ(List(c.CornerEdges(0)), (std::vector<std::int32_t>{0, 1, 2, -1}));
  EXPECT_EQ(c.cornersCollected(), 3u);
}

TEST(ImportCollectorEdges, DegenerateFacesStayParallel) {
  ImportCollector c;
  c.BeginFace(nullptr);  // a single corner: no edge at all
  c.AddVertex(3, 3, 3);
  c.EndFace();
  c.BeginFace(nullptr);  // two corners: one edge, used both ways
  c.AddVertex(3, 3, 3);
  c.AddVertex(4, 3, 3);
  c.EndFace();
  c.BeginFace(nullptr);  // no corner
  c.EndFace();
  EXPECT_EQ(List(c.FaceIndices(0)), (std::vector<std::int32_t>{0, -1, 0, 1, -1, -1}));
  EXPECT_EQ(List(c.CornerEdges(0)), (std::vector<std::int32_t>{-1, -1, 0, 0, -1, -1}));
  EXPECT_EQ(c.edges().size(), 1u);
  EXPECT_EQ(c.facesCollected(), 3u);
}

TEST(ImportCollectorBounds, FirstCornerSetsBothCorners) {
  ImportCollector c;
  EXPECT_FALSE(c.hasBounds());
  c.BeginFace(nullptr);
  c.AddVertex(2, -3, 4);
  EXPECT_TRUE(c.hasBounds());
  EXPECT_EQ(c.boundsMin(), (Vec3{2, -3, 4}));
  EXPECT_EQ(c.boundsMax(), (Vec3{2, -3, 4}));
  c.AddVertex(-1, 5, 4.5);
  c.EndFace();
  EXPECT_EQ(c.boundsMin(), (Vec3{-1, -3, 4}));
  EXPECT_EQ(c.boundsMax(), (Vec3{2, 5, 4.5}));
}

// --- Hand-over ------------------------------------------------------------

TEST(HandOverBuilder, TurnsGroupsIntoFaceSetsAndEmptiesTheBuilder) {
  MeshBuilder b;
  MaterialValue red;
  red.diffuse = {1, 0, 0};
  b.SelectGroup("9lives");
  b.BeginFace(&red);
  b.AddVertex(0, 0, 0);
  b.AddVertex(1, 0, 0);
  b.AddVertex(0, 1, 0);
  b.EndFace();
  b.SelectGroup("empty");
  b.SelectGroup("Top");
  b.BeginFace(nullptr);
  b.AddVertex(0, 0, 0);
  b.AddVertex(0, 0, 1);
  b.AddVertex(1, 0, 0);
  b.EndFace();

  scene::Separator root;
  HandOverBuilder(root, b);
  ASSERT_EQ(root.children.size(), 6u);
  auto* emptyMaterial = dynamic_cast<scene::Material*>(root.children[0].get());
  ASSERT_NE(emptyMaterial, nullptr);
  EXPECT_EQ(emptyMaterial->LongestList(), 0u);
  auto* binding = dynamic_cast<scene::MaterialBinding*>(root.children[1].get());
  ASSERT_NE(binding, nullptr);
  EXPECT_EQ(binding->value, scene::Binding::kPerFaceIndexed);
  auto* table = dynamic_cast<scene::Material*>(root.children[2].get());
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->LongestList(), 2u);
  auto* coords = dynamic_cast<scene::Coordinate3*>(root.children[3].get());
  ASSERT_NE(coords, nullptr);
  EXPECT_EQ(coords->point.size(), 4u);
  auto* first = dynamic_cast<scene::IndexedFaceSet*>(root.children[4].get());
  auto* second = dynamic_cast<scene::IndexedFaceSet*>(root.children[5].get());
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(first->name, "G9lives");
  EXPECT_EQ(second->name, "Top");
  EXPECT_EQ(second->coordIndex, (std::vector<std::int32_t>{0, 3, 1, -1}));
  EXPECT_EQ(second->materialIndex, (std::vector<std::int32_t>{1}));
  EXPECT_EQ(b.points().size(), 0u);
  EXPECT_EQ(b.groupCount(), 1u);
  EXPECT_FALSE(b.materialsPresent());

  // Walked, the faces come back with their own materials.
  const auto faces = test::WalkFaces(root);
  ASSERT_EQ(faces.size(), 2u);
  EXPECT_EQ(faces[0].material.diffuse, (Vec3{1, 0, 0}));
  EXPECT_TRUE(EqualMaterials(faces[1].material, MaterialValue{}));
  EXPECT_EQ(faces[1].corners[1], (Vec3{0, 0, 1}));
}

TEST(HandOverBuilder, WithoutMaterialsBindsOverall) {
  MeshBuilder b;
  b.AddVertex(1, 1, 1);
  b.EndFace();
  scene::Separator root;
  HandOverBuilder(root, b);
  ASSERT_EQ(root.children.size(), 4u);
  auto* binding = dynamic_cast<scene::MaterialBinding*>(root.children[1].get());
  ASSERT_NE(binding, nullptr);
  EXPECT_EQ(binding->value, scene::Binding::kOverall);
  auto* faces = dynamic_cast<scene::IndexedFaceSet*>(root.children[3].get());
  ASSERT_NE(faces, nullptr);
  EXPECT_EQ(faces->name, "G");
  EXPECT_TRUE(faces->materialIndex.empty());
}

// The welding the builder does, against a plain search of every earlier
// point of the same bucket in order.
void ExpectPlainSearchResults(const std::function<Vec3()>& next, int count) {
  MeshBuilder b;
  std::vector<Vec3> reference;
  b.BeginFace(nullptr);
  for (int i = 0; i < count; ++i) {
    const Vec3 q = next();
    std::int32_t expected = -1;
    for (std::size_t k = 0; k < reference.size(); ++k) {
      if (MeshBuilder::PointBucket(reference[k].x, reference[k].y, reference[k].z) ==
              MeshBuilder::PointBucket(q.x, q.y, q.z) &&
          Distance(reference[k], q) < 1e-5) {
        expected = static_cast<std::int32_t>(k);
        break;
      }
    }
    if (expected < 0) {
      reference.push_back(q);
      expected = static_cast<std::int32_t>(reference.size() - 1);
    }
    ASSERT_EQ(b.AddVertex(q.x, q.y, q.z), expected) << i;
  }
}

TEST(MeshBuilderWelding, MatchesAPlainSearchOnRandomPoints) {
  // Clusters whose points are within the tolerance of some neighbours and
  // not of others, on cell and bucket boundaries alike.
  std::mt19937 rng(1234);
  std::uniform_int_distribution<int> cell(0, 25);
  std::uniform_real_distribution<double> jitter(-0.9e-5, 0.9e-5);
  ExpectPlainSearchResults(
      [&] { return Vec3{cell(rng) * 0.1 + jitter(rng), cell(rng) * 0.1 + jitter(rng), jitter(rng)}; },
      6000);
}

TEST(MeshBuilderWelding, MatchesAPlainSearchFarFromTheOrigin) {
  // Where one step between doubles is near or beyond the tolerance.
  std::mt19937 rng(99);
  std::uniform_int_distribution<int> base(0, 6);
  std::uniform_int_distribution<int> steps(-3, 3);
  const double bases[] = {1e9, 3e10, -7e10, 2.5e11, 4e11, -1e13, 1e300};
  ExpectPlainSearchResults(
      [&] {
        double x = bases[base(rng)];
        for (int n = steps(rng); n != 0; n += n > 0 ? -1 : 1) {
          x = std::nextafter(x, n > 0 ? INFINITY : -INFINITY);
        }
        return Vec3{x, steps(rng) * 0.4e-5, 0.0};
      },
      3000);
}

}  // namespace
}  // namespace ws
