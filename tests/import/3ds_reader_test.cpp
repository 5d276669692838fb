// The 3D Studio reader on small files written here chunk by chunk.
#include <gtest/gtest.h>

#include <limits>
#include <sstream>

#include "import_test_support.h"
#include "tds_writer.h"

namespace ws {
namespace {

using namespace test::tds;
using test::ReadResult;

ReadResult Read3ds(const Bytes& bytes) {
  return test::RunReader(Import3ds, "m.3ds", std::string(bytes.begin(), bytes.end()));
}
// A mesh's nodes in order: "name: Binding(8) Material(3) Points(..) Faces(..)", the
// Material with its entry count, the points, the face set's corners and
// material indices.
std::string Describe(const scene::SceneNode& node) {
  const auto& shape = dynamic_cast<const scene::Separator&>(node);
  std::ostringstream out;
  out << shape.name << ":";
  for (const auto& c : shape.children) {
    if (auto* b = dynamic_cast<const scene::MaterialBinding*>(c.get())) {
      out << " Binding(" << static_cast<int>(b->value) << ")";
    } else if (auto* m = dynamic_cast<const scene::Material*>(c.get())) {
      out << " Material(" << m->LongestList() << ")";
    } else if (auto* p = dynamic_cast<const scene::Coordinate3*>(c.get())) {
      out << " Points(";
      for (const Vec3& v : p->point) out << v.x << "," << v.y << "," << v.z << ";";
    } else if (auto* f = dynamic_cast<const scene::IndexedFaceSet*>(c.get())) {
      out << ") Faces(";
      for (int i : f->coordIndex) out << i << " ";
      out << "/";
      for (int i : f->materialIndex) out << " " << i;
      out << ")";
    }
  }
  return out.str();
}
ColorTriple DiffuseOf(const test::RecordedFace& f) { return f.material.diffuse; }
const Bytes kPoints = Vertices({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});

// The file's (x, y, z) is the point (y, z, x); without a material group the
// Material node is empty and there is no binding.
TEST(Tds, MeshIsASeparatorWithItsAxesSwappedAndNameCleaned) {
  ReadResult r = Read3ds(File(Object("0 ab-c", Cat({kPoints, Faces({{0, 1, 2}, {2, 1, 0}})}))));
  ASSERT_EQ(r.root().children.size(), 1u);
  EXPECT_EQ(Describe(*r.root().children[0]),
            "G0_ab_c: Material(0) Points(2,3,1;5,6,4;8,9,7;) Faces(0 1 2 -1 2 1 0 -1 /)");
  EXPECT_EQ(std::tuple(r.faces.size(), r.log),
            std::tuple(2u, std::vector<std::string>{"Reading object '0 ab-c'"}));
}

// Materials come from the table by name (the first definition of a name
// wins; colours in floats or bytes); each group adds its own entry, even
// for a material another group named; a name not in the table gives the
// default; faces of no group keep entry 0; a group may stand inside the
// face list or beside it. A single group needs no binding.
TEST(Tds, MaterialGroupsColourTheirFaces) {
  const Bytes red = Material("red", Cat({Color(0xA020, 1, 0, 0), Color(0xA030, 0.5f, 0.5f, 0.5f),
                                         Chunk(0xA010, Chunk(0x0011, {51, 102, 255}))}));
  const Bytes faces = Faces({{0, 1, 2}, {0, 1, 2}, {0, 1, 2}, {0, 1, 2}},
                            Cat({Group("red", {0}), Group("red", {2, 9})}));
  ReadResult r = Read3ds(File(Cat({red, Material("red", Color(0xA020, 0, 1, 0)),
                                   Object("o", Cat({kPoints, faces, Group("none", {3})}))})));
  EXPECT_EQ(Describe(*r.root().children[0]),
            "o: Binding(8) Material(3) Points(2,3,1;5,6,4;8,9,7;) "
            "Faces(0 1 2 -1 0 1 2 -1 0 1 2 -1 0 1 2 -1 / 0 0 1 2)");
  ASSERT_EQ(r.faces.size(), 4u);
  const MaterialValue m = r.faces[2].material;
  EXPECT_EQ(std::tuple(m.diffuse, m.specular, m.ambient, m.shininess),
            std::tuple(Vec3{1, 0, 0}, Vec3{0.5, 0.5, 0.5}, Vec3{0.2, 0.4, 1}, 0.2));
  EXPECT_EQ(std::tuple(DiffuseOf(r.faces[1]), DiffuseOf(r.faces[3])),
            std::tuple(Vec3{1, 0, 0}, MaterialValue{}.diffuse));
  EXPECT_EQ(r.log, (std::vector<std::string>{"Reading material 'red'", "Reading material 'red'",
                                             "Reading object 'o'"}));
  r = Read3ds(File(Cat({red, Object("o", Cat({kPoints, Faces({{0, 1, 2}}, Group("red", {1}))}))})));
  EXPECT_EQ(Describe(*r.root().children[0]),
            "o: Material(1) Points(2,3,1;5,6,4;8,9,7;) Faces(0 1 2 -1 /)");
  EXPECT_EQ(DiffuseOf(r.faces[0]), (Vec3{1, 0, 0}));
}

// Names keep 255 characters; the table keeps 256 materials, so a group
// naming the 257th (m255) gets the default.
TEST(Tds, NamesAndTheMaterialTableHaveTheirLimits) {
  const std::string longName(300, 'n'), kept(255, 'n');
  Bytes materials = Material(longName, Color(0xA020, 0, 0, 1));
  for (int i = 0; i < 256; ++i) {
    materials = Cat({materials, Material("m" + std::to_string(i), Color(0xA020, 0, i / 256.f, 0))});
  }
  const Bytes mesh = Cat({kPoints, Faces({{0, 1, 2}, {0, 1, 2}, {0, 1, 2}}), Group("m254", {0}),
                          Group("m255", {1}), Group(kept + "x", {2})});
  ReadResult r = Read3ds(File(Cat({materials, Object(longName, mesh)})));
  ASSERT_EQ(r.faces.size(), 3u);
  EXPECT_EQ(std::tuple(DiffuseOf(r.faces[0]), DiffuseOf(r.faces[1]), DiffuseOf(r.faces[2])),
            std::tuple(Vec3{0, 254 / 256.0, 0}, MaterialValue{}.diffuse, Vec3{0, 0, 1}));
  EXPECT_EQ(std::tuple(r.root().children[0]->name, r.log.back()),
            std::tuple(kept, "Reading object '" + kept + "'"));
}

// Chunks the reader does not want are stepped over at every level, later
// main chunks are read too (each with a table of its own), and chunks
// beside the main chunk are skipped.
TEST(Tds, UnknownChunksAreSkipped) {
  const Bytes junk = Chunk(0xB000, U16({1, 2, 3}));
  const Bytes mesh =
      Cat({junk, kPoints, Chunk(0x4140, U16({0})), Faces({{0, 1, 2}}), Group("g", {0})});
  const Bytes first = File(
      Cat({Chunk(0x0100, F32({1})), Chunk(0x3D3E, U32(3)), junk,
           Material("g", Cat({junk, Color(0xA020, 0, 0, 1), Chunk(0xA040, Chunk(0x0030, U16({50}))),
                              Chunk(0xA050, Chunk(0x0031, F32({0.5f})))})),
           Chunk(0x4000, Cat({Name("light"), Chunk(0x4600, F32({1, 2, 3}))})), Object("a", mesh)}));
  ReadResult r =
      Read3ds(Cat({first, junk, Chunk(0x4D4D, Cat({junk, Chunk(0x3D3D, Object("b", mesh))}))}));
  ASSERT_EQ(r.faces.size(), 2u);
  EXPECT_EQ(std::tuple(DiffuseOf(r.faces[0]), DiffuseOf(r.faces[1])),
            std::tuple(Vec3{0, 0, 1}, MaterialValue{}.diffuse));
  EXPECT_EQ(r.log, (std::vector<std::string>{"Reading material 'g'", "Reading object 'light'",
                                             "Reading object 'a'", "Reading object 'b'"}));
}

// Damage: the shapes finished before it stay, the log and the drop report
// say where; with no shape finished the file has nothing to import.
TEST(Tds, DamageKeepsTheShapesFinishedBeforeIt) {
  const float inf = std::numeric_limits<float>::infinity();
  const Bytes a = Triangle("a"), whole = File(Cat({a, Triangle("b")}));
  const auto cut = [&](std::size_t n) { return Bytes(whole.begin(), whole.begin() + n); };
  const auto then = [&](const Bytes& damage) { return File(Cat({a, damage, Triangle("b")})); };
  const std::size_t x = 22 + a.size();  // where the damage starts: after a
  const struct {
    const char* what;
    Bytes file;
    std::size_t at;
  } cases[] = {
      {"cut in b's vertex list", cut(x + 24), x + 22},
      {"cut after b's header", cut(x + 6), x + 6},
      {"cut between a and b", cut(x), x},
      {"colour kind 0x0012", then(Material("m", Chunk(0xA010, Chunk(0x0012, F32({1, 1, 1}))))),
       x + 20},
      {"length under 6", then(ChunkClaiming(0x1234, 5, {})), x},
      {"child past parent", File(Cat({a, ChunkClaiming(0x4000, 10, Cat({Name("x"), a}))})), x + 8},
      {"vertex count + 1", then(Object("c", Chunk(0x4110, Cat({U16({1}), F32({0, 0})})))), x + 22},
      {"infinite vertex", then(Object("c", Chunk(0x4110, Cat({U16({1}), F32({0, inf, 0})})))),
       x + 26},
      {"face count + 1", then(Object("c", Chunk(0x4120, U16({1, 0, 1, 2})))), x + 22},
      {"group count + 1", then(Object("c", Chunk(0x4130, Cat({Name("g"), U16({2, 0})})))), x + 24},
      {"name without its NUL", File(Cat({a, Chunk(0x4000, U16({0x6161}))})), x + 8},
  };
  for (const auto& c : cases) {
    ReadResult r = Read3ds(c.file);
    const std::string at = std::to_string(c.at);
    ASSERT_EQ(r.faces.size(), 1u) << c.what;
    EXPECT_EQ(r.Children<scene::Separator>()[0]->name, "a") << c.what;
    EXPECT_EQ(r.log.back(), "Read failed for 3ds file '" + r.path + "'") << c.what;
    EXPECT_EQ(r.importer->dropped(), (std::vector<std::string>{"The file is damaged from byte " +
                                                               at + " on; the rest was not read"}))
        << c.what;
  }
  ReadResult r = Read3ds(cut(22 + 12));
  EXPECT_EQ(std::tuple(r.faces.size(), r.importer->dropped().size(), r.importer->emptyReason()),
            std::tuple(0u, 0u, "It is damaged from byte 30 on."));
}

// Files whose first chunk is not the main chunk are refused; a main chunk
// without a triangle mesh gives nothing.
TEST(Tds, OtherFilesGiveNothing) {
  const Bytes cases[] = {{},
                         {0x4D, 0x4D, 6, 0, 0},
                         Chunk(0x4D4C, {}),
                         Cat({Chunk(0x0002, U32(3)), File(Triangle("a"))}),
                         Chunk(0x4D4D, {}),
                         File(Chunk(0x4000, Cat({Name("cam"), Chunk(0x4700, {})})))};
  for (const Bytes& file : cases) {
    ReadResult r = Read3ds(file);
    const bool is3ds = file.size() >= 6 && file[0] == 0x4D && file[1] == 0x4D;
    EXPECT_TRUE(r.ok && r.root().children.empty()) << file.size();
    EXPECT_EQ(r.importer->emptyReason(),
              is3ds ? "It holds no triangle meshes." : "It is not a 3D Studio file.");
    EXPECT_EQ(r.log,
              is3ds ? std::vector<std::string>(file.size() > 6, "Reading object 'cam'")
                    : std::vector<std::string>{"File '" + r.path + "' is not a 3ds binary file."})
        << file.size();
  }
}

// Open and Merge turn the faces of a .3ds file round; Merge leaves the
// object's own polygons as they were.
TEST(Tds, ImportedFacesAreFlipped) {
  test::ImportFixture f;
  const Bytes file = File(Triangle("a"));
  const std::string path = f.Write("a.3ds", std::string(file.begin(), file.end()));
  ASSERT_TRUE(f.Import(path, false));
  const std::vector<std::uint32_t> asRead(f.tables().polygons[0].points,
                                          f.tables().polygons[0].points + 3);
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
