#include "walk/walk_motion.h"

#include <gtest/gtest.h>

#include <cmath>

namespace ws::walk {
namespace {

int Allow(const WalkPose&) { return 0; }

// A viewer at rest on the ground at eye height `eye`.
WalkViewer Resting(double eye = 15.0) {
  WalkViewer v;
  v.z = v.ground = eye;
  return v;
}

// Held, Up and Down walk 15 / 120 = 0.125 more each frame, damped by 0.9,
// so the step tends to 1.25 along the heading; Left and Right turn the
// same way towards 1/16 radian a frame, and the view turns with the walk.
TEST(WalkMotion, HeldKeysTendToTheirTopSpeedsAndTheViewTurnsWithTheWalk) {
  const struct { WalkKey key; double step, turn; } rows[] = {
      {WalkKey::kUp, 1.25, 0}, {WalkKey::kDown, -1.25, 0}, {WalkKey::kLeft, 0, 0.0625},
      {WalkKey::kRight, 0, -0.0625}};
  for (const auto& r : rows) {
    WalkViewer v = Resting();
    SetWalkKey(v, r.key, true);
    StepMotion(v, Allow);
    EXPECT_EQ(v.y, r.step / 10) << r.step;  // the first frame's push, not yet damped
    double step = 0.0, turned = 0.0;
    for (int i = 0; i < 300; ++i) {
      const WalkViewer before = v;
      StepMotion(v, Allow);
      step = v.y - before.y;
      turned = std::remainder(v.heading - before.heading, 360.0) / kWalkDegreesPerRadian;
    }
    EXPECT_NEAR(step, r.step, 1e-9) << r.turn;
    EXPECT_NEAR(turned, r.turn, 1e-9) << r.step;
    EXPECT_NEAR(v.x, 0.0, 1e-6) << r.turn;  // Up and Down keep to the heading, 90: along +y
    EXPECT_EQ(std::tuple(v.z, v.vz), std::tuple(15.0, 0.0));
    // The orientation has turned by minus the heading's change since the
    // start (90 degrees), so the walking direction stays in view.
    const double matrixTurn = std::atan2(v.m[1][0], v.m[0][0]) * kWalkDegreesPerRadian;
    EXPECT_NEAR(std::remainder(matrixTurn + (v.heading - 90.0), 360.0), 0.0, 1e-6) << r.turn;
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
    if (r.act == 'u' || r.act == 'd')
      SetWalkKey(v, r.act == 'u' ? WalkKey::kPageUp : WalkKey::kPageDown, true);
    if (r.act == ' ' || r.act == 'a') TypeWalkChar(v, r.act);
    if (r.act == '+' || r.act == '-') WalkWheel(v, r.act == '+' ? 1 : -1);
    if (r.act == 'w') {
      TypeWalkChar(v, ' ');
      SetWalkKey(v, WalkKey::kPageUp, true);
      WalkWheel(v, 1);
    }
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

}  // namespace
}  // namespace ws::walk
