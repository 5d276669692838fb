// The DirectX import: what an X file's frames, meshes and materials become
// in the scene, what is refused, and the round trip through the export.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

#include "import/readers/x/x_loader.h"
#include "import/x_export.h"
#include "import_test_support.h"

namespace ws {
namespace {

using test::ImportFixture;
using test::RunReader;

const char kMesh[] =
    "  Mesh m1 {\n"
    "   4; 0;0;0;, 1;0;0;, 1;1;0;, 0;1;0;;\n"
    "   3; 3;0,1,2;, 3;0,2,3;, 4;0,1,2,3;;\n"
    "   MeshMaterialList { 2; 2; 1, 0;;\n"  // two indexes for three faces
    "    { Red }\n"
    "    Material { 0;0.5;0;1;; 5; 0;0;0;; 0;0;0;; }\n"
    "   }\n"
    "   MeshNormals { 4; 0;0;1;, 0;0;1;, 0;0;1;, 0;0;1;; 1; 3;0,0,0;; }\n"
    "   MeshTextureCoords { 3; 0;0;, 1;0;, 1;1;; }\n"
    "  }\n";

std::string Scene() {
  return std::string(
             "xof 0303txt 0032\n"
             "Header { 1; 0; 1; }\n"
             "Material Red { 1;0;0;1;; 0; 0;0;0;; 0;0;0;; }\n"
             "Frame _1st {\n"
             " FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 100,0,0,1;; }\n"
             " Frame {\n") +
         kMesh + " }\n}\nMesh { 3; 0;0;5;, 1;0;5;, 0;1;5;; 1; 3;0,1,2;; }\n";
}

// Frames nest as Separators (named, "G" before a name that does not start
// with a letter) and never move their meshes; a short material index list
// keeps its last entry for the remaining faces; a material may be a
// reference; top-level objects other than frames and meshes are ignored.
TEST(XImport, FramesMeshesAndMaterialsBecomeTheScene) {
  test::ReadResult r = RunReader(ImportXFile, "scene.x", Scene());
  ASSERT_TRUE(r.ok) << testing::PrintToString(r.log);
  EXPECT_EQ(r.Errors(), std::vector<std::string>{});
  auto separators = r.Children<scene::Separator>();
  ASSERT_EQ(separators.size(), 1u);
  EXPECT_EQ(separators[0]->name, "G_1st");
  ASSERT_EQ(separators[0]->children.size(), 1u);
  auto* inner = dynamic_cast<scene::Separator*>(separators[0]->children[0].get());
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(inner->name, "");
  EXPECT_EQ(r.Children<scene::Coordinate3>().size(), 1u);  // the top-level mesh

  using Face = std::pair<std::vector<Vec3>, ColorTriple>;
  const ColorTriple red{1, 0, 0}, green{0, 0.5, 0};
  const std::vector<Face> want = {
      {{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, green},
      {{{0, 0, 0}, {1, 1, 0}, {0, 1, 0}}, red},
      {{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, red},
      {{{0, 0, 5}, {1, 0, 5}, {0, 1, 5}}, MaterialValue{}.diffuse},  // no material list: the default
  };
  std::vector<Face> got;
  for (const auto& face : r.faces) got.emplace_back(face.corners, face.material.diffuse);
  EXPECT_EQ(got, want);

  // What the loader keeps beside the scene: the frame's matrix, normals
  // that come one per vertex, texture coordinates only when they do too.
  const std::string text = Scene();
  std::string error;
  auto root = ximport::LoadX({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}, &error);
  ASSERT_TRUE(root) << error;
  const ximport::XNode& frame = root->children.at(0);
  ASSERT_TRUE(frame.matrix);
  EXPECT_EQ((*frame.matrix)[12], 100);
  const ximport::XMesh& mesh = frame.children.at(0).children.at(0).mesh;
  EXPECT_EQ(std::tuple(mesh.normals.size(), mesh.textureCoords.size(), mesh.faceMaterials),
            std::tuple(4u, 0u, std::vector<std::uint32_t>{1, 0, 0}));
  EXPECT_EQ(mesh.materials.at(1).power, 5);
}

// A face may name any of more than 65,535 vertices: indices keep 32 bits.
TEST(XImport, VertexIndicesAboveSixteenBitsDoNotWrap) {
  std::string text = "xof 0303txt 0032\nMesh big {\n65540;\n";
  for (int i = 0; i < 65540; ++i) text += std::to_string(i) + ";0;0;" + (i + 1 < 65540 ? ",\n" : ";\n");
  text += "1; 3;65537,1,65539;;\n}\n";
  test::ReadResult r = RunReader(ImportXFile, "big.x", text);
  ASSERT_TRUE(r.ok);
  ASSERT_EQ(r.faces.size(), 1u);
  EXPECT_EQ(r.faces[0].corners, (std::vector<Vec3>{{65537, 0, 0}, {1, 0, 0}, {65539, 0, 0}}));
}

// Refusals name the file; when the library or the loader refuses, the
// reason follows on its own line. A file may declare its own Mesh template,
// so the loader checks the counts itself.
TEST(XImport, UnreadableFilesAreRefusedWithTheirReason) {
  const std::string own = "xof 0303txt 0032\ntemplate Mesh { <3D82AB44-62DA-11cf-AB39-0020AF71E433> DWORD n; ";
  struct Row { const char* name; std::string text, reason; };
  const Row rows[] = {
      {"missing", "", ""},
      {"not x", "hello there, this is no X file", "not an X file"},
      {"vertex count", own + "array FLOAT v[2]; [...] }\nMesh m { 1; 0.5, 1.5; }\n",
       "mesh 'm': its vertex count is more than its vertices"},
      {"face count", own + "array FLOAT v[3]; DWORD f; [...] }\nMesh m { 1; 0, 1, 2; 1; }\n",
       "mesh 'm': its face count is more than its faces"},
      {"face indices", own + "array FLOAT v[3]; DWORD f; DWORD k; DWORD i; [...] }\nMesh m { 1; 0, 1, 2; 1; 2; 0; }\n",
       "mesh 'm': face 0 has fewer indices than it says"},
  };
  for (const Row& row : rows) {
    const bool missing = row.text.empty();
    test::ReadResult r = RunReader(ImportXFile, "f.x", missing ? std::string_view() : std::string_view(row.text));
    EXPECT_FALSE(r.ok) << row.name;
    EXPECT_TRUE(r.root().children.empty()) << row.name;
    if (missing) {
      EXPECT_EQ(r.Errors(), std::vector<std::string>{"Unable to open file '" + r.path + "'"});
      continue;
    }
    ASSERT_EQ(r.Errors().size(), 2u) << row.name;
    EXPECT_EQ(r.Errors()[0], "Unable to load DirectX file '" + r.path + "'") << row.name;
    EXPECT_NE(r.Errors()[1].find(row.reason), std::string::npos) << row.name << ": " << r.Errors()[1];
  }
}


// Random objects written by the export and read back through Open: every
// visible polygon comes back as its front face in its own winding and
// colour, and (unless it never draws its back) as its back face, wound
// the other way, in the back colour when each side has its own.
TEST(XImport, ExportThenImportGivesTheSameFacesAndColours) {
  std::mt19937 rng(15);
  for (int round = 0; round < 40; ++round) {
    ImportFixture f;
    // A palette far apart in every component: each colour comes back as
    // itself although the file keeps six decimals of it.
    ColorTable table;
    for (std::size_t i = 0; i < 216; ++i) {
      auto c = [&](std::size_t v) { return static_cast<std::uint16_t>(v * 51 * 257); };
      table.Set(i, {c(i / 36), c(i / 6 % 6), c(i % 6)});
    }
    ASSERT_TRUE(WriteClutToFile(f.m().resources, f.m().paths.preferences, kCurrentClutId, table));
    ObjectTables& t = f.tables();
    std::vector<Vec3> pool;
    for (int i = 0; i < 9; ++i) {
      const Vec3 p{double(rng() % 101) - 50, double(rng() % 101) - 50, double(rng() % 101) - 50};
      if (std::find(pool.begin(), pool.end(), p) == pool.end()) pool.push_back(p);
    }
    const std::uint32_t first = t.pointCount;
    for (const Vec3& p : pool) t.AddPoint(p.x, p.y, p.z);
    const std::uint32_t flagChoices[] = {0, PolyFlag::kNeverDrawBackFace, PolyFlag::kEachSideDifferent,
                                         PolyFlag::kInvisible};
    std::map<std::vector<std::uint32_t>, int> want;  // canonical corners + colour -> count
    auto canonical = [](std::vector<std::uint32_t> c, std::uint32_t color) {
      std::rotate(c.begin(), std::min_element(c.begin(), c.end()), c.end());
      c.push_back(1000 + color);
      return c;
    };
    std::vector<std::vector<std::uint32_t>> used;
    std::vector<bool> visible(pool.size());
    for (int n = 1 + rng() % 8; n > 0; --n) {
      std::vector<std::uint32_t> c(pool.size());
      for (std::uint32_t i = 0; i < c.size(); ++i) c[i] = i;
      std::shuffle(c.begin(), c.end(), rng);
      c.resize(3);
      const Vec3 a = pool[c[0]], b = pool[c[1]], d = pool[c[2]];
      const Vec3 u{b.x - a.x, b.y - a.y, b.z - a.z}, v{d.x - a.x, d.y - a.y, d.z - a.z};
      const Vec3 normal{u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
      if (Distance(normal, {}) < 1) continue;  // a triangle, not a line
      auto sorted = c;
      std::sort(sorted.begin(), sorted.end());
      if (std::find(used.begin(), used.end(), sorted) != used.end()) continue;
      used.push_back(sorted);
      Polygon& p = t.polygons[t.polygonCount++];
      p = Polygon{};
      for (std::uint32_t i : c) p.points[p.pointCount++] = first + i;
      p.flags = flagChoices[rng() % 4];
      // Not entry 0: black has no colour of its own in the file's material
      // and is written as the format's default grey.
      p.frontColor = static_cast<std::uint8_t>(1 + rng() % 215);
      p.backColor = static_cast<std::uint8_t>(1 + rng() % 215);
      if (p.flags & PolyFlag::kInvisible) continue;
      for (std::uint32_t i : c) visible[i] = true;
      ++want[canonical(c, p.frontColor)];
      if (p.flags & PolyFlag::kNeverDrawBackFace) continue;
      ++want[canonical({c[2], c[1], c[0]}, p.flags & PolyFlag::kEachSideDifferent ? p.backColor : p.frontColor)];
    }
    const std::string path = f.dir.File("r.x");
    ASSERT_TRUE(ExportObjectAsX(f.m(), path, false));
    if (want.empty()) continue;

    // Where the import puts each point: placed in the box of the points
    // written.
    Vec3 lo{1e9, 1e9, 1e9}, hi{-1e9, -1e9, -1e9};
    for (std::size_t i = 0; i < pool.size(); ++i) {
      if (!visible[i]) continue;
      lo = {std::min(lo.x, pool[i].x), std::min(lo.y, pool[i].y), std::min(lo.z, pool[i].z)};
      hi = {std::max(hi.x, pool[i].x), std::max(hi.y, pool[i].y), std::max(hi.z, pool[i].z)};
    }
    auto placed = [&](const Vec3& p) { return test::Placed(p, lo, hi); };

    t.ResetObject();
    ASSERT_TRUE(f.Import(path, FirstDispatch(path).flip)) << "round " << round;
    std::map<std::vector<std::uint32_t>, int> got;
    for (std::uint32_t q = 0; q < t.polygonCount; ++q) {
      const Polygon& p = t.polygons[q];
      EXPECT_EQ(p.frontColor, p.backColor);
      std::vector<std::uint32_t> corners;
      for (std::uint32_t k = 0; k < p.pointCount; ++k) {
        const Point& pt = t.points[p.points[k]];
        const Vec3 at{pt.x, pt.y, pt.z};
        std::uint32_t nearest = 0;
        for (std::uint32_t i = 1; i < pool.size(); ++i) {
          if (Distance(placed(pool[i]), at) < Distance(placed(pool[nearest]), at)) nearest = i;
        }
        EXPECT_LT(Distance(placed(pool[nearest]), at), 1e-3) << "round " << round;
        corners.push_back(nearest);
      }
      ++got[canonical(corners, p.frontColor)];
    }
    EXPECT_EQ(got, want) << "round " << round;
  }
}

}  // namespace
}  // namespace ws
