#include "walk/walk_edit.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "editor/view/text_labels.h"
#include "support/model_fixture.h"

namespace ws::walk {
namespace {

// Three triangles in the object and their render copies; polygon 0 is a
// view zone the viewer stands in.
class WalkEdit : public ::testing::Test {
 protected:
  void SetUp() override {
    ObjectTables& t = fx.tables();
    for (int k = 0; k < 3; ++k) {
      const std::uint32_t a = t.AddPoint(k, 0, 0), b = t.AddPoint(k, 1, 0), c = t.AddPoint(k, 0, 1);
      Polygon& p = t.polygons[t.polygonCount++];
      p = Polygon{};
      p.pointCount = 3;
      p.points[0] = a;
      p.points[1] = b;
      p.points[2] = c;
      p.frontColor = p.backColor = static_cast<std::uint8_t>(10 + k);
      p.flags = k == 0 ? 0x200 : 0x2;
    }
    world.objects[0].polygons.resize(3);
    for (int k = 0; k < 3; ++k) {
      RenderPolygon& r = world.objects[0].polygons[k];
      r.pointCount = 3;
      std::copy_n(t.polygons[k].points, 3, r.points.begin());
      r.frontColor = r.backColor = t.polygons[k].frontColor;
    }
    world.built = true;
    world.viewer.zonePolygon = 0;
    world.viewer.zoneItem = 0;
  }
  WalkEditResult Edit(int picked, int mode, bool left, bool right, int backFace = 0) {
    world.pick.polygon = picked;
    world.pick.backFace = backFace;
    return ApplyWalkEdit(world, fx.tables(), state, {mode, left, right, 42});
  }
  const Polygon& Obj(int k) { return fx.tables().polygons[k]; }
  const RenderPolygon& Copy(int k) { return world.objects[0].polygons[k]; }
  std::vector<std::uint32_t> ObjZones() {
    return {Obj(0).viewZones, Obj(0).viewZones + Obj(0).viewZoneCount};
  }
  std::vector<std::uint32_t> CopyZones() {
    return {Copy(0).viewZones.begin(), Copy(0).viewZones.begin() + Copy(0).viewZoneCount};
  }

