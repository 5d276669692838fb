#include "editor/projection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

namespace ws {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr Matrix3 kM = {{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}};

Matrix3 About(int turn, double a) {
  Matrix3 m = kIdentityMatrix3;
  (turn == kTurnAboutX ? TurnAboutX : TurnAboutY)(m, a);
  return m;
}

void ExpectNear(const Matrix3& a, const Matrix3& b, double tolerance = 1e-12) {
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) EXPECT_NEAR(a[i][j], b[i][j], tolerance) << i << "," << j;
}

Point At(double x, double y, double z) {
  Point p{};
  p.x = x, p.y = y, p.z = z;
  return p;
}

TEST(TurnMatrices, ReplaceRowsAsTheRulesSay) {
  Matrix3 m = kM;
  TurnAboutY(m, kPi / 2);  // r0 <- -r2, r2 <- r0
  ExpectNear(m, {{{-7, -8, -9}, {4, 5, 6}, {1, 2, 3}}});
  Matrix3 n = kM;
  TurnAboutX(n, kPi / 2);  // r1 <- r2, r2 <- -r1
  ExpectNear(n, {{{1, 2, 3}, {7, 8, 9}, {-4, -5, -6}}});
  Matrix3 q = kM;  // new = R * old
  TurnAboutY(q, 0.3);
  ExpectNear(Multiply(About(kTurnAboutY, 0.3), kM), q);
}

TEST(ViewLetters, MapToViewCodes) {
  const std::pair<char, std::optional<int>> rows[] = {
      {'F', kViewFront}, {'e', kViewBack},   {'L', kViewLeft},       {'r', kViewRight},
      {'T', kViewTop},   {'B', kViewBottom}, {'K', std::nullopt}, {'\0', std::nullopt}};
  for (const auto& [letter, code] : rows) EXPECT_EQ(ViewCodeForLetter(letter), code) << letter;
}

TEST(ViewTurnPlan, TurnsWithinAFamilyAndThroughFrontBetweenThem) {
  using Q = QuarterTurn;
  const Q yP{kTurnAboutY, 1}, yM{kTurnAboutY, -1}, xP{kTurnAboutX, 1}, xM{kTurnAboutX, -1};
  const struct {
    int from, to;
    std::vector<Q> turns;
  } rows[] = {
      {kViewFront, kViewRight, {yP}},     {kViewFront, kViewLeft, {yM}},
      {kViewFront, kViewBack, {yP, yP}},  {kViewBack, kViewLeft, {yP}},  // one turn, not three
      {kViewRight, kViewFront, {yM}},     {kViewFront, kViewTop, {xM}},
      {kViewTop, kViewBottom, {xP, xP}},  {kViewLeft, kViewTop, {yP, xM}},  // through Front
      {kViewBack, kViewBottom, {yP, yP, xP}}, {kViewBottom, kViewRight, {xM, yP}},
      {kViewFront, 6, {}},                {-1, kViewFront, {}},
      {kViewTop, kViewTop, {}},
  };
  for (const auto& r : rows) {
    const TurnPlan p = PlanViewTurn(r.from, r.to);
    EXPECT_EQ(std::vector<Q>(p.turns.begin(), p.turns.begin() + p.count), r.turns)
        << r.from << " -> " << r.to;
  }
}

// The one-turn matrix that shows each view.
std::pair<int, Matrix3> Target(int v) {
  switch (v) {
    case kViewBack: return {kTurnAboutY, About(kTurnAboutY, kPi)};
    case kViewLeft: return {kTurnAboutY, About(kTurnAboutY, -kPi / 2)};
    case kViewRight: return {kTurnAboutY, About(kTurnAboutY, kPi / 2)};
    case kViewTop: return {kTurnAboutX, About(kTurnAboutX, -kPi / 2)};
    case kViewBottom: return {kTurnAboutX, About(kTurnAboutX, kPi / 2)};
    default: return {kTurnNone, kIdentityMatrix3};
  }
}

