// The 3D Studio reader on small files written here chunk by chunk.
#include <gtest/gtest.h>

#include "tds_writer.h"

namespace ws {
namespace {

using namespace test::tds;
using test::Le, test::U16;

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
           "for 3ds file 'F' | The file is damaged from byte " +
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
      {"main chunk second", Chunk(0x0002, Le<test::U32>({3})) + File(tri),
       "root{} | File 'F' is not a 3ds binary file. | It is not a 3D Studio file."},
      {"no mesh", Chunk(0x4D4D, ""), "root{} | It holds no triangle meshes."},
      {"cut in a", whole.substr(0, 34),
       "root{} | Read failed for 3ds file 'F' | It is damaged from byte 30 on."},
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
    EXPECT_EQ(test::ReadSummary(Import3ds, "m.3ds", file), read) << what;
}

// Open and Merge turn the faces of a .3ds file round, not the object's own.
TEST(Tds, ImportedFacesAreFlipped) {
  test::ImportFixture f;
  const std::string path = f.Write("a.3ds", File(Object("a", Mesh(1))));
  ASSERT_TRUE(f.Import(path, false) && OpenFile(f.m(), f.services, path, OpenMode::kMerge).ok);
  const std::uint32_t *p = f.tables().polygons[0].points, *q = f.tables().polygons[1].points;
  EXPECT_EQ(std::vector(q, q + 3), (std::vector{p[2] + 3, p[1] + 3, p[0] + 3}));  // points appended
}

}  // namespace
}  // namespace ws
