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

TEST(WalkMotion, HeldUpTendsToOneAndAQuarterUnitsPerFrameAlongTheHeading) {
  WalkViewer v = Resting();
  SetWalkKey(v, WalkKey::kUp, true);
  double lastY = v.y;
  double step = 0.0;
  for (int i = 0; i < 300; ++i) {
    StepMotion(v, Allow);
    step = v.y - lastY;
    lastY = v.y;
  }
  EXPECT_NEAR(step, 1.25, 1e-9);
  EXPECT_NEAR(v.vy, 1.125, 1e-9);
  EXPECT_NEAR(v.x, 0.0, 1e-6);  // heading 90: straight along +y
  // The first frame: 15 / 120 = 0.125 walked, then damped to 0.1125.
  WalkViewer first = Resting();
  SetWalkKey(first, WalkKey::kUp, true);
  StepMotion(first, Allow);
  EXPECT_NEAR(first.y, 0.125, 1e-12);
  EXPECT_NEAR(first.vy, 0.1125, 1e-12);
  // Down walks backwards the same way; the eye stays on the ground level.
  WalkViewer back = Resting();
  SetWalkKey(back, WalkKey::kDown, true);
  for (int i = 0; i < 300; ++i) StepMotion(back, Allow);
  EXPECT_NEAR(back.vy, -1.125, 1e-9);
  EXPECT_EQ(back.z, 15.0);
  EXPECT_EQ(back.vz, 0.0);
}

TEST(WalkMotion, HeldLeftTendsToOneSixteenthRadianPerFrameAndTheViewTurnsWithTheWalk) {
  for (const auto& [key, sign] : {std::pair{WalkKey::kLeft, 1.0}, {WalkKey::kRight, -1.0}}) {
    WalkViewer v = Resting();
    SetWalkKey(v, key, true);
    double turned = 0.0;
    for (int i = 0; i < 300; ++i) {
      const double before = v.heading;
      StepMotion(v, Allow);
      turned = std::remainder(v.heading - before, 360.0) / kWalkDegreesPerRadian;
    }
    EXPECT_NEAR(turned, sign * 0.0625, 1e-9) << sign;
    EXPECT_NEAR(v.omega, sign * 0.05625, 1e-9) << sign;
    // The orientation has turned by minus the heading's change since the
    // start (90 degrees), unwrapped, so the walking direction stays in view.
    const double matrixTurn = std::atan2(v.m[1][0], v.m[0][0]) * kWalkDegreesPerRadian;
    EXPECT_NEAR(std::remainder(matrixTurn + (v.heading - 90.0), 360.0), 0.0, 1e-6) << sign;
    EXPECT_NEAR(v.m[2][2], 1.0, 1e-12);
  }
}

TEST(WalkMotion, HeadingWrapsAt360BothWays) {
  const double oneDegree = 1.0 / kWalkDegreesPerRadian;
  const struct {
    double heading, omega, expected;
  } rows[] = {{359.5, oneDegree, 0.5}, {0.5, -oneDegree, 359.5}, {358.5, oneDegree, 359.5},
              {359.75, oneDegree, 0.75}};
  for (const auto& r : rows) {
    WalkViewer v = Resting();
    v.heading = r.heading;
    v.omega = r.omega;
    const WalkPose p = TrialMove(v);
    EXPECT_NEAR(p.heading, r.expected, 1e-9) << r.heading;
    EXPECT_GE(p.heading, 0.0);
    EXPECT_LT(p.heading, 360.0);
  }
}

