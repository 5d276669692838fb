#include "walk/walk_zone.h"

#include <gtest/gtest.h>

#include "walk/walk_motion.h"

namespace ws::walk {
namespace {

// A world of one item at the origin, built by hand in world units: each
// polygon a square of the given centre and half side, its points at its
// corners. Flags 0x40 Collision, 0x80 Entrance, 0x200 View Zone.
class ZoneWorld {
 public:
  ZoneWorld() {
    w.built = true;
    w.universe.resize(64);
    w.items.resize(1);
    w.itemCount = 1;
    w.objectCount = 1;
    w.viewer.zonePolys.reserve(kMaxViewZones);
    w.viewer.zoneVectors.reserve(kMaxViewZones);
  }
  int Square(double cx, double cy, double half, std::uint32_t flags) {
    RenderObject& o = w.objects[0];
    RenderPolygon poly;
    poly.flags = flags;
    const double corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (const auto& c : corners) {
      poly.points[poly.pointCount++] = w.universeCount;
      w.universe[w.universeCount++] = {cx + c[0] * half, cy + c[1] * half, 0.0};
    }
    const int k = static_cast<int>(o.polygons.size());
    o.polygons.push_back(poly);
    if (flags & 0x40) {
      o.collisionPolygon = k;
      o.hasCollision = true;
    }
    if (flags & 0x80) {
      o.entrancePolygon = k;
      o.hasEntrance = true;
    }
    if (flags & 0x200) o.viewZonePolygons[o.viewZonePolygonCount++] = k;
    return k;
  }
  // Closes the item: origin at (0, 0), radius 50, highest point 10.
  RenderWorld& Finish() {
    WalkItem& item = w.items[0];
    item.originPoint = w.universeCount;
    w.universe[w.universeCount++] = {0.0, 0.0, 0.0};
    item.radius = 50.0;
    item.radiusPlus40 = 90;
    item.highestZ = 10.0;
    item.zoneMode = w.objects[0].ZoneMode();
    return w;
  }
  RenderWorld w;
};

// The room: a Collision square of half side 20 at the origin; with a door,
// an Entrance square straddling its south wall.
RenderWorld& Room(ZoneWorld& z, bool door) {
  z.Square(0, 0, 20, 0x40);
  if (door) z.Square(0, -20, 5, 0x80);
  return z.Finish();
}

struct Step {
  double x, y, eye, ground;
  int answer;
  int insideAfter;
};

void RunSteps(RenderWorld& w, const char* name, std::initializer_list<Step> steps) {
  int i = 0;
  for (const Step& s : steps) {
    w.viewer.ground = s.ground;
    const ZoneTestResult r = ZoneTest(w, s.x, s.y, s.eye);
    EXPECT_EQ(r.answer, s.answer) << name << " step " << i;
    EXPECT_EQ(r.playRefusal, s.answer == 1) << name << " step " << i;
    EXPECT_EQ(w.viewer.insideItem, s.insideAfter) << name << " step " << i;
    ++i;
  }
}

TEST(WalkZoneTest, EachItemModeLetsTheViewerInOrNot) {
  {
    ZoneWorld z;
    z.Square(0, 0, 20, 0x200);  // no Collision polygon: mode 0
    RenderWorld& w = z.Finish();
    ASSERT_EQ(w.items[0].zoneMode, 0);
    RunSteps(w, "mode 0", {{0, -60, 15, 15, 0, -1}, {0, -15, 5, 5, 0, -1}});
  }
  {
    ZoneWorld z;
    RenderWorld& w = Room(z, false);
    ASSERT_EQ(w.items[0].zoneMode, 1);
    RunSteps(w, "closed room",
             {{0, -25, 15, 15, 0, -1},
              {0, -19, 15, 15, 1, -1},
              // Not even over the top.
              {0, -19, 50, 50, 1, -1},
              {0, 19.5, 15, 15, 1, -1}});
  }
  {
    ZoneWorld z;
    RenderWorld& w = Room(z, true);
    ASSERT_EQ(w.items[0].zoneMode, 2);
    RunSteps(w, "room with a door",
             {{10, -19, 5, 5, 1, -1},  // the wall beside the door
              {0, -22, 5, 5, 0, -1},   // in the doorway, still outside the room
              {0, -18, 5, 5, 0, 0},    // through the door: inside
              {0, 0, 5, 5, 0, 0},
              {0, 25, 10, 10, 1, 0},   // out over a wall: refused at ground <= 10
              {0, -22, 5, 5, 0, -1},   // out through the door
              {0, -30, 5, 5, 0, -1}});
  }
  {
    ZoneWorld z;
    RenderWorld& w = Room(z, true);
    RunSteps(w, "climbing over the wall",
             {{10, -19, 10.999, 5, 1, -1},  // eye below the top + 1
              {10, -19, 11, 5, 0, 0},       // exactly at it: over
              {0, 0, 11, 5, 0, 0},
              {0, 25, 11, 10.5, 0, -1}});   // ground above the top: may leave
  }
}

TEST(WalkZoneTest, FarItemsAreNoCandidates) {
  ZoneWorld z;
  RenderWorld& w = Room(z, false);
  // Beyond radius + 40 the room is not the current item: inside-state clears.
  w.viewer.insideItem = 0;
  EXPECT_EQ(ZoneTest(w, 91, 0, 15).answer, 0);
  EXPECT_EQ(w.viewer.insideItem, -1);
  w.viewer.insideItem = 0;
  w.items[0].radiusPlus40 = 91;  // exactly at radius + 40 it still counts
  w.items[0].zoneMode = 2;
  w.viewer.ground = 5;
  EXPECT_EQ(ZoneTest(w, 91, 0, 15).answer, 1);
}

TEST(WalkZoneTest, EnteringAViewZoneSplitsItsListByKind) {
  ZoneWorld z;
  const int a = z.Square(0, 0, 10, 0x200);
  const int b = z.Square(30, 0, 10, 0x200);
  RenderWorld& w = z.Finish();
  RenderPolygon& zone = w.objects[0].polygons[b];
  const std::uint32_t entries[] = {5, 0x4007, 0x8003, 0xC004};
  for (std::uint32_t e : entries) zone.viewZones[zone.viewZoneCount++] = e;
  const struct {
    double x;
    int zone;
    bool changed;
    std::vector<std::uint32_t> polys, vectors;
  } rows[] = {{-50, -1, false, {}, {}},
              {0, a, true, {}, {}},
              {30, b, true, {5, 0x4007}, {3, 0x4004}},
              {31, b, false, {5, 0x4007}, {3, 0x4004}},
              {60, -1, true, {}, {}}};
  for (const auto& r : rows) {
    const ZoneTestResult t = ZoneTest(w, r.x, 0, 15);
    EXPECT_EQ(w.viewer.zonePolygon, r.zone) << r.x;
    EXPECT_EQ(w.viewer.zoneItem, r.zone < 0 ? -1 : 0) << r.x;
    EXPECT_EQ(t.zoneChanged, r.changed) << r.x;
    EXPECT_EQ(w.viewer.zonePolys, r.polys) << r.x;
    EXPECT_EQ(w.viewer.zoneVectors, r.vectors) << r.x;
  }
}

TEST(WalkZoneTest, WalkingIntoTheClosedRoomStopsAtItsWall) {
  ZoneWorld z;
  RenderWorld& w = Room(z, false);
  w.viewer.y = -40;
  w.viewer.z = w.viewer.ground = 15;
  SetWalkKey(w.viewer, WalkKey::kUp, true);
  int refusals = 0;
  for (int i = 0; i < 200; ++i) {
    StepMotion(w.viewer, [&](const WalkPose& p) {
      const int answer = ZoneTest(w, p.x, p.y, p.z).answer;
      refusals += answer;
      return answer;
    });
    EXPECT_LE(w.viewer.y, -20.0) << i;
  }
  EXPECT_GT(refusals, 0);
}

}  // namespace
}  // namespace ws::walk
