#include "editor/projection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace ws {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Exact rotation matrices of the turn rules, for comparison.
Matrix3 AboutY(double a) {
  Matrix3 m = kIdentityMatrix3;
  TurnAboutY(m, a);
  return m;
}
Matrix3 AboutX(double a) {
  Matrix3 m = kIdentityMatrix3;
  TurnAboutX(m, a);
  return m;
}

void ExpectNear(const Matrix3& a, const Matrix3& b, double tolerance = 1e-12) {
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) EXPECT_NEAR(a[i][j], b[i][j], tolerance) << i << "," << j;
}

TEST(TurnMatrices, ReplaceRowsAsTheRulesSay) {
  Matrix3 m = {{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}};
  TurnAboutY(m, kPi / 2);  // r0 <- -r2, r2 <- r0
  ExpectNear(m, {{{-7, -8, -9}, {4, 5, 6}, {1, 2, 3}}});
  Matrix3 n = {{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}};
  TurnAboutX(n, kPi / 2);  // r1 <- r2, r2 <- -r1
  ExpectNear(n, {{{1, 2, 3}, {7, 8, 9}, {-4, -5, -6}}});
  // new = R * old
  Matrix3 r = AboutY(0.3);
  ExpectNear(Multiply(r, {{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}}), [&] {
    Matrix3 q = {{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}};
    TurnAboutY(q, 0.3);
    return q;
  }());
}

TEST(ViewLetters, MapToViewCodes) {
  EXPECT_EQ(ViewCodeForLetter('F'), kViewFront);
  EXPECT_EQ(ViewCodeForLetter('e'), kViewBack);
  EXPECT_EQ(ViewCodeForLetter('L'), kViewLeft);
  EXPECT_EQ(ViewCodeForLetter('r'), kViewRight);
  EXPECT_EQ(ViewCodeForLetter('T'), kViewTop);
  EXPECT_EQ(ViewCodeForLetter('B'), kViewBottom);
  EXPECT_FALSE(ViewCodeForLetter('K'));
  EXPECT_FALSE(ViewCodeForLetter('\0'));
}

std::vector<QuarterTurn> Plan(int from, int to) {
  const TurnPlan p = PlanViewTurn(from, to);
  return {p.turns.begin(), p.turns.begin() + p.count};
}

TEST(ViewTurnPlan, TurnsWithinAFamilyDirectly) {
  using Q = QuarterTurn;
  const Q yPlus{kTurnAboutY, 1}, yMinus{kTurnAboutY, -1};
  const Q xPlus{kTurnAboutX, 1}, xMinus{kTurnAboutX, -1};
  EXPECT_EQ(Plan(kViewFront, kViewRight), (std::vector<Q>{yPlus}));
  EXPECT_EQ(Plan(kViewFront, kViewLeft), (std::vector<Q>{yMinus}));
  EXPECT_EQ(Plan(kViewFront, kViewBack), (std::vector<Q>{yPlus, yPlus}));
  EXPECT_EQ(Plan(kViewBack, kViewLeft), (std::vector<Q>{yPlus}));  // one turn of +90
  EXPECT_EQ(Plan(kViewLeft, kViewBack), (std::vector<Q>{yMinus}));
  EXPECT_EQ(Plan(kViewRight, kViewLeft), (std::vector<Q>{yPlus, yPlus}));
  EXPECT_EQ(Plan(kViewRight, kViewFront), (std::vector<Q>{yMinus}));
  EXPECT_EQ(Plan(kViewFront, kViewTop), (std::vector<Q>{xMinus}));
  EXPECT_EQ(Plan(kViewFront, kViewBottom), (std::vector<Q>{xPlus}));
  EXPECT_EQ(Plan(kViewTop, kViewBottom), (std::vector<Q>{xPlus, xPlus}));  // two turns about x
  EXPECT_EQ(Plan(kViewTop, kViewFront), (std::vector<Q>{xPlus}));
}

