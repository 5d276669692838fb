// glTF: the reader on small files written by hand (the primitive modes
// that make faces, node transforms, colours to the palette, refusals), what
// the export puts in the file, and random objects exported as .gltf and
// .glb and opened again.
#include <gtest/gtest.h>
#include <tiny_gltf.h>

#include <array>
#include <cstring>
#include <random>

#include "import/gltf_export.h"
#include "import_test_support.h"

namespace tinygltf {
// The library's own encoder, built into the import library with the reader.
std::string base64_encode(unsigned char const* bytes, unsigned int length);
}  // namespace tinygltf

namespace ws {
namespace {

using test::AddPolygon;
using test::ImportFixture;
using test::RunReader;

template <class T>
void Put(std::string& out, std::initializer_list<T> values) {
  for (T v : values) out.append(reinterpret_cast<const char*>(&v), sizeof v);
}

// Five corners (0,0,0) (1,0,0) (1,1,0) (0,1,0) (2,2,0), the byte index
// lists [0 1 2 2 3 0] [0 1 2 3 4] [9 1 2], two bytes of padding, and a
// colour per corner: red, green, blue, black, black.
std::string Buffer() {
  std::string b;
  Put<float>(b, {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 2, 2, 0});
  Put<std::uint8_t>(b, {0, 1, 2, 2, 3, 0, 0, 1, 2, 3, 4, 9, 1, 2, 0, 0});
  Put<float>(b, {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0});
  return b;
}

// A file over Buffer(): accessor 0 the corners, 1 to 3 the index lists, 4
// the colours; one mesh of one primitive; `nodes` as given (default: one
// node with the mesh); `primitive`, `materials`, `accessor0` and the
// primitive's further `attributes` spliced in.
std::string File(const std::string& primitive, const std::string& nodes = R"([{"mesh":0}])",
                 const std::string& materials = "[{}]",
                 const std::string& accessor0 = R"("count":5)",
                 const std::string& attributes = "") {
  return R"({"asset":{"version":"2.0"},"scene":0,"scenes":[{"nodes":[0]}],"nodes":)" + nodes +
         R"(,"meshes":[{"primitives":[{"attributes":{"POSITION":0)" + attributes + "}" + primitive +
         R"(}]}],"materials":)" + materials +
         R"(,"accessors":[{"bufferView":0,"componentType":5126,"type":"VEC3",)" + accessor0 +
         R"(},{"bufferView":1,"componentType":5121,"type":"SCALAR","count":6},)"
         R"({"bufferView":1,"byteOffset":6,"componentType":5121,"type":"SCALAR","count":5},)"
         R"({"bufferView":1,"byteOffset":11,"componentType":5121,"type":"SCALAR","count":3},)"
         R"({"bufferView":2,"componentType":5126,"type":"VEC3","count":5}],)"
         R"("bufferViews":[{"buffer":0,"byteLength":60},{"buffer":0,"byteOffset":60,"byteLength":14},)"
         R"({"buffer":0,"byteOffset":76,"byteLength":60}],)"
         R"("buffers":[{"byteLength":136,"uri":"data:application/octet-stream;base64,)" +
         tinygltf::base64_encode(reinterpret_cast<const unsigned char*>(Buffer().data()), 136) +
         R"("}]})";
}

const Vec3 kCorners[] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {2, 2, 0}};

TEST(GltfReader, PrimitiveModesMakeTheirTriangles) {
  struct Row {
    const char* name;
    std::string primitive;
    std::vector<std::array<int, 3>> faces;
  };
  const Row rows[] = {
      {"triangles, no index list", "", {{0, 1, 2}}},
      {"triangles", R"(,"indices":1)", {{0, 1, 2}, {2, 3, 0}}},
      {"strip", R"(,"indices":2,"mode":5)", {{0, 1, 2}, {2, 1, 3}, {2, 3, 4}}},
      {"fan", R"(,"indices":2,"mode":6)", {{0, 1, 2}, {0, 2, 3}, {0, 3, 4}}},
      {"lines", R"(,"indices":2,"mode":1)", {}},
      {"corner 9 of 5", R"(,"indices":3)", {}},
  };
  for (const Row& row : rows) {
    auto r = RunReader(&ImportGltf, "a.gltf", File(row.primitive));
    ASSERT_TRUE(r.ok) << row.name;
    std::vector<std::vector<Vec3>> want;
    auto cm = [](const Vec3& v) { return Vec3{v.x * 100, v.y * 100, v.z * 100}; };
    // Each triangle turned to the editor's clockwise front.
    for (const auto& f : row.faces)
      want.push_back({cm(kCorners[f[0]]), cm(kCorners[f[2]]), cm(kCorners[f[1]])});
    std::vector<std::vector<Vec3>> got;
    for (const auto& f : r.faces) got.push_back(f.corners);
    EXPECT_EQ(got, want) << row.name;
    // Without a face the user is told why (the scene import adds the file).
    EXPECT_EQ(r.importer->emptyReason(), want.empty() ? "The file's scene has no triangles." : "")
        << row.name;
  }
  auto r = RunReader(&ImportGltf, "a.gltf", File(R"(,"indices":3)"));
  EXPECT_EQ(r.importer->dropped(),
            std::vector<std::string>{"1 triangles name vertices the file does not have"});
}