TEST(ViewTurnPlan, EveryPairEndsInTheTargetOrientation) {
  // Only the active matrix projects; a family change passes Front, where the
  // other matrix is back at identity.
  for (int from = 0; from < 6; ++from) {
    for (int to = 0; to < 6; ++to) {
      if (from == to) continue;
      ViewState view;
      view.viewCode = from;
      view.activeTurn = Target(from).first;
      if (view.activeTurn != kTurnNone) view.turns[view.activeTurn - 1] = Target(from).second;
      ASSERT_TRUE(TurnToView(view, to, nullptr));
      EXPECT_EQ(view.viewCode, to);
      if (view.activeTurn == kTurnNone) continue;
      ExpectNear(view.turns[view.activeTurn - 1], Target(to).second, 1e-9);
      ExpectNear(view.turns[2 - view.activeTurn], kIdentityMatrix3, 1e-9);
    }
  }
}

class CountingSteps final : public TurnAnimation {
 public:
  explicit CountingSteps(const ViewState& view) : view_(view) {}
  void TurnStep() override {
    activeTurns.push_back(view_.activeTurn);
    codes.push_back(view_.viewCode);
  }
  std::vector<int> activeTurns, codes;

 private:
  const ViewState& view_;
};

TEST(ViewTurn, AnimatesFortyFiveStepsOfTwoDegreesPerQuarter) {
  ViewState view;
  view.viewCode = kViewLeft;
  view.activeTurn = kTurnAboutY;
  view.turns[1] = About(kTurnAboutY, -kPi / 2);
  CountingSteps steps(view);
  ASSERT_TRUE(TurnToView(view, kViewTop, &steps));  // back about y, then about x
  ASSERT_EQ(steps.activeTurns.size(), 90u);
  for (int i = 0; i < 90; ++i) {
    EXPECT_EQ(steps.activeTurns[i], i < 45 ? kTurnAboutY : kTurnAboutX) << i;
    EXPECT_EQ(steps.codes[i], kViewLeft) << i;  // the code changes once the turns are done
  }
  EXPECT_EQ(view.viewCode, kViewTop);
  EXPECT_NEAR(45 * kTurnStepRadians, kPi / 2, 1e-15);
  // The letter of the current view changes nothing.
  const ViewState before = view;
  EXPECT_FALSE(TurnToView(view, kViewTop, &steps));
  EXPECT_EQ(steps.activeTurns.size(), 90u);
  EXPECT_EQ(view.turns, before.turns);
}

// ---- Projection of known points ----

TEST(Projection, KnownPointInAllSixViews) {
  const EditAreaLayout layout = LayoutForAreaSize(800, 600);  // centre (400, 300)
  EditorViewState extra;
  // e = T p, d = e.z - 2000, X = e.x + 400, Y = -e.y + 300 for p = (10, 20, 30).
  const struct {
    int view, x, y, depth;
  } rows[] = {
      {kViewFront, 410, 280, 29030}, {kViewBack, 390, 280, 28970}, {kViewLeft, 430, 280, 28990},
      {kViewRight, 370, 280, 29010}, {kViewTop, 410, 330, 29020},  {kViewBottom, 410, 270, 28980},
  };
  for (const auto& r : rows) {
    ViewState view;
    TurnToView(view, r.view, nullptr);
    Point p = At(10, 20, 30);
    Projector(view, extra, layout, false).Project(p);
    EXPECT_EQ(std::make_tuple(p.screenX, p.screenY, p.screenDepth),
              std::make_tuple(r.x, r.y, r.depth))
        << "view " << r.view;
  }
}

TEST(Projection, ScalePanRoundingAndStoredEyeValues) {
  const EditAreaLayout layout = LayoutForAreaSize(800, 600);
  EditorViewState extra;
  extra.scale = 2.0;
  extra.gridStep = 10;
  extra.panX = 1;
  extra.panY = -1;
  ViewState view;
  Point p = At(10, 20, 30);
  Projector(view, extra, layout, false).Project(p);
  EXPECT_DOUBLE_EQ(p.eyeDepth, 60 - 2000);
  EXPECT_DOUBLE_EQ(p.eyeX, 20 + 20);   // k x + panX k g
  EXPECT_DOUBLE_EQ(p.eyeY, -40 + 20);  // -k y - panY k g
  EXPECT_EQ(std::make_tuple(p.screenX, p.screenY, p.screenDepth), std::make_tuple(440, 280, 29060));
  // Halves round away from zero.
  const Projector pr(view, EditorViewState{}, layout, false);
  EXPECT_EQ(pr.Screen({-100, 2.5, -2.5}), (ScreenPoint{403, 297}));
  EXPECT_EQ(pr.Screen({-100, 2.4999, -2.4999}), (ScreenPoint{402, 298}));
}

