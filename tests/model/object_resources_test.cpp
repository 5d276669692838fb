#include "model/object_resources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "model_test_util.h"
#include "support/test_support.h"

namespace ws {
namespace {

using test::Bytes;
using test::MakePolygon;
using test::OwnTables;
using test::PutLE32;

// Writes `s` as resources with an encoder of the test's own, straight from
// the layouts, so the reader is checked against more than its own writer.
void WriteStored(ResourceFile& files, RefNum ref, std::uint32_t id, const StoredObject& s) {
  Bytes pinf(32, 0), pnts, tvct, face;
  auto count = [](const auto& list) { return static_cast<std::uint32_t>(list.size()); };
  PutLE32(pinf, 0, {0x200, s.objectWord, count(s.vectors), count(s.points), count(s.polygons)});
  ASSERT_TRUE(files.WriteResource(ref, kResPinf, id, pinf, s.name));
  for (const StoredPoint& p : s.points) {
    const double c[3] = {p.x, p.y, p.z};
    pnts.resize(pnts.size() + 24);
    std::memcpy(pnts.data() + pnts.size() - 24, c, 24);  // this machine is little-endian
  }
  for (const StoredVector& v : s.vectors) {
    const std::uint32_t bytes = v.color | v.attribute << 8 | v.width << 16;
    PutLE32(tvct, tvct.size(), {v.p1, v.p2, bytes});
  }
  for (const StoredPolygon& p : s.polygons) {
    const std::size_t at = face.size();
    PutLE32(face, at + 4,
            {p.pointCount, p.vectorCount, p.viewZoneCount, p.flags, p.frontFill, p.backFill});
    // Only the counted entries; the rest of each list stays zero.
    for (std::uint32_t k = 0; k < p.vectorCount; ++k)
      PutLE32(face, at + 28 + 4 * k, {p.vectors[k]});
    for (std::uint32_t k = 0; k < p.viewZoneCount; ++k)
      PutLE32(face, at + 628 + 4 * k, {p.viewZones[k]});
    for (std::uint32_t k = 0; k < p.pointCount; ++k)
      PutLE32(face, at + 708 + 4 * k, {static_cast<std::uint32_t>(p.points[k])});
    face.resize(at + 1308);
    face.insert(face.end(), {p.frontColor, p.backColor, 0, 0});
  }
  Bytes anim(s.hasAnimation ? 2168 : 0);
  if (s.hasAnimation) PutLE32(anim, 0, {s.animation.activeCount});
  for (std::uint32_t k = 0; k < 3 && s.hasAnimation; ++k) {
    const AnimationSlot& a = s.animation.slots[k];
    PutLE32(anim, 4 + 4 * k, {a.firstWord});
    PutLE32(anim, 16 + 4 * k, {a.point - 7});
    PutLE32(anim, 28 + 4 * k, {a.active});
    PutLE32(anim, 40 + 4 * k, {static_cast<std::uint32_t>(a.angle)});
    for (std::uint32_t e = 0; e < 50; ++e) PutLE32(anim, 52 + 600 * k + 4 * e, {a.points[e] - 7});
  }
  for (auto [type, bytes] :
       {std::pair{kResPnts, &pnts}, {kResTvct, &tvct}, {kResFace, &face}, {kResAnim, &anim}})
    if (!bytes->empty()) {
      ASSERT_TRUE(files.WriteResource(ref, type, id, *bytes, s.name));
    }
}

struct ObjectResourceFile : ::testing::Test {
  test::TempDir dir;
  OwnTables mine, reference;
  ResourceFile files{mine.rt};
  std::string path = dir.File("objects");

