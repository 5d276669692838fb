// The viewer's motion in walk mode: one step per frame from the held keys,
// the height controls (Page Up / Page Down, the wheel, space back to
// ground zero) and a small physical model (force over mass, gravity,
// damping) that makes walking and turning ease in and settle.
//
// One frame, in this order:
//  1. ApplyMotionInputs: the inputs are cleared and set again from the key
//     flags, the height controls act, forces change the velocities;
//  2. TrialMove: the position moved by the velocity, the heading and the
//     orientation turned by omega, the eye kept on the ground level;
//  3. the caller decides whether the trial position is allowed (the world
//     bound and the zone test, walk_zone.h);
//  4. TakeMove: an allowed move is taken and damped; a refused one is
//     reversed, which brings the viewer back where it was (heading turned
//     twice).
// StepMotion runs all four with the caller's zone test.
//
// Held Up tends to 1.25 units walked per frame (stored velocity 1.125),
// held Left to 0.0625 radians turned per frame. The walking direction is
// taken from the heading and the orientation matrix turns with it, so the
// view and the walk stay aligned.
#pragma once

#include "walk/render_world.h"

namespace ws::walk {

inline constexpr double kWalkStep = 15.0;      // forward speed input of a held arrow
inline constexpr double kWalkTurnStep = 0.75;  // turn input of a held arrow (3 x 0.25)
inline constexpr double kWalkMass = 120.0;
inline constexpr double kWalkGravity = -0.1;
inline constexpr double kWalkDamping = 0.9;
// The height controls move the eye only while it is above the lowest and
// below the highest height.
inline constexpr double kWalkLowestEye = 1.0;
inline constexpr double kWalkHighestEye = 100.0;
inline constexpr double kWalkGroundZero = kGroundZeroHeight;  // the space bar's eye height
inline constexpr double kWalkWorldBound = 100000.0;
inline constexpr double kWalkDegreesPerRadian = 57.29577951308232;

enum class WalkKey { kUp, kDown, kLeft, kRight, kPageUp, kPageDown };

// Key-down and key-up of a walk key. Page Up makes one step per key-down
// (the frame consumes it); every other flag stays set until its key-up.
void SetWalkKey(WalkViewer& viewer, WalkKey key, bool down);
// A character typed; a space returns the eye to ground zero next frame.
void TypeWalkChar(WalkViewer& viewer, char c);
// One notch of the mouse wheel (+1 up, -1 down); it also drops a pending
// space and Page Up.
void WalkWheel(WalkViewer& viewer, int notch);

// Where a trial move puts the viewer.
struct WalkPose {
  double x = 0.0, y = 0.0, z = 0.0;
  double vz = 0.0;
  double heading = 0.0;
  double m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
};

void ApplyMotionInputs(WalkViewer& viewer);
// The viewer's pose moved once by its velocity and omega.
WalkPose TrialMove(const WalkViewer& viewer);
bool InsideWorldBound(const WalkPose& pose);
void TakeMove(WalkViewer& viewer, const WalkPose& trial, bool allowed);

// One frame of motion; `zoneTest(trial)` answers 0 (allowed) or 1
// (refused) and runs only for a trial inside the world bound.
template <typename ZoneTest>
void StepMotion(WalkViewer& viewer, ZoneTest&& zoneTest) {
  ApplyMotionInputs(viewer);
  const WalkPose trial = TrialMove(viewer);
  TakeMove(viewer, trial, InsideWorldBound(trial) && zoneTest(trial) == 0);
}

}  // namespace ws::walk