TEST(ViewTurnPlan, GoesThroughFrontBetweenFamilies) {
  using Q = QuarterTurn;
  const Q yPlus{kTurnAboutY, 1}, yMinus{kTurnAboutY, -1};
  const Q xPlus{kTurnAboutX, 1}, xMinus{kTurnAboutX, -1};
  EXPECT_EQ(Plan(kViewLeft, kViewTop), (std::vector<Q>{yPlus, xMinus}));
  EXPECT_EQ(Plan(kViewTop, kViewLeft), (std::vector<Q>{xPlus, yMinus}));
  EXPECT_EQ(Plan(kViewBack, kViewBottom), (std::vector<Q>{yPlus, yPlus, xPlus}));
  EXPECT_EQ(Plan(kViewBottom, kViewRight), (std::vector<Q>{xMinus, yPlus}));
}

TEST(ViewTurnPlan, SameViewOrBadCodeIsEmpty) {
  for (int v = 0; v < 6; ++v) EXPECT_TRUE(Plan(v, v).empty());
  EXPECT_TRUE(Plan(kViewFront, 6).empty());
  EXPECT_TRUE(Plan(-1, kViewFront).empty());
}

TEST(ViewTurnPlan, EveryPairEndsInTheTargetOrientation) {
  // Applying a plan's turns (only the active matrix projects, and a family
  // change passes Front where that matrix is back to identity) must give
  // the target's one-turn matrix.
  const auto target = [](int v) -> std::pair<int, Matrix3> {
    switch (v) {
      case kViewBack:
        return {kTurnAboutY, AboutY(kPi)};
      case kViewLeft:
        return {kTurnAboutY, AboutY(-kPi / 2)};
      case kViewRight:
        return {kTurnAboutY, AboutY(kPi / 2)};
      case kViewTop:
        return {kTurnAboutX, AboutX(-kPi / 2)};
      case kViewBottom:
        return {kTurnAboutX, AboutX(kPi / 2)};
      default:
        return {kTurnNone, kIdentityMatrix3};
    }
  };
  for (int from = 0; from < 6; ++from) {
    for (int to = 0; to < 6; ++to) {
      if (from == to) continue;
      ViewState view;
      auto [fromTurn, fromMatrix] = target(from);
      view.viewCode = from;
      view.activeTurn = fromTurn;
      if (fromTurn != kTurnNone) view.turns[fromTurn - 1] = fromMatrix;
      ASSERT_TRUE(TurnToView(view, to, nullptr));
      EXPECT_EQ(view.viewCode, to);
      const Matrix3& got =
          view.activeTurn == kTurnNone ? kIdentityMatrix3 : view.turns[view.activeTurn - 1];
      ExpectNear(got, target(to).second, 1e-9);
      // The matrix not active is back at identity when it took part.
      if (view.activeTurn != kTurnNone) {
        const int other = view.activeTurn == kTurnAboutX ? kTurnAboutY : kTurnAboutX;
        ExpectNear(view.turns[other - 1], kIdentityMatrix3, 1e-9);
      }
    }
  }
}

class CountingSteps final : public TurnAnimation {
 public:
  explicit CountingSteps(const ViewState& view) : view_(view) {}
  void TurnStep() override {
    ++steps;
    activeTurns.push_back(view_.activeTurn);
    codes.push_back(view_.viewCode);
  }
  int steps = 0;
  std::vector<int> activeTurns, codes;

 private:
  const ViewState& view_;
};

TEST(ViewTurn, AnimatesFortyFiveStepsOfTwoDegreesPerQuarter) {
  ViewState view;
  view.viewCode = kViewLeft;
  view.activeTurn = kTurnAboutY;
  view.turns[1] = AboutY(-kPi / 2);
  CountingSteps steps(view);
  // From Left, "T" turns back about y and then about x.
  ASSERT_TRUE(TurnToView(view, kViewTop, &steps));
  ASSERT_EQ(steps.steps, 90);
  for (int i = 0; i < 45; ++i) EXPECT_EQ(steps.activeTurns[i], kTurnAboutY);
  for (int i = 45; i < 90; ++i) EXPECT_EQ(steps.activeTurns[i], kTurnAboutX);
  // The view code changes only once the turns are done.
  for (int code : steps.codes) EXPECT_EQ(code, kViewLeft);
  EXPECT_EQ(view.viewCode, kViewTop);
  EXPECT_EQ(view.activeTurn, kTurnAboutX);
  EXPECT_NEAR(45 * kTurnStepRadians, kPi / 2, 1e-15);
}

