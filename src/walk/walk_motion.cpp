#include "walk/walk_motion.h"

#include <algorithm>
#include <cmath>

namespace ws::walk {
namespace {

void SetPose(WalkViewer& v, const WalkPose& p) {
  v.x = p.x;
  v.y = p.y;
  v.z = p.z;
  v.vz = p.vz;
  v.heading = p.heading;
  std::copy(&p.m[0][0], &p.m[0][0] + 9, &v.m[0][0]);
}

void RaiseEye(WalkViewer& v, double by) {
  v.z += by;
  v.ground += by;
}

}  // namespace

void SetWalkKey(WalkViewer& v, WalkKey key, bool down) {
  switch (key) {
    case WalkKey::kUp:
      v.keyUp = down;
      break;
    case WalkKey::kDown:
      v.keyDown = down;
      break;
    case WalkKey::kLeft:
      v.keyLeft = down;
      break;
    case WalkKey::kRight:
      v.keyRight = down;
      break;
    case WalkKey::kPageUp:
      v.keyPageUp = down;
      break;
    case WalkKey::kPageDown:
      v.keyPageDown = down;
      break;
  }
}

void TypeWalkChar(WalkViewer& v, char c) { v.lastChar = c; }

void WalkWheel(WalkViewer& v, int notch) {
  if (notch > 0 && v.z < kWalkHighestEye) RaiseEye(v, 1.0);
  if (notch < 0 && v.z > kWalkLowestEye) RaiseEye(v, -1.0);
  v.lastChar = 0;
  v.keyPageUp = false;
}

void ApplyMotionInputs(WalkViewer& v) {
  v.forward = 0.0;
  v.turn = 0.0;
  if (v.lastChar == ' ') {
    v.z = kWalkGroundZero;
    v.ground = kWalkGroundZero;
    v.lastChar = 0;
  }
  if (v.keyPageUp) {
    if (v.z < kWalkHighestEye) RaiseEye(v, 1.0);
    v.keyPageUp = false;
  }
  // Page Down stays set while held: the viewer sinks one step per frame.
  if (v.keyPageDown && v.z > kWalkLowestEye) RaiseEye(v, -1.0);
  if (v.keyUp) v.forward = kWalkStep;
  if (v.keyDown) v.forward = -kWalkStep;
  v.forward = std::clamp(v.forward, -kWalkStep, kWalkStep);
  if (v.keyRight) v.turn -= kWalkTurnStep;
  if (v.keyLeft) v.turn += kWalkTurnStep;

  const double h = v.heading * kDegreesToRadians;
  v.vx += std::cos(h) * v.forward / kWalkMass;
  v.vy += std::sin(h) * v.forward / kWalkMass;
  v.vz += kWalkMass * kWalkGravity / kWalkMass;
  v.omega += v.turn / kWalkMass;
}

WalkPose TrialMove(const WalkViewer& v) {
  WalkPose p;
  p.x = v.x + v.vx;
  p.y = v.y + v.vy;
  p.z = v.z + v.vz;
  p.vz = v.vz;
  p.heading = v.heading + v.omega * kWalkDegreesPerRadian;
  if (p.heading >= 360.0) p.heading -= 360.0;
  if (p.heading < 0.0) p.heading += 360.0;
  // The orientation turns by -omega about the height axis, unwrapped.
  const double c = std::cos(-v.omega), s = std::sin(-v.omega);
  for (int col = 0; col < 3; ++col) {
    const double a = v.m[0][col], b = v.m[1][col];
    p.m[0][col] = c * a - s * b;
    p.m[1][col] = s * a + c * b;
    p.m[2][col] = v.m[2][col];
  }
  if (p.z >= v.ground) {
    p.vz += kWalkGravity;
  } else {
    p.z = v.ground;
    p.vz = 0.0;
  }
  return p;
}

bool InsideWorldBound(const WalkPose& p) {
  return p.x >= -kWalkWorldBound && p.x <= kWalkWorldBound && p.y >= -kWalkWorldBound &&
         p.y <= kWalkWorldBound;
}

void TakeMove(WalkViewer& v, const WalkPose& trial, bool allowed) {
  SetPose(v, trial);
  if (allowed) {
    v.vx *= kWalkDamping;
    v.vy *= kWalkDamping;
    v.omega *= kWalkDamping;
    return;
  }
  // Refused: the velocity reversed and the move made once more from the
  // trial position, which walks the viewer back.
  v.vx = -v.vx;
  v.vy = -v.vy;
  v.vz = -v.vz;
  SetPose(v, TrialMove(v));
}

}  // namespace ws::walk
