// The render world's build: limits with their messages, the copy of the
// object, the item's placement, radius and draw list, and the free.
#include <gtest/gtest.h>

#include <cmath>

#include "render_fixture.h"
#include "walk/environment.h"

namespace ws {
namespace {

using test::WalkFixture;
using namespace walk;

// An item of N render points plus its origin: 20,019 fill the universe
// exactly; 20,020 pass the first test but the origin overflows; 20,021 fail
// the first test.
TEST(RenderWorldLimits, UniversePointsAreCountedWithTheOrigin) {
  struct Row {
    std::uint32_t points;
    std::string_view message;
  };
  const Row rows[] = {{20019, ""}, {20020, kUniversePointsMessage}, {20021, kItemPointsMessage}};
  WalkFixture f;
  ASSERT_EQ(f.Build(), "");
  for (const Row& row : rows) {
    RenderWorld& w = f.w();
    w.universeCount = 0;
    w.itemCount = 0;
    w.objects[1] = RenderObject{};
    w.objects[1].points.assign(row.points, RenderPoint{1, 2, 3});
    EXPECT_EQ(AddItem(w, 1, 0, 0, 0, 1.0, f.display), row.message) << row.points;
    EXPECT_EQ(std::make_pair(w.itemCount, w.universeCount),
              row.message.empty() ? std::make_pair(1u, GW_MAXRENPOINTS) : std::make_pair(0u, 0u))
        << row.points;
  }
}

TEST(RenderWorldLimits, FiveItemsFitAndASixthIsRefused) {
  WalkFixture f;
  ASSERT_EQ(f.Build(), "");
  for (std::uint32_t i = 1; i < GW_MAXITEMS; ++i)
    EXPECT_EQ(AddItem(f.w(), 0, i, 0, 0, 1.0, f.display), "") << i;
  EXPECT_EQ(AddItem(f.w(), 0, 9, 0, 0, 1.0, f.display), kTooManyItemsMessage);
  EXPECT_EQ(f.w().itemCount, GW_MAXITEMS);
}

// The object tables never hold more than 150, so only damaged counts can
// reach the stops; the limit itself is accepted and the world left freed on
// a stop.
TEST(RenderWorldLimits, PolygonListsOfMoreThan150AreRefused) {
  struct Row {
    std::uint32_t points, vectors;
    std::string_view message;
  };
  const Row rows[] = {{150, 150, ""}, {151, 3, kPolyPointsMessage}, {3, 151, kPolySidesMessage}};
  for (const Row& row : rows) {
    WalkFixture f;
    test::AddFacingRect(f.tables(), 10, -1, 1, -1, 1, PolyFlag::kSelectedColor, 8);
    f.tables().polygons[0].pointCount = row.points;
    f.tables().polygons[0].vectorCount = row.vectors;
    EXPECT_EQ(f.Build(), row.message) << row.points << "/" << row.vectors;
    EXPECT_EQ(f.w().built, row.message.empty()) << row.points << "/" << row.vectors;
    EXPECT_EQ(f.w().universe.empty(), !row.message.empty());
    EXPECT_FALSE(f.w().outOfMemory);
  }
}

// (10, 20, 30) -> render (10, 20, -30) -> world (2.5, 192.5, 5); the item's
// origin follows its points, the viewer starts at its start values.
TEST(RenderWorldBuild, PlacesTheObjectAsItemZero) {
  WalkFixture f;
  const std::uint32_t p = f.tables().AddPoint(10, 20, 30);
  f.tables().AddPoint(-7.9, 200, -2);  // above the axis cross (150)
  ASSERT_EQ(f.Build(), "");
  const RenderWorld& w = f.w();
  const WalkItem& item = w.items[0];
  const UniversePoint& u = w.universe[item.firstPoint + p];
  EXPECT_EQ(std::make_tuple(u.x, u.y, u.z), std::make_tuple(2.5, 192.5, 5.0));
  const RenderPoint& r = w.objects[0].points[p];
  EXPECT_EQ(std::make_tuple(r.x, r.y, r.z), std::make_tuple(10.0, 20.0, -30.0));
  const UniversePoint& origin = w.universe[item.originPoint];
  EXPECT_EQ(std::make_tuple(origin.x, origin.y, origin.z), std::make_tuple(0.0, 200.0, 0.0));
  EXPECT_EQ(
      std::make_tuple(w.universeCount, item.firstPoint, item.lastPoint, item.scale, item.highestZ),
      std::make_tuple(f.tables().pointCount + 1, 0u, f.tables().pointCount, 0.25, 50.0));
  const WalkViewer& v = w.viewer;
  EXPECT_EQ(
      std::make_tuple(v.x, v.y, v.z, v.heading, v.insideItem, v.zonePolygon, w.itemCount, w.far),
      std::make_tuple(0.0, 0.0, v.ground, 90.0, -1, -1, 1u, 100000.0));
  EXPECT_EQ(std::make_tuple(v.m[0][0], v.m[0][1], v.m[1][1], v.m[2][2]),
            std::make_tuple(1.0, 0.0, 1.0, 1.0));
}

// Zone mode from the last Collision / Entrance polygons; the radius from
// their points (x and z' truncated, without sign, times the scale) plus 1,
// raised by the ends of vectors with a width; without a Collision polygon
// from all the points.
TEST(RenderWorldBuild, ZoneModeAndRadius) {
  struct Row {
    const char* name;
    std::uint32_t firstFlags, secondFlags;
    std::uint32_t wideVectorWidth;  // width of a vector out to x = 300
    int mode;
    double radius;
  };
  // Polygon 0 reaches x = 40.9 (trunc 40), polygon 1 z = -83 (z' 83).
  const Row rows[] = {
      {"collision only", PolyFlag::kCollision, 0, 0, 1, 10 + 1},
      {"collision and entrance", PolyFlag::kCollision, PolyFlag::kEntrance, 0, 2, 20.75 + 1},
      {"entrance before collision", PolyFlag::kEntrance, PolyFlag::kCollision, 0, 2, 20.75 + 1},
      {"no collision: every user point", PolyFlag::kEntrance, 0, 0, 0, 75 + 1},
      {"a wide vector raises it", PolyFlag::kCollision, 0, 3, 1, 75},
      {"switch bit alone is no width", PolyFlag::kCollision, 0, 0x8000, 1, 10 + 1},
  };
  for (const Row& row : rows) {
    WalkFixture f;
    ObjectTables& t = f.tables();
    const std::uint32_t a = t.AddPoint(40.9, 0, 0), b = t.AddPoint(-3, 5, 2),
                        c = t.AddPoint(0, 0, 83);
    const std::uint32_t far = t.AddPoint(300, 0, 0);
    t.polygonCount = 2;
    t.polygons[0] = Polygon{};
    t.polygons[0].flags = row.firstFlags;
    t.polygons[0].pointCount = 2;
    t.polygons[0].points[0] = a;
    t.polygons[0].points[1] = b;
    t.polygons[1] = Polygon{};
    t.polygons[1].flags = row.secondFlags;
    t.polygons[1].pointCount = 2;
    t.polygons[1].points[0] = b;
    t.polygons[1].points[1] = c;
    t.vectors[t.AddVector(b, far)].width = row.wideVectorWidth;
    ASSERT_EQ(f.Build(), "") << row.name;
    const WalkItem& item = f.w().items[0];
    EXPECT_EQ(std::make_tuple(item.zoneMode, item.radius, item.radiusPlus40),
              std::make_tuple(row.mode, row.radius, static_cast<std::int32_t>(row.radius) + 40))
        << row.name;
  }
}

// The draw list holds vectors with a width and no switch bit; Vectors On
// adds every other user vector as a one-pixel wire, never the axes.
TEST(RenderWorldBuild, VectorDrawListFollowsTheVectorsSwitch) {
  WalkFixture f;
  ObjectTables& t = f.tables();
  const std::uint32_t p = t.AddPoint(0, 0, 0), q = t.AddPoint(1, 1, 1);
  const std::uint32_t widths[] = {0, 2, 0x8003, 0x8000, 1};
  for (std::uint32_t width : widths) {
    const std::uint32_t v = t.AddVector(p, q);
    t.vectors[v].width = width;
    t.vectors[v].color = 77;
  }
  t.vectors[0].width = 1;  // an axis with a width is drawn like any vector
  ASSERT_EQ(f.Build(), "");
  auto list = [&] {
    const WalkItem& item = f.w().items[0];
    return std::vector<std::uint32_t>(item.drawList.begin(),
                                      item.drawList.begin() + item.drawCount);
  };
  EXPECT_EQ(list(), (std::vector<std::uint32_t>{0, 7, 10}));
  f.display.vectorsOn = true;
  RebuildVectorDrawList(f.w(), f.display);
  EXPECT_EQ(list(), (std::vector<std::uint32_t>{0, 7, 10, 6, 8, 9}));
  const RenderVector& wire = f.w().objects[0].vectors[6];
  EXPECT_EQ(std::make_tuple(wire.width, wire.color, wire.fill),
            std::make_tuple(kSwitchVectorWidth, f.display.wireColour,
                            f.display.wireColour * 0x01010101u));
  f.display.vectorsOn = false;
  RebuildVectorDrawList(f.w(), f.display);
  EXPECT_EQ(list(), (std::vector<std::uint32_t>{0, 7, 10}));
}

// Field by field copy of vectors and polygons with their shade indices and
// patterns; the animation slots with the sines of their angles.
TEST(RenderWorldBuild, CopiesRecordsAndAnimation) {
  WalkFixture f;
  ObjectTables& t = f.tables();
  const std::uint32_t k = test::AddFacingRect(
      t, 10, -1, 1, -1, 1, PolyFlag::kViewZone | PolyFlag::kBordered, 0x53, 0x2A);
  t.polygons[k].viewZoneCount = 2;
  t.polygons[k].viewZones[1] = 0x4005;
  t.vectors[t.polygons[k].vectors[0]].color = 0x9C;
  t.vectors[t.polygons[k].vectors[0]].attribute = -3;
  f.m().animation.slots[1].active = 1;
  f.m().animation.slots[1].angle = 30;
  ASSERT_EQ(f.Build(), "");
  const RenderObject& o = f.w().objects[0];
  const RenderPolygon& p = o.polygons[k];
  EXPECT_EQ(std::make_tuple(p.frontColor, p.backColor, p.shade, p.frontFill, p.backFill,
                            p.pointCount, p.vectorCount, p.viewZoneCount, p.viewZones[1], p.flags),
            std::make_tuple(0x53, 0x2A, 0x57, 0x53535353u, 0x2A2A2A2Au, 4u, 4u, 2u, 0x4005u,
                            PolyFlag::kViewZone | PolyFlag::kBordered));
  const RenderVector& v = o.vectors[t.polygons[k].vectors[0]];
  EXPECT_EQ(std::make_tuple(v.color, v.shade, v.fill, v.attribute),
            std::make_tuple(0x9C, 0x9F, 0x9C9C9C9Cu, -3));
  EXPECT_EQ(std::make_tuple(o.viewZonePolygonCount, o.viewZonePolygons[0]), std::make_tuple(1u, k));
  ASSERT_EQ(o.animation.size(), 3u);
  const RenderAnimation& a = o.animation[1];
  EXPECT_DOUBLE_EQ(a.sinA, 0.5);
  EXPECT_DOUBLE_EQ(a.sinMinusA, -0.5);
  EXPECT_DOUBLE_EQ(a.cosA, std::sqrt(3.0) / 2);
  EXPECT_DOUBLE_EQ(a.cosMinusA, std::sqrt(3.0) / 2);
  f.m().animation.Reset();
  ASSERT_EQ(f.Build(), "");
  EXPECT_TRUE(f.w().objects[0].animation.empty());
}

// More than ten View Zone polygons: the first ten act as zones.
TEST(RenderWorldBuild, RecordsTenViewZones) {
  WalkFixture f;
  for (int i = 0; i < 12; ++i)
    test::AddFacingRect(f.tables(), 10 + i, -1, 1, -1, 1, PolyFlag::kViewZone, 8);
  ASSERT_EQ(f.Build(), "");
  const RenderObject& o = f.w().objects[0];
  EXPECT_EQ(std::make_tuple(o.viewZonePolygonCount, o.viewZonePolygons[9]),
            std::make_tuple(kMaxZonePolygons, 9u));
}

TEST(RenderWorldBuild, FreeAndResize) {
  WalkFixture f;
  test::AddFacingRect(f.tables(), 10, -1, 1, -1, 1, PolyFlag::kSelectedColor, 8);
  ASSERT_EQ(f.Build(), "");
  f.w().viewer.x = 12.5;
  f.w().viewer.heading = 33;
  EXPECT_EQ(ResizeRenderWorld(f.w(), f.tables(), EnvironmentFrom(f.m()), 320, 200, f.display, f.ui),
            "");
  const RenderWorld& w = f.w();
  EXPECT_EQ(std::make_tuple(w.built, w.screen.width, w.screen.halfHeight, w.rowTable.size(),
                            w.columnU.size(), w.viewer.x, w.viewer.heading,
                            w.viewer.zonePolys.capacity() >= kMaxViewZones),
            std::make_tuple(true, 320, 100, 200u, 320u, 12.5, 33.0, true));
  FreeRenderWorld(f.w());
  EXPECT_EQ(std::make_tuple(w.built, w.universe.capacity(), w.entries.capacity(),
                            w.objects[0].polygons.capacity(), w.itemCount),
            std::make_tuple(false, 0u, 0u, 0u, 0u));
  f.Frame();  // a freed world draws nothing and does not fail
}

}  // namespace
}  // namespace ws
