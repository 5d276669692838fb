#include "import/mesh_builder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>

#include "import_test_support.h"

namespace ws {
namespace {

void AddFace(MeshBuilder& b, std::initializer_list<Vec3> corners,
             const MaterialValue* m = nullptr) {
  b.BeginFace(m);
  for (const Vec3& c : corners) b.AddVertex(c.x, c.y, c.z);
  b.EndFace();
}

TEST(MaterialValue, EqualWithinOneHundredThousandthAndOfTheSameSidedness) {
  const MaterialValue m;
  MaterialValue near = m, far = m, clear = m, twoSided = m;
  near.diffuse = {0.8 + 0.6e-5, 0.8 + 0.6e-5, 0.8};          // distance 0.85e-5
  far.diffuse = {0.8 + 0.6e-5, 0.8 + 0.6e-5, 0.8 + 0.6e-5};  // 1.04e-5
  clear.transparency = 1e-5;  // the tolerance itself is not "less than"
  twoSided.twoSided = true;
  EXPECT_TRUE(EqualMaterials(m, near));
  EXPECT_FALSE(EqualMaterials(m, far) || EqualMaterials(m, clear) || EqualMaterials(m, twoSided));
}

TEST(BlockArray, HoldsFiveHundredThousandAndRefusesTheNext) {
  BlockArray<std::int32_t> a;
  for (std::int32_t i = 0; i < 500000; ++i) ASSERT_TRUE(a.Append(i));
  EXPECT_FALSE(a.Append(-7));
  // Entries on both sides of a block boundary are where they were put.
  EXPECT_EQ(std::tuple(a.full(), a.size(), a[499], a[500], a[499999]),
            std::tuple(true, 500000u, 499, 500, 499999));
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
  EXPECT_EQ(std::tuple(b.currentGroup(), b.groupCount(), b.GroupName(0), b.GroupName(255),
                       b.GroupName(300)),
            std::tuple(255u, 256u, "", "g255", ""));
}

TEST(MeshBuilderLimits, FullListsKeepWholeFaces) {
  MeshBuilder b;
  b.BeginFace(nullptr);
  std::size_t accepted = 0;
  for (int i = 0; i < 499998; ++i) accepted += b.AddVertex(i % 7, 0, 0) >= 0;
  b.EndFace();
  // One slot stays for the face's -1.
  EXPECT_EQ(std::tuple(accepted, b.FaceIndices(0).size()), std::tuple(499998u, 499999u));
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
  p.BeginFace(nullptr);
  EXPECT_EQ(p.AddVertex(7, 0.5, 0.25), 7);
  EXPECT_EQ(p.points().size(), 500000u);
}

}  // namespace
}  // namespace ws
