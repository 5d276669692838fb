// The 3D Studio reader on small files written here chunk by chunk.
#include <gtest/gtest.h>

#include <limits>

#include "import_test_support.h"
#include "tds_writer.h"

namespace ws {
namespace {

using namespace test::tds;
using scene::Binding;
using test::ReadResult;

ReadResult Read3ds(const Bytes& bytes) {
  return test::RunReader(Import3ds, "m.3ds", std::string(bytes.begin(), bytes.end()));
}
template <class T>
T* ChildAt(scene::SceneNode* node, std::size_t i) {
  auto* group = dynamic_cast<scene::GroupNode*>(node);
  return group && i < group->children.size() ? dynamic_cast<T*>(group->children[i].get()) : nullptr;
}
ColorTriple DiffuseOf(const test::RecordedFace& f) { return f.material.diffuse; }

TEST(Tds, MeshIsASeparatorWithItsAxesSwappedAndNameCleaned) {
  ReadResult r = Read3ds(File(Object(
      "0 ab-c", Cat({Vertices({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}), Faces({{0, 1, 2}, {2, 1, 0}})}))));
  ASSERT_EQ(r.root().children.size(), 1u);
  auto* shape = r.Children<scene::Separator>()[0];
  EXPECT_EQ(shape->name, "G0_ab_c");
  // No material group: an empty Material node and no binding or index list.
  ASSERT_EQ(shape->children.size(), 3u);
  ASSERT_TRUE(ChildAt<scene::Material>(shape, 0) && ChildAt<scene::IndexedFaceSet>(shape, 2));
  EXPECT_EQ(ChildAt<scene::Material>(shape, 0)->LongestList(), 0u);
  EXPECT_EQ(ChildAt<scene::Coordinate3>(shape, 1)->point, (std::vector<Vec3>{{2, 3, 1}, {5, 6, 4}, {8, 9, 7}}));
  EXPECT_EQ(ChildAt<scene::IndexedFaceSet>(shape, 2)->coordIndex, (std::vector<int>{0, 1, 2, -1, 2, 1, 0, -1}));
  EXPECT_TRUE(ChildAt<scene::IndexedFaceSet>(shape, 2)->materialIndex.empty());
  EXPECT_EQ(r.faces.size(), 2u);
  EXPECT_EQ(r.log, (std::vector<std::string>{"Reading object '0 ab-c'"}));
}

// Materials come from the table by name (the first definition of a name
// wins, colours in floats or bytes); each group adds its own entry, even
// for a material another group named; a name not in the table gives the
// default; faces of no group keep entry 0; a group may follow the face
// list inside it or beside it.
TEST(Tds, MaterialGroupsColourTheirFaces) {
  const Bytes red = Material("red", Cat({Color(0xA020, 1, 0, 0), Color(0xA030, 0.5f, 0.5f, 0.5f),
                                         Chunk(0xA010, Chunk(0x0011, {51, 102, 255}))}));
  const Bytes mesh = Cat({Vertices({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}),
                          Faces({{0, 1, 2}, {0, 1, 2}, {0, 1, 2}, {0, 1, 2}},
                                Cat({Group("red", {0}), Group("red", {2, 9})})),
                          Group("none", {3})});
  ReadResult r = Read3ds(File(Cat({red, Material("red", Color(0xA020, 0, 1, 0)), Object("o", mesh)})));
  auto* shape = r.Children<scene::Separator>()[0];
  ASSERT_EQ(shape->children.size(), 4u);
  EXPECT_EQ(ChildAt<scene::MaterialBinding>(shape, 0)->value, Binding::kPerPartIndexed);
  EXPECT_EQ(ChildAt<scene::Material>(shape, 1)->LongestList(), 3u);
  EXPECT_EQ(ChildAt<scene::IndexedFaceSet>(shape, 3)->materialIndex, (std::vector<int>{0, 0, 1, 2}));
  ASSERT_EQ(r.faces.size(), 4u);
  const MaterialValue m = r.faces[2].material;
  EXPECT_EQ(std::tuple(m.diffuse, m.specular, m.ambient, m.shininess),
            std::tuple(Vec3{1, 0, 0}, Vec3{0.5, 0.5, 0.5}, Vec3{0.2, 0.4, 1}, 0.2));
  EXPECT_EQ(DiffuseOf(r.faces[1]), (Vec3{1, 0, 0}));
  EXPECT_EQ(DiffuseOf(r.faces[3]), MaterialValue{}.diffuse);
  EXPECT_EQ(r.log, (std::vector<std::string>{"Reading material 'red'", "Reading material 'red'",
                                             "Reading object 'o'"}));
  // A single group needs no binding: its material colours every face.
  r = Read3ds(File(Cat({red, Object("o", Cat({Vertices({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}),
                                              Faces({{0, 1, 2}, {0, 1, 2}}, Group("red", {1}))}))})));
  shape = r.Children<scene::Separator>()[0];
  ASSERT_EQ(shape->children.size(), 3u);
  EXPECT_EQ(std::tuple(DiffuseOf(r.faces[0]), ChildAt<scene::IndexedFaceSet>(shape, 2)->materialIndex.size()),
            std::tuple(Vec3{1, 0, 0}, 0u));
}

// Names keep 255 characters; the table keeps 256 materials, so a group
// naming the 257th (m255) gets the default.
TEST(Tds, NamesAndTheMaterialTableHaveTheirLimits) {
  const std::string longName(300, 'n');
  Bytes materials = Material(longName, Color(0xA020, 0, 0, 1));
  for (int i = 0; i < 256; ++i) {
    materials = Cat({materials, Material("m" + std::to_string(i), Color(0xA020, 0, i / 256.0f, 0))});
  }
  const Bytes mesh = Cat({Vertices({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}), Faces({{0, 1, 2}, {0, 1, 2}, {0, 1, 2}}),
                          Group("m254", {0}), Group("m255", {1}), Group(longName.substr(0, 255) + "x", {2})});
  ReadResult r = Read3ds(File(Cat({materials, Object(longName, mesh)})));
  ASSERT_EQ(r.faces.size(), 3u);
  EXPECT_EQ(std::tuple(DiffuseOf(r.faces[0]), DiffuseOf(r.faces[1]), DiffuseOf(r.faces[2])),
            std::tuple(Vec3{0, 254 / 256.0, 0}, MaterialValue{}.diffuse, Vec3{0, 0, 1}));
  EXPECT_EQ(r.Children<scene::Separator>()[0]->name, longName.substr(0, 255));
  EXPECT_EQ(r.log.back(), "Reading object '" + longName.substr(0, 255) + "'");
}

// Chunks the reader does not want are stepped over at every level, later
// main chunks are read too (each with a table of its own), and chunks
// beside the main chunk are skipped.
TEST(Tds, UnknownChunksAreSkipped) {
  const Bytes junk = Chunk(0xB000, U16({1, 2, 3}));
  const Bytes mesh = Cat({junk, Vertices({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}), Chunk(0x4140, U16({0})),
                          Faces({{0, 1, 2}}), Group("g", {0})});
  const Bytes first = File(Cat({Chunk(0x0100, F32({1})), Chunk(0x3D3E, U32(3)), junk,
                                Material("g", Cat({junk, Color(0xA020, 0, 0, 1),
                                                   Chunk(0xA040, Chunk(0x0030, U16({50}))),
                                                   Chunk(0xA050, Chunk(0x0031, F32({0.5f})))})),
                                Chunk(0x4000, Cat({Name("light"), Chunk(0x4600, F32({1, 2, 3}))})),
                                Object("a", mesh)}));
  ReadResult r = Read3ds(Cat({first, junk, Chunk(0x4D4D, Cat({junk, Chunk(0x3D3D, Object("b", mesh))}))}));
  ASSERT_EQ(r.faces.size(), 2u);
  EXPECT_EQ(std::tuple(DiffuseOf(r.faces[0]), DiffuseOf(r.faces[1])),
            std::tuple(Vec3{0, 0, 1}, MaterialValue{}.diffuse));
  EXPECT_EQ(r.log, (std::vector<std::string>{"Reading material 'g'", "Reading object 'light'",
                                             "Reading object 'a'", "Reading object 'b'"}));
}

// Damage: the shapes finished before it stay, the log and the drop report
// say so; with no shape finished the file has nothing to import.
TEST(Tds, DamageKeepsTheShapesFinishedBeforeIt) {
  const float kInf = std::numeric_limits<float>::infinity();
  const Bytes a = Triangle("a");
  const Bytes b = Triangle("b");
  const auto cutFile = [&](std::size_t keep) {
    const Bytes whole = File(Cat({a, b}));
    return Bytes(whole.begin(), whole.begin() + keep);
  };
  const Bytes gray = Chunk(0xA010, Chunk(0x0012, F32({1, 1, 1})));
  const auto mesh = [](const Bytes& vertices) { return Object("c", Cat({vertices, Faces({{0, 1, 2}})})); };
  const struct {
    const char* what;
    Bytes file;
    std::size_t at;
  } cases[] = {
      {"cut in b's vertex list", cutFile(22 + a.size() + 24), 22 + a.size() + 22},
      {"cut after b's header", cutFile(22 + a.size() + 6), 22 + a.size() + 6},
      {"cut between a and b", cutFile(22 + a.size()), 22 + a.size()},
      {"colour kind 0x0012", File(Cat({a, Material("m", gray), b})), 22 + a.size() + 20},
      {"length under 6", File(Cat({a, ChunkClaiming(0x1234, 5, {}), b})), 22 + a.size()},
      {"child past parent", File(Cat({a, ChunkClaiming(0x4000, 10, Cat({Name("x"), b}))})), 22 + a.size() + 8},
      {"vertex count + 1", File(Cat({a, mesh(Chunk(0x4110, Cat({U16({1}), F32({0, 0})})))})), 22 + a.size() + 22},
      {"infinite vertex", File(Cat({a, mesh(Chunk(0x4110, Cat({U16({1}), F32({0, kInf, 0})})))})), 22 + a.size() + 26},
      {"face count + 1", File(Cat({a, Object("c", Chunk(0x4120, U16({1, 0, 1, 2})))})), 22 + a.size() + 22},
      {"group count + 1", File(Cat({a, Object("c", Chunk(0x4130, Cat({Name("g"), U16({2, 0})})))})),
       22 + a.size() + 24},
      {"name without its NUL", File(Cat({a, Chunk(0x4000, U16({0x6161}))})), 22 + a.size() + 8},
  };
  for (const auto& c : cases) {
    ReadResult r = Read3ds(c.file);
    const std::string at = std::to_string(c.at);
    ASSERT_EQ(r.faces.size(), 1u) << c.what;
    EXPECT_EQ(r.Children<scene::Separator>()[0]->name, "a") << c.what;
    EXPECT_EQ(r.log.back(), "Read failed for 3ds file '" + r.path + "'") << c.what;
    EXPECT_EQ(r.importer->dropped(),
              (std::vector<std::string>{"The file is damaged from byte " + at + " on; the rest was not read"}))
        << c.what;
  }
  const ReadResult r = Read3ds(cutFile(22 + 12));
  EXPECT_EQ(std::tuple(r.faces.size(), r.importer->dropped().size(), r.importer->emptyReason()),
            std::tuple(0u, 0u, "It is damaged from byte 30 on."));
}

TEST(Tds, OtherFilesAreRefused) {
  const std::string notMesh = "It holds no triangle meshes.", not3ds = "It is not a 3D Studio file.";
  const struct {
    Bytes file;
    const std::string& reason;
    const char* log;  // "@": the refusal line
  } cases[] = {{{}, not3ds, "@"},
               {{0x4D, 0x4D, 6, 0, 0}, not3ds, "@"},
               {Chunk(0x4D4C, {}), not3ds, "@"},
               {Cat({Chunk(0x0002, U32(3)), File(Triangle("a"))}), not3ds, "@"},
               {Chunk(0x4D4D, {}), notMesh, nullptr},
               {File(Chunk(0x4000, Cat({Name("cam"), Chunk(0x4700, F32({0}))}))), notMesh, "Reading object 'cam'"}};
  for (const auto& c : cases) {
    ReadResult r = Read3ds(c.file);
    EXPECT_TRUE(r.ok && r.root().children.empty()) << c.file.size();
    EXPECT_EQ(r.importer->emptyReason(), c.reason) << c.file.size();
    std::vector<std::string> log;
    if (c.log) log.push_back(*c.log == '@' ? "File '" + r.path + "' is not a 3ds binary file." : c.log);
    EXPECT_EQ(r.log, log) << c.file.size();
  }
}

// Open and Merge turn the faces of a .3ds file round; Merge leaves the
// object's own polygons as they were.
TEST(Tds, ImportedFacesAreFlipped) {
  test::ImportFixture f;
  const Bytes file = File(Triangle("a"));
  const std::string path = f.Write("a.3ds", std::string(file.begin(), file.end()));
  ASSERT_TRUE(f.Import(path, false));
  const std::vector<std::uint32_t> asRead(f.tables().polygons[0].points, f.tables().polygons[0].points + 3);
  ASSERT_TRUE(OpenFile(f.m(), f.services, path, OpenMode::kMerge).ok);
  ASSERT_EQ(f.tables().polygonCount, 2u);
  const Polygon& own = f.tables().polygons[0];
  const Polygon& merged = f.tables().polygons[1];
  EXPECT_EQ(std::vector<std::uint32_t>(own.points, own.points + 3), asRead);
  // Merge appends the file's three points after the object's own.
  EXPECT_EQ(std::vector<std::uint32_t>(merged.points, merged.points + 3),
            (std::vector<std::uint32_t>{asRead[2] + 3, asRead[1] + 3, asRead[0] + 3}));
}

}  // namespace
}  // namespace ws
