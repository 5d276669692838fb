// MetafileReader: both forms, every size at its limit, references.
#include <gtest/gtest.h>

#include "3dmf_test_writer.h"

namespace ws::test {
namespace {

using namespace metafile;

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
  r.open = OpenMetafile(std::move(bytes), reader, [&](std::string_view l) { r.log.emplace_back(l); });
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
  for (const auto& [points, width] : {std::pair{255u, 1u}, {256u, 2u}, {65535u, 2u}, {65536u, 4u}}) {
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
         w.Object("cntr", w.Object("mesh", w.U32s({3}) + w.Floats(kTri) + w.U32s({2, 0, 3, 0, 1, 2}))),
         "cntr ", kBadObject, 0},
        {"contour and face", w.Object("mesh", w.U32s({3}) + w.Floats(kTri) +
                                                  w.U32s({1, 1, 3, 0, 1, 2, 0xFFFFFFFD, 2, 1, 0})),
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
  EXPECT_EQ(std::tuple(r.types, r.end, r.log),
            std::tuple("cntr ???? trng kdif mtrx tmsh endc ", kEndOfMetafile,
                       std::vector<std::string>{StoppedAtLine(TextMetafile(body).rfind("extra"))}));
  ASSERT_EQ(r.objects.size(), 7u);
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
      {"Container ( Mesh ( 3 0 0 0 1 0 0 0 1 0 1 0 -3 0 1 2 ) )", "cntr mesh endc ", kEndOfMetafile},
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
  EXPECT_EQ(std::tuple(text.types, text.end), std::tuple("rfrn trng trng rfrn ", kReferenceNotFound));
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
  EXPECT_EQ(std::tuple(references, loop.end), std::tuple(kMaxReferenceDepth + 1, kReferenceTooDeep));
  MetafileObject notReference;
  std::unique_ptr<metafile::MetafileReader> reader;
  ASSERT_EQ(OpenMetafile(MetafileWriter{}.File({}), reader), kOk);
  EXPECT_EQ(reader->ResolveReference(notReference, nullptr), kNotReference);
  notReference.type = kReference;
  EXPECT_EQ(reader->ResolveReference(notReference, nullptr), kReferenceWithoutId);
}

}  // namespace
}  // namespace ws::test
