// The 3D Studio and trueSpace readers on small files written here chunk by
// chunk, each checked through one line: what the reader made of the file.
#include <gtest/gtest.h>

#include "import_test_support.h"

namespace ws::test {
namespace {

using U16 = std::uint16_t;
using U32 = std::uint32_t;

// The values' bytes as the file stores them (little-endian, as we are).
template <class T>
std::string Le(std::initializer_list<T> values) {
  return {reinterpret_cast<const char*>(values.begin()), values.size() * sizeof(T)};
}

std::ostream& operator<<(std::ostream& out, const Vec3& v) {
  return out << v.x << ',' << v.y << ',' << v.z;
}

// A group as "name{children} ", a Material as its lists of ambient,
// diffuse and specular colours, shininess and transparency.
std::string Dump(const scene::SceneNode& node) {
  using namespace scene;
  std::ostringstream o;
  const auto put = [&](const char* kind, const auto& values) {
    o << kind;
    for (const auto& v : values) o << ' ' << v;
  };
  const auto* g = dynamic_cast<const GroupNode*>(&node);
  if (g) o << g->name << '{';
  for (std::size_t i = 0; g && i < g->children.size(); ++i) o << Dump(*g->children[i]);
  if (g) o << '}';
  if (auto* b = dynamic_cast<const MaterialBinding*>(&node)) o << "Binding" << int(b->value);
  if (auto* r = dynamic_cast<const Rotation*>(&node)) o << "Turn " << r->axis << ' ' << r->angle;
  if (auto* t = dynamic_cast<const MatrixTransform*>(&node)) put("Matrix", t->matrix);
  if (auto* p = dynamic_cast<const Coordinate3*>(&node)) put("Points", p->point);
  if (auto* f = dynamic_cast<const IndexedFaceSet*>(&node))
    put("Faces", f->coordIndex), put(" /", f->materialIndex);
  if (auto* m = dynamic_cast<const Material*>(&node))
    put("Material", m->ambientColor), put(" /", m->diffuseColor), put(" /", m->specularColor),
        put(" /", m->shininess), put(" /", m->transparency);
  return o.str() + ' ';
}

// The scene (or its face count), the log's error lines, the drop report
// and, when no face came, the reason.
std::string ReadSummary(ReaderFunction reader, const std::string& name, const std::string& bytes,
                        bool scene = true) {
  ReadResult r = RunReader(reader, name, bytes);
  std::string out = scene ? Dump(r.root()) : std::to_string(r.faces.size()) + " faces ";
  for (const auto& lines : {r.Errors(), r.importer->dropped()})
    for (const std::string& line : lines) out += "| " + line + ' ';
  return out + (r.faces.empty() ? "| " + r.importer->emptyReason() : "");
}

namespace tds {

// A chunk whose header claims `extra` bytes more than it holds.
std::string Chunk(U16 id, const std::string& body, int extra = 0) {
  return Le<U16>({id}) + Le<U32>({U32(body.size() + 6 + extra)}) + body;
}
// The main chunk with a version and the editor data, and a named object.
std::string File(const std::string& editor) {
  return Chunk(0x4D4D, Chunk(0x0002, Le<U32>({3})) + Chunk(0x3D3D, editor));
}
std::string Object(const std::string& name, const std::string& mesh) {
  return Chunk(0x4000, name + '\0' + Chunk(0x4100, mesh));
}

const std::string kPoints = Chunk(0x4110, Le<U16>({3}) + Le<float>({1, 2, 3, 4, 5, 6, 7, 8, 9}));
// The points above and n faces over them, with material groups.
std::string Mesh(U16 n, const std::string& groups = "") {
  std::string list = Le<U16>({n});
  while (n-- > 0) list += Le<U16>({0, 1, 2, 7});
  return kPoints + Chunk(0x4120, list + groups);
}
std::string Group(const std::string& material, std::initializer_list<U16> faces) {
  return Chunk(0x4130, material + '\0' + Le<U16>({U16(faces.size())}) + Le<U16>(faces));
}
std::string Material(const std::string& name, float b, const std::string& more = "") {
  return Chunk(
      0xAFFF, Chunk(0xA000, name + '\0') + Chunk(0xA020, Chunk(0x10, Le<float>({0, 0, b}))) + more);
}

// The file's (x, y, z) is the point (y, z, x). A mesh of no group has an
// empty Material, no binding, no index list; each group adds its material
// (the first definition wins; names of 255 characters, 256 in the table).
TEST(Tds, ReadsMeshesMaterialsAndDamage) {
  const std::string n255(255, 'n'), n300(300, 'n'), tri = Object("a", Mesh(1)),
                                                    whole = File(tri + tri);
  std::string table = Material("red", 1,
                               Chunk(0xA010, Chunk(0x11, "\x33\x66\xff")) +
                                   Chunk(0xA030, Chunk(0x10, Le<float>({.5, .5, .5})))) +
                      Material("red", 2) + Material(n300, 1);
  for (int i = 0; i < 255; ++i) table += Material("m" + std::to_string(i), i / 256.f);
  const std::size_t x = 22 + tri.size();  // where the damage starts: after a
  const auto damaged = [&](std::size_t at) {
    return "root{a{Material / / / / Points 2,3,1 5,6,4 8,9,7 Faces 0 1 2 -1 / } } | Read failed "
           "for 3ds file '@' | The file is damaged from byte " +
           std::to_string(at) + " on; the rest was not read ";
  };
  const auto c = [&](const std::string& mesh) { return File(tri + Object("c", mesh) + tri); };
  const std::tuple<const char*, std::string, std::string> rows[] = {
      {"meshes",
       File(table +
            Object(n300,
                   Mesh(3) + Group("m253", {0}) + Group("m254", {1}) + Group(n255 + "x", {2})) +
            Object("0 ab-c", Mesh(1)) +
            Object("o", Mesh(4, Group("red", {0}) + Group("red", {2, 9})) + Group("none", {3})) +
            Object("p", Mesh(1, Group("red", {1})))),
       "root{" + n255 +
           "{Binding8 Material 0.2,0.2,0.2 0.2,0.2,0.2 0.2,0.2,0.2 / 0,0,0.988281 0.8,0.8,0.8 "
           "0,0,1 / 0,0,0 0,0,0 0,0,0 / 0.2 0.2 0.2 / 0 0 0 Points 2,3,1 5,6,4 8,9,7 Faces 0 1 2 "
           "-1 0 1 2 -1 0 1 2 -1 / 0 1 2 } G0_ab_c{Material / / / / Points 2,3,1 5,6,4 8,9,7 Faces "
           "0 1 2 -1 / } o{Binding8 Material 0.2,0.4,1 0.2,0.4,1 0.2,0.2,0.2 / 0,0,1 0,0,1 "
           "0.8,0.8,0.8 / 0.5,0.5,0.5 0.5,0.5,0.5 0,0,0 / 0.2 0.2 0.2 / 0 0 0 Points 2,3,1 5,6,4 "
           "8,9,7 Faces 0 1 2 -1 0 1 2 -1 0 1 2 -1 0 1 2 -1 / 0 0 1 2 } p{Material 0.2,0.4,1 / "
           "0,0,1 / 0.5,0.5,0.5 / 0.2 / 0 Points 2,3,1 5,6,4 8,9,7 Faces 0 1 2 -1 / } } "},
      {"main chunk second", Chunk(0x0002, Le<U32>({3})) + File(tri),
       "root{} | File '@' is not a 3ds binary file. | It is not a 3D Studio file."},
      {"no mesh", Chunk(0x4D4D, ""), "root{} | It holds no triangle meshes."},
      {"cut in a", whole.substr(0, 34),
       "root{} | Read failed for 3ds file '@' | It is damaged from byte 30 on."},
      {"cut in the second's vertex list", whole.substr(0, x + 24), damaged(x + 22)},
      {"colour kind 0x0012", File(tri + Chunk(0xAFFF, Chunk(0xA010, Chunk(0x12, "")))),
       damaged(x + 12)},
      {"length 5", File(tri + Chunk(0x1234, "", -1) + tri), damaged(x)},
      {"child past parent",
       File(tri + Chunk(0x4000, std::string("x\0", 2) + tri, 2 - int(tri.size()))), damaged(x + 8)},
      {"vertex count + 1", c(Chunk(0x4110, Le<U16>({1}) + Le<float>({0, 0}))), damaged(x + 22)},
      {"infinite vertex", c(Chunk(0x4110, Le<U16>({1}) + Le<float>({0, INFINITY, 0}))),
       damaged(x + 26)},
      {"group count + 1", c(Chunk(0x4130, std::string("g\0", 2) + Le<U16>({2, 0}))),
       damaged(x + 24)},
  };
  for (const auto& [what, file, read] : rows)
    EXPECT_EQ(ReadSummary(Import3ds, "m.3ds", file), read) << what;
}

// Open and Merge turn the faces of a .3ds file round, not the object's own.
TEST(Tds, ImportedFacesAreFlipped) {
  ImportFixture f;
  const std::string path = f.Write("a.3ds", File(Object("a", Mesh(1))));
  ASSERT_TRUE(f.Import(path, false) && OpenFile(f.m(), f.services, path, OpenMode::kMerge).ok);
  const std::uint32_t *p = f.tables().polygons[0].points, *q = f.tables().polygons[1].points;
  EXPECT_EQ(std::vector(q, q + 3), (std::vector{p[2] + 3, p[1] + 3, p[0] + 3}));  // points appended
}

}  // namespace tds

namespace cob {

// The 32-byte file header (byte 15 'B': binary) and an unmoved position.
const std::string kHeader = "Caligari V00.01BLH" + std::string(13, ' ') + '\n';
const std::string kStill = Le<float>({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0});

// A chunk whose size field is the data's size plus `extra`.
std::string Chunk(const char* type, U32 id, U32 parent, const std::string& data, int extra = 0) {
  return type + Le<U16>({0, 8}) + Le<U32>({id, parent, U32(data.size() + extra)}) + data;
}
// "Grou" data: dupecount, name, local axes (not read), position.
std::string Object(const std::string& name, const std::string& position = kStill) {
  return Le<U16>({0, U16(name.size())}) + name + std::string(48, '\0') + position;
}
// A face of polygon data; material -1 makes it a hole, without a material.
std::string Face(std::initializer_list<U32> corners, int material = 0) {
  std::string out =
      std::string(1, material < 0 ? '\x08' : '\0') + Le<U16>({U16(corners.size()), U16(material)});
  for (U32 c : corners) out += Le<U32>({c, 0});
  return material < 0 ? out.erase(3, 2) : out;
}
// "PolH" data: the points (1, 2, 3), (4, 0, 0), (0, 5, 0), no UVs, faces.
std::string Polygons(const std::string& name, const std::string& faces = Face({0, 1, 2}),
                     U32 count = 1, const std::string& position = kStill) {
  return Object(name, position) + Le<U32>({3}) + Le<float>({1, 2, 3, 4, 0, 0, 0, 5, 0}) +
         Le<U32>({0, count}) + faces;
}

TEST(CobReader, RefusesOtherFilesAndKeepsTheObjectsBeforeACut) {
  const std::string drop =
      "| Premature EOF | The file ends inside a chunk; only the objects before it were read ";
  // Four trailing bytes of a later version end the first chunk; "OLay" is skipped.
  const std::string first = Chunk("PolH", 1, 0, Polygons("a") + "\x7f\x7f\x7f\x7f");
  const std::string whole = kHeader + first + Chunk("OLay", 2, 0, Le<U32>({0, 0})) +
                            Chunk("PolH", 3, 0, Polygons("b")) + Chunk("END ", 0, 0, "");
  const std::size_t second = 32 + first.size() + 28;  // where the second object's chunk starts
  const std::tuple<const char*, std::string, std::string> rows[] = {
      {"31 bytes", kHeader.substr(0, 31), "0 faces | Permature EOF | Permature EOF"},
      {"not Caligari", "Caligary" + kHeader.substr(8),
       "0 faces | Selected file is not a binary Caligari COB file | Selected file is not a binary "
       "Caligari COB file"},
      {"the header alone", kHeader, "0 faces | "},
      {"whole", whole, "2 faces "},
      {"cut in the skipped chunk", whole.substr(0, second - 3), "1 faces " + drop},
      {"cut in the second object", whole.substr(0, second + 30), "1 faces " + drop},
      {"cut in the last header", whole.substr(0, whole.size() - 1), "2 faces "},
      {"bump record cut short",
       kHeader + first + Chunk("Mat1", 2, 1, Le<U16>({0}) + std::string(35, '\0') + "b:"),
       "1 faces " + drop},
  };
  for (const auto& [what, file, read] : rows)
    EXPECT_EQ(ReadSummary(ImportTrueSpace, "t.cob", file, false), read) << what;
}

// "NoName" names nothing; holes are dropped; a material colours a polygon
// object read before it (ka 0 counts as 0.1), its records end after a
// texture one; the object table keeps 1,024 entries.
TEST(CobReader, BuildsObjectsUnderTheirParentsWithTheirMaterials) {
  const auto material = [](U16 n, float ka, const std::string& records = "") {
    return Le<U16>({n}) + "pf\x1e" + Le<float>({0.5, 1, 0.25, 0.75, ka, 0.5, 8, 1}) + records;
  };
  const std::string x = std::string(1, '\0') + Le<U16>({1}) + "x";  // a byte, a string
  const std::string faces =
      Face({0, 1, 2}, 1) + Face({3, 4, 5}, -1) + Face({0, 2, 1}, 2) + Face({0, 0xFFFFFFFF, 1, 2});
  std::string file =
      kHeader + Chunk("Grou", 1, 0, Object("G")) +
      Chunk("PolH", 2, 1,
            Polygons("NoName", faces, 4, Le<float>({1, 0, 0, 5, 0, 1, 0, 0, 0, 0, 1, 0}))) +
      Chunk("Mat1", 3, 2, material(2, 0, "e:" + x + "t:" + x + std::string(16, '\0') + "b:")) +
      Chunk("Mat1", 4, 2, material(0, 0.5)) + Chunk("Mat1", 5, 1, material(1, 1)) +
      Chunk("Mat1", 6, 7, material(1, 1)) + Chunk("Mat1", 7, 2, material(0xFFFF, 1)) +
      Chunk("PolH", 7, 7, Polygons("9 lives")) + Chunk("PolH", 8, 0, Polygons(""));
  std::string groups;  // to fill the table
  for (U32 id = 100; id < 1120; ++id) file += Chunk("Grou", id, 0, Object("g")), groups += "g{} ";
  file += Chunk("Grou", 5000, 0, Object("g")) + Chunk("PolH", 20, 1119, Polygons("in")) +
          Chunk("PolH", 21, 5000, Polygons("out"));
  const std::string tri = "{Binding32 Points 1,2,3 4,0,0 0,5,0 Faces 0 1 2 -1 / 0 } ";
  EXPECT_EQ(
      ReadSummary(ImportTrueSpace, "t.cob", file),
      "root{Binding2 Turn 1,0,0 -1.5708 Turn 0,0,1 -1.5708 G{{Material 0.25,0.5,0.125 "
      "0.2,0.2,0.2 0.05,0.1,0.025 / 0.5,1,0.25 0.8,0.8,0.8 0.5,1,0.25 / 0.5,0.5,0.5 0,0,0 "
      "0.5,0.5,0.5 / 8 0.2 8 / 0.25 0 0.25 Binding32 Matrix 1 0 0 0 0 1 0 0 0 0 1 0 5 0 0 1 "
      "Points 1,2,3 4,0,0 0,5,0 Faces 0 1 2 -1 0 2 1 -1 0 2147483647 1 2 -1 / 1 2 0 } } G9 lives" +
          tri + tri + groups.substr(4) + "g{in" + tri + "} g{} out" + tri + "} ");
}

}  // namespace cob
}  // namespace
}  // namespace ws::test
