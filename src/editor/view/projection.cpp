#include "editor/view/projection.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "raster/raster_math.h"

namespace ws {

Matrix3 Multiply(const Matrix3& a, const Matrix3& b) {
  Matrix3 r{};
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      r[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j];
    }
  }
  return r;
}

Vec3d Apply(const Matrix3& m, const Vec3d& v) {
  return {m[0][0] * v.x + m[0][1] * v.y + m[0][2] * v.z,
          m[1][0] * v.x + m[1][1] * v.y + m[1][2] * v.z,
          m[2][0] * v.x + m[2][1] * v.y + m[2][2] * v.z};
}

void TurnAboutX(Matrix3& m, double angle) {
  const double c = std::cos(angle), s = std::sin(angle);
  for (int j = 0; j < 3; ++j) {
    const double r1 = m[1][j], r2 = m[2][j];
    m[1][j] = c * r1 + s * r2;
    m[2][j] = c * r2 - s * r1;
  }
}

void TurnAboutY(Matrix3& m, double angle) {
  const double c = std::cos(angle), s = std::sin(angle);
  for (int j = 0; j < 3; ++j) {
    const double r0 = m[0][j], r2 = m[2][j];
    m[0][j] = c * r0 - s * r2;
    m[2][j] = s * r0 + c * r2;
  }
}

// ---- View turns ----

std::optional<int> ViewCodeForLetter(char letter) {
  switch (std::toupper(static_cast<unsigned char>(letter))) {
    case 'F':
      return kViewFront;
    case 'E':
      return kViewBack;
    case 'L':
      return kViewLeft;
    case 'R':
      return kViewRight;
    case 'T':
      return kViewTop;
    case 'B':
      return kViewBottom;
    default:
      return std::nullopt;
  }
}

namespace {

// Quarter turns from Front, about y: Right +1, Back +2, Left +3 (= -1).
int YQuarters(int view) {
  switch (view) {
    case kViewRight:
      return 1;
    case kViewBack:
      return 2;
    case kViewLeft:
      return 3;
    default:
      return 0;
  }
}

// Quarter turns from Front, about x: Bottom +1, Top +3 (= -1).
int XQuarters(int view) { return view == kViewBottom ? 1 : view == kViewTop ? 3 : 0; }

bool InXFamily(int view) { return view == kViewTop || view == kViewBottom; }

// Appends the turns that make up `quarters` (mod 4) about one axis: +90,
// -90, or two +90 for a half turn.
void AddQuarters(TurnPlan& plan, int activeTurn, int quarters) {
  switch ((quarters % 4 + 4) % 4) {
    case 1:
      plan.turns[plan.count++] = {activeTurn, 1};
      break;
    case 2:
      plan.turns[plan.count++] = {activeTurn, 1};
      plan.turns[plan.count++] = {activeTurn, 1};
      break;
    case 3:
      plan.turns[plan.count++] = {activeTurn, -1};
      break;
    default:
      break;
  }
}

}  // namespace

TurnPlan PlanViewTurn(int fromView, int toView) {
  TurnPlan plan;
  if (fromView == toView || toView < kViewTop || toView > kViewBack || fromView < kViewTop ||
      fromView > kViewBack) {
    return plan;
  }
  const bool fromX = InXFamily(fromView), toX = InXFamily(toView);
  if (fromView == kViewFront || toView == kViewFront || fromX == toX) {
    // One family holds both views (Front belongs to either).
    const bool aboutX = fromX || toX;
    if (aboutX) {
      AddQuarters(plan, kTurnAboutX, XQuarters(toView) - XQuarters(fromView));
    } else {
      AddQuarters(plan, kTurnAboutY, YQuarters(toView) - YQuarters(fromView));
    }
    return plan;
  }
  // Across the families: back to Front first.
  if (fromX) {
    AddQuarters(plan, kTurnAboutX, -XQuarters(fromView));
    AddQuarters(plan, kTurnAboutY, YQuarters(toView));
  } else {
    AddQuarters(plan, kTurnAboutY, -YQuarters(fromView));
    AddQuarters(plan, kTurnAboutX, XQuarters(toView));
  }
  return plan;
}