TEST(GltfReader, NodesMoveTheirMeshesChildFirst) {
  struct Row {
    const char* name;
    std::string nodes;
    Vec3 second, third;
  };
  // The rotation: a quarter turn about z, its components to six decimals.
  const Row rows[] = {
      {"scale, rotation, translation",
       R"([{"mesh":0,"scale":[2,3,1],"rotation":[0,0,0.707107,0.707107],"translation":[1,0,0]}])",
       Vec3{1, 2, 0}, Vec3{-2, 2, 0}},
      {"matrix", R"([{"mesh":0,"matrix":[1,0,0,0,0,1,0,0,0,0,1,0,5,6,7,1]}])", Vec3{6, 6, 7},
       Vec3{6, 7, 7}},
      {"parent and child",
       R"([{"translation":[10,0,0],"children":[1]},{"mesh":0,"scale":[2,2,2]}])", Vec3{12, 0, 0},
       Vec3{12, 2, 0}},
      {"a node its own child", R"([{"mesh":0,"children":[0]}])", {1, 0, 0}, {1, 1, 0}},
  };
  for (const Row& row : rows) {
    auto r = RunReader(&ImportGltf, "a.gltf", File("", row.nodes));
    ASSERT_TRUE(r.ok) << row.name;
    ASSERT_EQ(r.faces.size(), 1u) << row.name;
    const auto& c = r.faces[0].corners;
    // In editor units: a metre is 100.
    const Vec3 want[] = {c[0], row.third, row.second};  // the triangle turned round
    for (int k = 1; k < 3; ++k) {
      EXPECT_LT(Distance(c[k], {want[k].x * 100, want[k].y * 100, want[k].z * 100}), 1e-4)
          << row.name << " corner " << k;
    }
  }
}

TEST(GltfReader, ColoursMatchThePaletteAndDoubleSidedDrawsTheBack) {
  ImportFixture f;
  ColorTable table;
  auto set = [&](std::size_t i, int r, int g, int b) {
    table.Set(i, {static_cast<std::uint16_t>(r * 257), static_cast<std::uint16_t>(g * 257),
                  static_cast<std::uint16_t>(b * 257)});
  };
  set(1, 128, 64, 255), set(2, 85, 85, 85), set(3, 128, 0, 0), set(5, 10, 20, 30),
      set(6, 10, 20, 30);
  set(7, 200, 200, 200), set(4, 127, 0, 0);
  ASSERT_TRUE(WriteClutToFile(f.m().resources, f.m().paths.preferences, kCurrentClutId, table));
  struct Row {
    const char* name;
    std::string primitive, materials;
    std::uint8_t color;
    std::uint32_t flags;
    std::string attributes = "";
  };
  const std::string factor = R"({"pbrMetallicRoughness":{"baseColorFactor":[0.502,0.251,1,1]})";
  const std::string grey =
      R"({"pbrMetallicRoughness":{"baseColorFactor":[0.0392,0.0784,0.1176,1]})";
  const Row rows[] = {
      {"base colour", R"(,"material":0)", "[" + factor + "}]", 1, 0x402},
      {"double-sided", R"(,"material":0)", "[" + factor + R"(,"doubleSided":true}])", 1, 0x002},
      {"no material", "", "[{}]", 7, 0x402},
      {"nearest of 256 levels", R"(,"material":0)",
       R"([{"pbrMetallicRoughness":{"baseColorFactor":[0.50157,0,0,1]}}])", 3, 0x402},
      {"vertex colours", "", "[{}]", 2, 0x402, R"(,"COLOR_0":4)"},
      {"palette entry of another colour", R"(,"material":0)",
       "[" + grey + R"(,"extras":{"paletteIndex":7}}])", 5, 0x402},
  };
  for (const Row& row : rows) {
    const std::string text =
        File(row.primitive, R"([{"mesh":0}])", row.materials, R"("count":5)", row.attributes);
    const std::string path = f.Write("c.gltf", text);
    f.tables().ResetObject();
    ASSERT_TRUE(f.Import(path)) << row.name << testing::PrintToString(f.ui.MessageTexts());
    ASSERT_EQ(f.tables().polygonCount, 1u) << row.name;
    const Polygon& p = f.tables().polygons[0];
    EXPECT_EQ(std::tuple(int(p.frontColor), int(p.backColor), p.flags),
              std::tuple(int(row.color), int(row.color), row.flags))
        << row.name;
  }
}

