// Random objects written as .gltf and .glb and opened again come back as the
// fan triangles of their polygons, each with its polygon's colours and game
// attributes.
#include <gtest/gtest.h>

#include <array>
#include <random>

#include "import/gltf_export.h"
#include "import_test_support.h"

namespace ws {
namespace {

using test::ImportFixture;

// Distinct in 8 bits, except that 200..207 repeat 0..7: those can only come
// back through the palette index the file keeps.
ColorTable TestTable() {
  ColorTable t;
  for (std::uint16_t i = 0; i < 256; ++i) {
    const std::uint16_t k = i >= 200 && i < 208 ? i - 200 : i;
    t.Set(i, {static_cast<std::uint16_t>(k * 257), static_cast<std::uint16_t>((255 - k) * 257),
              static_cast<std::uint16_t>(k * 7 % 256 * 257)});
  }
  return t;
}

// 40 distinct points, 25 polygons of 3 to 6 of them with every attribute
// drawn at random; view-zone slot 0 holds the leader of an adopted polygon.
// Polygon 0 repeats its first corner, so that its first triangle is lost.
void MakeRandomObject(ObjectTables& t, std::mt19937& rng) {
  auto pick = [&](std::uint32_t n) { return static_cast<std::uint32_t>(rng() % n); };
  while (t.userPointCount() < 40) {
    t.AddPoint(double(pick(301)) - 150, double(pick(301)) - 150, double(pick(301)) - 150);
  }
  constexpr std::uint32_t kPolygons = 25;
  for (std::uint32_t k = 0; k < kPolygons; ++k) {
    Polygon& p = t.polygons[t.polygonCount++];
    p = Polygon{};
    std::vector<std::uint32_t> points(40);
    for (std::uint32_t i = 0; i < 40; ++i) points[i] = kReservedPoints + i;
    std::shuffle(points.begin(), points.end(), rng);
    p.pointCount = (k == 0 ? 4 : 3) + pick(3);
    std::copy_n(points.begin(), p.pointCount, p.points);
    if (k == 0) p.points[1] = p.points[0];
    p.flags = pick(0x2000) | (pick(4) == 0 ? 0x10000u : 0u);
    p.frontColor = static_cast<std::uint8_t>(pick(256));
    p.backColor = static_cast<std::uint8_t>(pick(256));
    p.viewZoneCount = pick(4);
    for (std::uint32_t z = 0; z < p.viewZoneCount; ++z) {
      p.viewZones[z] = pick(kPolygons) | (pick(2) ? ViewZone::kLowPriority : 0) |
                       (pick(4) == 0 ? ViewZone::kIsVector : 0);
    }
    if (p.flags & PolyFlag::kAdopted) p.viewZones[0] = pick(kPolygons);
  }
}

TEST(GltfRoundTrip, RandomObjectsComeBackAsTrianglesWithColoursAndAttributes) {
  for (const char* name : {"object.gltf", "object.glb"}) {
    for (std::uint32_t seed : {1u, 2u, 3u}) {
      SCOPED_TRACE(std::string(name) + " seed " + std::to_string(seed));
      ImportFixture f;
      const ColorTable table = TestTable();
      ASSERT_TRUE(WriteClutToFile(f.m().resources, f.m().paths.preferences, kCurrentClutId, table));
      std::mt19937 rng(seed);
      MakeRandomObject(f.tables(), rng);
      const std::string path = f.dir.File(name);
      ASSERT_TRUE(ExportObjectAsGltf(f.m(), path, false));
      const std::string bytes = test::ReadFileText(path);
      const bool binary = name == std::string("object.glb");
      // A container, or text with the buffer inside it as a data URI.
      const bool dataUri = bytes.find("\"data:application/octet-stream;base64,") != std::string::npos;
      EXPECT_EQ(std::tuple(bytes.starts_with("glTF"), dataUri), std::tuple(binary, !binary));

      // What the import should make of it, in the import's placement.
      const std::vector<Point> points(f.tables().points, f.tables().points + f.tables().pointCount);
      const std::vector<Polygon> polygons(f.tables().polygons.begin(),
                                          f.tables().polygons.begin() + f.tables().polygonCount);
      // The box of the points the polygons use: only those are written.
      Vec3 lo{1e9, 1e9, 1e9}, hi{-1e9, -1e9, -1e9};
      for (const Polygon& p : polygons) {
        for (std::uint32_t c = 0; c < p.pointCount; ++c) {
          const Point& q = points[p.points[c]];
          lo = {std::min(lo.x, q.x), std::min(lo.y, q.y), std::min(lo.z, q.z)};
          hi = {std::max(hi.x, q.x), std::max(hi.y, q.y), std::max(hi.z, q.z)};
        }
      }
      struct Triangle { std::uint32_t polygon, index; std::array<Vec3, 3> corners; };
      std::vector<Triangle> expected;
      for (std::uint32_t k = 0; k < polygons.size(); ++k) {
        const Polygon& p = polygons[k];
        auto at = [&](std::uint32_t i) { return test::Placed(points[p.points[i]], lo, hi); };
        for (std::uint32_t i = 1; i + 1 < p.pointCount; ++i) {
          if (p.points[i] != p.points[0]) expected.push_back({k, i - 1, {at(0), at(i), at(i + 1)}});
        }
      }

      f.tables().ResetObject();
      ASSERT_TRUE(f.Import(path)) << (f.ui.Messages().empty() ? "" : f.ui.Messages()[0].text);
      const ObjectTables& t = f.tables();
      ASSERT_EQ(t.polygonCount, expected.size());
      // Each imported polygon is found by its corners.
      std::vector<std::uint32_t> origin(t.polygonCount, kNoIndex), first(polygons.size(), kNoIndex);
      for (std::uint32_t q = 0; q < t.polygonCount; ++q) {
        ASSERT_EQ(t.polygons[q].pointCount, 3u) << q;
        for (std::uint32_t e = 0; e < expected.size(); ++e) {
          bool same = true;
          for (int c = 0; c < 3; ++c) {
            const Point& got = t.points[t.polygons[q].points[c]];
            const Vec3& want = expected[e].corners[c];
            same = same && std::fabs(got.x - want.x) + std::fabs(got.y - want.y) + std::fabs(got.z - want.z) < 1e-3;
          }
          if (same) origin[q] = e;
        }
        ASSERT_NE(origin[q], kNoIndex) << "imported polygon " << q << " is no expected triangle";
        // A polygon is now its first triangle that came through.
        if (first[expected[origin[q]].polygon] == kNoIndex) first[expected[origin[q]].polygon] = q;
      }
      for (std::uint32_t q = 0; q < t.polygonCount; ++q) {
        const Polygon& got = t.polygons[q];
        const Polygon& p = polygons[expected[origin[q]].polygon];
        const bool back = (p.flags & (PolyFlag::kEachSideDifferent | PolyFlag::kNeverDrawBackFace)) ==
                          PolyFlag::kEachSideDifferent;
        std::vector<std::uint32_t> zones;
        for (std::uint32_t z = 0; z < p.viewZoneCount; ++z) {
          if (!(p.viewZones[z] & ViewZone::kIsVector)) {
            zones.push_back((p.viewZones[z] & ViewZone::kFlagMask) | first[p.viewZones[z] & ViewZone::kIndexMask]);
          }
        }
        if ((p.flags & PolyFlag::kAdopted) && !zones.empty()) zones[0] = first[p.viewZones[0]];
        EXPECT_EQ(std::tuple(got.frontColor, got.backColor, got.frontFill, got.flags,
                             std::vector(got.viewZones, got.viewZones + got.viewZoneCount)),
                  std::tuple(p.frontColor, back ? p.backColor : p.frontColor, FillWord(p.frontColor), p.flags,
                             zones))
            << "triangle " << expected[origin[q]].index << " of polygon " << expected[origin[q]].polygon;
        if (p.flags & PolyFlag::kAdopted) {
          EXPECT_EQ(got.viewZones[0], first[p.viewZones[0]]) << q;
        }
      }
    }
  }
}

}  // namespace
}  // namespace ws
