// Every RAW, OBJ and NFF file of the shared sample set, imported the way
// Merge imports it. The counts were worked out once from the files (for
// the large ones with a separate straightforward script that welds,
// removes repeated corners and counts edges the same way), then recorded.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "import_test_support.h"

namespace ws {
namespace {

using test::ImportFixture;

std::string Sample(const std::string& name) { return test::SamplePath(name); }

void ExpectConsistent(const ObjectTables& t) {
  ASSERT_LE(t.pointCount, 19999u);
  ASSERT_LE(t.vectorCount, 19999u);
  ASSERT_LE(t.polygonCount, 9999u);
  for (std::uint32_t v = kReservedVectors; v < t.vectorCount; ++v) {
    ASSERT_LT(t.vectors[v].p1, t.pointCount);
    ASSERT_LT(t.vectors[v].p2, t.pointCount);
  }
  for (std::uint32_t k = 0; k < t.polygonCount; ++k) {
    const Polygon& p = t.polygons[k];
    ASSERT_GE(p.pointCount, 3u);
    ASSERT_LE(p.pointCount, kMaxPolygonPoints);
    for (std::uint32_t i = 0; i < p.pointCount; ++i) ASSERT_LT(p.points[i], t.pointCount);
    for (std::uint32_t i = 0; i < p.vectorCount; ++i) ASSERT_LT(p.vectors[i], t.vectorCount);
  }
  for (std::uint32_t i = kReservedPoints; i < t.pointCount; ++i) {
    ASSERT_LE(std::fabs(t.points[i].x), 180.0 + 1e-9);
    ASSERT_LE(std::fabs(t.points[i].y), 180.0 + 1e-9);
    ASSERT_LE(std::fabs(t.points[i].z), 180.0 + 1e-9);
  }
}

struct Expected {
  const char* file;
  std::uint32_t points, vectors, polygons;
  bool dropReport;
};

// Readable samples. Notes on the less obvious counts:
// - box_longline.obj: one face lists 936 corners (1 2 3 4 repeated) and is
//   dropped for its size; the other five quadrilaterals stay.
// - concave_polygon.obj: one 66-corner face over 64 points that visits
//   two of them twice, so it has 65 distinct edges.
// - spider: 762 vertices weld into 722 points; 56 of the 1,368 triangles
//   then have two equal corners and make no polygon. The Sense8 copy adds
//   460 two-sided triangles, 44 of them among the degenerate ones.
// - WithColor.raw: each line's twelve numbers are a colour and the
//   triangle; WithTexture.raw: the texture names after the nine numbers
//   are ignored.
// - Haines spheres: 256 faces and 242 points each (16 x 15 rings + poles),
//   496 edges; the open cylinder has 16 quadrilaterals over 32 points.
const Expected kReadable[] = {
    {"obj/box.obj", 8, 12, 6, false},
    {"obj/box_UTF16BE.obj", 8, 12, 6, false},
    {"obj/box_longline.obj", 8, 12, 5, true},
    {"obj/box_mat_with_spaces.obj", 8, 12, 6, false},
    {"obj/box_without_lineending.obj", 8, 12, 6, false},
    {"obj/concave_polygon.obj", 64, 65, 1, false},
    {"obj/cube_mtllib_after_g.obj", 8, 18, 12, false},
    // Two faces name vertices 0 and 12 of 8: they alone are dropped.
    {"obj/malformed/malformed.obj", 8, 12, 4, true},
    {"obj/cube_usemtl.obj", 8, 18, 12, false},
    {"obj/multiple_spaces.obj", 3, 3, 1, false},
    {"obj/number_formats.obj", 3, 3, 1, false},
    {"obj/only_a_part_of_vertexcolors.obj", 5, 8, 3, false},
    {"obj/spider.obj", 722, 2004, 1312, false},
    {"obj/testmixed.obj", 8, 12, 6, false},
    {"raw/WithColor.raw", 12, 12, 4, false},
    {"raw/WithTexture.raw", 12, 12, 7, false},
    {"raw/spider_groups.raw", 722, 2004, 1312, false},
    // Cut in the middle of a triangle line: what came before it imports,
    // and the drop report names the cut line.
    {"raw/malformed/spider_groups_truncated.raw", 276, 768, 502, true},
    {"nff/box_sense8.nff", 8, 12, 6, false},
    {"nff/spider_sense8.nff", 722, 2004, 1312, false},
    {"nff/haines/ManyEarthsNotJustOne.nff", 10 * 242, 10 * 496, 10 * 256, false},
    {"nff/haines/WithCamera.nff", 3 * 242 + 4, 3 * 496 + 4, 3 * 256 + 1, false},
    {"nff/haines/cylinder.nff", 32, 48, 16, false},
    {"nff/haines/spheres.nff", 4 * 242, 4 * 496, 4 * 256, false},
};

TEST(Samples, ReadableFilesGiveTheirRecordedCounts) {
  WS_SKIP_WITHOUT_SAMPLES();
  for (const Expected& e : kReadable) {
    ImportFixture f;
    const std::string path = Sample(e.file);
    ASSERT_TRUE(test::FileExists(path)) << path;
    EXPECT_TRUE(f.Import(path, FirstDispatch(path).flip)) << e.file;
    EXPECT_EQ(f.userPoints(), e.points) << e.file;
    EXPECT_EQ(f.userVectors(), e.vectors) << e.file;
    EXPECT_EQ(f.tables().polygonCount, e.polygons) << e.file;
    EXPECT_EQ(f.ui.Messages().size(), e.dropReport ? 1u : 0u) << e.file;
    ExpectConsistent(f.tables());
  }
}

TEST(Samples, SenseEightColoursReachTheColourTable) {
  WS_SKIP_WITHOUT_SAMPLES();
  ImportFixture f;
  ASSERT_TRUE(f.Import(Sample("nff/box_sense8.nff")));
  const ColorTable colors = test::SampleColorTable();
  // The first polygon is 0xf00: pure red, which the table holds exactly.
  EXPECT_EQ(colors[f.tables().polygons[0].frontColor], (RGB16{65535, 0, 0}));
}

struct Unusable {
  const char* file;
  const char* message;      // the reason under "nothing ...", or "could not"
  const char* logLine;      // a line the log must hold, "" for none
};

constexpr char kNoFaces[] = "It holds no faces.";
constexpr char kPointsOrLines[] = "It holds only points or lines, no faces.";

// Files with nothing the editor can use, and the malformed ones: each
// leaves the cluster and the object as they were and says why.
const Unusable kUnusable[] = {
    {"obj/point_cloud.obj", kPointsOrLines, ""},
    {"obj/testline.obj", kPointsOrLines, ""},
    {"obj/malformed/empty.obj", kNoFaces, ""},
    {"obj/malformed/spider_truncated.obj", "Line 1743 is not what the format allows.",
     "Syntax error file '%s', line 1743"},
    {"raw/malformed/empty.raw", "", ""},
    {"nff/haines/hexahedron.nff", "", ""},  // "hex", "oct" and "tet" are not Haines words
    {"nff/haines/octahedron.nff", "", ""},
    {"nff/haines/tetrahedron.nff", "", ""},
    {"nff/malformed/empty.nff", "", ""},
    {"nff/malformed/spider_sense8_truncated.nff", "could not", "Syntax error file '%s', line 1086"},
};

TEST(Samples, UnusableFilesChangeNothingAndSayWhy) {
  WS_SKIP_WITHOUT_SAMPLES();
  for (const Unusable& u : kUnusable) {
    ImportFixture f;
    ASSERT_TRUE(NewObject(f.m(), "work"));
    ASSERT_TRUE(test::FileExists(Sample(u.file))) << u.file;
    f.ui.ClearMessages();
    const std::string path = Sample(u.file);
    const OpenOutcome out = OpenFile(f.m(), f.services, path, OpenMode::kOpen);
    EXPECT_FALSE(out.ok) << u.file;
    const std::string why = u.message;
    const std::string expected =
        why == "could not" ? "Could not import \"" + path + "\""
                           : "There is nothing Wirestead can import in \"" + path + "\"" +
                                 (why.empty() ? "" : "\n" + why);
    EXPECT_EQ(f.ui.MessageTexts(), (std::vector<std::string>{expected})) << u.file;
    EXPECT_EQ(f.m().cluster.objectNames, (std::vector<std::string>{"Default Object", "work"})) << u.file;
    EXPECT_EQ(f.m().cluster.current, 1u) << u.file;
    EXPECT_EQ(f.tables().pointCount, kReservedPoints) << u.file;
    EXPECT_EQ(f.tables().polygonCount, 0u) << u.file;
    std::string line = u.logLine;
    if (!line.empty()) {
      line.replace(line.find("%s"), 2, path);
      EXPECT_NE(f.Log().find(line + "\n"), std::string::npos) << u.file << "\n" << f.Log();
    }
  }
}

// Every reader, given its files cut off at every length (a dense sample of
// lengths for the large ones), reads without crashing and leaves a
// consistent object within the limits.
TEST(Samples, TruncatedFilesNeverBreakTheReaders) {
  WS_SKIP_WITHOUT_SAMPLES();
  const char* files[] = {
      "obj/box.obj", "obj/concave_polygon.obj", "obj/cube_usemtl.obj", "obj/number_formats.obj",
      "obj/box_longline.obj", "obj/spider.obj", "raw/WithColor.raw", "raw/WithTexture.raw",
      "raw/spider_groups.raw", "nff/box_sense8.nff", "nff/spider_sense8.nff",
      "nff/haines/WithCamera.nff", "nff/haines/cylinder.nff", "nff/haines/spheres.nff"};
  ImportFixture f;
  std::size_t cuts = 0;
  for (const char* file : files) {
    const std::vector<std::uint8_t> bytes = test::ReadFileBytes(Sample(file));
    // An empty or missing file would make this loop test nothing.
    ASSERT_GT(bytes.size(), 100u) << file;
    const std::string name = std::string("cut.") + std::string(file).substr(std::string(file).size() - 3);
    std::vector<std::size_t> lengths;
    for (std::size_t n = 0; n <= bytes.size(); ++n) {
      if (n < 1500 || n % (bytes.size() / 120 + 1) == 0 || n + 64 > bytes.size()) lengths.push_back(n);
    }
    for (std::size_t n : lengths) {
      ++cuts;
      const std::string path = f.dir.File(name);
      test::WriteFileBytes(path, std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + n));
      f.tables().ResetObject();
      f.ui.ClearMessages();
      f.Import(path);
      ExpectConsistent(f.tables());
      ASSERT_LE(f.ui.Messages().size(), 1u) << file << " cut at " << n;
      if (HasFatalFailure()) {
        ADD_FAILURE() << file << " cut at " << n;
        return;
      }
    }
  }
  EXPECT_GT(cuts, std::size(files) * 100);
}

}  // namespace
}  // namespace ws