TEST(GltfReader, BadFilesAreRefusedWithTheirReason) {
  std::string glb("glTF", 4);
  Put<std::uint32_t>(glb, {2, 1000, 20, 0x4E4F534A});
  glb += "{\"asset\":";
  struct Row {
    const char* name;
    std::string text;
    std::string line;
  };
  const Row rows[] = {
      {"no file", std::string(), "Unable to open file '@'"},
      {"not glTF", "this is no glTF", "Unable to load glTF file '@'"},
      {"cut-off binary", glb, "Unable to load glTF file '@'"},
      {"corners past the buffer", File("", R"([{"mesh":0}])", "[{}]", R"("count":6)"),
       "Bad glTF file '@': accessor 0 lies outside its buffer"},
      // 16,000,000 numbers at most: 5,333,333 corners are checked against the buffer, one more is
      // not.
      {"longest list", File("", R"([{"mesh":0}])", "[{}]", R"("count":5333333)"),
       "Bad glTF file '@': accessor 0 lies outside its buffer"},
      {"list too long", File("", R"([{"mesh":0}])", "[{}]", R"("count":5333334)"),
       "Bad glTF file '@': accessor 0 is too long"},
      {"float index list",
       [] {
         std::string t = File(R"(,"indices":1)");
         t.replace(t.find(R"("componentType":5121)"), 20, R"("componentType":5126)");
         return t;
       }(),
       "Bad glTF file '@': accessor 1 has the wrong type"},
      {"corners as numbers", File("", R"([{"mesh":0}])", "[{}]", R"("count":5,"type":"SCALAR")"),
       "Bad glTF file '@': accessor 0 has the wrong type"},
      {"no such colour list",
       File("", R"([{"mesh":0}])", "[{}]", R"("count":5)", R"(,"COLOR_0":9)"),
       "Bad glTF file '@': accessor 9 does not exist"},
      {"stride shorter than a corner",
       [] {
         std::string t = File("");
         t.replace(t.find(R"("byteLength":60})"), 16, R"("byteLength":60,"byteStride":4})");
         return t;
       }(),
       "Bad glTF file '@': accessor 0 lies outside its buffer"},
      {"sparse corners",
       File("", R"([{"mesh":0}])", "[{}]",
            R"("count":5,"sparse":{"count":1,"indices":{"bufferView":1,"componentType":5121},)"
            R"("values":{"bufferView":0}})"),
       "Bad glTF file '@': accessor 0 is sparse, which is not supported"},
  };
  for (const Row& row : rows) {
    auto r = RunReader(&ImportGltf, "bad.glb",
                       row.text.empty() ? std::string_view() : std::string_view(row.text));
    // The first line is ours; a second one may carry the parser's words.
    EXPECT_EQ(std::tuple(r.ok, r.root().children.size(), r.log.at(0)),
              std::tuple(false, 0u, row.line))
        << row.name;
  }
}

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
  AddPolygon(t, {a, c, d}, 0, 3, 5);  // both sides in 3: double-sided material
  AddPolygon(t, {a, b, d}, PolyFlag::kEachSideDifferent, 4,
             5);  // two colours: both faces one-sided
  const auto bytes = FormatGltf(t, table, 1.0, false);
  ASSERT_TRUE(bytes);
  tinygltf::TinyGLTF loader;
  tinygltf::Model m;
  std::string err, warn;
  ASSERT_TRUE(loader.LoadASCIIFromString(&m, &err, &warn, bytes->data(),
                                         static_cast<unsigned>(bytes->size()), ""))
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
  EXPECT_EQ(std::vector<float>(xyz, xyz + 12),
            (std::vector<float>{0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0.5f}));
  using Primitive = std::tuple<std::vector<std::uint32_t>, int, std::string, bool>;
  std::vector<Primitive> got;
  for (const auto& p : m.meshes[0].primitives) {
    const auto& acc = m.accessors[p.indices];
    const auto& v = m.bufferViews[acc.bufferView];
    std::vector<std::uint32_t> indices(acc.count);
    std::memcpy(indices.data(), m.buffers[0].data.data() + v.byteOffset + acc.byteOffset,
                acc.count * 4);
    got.emplace_back(indices, p.material, p.extras.Get("side").Get<std::string>(),
                     p.extras.Get("collision").Get<bool>());
  }
  EXPECT_EQ(got, (std::vector<Primitive>{{{0, 2, 1}, 0, "front", true},
                                         {{0, 3, 2}, 1, "front", false},
                                         {{0, 2, 3}, 1, "back", false},
                                         {{0, 3, 1}, 2, "front", false},
                                         {{0, 1, 3}, 3, "back", false}}));
  EXPECT_EQ(std::tuple(m.nodes[0].name, m.meshes[0].name, m.asset.generator),
            std::tuple(std::string("Default Object"), std::string("Default Object"),
                       std::string("Wirestead")));
}