TEST(ViewTurn, LetterOfTheCurrentViewChangesNothing) {
  ViewState view;
  view.turns[1][0][0] = 0.5;  // anything: it must stay
  const ViewState before = view;
  CountingSteps steps(view);
  EXPECT_FALSE(TurnToView(view, kViewFront, &steps));
  EXPECT_EQ(steps.steps, 0);
  EXPECT_EQ(view.turns, before.turns);
  EXPECT_EQ(view.activeTurn, before.activeTurn);
}

// ---- Projection of known points ----

struct ProjectionCase {
  int view;
  int x, y, z;  // screen X, Y and depth key of world point (10, 20, 30)
};

TEST(Projection, KnownPointInAllSixViews) {
  const EditAreaLayout layout = LayoutForAreaSize(800, 600);  // centre (400, 300)
  EditorViewState extra;
  // Hand-computed: e = T p, d = e.z - 2000, X = e.x + 400, Y = -e.y + 300.
  const ProjectionCase cases[] = {
      {kViewFront, 410, 280, 29030},   // e = (10, 20, 30)
      {kViewBack, 390, 280, 28970},    // e = (-10, 20, -30)
      {kViewLeft, 430, 280, 28990},    // e = (30, 20, -10)
      {kViewRight, 370, 280, 29010},   // e = (-30, 20, 10)
      {kViewTop, 410, 330, 29020},     // e = (10, -30, 20)
      {kViewBottom, 410, 270, 28980},  // e = (10, 30, -20)
  };
  for (const ProjectionCase& c : cases) {
    ViewState view;
    TurnToView(view, c.view, nullptr);  // the animated turn's matrices
    const Projector pr(view, extra, layout, false);
    Point p{};
    p.x = 10;
    p.y = 20;
    p.z = 30;
    pr.Project(p);
    EXPECT_EQ(p.screenX, c.x) << "view " << c.view;
    EXPECT_EQ(p.screenY, c.y) << "view " << c.view;
    EXPECT_EQ(p.screenDepth, c.z) << "view " << c.view;
  }
}

TEST(Projection, ScalePanAndStoredEyeValues) {
  const EditAreaLayout layout = LayoutForAreaSize(800, 600);
  EditorViewState extra;
  extra.scale = 2.0;
  extra.gridStep = 10;
  extra.panX = 1;
  extra.panY = -1;
  ViewState view;
  const Projector pr(view, extra, layout, false);
  Point p{};
  p.x = 10;
  p.y = 20;
  p.z = 30;
  pr.Project(p);
  EXPECT_DOUBLE_EQ(p.eyeDepth, 60 - 2000);
  EXPECT_DOUBLE_EQ(p.eyeX, 20 + 20);   // k x + panX k g
  EXPECT_DOUBLE_EQ(p.eyeY, -40 + 20);  // -k y - panY k g
  EXPECT_EQ(p.screenX, 440);
  EXPECT_EQ(p.screenY, 280);
  EXPECT_EQ(p.screenDepth, 29060);
}

TEST(Projection, RoundsHalvesAwayFromZero) {
  const EditAreaLayout layout = LayoutForAreaSize(800, 600);
  EditorViewState extra;
  ViewState view;
  const Projector pr(view, extra, layout, false);
  EXPECT_EQ(pr.Screen({-100, 2.5, -2.5}), (ScreenPoint{403, 297}));
  EXPECT_EQ(pr.Screen({-100, 2.4999, -2.4999}), (ScreenPoint{402, 298}));
}

