// The DirectX import: what an X file's frames, meshes and materials become
// in the scene and what is refused.
#include <gtest/gtest.h>

#include "import/readers/x/x_loader.h"
#include "import_test_support.h"

namespace ws {
namespace {

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

}  // namespace
}  // namespace ws
