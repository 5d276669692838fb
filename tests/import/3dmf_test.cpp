// 3DMF: the metafile reader in both forms (every size at its limit,
// references) and Import3dmf's rules, on metafiles written here.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <initializer_list>

#include "import/import_3dmf.h"
#include "import/readers/3dmf/metafile_reader.h"
#include "import_test_support.h"
#include "model/color_table.h"

namespace ws::test {
namespace {

using namespace metafile;

using Bytes = std::vector<std::uint8_t>;

Bytes& operator+=(Bytes& a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}
Bytes operator+(Bytes a, const Bytes& b) { return a += b; }

struct MetafileWriter {
  bool little = false;

  Bytes Uint(std::uint64_t v, int width) const {
    Bytes out(static_cast<std::size_t>(width));
    for (int i = 0; i < width; ++i) {
      out[little ? i : width - 1 - i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
    return out;
  }
  Bytes U32s(std::initializer_list<std::uint32_t> values) const {
    Bytes out;
    for (std::uint32_t v : values) out += Uint(v, 4);
    return out;
  }
  Bytes Floats(const std::vector<float>& values) const {
    Bytes out;
    for (float f : values) out += Uint(std::bit_cast<std::uint32_t>(f), 4);
    return out;
  }
  Bytes Object(const char (&type)[5], const Bytes& data) const {
    return Uint(metafile::TypeCode(type), 4) + Uint(data.size(), 4) + data;
  }
  // The header object (version 1.6, table of contents at `toc`) and `body`.
  Bytes File(const Bytes& body, std::uint64_t toc = 0) const {
    return Object("3DMF", Uint(1, 2) + Uint(6, 2) + Uint(0, 4) + Uint(toc, 8)) + body;
  }
  // A TriMesh of `points` points (x = index), its triangles and `edges`
  // edge records, indices in the width its point count calls for.
  Bytes TriMesh(std::uint32_t points, const std::vector<std::uint32_t>& corners,
                std::uint32_t edges = 0) const {
    const int w = static_cast<int>(metafile::TriMeshIndexWidth(points));
    Bytes data = U32s({static_cast<std::uint32_t>(corners.size() / 3), 0, edges, 0, points, 0});
    for (std::uint32_t c : corners) data += Uint(c, w);
    for (std::uint32_t e = 0; e < 4 * edges; ++e) data += Uint(0, w);
    for (std::uint32_t p = 0; p < points; ++p) data += Floats({float(p), 0, float(p % 3)});
    return Object("tmsh", data + Floats({0, 0, 0, 0, 0, 0}) + U32s({0}));
  }
  // A table of contents of (id, position) entries, 16 bytes each.
  Bytes Toc(const std::vector<std::pair<std::uint32_t, std::uint64_t>>& entries) const {
    Bytes data = Uint(0, 8) + U32s({1, 0, 1, 16, static_cast<std::uint32_t>(entries.size())});
    for (const auto& [id, at] : entries) data += U32s({id}) + Uint(at, 8) + U32s({0});
    return Object("toc ", data);
  }
};

std::string TextMetafile(const std::string& body) {
  return "3DMetafile ( 1 6 Normal tableofcontents0> )\n" + body;
}

struct ReadRun {
  int open = -1;
  std::string types;  // "cntr trng endc"
  std::vector<MetafileObject> objects;
  int end = 0;
  std::vector<std::string> log;
};

ReadRun ReadAll(Bytes bytes) {
  ReadRun r;
  std::unique_ptr<metafile::MetafileReader> reader;
  r.open =
      OpenMetafile(std::move(bytes), reader, [&](std::string_view l) { r.log.emplace_back(l); });
  MetafileObject o;
  while (reader && (r.end = reader->ReadNextObject(o)) == kOk) {
    for (int i = 3; i >= 0; --i) r.types += static_cast<char>(o.type >> (8 * i));
    r.types += ' ';
    r.objects.push_back(o);
    if (o.type == kReference && (r.end = reader->ResolveReference(o, nullptr)) != kOk) break;
  }
  return r;
}
ReadRun ReadText(const std::string& body) {
  const std::string text = TextMetafile(body);
  return ReadAll(Bytes(text.begin(), text.end()));
}

const std::vector<float> kTri = {0, 0, 0, 1, 0, 0, 0, 1, 0};

TEST(MetafileReader, TriMeshIndexWidthFollowsThePointCount) {
  const MetafileWriter w;
  for (const auto& [points, width] :
       {std::pair{255u, 1u}, {256u, 2u}, {65535u, 2u}, {65536u, 4u}}) {
    EXPECT_EQ(TriMeshIndexWidth(points), width) << points;
    const std::vector<std::uint32_t> corners = {0, points - 1, points / 2};
    const ReadRun r = ReadAll(w.File(w.TriMesh(points, corners, 1)));
    ASSERT_EQ(std::tuple(r.types, r.end), std::tuple("tmsh ", kEndOfMetafile)) << points;
    EXPECT_EQ(r.objects[0].triangles, corners) << points;
    EXPECT_EQ(r.objects[0].values.size(), 3u * points) << points;
    EXPECT_EQ(r.objects[0].values[3 * (points - 1)], float(points - 1)) << points;
  }
}

TEST(MetafileReader, BinarySizesAndCountsAtTheirLimits) {
  for (bool little : {false, true}) {
    const MetafileWriter w{little};
    const Bytes tri = w.Object("trng", w.Floats(kTri));
    const Bytes polygon3 = w.U32s({3}) + w.Floats(kTri);
    const Bytes cut = w.Uint(kTriangle, 4) + w.U32s({40}) + w.Floats(kTri);
    const struct {
      const char* name;
      Bytes body;
      std::string types;
      int end;
      std::size_t logLines;
    } rows[] = {
        {"child fills its container", w.Object("cntr", tri), "cntr trng endc ", kEndOfMetafile, 0},
        {"child one byte past its container", w.Uint(kContainer, 4) + w.U32s({43}) + tri, "cntr ",
         kBadObject, 0},
        {"top-level object past the file", tri + cut, "trng ", kEndOfMetafile, 1},
        {"four bytes of padding", tri + w.U32s({0}), "trng ", kEndOfMetafile, 1},
        {"unknown type skipped by its size", w.Object("abcd", tri) + tri, "abcd trng ",
         kEndOfMetafile, 0},
        {"polygon count fits", w.Object("cntr", w.Object("plyg", polygon3)), "cntr plyg endc ",
         kEndOfMetafile, 0},
        {"polygon count one too many",
         w.Object("cntr", w.Object("plyg", w.U32s({4}) + w.Floats(kTri))), "cntr ", kBadObject, 0},
        {"triangle index at the point count",
         w.Object("cntr", w.TriMesh(3, {0, 1, 2}) + w.TriMesh(3, {0, 1, 3})), "cntr tmsh ",
         kBadObject, 0},
        {"mesh face count past its data",
         w.Object("cntr",
                  w.Object("mesh", w.U32s({3}) + w.Floats(kTri) + w.U32s({2, 0, 3, 0, 1, 2}))),
         "cntr ", kBadObject, 0},
        {"contour and face",
         w.Object("mesh",
                  w.U32s({3}) + w.Floats(kTri) + w.U32s({1, 1, 3, 0, 1, 2, 0xFFFFFFFD, 2, 1, 0})),
         "mesh ", kEndOfMetafile, 0},
        {"default ellipsoid", w.Object("elpd", {}), "elpd ", kEndOfMetafile, 0},
    };
    for (const auto& row : rows) {
      const ReadRun r = ReadAll(w.File(row.body));
      EXPECT_EQ(std::tuple(r.open, r.types, r.end, r.log.size()),
                std::tuple(kOk, row.types, row.end, row.logLines))
          << row.name << (little ? " (little-endian)" : "");
      if (row.logLines) {
        EXPECT_EQ(r.log[0], StoppedAtLine(24 + 44)) << row.name;
      }
    }
    const ReadRun mesh = ReadAll(w.File(rows[9].body));
    EXPECT_EQ(mesh.objects[0].faces[1].count, 0x80000003u);
    EXPECT_EQ(ReadAll(w.File(rows[10].body)).objects[0].values[4], 1.0f);
  }
}

TEST(MetafileReader, TextForms) {
  const std::string body =
      "# comment ( not an object\nlab: Container (\n Apple Computer, Inc.:NameElement ( 1 ( 2 ) )\n"
      "  Triangle ( 0 0 0 1 0 0 0 1 0 ) # x\n DiffuseColor ( 1.5e-1 -.5 0x10 ) Matrix ( +2 0 0 0"
      " 0 1 0 0 0 0 1 0 0 0 0 1 )\n"
      " TriMesh ( 1 0 1 0 3 0  0 1 2  0 1 0 0  0 0 0 1 0 0 0 1 0  0 0 0 1 1 0 False ) ) extra";
  const ReadRun r = ReadText(body);
  // Seven types: seven objects.
  ASSERT_EQ(std::tuple(r.types, r.end, r.log),
            std::tuple("cntr ???? trng kdif mtrx tmsh endc ", kEndOfMetafile,
                       std::vector<std::string>{StoppedAtLine(TextMetafile(body).rfind("extra"))}));
  EXPECT_EQ(r.objects[3].values, (std::vector<float>{0.15f, -0.5f, 16}));
  EXPECT_EQ(r.objects[4].values[0], 2.0f);
  EXPECT_EQ(r.objects[5].triangles, (std::vector<std::uint32_t>{0, 1, 2}));
  EXPECT_EQ(r.objects[5].values, kTri);
  const struct {
    const char* body;
    std::string types;
    int end;
  } rows[] = {
      {"Container ( Triangle ( 0 0 0 1 0 0 0 1 x ) )", "cntr ", kBadObject},
      {"Container ( Triangle ( 0 0 0 1 0 0 0 1 ) )", "cntr ", kBadObject},
      {"Container ( Triangle ( 0 0 0 1 0 0 0 1 0 ) ", "", kEndOfMetafile},
      {"Container ( Polygon ( 3 0 0 0 1 0 0 0 1 ) )", "cntr ", kBadObject},
      {"Container ( Mesh ( 3 0 0 0 1 0 0 0 1 0 1 0 -3 0 1 2 ) )", "cntr mesh endc ",
       kEndOfMetafile},
      {"Container ( Mesh ( 3 0 0 0 1 0 0 0 1 0 1 0 -4 0 1 2 ) )", "cntr ", kBadObject},
      {"Ellipsoid ( ) Ellipsoid ( 1 2 3 4 5 6 7 8 9 10 11 12 0 1 0 1 )", "elpd elpd ",
       kEndOfMetafile},
  };
  for (const auto& row : rows) {
    const ReadRun t = ReadText(row.body);
    EXPECT_EQ(std::tuple(t.types, t.end), std::tuple(row.types, row.end)) << row.body;
  }
  EXPECT_EQ(ReadAll(Bytes{'3', 'D', 'M'}).open, kNotAMetafile);
}

TEST(MetafileReader, ReferencesResolvedThroughTheTableOfContents) {
  const ReadRun text = ReadText(
      "Reference ( 1 ) tri1: Triangle ( 0 0 0 1 0 0 0 1 0 ) Reference ( 2 )\n"
      "tableofcontents0: TableOfContents ( tableofcontents1> 3 -1 1 16 2 1 tri1> Triangle 2 "
      "nowhere> Triangle )");
  EXPECT_EQ(std::tuple(text.types, text.end),
            std::tuple("rfrn trng trng rfrn ", kReferenceNotFound));
  for (bool little : {false, true}) {
    const MetafileWriter w{little};
    // rfrn at 24, trng at 36, the table at 80.
    const Bytes body = w.Object("rfrn", w.U32s({1})) + w.Object("trng", w.Floats(kTri)) +
                       w.Toc({{1, 36}, {2, 999}}) + w.Object("rfrn", w.U32s({2}));
    const ReadRun r = ReadAll(w.File(body, 80));
    EXPECT_EQ(std::tuple(r.types, r.end), std::tuple("rfrn trng trng rfrn ", kReferenceNotFound))
        << little;
  }
  // A container that refers to itself is followed kMaxReferenceDepth deep.
  const ReadRun loop = ReadText(
      "c: Container ( Reference ( 1 ) ) TableOfContents ( next> 2 -1 1 16 1 1 c> Container )");
  std::size_t references = 0;
  for (const MetafileObject& o : loop.objects) references += o.type == kReference;
  EXPECT_EQ(std::tuple(references, loop.end),
            std::tuple(kMaxReferenceDepth + 1, kReferenceTooDeep));
  MetafileObject notReference;
  std::unique_ptr<metafile::MetafileReader> reader;
  ASSERT_EQ(OpenMetafile(MetafileWriter{}.File({}), reader), kOk);
  EXPECT_EQ(reader->ResolveReference(notReference, nullptr), kNotReference);
  notReference.type = kReference;
  EXPECT_EQ(reader->ResolveReference(notReference, nullptr), kReferenceWithoutId);
}

using P = std::array<double, 3>;

struct MetafileFixture : ImportFixture {
  MetafileFixture() { services.metafileReader = Import3dmf; }
  std::string File(const std::string& body, const char* name = "m.3dmf") {
    return Write(name, TextMetafile(body));
  }
  bool Run(const std::string& body, bool flip = false) {
    return Import3dmf(m(), services, File(body), flip);
  }
  std::vector<P> Points(std::uint32_t from = kReservedPoints) {
    std::vector<P> out;
    for (std::uint32_t i = from; i < tables().pointCount; ++i) {
      out.push_back({tables().points[i].x, tables().points[i].y, tables().points[i].z});
    }
    return out;
  }
  std::vector<std::uint32_t> Corners(std::uint32_t k) {
    const Polygon& p = tables().polygons[k];
    return {p.points, p.points + p.pointCount};
  }
};

const char kTriangleText[] = "Triangle ( 10 0 0 20 0 0 10 0 5 )\n";

TEST(Import3dmf, TheBoxIsScaledTo180AndStandsOnZero) {
  MetafileFixture f;
  ASSERT_TRUE(f.Run(kTriangleText));
  EXPECT_EQ(f.Points(), (std::vector<P>{{-90, 0, -45}, {90, 0, -45}, {-90, 0, 45}}));
  const Polygon& p = f.tables().polygons[0];
  EXPECT_EQ(std::tuple(f.tables().polygonCount, p.pointCount, p.vectorCount, p.flags, p.frontFill,
                       f.Corners(0), f.tables().vectorCount),
            std::tuple(1u, 3u, 3u, 0x402u, 0u, std::vector<std::uint32_t>{7, 8, 9}, 9u));
  for (std::uint32_t v : std::span(p.vectors, 3))
    EXPECT_EQ(f.tables().vectors[v].selected, kSelected);
  EXPECT_EQ(f.progress.titles, std::vector<std::string>{std::string(k3dmfTitle)});
  // A negative-x box keeps its maximum at 0: x runs from -20 to the box's
  // starting maximum 0, centre -10, scale 9. No extent scales by one.
  MetafileFixture g, h;
  ASSERT_TRUE(g.Run("Triangle ( -20 0 0 -10 0 0 -20 0 5 )"));
  EXPECT_EQ(g.Points(), (std::vector<P>{{-90, 0, -22.5}, {0, 0, -22.5}, {-90, 0, 22.5}}));
  ASSERT_TRUE(h.Run("Triangle ( 5 5 5 5 5 5 5 5 5 )"));
  EXPECT_EQ(h.Points(), (std::vector<P>{{0, 0, 0}}));
}

TEST(Import3dmf, ColourAppliesToTheGeometryAfterIt) {
  MetafileFixture f;
  ASSERT_TRUE(
      f.Run("Container ( Triangle ( 0 0 0 1 0 0 0 1 0 ) DiffuseColor ( 1 0 0.5 ) )\n"
            "Triangle ( 0 0 1 1 0 1 0 1 1 )"));
  const ColorTable table =
      *ReadClutFromFile(f.m().resources, f.m().paths.preferences, kCurrentClutId);
  const std::uint8_t red = NearestColor(table, 65535, 0, 32767);
  ASSERT_NE(red, 0);
  const Polygon& before = f.tables().polygons[0];
  const Polygon& after = f.tables().polygons[1];
  EXPECT_EQ(std::tuple(before.frontColor, before.backColor, before.backFill), std::tuple(0, 0, 0u));
  EXPECT_EQ(std::tuple(after.frontColor, after.backColor, after.frontFill, after.backFill),
            std::tuple(red, red, red * 0x01010101u, red * 0x01010101u));
}

TEST(Import3dmf, MatrixMovesTrianglesAndMeshesUntilAMeshSwitchesItOff) {
  MetafileFixture f;
  // x + 100 for every corner it applies to; each object has its own z.
  ASSERT_TRUE(
      f.Run("Matrix ( 1 0 0 0 0 1 0 0 0 0 1 0 100 0 0 1 )\n"
            "TriMesh ( 1 0 0 0 3 0 0 1 2 0 0 0 1 0 0 0 1 0 0 0 0 1 1 0 False )\n"
            "Polygon ( 3 0 0 1 1 0 1 0 1 1 )\n"
            "Triangle ( 0 0 2 1 0 2 0 1 2 )\n"
            "Mesh ( 3 0 0 3 1 0 3 0 1 3 1 0 3 0 1 2 )\n"
            "Triangle ( 0 0 4 1 0 4 0 1 4 )"));
  // Box x 0 ... 101, y 0 ... 1, z 0 ... 4: scale 180 / 101, centre x 50.5.
  const double s = 180.0 / 101;
  std::vector<P> expected;
  for (int z = 0; z <= 4; ++z) {
    const double dx = (z == 2 || z == 3) ? 100 : 0;
    for (const auto& [x, y] : {std::pair{0.0, 0.0}, {1.0, 0.0}, {0.0, 1.0}}) {
      expected.push_back({(x + dx - 50.5) * s, y * s, (z - 2) * s});
    }
  }
  const std::vector<P> got = f.Points();
  ASSERT_EQ(got.size(), expected.size());
  for (std::size_t i = 0; i < got.size(); ++i) {
    for (int k = 0; k < 3; ++k) EXPECT_NEAR(got[i][k], expected[i][k], 1e-9) << i;
  }
}

TEST(Import3dmf, MergeFlipsOnlyTheNewPolygonsAndSharesEqualCorners) {
  MetafileFixture f;
  ASSERT_TRUE(f.Run(kTriangleText));
  const std::vector<std::uint32_t> old = f.Corners(0);
  const std::string path =
      f.File("Triangle ( 90 0 -45 0 0 9 0 1 1 ) Triangle ( 0 0 9 0 1 1 2 2 2 )", "merge.b3d");
  ASSERT_TRUE(OpenFile(f.m(), f.services, path, OpenMode::kMerge).ok);
  EXPECT_EQ(f.Corners(0), old);
  // (90, 0, -45) is an old point; the two new triangles share two corners.
  EXPECT_EQ(std::tuple(f.tables().pointCount, f.Corners(1), f.Corners(2)),
            std::tuple(13u, std::vector<std::uint32_t>{11, 10, 8},
                       std::vector<std::uint32_t>{12, 11, 10}));
}

TEST(Import3dmf, AReferenceRightAfterAContainerTakesNoStorageObject) {
  MetafileFixture f;
  ASSERT_TRUE(
      f.Run("Container ( Reference ( 1 ) Triangle ( 0 0 0 1 0 0 0 1 0 ) )\n"
            "t: Triangle ( 0 0 5 1 0 5 0 1 5 ) TableOfContents ( n> 2 -1 1 16 1 1 t> x )"));
  // The referenced triangle, the one in the container, the one at top level.
  EXPECT_EQ(std::tuple(f.tables().polygonCount, f.ui.MessageTexts().size()), std::tuple(3u, 0u));
}

TEST(Import3dmf, TruncationMessagesKeepWhatWasRead) {
  const std::string mesh4 =
      "TriMesh ( 2 0 0 0 4 0 0 1 2 0 2 3 7 7 7 8 7 7 8 8 7 7 8 7 0 0 0 1 1 0 False )";
  const struct {
    const char* name;
    std::uint32_t points, vectors, polygons;  // room left in each table
    std::string body;
    std::vector<std::string> messages;
    std::uint32_t polygonsMade;
  } rows[] = {
      // clang-format off
      {"points fit", 6, 99, 99,
       "Triangle ( 7 7 7 8 7 7 7 8 7 ) Triangle ( 7 7 8 8 7 8 7 8 8 )", {}, 2},
      {"points", 5, 99, 99, "Triangle ( 7 7 7 8 7 7 7 8 7 ) Triangle ( 7 7 8 8 7 8 7 8 8 )",
       {std::string(kMsgTooManyPoints)}, 1},
      {"vectors at a triangle", 99, 2, 99, "Triangle ( 7 7 7 8 7 7 7 8 7 )",
       {std::string(kMsgTooManyTriangles)}, 0},
      {"mesh triangles fit", 99, 99, 2, mesh4, {}, 2},
      {"mesh triangles", 99, 99, 1, mesh4, {std::string(kMsgTooManyPolygons)}, 0},
      {"vectors in a mesh", 99, 4, 99, mesh4, {std::string(kMsgObjectTooBig)}, 1},
      {"polygon table", 99, 99, 0, "Triangle ( 7 7 7 8 7 7 7 8 7 )",
       {std::string(kMsgTooManyPolygons)}, 0},
      // clang-format on
  };
  for (const auto& row : rows) {
    MetafileFixture f;
    ObjectTables& t = f.tables();
    t.pointCount = kMaxPoints - row.points;
    t.vectorCount = kMaxVectors - row.vectors;
    t.polygonCount = kMaxPolygons - row.polygons;
    const std::uint32_t polygons = t.polygonCount;
    EXPECT_TRUE(f.Run(row.body)) << row.name;
    EXPECT_EQ(std::tuple(f.ui.MessageTexts(), t.polygonCount - polygons),
              std::tuple(row.messages, row.polygonsMade))
        << row.name;
  }
}

TEST(Import3dmf, EllipsoidMemoryMessagesInOrder) {
  std::vector<std::string> seen;
  for (std::size_t successes = 0; successes < 40; ++successes) {
    MetafileFixture f;
    f.m().rt.memory.FailAfter(successes);
    f.Run("Triangle ( 0 0 0 1 0 0 0 1 0 ) Ellipsoid ( )");
    const std::vector<std::string> texts = f.ui.MessageTexts();
    if (texts.size() == 2 && texts[1] == kMsgObjectTooBig) seen.push_back(texts[0]);
  }
  EXPECT_EQ(seen, (std::vector<std::string>{
                      std::string(kMsgNoMemoryTop), std::string(kMsgNoMemoryBottom),
                      std::string(kMsgNoMemoryCenter), std::string(kMsgNoMemoryPoints)}));
}

TEST(Import3dmf, InsertMakesAnObjectAndErrorsKeepWhatWasRead) {
  MetafileFixture f;
  ASSERT_TRUE(OpenFile(f.m(), f.services, f.File(kTriangleText), OpenMode::kInsert).ok);
  EXPECT_EQ(std::tuple(f.m().cluster.objectNames.size(), f.tables().polygonCount),
            std::tuple(2u, 1u));
  // Damage inside a container: the general error, and the triangle before it stays.
  MetafileFixture g;
  EXPECT_TRUE(g.Run(std::string(kTriangleText) + "Container ( Triangle ( 1 2 ) )"));
  EXPECT_EQ(std::tuple(g.ui.Messages().size(), g.tables().polygonCount), std::tuple(1u, 1u));
  EXPECT_EQ(g.ui.Messages()[0], (RecordedMessage{"General Error", std::string(kMsgUnknownError)}));
  // A metafile with nothing the editor can use says so and adds nothing.
  MetafileFixture h;
  EXPECT_FALSE(h.Run("Container ( )"));
  EXPECT_EQ(std::tuple(h.ui.MessageTexts(), h.tables().pointCount),
            std::tuple(std::vector{std::string(kMsgNoUsableObjects)}, kReservedPoints));
}

}  // namespace
}  // namespace ws::test