TEST(Projection, PerspectiveScalesByDepth) {
  const EditAreaLayout layout = LayoutForAreaSize(800, 600);  // f = 374.5
  EditorViewState extra;
  ViewState view;
  const Projector pr(view, extra, layout, true);
  Point a = At(100, 0, 0);  // d = -300
  pr.Project(a);
  EXPECT_DOUBLE_EQ(a.eyeDepth, -300.0);
  EXPECT_EQ(a.screenX, 400 + 125);  // 124.83
  Point b = At(100, 60, 150);       // d = -150: twice as far out
  pr.Project(b);
  EXPECT_EQ(std::make_tuple(b.screenX, b.screenY, b.screenDepth),
            std::make_tuple(400 + 250, 300 - 150, 30850));
  Projector(view, extra, layout, false).Project(b);
  EXPECT_EQ(b.screenX, 500);
  // At and behind the eye the depth is held on the near plane.
  EXPECT_EQ(pr.Screen({0, 10, 0}), (ScreenPoint{400 + 3745, 300}));
  EXPECT_EQ(pr.Screen({5, 10, 0}), (ScreenPoint{400 + 3745, 300}));
  EXPECT_EQ(pr.Screen({-2, 10, 0}), (ScreenPoint{400 + 1873, 300}));
  EXPECT_FALSE(pr.Divisible({0, 10, 0}));
}

TEST(Projection, FarAndBadCoordinatesStayValidPixels) {
  const EditAreaLayout layout = LayoutForAreaSize(800, 600);
  EditorViewState extra;
  ViewState view;
  const Projector pr(view, extra, layout, false);
  Point p = At(1e300, -1e300, 0);
  pr.Project(p);
  EXPECT_EQ(std::make_tuple(p.screenX, p.screenY, p.screenDepth),
            std::make_tuple(1000000000 + 400, 1000000000 + 300, 31000 - 2000));
  Point n = At(0, 0, std::numeric_limits<double>::quiet_NaN());
  pr.Project(n);
  EXPECT_EQ(std::make_tuple(n.screenX, n.screenY, n.screenDepth), std::make_tuple(400, 300, 0));
}

// ---- Eye-space clipping ----

TEST(NearPlaneClip, PolygonCrossingTheEyePlaneIsCut) {
  // A square from d = -101 to d = +99: half in front, half behind the eye.
  const EyePoint in[] = {{-101, -50, -50}, {-101, 50, -50}, {99, 50, -50}, {99, -50, -50}};
  std::array<EyePoint, 8> out{};
  ASSERT_EQ(ClipPolygonToNearPlane(in, out), 4u);
  const double want[4][2] = {{-101, -50}, {-101, 50}, {-1, 50}, {-1, -50}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_DOUBLE_EQ(out[i].d, want[i][0]) << i;
    EXPECT_DOUBLE_EQ(out[i].ex, want[i][1]) << i;
  }
  // A point exactly on the plane stays as it is; just behind it is cut.
  const EyePoint onPlane[] = {{-1, 0, 0}, {-5, 1, 0}, {-5, 1, 1}};
  EXPECT_EQ(ClipPolygonToNearPlane(onPlane, std::span(out).first(6)), 3u);
  const EyePoint behind[] = {{-0.5, 0, 0}, {-5, 1, 0}, {-5, 1, 1}};
  EXPECT_EQ(ClipPolygonToNearPlane(behind, out), 4u);
  // Entirely behind, empty, or an output one short of the capacity: nothing.
  const EyePoint allBehind[] = {{0, 0, 0}, {10, 5, 0}, {-0.5, 5, 5}};
  EXPECT_EQ(ClipPolygonToNearPlane(allBehind, out), 0u);
  EXPECT_EQ(ClipPolygonToNearPlane({}, out), 0u);
  EXPECT_EQ(ClipPolygonToNearPlane(onPlane, std::span(out).first(5)), 0u);
}