// Distinct in 8 bits, except that 200..207 repeat 0..7: those can only come
// back through the palette index the file keeps.
ColorTable TestTable() {
  ColorTable t;
  for (std::uint16_t i = 0; i < 256; ++i) {
    const std::uint16_t k = i >= 200 && i < 208 ? i - 200 : i;
    t.Set(i, {static_cast<std::uint16_t>(k * 257), static_cast<std::uint16_t>((255 - k) * 257),
              static_cast<std::uint16_t>(k * 7 % 256 * 257)});
  }
  return t;
}

// 40 distinct points, 25 polygons of 3 to 6 of them with every attribute
// drawn at random; view-zone slot 0 holds the leader of an adopted polygon.
// Polygon 0 repeats its first corner, so that its first triangle is lost.
void MakeRandomObject(ObjectTables& t, std::mt19937& rng) {
  auto pick = [&](std::uint32_t n) { return static_cast<std::uint32_t>(rng() % n); };
  while (t.userPointCount() < 40) {
    t.AddPoint(double(pick(301)) - 150, double(pick(301)) - 150, double(pick(301)) - 150);
  }
  constexpr std::uint32_t kPolygons = 25;
  for (std::uint32_t k = 0; k < kPolygons; ++k) {
    Polygon& p = t.polygons[t.polygonCount++];
    p = Polygon{};
    std::vector<std::uint32_t> points(40);
    for (std::uint32_t i = 0; i < 40; ++i) points[i] = kReservedPoints + i;
    std::shuffle(points.begin(), points.end(), rng);
    p.pointCount = (k == 0 ? 4 : 3) + pick(3);
    std::copy_n(points.begin(), p.pointCount, p.points);
    if (k == 0) p.points[1] = p.points[0];
    p.flags = pick(0x2000) | (pick(4) == 0 ? 0x10000u : 0u);
    p.frontColor = static_cast<std::uint8_t>(pick(256));
    p.backColor = static_cast<std::uint8_t>(pick(256));
    p.viewZoneCount = pick(4);
    for (std::uint32_t z = 0; z < p.viewZoneCount; ++z) {
      p.viewZones[z] = pick(kPolygons) | (pick(2) ? ViewZone::kLowPriority : 0) |
                       (pick(4) == 0 ? ViewZone::kIsVector : 0);
    }
    if (p.flags & PolyFlag::kAdopted) p.viewZones[0] = pick(kPolygons);
  }
}