TEST(WalkMotion, HeightControlsStopAtTheirLimits) {
  using Act = void (*)(WalkViewer&);
  const struct {
    const char* name;
    double eye;
    Act act;
    int frames;
    double expected;
  } rows[] = {
      {"page up at 99", 99.0, [](WalkViewer& v) { SetWalkKey(v, WalkKey::kPageUp, true); }, 1, 100.0},
      {"page up at 100", 100.0, [](WalkViewer& v) { SetWalkKey(v, WalkKey::kPageUp, true); }, 1, 100.0},
      // Held without a new key-down: one step only.
      {"page up held", 50.0, [](WalkViewer& v) { SetWalkKey(v, WalkKey::kPageUp, true); }, 5, 51.0},
      {"page down at 1", 1.0, [](WalkViewer& v) { SetWalkKey(v, WalkKey::kPageDown, true); }, 1, 1.0},
      {"page down at 2", 2.0, [](WalkViewer& v) { SetWalkKey(v, WalkKey::kPageDown, true); }, 1, 1.0},
      {"page down held", 10.0, [](WalkViewer& v) { SetWalkKey(v, WalkKey::kPageDown, true); }, 4, 6.0},
      {"page down held to the floor", 4.0,
       [](WalkViewer& v) { SetWalkKey(v, WalkKey::kPageDown, true); }, 9, 1.0},
      {"wheel up at 99", 99.0, [](WalkViewer& v) { WalkWheel(v, 1); }, 1, 100.0},
      {"wheel up at 100", 100.0, [](WalkViewer& v) { WalkWheel(v, 1); }, 1, 100.0},
      {"wheel down at 2", 2.0, [](WalkViewer& v) { WalkWheel(v, -1); }, 1, 1.0},
      {"wheel down at 1", 1.0, [](WalkViewer& v) { WalkWheel(v, -1); }, 1, 1.0},
      {"space from 60", 60.0, [](WalkViewer& v) { TypeWalkChar(v, ' '); }, 1, 15.0},
      {"space from 3", 3.0, [](WalkViewer& v) { TypeWalkChar(v, ' '); }, 1, 15.0},
      {"another character", 60.0, [](WalkViewer& v) { TypeWalkChar(v, 'a'); }, 1, 60.0},
      // The wheel drops a pending space and Page Up.
      {"wheel after space", 60.0,
       [](WalkViewer& v) {
         TypeWalkChar(v, ' ');
         SetWalkKey(v, WalkKey::kPageUp, true);
         WalkWheel(v, 1);
       },
       1, 61.0},
  };
  for (const auto& r : rows) {
    WalkViewer v = Resting(r.eye);
    r.act(v);
    for (int i = 0; i < r.frames; ++i) StepMotion(v, Allow);
    EXPECT_EQ(v.z, r.expected) << r.name;
    EXPECT_EQ(v.ground, r.expected) << r.name;
  }
}

TEST(WalkMotion, GravitySettlesTheEyeOnTheGroundLevel) {
  WalkViewer v = Resting(15.0);
  v.z = 20.0;  // above the ground: it falls, faster each frame
  StepMotion(v, Allow);
  EXPECT_NEAR(v.z, 19.9, 1e-12);
  EXPECT_NEAR(v.vz, -0.2, 1e-12);
  for (int i = 0; i < 100; ++i) StepMotion(v, Allow);
  EXPECT_EQ(v.z, 15.0);
  EXPECT_EQ(v.vz, 0.0);
}

TEST(WalkMotion, RefusedMoveWalksBackAndTurnsTwice) {
  WalkViewer v = Resting();
  v.x = 3.0;
  v.y = 4.0;
  v.vy = 2.0;
  v.omega = 0.01;
  int tests = 0;
  StepMotion(v, [&](const WalkPose& trial) {
    ++tests;
    EXPECT_EQ(trial.y, 4.0 + 2.0 + 0.0);  // no key held: no force
    return 1;
  });
  EXPECT_EQ(tests, 1);
  EXPECT_NEAR(v.y, 4.0, 1e-12);
  EXPECT_EQ(v.x, 3.0);
  EXPECT_EQ(v.vy, -2.0);  // reversed, not damped
  EXPECT_NEAR(v.heading, 90.0 + 2 * 0.01 * kWalkDegreesPerRadian, 1e-9);
}

TEST(WalkMotion, WorldBoundIsInclusiveAndSkipsTheZoneTest) {
  const struct {
    double x, y;
    bool inside;
  } rows[] = {{100000.0, 0.0, true},   {-100000.0, -100000.0, true}, {100000.5, 0.0, false},
              {0.0, -100000.5, false}, {0.0, 100000.5, false},      {-100000.5, 0.0, false}};
  for (const auto& r : rows) {
    WalkPose p;
    p.x = r.x;
    p.y = r.y;
    EXPECT_EQ(InsideWorldBound(p), r.inside) << r.x << "," << r.y;
  }
  WalkViewer v = Resting();
  v.y = 99999.5;
  v.vy = 1.0;
  bool tested = false;
  StepMotion(v, [&](const WalkPose&) {
    tested = true;
    return 0;
  });
  EXPECT_FALSE(tested);
  EXPECT_NEAR(v.y, 99999.5, 1e-9);
}

}  // namespace
}  // namespace ws::walk
