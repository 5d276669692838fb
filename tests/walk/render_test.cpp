// The walk view's render world and frames: limits, radius, draw list,
// environment, sort keys and order, fills and pick, and whole frames against
// the reference pictures tests/golden/walk_*.png (each looked at before it
// was committed).
#include <gtest/gtest.h>

#include <random>

#include "render_fixture.h"
#include "support/alloc_counter.h"
#include "support/golden_image.h"
#include "walk/environment.h"

namespace ws {
namespace {

using namespace test;
using namespace walk;

constexpr std::uint32_t kFilled = PolyFlag::kSelectedColor;

// The plain recursive quicksort, first element as pivot, that the frame's
// order is defined by.
void PlainQuickSort(std::vector<SortEntry>& e, long lo, long hi) {
  if (lo >= hi) return;
  const double pivot = e[lo].key;
  long last = lo;
  for (long j = lo + 1; j <= hi; ++j) {
    if (e[j].key < pivot) std::swap(e[++last], e[j]);
  }
  std::swap(e[lo], e[last]);
  PlainQuickSort(e, lo, last - 1);
  PlainQuickSort(e, last + 1, hi);
}

TEST(RenderSort, MatchesThePlainQuicksort) {
  std::mt19937 random(13);
  // Small key ranges give many equal keys; order 0 random, 1 ascending, -1 descending.
  // clang-format off
  const struct { const char* name; int keyRange, order; } rows[] = {
      {"distinct", 1 << 30, 0}, {"many ties", 7, 0}, {"few ties", 400, 0},
      {"ascending with ties", 50, 1}, {"descending distinct", 1 << 30, -1}};
  // clang-format on
  for (const auto& row : rows) {
    for (int round = 0; round < 20; ++round) {
      std::vector<SortEntry> entries(static_cast<std::size_t>(1 + random() % 300));
      for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i] = {static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(i % 2),
                      static_cast<double>(random() % row.keyRange) - row.keyRange / 2};
      }
      std::stable_sort(entries.begin(), entries.end(), [&](const SortEntry& a, const SortEntry& b) {
        return row.order * a.key < row.order * b.key;
      });
      std::vector<SortEntry> expected = entries, scratch(entries.size());
      PlainQuickSort(expected, 0, static_cast<long>(expected.size()) - 1);
      SortEntries(entries, scratch);
      for (std::size_t i = 0; i < entries.size(); ++i) {
        ASSERT_EQ(std::make_tuple(entries[i].index, entries[i].key),
                  std::make_tuple(expected[i].index, expected[i].key))
            << row.name << " round " << round << " at " << i;
      }
    }
  }
}

// Keys: the mean of a^2 + b^2 over the points: the near square (polygon 0)
// 101, the far rectangle 416. The zone's list (Low back, High forward),
// Higher Priority (forward) and, inside the item, Collision (back) each move
// a key by 12800. The larger key is drawn first; the pointer picks the
// polygon on top and outlines it (the near square's corner is (72, 54)).
TEST(RenderKeys, DistancePrioritiesAndZoneListDecideTheOrder) {
  namespace PF = PolyFlag;
  // clang-format off
  const struct { const char* name; std::uint32_t flags; int inside, zoneItem;
                 std::vector<std::uint32_t> zoneList; double key; } rows[] = {
      {"no zone",                  0,                   -1, -1, {},          101},
      {"listed Low",               0,                   -1,  0, {0x4000},    101 + 12800},
      {"listed High",              0,                   -1,  0, {0},         101 - 12800},
      {"first entry counts",       0,                   -1,  0, {0x4000, 0}, 101 + 12800},
      {"other polygon listed",     0,                   -1,  0, {0x4002},    101},
      {"higher priority",          PF::kHigherPriority, -1, -1, {},          101 - 12800},
      {"higher priority and High", PF::kHigherPriority, -1,  0, {0},         101 - 25600},
      {"zone of another item",     PF::kHigherPriority, -1,  1, {0},         101 - 12800},
      {"collision, outside",       PF::kCollision,      -1, -1, {},          101},
      {"collision, inside",        PF::kCollision,       0, -1, {},          101 + 12800},
      {"collision inside and Low", PF::kCollision,       0,  0, {0x4000},    101 + 25600},
      {"all three", PF::kCollision | PF::kHigherPriority, 0, 0, {0x4000},    101 + 12800}};
  // clang-format on
  for (const auto& row : rows) {
    WalkFixture f;
    AddNearSquare(f.tables(), row.flags | kFilled, 16);
    AddFacingRect(f.tables(), 20, -4, 4, -4, 4, kFilled, 8);
    ASSERT_EQ(f.Build(), "");
    f.w().viewer.insideItem = row.inside;
    f.StandInZone(0, row.zoneList);
    f.w().viewer.zoneItem = row.zoneItem;
    const long before = test::AllocationCount();
    f.Frame(80, 60);
    EXPECT_EQ(test::AllocationCount(), before) << row.name;
    const bool nearOnTop = row.key < 416;
    EXPECT_EQ(std::make_tuple(f.PolygonKey(0), f.PolygonKey(1), f.Pixel(80, 60), f.w().pick.polygon,
                              f.Pixel(72, 54)),
              std::make_tuple(row.key, 416.0, nearOnTop ? 16 : 8, nearOnTop ? 0 : 1,
                              nearOnTop ? f.display.highlightColour : 8))
        << row.name;
  }
}

