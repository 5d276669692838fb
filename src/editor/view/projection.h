// Projection of the editing views: the orientation and turn matrices, the
// turns between the six axis views, the free-rotation maths, and the
// projection of points from world to eye space to the screen.
//
// Projection of a world point (x, y, z), k the scale, g the grid step:
//   p = k * (x, y, z); p = T * p with the active turn matrix (if any);
//   e = B * p with the orientation matrix;
//   d = e.z - 300 with perspective, else e.z - 2000 (the eye depth);
//   ex = e.x + panX * k * g;  ey = -e.y - panY * k * g;
//   perspective: X' = -(ex / d) * f, Y' = -(ey / d) * f; else X' = ex, Y' = ey;
//   screen X = round(X') + cx, Y = round(Y') + cy, depth key Z = round(d + 31000)
// (rounding to nearest, halves away from zero). The viewer looks along -z
// of eye space; screen Y grows downward; a larger Z is nearer.
//
// The eye sits at d = 0. Nothing at or behind the near plane d = -1 is ever
// divided: polygons and segments are clipped in eye space against it first
// (ClipPolygonToNearPlane, ClipSegmentToNearPlane) and only what is left is
// projected. A point record is still given screen values when it lies
// beyond that plane (as if it lay on the plane); drawing and hit testing do
// not use those, they clip instead. Screen values are clamped to +-1e9 so
// that any coordinate, however far, stays a valid 32-bit pixel position.
//
// Matrices compose as new = R * old. A turn about y by angle a replaces
// rows r0, r2 by cos a * r0 - sin a * r2 and sin a * r0 + cos a * r2; a turn
// about x replaces r1, r2 by cos a * r1 + sin a * r2 and cos a * r2 - sin a * r1.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "editor/view/layout.h"
#include "editor/view/view_state.h"
#include "model/object_tables.h"
#include "model/view_plot_state.h"
#include "raster/surface8.h"

namespace ws {

struct Vec3d {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

Matrix3 Multiply(const Matrix3& a, const Matrix3& b);
Vec3d Apply(const Matrix3& m, const Vec3d& v);
// In-place turns of `m` (new = R * m).
void TurnAboutX(Matrix3& m, double angle);
void TurnAboutY(Matrix3& m, double angle);

// ---- Turning between the six views ----

// One view turn is 45 steps of 2 degrees.
inline constexpr int kTurnStepCount = 45;
inline constexpr double kTurnStepRadians = 0.03490658503988659;

// View code of a view letter (F front, E back, L left, R right, T top,
// B bottom; either case); none for any other character.
std::optional<int> ViewCodeForLetter(char letter);

// A 90-degree turn: about x (active turn 1) or y (active turn 2), by +90 or
// -90 degrees.
struct QuarterTurn {
  int activeTurn = kTurnAboutY;
  int sign = 1;
  bool operator==(const QuarterTurn&) const = default;
};

struct TurnPlan {
  std::array<QuarterTurn, 4> turns{};
  int count = 0;
};

// The quarter turns from one view to another: one or two within a family
// (Front, Back, Left, Right turn about y; Front, Top, Bottom about x; a half
// turn is two +90 turns), and between the Top/Bottom family and the
// Left/Right/Back family first back to Front, then on to the target. Empty
// for the same view or a code outside 0..5.
TurnPlan PlanViewTurn(int fromView, int toView);

// Called after each 2-degree step of an animated turn (the editor yields
// the processor and shows a frame there).
class TurnAnimation {
 public:
  virtual void TurnStep() = 0;

