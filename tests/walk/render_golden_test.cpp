// Walk frames compared with reference pictures tests/golden/walk_*.png
// (support/golden_image.h), drawn with the generated Preferences file.
// Every reference was looked at before it was committed.
#include <gtest/gtest.h>

#include "render_fixture.h"
#include "support/golden_image.h"

namespace ws {
namespace {

using test::AddFacingRect;
using test::AddWalkPolygon;
using test::WalkFixture;

void ExpectGolden(WalkFixture& f, const std::string& name) {
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
  AddWalkPolygon(t, {{50, 10, 10}, {50, -10, 10}, {50, -10, -15}, {50, 10, -15}}, wall, c.red + 4,
                 c.blue + 4);
  AddWalkPolygon(t, {{30, -10, -15}, {30, 10, -15}, {50, 10, -15}, {50, -10, -15}},
                 PolyFlag::kSelectedColor | PolyFlag::kCollision, c.green, c.green);
}

TEST(WalkGolden, EmptyObjectAndRoomHiddenFromOutsideAndInside) {
  WalkFixture f(320, 240);
  ASSERT_EQ(f.Build(), "");
  f.Frame();
  ExpectGolden(f, "walk_empty");  // sky and floor
  AddRoom(f);
  f.display.hideEnvironment = true;
  ASSERT_EQ(f.Build(), "");
  f.Frame();
  ExpectGolden(f, "walk_hide_environment");  // the room from the start, on black
  f.display.hideEnvironment = false;
  ASSERT_EQ(f.Build(), "");
  // From the front and to the right: two outer sides.
  f.w().viewer.x = 25;
  f.w().viewer.heading = 115;
  f.Frame();
  ExpectGolden(f, "walk_room_outside");
  // Standing in the room, turned a little to the right: the inner sides,
  // the ground plan pushed behind them and seen between them.
  f.w().viewer.x = 0;
  f.w().viewer.y = 31;
  f.w().viewer.heading = 75;
  f.w().viewer.insideItem = 0;
  f.Frame();
  ExpectGolden(f, "walk_room_inside");
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
  f.Frame();
  ExpectGolden(f, "walk_zone_priority");
}

}  // namespace
}  // namespace ws
