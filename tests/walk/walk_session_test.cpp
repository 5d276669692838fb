#include "walk/walk_session.h"

#include <gtest/gtest.h>

#include "editor/shell/key_handler.h"
#include "editor/view/text_labels.h"
#include "render_fixture.h"
#include "support/alloc_counter.h"

namespace ws::walk {
namespace {

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