  void SetUp() override { ASSERT_EQ(files.CreateResFile(path), 0); }
  // Each with the file open for that call alone.
  void Write(ResType type, std::uint32_t id, std::span<const std::uint8_t> bytes) {
    ASSERT_TRUE(files.WriteResource(OpenResource(files, path).ref(), type, id, bytes, "obj"));
  }
  ObjectReadResult Read(std::uint32_t id, StoredObject& out) {
    return ReadObjectResources(files, OpenResource(files, path).ref(), id, kEditorObjectCapacity,
                               out);
  }
  StoreStatus Store(std::uint32_t id, std::string_view name) {
    return StoreObjectResources(files, OpenResource(files, path).ref(), id, name, mine.t, {}, 0);
  }
  std::uint32_t Count(ResType type) {
    return files.CountResourcesOfType(OpenResource(files, path).ref(), type);
  }
  // `s` alone in a fresh file, through the editor's reader.
  ObjectReadResult Load(const StoredObject& s, EditorObject& obj) {
    std::remove(path.c_str());
    EXPECT_EQ(files.CreateResFile(path), 0);
    OpenResource f(files, path);
    WriteStored(files, f.ref(), 0, s);
    return ReadEditorObject(files, f.ref(), 0, mine.t, obj);
  }
};

TEST_F(ObjectResourceFile, RefusesAFullDirectoryOrALongNameWithoutWritingAnything) {
  EXPECT_EQ(Store(0, std::string(256, 'n')), StoreStatus::kNameTooLong);
  EXPECT_EQ(Count(kResPinf), 0u);
  EXPECT_EQ(Store(0, std::string(255, 'n')), StoreStatus::kOk);
  {
    OpenResource f(files, path);
    for (std::uint32_t i = 0; i < ResourceFile::kCapacity - 2; ++i) {
      ASSERT_TRUE(files.WriteResource(f.ref(), kResPlay, i, Bytes{1}, "x"));
    }
  }
  mine.t.AddPoint(1, 2, 3);  // object 1 needs 'PINF' and 'PNTS': one entry too many
  EXPECT_EQ(Store(1, "a"), StoreStatus::kFileFull);
  EXPECT_EQ(Count(kResPinf), 1u);
  mine.t.ResetObject();  // 'PINF' alone fits
  EXPECT_EQ(Store(1, "a"), StoreStatus::kOk);
}

// An object with the counts of `pinf` (vectors, points, polygons) and
// resources of the given lengths (SIZE_MAX: absent); each row names what
// the reader says, "" when it reads the object.
TEST_F(ObjectResourceFile, CountsAndLengthsAreCheckedAtEachLimit) {
  constexpr std::size_t kNone = SIZE_MAX;
  struct Row {
    const char* what;
    std::uint32_t vectors, points, polygons;
    std::size_t pnts, tvct, face, anim;
    std::vector<std::pair<std::size_t, std::uint8_t>> facePatch;
    std::string problem;
  };
  const std::string damaged = "?";
  // clang-format off
  const Row rows[] = {
      {"no counts", 0, 0, 0, kNone, kNone, kNone, kNone, {}, ""},
      {"19994 points", 0, 19994, 0, kNone, kNone, kNone, kNone, {}, damaged},
      {"19995 vectors", 19995, 0, 0, kNone, kNone, kNone, kNone, {}, damaged},
      {"10001 polygons", 0, 0, 10001, kNone, kNone, kNone, kNone, {}, damaged},
      {"all counts at the capacities", 19994, 19993, 10000, kNone, kNone, kNone, kNone, {},
       "its PNTS resource is missing"},
      {"exact lengths", 2, 1, 1, 24, 24, 1312, kAnimBytesRead, {}, ""},
      {"PNTS a byte short", 2, 2, 1, 47, 24, 1312, kNone, {},
       "its PNTS resource is shorter than its point count"},
      {"TVCT a byte short", 2, 1, 1, 24, 23, 1312, kNone, {},
       "its TVCT resource is shorter than its vector count"},
      {"FACE a byte short", 2, 1, 1, 24, 24, 1311, kNone, {},
       "its FACE resource is shorter than its polygon count"},
      {"ANIM a byte short", 2, 1, 1, 24, 24, 1312, kAnimBytesRead - 1, {},
       "its ANIM resource is too short"},
      {"150 corners", 0, 0, 1, kNone, kNone, 1312, kNone, {{4, 150}}, ""},
      {"151 corners", 0, 0, 1, kNone, kNone, 1312, kNone, {{4, 151}}, damaged},
      {"150 edges", 0, 0, 1, kNone, kNone, 1312, kNone, {{8, 150}}, ""},
      {"151 edges", 0, 0, 1, kNone, kNone, 1312, kNone, {{8, 151}}, damaged},
      {"20 view zones", 0, 0, 1, kNone, kNone, 1312, kNone, {{12, 20}}, ""},
      {"21 view zones", 0, 0, 1, kNone, kNone, 1312, kNone, {{12, 21}}, damaged},
  };
  // clang-format on
  for (std::uint32_t id = 0; id < std::size(rows); ++id) {  // each row an object of its own
    const Row& row = rows[id];
    SCOPED_TRACE(row.what);
    Write(kResPinf, id, EncodePinf(0, row.vectors, row.points, row.polygons));
    for (auto [type, len] : {std::pair{kResPnts, row.pnts},
                             {kResTvct, row.tvct},
                             {kResFace, row.face},
                             {kResAnim, row.anim}}) {
      if (len == kNone) continue;
      Bytes b(len, 0);
      if (type == kResFace)
        for (auto [at, value] : row.facePatch) b[at] = value;
      Write(type, id, b);
    }
    StoredObject s;
    ObjectReadResult r = Read(id, s);
    EXPECT_EQ(r.status, row.problem.empty() ? ObjectReadStatus::kOk : ObjectReadStatus::kDamaged)
        << r.problem;
    if (row.problem != damaged) {
      EXPECT_EQ(r.problem, row.problem);
    }
  }
  // A 'PINF' shorter than the part that is read.
  for (std::size_t len = 0; len <= kPinfBytesRead; ++len) {
    Write(kResPinf, 0, Bytes(len, 0));
    StoredObject s;
    EXPECT_EQ(Read(0, s).ok(), len == kPinfBytesRead) << len;
  }
}

// Loads `s` the way the steps read, on real tables: points, vectors, then
// each corner (a reserved one through FindPoint, and AddPoint when that
// gives the origin), and each vector list rebuilt by the rule as it reads:
// entry k is the first vector of the whole table, from 0, at corner k and
// not already among entries 0..k-1.
void LiteralLoad(const StoredObject& s, ObjectTables& t) {
  t.ResetObject();
  for (const StoredPoint& p : s.points) {
    Point& q = (t.points[t.pointCount++] = Point{});
    q.x = p.x, q.y = p.y, q.z = p.z;
  }
  for (const StoredVector& v : s.vectors) {
    Vector& w = (t.vectors[t.vectorCount++] = Vector{});
    w.p1 = v.p1 + 7, w.p2 = v.p2 + 7, w.color = v.color, w.attribute = v.attribute;
    w.width = v.width;
  }
  for (const StoredPolygon& sp : s.polygons) {
    Polygon& p = (t.polygons[t.polygonCount++] = Polygon{});
    p.pointCount = p.vectorCount = sp.pointCount;
    for (int k = 0; k < 150; ++k) p.vectors[k] = sp.vectors[k] + 6;
    for (std::uint32_t k = 0; k < sp.pointCount; ++k) {
      const Point& r = t.points[sp.points[k] + 7];
      const std::uint32_t found = t.FindPoint(r.x, r.y, r.z);
      p.points[k] = sp.points[k] >= 0 ? sp.points[k] + 7
                    : found != 0      ? found
                                      : t.AddPoint(r.x, r.y, r.z);
      for (std::uint32_t v = 0; v < t.vectorCount; ++v) {
        const bool atCorner = t.vectors[v].p1 == p.points[k] || t.vectors[v].p2 == p.points[k];
        if (atCorner && std::find(p.vectors, p.vectors + k, v) == p.vectors + k) {
          p.vectors[k] = v;
          break;
        }
      }
    }
  }
}

StoredObject RandomStoredObject(std::mt19937& rng) {
  StoredObject s;
  const std::uint32_t nPoints = rng() % 30;
  // Few distinct values, so the origin and the axis ends turn up as user
  // points now and then.
  auto c = [&] {
    return static_cast<double>(static_cast<int>(rng() % 3) - 1) * (rng() % 2 ? 150 : 0);
  };
  for (std::uint32_t i = 0; i < nPoints; ++i) s.points.push_back({c(), c(), c()});
  auto anyPoint = [&] { return static_cast<std::int32_t>(rng() % (nPoints + 7)) - 7; };
  const std::uint32_t nVectors = 1 + rng() % 40;
  for (std::uint32_t i = 0; i < nVectors; ++i) {
    // Some from a point to itself.
    const auto p1 = static_cast<std::uint32_t>(anyPoint());
    s.vectors.push_back({p1, rng() % 7 ? static_cast<std::uint32_t>(anyPoint()) : p1, 1, 2, 0});
  }
  for (std::uint32_t i = rng() % 8; i > 0; --i) {
    StoredPolygon p;
    p.pointCount = rng() % 10 == 0 ? 150 : rng() % 8;
    for (std::uint32_t k = 0; k < p.pointCount; ++k) p.points[k] = anyPoint();
    p.vectorCount = 150;
    for (auto& e : p.vectors)
      e = static_cast<std::uint32_t>(static_cast<std::int32_t>(rng() % (nVectors + 6)) - 6);
    s.polygons.push_back(p);
  }
  return s;
}

TEST_F(ObjectResourceFile, MatchesTheLiteralLoaderOnRandomObjects) {
  std::mt19937 rng(99);
  for (int round = 0; round < 300; ++round) {
    SCOPED_TRACE(round);
    StoredObject s = RandomStoredObject(rng);
    EditorObject obj;
    ASSERT_TRUE(Load(s, obj).ok());
    std::uint32_t word = 0;
    AnimationSlots anim;
    InstallEditorObject(obj, mine.t, anim, word);
    LiteralLoad(s, reference.t);
    ASSERT_EQ(test::TableFields(mine.t), test::TableFields(reference.t));
  }
}

// The editor's writer against the layouts' own encoder: an object with a
// value in every field and animation, a selection, a depth and entries past
// each count (none of them stored), and the same object as the layouts hold
// it, written by WriteStored, must give the same resources byte for byte.
TEST_F(ObjectResourceFile, WriterMatchesTheLayoutsOwnEncoder) {
  ObjectTables& t = mine.t;
  t.AddPoint(1.0, -2.5, 0.0), t.AddPoint(0.0, 0.0, 1.0), t.AddPoint(3, 0, 0);  // 7, 8, 9
  std::uint32_t v = t.AddVector(7, 9), w = t.AddVector(0, 8);  // w from the reserved origin
  t.vectors[v].color = 200, t.vectors[v].attribute = 0x1234, t.vectors[v].width = 0x103;
  t.vectors[v].selected = 1, t.vectors[w].color = 1, t.vectors[w].attribute = -1;
  Polygon p = MakePolygon({7, 8, 3}, {6, 7, 8});
  p.viewZoneCount = 1, p.viewZones[0] = 0x4001, p.viewZones[5] = 99;
  p.points[3] = p.vectors[3] = 77, p.flags = 0x502, p.frontFill = 0x0A0A0A0A;
  p.backFill = 0x0B0B0B0B, p.frontColor = 10, p.backColor = 11, p.depth = 1234.5;
  t.polygons[t.polygonCount++] = p;
  AnimationSlots a;
  a.slots[1].firstWord = 5, a.slots[1].point = 9, a.slots[1].active = 1, a.slots[1].angle = -90;
  a.slots[1].points[0] = 8, a.slots[1].points[49] = 10;
  a.slots[1].points[50] = 99;  // past the 50 entries stored
  a.slots[2].active = 0x100;
  a.activeCount = 7;  // recounted when written
  StoredObject s;     // file numbering: points - 7, vectors - 6, 8-bit fields cut
  s.name = "obj", s.objectWord = 0xDEADBEEF, s.points = {{1.0, -2.5, 0.0}, {0, 0, 1}, {3, 0, 0}};
  s.vectors = {{0, 2, 200, 0x34, 0x03}, {static_cast<std::uint32_t>(-7), 1, 1, 0xFF, 0}};
  StoredPolygon& q = s.polygons.emplace_back();
  q.pointCount = q.vectorCount = 3, q.viewZoneCount = 1, q.flags = 0x502;
  q.frontFill = 0x0A0A0A0A, q.backFill = 0x0B0B0B0B, q.frontColor = 10, q.backColor = 11;
  q.vectors = {0, 1, 2}, q.viewZones = {0x4001}, q.points = {0, 1, -4};
  s.hasAnimation = true, s.animation = a, s.animation.activeCount = 2;
  OpenResource f(files, path);
  ASSERT_EQ(StoreObjectResources(files, f.ref(), 1, "obj", t, a, 0xDEADBEEF), StoreStatus::kOk);
  WriteStored(files, f.ref(), 2, s);
  for (ResType type : {kResPinf, kResPnts, kResTvct, kResFace, kResAnim}) {
    auto ours = files.ReadResource(f.ref(), type, 1), own = files.ReadResource(f.ref(), type, 2);
    ASSERT_TRUE(ours && own) << ResTypeName(type);
    EXPECT_TRUE(std::ranges::equal(ours->bytes(), own->bytes())) << ResTypeName(type);
  }
}

TEST_F(ObjectResourceFile, RefusesWhatWouldNotFitOrNotResolve) {
  // A full point table whose polygon needs one more point for the origin.
  StoredObject s;
  for (std::uint32_t i = 0; i < kMaxPoints - kReservedPoints; ++i) {
    s.points.push_back({static_cast<double>(i + 1), 0, 0});
  }
  StoredPolygon p;
  p.pointCount = 1, p.points[0] = -7, s.polygons = {p};
  EditorObject obj;
  EXPECT_EQ(Load(s, obj).problem, "polygon 0 needs a point more than the tables can hold");
  // With a user point at the origin (-0.0 counts) it fits.
  s.points.back() = {-0.0, 0.0, 0.0};
  s.vectors = {{0, 1, 0, 0, 0}};
  s.polygons[0].vectorCount = 0;
  EXPECT_TRUE(Load(s, obj).ok());
  EXPECT_TRUE(obj.addedPoints.empty());
}

}  // namespace
}  // namespace ws
