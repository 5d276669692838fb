#include <gtest/gtest.h>

#include "reader_test_support.h"

namespace ws {
namespace {

using test::ErrorLines;
using test::RunReader;

constexpr char kTriangleVertices[] = "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 0 0 1\n";

// The group Separators of an OBJ scene: name -> face index list.
std::vector<std::pair<std::string, std::vector<std::int32_t>>> Groups(test::ReadResult& r) {
  std::vector<std::pair<std::string, std::vector<std::int32_t>>> out;
  for (auto* s : r.Children<scene::Separator>()) {
    auto* faces = dynamic_cast<scene::IndexedFaceSet*>(s->children.at(0).get());
    out.emplace_back(s->name, faces ? faces->coordIndex : std::vector<std::int32_t>{});
  }
  return out;
}

TEST(ObjScene, RootNodesInTheirOrder) {
  auto r = RunReader(ImportObj, "a.obj",
                     std::string(kTriangleVertices) + "vn 0 0 1\nvt 0 0\nf 1/1/1 2/1/1 3/1/1\n");
  auto& kids = r.root().children;
  ASSERT_EQ(kids.size(), 6u);
  auto* material = dynamic_cast<scene::Material*>(kids[0].get());
  ASSERT_NE(material, nullptr);
  EXPECT_EQ(material->LongestList(), 1u);
  EXPECT_TRUE(EqualMaterials(material->ValueAt(0), MaterialValue{}));
  auto* binding = dynamic_cast<scene::MaterialBinding*>(kids[1].get());
  ASSERT_NE(binding, nullptr);
  EXPECT_EQ(binding->value, scene::Binding::kOverall);
  auto* normalBinding = dynamic_cast<scene::NormalBinding*>(kids[2].get());
  ASSERT_NE(normalBinding, nullptr);
  EXPECT_EQ(normalBinding->value, scene::Binding::kPerVertexIndexed);
  auto* coords = dynamic_cast<scene::Coordinate3*>(kids[3].get());
  ASSERT_NE(coords, nullptr);
  EXPECT_EQ(coords->point.size(), 4u);
  auto* normals = dynamic_cast<scene::Normal*>(kids[4].get());
  ASSERT_NE(normals, nullptr);
  EXPECT_EQ(normals->vector, (std::vector<Vec3>{{0, 0, 1}}));
  ASSERT_NE(dynamic_cast<scene::Separator*>(kids[5].get()), nullptr);
  ASSERT_EQ(r.faces.size(), 1u);
  EXPECT_EQ(r.faces[0].normals, (std::vector<Vec3>{{0, 0, 1}, {0, 0, 1}, {0, 0, 1}}));

  // Without normals: no Normal node.
  auto plain = RunReader(ImportObj, "a.obj", std::string(kTriangleVertices) + "f 1 2 3\n");
  EXPECT_EQ(plain.Children<scene::Normal>().size(), 0u);
  EXPECT_EQ(plain.Children<scene::NormalBinding>().at(0)->value, scene::Binding::kDefault);
}

TEST(ObjGroups, FacesBeforeTheFirstGroupLineBelongToGroupZero) {
  auto r = RunReader(ImportObj, "a.obj",
                     std::string(kTriangleVertices) + "f 1 2 3\ng wing\nf 1 2 4\n");
  EXPECT_EQ(Groups(r), (std::vector<std::pair<std::string, std::vector<std::int32_t>>>{
                           {"", {0, 1, 2, -1}}, {"wing", {0, 1, 3, -1}}}));
}

TEST(ObjGroups, AFirstGroupLineBeforeAnyFaceNamesGroupZero) {
  auto r = RunReader(ImportObj, "a.obj",
                     std::string("g first\n") + kTriangleVertices + "g second\nf 1 2 3\n");
  // "second" also finds group 0 still empty and renames it.
  EXPECT_EQ(Groups(r), (std::vector<std::pair<std::string, std::vector<std::int32_t>>>{
                           {"second", {0, 1, 2, -1}}}));
}

TEST(ObjGroups, NamesGetUnderscoresAndRepeatedNamesShareAGroup) {
  auto r = RunReader(ImportObj, "a.obj",
                     std::string(kTriangleVertices) +
                         "g my  part-1\t(left)\r\nf 1 2 3\n"
                         "g 2nd\nf 2 3 4\n"
                         "g my part-1 (left)\nf 1 3 4\n"
                         "group other\nf 1 2 4\n");  // any word starting with g
  EXPECT_EQ(Groups(r), (std::vector<std::pair<std::string, std::vector<std::int32_t>>>{
                           {"my_part_1__left_", {0, 1, 2, -1, 0, 2, 3, -1}},
                           {"G2nd", {1, 2, 3, -1}},
                           {"other", {0, 1, 3, -1}}}));
}

TEST(ObjFaces, TextureNumbersAreSkippedNormalNumbersKept) {
  auto r = RunReader(ImportObj, "a.obj",
                     std::string(kTriangleVertices) +
                         "vn 1 0 0\nvn 0 1 0\nf 1/7/2 2//1 -3/9 4\n");
  auto seps = r.Children<scene::Separator>();
  ASSERT_EQ(seps.size(), 1u);
  auto* faces = dynamic_cast<scene::IndexedFaceSet*>(seps[0]->children[0].get());
  EXPECT_EQ(faces->coordIndex, (std::vector<std::int32_t>{0, 1, 1, 3, -1}));
  EXPECT_EQ(faces->normalIndex, (std::vector<std::int32_t>{1, 0, -1}));
}

TEST(ObjKeywords, ComparedOverTheirOwnLength) {
  auto r = RunReader(ImportObj, "a.obj",
                     "v 0 0 0\nvp 9 9 9\nvertex 9 9 9\nv 1 0 0\nvnormal 0 0 1\nv 0 1 0\n"
                     "fo 1 2 3\nfx 1 2 3\nfoo 3 2 1\nusemtl x\nl 1 2\n");
  auto coords = r.Children<scene::Coordinate3>();
  ASSERT_EQ(coords.size(), 1u);
  EXPECT_EQ(coords[0]->point, (std::vector<Vec3>{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}));
  EXPECT_EQ(r.Children<scene::Normal>().at(0)->vector.size(), 1u);
  EXPECT_EQ(r.faces.size(), 2u);  // "fo" and "foo"; "fx" is no face
}

TEST(ObjNumbers, StartAtADigitOrMinusAndEndAtWhiteSpace) {
  auto r = RunReader(ImportObj, "a.obj",
                     "v x1 +2 y-3.5e1\n"        // 1, 2, -35
                     "v 3.1+e2 .5 -.25\n"       // 3.1, 0.5, -0.25
                     "v 1,2,3 4 5\n"            // 1 (then the next blank), 4, 5
                     "v - 1 2\n");              // a lone minus reads as 0
  auto coords = r.Children<scene::Coordinate3>();
  ASSERT_EQ(coords.size(), 1u);
  EXPECT_EQ(coords[0]->point,
            (std::vector<Vec3>{{1, 2, -35}, {3.1, 0.5, -0.25}, {1, 4, 5}, {0, 1, 2}}));
}

TEST(ObjErrors, TooFewNumbersIsASyntaxErrorAndNothingIsImported) {
  auto r = RunReader(ImportObj, "a.obj",
                     std::string(kTriangleVertices) + "f 1 2 3\n\nvn 1 2\nf 1 2 4\n");
  EXPECT_TRUE(r.ok);  // OBJ always counts as read
  EXPECT_TRUE(r.root().children.empty());
  EXPECT_EQ(ErrorLines(r), (std::vector<std::string>{"Syntax error file '" + r.path + "', line 7"}));
  auto huge = RunReader(ImportObj, "a.obj", "v 1 2 1e999\n");
  EXPECT_TRUE(huge.root().children.empty());
  EXPECT_EQ(ErrorLines(huge), (std::vector<std::string>{"Syntax error file '" + huge.path + "', line 1"}));
}

TEST(ObjErrors, AListBeyondHalfAMillionEndsTheReadingAndKeepsWhatCame) {
  std::string text;
  text.reserve(4100000);
  text += "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";
  for (int i = 3; i < 500001; ++i) text += "v 1 1 1\n";
  text += "f 3 2 1\n";
  auto r = RunReader(ImportObj, "a.obj", text);
  EXPECT_EQ(ErrorLines(r), (std::vector<std::string>{"Too much data in file '" + r.path +
                                                     "', line 500002; the rest of the file was not read"}));
  auto coords = r.Children<scene::Coordinate3>();
  ASSERT_EQ(coords.size(), 1u);
  EXPECT_EQ(coords[0]->point.size(), 500000u);
  EXPECT_EQ(r.faces.size(), 1u);  // the face after the cut is not read
}

TEST(ObjErrors, UnopenableFile) {
  test::TempDir dir;
  ImportNotifier notifier(dir.File("log.txt"));
  Importer importer(notifier);
  const std::string path = dir.File("missing.obj");
  EXPECT_TRUE(ImportObj(importer, path));
  EXPECT_TRUE(importer.root().children.empty());
  EXPECT_EQ(test::ReadFileText(dir.File("log.txt")), "Unable to open file '" + path + "'\n");
}

TEST(ObjLines, StatusLinesAndTheFinalOne) {
  std::string text;
  for (int i = 0; i < 150; ++i) text += "# 45678\n";  // 8 bytes a line
  auto r = RunReader(ImportObj, "a.obj", text);
  EXPECT_EQ(r.log, (std::vector<std::string>{"Reading 0.0% Complete", "Reading 66.7% Complete",
                                             "Reading 100.0% Complete"}));
}

}  // namespace
}  // namespace ws
