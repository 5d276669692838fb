#include "walk/walk_zone.h"

#include <gtest/gtest.h>

namespace ws::walk {
namespace {

// A world of one item at the origin (radius 50, highest point 10), built by
// hand in world units from squares of the given centre, half side and flags
// (0x40 Collision, 0x80 Entrance, 0x200 View Zone).
struct Square {
  double cx, cy, half;
  std::uint32_t flags;
};

RenderWorld& ZoneWorld(RenderWorld& w, const std::vector<Square>& squares) {
  w.built = true;
  w.universe.resize(64);
  w.items.resize(1);
  w.itemCount = w.objectCount = 1;
  w.viewer.zonePolys.reserve(kMaxViewZones);
  w.viewer.zoneVectors.reserve(kMaxViewZones);
  RenderObject& o = w.objects[0];
  for (const Square& s : squares) {
    RenderPolygon poly;
    poly.flags = s.flags;
    for (const auto& [dx, dy] : {std::pair{-1, -1}, {1, -1}, {1, 1}, {-1, 1}}) {
      poly.points[poly.pointCount++] = w.universeCount;
      w.universe[w.universeCount++] = {s.cx + dx * s.half, s.cy + dy * s.half, 0.0};
    }
    const int k = static_cast<int>(o.polygons.size());
    o.polygons.push_back(poly);
    if (s.flags & 0x40) o.collisionPolygon = k, o.hasCollision = true;
    if (s.flags & 0x80) o.entrancePolygon = k, o.hasEntrance = true;
    if (s.flags & 0x200) o.viewZonePolygons[o.viewZonePolygonCount++] = k;
  }
  WalkItem& item = w.items[0];
  item.originPoint = w.universeCount;
  w.universe[w.universeCount++] = {0.0, 0.0, 0.0};
  item.radius = 50.0;
  item.radiusPlus40 = 90;
  item.highestZ = 10.0;
  item.zoneMode = o.ZoneMode();
  return w;
}

// The room: a Collision square of half side 20 at the origin; with a door,
// an Entrance square straddling its south wall.
constexpr Square kRoom{0, 0, 20, 0x40}, kDoor{0, -20, 5, 0x80};

// Each step: where the viewer tries to go, with its eye and ground level;
// the answer (1 refused, with sound 7) and the inside-state after it.
TEST(WalkZoneTest, EachItemModeLetsTheViewerInOrNot) {
  struct Step {
    double x, y, eye, ground;
    int answer, insideAfter;
  };
  // clang-format off
  const struct { const char* name; std::vector<Square> squares; int mode; std::vector<Step> steps; }
  rows[] = {
      {"no collision polygon", {{0, 0, 20, 0x200}}, 0,
       {{0, -60, 15, 15, 0, -1}, {0, -15, 5, 5, 0, -1}}},
      {"closed room", {kRoom}, 1,
       {{0, -25, 15, 15, 0, -1}, {0, -19, 15, 15, 1, -1},
        {0, -19, 50, 50, 1, -1},     // not even over the top
        {0, 19.5, 15, 15, 1, -1}}},
      {"room with a door", {kRoom, kDoor}, 2,
       {{10, -19, 5, 5, 1, -1},      // the wall beside the door
        {0, -22, 5, 5, 0, -1},       // in the doorway, still outside the room
        {0, -18, 5, 5, 0, 0},        // through the door: inside
        {0, 0, 5, 5, 0, 0},
        {0, 25, 10, 10, 1, 0},       // out over a wall: refused at ground <= 10
        {0, -22, 5, 5, 0, -1},       // out through the door
        {0, -30, 5, 5, 0, -1}}},
      {"climbing over the wall", {kRoom, kDoor}, 2,
       {{10, -19, 10.999, 5, 1, -1}, // eye below the top + 1
        {10, -19, 11, 5, 0, 0},      // exactly at it: over
        {0, 0, 11, 5, 0, 0},
        {0, 25, 11, 10.5, 0, -1}}}}; // ground above the top: may leave
  // clang-format on
  for (const auto& row : rows) {
    RenderWorld world;
    RenderWorld& w = ZoneWorld(world, row.squares);
    ASSERT_EQ(w.items[0].zoneMode, row.mode) << row.name;
    for (std::size_t i = 0; i < row.steps.size(); ++i) {
      const Step& s = row.steps[i];
      w.viewer.ground = s.ground;
      const ZoneTestResult r = ZoneTest(w, s.x, s.y, s.eye);
      EXPECT_EQ(std::make_tuple(r.answer, r.playRefusal, w.viewer.insideItem),
                std::make_tuple(s.answer, s.answer == 1, s.insideAfter))
          << row.name << " step " << i;
    }
  }
}

// Beyond radius + 40 the room is not the current item: the inside-state
// clears; exactly at radius + 40 it still counts.
TEST(WalkZoneTest, FarItemsAreNoCandidates) {
  RenderWorld world;
  RenderWorld& w = ZoneWorld(world, {kRoom});
  w.viewer.insideItem = 0;
  EXPECT_EQ(std::make_tuple(ZoneTest(w, 91, 0, 15).answer, w.viewer.insideItem),
            std::make_tuple(0, -1));
  w.viewer.insideItem = 0;
  w.items[0].radiusPlus40 = 91;
  w.items[0].zoneMode = 2;
  w.viewer.ground = 5;
  EXPECT_EQ(ZoneTest(w, 91, 0, 15).answer, 1);
}

// Entering a view zone rebuilds the lists from its entries, split by kind.
TEST(WalkZoneTest, EnteringAViewZoneSplitsItsListByKind) {
  RenderWorld world;
  RenderWorld& w = ZoneWorld(world, {{0, 0, 10, 0x200}, {30, 0, 10, 0x200}});
  RenderPolygon& zone = w.objects[0].polygons[1];
  for (std::uint32_t e : {5, 0x4007, 0x8003, 0xC004}) zone.viewZones[zone.viewZoneCount++] = e;
  using List = std::vector<std::uint32_t>;
  // clang-format off
  const struct { double x; int zone; bool changed; List polys, vectors; } rows[] = {
      {-50, -1, false, {}, {}}, {0, 0, true, {}, {}}, {30, 1, true, {5, 0x4007}, {3, 0x4004}},
      {31, 1, false, {5, 0x4007}, {3, 0x4004}}, {60, -1, true, {}, {}}};
  // clang-format on
  for (const auto& r : rows) {
    const ZoneTestResult t = ZoneTest(w, r.x, 0, 15);
    EXPECT_EQ(std::make_tuple(w.viewer.zonePolygon, w.viewer.zoneItem, t.zoneChanged,
                              w.viewer.zonePolys, w.viewer.zoneVectors),
              std::make_tuple(r.zone, r.zone < 0 ? -1 : 0, r.changed, r.polys, r.vectors))
        << r.x;
  }
}

}  // namespace
}  // namespace ws::walk