TEST(Projection, PerspectiveScalesByDepth) {
  const EditAreaLayout layout = LayoutForAreaSize(800, 600);  // f = 374.5
  EditorViewState extra;
  ViewState view;
  const Projector pr(view, extra, layout, true);
  // Eye depth 0 (world z = 0): d = -300, about f / 300 of the distance.
  Point a{};
  a.x = 100;
  pr.Project(a);
  EXPECT_DOUBLE_EQ(a.eyeDepth, -300.0);
  EXPECT_EQ(a.screenX, 400 + 125);  // 100 * 374.5 / 300 = 124.83
  EXPECT_EQ(a.screenY, 300);
  Point b{};
  b.x = 100;
  b.y = 60;
  b.z = 150;  // d = -150: twice as far out
  pr.Project(b);
  EXPECT_EQ(b.screenX, 400 + 250);  // 249.67
  EXPECT_EQ(b.screenY, 300 - 150);  // 60 * 374.5 / 150 = 149.8
  EXPECT_EQ(b.screenDepth, 30850);
  // Without perspective the same point is not scaled.
  const Projector flat(view, extra, layout, false);
  flat.Project(b);
  EXPECT_EQ(b.screenX, 500);
}

TEST(Projection, FarAndBadCoordinatesStayValidPixels) {
  const EditAreaLayout layout = LayoutForAreaSize(800, 600);
  EditorViewState extra;
  ViewState view;
  const Projector pr(view, extra, layout, false);
  Point p{};
  p.x = 1e300;
  p.y = -1e300;
  pr.Project(p);
  EXPECT_EQ(p.screenX, 1000000000 + 400);
  EXPECT_EQ(p.screenY, 1000000000 + 300);
  EXPECT_EQ(p.screenDepth, 31000 - 2000);
  Point n{};
  n.z = std::numeric_limits<double>::quiet_NaN();
  pr.Project(n);
  EXPECT_EQ(n.screenX, 400);
  EXPECT_EQ(n.screenY, 300);
  EXPECT_EQ(n.screenDepth, 0);
  // A point at or behind the eye is never divided: it is kept on the near
  // plane (and clipped away by the drawing).
  const Projector persp(view, extra, layout, true);
  Point q{};
  q.x = 10;
  q.z = 300;  // d = 0
  persp.Project(q);
  EXPECT_FALSE(persp.Divisible({q.eyeDepth, q.eyeX, q.eyeY}));
  EXPECT_EQ(q.screenX, 400 + static_cast<int>(std::lround(10 * 374.5)));
}

TEST(Projection, QuickCommandLabelsIgnoreTheRotation) {
  const EditAreaLayout layout = LayoutForAreaSize(800, 600);
  EditorViewState extra;
  ViewState view;
  TurnToView(view, kViewRight, nullptr);
  const Projector facing(view, extra, layout, false, false);
  const EyePoint e = facing.Eye(10, 20, 30);
  EXPECT_DOUBLE_EQ(e.ex, 10);
  EXPECT_DOUBLE_EQ(e.ey, -20);
  EXPECT_DOUBLE_EQ(e.d, 30 - 2000);
}

// ---- Eye-space clipping ----

TEST(NearPlaneClip, PolygonCrossingTheEyePlaneIsCut) {
  // A square from d = -101 to d = +99: half in front, half behind the eye.
  const EyePoint in[] = {{-101, -50, -50}, {-101, 50, -50}, {99, 50, -50}, {99, -50, -50}};
  std::array<EyePoint, 8> out{};
  const std::size_t n = ClipPolygonToNearPlane(in, out);
  ASSERT_EQ(n, 4u);
  for (std::size_t i = 0; i < n; ++i) EXPECT_LE(out[i].d, kNearPlaneDepth);
  EXPECT_DOUBLE_EQ(out[0].d, -101);
  EXPECT_DOUBLE_EQ(out[1].d, -101);
  EXPECT_DOUBLE_EQ(out[2].d, -1);
  EXPECT_DOUBLE_EQ(out[3].d, -1);
  EXPECT_DOUBLE_EQ(out[2].ex, 50);
  EXPECT_DOUBLE_EQ(out[3].ex, -50);
}