bool TurnToView(ViewState& view, int toView, TurnAnimation* animation) {
  const TurnPlan plan = PlanViewTurn(view.viewCode, toView);
  if (plan.count == 0) return false;
  for (int t = 0; t < plan.count; ++t) {
    const QuarterTurn& turn = plan.turns[t];
    view.activeTurn = turn.activeTurn;
    Matrix3& m = view.turns[turn.activeTurn - 1];
    const double step = turn.sign * kTurnStepRadians;
    for (int i = 0; i < kTurnStepCount; ++i) {
      if (turn.activeTurn == kTurnAboutX) {
        TurnAboutX(m, step);
      } else {
        TurnAboutY(m, step);
      }
      if (animation) animation->TurnStep();
    }
  }
  view.viewCode = toView;
  return true;
}

// ---- Free rotation ----

Vec3d SpherePoint(double x, double y, int cx, int cy, int areaWidth) {
  const double w = areaWidth > 0 ? areaWidth : 1.0;
  const double u = (x - cx) / w;
  const double v = (cy - y) / w;
  const double r2 = u * u + v * v;
  if (r2 >= 1.0) {
    const double len = std::sqrt(r2);
    return {u / len, v / len, 0.0};
  }
  return {u, v, std::sqrt(1.0 - r2)};
}

Matrix3 FreeRotationMatrix(const Vec3d& p, const Vec3d& q) {
  Vec3d a{p.y * q.z - p.z * q.y, p.z * q.x - p.x * q.z, p.x * q.y - p.y * q.x};
  const double s = std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
  if (!(s > 0.0)) return kIdentityMatrix3;
  const double c = p.x * q.x + p.y * q.y + p.z * q.z;
  a = {a.x / s, a.y / s, a.z / s};
  const double t = 1.0 - c;
  Matrix3 r{};
  r[0][0] = a.x * a.x * t + c;
  r[0][1] = a.x * a.y * t - a.z * s;
  r[0][2] = a.x * a.z * t + a.y * s;
  r[1][0] = a.y * a.x * t + a.z * s;
  r[1][1] = a.y * a.y * t + c;
  r[1][2] = a.y * a.z * t - a.x * s;
  r[2][0] = a.z * a.x * t - a.y * s;
  r[2][1] = a.z * a.y * t + a.x * s;
  r[2][2] = a.z * a.z * t + c;
  return r;
}

void BeginFreeRotation(ViewState& view) {
  view.turns = {kIdentityMatrix3, kIdentityMatrix3, kIdentityMatrix3};
}

void FreeRotationStep(ViewState& view, double fromX, double fromY, double toX, double toY, int cx,
                      int cy, int areaWidth) {
  const Vec3d p = SpherePoint(fromX, fromY, cx, cy, areaWidth);
  const Vec3d q = SpherePoint(toX, toY, cx, cy, areaWidth);
  view.orientation = Multiply(FreeRotationMatrix(p, q), view.orientation);
}

// ---- Projection ----

namespace {

// Clamped to the screen limit; NaN (a point no file should hold, but one
// that must not reach an integer conversion) counts as 0.
double ClampScreen(double v) {
  if (!(v == v)) return 0.0;
  return std::clamp(v, -kScreenLimit, kScreenLimit);
}

std::int32_t RoundScreen(double v) {
  return static_cast<std::int32_t>(std::lround(ClampScreen(v)));
}

}  // namespace

Projector::Projector(const ViewState& view, const EditorViewState& extra,
                     const EditAreaLayout& layout, bool perspective, bool rotated)
    : turn_(kIdentityMatrix3),
      orientation_(view.orientation),
      rotated_(rotated),
      perspective_(perspective),
      k_(extra.scale),
      panX_(extra.panX * extra.scale * extra.gridStep),
      panY_(extra.panY * extra.scale * extra.gridStep),
      eyeOffset_(perspective ? kPerspectiveEyeOffset : kOrthographicEyeOffset),
      f_(layout.perspectiveFactor),
      cx_(layout.cx),
      cy_(layout.cy) {
  if (view.activeTurn >= kTurnAboutX && view.activeTurn <= kTurnSpare) {
    applyTurn_ = true;
    turn_ = view.turns[view.activeTurn - 1];
  }
}

