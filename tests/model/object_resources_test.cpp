#include "model/object_resources.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <tuple>

#include "platform/scripted_ui.h"
#include "resource/runtime.h"
#include "support/test_support.h"

namespace ws {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Tables of their own, with the axis cross, for encoding and for the
// reference loader.
struct Tables {
  ScriptedUi ui;
  Runtime rt{ui};
  ObjectTables t{rt};
  Tables() {
    t.AllocateObjectTables();
    t.BuildReservedEntries();
  }
};

void Put(Bytes& b, std::size_t at, std::initializer_list<int> bytes) {
  for (int v : bytes) b.at(at++) = static_cast<std::uint8_t>(v);
}

Polygon MakePolygon(std::initializer_list<std::uint32_t> points,
                    std::initializer_list<std::uint32_t> vectors) {
  Polygon p{};
  for (std::uint32_t v : points) p.points[p.pointCount++] = v;
  for (std::uint32_t v : vectors) p.vectors[p.vectorCount++] = v;
  return p;
}

// ---- Byte layouts, against bytes worked out by hand ------------------------

TEST(ObjectResourceLayout, PinfIsThirtyTwoBytesWithTheFormatWordFirst) {
  auto bytes = EncodePinf(0xDEADBEEF, 2, 3, 1);
  Bytes expected(32, 0);
  Put(expected, 0, {0x00, 0x02, 0x00, 0x00});  // 0x200
  Put(expected, 4, {0xEF, 0xBE, 0xAD, 0xDE});
  Put(expected, 8, {0x02, 0, 0, 0});
  Put(expected, 12, {0x03, 0, 0, 0});
  Put(expected, 16, {0x01, 0, 0, 0});
  EXPECT_EQ(Bytes(bytes.begin(), bytes.end()), expected);
}

TEST(ObjectResourceLayout, PointsAreLittleEndianDoublesFromPointSeven) {
  Tables tb;
  tb.t.AddPoint(1.0, -2.5, 0.0);
  tb.t.AddPoint(0.0, 0.0, 1.0);
  Bytes expected(48, 0);
  Put(expected, 6, {0xF0, 0x3F});   // 1.0 = 0x3FF0000000000000
  Put(expected, 14, {0x04, 0xC0});  // -2.5 = 0xC004000000000000
  Put(expected, 24 + 22, {0xF0, 0x3F});
  EXPECT_EQ(EncodePoints(tb.t), expected);
}

TEST(ObjectResourceLayout, VectorsStoreEndsMinusSevenAndLowBytes) {
  Tables tb;
  tb.t.AddPoint(1, 0, 0);  // 7
  tb.t.AddPoint(2, 0, 0);  // 8
  tb.t.AddPoint(3, 0, 0);  // 9
  std::uint32_t v = tb.t.AddVector(7, 9);
  tb.t.vectors[v].color = 200;
  tb.t.vectors[v].attribute = 0x1234;
  tb.t.vectors[v].width = 0x103;
  tb.t.vectors[v].selected = 1;            // selection is not stored
  std::uint32_t w = tb.t.AddVector(0, 8);  // from the reserved origin
  tb.t.vectors[w].color = 1;
  tb.t.vectors[w].attribute = -1;
  Bytes expected(24, 0);
  Put(expected, 0, {0, 0, 0, 0, 2, 0, 0, 0, 200, 0x34, 0x03, 0});
  Put(expected, 12, {0xF9, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0, 1, 0xFF, 0, 0});
  EXPECT_EQ(EncodeVectors(tb.t), expected);
}

TEST(ObjectResourceLayout, FaceRecordMatchesTheLayout) {
  Polygon p = MakePolygon({7, 8, 3}, {6, 7, 8});
  p.viewZoneCount = 1;
  p.viewZones[0] = 0x4001;
  p.viewZones[5] = 99;  // beyond the count: not written
  p.points[3] = 77;     // beyond the count: not written
  p.vectors[3] = 77;
  p.flags = 0x502;
  p.frontFill = 0x0A0A0A0A;
  p.backFill = 0x0B0B0B0B;
  p.frontColor = 10;
  p.backColor = 11;
  p.depth = 1234.5;  // never written
  Bytes out(kFaceRecordBytes, 0xEE);
  EncodeFace(p, out.data());

  Bytes expected(1312, 0);
  Put(expected, 4, {3, 0, 0, 0, 3, 0, 0, 0, 1, 0, 0, 0});
  Put(expected, 16, {0x02, 0x05, 0, 0});
  Put(expected, 20, {0x0A, 0x0A, 0x0A, 0x0A, 0x0B, 0x0B, 0x0B, 0x0B});
  Put(expected, 28, {0, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0});
  Put(expected, 628, {0x01, 0x40, 0, 0});
  Put(expected, 708, {0, 0, 0, 0, 1, 0, 0, 0, 0xFC, 0xFF, 0xFF, 0xFF});  // 3 - 7 = -4
  Put(expected, 1308, {10, 11});
  EXPECT_EQ(out, expected);
}

TEST(ObjectResourceLayout, AnimCountsActiveSlotsAndWritesFiftyListEntries) {
  AnimationSlots a;
  for (auto& s : a.slots) {
    s.point = 7;
    s.points.fill(7);
  }
  a.slots[1].firstWord = 5;
  a.slots[1].point = 9;
  a.slots[1].active = 1;
  a.slots[1].angle = -90;
  a.slots[1].points[0] = 8;
  a.slots[1].points[49] = 10;
  a.slots[1].points[50] = 99;  // not written
  a.slots[2].active = 0x100;
  a.activeCount = 7;  // recounted when written
  auto bytes = EncodeAnim(a);
  Bytes expected(2168, 0);
  Put(expected, 0, {2, 0, 0, 0});
  Put(expected, 8, {5, 0, 0, 0});
  Put(expected, 20, {2, 0, 0, 0});
  Put(expected, 32, {1, 0, 0, 0, 0, 1, 0, 0});
  Put(expected, 44, {0xA6, 0xFF, 0xFF, 0xFF});
  Put(expected, 52 + 600, {1, 0, 0, 0});
  Put(expected, 52 + 600 + 49 * 4, {3, 0, 0, 0});
  EXPECT_EQ(Bytes(bytes.begin(), bytes.end()), expected);

  AnimationSlots back = DecodeAnim(bytes.data());
  EXPECT_EQ(back.activeCount, 2u);
  EXPECT_EQ(back.slots[1].point, 9u);
  EXPECT_EQ(back.slots[1].angle, -90);
  EXPECT_EQ(back.slots[1].points[0], 8u);
  EXPECT_EQ(back.slots[1].points[49], 10u);
  EXPECT_EQ(back.slots[1].points[50], 0u);  // never read
}

// ---- The vector-list rebuild against the literal rule ----------------------

// The rule as it reads: for each corner, scan the whole vector table from 0
// for the first vector at that corner not already among entries 0..k-1.
void LiteralRebuild(const std::vector<Vector>& vectors, std::vector<Polygon>& polygons) {
  for (Polygon& poly : polygons) {
    for (std::uint32_t k = 0; k < poly.pointCount; ++k) {
      const std::uint32_t pt = poly.points[k];
      for (std::uint32_t v = 0; v < vectors.size(); ++v) {
        if (vectors[v].p1 != pt && vectors[v].p2 != pt) continue;
        bool listed = false;
        for (std::uint32_t j = 0; j < k; ++j) listed = listed || poly.vectors[j] == v;
        if (!listed) {
          poly.vectors[k] = v;
          break;
        }
      }
    }
    poly.vectorCount = poly.pointCount;
  }
}

TEST(RebuildPolygonVectorLists, MatchesTheLiteralRuleOnRandomObjects) {
  std::mt19937 rng(1234);
  for (int round = 0; round < 400; ++round) {
    const std::uint32_t nPoints = 7 + rng() % (round % 4 == 0 ? 6 : 40);
    const std::uint32_t nVectors = 1 + rng() % 120;
    std::vector<Vector> vectors(nVectors, Vector{});
    for (Vector& v : vectors) {
      v.p1 = rng() % nPoints;
      v.p2 = rng() % 7 == 0 ? v.p1 : rng() % nPoints;  // some from a point to itself
    }
    std::vector<Polygon> polygons(1 + rng() % 12, Polygon{});
    for (Polygon& p : polygons) {
      p.pointCount = rng() % 10 == 0 ? 150 : rng() % 9;
      for (std::uint32_t k = 0; k < p.pointCount; ++k) p.points[k] = rng() % nPoints;
      p.vectorCount = rng() % 151;
      // Every entry a vector, so no corner can keep one outside the table.
      for (auto& e : p.vectors) e = rng() % nVectors;
    }
    std::vector<Polygon> expected = polygons;
    LiteralRebuild(vectors, expected);
    ASSERT_EQ(RebuildPolygonVectorLists(vectors, nPoints, polygons), kNoIndex);
    for (std::size_t i = 0; i < polygons.size(); ++i) {
      ASSERT_EQ(polygons[i].vectorCount, expected[i].vectorCount) << "round " << round;
      for (std::uint32_t k = 0; k < 150; ++k) {
        ASSERT_EQ(polygons[i].vectors[k], expected[i].vectors[k])
            << "round " << round << " polygon " << i << " entry " << k;
      }
    }
  }
}

TEST(RebuildPolygonVectorLists, CornerWithoutVectorKeepsItsEntryOrIsRefused) {
  std::vector<Vector> v(8, Vector{});
  v[6].p1 = 7;
  v[6].p2 = 8;
  v[7].p1 = 8;
  v[7].p2 = 7;
  std::vector<Polygon> polys = {MakePolygon({7, 8, 9}, {6, 6, 7})};
  EXPECT_EQ(RebuildPolygonVectorLists(v, 10, polys), kNoIndex);
  EXPECT_EQ(polys[0].vectors[2], 7u);  // point 9 has no vector: entry kept

  std::vector<Polygon> bad = {MakePolygon({7, 9, 9}, {6})};
  bad[0].vectors[1] = 40;  // kept, but there is no vector 40
  EXPECT_EQ(RebuildPolygonVectorLists(v, 10, bad), 0u);
}

// ---- Reading resources back ------------------------------------------------

struct ObjectResourceFile : ::testing::Test {
  test::TempDir dir;
  ScriptedUi ui;
  Runtime rt{ui};
  ResourceFile files{rt};
  std::string path = dir.File("objects");

