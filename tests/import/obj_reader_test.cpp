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

TEST(ObjScene, NormalsAreBoundPerVertexWhenTheFileHasThem) {
  auto r = RunReader(ImportObj, "a.obj",
                     std::string(kFourVertices) + "vn 0 0 1\nvt 0 0\nf 1/1/1 2/1/1 3/1/1\n");
  ASSERT_EQ(r.faces.size(), 1u);
  EXPECT_EQ(r.faces[0].normals, (std::vector<Vec3>{{0, 0, 1}, {0, 0, 1}, {0, 0, 1}}));
  auto plain = RunReader(ImportObj, "a.obj", std::string(kFourVertices) + "f 1 2 3\n");
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

TEST(ObjNumbers, EveryFormStartingAtADigitSignOrPointAndKeywordsOverTheirLength) {
  auto r = RunReader(ImportObj, "a.obj",
                     "v x1 +2 y-3.5e1\n"   // what comes before a number is skipped
                     "v 3.1+e2 .5 -.25\n"  // after it, up to the next blank
                     "vp 9 9 9\nvertex 9 9 9\nvnormal 0 0 1\n"
                     "v +.5 1e-3 1E+2\n"
                     "v 1,2,3 4 5\n"
                     "v - 1 2\n"  // a lone sign reads as 0
                     "fo 1 2 3\nfx 1 2 3\nfoo 3 2 1\nusemtl x\nl 1 2\n");
  EXPECT_EQ(
      r.Children<scene::Coordinate3>().at(0)->point,
      (std::vector<Vec3>{{1, 2, -35}, {3.1, 0.5, -0.25}, {0.5, 1e-3, 100}, {1, 4, 5}, {0, 1, 2}}));
  EXPECT_EQ(r.Children<scene::Normal>().at(0)->vector.size(), 1u);
  EXPECT_EQ(r.faces.size(), 2u);  // "fo" and "foo"; "fx" is no face
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

}  // namespace
}  // namespace ws