// Vector keys: half the sum of both ends' a^2 + b^2, moved by the zone's
// vector list; drawing them allocates nothing either.
TEST(RenderKeys, VectorKeysAndTheirZoneList) {
  WalkFixture f;
  ObjectTables& t = f.tables();
  const std::uint32_t v =
      t.AddVector(test::AddWalkPoint(t, {10, 2, 0}), test::AddWalkPoint(t, {20, 0, 5}));
  t.vectors[v].width = 1;
  ASSERT_EQ(f.Build(), "");
  const double plain = (100 + 4 + 400) * 0.5;
  const std::pair<std::vector<std::uint32_t>, double> rows[] = {
      {{}, plain}, {{v | 0x4000}, plain + 12800}, {{v + 1, v}, plain - 12800}};
  for (const auto& [list, key] : rows) {
    f.StandInZone(3, {});
    f.w().viewer.zoneVectors = list;
    const long before = test::AllocationCount();
    f.Frame(40, 40);
    EXPECT_EQ(test::AllocationCount(), before);
    ASSERT_EQ(f.w().entryCount, 1u);
    EXPECT_EQ(std::make_tuple(f.w().entries[0].kind, f.w().entries[0].index, f.w().entries[0].key),
              std::make_tuple(0u, v, key));
  }
}

// Invisible polygons never enter the frame, Not Visible From Collision ones
// not while the viewer is inside the item; the flags pick outline, plain,
// bordered or no fill.
TEST(RenderFrame, FlagsDecideWhetherAndHowAPolygonIsFilled) {
  namespace PF = PolyFlag;
  const std::uint8_t none = 255;  // stands for the background
  // Pixel (80, 60) and the left edge (72, 60).
  // clang-format off
  const struct { std::uint32_t flags; int inside, entries; std::uint8_t centre, edge; } rows[] = {
      {PF::kOutline | kFilled,                         -1, 1, 2, 2},
      {PF::kShaded,                                    -1, 1, 17, 17},
      {PF::kAdopted | PF::kBordered,                   -1, 1, 17, none},
      {PF::kBordered | PF::kViewZone,                  -1, 1, none, none},
      {PF::kInvisible | PF::kHigherPriority | kFilled, -1, 0, none, none},
      {PF::kNotVisibleFromCollision,                    0, 0, none, none},
      {PF::kNotVisibleFromCollision,                    1, 1, 17, 17},
      {kFilled,                                         0, 1, 17, 17}};
  // clang-format on
  for (const auto& row : rows) {
    WalkFixture f;
    f.display.hideEnvironment = true;
    AddNearSquare(f.tables(), row.flags, 17);
    ASSERT_EQ(f.Build(), "");
    f.w().viewer.insideItem = row.inside;
    f.Frame();
    auto shown = [&](std::uint8_t v) { return v == none ? f.display.blackIndex : v; };
    EXPECT_EQ(std::make_tuple(f.w().entryCount, f.Pixel(80, 60), f.Pixel(72, 60)),
              std::make_tuple(static_cast<std::uint32_t>(row.entries), shown(row.centre),
                              shown(row.edge)))
        << std::hex << row.flags << " inside " << row.inside;
  }
}

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
  // Name, the two polygons' flags, the wide vector's width, zone mode, radius.
  const std::tuple<const char*, std::uint32_t, std::uint32_t, std::uint32_t, int, double> rows[] = {
      {"collision only", PolyFlag::kCollision, 0, 0, 1, 10 + 1},
      {"collision and entrance", PolyFlag::kCollision, PolyFlag::kEntrance, 0, 2, 20.75 + 1},
      {"entrance before collision", PolyFlag::kEntrance, PolyFlag::kCollision, 0, 2, 20.75 + 1},
      {"no collision: every user point", PolyFlag::kEntrance, 0, 0, 0, 75 + 1},
      {"a wide vector raises it", PolyFlag::kCollision, 0, 3, 1, 75},
      {"switch bit alone is no width", PolyFlag::kCollision, 0, 0x8000, 1, 10 + 1}};
  for (const auto& [name, firstFlags, secondFlags, width, mode, radius] : rows) {
    WalkFixture f;
    ObjectTables& t = f.tables();
    const std::uint32_t a = t.AddPoint(40.9, 0, 0), b = t.AddPoint(-3, 5, 2),
                        c = t.AddPoint(0, 0, 83);
    t.vectors[t.AddVector(b, t.AddPoint(300, 0, 0))].width = width;
    for (const auto& [flags, first, second] :
         {std::tuple(firstFlags, a, b), std::tuple(secondFlags, b, c)}) {
      Polygon& p = t.polygons[t.polygonCount++] = Polygon{};
      p.flags = flags, p.pointCount = 2, p.points[0] = first, p.points[1] = second;
    }
    ASSERT_EQ(f.Build(), "") << name;
    const WalkItem& item = f.w().items[0];
    EXPECT_EQ(std::make_tuple(item.zoneMode, item.radius, item.radiusPlus40),
              std::make_tuple(mode, radius, static_cast<std::int32_t>(radius) + 40))
        << name;
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
  const std::pair<int, std::size_t> rows[] = {{0, 4},     {1, 0},     {2, 5},     {234, 121},
                                              {235, 117}, {236, 118}, {237, 118}, {238, 121},
                                              {239, 121}, {240, 118}, {599, 121}};
  for (const auto& [r, entry] : rows) EXPECT_EQ(&SkyRowPattern(env, r), &env.sky[entry]) << r;
}