  test::ModelFixture fx;
  RenderWorld world;
  WalkEditState state;
};

TEST_F(WalkEdit, ColorPolygonSetsWithTheLeftButtonAndGetsWithTheRight) {
  const std::size_t undoDepth = fx.m().undo.depth();
  WalkEditResult r = Edit(1, kWalkEditColour, true, false);
  EXPECT_TRUE(r.objectChanged);
  EXPECT_FALSE(r.grabbedColour || r.playSound);
  EXPECT_EQ(std::tuple(Obj(1).frontColor, Obj(1).frontFill, Obj(1).backColor),
            std::tuple(42, 0x2A2A2A2Au, 11));
  EXPECT_EQ(std::tuple(Copy(1).frontColor, Copy(1).frontFill, Copy(1).shade),
            std::tuple(42, 0x2A2A2A2Au, 47));
  // The back face when the pick saw it; again on the same polygon (held).
  Edit(2, kWalkEditColour, true, false, 1);
  Edit(2, kWalkEditColour, true, false, 1);
  EXPECT_EQ(std::tuple(Obj(2).backColor, Obj(2).backFill, Obj(2).frontColor), std::tuple(42, 0x2A2A2A2Au, 12));
  EXPECT_EQ(std::tuple(Copy(2).backColor, Copy(2).backFill), std::tuple(42, 0x2A2A2A2Au));
  r = Edit(0, kWalkEditColour, false, true);
  EXPECT_EQ(r.grabbedColour, 10);
  EXPECT_TRUE(r.playSound);
  EXPECT_FALSE(r.objectChanged);
  EXPECT_EQ(Edit(2, kWalkEditColour, false, true, 1).grabbedColour, 42);
  // Nothing picked: nothing happens.
  r = Edit(-1, kWalkEditColour, true, true);
  EXPECT_FALSE(r.objectChanged || r.grabbedColour || r.playSound);
  EXPECT_EQ(fx.m().undo.depth(), undoDepth);
}

TEST_F(WalkEdit, FlipPolygonFaceFlipsEachPolygonOnceWhileHeld) {
  const std::uint32_t p1[3] = {Obj(1).points[0], Obj(1).points[1], Obj(1).points[2]};
  const std::size_t undoDepth = fx.m().undo.depth();
  EXPECT_TRUE(Edit(1, kWalkEditFlipFace, true, false).objectChanged);
  EXPECT_FALSE(Edit(1, kWalkEditFlipFace, true, false).objectChanged);
  EXPECT_FALSE(Edit(1, kWalkEditFlipFace, false, true).objectChanged);  // right: nothing
  const std::vector<std::uint32_t> reversed = {p1[2], p1[1], p1[0]};
  EXPECT_EQ(std::vector<std::uint32_t>(Obj(1).points, Obj(1).points + 3), reversed);
  EXPECT_EQ(std::vector<std::uint32_t>(Copy(1).points.begin(), Copy(1).points.begin() + 3), reversed);
  // Another polygon, then back to the first: flipped again.
  EXPECT_TRUE(Edit(2, kWalkEditFlipFace, true, false).objectChanged);
  EXPECT_TRUE(Edit(1, kWalkEditFlipFace, true, false).objectChanged);
  EXPECT_EQ(std::vector<std::uint32_t>(Obj(1).points, Obj(1).points + 3),
            std::vector<std::uint32_t>(p1, p1 + 3));
  EXPECT_EQ(fx.m().undo.depth(), undoDepth);
}

TEST_F(WalkEdit, ViewZonePrioritiesGoIntoTheZoneTheViewerStandsIn) {
  const std::size_t undoDepth = fx.m().undo.depth();
  const struct {
    int picked;
    bool left, right;
    std::vector<std::uint32_t> zones;
  } rows[] = {{1, true, false, {1}},                // High: appended plain
              {1, false, true, {1}},                // the last edited: skipped
              {2, false, true, {1, 0x4002}},        // Low: bit 14
              {1, false, true, {0x4001, 0x4002}},   // existing entry rewritten
              {2, true, false, {0x4001, 2}}};
  for (const auto& r : rows) {
    Edit(r.picked, kWalkEditViewZones, r.left, r.right);
    EXPECT_EQ(ObjZones(), r.zones) << r.picked << r.left;
    EXPECT_EQ(CopyZones(), r.zones) << r.picked << r.left;
  }
  // A vector entry of the same number is another object: left as it is.
  fx.tables().polygons[0].viewZones[0] = 0x8001;
  world.objects[0].polygons[0].viewZones[0] = 0x8001;
  Edit(1, kWalkEditViewZones, true, false);
  EXPECT_EQ(ObjZones(), (std::vector<std::uint32_t>{0x8001, 2, 1}));
  // A full list takes no more.
  for (int k = 3; k < 20; ++k) {
    fx.tables().polygons[0].viewZones[k] = world.objects[0].polygons[0].viewZones[k] = 100 + k;
  }
  fx.tables().polygons[0].viewZoneCount = world.objects[0].polygons[0].viewZoneCount = 20;
  Edit(2, kWalkEditViewZones, false, true);  // rewrites the existing entry for 2
  EXPECT_EQ(ObjZones()[1], 0x4002u);
  fx.tables().polygons[0].viewZones[1] = world.objects[0].polygons[0].viewZones[1] = 7;
  EXPECT_FALSE(Edit(2, kWalkEditViewZones, true, false).objectChanged);  // last edited
  EXPECT_TRUE(Edit(1, kWalkEditViewZones, true, false).objectChanged);   // rewritten
  EXPECT_FALSE(Edit(2, kWalkEditViewZones, true, false).objectChanged);  // no room
  EXPECT_EQ(Obj(0).viewZoneCount, 20u);
  EXPECT_EQ(fx.m().undo.depth(), undoDepth);

  // Clear View Zone List empties the zone's list in both.
  EXPECT_TRUE(ClearWalkViewZoneList(world, fx.tables()));
  EXPECT_EQ(std::tuple(Obj(0).viewZoneCount, Copy(0).viewZoneCount), std::tuple(0u, 0u));
}

TEST_F(WalkEdit, OutsideAViewZoneSetViewZonePrioritiesDoesNothing) {
  world.viewer.zonePolygon = -1;
  world.viewer.zoneItem = -1;
  for (const auto& [left, right] : {std::pair{true, false}, {false, true}}) {
    EXPECT_FALSE(Edit(1, kWalkEditViewZones, left, right).objectChanged);
  }
  EXPECT_EQ(std::tuple(Obj(0).viewZoneCount, Copy(0).viewZoneCount), std::tuple(0u, 0u));
  EXPECT_EQ(state.lastEdited, -1);
  fx.tables().polygons[0].viewZoneCount = 1;
  EXPECT_FALSE(ClearWalkViewZoneList(world, fx.tables()));
  EXPECT_EQ(Obj(0).viewZoneCount, 1u);
}

TEST(FlipFaceWalk, ReversesThePointListOnly) {
  RenderPolygon p;
  p.pointCount = 4;
  p.points = {};
  for (std::uint32_t i = 0; i < 5; ++i) p.points[i] = 10 + i;
  p.vectorCount = 2;
  p.vectors[0] = 7;
  FlipFaceWalk(p);
  EXPECT_EQ(std::vector<std::uint32_t>(p.points.begin(), p.points.begin() + 5),
            (std::vector<std::uint32_t>{13, 12, 11, 10, 14}));
  EXPECT_EQ(p.vectors[0], 7u);
}

}  // namespace
}  // namespace ws::walk