TEST(NearPlaneClip, PolygonEntirelyBehindLeavesNothing) {
  const EyePoint in[] = {{0, 0, 0}, {10, 5, 0}, {-0.5, 5, 5}};
  std::array<EyePoint, 6> out{};
  EXPECT_EQ(ClipPolygonToNearPlane(in, out), 0u);
  EXPECT_EQ(ClipPolygonToNearPlane({}, out), 0u);
  // Too small an output is refused rather than overrun.
  std::array<EyePoint, 5> small{};
  const EyePoint front[] = {{-5, 0, 0}, {-5, 1, 0}, {-5, 1, 1}};
  EXPECT_EQ(ClipPolygonToNearPlane(front, small), 0u);
}

TEST(NearPlaneClip, RandomOutlinesNeverKeepAPointAtOrBehindTheEye) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> coord(-500, 500);
  std::uniform_int_distribution<int> count(1, 150);
  std::array<EyePoint, 150> in{};
  std::array<EyePoint, 300> out{};
  const EditAreaLayout layout = LayoutForAreaSize(800, 600);
  EditorViewState extra;
  ViewState view;
  const Projector pr(view, extra, layout, true);
  for (int round = 0; round < 2000; ++round) {
    const int n = count(rng);
    int inFront = 0;
    for (int i = 0; i < n; ++i) {
      in[i] = {coord(rng), coord(rng), coord(rng)};
      if (in[i].d <= kNearPlaneDepth) ++inFront;
    }
    const std::size_t m = ClipPolygonToNearPlane({in.data(), static_cast<std::size_t>(n)}, out);
    ASSERT_LE(m, ClippedCapacity(n));
    EXPECT_EQ(m == 0, inFront == 0);
    for (std::size_t i = 0; i < m; ++i) {
      ASSERT_LE(out[i].d, kNearPlaneDepth);
      ASSERT_TRUE(pr.Divisible(out[i]));
      const ScreenPoint s = pr.Screen(out[i]);
      ASSERT_LE(std::abs(static_cast<long long>(s.x)), 1000000400LL);
    }
  }
}

TEST(NearPlaneClip, SegmentsAreCutAtThePlane) {
  EyePoint a{-11, 0, 0}, b{9, 20, -10};
  ASSERT_TRUE(ClipSegmentToNearPlane(a, b));
  EXPECT_DOUBLE_EQ(a.d, -11);
  EXPECT_DOUBLE_EQ(b.d, -1);
  EXPECT_DOUBLE_EQ(b.ex, 10);
  EXPECT_DOUBLE_EQ(b.ey, -5);
  EyePoint c{5, 0, 0}, d{-0.5, 0, 0};
  EXPECT_FALSE(ClipSegmentToNearPlane(c, d));
  EyePoint e{-3, 1, 1}, f{-2, 2, 2};
  ASSERT_TRUE(ClipSegmentToNearPlane(e, f));
  EXPECT_DOUBLE_EQ(f.ex, 2);
}