EyePoint Projector::Eye(double x, double y, double z) const {
  Vec3d p{k_ * x, k_ * y, k_ * z};
  if (rotated_) {
    if (applyTurn_) p = Apply(turn_, p);
    p = Apply(orientation_, p);
  }
  return {p.z - eyeOffset_, p.x + panX_, -p.y - panY_};
}

ScreenPoint Projector::Screen(const EyePoint& e) const {
  double sx = e.ex, sy = e.ey;
  if (perspective_) {
    const double d = std::min(e.d, kNearPlaneDepth);
    sx = -(e.ex / d) * f_;
    sy = -(e.ey / d) * f_;
  }
  return {RoundScreen(sx) + cx_, RoundScreen(sy) + cy_};
}

std::int32_t Projector::DepthKey(const EyePoint& e) const {
  return RoundScreen(e.d + kDepthKeyOffset);
}

void Projector::Project(Point& p) const {
  const EyePoint e = Eye(p.x, p.y, p.z);
  p.eyeDepth = e.d;
  p.eyeX = e.ex;
  p.eyeY = e.ey;
  const ScreenPoint s = Screen(e);
  p.screenX = s.x;
  p.screenY = s.y;
  p.screenDepth = DepthKey(e);
}

void ProjectAllPoints(ObjectTables& tables, const Projector& projector) {
  if (!tables.allocated()) return;
  for (std::uint32_t i = 0; i < tables.pointCount; ++i) projector.Project(tables.points[i]);
}

namespace {

EyePoint NearCrossing(const EyePoint& a, const EyePoint& b) {
  // a and b lie on opposite sides of the plane, so b.d - a.d is not 0.
  const double t = (kNearPlaneDepth - a.d) / (b.d - a.d);
  return {kNearPlaneDepth, a.ex + t * (b.ex - a.ex), a.ey + t * (b.ey - a.ey)};
}

bool Inside(const EyePoint& e) { return e.d <= kNearPlaneDepth; }

}  // namespace

std::size_t ClipPolygonToNearPlane(std::span<const EyePoint> in, std::span<EyePoint> out) {
  const std::size_t n = in.size();
  if (n == 0 || out.size() < ClippedCapacity(n)) return 0;
  std::size_t m = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const EyePoint& a = in[i];
    const EyePoint& b = in[i + 1 == n ? 0 : i + 1];
    const bool aIn = Inside(a), bIn = Inside(b);
    if (aIn) out[m++] = a;
    if (aIn != bIn) out[m++] = NearCrossing(a, b);
  }
  return m;
}

bool ClipSegmentToNearPlane(EyePoint& a, EyePoint& b) {
  const bool aIn = Inside(a), bIn = Inside(b);
  if (!aIn && !bIn) return false;
  if (aIn && bIn) return true;
  const EyePoint c = NearCrossing(a, b);
  (aIn ? b : a) = c;
  return true;
}

int FacingSign(std::span<const ScreenPoint> outline) {
  // Clamped coordinates reach 1e9, so one term reaches 4e18 and the sum of
  // a few would pass 64 bits.
  raster::Int128 s = 0;
  const std::size_t n = outline.size();
  for (std::size_t i = 0; i < n; ++i) {
    const ScreenPoint& a = outline[i];
    const ScreenPoint& b = outline[i + 1 == n ? 0 : i + 1];
    s += static_cast<raster::Int128>(std::int64_t{a.x} - b.x) * (std::int64_t{a.y} + b.y);
  }
  return s < 0 ? -1 : (s > 0 ? 1 : 0);
}

}  // namespace ws