TEST(GltfRoundTrip, RandomObjectsComeBackAsTrianglesWithColoursAndAttributes) {
  for (const char* name : {"object.gltf", "object.glb"}) {
    for (std::uint32_t seed : {1u, 2u, 3u}) {
      SCOPED_TRACE(std::string(name) + " seed " + std::to_string(seed));
      ImportFixture f;
      const ColorTable table = TestTable();
      ASSERT_TRUE(WriteClutToFile(f.m().resources, f.m().paths.preferences, kCurrentClutId, table));
      std::mt19937 rng(seed);
      MakeRandomObject(f.tables(), rng);
      const std::string path = f.dir.File(name);
      ASSERT_TRUE(ExportObjectAsGltf(f.m(), path, false));
      const std::string bytes = test::ReadFileText(path);
      const bool binary = name == std::string("object.glb");
      // A container, or text with the buffer inside it as a data URI.
      const bool dataUri =
          bytes.find("\"data:application/octet-stream;base64,") != std::string::npos;
      EXPECT_EQ(std::tuple(bytes.starts_with("glTF"), dataUri), std::tuple(binary, !binary));

      // What the import should make of it, in the import's placement.
      const ObjectTables& t = f.tables();
      const std::vector<Polygon> polygons(t.polygons.begin(), t.polygons.begin() + t.polygonCount);
      // The box of the points the polygons use: only those are written.
      Vec3 lo{1e9, 1e9, 1e9}, hi{-1e9, -1e9, -1e9};
      for (const Polygon& p : polygons) {
        for (std::uint32_t c : std::span(p.points, p.pointCount)) {
          const Point& q = t.points[c];
          lo = {std::min(lo.x, q.x), std::min(lo.y, q.y), std::min(lo.z, q.z)};
          hi = {std::max(hi.x, q.x), std::max(hi.y, q.y), std::max(hi.z, q.z)};
        }
      }
      struct Triangle {
        std::uint32_t polygon, index;
        std::array<Vec3, 3> corners;
      };
      std::vector<Triangle> expected;
      for (std::uint32_t k = 0; k < polygons.size(); ++k) {
        const Polygon& p = polygons[k];
        auto at = [&](std::uint32_t i) { return test::Placed(t.points[p.points[i]], lo, hi); };
        for (std::uint32_t i = 1; i + 1 < p.pointCount; ++i) {
          if (p.points[i] != p.points[0]) expected.push_back({k, i - 1, {at(0), at(i), at(i + 1)}});
        }
      }

      f.tables().ResetObject();
      ASSERT_TRUE(f.Import(path)) << (f.ui.Messages().empty() ? "" : f.ui.Messages()[0].text);
      ASSERT_EQ(t.polygonCount, expected.size());
      // Each imported polygon is found by its corners; a polygon is now its
      // first triangle that came through.
      std::vector<const Triangle*> origin;
      std::vector<std::uint32_t> first(polygons.size(), kNoIndex);
      for (std::uint32_t q = 0; q < t.polygonCount; ++q) {
        ASSERT_EQ(t.polygons[q].pointCount, 3u) << q;
        const auto same = [&](const Triangle& e) {
          for (int c = 0; c < 3; ++c) {
            const Point& got = t.points[t.polygons[q].points[c]];
            if (Distance({got.x, got.y, got.z}, e.corners[c]) >= 1e-3) return false;
          }
          return true;
        };
        const auto e = std::find_if(expected.begin(), expected.end(), same);
        ASSERT_NE(e, expected.end()) << "imported polygon " << q << " is no expected triangle";
        origin.push_back(&*e);
        if (first[e->polygon] == kNoIndex) first[e->polygon] = q;
      }
      for (std::uint32_t q = 0; q < t.polygonCount; ++q) {
        const Polygon& got = t.polygons[q];
        const Polygon& p = polygons[origin[q]->polygon];
        const bool back =
            (p.flags & (PolyFlag::kEachSideDifferent | PolyFlag::kNeverDrawBackFace)) ==
            PolyFlag::kEachSideDifferent;
        std::vector<std::uint32_t> zones;
        for (std::uint32_t z = 0; z < p.viewZoneCount; ++z) {
          if (!(p.viewZones[z] & ViewZone::kIsVector)) {
            zones.push_back((p.viewZones[z] & ViewZone::kFlagMask) |
                            first[p.viewZones[z] & ViewZone::kIndexMask]);
          }
        }
        if ((p.flags & PolyFlag::kAdopted) && !zones.empty()) zones[0] = first[p.viewZones[0]];
        EXPECT_EQ(std::tuple(got.frontColor, got.backColor, got.frontFill, got.flags,
                             std::vector(got.viewZones, got.viewZones + got.viewZoneCount)),
                  std::tuple(p.frontColor, back ? p.backColor : p.frontColor,
                             FillWord(p.frontColor), p.flags, zones))
            << "triangle " << origin[q]->index << " of polygon " << origin[q]->polygon;
        if (p.flags & PolyFlag::kAdopted) {
          EXPECT_EQ(got.viewZones[0], first[p.viewZones[0]]) << q;
        }
      }
    }
  }
}

}  // namespace
}  // namespace ws