TEST(Facing, ClockwiseOnScreenFacesTheViewer) {
  const ScreenPoint cw[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  const ScreenPoint ccw[] = {{0, 0}, {0, 10}, {10, 10}, {10, 0}};
  const ScreenPoint line[] = {{0, 0}, {10, 10}};
  EXPECT_EQ(FacingSign(cw), 1);
  EXPECT_EQ(FacingSign(ccw), -1);
  EXPECT_EQ(FacingSign(line), 0);
  // Far coordinates whose terms pass 64 bits keep the right sign.
  const int big = 1000000000;
  const ScreenPoint far[] = {{-big, -big}, {big, -big}, {big, big}, {-big, big}};
  const ScreenPoint farBack[] = {{-big, -big}, {-big, big}, {big, big}, {big, -big}};
  EXPECT_EQ(FacingSign(far), 1);
  EXPECT_EQ(FacingSign(farBack), -1);
}

// ---- Free rotation ----

TEST(FreeRotation, MapsCursorPositionsOntoTheUnitSphere) {
  // EditArea width 101 pixels: W' = 100; centre (50, 40).
  const Vec3d centre = SpherePoint(50, 40, 50, 40, 100);
  EXPECT_DOUBLE_EQ(centre.z, 1.0);
  const Vec3d inside = SpherePoint(110, 40, 50, 40, 100);  // u = 0.6
  EXPECT_DOUBLE_EQ(inside.x, 0.6);
  EXPECT_DOUBLE_EQ(inside.y, 0.0);
  EXPECT_NEAR(inside.z, 0.8, 1e-15);
  const Vec3d up = SpherePoint(50, 0, 50, 40, 100);  // v = 0.4, screen up
  EXPECT_DOUBLE_EQ(up.y, 0.4);
  const Vec3d outside = SpherePoint(50 + 300, 40 - 400, 50, 40, 100);  // (3, 4)
  EXPECT_DOUBLE_EQ(outside.x, 0.6);
  EXPECT_DOUBLE_EQ(outside.y, 0.8);
  EXPECT_DOUBLE_EQ(outside.z, 0.0);
  const Vec3d rim = SpherePoint(150, 40, 50, 40, 100);  // u^2 + v^2 = 1 exactly
  EXPECT_DOUBLE_EQ(rim.x, 1.0);
  EXPECT_DOUBLE_EQ(rim.z, 0.0);
}

TEST(FreeRotation, RotationTakesTheFirstSpherePointToTheSecond) {
  std::mt19937 rng(3);
  std::uniform_real_distribution<double> pos(0, 640);
  for (int i = 0; i < 500; ++i) {
    const Vec3d p = SpherePoint(pos(rng), pos(rng), 320, 240, 639);
    const Vec3d q = SpherePoint(pos(rng), pos(rng), 320, 240, 639);
    const Matrix3 r = FreeRotationMatrix(p, q);
    const Vec3d rp = Apply(r, p);
    EXPECT_NEAR(rp.x, q.x, 1e-9);
    EXPECT_NEAR(rp.y, q.y, 1e-9);
    EXPECT_NEAR(rp.z, q.z, 1e-9);
    // A rotation: orthonormal with determinant +1.
    const Matrix3 rrt = Multiply(
        r,
        {{{r[0][0], r[1][0], r[2][0]}, {r[0][1], r[1][1], r[2][1]}, {r[0][2], r[1][2], r[2][2]}}});
    ExpectNear(rrt, kIdentityMatrix3, 1e-9);
    const double det = r[0][0] * (r[1][1] * r[2][2] - r[1][2] * r[2][1]) -
                       r[0][1] * (r[1][0] * r[2][2] - r[1][2] * r[2][0]) +
                       r[0][2] * (r[1][0] * r[2][1] - r[1][1] * r[2][0]);
    EXPECT_NEAR(det, 1.0, 1e-9);
  }
}

TEST(FreeRotation, NoAxisMeansNoRotation) {
  const Vec3d p{1, 0, 0}, q{-1, 0, 0};
  ExpectNear(FreeRotationMatrix(p, q), kIdentityMatrix3, 0.0);  // never a mirror
  ExpectNear(FreeRotationMatrix(p, p), kIdentityMatrix3, 0.0);
}

TEST(FreeRotation, DragRightTurnsTheFrontToTheRight) {
  ViewState view;
  view.activeTurn = kTurnAboutY;
  view.turns[1] = AboutY(kPi / 2);
  BeginFreeRotation(view);
  for (const Matrix3& m : view.turns) EXPECT_EQ(m, kIdentityMatrix3);
  FreeRotationStep(view, 320, 240, 380, 240, 320, 240, 639);
  const Vec3d front = Apply(view.orientation, {0, 0, 1});
  EXPECT_GT(front.x, 0.05);
  EXPECT_NEAR(front.y, 0.0, 1e-12);
  // A second step composes on the left.
  const Matrix3 before = view.orientation;
  FreeRotationStep(view, 380, 240, 380, 200, 320, 240, 639);
  ExpectNear(view.orientation, Multiply(FreeRotationMatrix(SpherePoint(380, 240, 320, 240, 639),
                                                           SpherePoint(380, 200, 320, 240, 639)),
                                        before));
}

}  // namespace
}  // namespace ws
