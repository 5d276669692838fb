// The viewer's motion frame by frame, and the zone test that lets a step
// through or refuses it.
#include "walk/walk_motion.h"

#include <gtest/gtest.h>

#include <cmath>

#include "walk/walk_zone.h"

namespace ws::walk {
namespace {

int Allow(const WalkPose&) { return 0; }

// A viewer at rest on the ground at eye height `eye`.
WalkViewer Resting(double eye = 15.0) {
  WalkViewer v;
  v.z = v.ground = eye;
  return v;
}

// Held Up and Down push 15 / 120 = 0.125 a frame, damped by 0.9, so the
// step tends to 1.25; Left and Right turn towards 1/16 radian a frame, and
// the orientation turns with the heading so the walk stays in view.
TEST(WalkMotion, HeldKeysTendToTheirTopSpeedsAndTheViewTurnsWithTheWalk) {
  // clang-format off
  const struct { WalkKey key; double step, turn; } rows[] = {
      {WalkKey::kUp, 1.25, 0}, {WalkKey::kDown, -1.25, 0}, {WalkKey::kLeft, 0, 0.0625},
      {WalkKey::kRight, 0, -0.0625}};
  // clang-format on
  for (const auto& r : rows) {
    WalkViewer v = Resting(), before;
    SetWalkKey(v, r.key, true);
    StepMotion(v, Allow);
    EXPECT_EQ(v.y, r.step / 10) << r.step;  // the first frame's push, not yet damped
    for (int i = 0; i < 300; ++i) {
      before = v;
      StepMotion(v, Allow);
    }
    const double turned = std::remainder(v.heading - before.heading, 360.0);
    const double matrixTurn = std::atan2(v.m[1][0], v.m[0][0]) * kWalkDegreesPerRadian;
    EXPECT_NEAR(v.y - before.y, r.step, 1e-9) << r.turn;
    EXPECT_NEAR(turned / kWalkDegreesPerRadian, r.turn, 1e-9) << r.step;
    EXPECT_NEAR(std::remainder(matrixTurn + (v.heading - 90.0), 360.0), 0.0, 1e-6) << r.turn;
    EXPECT_EQ(std::tuple(v.z, v.vz), std::tuple(15.0, 0.0));
  }
}

TEST(WalkMotion, HeadingWrapsAt360BothWays) {
  const double deg = 1.0 / kWalkDegreesPerRadian;
  const double rows[][3] = {
      {359.5, deg, 0.5}, {0.5, -deg, 359.5}, {358.5, deg, 359.5}, {359.75, deg, 0.75}};
  for (const auto& [heading, omega, expected] : rows) {
    WalkViewer v = Resting();
    v.heading = heading;
    v.omega = omega;
    EXPECT_NEAR(TrialMove(v).heading, expected, 1e-9) << heading;
  }
}

// u / d: Page Up / Down pressed and held, + / -: a wheel notch, ' ' and
// 'a' typed, w: space and Page Up dropped by a wheel notch.
TEST(WalkMotion, HeightControlsStopAtTheirLimits) {
  // clang-format off
  const struct { const char* name; char act; double eye; int frames; double expected; } rows[] = {
      {"page up at 99", 'u', 99, 1, 100},        {"page up at 100", 'u', 100, 1, 100},
      {"page up held: one step", 'u', 50, 5, 51}, {"page down at 1", 'd', 1, 1, 1},
      {"page down at 2", 'd', 2, 1, 1},           {"page down held", 'd', 10, 4, 6},
      {"wheel up at 99", '+', 99, 1, 100},        {"wheel up at 100", '+', 100, 1, 100},
      {"wheel down at 2", '-', 2, 1, 1},          {"wheel down at 1", '-', 1, 1, 1},
      {"space from 60", ' ', 60, 1, 15},          {"another character", 'a', 60, 1, 60},
      {"wheel after space", 'w', 60, 1, 61}};
  // clang-format on
  for (const auto& r : rows) {
    WalkViewer v = Resting(r.eye);
    if (r.act == 'u' || r.act == 'w') SetWalkKey(v, WalkKey::kPageUp, true);
    if (r.act == 'd') SetWalkKey(v, WalkKey::kPageDown, true);
    if (r.act == ' ' || r.act == 'a' || r.act == 'w') TypeWalkChar(v, r.act == 'w' ? ' ' : r.act);
    if (r.act == '+' || r.act == '-' || r.act == 'w') WalkWheel(v, r.act == '-' ? -1 : 1);
    for (int i = 0; i < r.frames; ++i) StepMotion(v, Allow);
    EXPECT_EQ(std::tuple(v.z, v.ground), std::tuple(r.expected, r.expected)) << r.name;
  }
}

TEST(WalkMotion, RefusedMoveWalksBackAndTurnsTwice) {
  WalkViewer v = Resting();
  v.x = 3.0, v.y = 4.0, v.vy = 2.0, v.omega = 0.01;
  int tests = 0;
  StepMotion(v, [&](const WalkPose& trial) {
    EXPECT_EQ(trial.y, 4.0 + 2.0);  // no key held: no force
    return ++tests;
  });
  EXPECT_EQ(std::tuple(tests, v.x, v.vy), std::tuple(1, 3.0, -2.0));  // reversed, not damped
  EXPECT_NEAR(v.y, 4.0, 1e-12);
  EXPECT_NEAR(v.heading, 90.0 + 2 * 0.01 * kWalkDegreesPerRadian, 1e-9);
}

// A world of one item at the origin (radius 50, radius + 40 = 90, highest
// point 10), built in world units from squares of the given centre, half
// side and flags (0x40 Collision, 0x80 Entrance, 0x200 View Zone).
struct Square {
  double cx, cy, half;
  std::uint32_t flags;
};

RenderWorld& ZoneWorld(RenderWorld& w, const std::vector<Square>& squares) {
  w.built = true;
  w.universe.resize(64);
  w.items.resize(1);
  w.itemCount = w.objectCount = 1;
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
        {0, 25, 11, 10.5, 0, -1}}},  // ground above the top: may leave
      {"far from the item", {kRoom, kDoor}, 2,
       {{0, -18, 5, 5, 0, 0},
        {90, 0, 5, 5, 1, 0},         // exactly radius + 40: still the current item
        {91, 0, 5, 5, 0, -1}}}};     // beyond: no item, the inside-state clears
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