 protected:
  ~TurnAnimation() = default;
};

// Turns the view to `toView`: for each quarter turn the active turn is set
// and its matrix is turned 45 times by 2 degrees, `animation` (when not
// null: Instant View Change off) running after each step; the view code is
// set once every turn is done. False (nothing changed) when the view is
// already `toView` or the code is not a view.
bool TurnToView(ViewState& view, int toView, TurnAnimation* animation);

// ---- Free rotation ----

// A cursor position (EditArea-local) on the unit sphere of the free
// rotation: u = (x - cx) / areaWidth, v = (cy - y) / areaWidth, where
// areaWidth is the EditArea width less one (right - left); outside the unit
// circle (u, v, 0) normalised, inside (u, v, sqrt(1 - u^2 - v^2)).
Vec3d SpherePoint(double x, double y, int cx, int cy, int areaWidth);

// The rotation taking sphere point p to sphere point q: about the axis
// p x q (normalised) by the angle with sin = |p x q|, cos = p . q. Identity
// when the axis vanishes (the same point, or opposite points, where no
// axis is defined and a rotation of -1 would mirror the object).
Matrix3 FreeRotationMatrix(const Vec3d& p, const Vec3d& q);

// Start of a free-rotation drag: the three turn matrices become identity.
void BeginFreeRotation(ViewState& view);
// One drag step from cursor `from` to cursor `to` (EditArea-local):
// orientation = R * orientation.
void FreeRotationStep(ViewState& view, double fromX, double fromY, double toX, double toY, int cx,
                      int cy, int areaWidth);

// ---- Projection ----

inline constexpr double kPerspectiveEyeOffset = 300.0;
inline constexpr double kOrthographicEyeOffset = 2000.0;
inline constexpr double kDepthKeyOffset = 31000.0;
inline constexpr double kNearPlaneDepth = -1.0;
inline constexpr double kScreenLimit = 1.0e9;

// A point in eye space: depth d and the panned eye x and y.
struct EyePoint {
  double d = 0.0;
  double ex = 0.0;
  double ey = 0.0;
};

// The projection of one frame, set up from the view state.
class Projector {
 public:
  // `rotated` false projects without the turn and orientation matrices (the
  // quick-command labels, which always face the screen).
  Projector(const ViewState& view, const EditorViewState& extra, const EditAreaLayout& layout,
            bool perspective, bool rotated = true);

  bool perspective() const { return perspective_; }
  double scale() const { return k_; }
  EyePoint Eye(double x, double y, double z) const;
  // True when the point may be divided: always without perspective, else
  // when it lies at or beyond the near plane (d <= -1).
  bool Divisible(const EyePoint& e) const { return !perspective_ || e.d <= kNearPlaneDepth; }
  ScreenPoint Screen(const EyePoint& e) const;
  std::int32_t DepthKey(const EyePoint& e) const;
  // Fills the six projection fields of a point record.
  void Project(Point& p) const;

 private:
  Matrix3 turn_;
  Matrix3 orientation_;
  bool applyTurn_ = false;
  bool rotated_ = true;
  bool perspective_ = false;
  double k_ = 1.0;
  double panX_ = 0.0;  // panX * k * g
  double panY_ = 0.0;
  double eyeOffset_ = kOrthographicEyeOffset;
  double f_ = 0.0;
  int cx_ = 0;
  int cy_ = 0;
};

// Projects every point of the object, the reserved ones included.
void ProjectAllPoints(ObjectTables& tables, const Projector& projector);

// Largest outline ClipPolygonToNearPlane can return for `n` points.
constexpr std::size_t ClippedCapacity(std::size_t n) { return 2 * n; }

// Clips a closed eye-space outline to the near plane (keeps d <= -1).
// `out` must hold ClippedCapacity(in.size()) points; returns the number
// written, 0 when nothing is left.
std::size_t ClipPolygonToNearPlane(std::span<const EyePoint> in, std::span<EyePoint> out);
// Clips a segment to the near plane; false when nothing is left.
bool ClipSegmentToNearPlane(EyePoint& a, EyePoint& b);

// Sign (-1, 0, +1) of the signed area sum of a screen outline: the sum over
// its edges (the last point joined to the first) of
// (X_i - X_i+1) * (Y_i + Y_i+1), computed exactly. Negative means the
// outline is seen from its back.
int FacingSign(std::span<const ScreenPoint> outline);

}  // namespace ws