TEST(NearPlaneClip, RandomOutlinesNeverKeepAPointAtOrBehindTheEye) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> coord(-500, 500);
  std::uniform_int_distribution<int> count(1, 150);
  std::array<EyePoint, 150> in{};
  std::array<EyePoint, 300> out{};
  EditorViewState extra;
  ViewState view;
  const Projector pr(view, extra, LayoutForAreaSize(800, 600), true);
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
      ASSERT_LE(std::abs(static_cast<long long>(pr.Screen(out[i]).x)), 1000000400LL);
    }
  }
}

TEST(NearPlaneClip, SegmentsAreCutAtThePlane) {
  EyePoint a{-11, 0, 0}, b{9, 20, -10};
  ASSERT_TRUE(ClipSegmentToNearPlane(a, b));
  EXPECT_DOUBLE_EQ(a.d, -11);
  EXPECT_EQ(std::make_tuple(b.d, b.ex, b.ey), std::make_tuple(-1.0, 10.0, -5.0));
  EyePoint c{5, 0, 0}, d{-0.5, 0, 0};
  EXPECT_FALSE(ClipSegmentToNearPlane(c, d));
  EyePoint e{-3, 1, 1}, f{-2, 2, 2};
  ASSERT_TRUE(ClipSegmentToNearPlane(e, f));
  EXPECT_DOUBLE_EQ(f.ex, 2);
}

TEST(Facing, ClockwiseOnScreenFacesTheViewer) {
  const int big = 1000000000;  // terms pass 64 bits
  const struct {
    std::vector<ScreenPoint> outline;
    int sign;
  } rows[] = {
      {{{0, 0}, {10, 0}, {10, 10}, {0, 10}}, 1},
      {{{0, 0}, {0, 10}, {10, 10}, {10, 0}}, -1},
      {{{0, 0}, {10, 10}}, 0},
      {{{-big, -big}, {big, -big}, {big, big}, {-big, big}}, 1},
      {{{-big, -big}, {-big, big}, {big, big}, {big, -big}}, -1},
  };
  for (std::size_t i = 0; i < std::size(rows); ++i)
    EXPECT_EQ(FacingSign(rows[i].outline), rows[i].sign) << "row " << i;
}

// ---- Free rotation ----

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
    Matrix3 rt{};
    for (int a = 0; a < 3; ++a)
      for (int b = 0; b < 3; ++b) rt[a][b] = r[b][a];
    ExpectNear(Multiply(r, rt), kIdentityMatrix3, 1e-9);
    const double det = r[0][0] * (r[1][1] * r[2][2] - r[1][2] * r[2][1]) -
                       r[0][1] * (r[1][0] * r[2][2] - r[1][2] * r[2][0]) +
                       r[0][2] * (r[1][0] * r[2][1] - r[1][1] * r[2][0]);
    EXPECT_NEAR(det, 1.0, 1e-9);
  }
  // No axis means no rotation, never a mirror.
  ExpectNear(FreeRotationMatrix({1, 0, 0}, {-1, 0, 0}), kIdentityMatrix3, 0.0);
  ExpectNear(FreeRotationMatrix({1, 0, 0}, {1, 0, 0}), kIdentityMatrix3, 0.0);
}

TEST(FreeRotation, DragRightTurnsTheFrontToTheRight) {
  ViewState view;
  view.activeTurn = kTurnAboutY;
  view.turns[1] = About(kTurnAboutY, kPi / 2);
  BeginFreeRotation(view);
  for (const Matrix3& m : view.turns) EXPECT_EQ(m, kIdentityMatrix3);
  FreeRotationStep(view, 320, 240, 380, 240, 320, 240, 639);
  const Vec3d front = Apply(view.orientation, {0, 0, 1});
  EXPECT_GT(front.x, 0.05);
  EXPECT_NEAR(front.y, 0.0, 1e-12);
  const Matrix3 before = view.orientation;  // a second step composes on the left
  FreeRotationStep(view, 380, 240, 380, 200, 320, 240, 639);
  ExpectNear(view.orientation, Multiply(FreeRotationMatrix(SpherePoint(380, 240, 320, 240, 639),
                                                           SpherePoint(380, 200, 320, 240, 639)),
                                        before));
}

}  // namespace
}  // namespace ws
