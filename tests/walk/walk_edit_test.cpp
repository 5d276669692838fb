// Walk editing in each mode, applied to the render copy and the object
// alike and never recorded for undo; the view-zone listing texts; a walk
// session driven as the editor drives it.
#include "walk/walk_edit.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "editor/interaction/view_zone_dialog.h"
#include "editor/shell/key_handler.h"
#include "editor/view/text_labels.h"
#include "render_fixture.h"
#include "support/alloc_counter.h"
#include "support/model_fixture.h"
#include "walk/walk_session.h"

namespace ws::walk {
namespace {

// Three triangles in the object and their render copies, colours 10, 11,
// 12; polygon 0 is a view zone the viewer stands in.
class WalkEdit : public ::testing::Test {
 protected:
  void SetUp() override {
    ObjectTables& t = fx.tables();
    world.objects[0].polygons.resize(3);
    for (int k = 0; k < 3; ++k) {
      Polygon& p = t.polygons[t.polygonCount++] = Polygon{};
      p.pointCount = 3;
      for (int i = 0; i < 3; ++i) p.points[i] = t.AddPoint(k, i == 1, i == 2);
      p.frontColor = p.backColor = static_cast<std::uint8_t>(10 + k);
      p.flags = k == 0 ? 0x200 : 0x2;
      RenderPolygon& r = world.objects[0].polygons[k];
      r.pointCount = 3;
      std::copy_n(p.points, 3, r.points.begin());
      r.frontColor = r.backColor = p.frontColor;
    }
    world.built = true;
    world.viewer.zonePolygon = world.viewer.zoneItem = 0;
    undoDepth = fx.m().undo.depth();
  }
  void TearDown() override { EXPECT_EQ(fx.m().undo.depth(), undoDepth); }
  WalkEditResult Edit(int picked, int mode, bool left, bool right, int backFace = 0) {
    world.pick.polygon = picked;
    world.pick.backFace = backFace;
    return ApplyWalkEdit(world, fx.tables(), state, {mode, left, right, 42});
  }
  Polygon& Obj(int k) { return fx.tables().polygons[k]; }
  RenderPolygon& Copy(int k) { return world.objects[0].polygons[k]; }
  // The zone's list in the object, checked equal to the copy's.
  std::vector<std::uint32_t> Zones() {
    const std::vector<std::uint32_t> copy(Copy(0).viewZones.begin(),
                                          Copy(0).viewZones.begin() + Copy(0).viewZoneCount);
    EXPECT_EQ(copy, std::vector<std::uint32_t>(Obj(0).viewZones,
                                               Obj(0).viewZones + Obj(0).viewZoneCount));
    return copy;
  }

