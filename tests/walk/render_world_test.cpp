// The render world's build: limits with their messages, the item's radius
// and draw list, the environment from the Preferences file. The item's
// placement and colours show in the golden frames, resizing and freeing in
// the session tests.
#include <gtest/gtest.h>

#include "render_fixture.h"
#include "walk/environment.h"

namespace ws {
namespace {

using test::WalkFixture;
using namespace walk;

// An item of N render points plus its origin: 20,019 fill the universe
// exactly; 20,020 pass the first test but the origin overflows; 20,021 fail
// the first test. Five items fit, a sixth is refused.
TEST(RenderWorldLimits, UniversePointsAndItems) {
  const std::pair<std::uint32_t, std::string_view> rows[] = {
      {20019, ""}, {20020, kUniversePointsMessage}, {20021, kItemPointsMessage}};
  WalkFixture f;
  ASSERT_EQ(f.Build(), "");
  RenderWorld& w = f.w();
  for (const auto& [points, message] : rows) {
    w.universeCount = w.itemCount = 0;
    w.objects[1] = RenderObject{};
    w.objects[1].points.assign(points, RenderPoint{1, 2, 3});
    EXPECT_EQ(AddItem(w, 1, 0, 0, 0, 1.0, f.display), message) << points;
    EXPECT_EQ(std::make_pair(w.itemCount, w.universeCount),
              message.empty() ? std::make_pair(1u, GW_MAXRENPOINTS) : std::make_pair(0u, 0u))
        << points;
  }
  w.universeCount = w.itemCount = 0;
  for (std::uint32_t i = 0; i < GW_MAXITEMS; ++i)
    EXPECT_EQ(AddItem(w, 0, i, 0, 0, 1.0, f.display), "") << i;
  EXPECT_EQ(AddItem(w, 0, 9, 0, 0, 1.0, f.display), kTooManyItemsMessage);
  EXPECT_EQ(w.itemCount, GW_MAXITEMS);
}

// The object tables never hold more than 150, so only damaged counts can
// reach the stops; the limit itself is accepted and the world left freed on
// a stop.
TEST(RenderWorldLimits, PolygonListsOfMoreThan150AreRefused) {
  const std::tuple<std::uint32_t, std::uint32_t, std::string_view> rows[] = {
      {150, 150, ""}, {151, 3, kPolyPointsMessage}, {3, 151, kPolySidesMessage}};
  for (const auto& [points, vectors, message] : rows) {
    WalkFixture f;
    test::AddNearSquare(f.tables(), PolyFlag::kSelectedColor, 8);
    f.tables().polygons[0].pointCount = points;
    f.tables().polygons[0].vectorCount = vectors;
    EXPECT_EQ(f.Build(), message) << points << "/" << vectors;
    EXPECT_EQ(std::make_tuple(f.w().built, f.w().universe.empty(), f.w().outOfMemory),
              std::make_tuple(message.empty(), !message.empty(), false));
  }
}

// Zone mode from the last Collision / Entrance polygons; the radius from
// their points (x and z' truncated, without sign, times the scale) plus 1,
// raised by the ends of vectors with a width; without a Collision polygon
// from all the points. Polygon 0 reaches x = 40.9 (trunc 40), polygon 1
// z = -83 (z' 83), a vector reaches x = 300.
TEST(RenderWorldBuild, ZoneModeAndRadius) {
  const struct {
    const char* name;
    std::uint32_t firstFlags, secondFlags, wideVectorWidth;
    int mode;
    double radius;
  } rows[] = {
      {"collision only", PolyFlag::kCollision, 0, 0, 1, 10 + 1},
      {"collision and entrance", PolyFlag::kCollision, PolyFlag::kEntrance, 0, 2, 20.75 + 1},
      {"entrance before collision", PolyFlag::kEntrance, PolyFlag::kCollision, 0, 2, 20.75 + 1},
      {"no collision: every user point", PolyFlag::kEntrance, 0, 0, 0, 75 + 1},
      {"a wide vector raises it", PolyFlag::kCollision, 0, 3, 1, 75},
      {"switch bit alone is no width", PolyFlag::kCollision, 0, 0x8000, 1, 10 + 1},
  };
  for (const auto& row : rows) {
    WalkFixture f;
    ObjectTables& t = f.tables();
    const std::uint32_t a = t.AddPoint(40.9, 0, 0), b = t.AddPoint(-3, 5, 2),
                        c = t.AddPoint(0, 0, 83);
    t.vectors[t.AddVector(b, t.AddPoint(300, 0, 0))].width = row.wideVectorWidth;
    t.polygonCount = 2;
    for (const auto& [k, flags, first, second] :
         {std::tuple(0, row.firstFlags, a, b), std::tuple(1, row.secondFlags, b, c)}) {
      t.polygons[k] = Polygon{};
      t.polygons[k].flags = flags;
      t.polygons[k].pointCount = 2;
      t.polygons[k].points[0] = first;
      t.polygons[k].points[1] = second;
    }
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
  for (std::uint32_t width : {0, 2, 0x8003, 0x8000, 1}) t.vectors[t.AddVector(p, q)].width = width;
  t.vectors[0].width = 1;  // an axis with a width is drawn like any vector
  ASSERT_EQ(f.Build(), "");
  const WalkItem& item = f.w().items[0];
  using List = std::vector<std::uint32_t>;
  for (const auto& [on, expected] :
       {std::pair(false, List{0, 7, 10}), std::pair(true, List{0, 7, 10, 6, 8, 9}),
        std::pair(false, List{0, 7, 10})}) {
    f.display.vectorsOn = on;
    RebuildVectorDrawList(f.w(), f.display);
    EXPECT_EQ(List(item.drawList.begin(), item.drawList.begin() + item.drawCount), expected) << on;
  }
  f.display.vectorsOn = true;
  RebuildVectorDrawList(f.w(), f.display);
  const RenderVector& wire = f.w().objects[0].vectors[6];
  EXPECT_EQ(std::make_tuple(wire.width, wire.color, wire.fill),
            std::make_tuple(kSwitchVectorWidth, f.display.wireColour,
                            f.display.wireColour * 0x01010101u));
}

// Without 'SKDT' 129 the world builds silently with the sky absent (rows
// in the 0xFF pattern); without 'LNDT' 128 the build says so and goes on
// with the 0xC2 pattern.
TEST(WalkEnvironment, MissingSkyIsSilentMissingGroundIsReported) {
  for (const ResType type : {kResSkdt, kResLndt}) {
    WalkFixture f;
    {
      OpenResource prefs(f.m().resources, f.m().paths.preferences);
      f.m().resources.DeleteResource(prefs.ref(), type, type == kResSkdt ? 129 : 128);
    }
    ASSERT_EQ(f.Build(), "");
    f.Frame();
    const WalkEnvironment& env = f.w().environment;
    if (type == kResSkdt) {
      EXPECT_EQ(std::make_tuple(env.skyPresent, f.ui.Messages().size(), f.Pixel(5, 5)),
                std::make_tuple(false, 0u, 0xFF));
    } else {
      EXPECT_EQ(f.ui.Messages(),
                (std::vector<RecordedMessage>{{"General Error", "Can't find LNDT resource."}}));
      EXPECT_EQ(std::make_tuple(f.w().built, env.ground[3][1]), std::make_tuple(true, 0xC2));
    }
  }
}

// The two-entry dither above row 236 and the alternating band below.
TEST(WalkEnvironment, SkyRowsUseTheirEntries) {
  WalkFixture f;
  ASSERT_EQ(f.Build(), "");
  const WalkEnvironment& env = f.w().environment;
  const std::pair<int, std::size_t> rows[] = {
      {0, 4},     {1, 0},     {2, 5},     {100, 54},  {101, 50},  {234, 121}, {235, 117},
      {236, 118}, {237, 118}, {238, 121}, {239, 121}, {240, 118}, {599, 121}};
  for (const auto& [r, entry] : rows) EXPECT_EQ(&SkyRowPattern(env, r), &env.sky[entry]) << r;
}

}  // namespace
}  // namespace ws