// One frame, compared with the reference picture `name`.
void FrameMatches(WalkFixture& f, const std::string& name) {
  f.Frame();
  test::ExpectGoldenImage(CaptureImage(f.surface, f.surface.Bounds()), name);
}

// A room 20 x 20 wide and 25 high on the floor, 30 to 50 ahead of the start
// position: red outside, blue inside (Each Side Has Different Color), its
// ground plan the green Collision polygon.
void AddRoom(WalkFixture& f) {
  ObjectTables& t = f.tables();
  const DrawingColors& c = f.m().colors.drawing;
  const std::uint32_t wall =
      PolyFlag::kSelectedColor | PolyFlag::kEachSideDifferent | PolyFlag::kBordered;
  AddFacingRect(t, 30, -10, 10, -15, 10, wall, c.red, c.blue);
  AddWalkPolygon(t, {{50, -10, 10}, {30, -10, 10}, {30, -10, -15}, {50, -10, -15}}, wall, c.red + 2,
                 c.blue + 2);
  AddWalkPolygon(t, {{30, 10, 10}, {50, 10, 10}, {50, 10, -15}, {30, 10, -15}}, wall, c.red + 2,
                 c.blue + 2);
  AddFacingRect(t, 50, 10, -10, -15, 10, wall, c.red + 4, c.blue + 4);  // facing away
  AddWalkPolygon(t, {{30, -10, -15}, {30, 10, -15}, {50, 10, -15}, {50, -10, -15}},
                 PolyFlag::kSelectedColor | PolyFlag::kCollision, c.green, c.green);
}

TEST(WalkGolden, EmptyObjectAndRoomHiddenFromOutsideAndInside) {
  WalkFixture f(320, 240);
  ASSERT_EQ(f.Build(), "");
  FrameMatches(f, "walk_empty");  // sky and floor
  AddRoom(f);
  f.display.hideEnvironment = true;
  ASSERT_EQ(f.Build(), "");
  FrameMatches(f, "walk_hide_environment");  // the room from the start, on black
  f.display.hideEnvironment = false;
  ASSERT_EQ(f.Build(), "");
  // From the front and to the right: two outer sides.
  f.w().viewer.x = 25;
  f.w().viewer.heading = 115;
  FrameMatches(f, "walk_room_outside");
  // Standing in the room, turned a little to the right: the inner sides,
  // the ground plan pushed behind them and seen between them.
  f.w().viewer.x = 0;
  f.w().viewer.y = 31;
  f.w().viewer.heading = 75;
  f.w().viewer.insideItem = 0;
  FrameMatches(f, "walk_room_inside");
}

// Standing in a view zone that lists the nearer yellow panel Low: the far
// white panel is painted over it, where distance alone would put it behind.
TEST(WalkGolden, ViewZonePriorityChangesTheOrder) {
  WalkFixture f(320, 240);
  const DrawingColors& c = f.m().colors.drawing;
  AddFacingRect(f.tables(), 40, -12, 12, -10, 8, PolyFlag::kSelectedColor | PolyFlag::kBordered,
                c.white);
  const std::uint32_t nearPanel = AddFacingRect(
      f.tables(), 20, -8, 2, -6, 2, PolyFlag::kSelectedColor | PolyFlag::kBordered, c.yellow);
  const std::uint32_t zone =
      AddWalkPolygon(f.tables(), {{-5, -5, -15}, {5, -5, -15}, {5, 5, -15}, {-5, 5, -15}},
                     PolyFlag::kViewZone | PolyFlag::kInvisible, c.green);
  ASSERT_EQ(f.Build(), "");
  f.StandInZone(static_cast<int>(zone), {ViewZone::kLowPriority | nearPanel});
  FrameMatches(f, "walk_zone_priority");
}

}  // namespace
}  // namespace ws