  void SetUp() override { ASSERT_EQ(files.CreateResFile(path), 0); }

  void Write(ResType type, std::uint32_t id, const Bytes& bytes, std::string_view name = "obj") {
    OpenResource f(files, path);
    ASSERT_TRUE(files.WriteResource(f.ref(), type, id, bytes, name));
  }
  void WriteArray(ResType type, std::uint32_t id, std::span<const std::uint8_t> bytes) {
    Write(type, id, Bytes(bytes.begin(), bytes.end()));
  }
  ObjectReadResult Read(std::uint32_t id, StoredObject& out,
                        ObjectCapacity cap = kEditorObjectCapacity) {
    OpenResource f(files, path);
    return ReadObjectResources(files, f.ref(), id, cap, out);
  }
};

TEST_F(ObjectResourceFile, StoredObjectRoundTripsEveryField) {
  Tables tb;
  ObjectTables& t = tb.t;
  for (int i = 0; i < 4; ++i) t.AddPoint(i * 1.5, -i, i * i + 0.25);
  std::uint32_t a = t.AddVector(7, 8), b = t.AddVector(8, 9), c = t.AddVector(9, 0);
  t.vectors[a].color = 3;
  t.vectors[b].attribute = 77;
  t.vectors[c].width = 2;
  Polygon p = MakePolygon({7, 8, 9, 1}, {a, b, c});
  p.viewZoneCount = 1;
  p.viewZones[0] = 0x4000;
  p.flags = PolyFlag::kDefined;
  t.polygons[0] = p;
  t.polygonCount = 1;
  AnimationSlots anim;
  anim.slots[0].active = 1;
  anim.slots[0].point = 10;
  {
    OpenResource f(files, path);
    ASSERT_EQ(StoreObjectResources(files, f.ref(), 4, "four", t, anim, 0x55), StoreStatus::kOk);
  }
  StoredObject s;
  ASSERT_TRUE(Read(4, s).ok());
  EXPECT_EQ(s.name, "four");
  EXPECT_EQ(s.formatWord, 0x200u);
  EXPECT_EQ(s.objectWord, 0x55u);
  ASSERT_EQ(s.points.size(), 4u);
  EXPECT_EQ(s.points[3].z, 9.25);
  ASSERT_EQ(s.vectors.size(), 3u);
  EXPECT_EQ(s.vectors[2], (StoredVector{2, 0xFFFFFFF9u, 0, 0, 2}));
  ASSERT_EQ(s.polygons.size(), 1u);
  EXPECT_EQ(s.polygons[0].points[3], -6);
  EXPECT_EQ(s.polygons[0].viewZones[0], 0x4000u);
  EXPECT_TRUE(s.hasAnimation);
  EXPECT_EQ(s.animation.slots[0].point, 10u);
  EXPECT_TRUE(CheckStoredIndices(s, kReservedPoints, kReservedVectors).empty());
}

TEST_F(ObjectResourceFile, EmptyTablesWriteOnlyPinfAndLeaveOldResources) {
  Tables tb;
  tb.t.AddPoint(1, 2, 3);
  {
    OpenResource f(files, path);
    ASSERT_EQ(StoreObjectResources(files, f.ref(), 0, "a", tb.t, {}, 0), StoreStatus::kOk);
    tb.t.ResetObject();
    ASSERT_EQ(StoreObjectResources(files, f.ref(), 0, "a", tb.t, {}, 0), StoreStatus::kOk);
    EXPECT_EQ(files.CountResourcesOfType(f.ref(), kResPnts), 1u);  // left as it was
    EXPECT_EQ(files.CountResourcesOfType(f.ref(), kResTvct), 0u);
    EXPECT_EQ(files.CountResourcesOfType(f.ref(), kResAnim), 0u);
  }
  StoredObject s;
  ASSERT_TRUE(Read(0, s).ok());
  EXPECT_TRUE(s.points.empty());  // the count says none
}

TEST_F(ObjectResourceFile, RefusesToStoreIntoAFullDirectoryWithoutWritingAnything) {
  {
    OpenResource f(files, path);
    for (std::uint32_t i = 0; i < ResourceFile::kCapacity - 1; ++i) {
      ASSERT_TRUE(files.WriteResource(f.ref(), kResPlay, i, Bytes{1}, "x"));
    }
  }
  Tables tb;
  tb.t.AddPoint(1, 2, 3);  // needs 'PINF' and 'PNTS': one entry too many
  OpenResource f(files, path);
  EXPECT_EQ(StoreObjectResources(files, f.ref(), 0, "a", tb.t, {}, 0), StoreStatus::kFileFull);
  EXPECT_EQ(files.CountResourcesOfType(f.ref(), kResPinf), 0u);
  tb.t.ResetObject();  // 'PINF' alone fits
  EXPECT_EQ(StoreObjectResources(files, f.ref(), 0, "a", tb.t, {}, 0), StoreStatus::kOk);
}

TEST_F(ObjectResourceFile, RefusesNamesLongerThan255Characters) {
  Tables tb;
  OpenResource f(files, path);
  EXPECT_EQ(StoreObjectResources(files, f.ref(), 0, std::string(256, 'n'), tb.t, {}, 0),
            StoreStatus::kNameTooLong);
  EXPECT_EQ(files.CountResourcesOfType(f.ref(), kResPinf), 0u);
  EXPECT_EQ(StoreObjectResources(files, f.ref(), 0, std::string(255, 'n'), tb.t, {}, 0),
            StoreStatus::kOk);
}

TEST_F(ObjectResourceFile, StaleAnimIsRemovedWhenNoSlotIsActive) {
  Tables tb;
  AnimationSlots anim;
  anim.slots[2].active = 1;
  OpenResource f(files, path);
  ASSERT_EQ(StoreObjectResources(files, f.ref(), 1, "a", tb.t, anim, 0), StoreStatus::kOk);
  EXPECT_EQ(files.CountResourcesOfType(f.ref(), kResAnim), 1u);
  ASSERT_EQ(StoreObjectResources(files, f.ref(), 1, "a", tb.t, {}, 0), StoreStatus::kOk);
  EXPECT_EQ(files.CountResourcesOfType(f.ref(), kResAnim), 0u);
}

TEST_F(ObjectResourceFile, RejectsCountsBeyondCapacities) {
  StoredObject s;
  WriteArray(kResPinf, 0, EncodePinf(0, 0, 19994, 0));
  EXPECT_EQ(Read(0, s).status, ObjectReadStatus::kDamaged);
  WriteArray(kResPinf, 0, EncodePinf(0, 19995, 0, 0));
  EXPECT_EQ(Read(0, s).status, ObjectReadStatus::kDamaged);
  WriteArray(kResPinf, 0, EncodePinf(0, 0, 0, 10001));
  EXPECT_EQ(Read(0, s).status, ObjectReadStatus::kDamaged);
  WriteArray(kResPinf, 0, EncodePinf(0, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF));
  EXPECT_EQ(Read(0, s).status, ObjectReadStatus::kDamaged);
  // The full editor object is within the capacities (the lengths are not).
  WriteArray(kResPinf, 0, EncodePinf(0, 19994, 19993, 10000));
  ObjectReadResult r = Read(0, s);
  EXPECT_EQ(r.status, ObjectReadStatus::kDamaged);
  EXPECT_EQ(r.problem, "its PNTS resource is missing");
}

TEST_F(ObjectResourceFile, RejectsResourcesShorterThanTheirCounts) {
  StoredObject s;
  for (std::size_t len = 0; len < kPinfBytesRead; ++len) {
    Write(kResPinf, 0, Bytes(len, 0));
    EXPECT_EQ(Read(0, s).status, ObjectReadStatus::kDamaged) << len;
  }
  Write(kResPinf, 0, Bytes(kPinfBytesRead, 0));
  EXPECT_TRUE(Read(0, s).ok());

  WriteArray(kResPinf, 0, EncodePinf(0, 1, 2, 1));
  Write(kResPnts, 0, Bytes(47, 0));
  Write(kResTvct, 0, Bytes(12, 0));
  Write(kResFace, 0, Bytes(1312, 0));
  EXPECT_EQ(Read(0, s).problem, "its PNTS resource is shorter than its point count");
  Write(kResPnts, 0, Bytes(48, 0));
  Write(kResTvct, 0, Bytes(11, 0));
  EXPECT_EQ(Read(0, s).problem, "its TVCT resource is shorter than its vector count");
  Write(kResTvct, 0, Bytes(12, 0));
  for (std::size_t len : {0u, 1u, 700u, 1311u}) {
    Write(kResFace, 0, Bytes(len, 0));
    EXPECT_EQ(Read(0, s).problem, "its FACE resource is shorter than its polygon count") << len;
  }
  Write(kResFace, 0, Bytes(1312, 0));
  EXPECT_TRUE(Read(0, s).ok());
  Write(kResAnim, 0, Bytes(kAnimBytesRead - 1, 0));
  EXPECT_EQ(Read(0, s).problem, "its ANIM resource is too short");
  Write(kResAnim, 0, Bytes(kAnimBytesRead, 0));
  EXPECT_TRUE(Read(0, s).ok());
}

TEST_F(ObjectResourceFile, RejectsPolygonListCountsBeyondTheRecord) {
  WriteArray(kResPinf, 0, EncodePinf(0, 0, 0, 2));
  StoredObject s;
  for (std::size_t field : {4u, 8u, 12u}) {
    const std::uint8_t over = field == 12 ? 21 : 151;
    const std::uint8_t limit = field == 12 ? 20 : 150;
    Bytes face(2 * 1312, 0);
    face[1312 + field] = over;
    Write(kResFace, 0, face);
    EXPECT_EQ(Read(0, s).status, ObjectReadStatus::kDamaged) << field;
    face[1312 + field] = limit;
    Write(kResFace, 0, face);
    EXPECT_TRUE(Read(0, s).ok()) << field;
  }
}

TEST(CheckStoredIndices, BoundsFollowTheReservedCounts) {
  StoredObject s;
  s.points.resize(3);
  s.vectors = {{0, 2, 0, 0, 0}};
  StoredPolygon p;
  p.pointCount = 2;
  p.points[0] = 0;
  p.points[1] = 2;
  p.vectorCount = 1;
  p.vectors[0] = 0;
  s.polygons = {p};
  EXPECT_EQ(CheckStoredIndices(s, 7, 6), "");

  s.vectors[0].p2 = 3;  // one past the last point
  EXPECT_NE(CheckStoredIndices(s, 7, 6), "");
  s.vectors[0].p2 = static_cast<std::uint32_t>(-7);  // the reserved origin
  EXPECT_EQ(CheckStoredIndices(s, 7, 6), "");
  EXPECT_NE(CheckStoredIndices(s, 0, 0), "");  // a glyph has no reserved points
  s.vectors[0].p2 = static_cast<std::uint32_t>(-8);
  EXPECT_NE(CheckStoredIndices(s, 7, 6), "");
  s.vectors[0].p2 = 1;

  s.polygons[0].points[1] = -7;
  EXPECT_EQ(CheckStoredIndices(s, 7, 6), "");
  s.polygons[0].points[1] = -8;
  EXPECT_NE(CheckStoredIndices(s, 7, 6), "");
  s.polygons[0].points[1] = 3;
  EXPECT_NE(CheckStoredIndices(s, 7, 6), "");
  s.polygons[0].points[1] = 1;
  s.polygons[0].points[2] = 1000;  // beyond pointCount: not an entry
  EXPECT_EQ(CheckStoredIndices(s, 7, 6), "");

  s.polygons[0].vectors[0] = static_cast<std::uint32_t>(-6);  // an axis
  EXPECT_EQ(CheckStoredIndices(s, 7, 6), "");
  s.polygons[0].vectors[0] = static_cast<std::uint32_t>(-7);
  EXPECT_NE(CheckStoredIndices(s, 7, 6), "");
  s.polygons[0].vectors[0] = 1;
  EXPECT_NE(CheckStoredIndices(s, 7, 6), "");
  s.polygons[0].vectors[0] = 0;

  s.polygons[0].flags = PolyFlag::kAdopted;
  s.polygons[0].viewZones[0] = 1;  // leader past the only polygon
  EXPECT_NE(CheckStoredIndices(s, 7, 6), "");
  s.polygons[0].viewZones[0] = 0;
  EXPECT_EQ(CheckStoredIndices(s, 7, 6), "");
}

// ---- Conversion for the editor's tables, against a literal loader ----------

// Loads `s` the way the steps read: points, vectors, then each corner
// through FindPoint / AddPoint on real tables, then the literal rebuild.
void LiteralLoad(const StoredObject& s, ObjectTables& t) {
  t.ResetObject();
  for (const StoredPoint& p : s.points) {
    Point& q = t.points[t.pointCount++];
    q = Point{};
    q.x = p.x;
    q.y = p.y;
    q.z = p.z;
  }
  std::vector<Vector> vectors(t.vectors, t.vectors + kReservedVectors);
  for (const StoredVector& v : s.vectors) {
    Vector w{};
    w.p1 = v.p1 + 7;
    w.p2 = v.p2 + 7;
    w.color = v.color;
    w.attribute = v.attribute;
    w.width = v.width;
    vectors.push_back(w);
  }
  std::vector<Polygon> polys;
  for (const StoredPolygon& sp : s.polygons) {
    Polygon p{};
    p.pointCount = sp.pointCount;
    p.vectorCount = sp.vectorCount;
    for (int k = 0; k < 150; ++k) p.vectors[k] = sp.vectors[k] + 6;
    for (std::uint32_t k = 0; k < sp.pointCount; ++k) {
      if (sp.points[k] >= 0) {
        p.points[k] = sp.points[k] + 7;
      } else {
        const Point& r = t.points[sp.points[k] + 7];
        std::uint32_t found = t.FindPoint(r.x, r.y, r.z);
        p.points[k] = found != 0 ? found : t.AddPoint(r.x, r.y, r.z);
      }
    }
    polys.push_back(p);
  }
  LiteralRebuild(vectors, polys);
  std::copy(vectors.begin(), vectors.end(), t.vectors);
  t.vectorCount = static_cast<std::uint32_t>(vectors.size());
  std::copy(polys.begin(), polys.end(), t.polygons.begin());
  t.polygonCount = static_cast<std::uint32_t>(polys.size());
}

StoredObject RandomStoredObject(std::mt19937& rng) {
  StoredObject s;
  const std::uint32_t nPoints = rng() % 30;
  for (std::uint32_t i = 0; i < nPoints; ++i) {
    // Few distinct values, so the origin and the axis ends turn up as user
    // points now and then.
    auto c = [&] {
      return static_cast<double>(static_cast<int>(rng() % 3) - 1) * (rng() % 2 ? 150 : 0);
    };
    s.points.push_back({c(), c(), c()});
  }
  const std::int32_t lo = -7;
  auto anyPoint = [&] { return static_cast<std::int32_t>(rng() % (nPoints + 7)) + lo; };
  const std::uint32_t nVectors = 1 + rng() % 40;
  for (std::uint32_t i = 0; i < nVectors; ++i) {
    s.vectors.push_back(
        {static_cast<std::uint32_t>(anyPoint()), static_cast<std::uint32_t>(anyPoint()), 1, 2, 0});
  }
  const std::uint32_t nPolys = rng() % 8;
  for (std::uint32_t i = 0; i < nPolys; ++i) {
    StoredPolygon p;
    p.pointCount = rng() % 8;
    for (std::uint32_t k = 0; k < p.pointCount; ++k) p.points[k] = anyPoint();
    p.vectorCount = 150;
    for (auto& e : p.vectors)
      e = static_cast<std::uint32_t>(static_cast<std::int32_t>(rng() % (nVectors + 6)) - 6);
    s.polygons.push_back(p);
  }
  return s;
}

// Writes `s` as resources with an encoder of the test's own, straight from
// the layouts, so the reader is checked against more than its own writer.
void WriteStored(ResourceFile& files, RefNum ref, std::uint32_t id, const StoredObject& s) {
  auto le32 = [](Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  Bytes pinf(32, 0);
  le32(pinf, 0, 0x200);
  le32(pinf, 4, s.objectWord);
  le32(pinf, 8, static_cast<std::uint32_t>(s.vectors.size()));
  le32(pinf, 12, static_cast<std::uint32_t>(s.points.size()));
  le32(pinf, 16, static_cast<std::uint32_t>(s.polygons.size()));
  ASSERT_TRUE(files.WriteResource(ref, kResPinf, id, pinf, s.name));
  Bytes pnts(24 * s.points.size(), 0);
  for (std::size_t i = 0; i < s.points.size(); ++i) {
    const double c[3] = {s.points[i].x, s.points[i].y, s.points[i].z};
    std::memcpy(&pnts[24 * i], c, 24);  // this machine is little-endian
  }
  Bytes tvct(12 * s.vectors.size(), 0);
  for (std::size_t i = 0; i < s.vectors.size(); ++i) {
    le32(tvct, 12 * i, s.vectors[i].p1);
    le32(tvct, 12 * i + 4, s.vectors[i].p2);
    tvct[12 * i + 8] = s.vectors[i].color;
    tvct[12 * i + 9] = s.vectors[i].attribute;
    tvct[12 * i + 10] = s.vectors[i].width;
  }
  Bytes face(1312 * s.polygons.size(), 0);
  for (std::size_t i = 0; i < s.polygons.size(); ++i) {
    const StoredPolygon& p = s.polygons[i];
    const std::size_t at = 1312 * i;
    le32(face, at + 4, p.pointCount);
    le32(face, at + 8, p.vectorCount);
    le32(face, at + 12, p.viewZoneCount);
    le32(face, at + 16, p.flags);
    for (std::uint32_t k = 0; k < 150; ++k) le32(face, at + 28 + 4 * k, p.vectors[k]);
    for (std::uint32_t k = 0; k < 20; ++k) le32(face, at + 628 + 4 * k, p.viewZones[k]);
    for (std::uint32_t k = 0; k < 150; ++k) {
      le32(face, at + 708 + 4 * k, static_cast<std::uint32_t>(p.points[k]));
    }
    face[at + 1308] = p.frontColor;
    face[at + 1309] = p.backColor;
  }
  for (auto [type, bytes] : {std::pair{kResPnts, &pnts}, {kResTvct, &tvct}, {kResFace, &face}}) {
    if (!bytes->empty()) {
      ASSERT_TRUE(files.WriteResource(ref, type, id, *bytes, s.name));
    }
  }
}

struct EditorObjectFile : ::testing::Test {
  test::TempDir dir;
  Tables mine, reference;
  ResourceFile files{mine.rt};
  std::string path = dir.File("objects");
  void SetUp() override { ASSERT_EQ(files.CreateResFile(path), 0); }

  ObjectReadResult Load(const StoredObject& s, ObjectTables& into, EditorObject& obj) {
    OpenResource f(files, path);
    WriteStored(files, f.ref(), 0, s);
    ObjectReadResult r = ReadEditorObject(files, f.ref(), 0, into, obj);
    f.Close();
    {
      OpenResource g(files, path);
      files.DeleteResource(g.ref(), kResPinf, 0);
      files.DeleteResource(g.ref(), kResPnts, 0);
      files.DeleteResource(g.ref(), kResTvct, 0);
      files.DeleteResource(g.ref(), kResFace, 0);
    }
    return r;
  }
};

TEST_F(EditorObjectFile, MatchesTheLiteralLoaderOnRandomObjects) {
  std::mt19937 rng(99);
  for (int round = 0; round < 300; ++round) {
    StoredObject s = RandomStoredObject(rng);
    EditorObject obj;
    ASSERT_TRUE(Load(s, mine.t, obj).ok()) << round;
    std::uint32_t word = 0;
    AnimationSlots anim;
    InstallEditorObject(obj, mine.t, anim, word);
    LiteralLoad(s, reference.t);
    ASSERT_EQ(mine.t.pointCount, reference.t.pointCount) << round;
    for (std::uint32_t i = 0; i < mine.t.pointCount; ++i) {
      const Point &a = mine.t.points[i], &b = reference.t.points[i];
      ASSERT_EQ(std::tie(a.x, a.y, a.z), std::tie(b.x, b.y, b.z)) << round << " point " << i;
    }
    ASSERT_EQ(mine.t.vectorCount, reference.t.vectorCount);
    for (std::uint32_t i = 0; i < mine.t.vectorCount; ++i) {
      const Vector &a = mine.t.vectors[i], &b = reference.t.vectors[i];
      ASSERT_EQ(std::tie(a.p1, a.p2), std::tie(b.p1, b.p2)) << round << " vector " << i;
    }
    ASSERT_EQ(mine.t.polygonCount, reference.t.polygonCount);
    for (std::uint32_t i = 0; i < mine.t.polygonCount; ++i) {
      const Polygon& a = mine.t.polygons[i];
      const Polygon& b = reference.t.polygons[i];
      ASSERT_EQ(std::tie(a.pointCount, a.vectorCount), std::tie(b.pointCount, b.vectorCount));
      for (std::uint32_t k = 0; k < a.pointCount; ++k) {
        ASSERT_EQ(a.points[k], b.points[k]) << round << " " << i << " " << k;
        ASSERT_EQ(a.vectors[k], b.vectors[k]) << round << " " << i << " " << k;
      }
    }
  }
}

TEST_F(EditorObjectFile, ReservedCornersMapToAxisPointsOrAUserOrigin) {
  StoredObject s;
  s.points = {{10, 0, 0}, {0, 10, 0}};
  s.vectors = {{0, 1, 0, 0, 0}, {1, static_cast<std::uint32_t>(-7), 0, 0, 0}};
  StoredPolygon p;
  p.pointCount = 4;
  p.points[0] = 0;
  p.points[1] = 1;
  p.points[2] = -7;  // the origin: becomes a user point at (0,0,0)
  p.points[3] = -6;  // point 1, (150,0,0): stays the reserved point
  p.vectorCount = 2;
  p.vectors[0] = 0;
  p.vectors[1] = 1;
  s.polygons = {p, p};
  EditorObject obj;
  ASSERT_TRUE(Load(s, mine.t, obj).ok());
  ASSERT_EQ(obj.addedPoints.size(), 1u);  // one origin point for both polygons
  EXPECT_EQ(obj.addedPoints[0].x, 0.0);
  EXPECT_EQ(obj.lastPointAdded, 9u);
  std::uint32_t word = 0;
  AnimationSlots anim;
  InstallEditorObject(obj, mine.t, anim, word);
  EXPECT_EQ(mine.t.pointCount, 10u);
  EXPECT_EQ(mine.t.lastPointAdded, 9u);
  const Polygon& q = mine.t.polygons[0];
  EXPECT_EQ(q.points[0], 7u);
  EXPECT_EQ(q.points[1], 8u);
  EXPECT_EQ(q.points[2], 9u);
  EXPECT_EQ(q.points[3], 1u);
  EXPECT_EQ(mine.t.polygons[1].points[2], 9u);
  EXPECT_EQ(q.vectorCount, 4u);
  EXPECT_EQ(q.vectors[0], 6u);  // 7-8
  EXPECT_EQ(q.vectors[1], 7u);  // 8-0
  EXPECT_EQ(q.vectors[2], 6u);  // no vector reaches point 9: the entry read (0) + 6 stays
  EXPECT_EQ(q.vectors[3], 0u);  // axis 0 joins point 0 to point 1
}

TEST_F(EditorObjectFile, RefusesWhatWouldNotFitOrNotResolve) {
  // A full point table whose polygon needs one more point for the origin.
  StoredObject s;
  for (std::uint32_t i = 0; i < kMaxPoints - kReservedPoints; ++i) {
    s.points.push_back({static_cast<double>(i + 1), 0, 0});
  }
  StoredPolygon p;
  p.pointCount = 1;
  p.points[0] = -7;
  s.polygons = {p};
  EditorObject obj;
  ObjectReadResult r = Load(s, mine.t, obj);
  EXPECT_EQ(r.status, ObjectReadStatus::kDamaged);
  EXPECT_EQ(r.problem, "polygon 0 needs a point more than the tables can hold");
  // With a user point at the origin (-0.0 counts) it fits.
  s.points.back() = {-0.0, 0.0, 0.0};
  p.vectorCount = 0;
  s.vectors = {{0, 1, 0, 0, 0}};
  s.polygons = {p};
  EXPECT_TRUE(Load(s, mine.t, obj).ok());
  EXPECT_TRUE(obj.addedPoints.empty());

  // A corner that no vector reaches keeps an entry that is not a vector.
  StoredObject t;
  t.points = {{1, 1, 1}};
  StoredPolygon q;
  q.pointCount = 1;
  q.points[0] = 0;
  t.polygons = {q};
  r = Load(t, mine.t, obj);
  EXPECT_EQ(r.problem, "polygon 0 has a corner that no vector reaches");
}

}  // namespace
}  // namespace ws
