// What the OBJ, RAW and NFF readers keep of a file, and what the user is
// told about what they leave out.
#include <gtest/gtest.h>

#include "reader_test_support.h"

namespace ws {
namespace {

using test::ImportFixture;
using test::RunReader;

constexpr char kDropped[] = "Some of the polygons in this file were dropped because:\n";

std::vector<std::int32_t> FaceIndices(test::ReadResult& r) {
  std::vector<std::int32_t> out;
  for (auto* s : r.Children<scene::Separator>()) {
    auto* f = dynamic_cast<scene::IndexedFaceSet*>(s->children.at(0).get());
    out.insert(out.end(), f->coordIndex.begin(), f->coordIndex.end());
  }
  return out;
}

TEST(ObjFidelity, RelativeAndForwardNumbers) {
  std::string eight;
  for (int i = 1; i <= 8; ++i) eight += "v " + std::to_string(i) + " 0 0\n";
  auto r = RunReader(ImportObj, "a.obj",
                     "f 1 2 3\n"  // names vertices that come later
                     + eight + "vn 1 0 0\nvn 0 1 0\nf -4//-1 -3//-2 -2//-1 -1//-1\n");
  ASSERT_EQ(FaceIndices(r), (std::vector<std::int32_t>{0, 1, 2, -1, 4, 5, 6, 7, -1}));
  auto* faces = dynamic_cast<scene::IndexedFaceSet*>(r.Children<scene::Separator>()[0]->children[0].get());
  EXPECT_EQ(faces->normalIndex, (std::vector<std::int32_t>{1, 0, 1, 1, -1}));
}

TEST(ObjFidelity, EveryNumberForm) {
  auto r = RunReader(ImportObj, "a.obj", "v .5 +.5 -.25\nv 1e-3 1E+2 +7\n");
  EXPECT_EQ(r.Children<scene::Coordinate3>().at(0)->point,
            (std::vector<Vec3>{{0.5, 0.5, -0.25}, {1e-3, 100, 7}}));
}

TEST(ObjFidelity, AFaceLineOfAnyLengthKeepsAllItsCorners) {
  std::string face = "f";
  int corners = 0;
  for (; face.size() < 3000; ++corners) face += " " + std::to_string(corners % 3 + 1);
  auto r = RunReader(ImportObj, "a.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\n" + face + "\n");
  EXPECT_EQ(FaceIndices(r).size(), static_cast<std::size_t>(corners) + 1);
}

std::string Utf16(std::string_view text, bool little) {
  std::string out = little ? "\xFF\xFE" : "\xFE\xFF";
  for (char c : text) out += little ? std::string{c, '\0'} : std::string{'\0', c};
  return out;
}

TEST(ObjFidelity, Utf16WithAByteOrderMarkReadsLikeUtf8) {
  const std::string text = "v 0 0 0\nv 1 0 0\r\nv 0 1 0\ng part\nf 1 2 3\n";
  auto plain = RunReader(ImportObj, "a.obj", text);
  for (bool little : {true, false}) {
    auto r = RunReader(ImportObj, "a.obj", Utf16(text, little));
    EXPECT_EQ(FaceIndices(r), FaceIndices(plain)) << little;
    EXPECT_EQ(r.Children<scene::Separator>().at(0)->name, "part") << little;
    EXPECT_EQ(r.Children<scene::Coordinate3>().at(0)->point, plain.Children<scene::Coordinate3>().at(0)->point);
  }
}

TEST(ObjFidelity, AFileWithoutFacesSaysWhy) {
  const struct {
    std::string text, why;
  } cases[] = {
      {"# nothing\n", "It holds no faces."},
      {"v 0 0 0\nv 1 0 0\nl 1 2\n", "It holds only points or lines, no faces."},
      {"p 1\n", "It holds only points or lines, no faces."},
      {Utf16("v 0 0 0\n", true).substr(2), "Its text is in an encoding that Wirestead cannot read."},
      {"v 0 0 0\nf 1 2 3\nf 0 1 1\n", "Every face names vertices that the file does not have."},
      {"v 1 2\n", "Line 1 is not what the format allows."},
  };
  for (const auto& c : cases) {
    ImportFixture f;
    const std::string path = f.Write("a.obj", c.text);
    EXPECT_FALSE(f.Import(path));
    EXPECT_EQ(f.ui.MessageTexts(),
              (std::vector<std::string>{"There is nothing Wirestead can import in \"" + path + "\"\n" + c.why}))
        << c.why;
  }
}

TEST(ObjFidelity, FacesNamingMissingVerticesAreDroppedAlone) {
  ImportFixture f;
  ASSERT_TRUE(f.Import(f.Write("a.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 4\nf 1 2 3\nf -4 1 2\nf 1 2 0\n")));
  EXPECT_EQ(f.tables().polygonCount, 1u);
  EXPECT_EQ(f.ui.MessageTexts(), (std::vector<std::string>{
                                     std::string(kDropped) +
                                     "   - 3 faces name vertices that the file does not have\n"}));
}

TEST(RawFidelity, TwelveNumbersAreAColourAndATriangle) {
  auto r = RunReader(ImportRaw, "t.raw", "1 0.5 0 0 0 0 1 0 0 0 1 0\n0 0 1 1 0 1 0 1 1\n");
  ASSERT_EQ(r.faces.size(), 2u);
  EXPECT_EQ(r.faces[0].corners, (std::vector<Vec3>{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}));
  EXPECT_EQ(r.faces[0].material.diffuse, (Vec3{1, 0.5, 0}));
  EXPECT_EQ(r.faces[0].material.ambient, (Vec3{0, 0, 0}));
  EXPECT_TRUE(EqualMaterials(r.faces[1].material, MaterialValue{}));
}

TEST(RawFidelity, ShortLinesAreNamedInTheDropReport) {
  ImportFixture f;
  ASSERT_TRUE(f.Import(f.Write("a.raw", "0 0 0 1 0 0 0 1 0\n1 2 3\ng\n0 0 0 1 0 0 0 1\n")));
  EXPECT_EQ(f.tables().polygonCount, 1u);
  EXPECT_EQ(f.ui.MessageTexts(),
            (std::vector<std::string>{std::string(kDropped) +
                                      "   - 2 lines with fewer than nine numbers were skipped (lines 2, 4)\n"}));
}

TEST(NffFidelity, ABothPolygonIsOneTwoSidedPolygon) {
  ImportFixture f;
  ASSERT_TRUE(f.Import(f.Write("a.nff", "nff\nA\n4\n0 0 0\n1 0 0\n0 1 0\n1 1 1\n2\n"
                                        "3 0 1 2 0xf00 both\n3 0 1 3 0xf00\n")));
  ASSERT_EQ(f.tables().polygonCount, 2u);
  EXPECT_EQ(f.tables().polygons[0].flags, PolyFlag::kImported & ~PolyFlag::kNeverDrawBackFace);
  EXPECT_EQ(f.tables().polygons[1].flags, PolyFlag::kImported);
}

constexpr char kVersion3[] =
    "nff // WorldToolKit\n"
    "version 3.0 // with materials\n"
    "mtable wood.mat // beside the model\n"
    "Crate\n"
    "3 // vertices\n"
    "0 0 0 uv 0 0 // corner\n"
    "1 0 0 uv 1 0\n"
    "0 1 0 uv 0 1\n"
    "3\n"
    "3 0 1 2 matid 2 // from the table\n"
    "3 0 2 1 0x00f matid 9 _v_oak\n"
    "3 1 2 0 _rug\n";

TEST(NffFidelity, Version3MaterialTablesUvAndTextures) {
  for (bool withTable : {true, false}) {
    test::TempDir dir;
    if (withTable) {
      test::WriteFileText(dir.File("wood.mat"),
                          "// id, then its colours\n1\nambientdiffuse 1 1 1\n2 dark\nambientdiffuse 0.5 0.25 0\n");
    }
    auto r = RunReader(ImportNff, "box.nff", kVersion3, &dir);
    ASSERT_TRUE(r.ok) << withTable;
    ASSERT_EQ(r.faces.size(), 3u) << withTable;
    EXPECT_EQ(r.faces[0].corners[1], (Vec3{1, 0, 0}));
    const Vec3 first = withTable ? Vec3{0.5, 0.25, 0} : MaterialValue{}.diffuse;
    EXPECT_EQ(r.faces[0].material.diffuse, first) << withTable;
    EXPECT_EQ(r.faces[1].material.diffuse, (Vec3{0, 0, 1})) << withTable;  // matid 9: none
    EXPECT_TRUE(EqualMaterials(r.faces[2].material, MaterialValue{}));
    const std::string missing = withTable ? "Material table 'wood.mat' lacks a matid that file '" + r.path +
                                                "' uses; those polygons take their own colour or the default"
                                          : "Material table 'wood.mat' of file '" + r.path +
                                                "' cannot be read; its polygons take their own colour or the default";
    EXPECT_EQ(test::ErrorLines(r), (std::vector<std::string>{missing, "Texture names in file '" + r.path +
                                                                          "' are ignored"}));
  }
}

TEST(ImportCap, FacesBeyondTenThousandAreCountedInTheDropReport) {
  ImportFixture f;
  std::string text = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";
  for (int i = 0; i < 10003; ++i) text += "f 1 2 3\n";
  ASSERT_TRUE(f.Import(f.Write("a.obj", text)));
  EXPECT_EQ(f.tables().polygonCount, 9998u);
  EXPECT_EQ(f.ui.MessageTexts(),
            (std::vector<std::string>{std::string(kDropped) + "   - Object exceeded the maximum polygon count\n" +
                                      "   - 3 faces beyond the 10,000 that an object can take were left out\n"}));
}

}  // namespace
}  // namespace ws
