// What the glTF export puts in the file: triangle winding, materials per
// palette entry and sidedness, and the primitives' extras.
#include <gtest/gtest.h>

#include <cstring>
#include <tiny_gltf.h>

#include "import/gltf_export.h"
#include "import_test_support.h"

namespace ws {
namespace {

using test::AddPolygon;

TEST(GltfExport, TrianglesRunCounterClockwiseWithOneMaterialPerEntryAndSide) {
  test::ModelFixture f;
  ColorTable table;
  table.Set(3, {0xFFFF, 0x8000, 0x0001});
  table.Set(4, {0, 0x1234, 0});
  table.Set(5, {0, 0, 0xFFFF});
  ObjectTables& t = f.tables();
  const std::uint32_t a = t.AddPoint(0, 0, 0), b = t.AddPoint(100, 0, 0), c = t.AddPoint(0, 100, 0),
                      d = t.AddPoint(0, 0, 50);
  AddPolygon(t, {a, b, c}, PolyFlag::kNeverDrawBackFace | PolyFlag::kCollision, 3, 5);
  AddPolygon(t, {a, c, d}, 0, 3, 5);                     // both sides in 3: double-sided material
  AddPolygon(t, {a, b, d}, PolyFlag::kEachSideDifferent, 4, 5);  // two colours: both faces one-sided
  const auto bytes = FormatGltf(t, table, 1.0, false);
  ASSERT_TRUE(bytes);
  tinygltf::TinyGLTF loader;
  tinygltf::Model m;
  std::string err, warn;
  ASSERT_TRUE(loader.LoadASCIIFromString(&m, &err, &warn, bytes->data(), static_cast<unsigned>(bytes->size()), ""))
      << err;

  std::vector<std::tuple<std::vector<double>, bool, int>> materials;
  for (const auto& x : m.materials) {
    materials.emplace_back(x.pbrMetallicRoughness.baseColorFactor, x.doubleSided,
                           x.extras.Get("paletteIndex").GetNumberAsInt());
  }
  const std::vector<double> c3 = {1.0, 0x8000 / 65535.0, 1 / 65535.0, 1.0};
  const std::vector<double> c4 = {0.0, 0x1234 / 65535.0, 0.0, 1.0};
  const std::vector<double> c5 = {0.0, 0.0, 1.0, 1.0};
  EXPECT_EQ(materials, (std::vector<std::tuple<std::vector<double>, bool, int>>{
                           {c3, false, 3}, {c3, true, 3}, {c4, false, 4}, {c5, false, 5}}));

  // Vertices by first use: a 0, b 1, c 2, d 3, in metres.
  const auto& pos = m.accessors[0];
  const auto& view = m.bufferViews[pos.bufferView];
  float xyz[12];
  std::memcpy(xyz, m.buffers[0].data.data() + view.byteOffset, sizeof xyz);
  EXPECT_EQ(std::vector<float>(xyz, xyz + 12), (std::vector<float>{0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0.5f}));
  using Primitive = std::tuple<std::vector<std::uint32_t>, int, std::string, bool>;
  std::vector<Primitive> got;
  for (const auto& p : m.meshes[0].primitives) {
    const auto& acc = m.accessors[p.indices];
    const auto& v = m.bufferViews[acc.bufferView];
    std::vector<std::uint32_t> indices(acc.count);
    std::memcpy(indices.data(), m.buffers[0].data.data() + v.byteOffset + acc.byteOffset, acc.count * 4);
    got.emplace_back(indices, p.material, p.extras.Get("side").Get<std::string>(),
                     p.extras.Get("collision").Get<bool>());
  }
  EXPECT_EQ(got, (std::vector<Primitive>{{{0, 2, 1}, 0, "front", true},
                                         {{0, 3, 2}, 1, "front", false},
                                         {{0, 2, 3}, 1, "back", false},
                                         {{0, 3, 1}, 2, "front", false},
                                         {{0, 1, 3}, 3, "back", false}}));
  EXPECT_EQ(std::tuple(m.nodes[0].name, m.meshes[0].name, m.asset.generator),
            std::tuple(std::string("Default Object"), std::string("Default Object"), std::string("Wirestead")));
}

}  // namespace
}  // namespace ws