  test::ModelFixture fx;
  RenderWorld world;
  WalkEditState state;
  std::size_t undoDepth = 0;
};

TEST_F(WalkEdit, ColorPolygonSetsWithTheLeftButtonAndGetsWithTheRight) {
  WalkEditResult r = Edit(1, kWalkEditColour, true, false);
  EXPECT_EQ(std::tuple(r.objectChanged, r.grabbedColour.has_value(), r.playSound),
            std::tuple(true, false, false));
  EXPECT_EQ(std::tuple(Obj(1).frontColor, Obj(1).frontFill, Obj(1).backColor, Copy(1).frontColor,
                       Copy(1).frontFill, Copy(1).shade),
            std::tuple(42, 0x2A2A2A2Au, 11, 42, 0x2A2A2A2Au, 47));
  // The back face when the pick saw it; again on the same polygon (held).
  Edit(2, kWalkEditColour, true, false, 1);
  Edit(2, kWalkEditColour, true, false, 1);
  EXPECT_EQ(std::tuple(Obj(2).backColor, Obj(2).backFill, Obj(2).frontColor, Copy(2).backColor,
                       Copy(2).backFill),
            std::tuple(42, 0x2A2A2A2Au, 12, 42, 0x2A2A2A2Au));
  r = Edit(0, kWalkEditColour, false, true);
  EXPECT_EQ(std::tuple(r.grabbedColour, r.playSound, r.objectChanged), std::tuple(10, true, false));
  EXPECT_EQ(Edit(2, kWalkEditColour, false, true, 1).grabbedColour, 42);
  r = Edit(-1, kWalkEditColour, true, true);  // nothing picked: nothing happens
  EXPECT_FALSE(r.objectChanged || r.grabbedColour || r.playSound);
}

TEST_F(WalkEdit, FlipPolygonFaceFlipsEachPolygonOnceWhileHeld) {
  const std::vector<std::uint32_t> p1(Obj(1).points, Obj(1).points + 3),
      reversed(p1.rbegin(), p1.rend());
  // Picked, left button (else right), changed, polygon 1 flipped after: held
  // on 1, the right button (nothing), another polygon, back to 1.
  const int rows[][4] = {{1, 1, 1, 1}, {1, 1, 0, 1}, {1, 0, 0, 1}, {2, 1, 1, 1}, {1, 1, 1, 0}};
  for (const auto& [picked, left, changed, flipped] : rows) {
    EXPECT_EQ(Edit(picked, kWalkEditFlipFace, left, !left).objectChanged, changed != 0);
    EXPECT_EQ(std::vector<std::uint32_t>(Obj(1).points, Obj(1).points + 3),
              flipped ? reversed : p1);
    EXPECT_EQ(std::vector<std::uint32_t>(Copy(1).points.begin(), Copy(1).points.begin() + 3),
              flipped ? reversed : p1);
  }
}

TEST_F(WalkEdit, ViewZonePrioritiesGoIntoTheZoneTheViewerStandsIn) {
  // clang-format off
  const struct { int picked; bool left; std::vector<std::uint32_t> zones; } rows[] = {
      {1, true, {1}},                // High: appended plain
      {1, false, {1}},               // the last edited: skipped
      {2, false, {1, 0x4002}},       // Low: bit 14
      {1, false, {0x4001, 0x4002}},  // existing entry rewritten
      {2, true, {0x4001, 2}}};
  // clang-format on
  for (const auto& r : rows) {
    Edit(r.picked, kWalkEditViewZones, r.left, !r.left);
    EXPECT_EQ(Zones(), r.zones) << r.picked << r.left;
  }
  // A vector entry of the same number is another object: left as it is.
  Obj(0).viewZones[0] = Copy(0).viewZones[0] = 0x8001;
  Edit(1, kWalkEditViewZones, true, false);
  EXPECT_EQ(Zones(), (std::vector<std::uint32_t>{0x8001, 2, 1}));
  // A full list takes no more, but an existing entry is still rewritten.
  for (int k = 3; k < 20; ++k) Obj(0).viewZones[k] = Copy(0).viewZones[k] = 100 + k;
  Obj(0).viewZoneCount = Copy(0).viewZoneCount = 20;
  EXPECT_TRUE(Edit(2, kWalkEditViewZones, false, true).objectChanged);
  EXPECT_EQ(Zones()[1], 0x4002u);
  Obj(0).viewZones[1] = Copy(0).viewZones[1] = 7;
  EXPECT_FALSE(Edit(2, kWalkEditViewZones, true, false).objectChanged);  // last edited
  EXPECT_TRUE(Edit(1, kWalkEditViewZones, true, false).objectChanged);   // rewritten
  EXPECT_FALSE(Edit(2, kWalkEditViewZones, true, false).objectChanged);  // no room
  EXPECT_EQ(Zones().size(), 20u);
  // Clear View Zone List empties the zone's list in both; outside a zone
  // neither it nor the priorities do anything.
  EXPECT_TRUE(ClearWalkViewZoneList(world, fx.tables()));
  EXPECT_EQ(Zones().size(), 0u);
  Obj(0).viewZoneCount = 1;
  world.viewer.zonePolygon = world.viewer.zoneItem = -1;
  state.lastEdited = -1;
  EXPECT_FALSE(Edit(2, kWalkEditViewZones, true, false).objectChanged);
  EXPECT_FALSE(Edit(1, kWalkEditViewZones, false, true).objectChanged);
  EXPECT_FALSE(ClearWalkViewZoneList(world, fx.tables()));
  EXPECT_EQ(std::tuple(Obj(0).viewZoneCount, Copy(0).viewZoneCount, state.lastEdited),
            std::tuple(1u, 0u, -1));
}

// A view-zone list entry: kind and priority from bits 15 and 14, the index
// from bits 0-13.
TEST(ViewZoneListing, KindPriorityAndIndex) {
  const std::pair<std::uint32_t, const char*> rows[] = {
      {0x4005, "Poly Low - 5"}, {0x8005, "Vect Hgh - 5"},     {0xC005, "Vect Low - 5"},
      {0x0005, "Poly Hgh - 5"}, {0xFFFF, "Vect Low - 16383"}, {0x14005, "Poly Low - 5"}};
  for (const auto& [entry, text] : rows)
    EXPECT_EQ(ViewZoneEntryText(entry), text) << std::hex << entry;
}

// A session from start to end, with a wall 40 ahead under the pointer and
// a closed room (a Collision square on the ground 10 to 30 ahead). The
// arrows and Page Up / Down set and clear their flags, space is typed on
// key-down, other keys are not the walk view's, a wheel notch climbs. The
// left button colours the wall in the object, a right press grabs its
// colour once with sound 6, Vectors On rebuilds the draw list at once; held
// Up stops short of the room with sound 7, and no frame allocates.
TEST(WalkSession, TakesTheKeysEditsAndRefusesTheClosedRoom) {
  test::WalkFixture f(64, 48);
  const std::uint32_t k = test::AddFacingRect(f.tables(), 40, -20, 20, -10, 10, 0x2, 40);
  test::AddWalkPolygon(f.tables(), {{10, -10, -15}, {10, 10, -15}, {30, 10, -15}, {30, -10, -15}},
                       PolyFlag::kCollision | 0x2, 40);
  WalkSession s(f.m());
  std::vector<int> sounds;
  sounds.reserve(1000);
  s.playSound = [&sounds](int n) { sounds.push_back(n); };
  ASSERT_TRUE(s.Start(80, 60, f.display));
  EXPECT_TRUE(s.Resize(64, 48));
  EXPECT_EQ(std::tuple(s.active(), s.viewer().heading, s.world().screen.width, s.width()),
            std::tuple(true, 90.0, 64, 64));
  const WalkViewer& v = s.viewer();
  const std::pair<int, const bool*> rows[] = {
      {Key::kUp, &v.keyUp},       {Key::kDown, &v.keyDown},     {Key::kLeft, &v.keyLeft},
      {Key::kRight, &v.keyRight}, {Key::kPageUp, &v.keyPageUp}, {Key::kPageDown, &v.keyPageDown}};
  for (const auto& [key, flag] : rows) {
    EXPECT_TRUE(s.Key(key, true) && *flag) << key;
    EXPECT_TRUE(s.Key(key, false) && !*flag) << key;
  }
  EXPECT_TRUE(s.Key(Key::kSpace, false) && v.lastChar == 0);
  EXPECT_TRUE(s.Key(Key::kSpace, true) && v.lastChar == ' ');
  for (int other : {int{'A'}, Key::kEnter, Key::kDelete, Key::kF5})
    EXPECT_FALSE(s.Key(other, true)) << other;
  s.Wheel(1);
  EXPECT_EQ(std::tuple(v.z, v.lastChar), std::tuple(16.0, '\0'));

  auto frame = [&](std::uint8_t colour) {
    return s.Frame(f.surface.Target(), 32, 24, kWalkEditColour, colour);
  };
  EXPECT_FALSE(frame(7).objectChanged);  // no button
  s.SetLeftButton(true);
  EXPECT_TRUE(frame(7).objectChanged);
  EXPECT_EQ(f.tables().polygons[k].frontColor, 7);
  s.SetLeftButton(false);
  s.PressRightButton();
  EXPECT_EQ(frame(9).grabbedColour, 7);
  EXPECT_FALSE(frame(9).grabbedColour);
  WalkDisplay d = s.display();
  const std::uint32_t shown = s.world().items[0].drawCount;
  d.vectorsOn = !d.vectorsOn;
  s.SetDisplay(d);
  EXPECT_NE(s.world().items[0].drawCount, shown);

  s.Key(Key::kUp, true);
  s.SetLeftButton(true);
  const long before = test::AllocationCount();
  for (int i = 0; i < 200; ++i) {
    frame(7);
    ASSERT_LT(v.y, 10.0) << i;
  }
  EXPECT_EQ(test::AllocationCount(), before);
  ASSERT_GT(sounds.size(), 1u);
  std::vector<int> expected(sounds.size(), 7);
  expected[0] = 6;
  EXPECT_EQ(sounds, expected);
  s.End();
  EXPECT_FALSE(s.active() || s.Rebuild());  // nothing to rebuild once ended
}

}  // namespace
}  // namespace ws::walk
