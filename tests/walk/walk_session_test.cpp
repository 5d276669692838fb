#include "walk/walk_session.h"

#include <gtest/gtest.h>

#include "editor/shell/key_handler.h"
#include "editor/view/text_labels.h"
#include "render_fixture.h"
#include "support/alloc_counter.h"
#include "walk/render_world.h"

namespace ws::walk {
namespace {

using test::WalkFixture;

// A collision square on the ground from 10 to 30 ahead of the start and
// 10 to either side: a closed room (no entrance).
void AddClosedRoom(ObjectTables& t) {
  test::AddWalkPolygon(t, {{10, -10, -15}, {10, 10, -15}, {30, 10, -15}, {30, -10, -15}},
                       PolyFlag::kCollision | 0x2, 40);
}

TEST(WalkSession, StartsEndsAndRefusesADamagedObjectWithTheBuildsMessage) {
  WalkFixture f;
  AddClosedRoom(f.tables());
  WalkSession s(f.m());
  ASSERT_TRUE(s.Start(64, 48, f.display));
  EXPECT_TRUE(s.active());
  EXPECT_EQ(std::tuple(s.viewer().heading, s.viewer().x, s.viewer().y), std::tuple(90.0, 0.0, 0.0));
  EXPECT_TRUE(s.Resize(80, 60));
  EXPECT_EQ(std::tuple(s.world().screen.width, s.width()), std::tuple(80, 80));
  s.End();
  EXPECT_FALSE(s.active());
  EXPECT_FALSE(s.Rebuild());  // nothing to rebuild once ended

  f.tables().polygons[0].pointCount = MAX_POLY_POINTS + 1;
  f.ui.ClearMessages();
  EXPECT_FALSE(s.Start(64, 48, f.display));
  EXPECT_FALSE(s.active());
  ASSERT_EQ(f.ui.Messages().size(), 1u);
  EXPECT_EQ(f.ui.Messages()[0].text, kPolyPointsMessage);
}

TEST(WalkSession, KeysReachTheViewer) {
  WalkFixture f;
  WalkSession s(f.m());
  ASSERT_TRUE(s.Start(32, 24, f.display));
  const WalkViewer& v = s.viewer();
  const struct {
    int key;
    const bool* flag;
  } rows[] = {{Key::kUp, &v.keyUp},         {Key::kDown, &v.keyDown},
              {Key::kLeft, &v.keyLeft},     {Key::kRight, &v.keyRight},
              {Key::kPageUp, &v.keyPageUp}, {Key::kPageDown, &v.keyPageDown}};
  for (const auto& r : rows) {
    EXPECT_TRUE(s.Key(r.key, true)) << r.key;
    EXPECT_TRUE(*r.flag) << r.key;
    EXPECT_TRUE(s.Key(r.key, false)) << r.key;
    EXPECT_FALSE(*r.flag) << r.key;
  }
  EXPECT_TRUE(s.Key(Key::kSpace, false));
  EXPECT_EQ(v.lastChar, 0);
  EXPECT_TRUE(s.Key(Key::kSpace, true));
  EXPECT_EQ(v.lastChar, ' ');
  for (int other : {int{'A'}, Key::kEnter, Key::kDelete, Key::kF5}) {
    EXPECT_FALSE(s.Key(other, true)) << other;
  }
  s.Wheel(1);
  EXPECT_EQ(std::tuple(v.z, v.lastChar), std::tuple(16.0, '\0'));
}

TEST(WalkSession, WalkingIntoAClosedRoomIsRefusedWithSoundSevenAndAllocatesNothing) {
  WalkFixture f(64, 48);
  AddClosedRoom(f.tables());
  WalkSession s(f.m());
  std::vector<int> sounds;
  sounds.reserve(1000);
  s.playSound = [&sounds](int n) { sounds.push_back(n); };
  ASSERT_TRUE(s.Start(64, 48, f.display));
  s.Key(Key::kUp, true);
  s.SetLeftButton(true);  // Color Polygon on whatever is picked
  const long before = test::AllocationCount();
  for (int i = 0; i < 200; ++i) {
    s.Frame(f.surface.Target(), 32, 24, kWalkEditColour, 7);
    ASSERT_LT(s.viewer().y, 10.0) << i;
  }
  EXPECT_EQ(test::AllocationCount(), before);
  ASSERT_FALSE(sounds.empty());
  EXPECT_EQ(std::count(sounds.begin(), sounds.end(), 7), static_cast<long>(sounds.size()));
}

TEST(WalkSession, EditsThePolygonUnderThePointerInTheObject) {
  WalkFixture f(64, 48);
  const std::uint32_t k = test::AddFacingRect(f.tables(), 40, -20, 20, -10, 10, 0x2, 40);
  WalkSession s(f.m());
  std::vector<int> sounds;
  s.playSound = [&sounds](int n) { sounds.push_back(n); };
  ASSERT_TRUE(s.Start(64, 48, f.display));
  WalkFrameResult r = s.Frame(f.surface.Target(), 32, 24, kWalkEditColour, 7);
  EXPECT_FALSE(r.objectChanged);  // no button
  s.SetLeftButton(true);
  r = s.Frame(f.surface.Target(), 32, 24, kWalkEditColour, 7);
  EXPECT_TRUE(r.objectChanged);
  EXPECT_EQ(f.tables().polygons[k].frontColor, 7);
  s.SetLeftButton(false);
  s.PressRightButton();
  r = s.Frame(f.surface.Target(), 32, 24, kWalkEditColour, 9);
  EXPECT_EQ(r.grabbedColour, 7);
  EXPECT_EQ(sounds, std::vector<int>{6});
  // A right press acts once.
  EXPECT_FALSE(s.Frame(f.surface.Target(), 32, 24, kWalkEditColour, 9).grabbedColour);
  // Vectors On toggled: the draw list is built again at once.
  WalkDisplay d = s.display();
  const std::uint32_t shown = s.world().items[0].drawCount;
  d.vectorsOn = !d.vectorsOn;
  s.SetDisplay(d);
  EXPECT_NE(s.world().items[0].drawCount, shown);
}

}  // namespace
}  // namespace ws::walk
