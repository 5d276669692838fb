#include "model/object_text.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/color_ops.h"
#include "model_test_util.h"
#include "support/model_fixture.h"

namespace ws {
namespace {

using test::ModelFixture;
using Strings = std::vector<std::string>;

std::string ColorBlock(const ColorTable& t) { return FormatColorLines(t, "\r\n"); }

// Two triangles over four points sharing an edge, one with a view-zone
// list, and a loose vector from the reserved origin.
void BuildSample(ObjectTables& t) {
  std::uint32_t a = t.AddPoint(0, 0, 0), b = t.AddPoint(10.5, 0, 0), c = t.AddPoint(0, -20, 3),
                d = t.AddPoint(1e-7, 2, 1);
  auto vec = [&](std::uint32_t p, std::uint32_t q, std::uint8_t color, std::int32_t attr,
                 std::uint32_t width) {
    std::uint32_t v = t.AddVector(p, q);
    t.vectors[v].color = color, t.vectors[v].attribute = attr, t.vectors[v].width = width;
    return v;
  };
  std::uint32_t ab = vec(a, b, 10, 0, 0), bc = vec(b, c, 255, -3, 2), ca = vec(c, a, 1, 0, 0),
                bd = vec(b, d, 7, 0, 1), dc = vec(d, c, 7, 0, 0);
  vec(0, a, 3, 0, 0);  // from the reserved origin, written as -7
  Polygon p0 = test::MakePolygon({a, b, c}, {ab, bc, ca});
  p0.flags = 0x402, p0.frontColor = p0.backColor = 10, p0.frontFill = p0.backFill = 0x0a0a0a0a;
  t.polygons[t.polygonCount++] = p0;
  Polygon& p1 = t.polygons[t.polygonCount++] = test::MakePolygon({b, d, c}, {bd, dc, bc});
  p1.viewZoneCount = 3;
  p1.flags = 0x80000200;  // view zone, and a high bit that must survive as signed text
  p1.frontColor = 0xf0, p1.backColor = 0x08, p1.frontFill = 0xf0f0f0f0, p1.backFill = 0x08080808;
  p1.viewZones[0] = 0;                                                        // polygon 0, High
  p1.viewZones[1] = 1 | ViewZone::kLowPriority;                               // polygon 1, Low
  p1.viewZones[2] = (bc - 0) | ViewZone::kIsVector | ViewZone::kLowPriority;  // vector 7, Low
}

TEST(ObjectTextWrite, SampleObjectIsWrittenByteForByteAndReadsBackAlsoBesideItself) {
  ModelFixture f;
  BuildSample(f.tables());
  std::string path = f.dir.File("sample.wdo");
  ASSERT_TRUE(WriteObjectText(f.m(), path));
  std::string expected = "[COLORS256_RGB_1.1]\r\n" + ColorBlock(f.m().colors.current) +
                         "[POINTS]\r\n4\r\n"
                         "0.000000,0.000000,0.000000\r\n"
                         "10.500000,0.000000,0.000000\r\n"
                         "0.000000,-20.000000,3.000000\r\n"
                         "0.000000,2.000000,1.000000\r\n"
                         "[VECTORS]\r\n6\r\n"
                         "0,1,10,0,0\r\n"
                         "1,2,255,-3,2\r\n"
                         "2,0,1,0,0\r\n"
                         "1,3,7,0,1\r\n"
                         "3,2,7,0,0\r\n"
                         "-7,0,3,0,0\r\n"
                         "[POLYGONS]\r\n2\r\n"
                         "(poly0)\r\n3,3,0,1026\r\n0a0a0a0a,0a0a0a0a,0a,0a\r\n"
                         "(vecs)\r\n0\r\n1\r\n2\r\n(views)\r\n(pnts)\r\n0\r\n1\r\n2\r\n"
                         "(poly1)\r\n3,3,3,-2147483136\r\nf0f0f0f0,08080808,f0,08\r\n"
                         "(vecs)\r\n3\r\n4\r\n1\r\n(views)\r\n0\r\n16385\r\n49159\r\n"
                         "(pnts)\r\n1\r\n3\r\n2\r\n";
  EXPECT_EQ(test::ReadFileText(path), expected);
  // Written again with a coordinate of 302 digits and read back, every
  // field comes home; a loaded object arrives selected.
  ObjectTables& t = f.tables();
  t.points[10].x = -std::ldexp(1.0, 1000);
  ASSERT_TRUE(WriteObjectText(f.m(), path));
  ModelFixture g;
  ASSERT_TRUE(LoadObjectText(g.m(), path));
  std::fill_n(t.polygonSelected.begin(), 2, 1);
  for (std::uint32_t v = kReservedVectors; v < t.vectorCount; ++v) t.vectors[v].selected = 1;
  EXPECT_EQ(std::make_tuple(test::TableFields(g.tables()), g.m().cluster.objectFilePath,
                            g.m().cluster.fileState, g.ui.Messages().size(), g.ui.busy()),
            std::make_tuple(test::TableFields(t), path, FileState::kObject, 0u, false));
  // Loaded again beside itself, the copy's numbers move past the 4 points,
  // 6 vectors and 2 polygons there, view-zone bits are kept, and only the
  // new polygons are selected.
  ObjectTables& u = g.tables();
  std::fill_n(u.polygonSelected.begin(), 2, 0);
  ASSERT_TRUE(LoadObjectText(g.m(), path));
  const Polygon& p = u.polygons[3];
  EXPECT_EQ(
      std::make_tuple(u.pointCount, u.polygonCount, u.points[12].x, u.vectors[12].p1,
                      u.vectors[12].p2, p.points[0], p.points[1], p.vectors[0], p.viewZones[0],
                      p.viewZones[1], p.viewZones[2], u.polygonSelected[1], u.polygonSelected[2]),
      std::make_tuple(15u, 4u, 10.5, 11u, 12u, 12u, 14u, 15u, 2u, 3u | ViewZone::kLowPriority,
                      13u | ViewZone::kIsVector | ViewZone::kLowPriority, 0u, 1u));
}

// A refused write says why and leaves the target as it was.
TEST(ObjectTextWrite, RefusalsKeepTheTarget) {
  const double inf = std::numeric_limits<double>::infinity();
  const std::string nonFinite =
      "Can't save this object: point 1 has a coordinate that is not a finite number. Nothing was "
      "written.";
  const std::tuple<double, double, double, const char*, std::string> rows[] = {
      {std::nan(""), 0, 0, "kept.wdo", nonFinite},
      {0, inf, 0, "kept.wdo", nonFinite},
      {0, 0, -inf, "kept.wdo", nonFinite},
      {0, 0, 0, "no/dir/x.wdo", "Can't open color table text file for writing."},
      {0, 0, 0, "", "Can't find clut in preferences file."}};
  for (const auto& [x, y, z, name, message] : rows) {
    ModelFixture f;
    f.tables().AddPoint(1, 2, 3);
    f.tables().AddPoint(x, y, z);
    if (!*name) f.m().paths.preferences = f.dir.File("absent");
    const std::string path = f.dir.File(*name ? name : "kept.wdo");
    test::WriteFileText(f.dir.File("kept.wdo"), "old");
    EXPECT_FALSE(WriteObjectText(f.m(), path));
    EXPECT_EQ(f.ui.MessageTexts().back(), message);
    EXPECT_EQ(test::ReadFileText(f.dir.File("kept.wdo")), "old");
    EXPECT_FALSE(f.ui.busy());
  }
}

// What a refused load must leave as it was: the tables, the Preferences
// file, the colours and the file state.
auto Watched(ModelFixture& f) {
  return std::make_tuple(test::TableFields(f.tables()),
                         test::ReadFileBytes(f.m().paths.preferences),
                         EncodeClut(f.m().colors.current), f.m().cluster.fileState, f.ui.busy());
}

// A model whose tables hold one user point, one user vector and one polygon.
struct Guarded {
  ModelFixture f;
  decltype(Watched(f)) before;
  Guarded() {
    f.tables().AddPoint(1, 2, 3);
    f.tables().AddVector(7, 7);
    f.tables().polygons[f.tables().polygonCount++] = Polygon{};
    before = Watched(f);
  }
  std::vector<std::string> Load(const std::string& text) {
    f.ui.ClearMessages();
    std::string path = f.dir.File("bad.wdo");
    test::WriteFileText(path, text);
    EXPECT_FALSE(LoadObjectText(f.m(), path));
    EXPECT_TRUE(Watched(f) == before);
    return f.ui.MessageTexts();
  }
};

std::string Body(const ColorTable& c, std::string_view points, std::string_view vectors,
                 std::string_view polygons) {
  return "[COLORS256_RGB_1.1]\n" + FormatColorLines(c, "\n") + "[POINTS]\n" + std::string(points) +
         "[VECTORS]\n" + std::string(vectors) + "[POLYGONS]\n" + std::string(polygons);
}

// One table of refused files and what the reader says; an empty message
// list stands for "one message".
TEST(ObjectTextRefusal, EachFaultHasItsMessageAndChangesNothing) {
  Guarded g;
  const ColorTable c = g.f.m().colors.current;
  const std::string head = "[COLORS256_RGB_1.1]\n" + FormatColorLines(c, "\n");
  const std::string two = "2\n0,0,0\n1,1,1\n", vec = "1\n0,1,0,0,0\n";
  const std::string poly = "1\n(poly0)\n2,1,0,1026\n0a0a0a0a,0a0a0a0a,0a,0a\n(vecs)\n";
  auto zoneList = [](int zones) {
    return "1\n(poly0)\n0,0," + std::to_string(zones) +
           ",0\n00000000,00000000,00,00\n(vecs)\n(views)\n";
  };
  auto oneZone = [&](std::uint32_t entry) {
    return zoneList(1) + std::to_string(entry) + "\n(pnts)\n";
  };
  std::string many = "16380\n", twenty, badColour = head;
  for (int i = 0; i < 16380; ++i) many += "0,0,0,0,0\n";
  for (int i = 0; i < 20; ++i) twenty += "0\n";
  badColour[120] = 'z';
  const std::string corrupt = "Corrupt object definition file. ";
  const std::string noTable = corrupt + "Can't find color table.";
  const std::tuple<const char*, std::string, Strings> rows[] = {
      {"empty file", "", Strings{noTable}},
      {"version 1.2", "[COLORS256_RGB_1.2]\n" + FormatColorLines(c, "\n"), Strings{noTable}},
      {"bad colour line", badColour, Strings{}},
      {"no [POINTS]", head + "[PINTS]\n0\n", Strings{corrupt + "[POINTS] not found."}},
      {"no [VECTORS]", head + "[POINTS]\n0\n[VECT]\n", Strings{corrupt + "[VECTORS] not found."}},
      {"no [POLYGONS]", head + "[POINTS]\n0\n[VECTORS]\n0\n[POLYGON] 0\n",
       Strings{corrupt + "[POLYGONS] not found.", "found=[POLYGON]"}},
      {"vector end one past", Body(c, two, "1\n0,2,0,0,0\n", "0\n"),
       Strings{corrupt + "Vector 0 names point 2, but the file has 2 points."}},
      {"vector end below the origin", Body(c, two, "1\n-8,1,0,0,0\n", "0\n"),
       Strings{corrupt + "Vector 0 names point -8, but the file has 2 points."}},
      {"colour 256", Body(c, two, "1\n0,1,256,0,0\n", "0\n"),
       Strings{corrupt + "Vector 0 has colour 256; colours run from 0 to 255."}},
      {"edge one past", Body(c, two, vec, poly + "1\n(views)\n(pnts)\n0\n1\n"),
       Strings{corrupt + "Polygon 0 names vector 1, but the file has 1 vectors."}},
      {"edge below the axes", Body(c, two, vec, poly + "-7\n(views)\n(pnts)\n0\n1\n"),
       Strings{corrupt + "Polygon 0 names vector -7, but the file has 1 vectors."}},
      {"corner past", Body(c, two, vec, poly + "0\n(views)\n(pnts)\n0\n5\n"),
       Strings{corrupt + "Polygon 0 names point 5, but the file has 2 points."}},
      {"corner below the origin", Body(c, two, vec, poly + "0\n(views)\n(pnts)\n0\n-8\n"),
       Strings{corrupt + "Polygon 0 names point -8, but the file has 2 points."}},
      {"view zone one past", Body(c, two, vec, oneZone(1)),
       Strings{corrupt + "Polygon 0 has view-zone entry 1, which names nothing in the file."}},
      {"view zone past 16 bits", Body(c, two, vec, oneZone(65536)),
       Strings{corrupt + "Polygon 0 has view-zone entry 65536, which names nothing in the file."}},
      {"points over capacity", Body(c, "19993\n", "", ""),
       Strings{"Can't load this object: its 19993 points would not fit beside the 1 already "
               "there (an object holds at most 19993)."}},
      {"vectors over capacity", Body(c, "0\n", "19994\n", ""),
       Strings{"Can't load this object: its 19994 vectors would not fit beside the 1 already "
               "there (an object holds at most 19994)."}},
      {"polygons over capacity", Body(c, "0\n", "0\n", "10000\n"),
       Strings{"Can't load this object: its 10000 polygons would not fit beside the 1 already "
               "there (an object holds at most 10000)."}},
      {"151 corners", Body(c, "0\n", "0\n", "1\n(poly0)\n151,0,0,0\n"),
       Strings{corrupt + "Polygon 0 lists 151 points, 0 vectors and 0 view zones; a polygon "
                         "holds at most 150, 150 and 20."}},
      {"21 view zones", Body(c, "0\n", "0\n", "1\n(poly0)\n0,0,21,0\n"), Strings{}},
      {"count past 64 bits", Body(c, "99999999999999999999\n", "", ""),
       Strings{corrupt + "Unreadable value at line 259."}},
      {"nan", Body(c, "1\nnan,0,0\n", "0\n", "0\n"),
       Strings{corrupt + "Unreadable value at line 260."}},
      {"two coordinates", Body(c, "1\n1,2\n", "0\n", "0\n"), Strings{}},
      {"view zone rebased past 14 bits",
       Body(c, "1\n0,0,0\n", many, oneZone(16383 | ViewZone::kIsVector)),
       Strings{"Can't add this object here: its view-zone lists would name items beyond "
               "number 16383, which a view-zone entry cannot hold."}},
  };
  for (const auto& [what, text, messages] : rows) {
    SCOPED_TRACE(what);
    const Strings said = g.Load(text);
    if (messages.empty()) {
      EXPECT_EQ(said.size(), 1u);
    } else {
      EXPECT_EQ(said, messages);
    }
  }
  g.f.ui.ClearMessages();
  EXPECT_FALSE(LoadObjectText(g.f.m(), g.f.dir.File("nothing.wdo")));
  EXPECT_EQ(g.f.ui.MessageTexts(), Strings{"Can't open object definition."});
  EXPECT_TRUE(Watched(g.f) == g.before);
  // At the limits, each beside the one user vector and polygon: a vector
  // entry may name any vector of the table, reserved ones included; a
  // polygon holds 20 view zones; vector 16,382 moves to 16,383, the last
  // number an entry holds.
  const std::pair<std::string, std::uint32_t> fits[] = {
      {Body(c, two, vec, oneZone(32774)), 7 | ViewZone::kIsVector},
      {Body(c, two, vec, zoneList(20) + twenty + "(pnts)\n"), 1},
      {Body(c, "1\n0,0,0\n", many, oneZone(16382 | ViewZone::kIsVector)),
       16383 | ViewZone::kIsVector},
  };
  for (const auto& [text, zone] : fits) {
    Guarded ok;
    test::WriteFileText(ok.f.dir.File("ok.wdo"), text);
    EXPECT_TRUE(LoadObjectText(ok.f.m(), ok.f.dir.File("ok.wdo"))) << text.substr(text.size() - 40);
    EXPECT_EQ(ok.f.tables().polygons[1].viewZones[0], zone);
  }
}

}  // namespace
}  // namespace ws
