#include <gtest/gtest.h>

#include "import_test_support.h"

namespace ws {
namespace {

using test::RunReader;
using Groups = std::vector<std::pair<std::string, std::vector<std::int32_t>>>;

constexpr char kFourVertices[] = "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 0 0 1\n";

// The group Separators of an OBJ scene: name -> face index list.
Groups GroupsOf(test::ReadResult& r) {
  Groups out;
  for (auto* s : r.Children<scene::Separator>()) {
    out.emplace_back(s->name, dynamic_cast<scene::IndexedFaceSet&>(*s->children.at(0)).coordIndex);
  }
  return out;
}

std::vector<std::int32_t> AllFaces(test::ReadResult& r) {
  std::vector<std::int32_t> out;
  for (const auto& [name, faces] : GroupsOf(r)) out.insert(out.end(), faces.begin(), faces.end());
  return out;
}

TEST(ObjScene, RootNodesInTheirOrder) {
  auto r = RunReader(ImportObj, "a.obj",
                     std::string(kFourVertices) + "vn 0 0 1\nvt 0 0\nf 1/1/1 2/1/1 3/1/1\n");
  auto& kids = r.root().children;
  ASSERT_EQ(kids.size(), 6u);
  EXPECT_TRUE(EqualMaterials(dynamic_cast<scene::Material&>(*kids[0]).ValueAt(0), MaterialValue{}));
  EXPECT_EQ(dynamic_cast<scene::MaterialBinding&>(*kids[1]).value, scene::Binding::kOverall);
  EXPECT_EQ(dynamic_cast<scene::NormalBinding&>(*kids[2]).value, scene::Binding::kPerVertexIndexed);
  EXPECT_EQ(dynamic_cast<scene::Coordinate3&>(*kids[3]).point.size(), 4u);
  EXPECT_EQ(dynamic_cast<scene::Normal&>(*kids[4]).vector, (std::vector<Vec3>{{0, 0, 1}}));
  ASSERT_EQ(r.faces.size(), 1u);
  EXPECT_EQ(r.faces[0].normals, (std::vector<Vec3>{{0, 0, 1}, {0, 0, 1}, {0, 0, 1}}));
  auto plain = RunReader(ImportObj, "a.obj", std::string(kFourVertices) + "f 1 2 3\n");
  EXPECT_TRUE(plain.Children<scene::Normal>().empty());
  EXPECT_EQ(plain.Children<scene::NormalBinding>().at(0)->value, scene::Binding::kDefault);
}

TEST(ObjGroups, NamingReuseAndGroupZero) {
  const struct {
    std::string text;
    Groups groups;
  } cases[] = {
      {"f 1 2 3\ng wing\nf 1 2 4\n", {{"", {0, 1, 2, -1}}, {"wing", {0, 1, 3, -1}}}},
      // Group 0 is still empty at each "g": each names it again.
      {"g first\ng second\nf 1 2 3\n", {{"second", {0, 1, 2, -1}}}},
      {"g my  part-1\t(left)\r\nf 1 2 3\ng 2nd\nf 2 3 4\ng my part-1 (left)\nf 1 3 4\ngroup "
       "other\nf 1 2 4\n",
       {{"my_part_1__left_", {0, 1, 2, -1, 0, 2, 3, -1}},
        {"G2nd", {1, 2, 3, -1}},
        {"other", {0, 1, 3, -1}}}}};
  for (const auto& c : cases) {
    auto r = RunReader(ImportObj, "a.obj", kFourVertices + c.text);
    EXPECT_EQ(GroupsOf(r), c.groups) << c.text;
  }
}

TEST(ObjGroups, TheGroupCapKeepsLaterFacesInTheLastGroup) {
  std::string text = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";
  for (int g = 0; g <= 2048; ++g) text += "g n" + std::to_string(g) + "\nf 1 2 3\n";
  auto r = RunReader(ImportObj, "a.obj", text);
  const Groups groups = GroupsOf(r);
  ASSERT_EQ(groups.size(), 2048u);
  EXPECT_EQ(groups.back().first, "n2047");
  EXPECT_EQ(groups.back().second, (std::vector<std::int32_t>{0, 1, 2, -1, 0, 1, 2, -1}));
}

TEST(ObjFaces, CornerNumbers) {
  std::string eight;
  for (int i = 1; i <= 8; ++i) eight += "v " + std::to_string(i) + " 0 0\n";
  // Texture numbers are skipped; negative numbers count back from the last
  // vertex or normal read so far; a face may name vertices read later.
  auto r = RunReader(
      ImportObj, "a.obj",
      "f 1 2 3\n" + eight + "vn 1 0 0\nvn 0 1 0\nf -8/7/-1 -3//-2 -2/9 -1//2\nf 1/7/2 2//1 3\n");
  const auto& set =
      dynamic_cast<scene::IndexedFaceSet&>(*r.Children<scene::Separator>().at(0)->children.at(0));
  EXPECT_EQ(set.coordIndex, (std::vector<std::int32_t>{0, 1, 2, -1, 0, 5, 6, 7, -1, 0, 1, 2, -1}));
  EXPECT_EQ(set.normalIndex, (std::vector<std::int32_t>{1, 0, 1, -1, 1, 0, -1}));
}

TEST(ObjFaces, AFaceLineOfAnyLengthKeepsAllItsCorners) {
  std::string face = "f";
  int corners = 0;
  for (; face.size() < 3000; ++corners) face += " " + std::to_string(corners % 3 + 1);
  auto r = RunReader(ImportObj, "a.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\n" + face + "\n");
  EXPECT_EQ(AllFaces(r).size(), static_cast<std::size_t>(corners) + 1);
}

TEST(ObjKeywords, ComparedOverTheirOwnLength) {
  auto r = RunReader(ImportObj, "a.obj",
                     "v 0 0 0\nvp 9 9 9\nvertex 9 9 9\nv 1 0 0\nvnormal 0 0 1\nv 0 1 0\n"
                     "fo 1 2 3\nfx 1 2 3\nfoo 3 2 1\nusemtl x\nl 1 2\n");
  EXPECT_EQ(r.Children<scene::Coordinate3>().at(0)->point,
            (std::vector<Vec3>{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}));
  EXPECT_EQ(r.Children<scene::Normal>().at(0)->vector.size(), 1u);
  EXPECT_EQ(r.faces.size(), 2u);  // "fo" and "foo"; "fx" is no face
}

TEST(ObjNumbers, EveryFormStartingAtADigitSignOrPoint) {
  auto r = RunReader(ImportObj, "a.obj",
                     "v x1 +2 y-3.5e1\n"   // what comes before a number is skipped
                     "v 3.1+e2 .5 -.25\n"  // after it, up to the next blank
                     "v +.5 1e-3 1E+2\n"
                     "v 1,2,3 4 5\n"
                     "v - 1 2\n");  // a lone sign reads as 0
  EXPECT_EQ(
      r.Children<scene::Coordinate3>().at(0)->point,
      (std::vector<Vec3>{{1, 2, -35}, {3.1, 0.5, -0.25}, {0.5, 1e-3, 100}, {1, 4, 5}, {0, 1, 2}}));
}

std::string Utf16(std::string_view text, bool little) {
  std::string out = little ? "\xFF\xFE" : "\xFE\xFF";
  for (char c : text) out += little ? std::string{c, '\0'} : std::string{'\0', c};
  return out;
}

TEST(ObjText, Utf16WithAByteOrderMarkReadsLikeUtf8) {
  const std::string text = "v 0 0 0\nv 1 0 0\r\nv 0 1 0\ng part\nf 1 2 3\n";
  auto plain = RunReader(ImportObj, "a.obj", text);
  for (bool little : {true, false}) {
    auto r = RunReader(ImportObj, "a.obj", Utf16(text, little));
    EXPECT_EQ(GroupsOf(r), GroupsOf(plain)) << little;
    EXPECT_EQ(r.Children<scene::Coordinate3>().at(0)->point,
              plain.Children<scene::Coordinate3>().at(0)->point);
  }
}

TEST(ObjErrors, SyntaxErrorsImportNothing) {
  const std::pair<std::string, int> cases[] = {
      {std::string(kFourVertices) + "f 1 2 3\n\nvn 1 2\nf 1 2 4\n", 7},
      {"v 1 2 1e999\n", 1},
      {"f a b c\n", 1}};
  for (const auto& [text, line] : cases) {
    auto r = RunReader(ImportObj, "a.obj", text);
    EXPECT_TRUE(r.ok);  // OBJ always counts as read
    EXPECT_TRUE(r.root().children.empty()) << text;
    EXPECT_EQ(r.Errors(), (std::vector<std::string>{"Syntax error file '" + r.path + "', line " +
                                                    std::to_string(line)}));
  }
  test::TempDir dir;
  ImportNotifier notifier(dir.File("log.txt"));
  Importer importer(notifier);
  EXPECT_TRUE(ImportObj(importer, dir.File("missing.obj")));
  EXPECT_EQ(test::ReadFileText(dir.File("log.txt")),
            "Unable to open file '" + dir.File("missing.obj") + "'\n");
}

TEST(ObjErrors, AListBeyondHalfAMillionEndsTheReadingAndKeepsWhatCame) {
  std::string text = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";
  text.reserve(4100000);
  for (int i = 3; i < 500001; ++i) text += "v 1 1 1\n";
  auto r = RunReader(ImportObj, "a.obj", text + "f 3 2 1\n");
  EXPECT_EQ(r.Errors(),
            (std::vector<std::string>{"Too much data in file '" + r.path +
                                      "', line 500002; the rest of the file was not read"}));
  EXPECT_EQ(r.Children<scene::Coordinate3>().at(0)->point.size(), 500000u);
  EXPECT_EQ(r.faces.size(), 1u);
}

TEST(ObjLines, StatusLinesAndTheFinalOne) {
  std::string text;
  for (int i = 0; i < 150; ++i) text += "# 45678\n";  // 8 bytes a line
  EXPECT_EQ(RunReader(ImportObj, "a.obj", text).log,
            (std::vector<std::string>{"Reading 0.0% Complete", "Reading 66.7% Complete",
                                      "Reading 100.0% Complete"}));
}

// Through the scene import: what the user is told.
TEST(ObjImport, AFileWithoutFacesSaysWhy) {
  const std::pair<std::string, std::string> cases[] = {
      {"# nothing\n", "It holds no faces."},
      {"v 0 0 0\nv 1 0 0\nl 1 2\n", "It holds only points or lines, no faces."},
      {"p 1\n", "It holds only points or lines, no faces."},
      {Utf16("v 0 0 0\n", true).substr(2),
       "Its text is in an encoding that Wirestead cannot read."},
      {"v 0 0 0\nf 1 2 3\nf 0 1 1\n", "Every face names vertices that the file does not have."},
      {"v 1 2\n", "Line 1 is not what the format allows."}};
  for (const auto& [text, why] : cases) {
    test::ImportFixture f;
    const std::string path = f.Write("a.obj", text);
    EXPECT_FALSE(f.Import(path));
    EXPECT_EQ(f.ui.MessageTexts(),
              (std::vector<std::string>{"There is nothing Wirestead can import in \"" + path +
                                        "\"\n" + why}));
  }
}

TEST(ObjImport, FacesNamingMissingVerticesAreDroppedAlone) {
  test::ImportFixture f;
  ASSERT_TRUE(f.Import(
      f.Write("a.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 4\nf 1 2 3\nf -4 1 2\nf 1 2 0\n")));
  EXPECT_EQ(f.tables().polygonCount, 1u);
  EXPECT_EQ(f.ui.MessageTexts(),
            (std::vector<std::string>{std::string(test::kDropped) +
                                      "   - 3 faces name vertices that the file does not have\n"}));
}

}  // namespace
}  // namespace ws
