// The editor's view and plot state, declared in the model layer because undo
// snapshots carry part of it: a command that plots or turns the view must be
// undone together with its geometry. The editor owns the one instance of
// each and fills in the rest of its state beside these fields; undo saves
// and restores exactly the fields listed here.
#pragma once

#include <array>
#include <cstdint>

namespace ws {

using Matrix3 = std::array<std::array<double, 3>, 3>;

inline constexpr Matrix3 kIdentityMatrix3 = {{{1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}, {0.0, 0.0, 1.0}}};

// The grid step of "Set Units": its value after start-up and its range.
inline constexpr int kDefaultGridStep = 10;
inline constexpr int kMinGridStep = 1;
inline constexpr int kMaxGridStep = 50;

// View direction codes.
inline constexpr int kViewTop = 0;
inline constexpr int kViewLeft = 1;
inline constexpr int kViewBottom = 2;
inline constexpr int kViewRight = 3;
inline constexpr int kViewFront = 4;
inline constexpr int kViewBack = 5;

// Which turn matrix the projection applies.
inline constexpr int kTurnNone = 0;
inline constexpr int kTurnAboutX = 1;
inline constexpr int kTurnAboutY = 2;
inline constexpr int kTurnSpare = 3;

struct ViewState {
  int viewCode = kViewFront;
  Matrix3 orientation = kIdentityMatrix3;  // free orientation of drag rotation
  // Turn about x, turn about y, spare turn; `activeTurn` picks one (1-based).
  std::array<Matrix3, 3> turns = {kIdentityMatrix3, kIdentityMatrix3, kIdentityMatrix3};
  int activeTurn = kTurnNone;
};

// Plot steps: 0 EP1 X, 1 EP1 Y, 2 EP1 Z, 3 EP2 X, 4 EP2 Y, 5 EP2 Z.
inline constexpr int kPlotStepCount = 6;

struct PlotState {
  int step = 0;
  // EP1 has coordinates but no point yet; `ep1Point` is valid when clear.
  bool ep1Pending = true;
  double ep1X = 0.0;
  double ep1Y = 0.0;
  double ep1Z = 0.0;
  std::uint32_t ep1Point = 0;
  // View to turn to before setting X, Y, Z; a space means none.
  std::array<char, 3> viewMemory = {'F', ' ', 'R'};
};

}  // namespace ws
