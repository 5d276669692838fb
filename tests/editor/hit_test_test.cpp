#include "editor/hit_test.h"

#include <gtest/gtest.h>

#include "editor_test_support.h"

namespace ws {
namespace {

// Tables whose points are placed on the screen directly (as a projection
// would leave them), with an orthographic projector for the tests.
class HitFixture : public ::testing::Test, public test::AxisTables {
 protected:
  HitFixture() : projector(view, extra, LayoutForAreaSize(400, 300), false) {
    // The axis cross runs through the middle of the screen.
    for (std::uint32_t i = 0; i < kReservedPoints; ++i) Place(i, 200, 150, 31000);
  }

  void Place(std::uint32_t i, int x, int y, int depth) {
    Point& p = t.points[i];
    p.screenX = x;
    p.screenY = y;
    p.screenDepth = depth;
    p.eyeDepth = depth - 31000.0;
    p.eyeX = x;
    p.eyeY = y;
  }
  std::uint32_t At(int x, int y, int depth = 30000) {
    const std::uint32_t i = t.AddPoint(++unique, 0, 0);
    Place(i, x, y, depth);
    return i;
  }
  std::uint32_t Line(int x1, int y1, int x2, int y2, int depth = 30000) {
    const std::uint32_t v = t.AddVector(At(x1, y1, depth), At(x2, y2, depth));
    t.vectors[v].selected = kUnselected;
    return v;
  }
  std::uint32_t Poly(std::initializer_list<std::pair<int, int>> corners, double depth,
                     std::uint32_t flags = PolyFlag::kDefined) {
    const std::uint32_t k = t.polygonCount++;
    Polygon& p = t.polygons[k];
    p = Polygon{};
    p.flags = flags;
    p.depth = depth;
    for (auto [x, y] : corners) p.points[p.pointCount++] = At(x, y);
    return k;
  }

  ViewState view;
  EditorViewState extra;
  Projector projector;
  HitTester tester;
  double unique = 0;
};

using HoveredVectorHit = HitFixture;

TEST_F(HoveredVectorHit, BoxIsStrictAndOffCentre) {
  const int mx = 100, my = 80;
  EXPECT_EQ(HoverBox(mx, my), (IntRect{96, 79, 106, 94}));
  struct Case {
    int x1, y1, x2, y2;
    bool hit;
  };
  // Short lines just inside and just outside each side of the box.
  const Case cases[] = {
      {96, 60, 96, 120, true},   {95, 60, 95, 120, false},    // left: mx - 5 < x
      {106, 60, 106, 120, true}, {107, 60, 107, 120, false},  // right: x < mx + 7
      {60, 79, 140, 79, true},   {60, 78, 140, 78, false},    // top: my - 2 < y
      {60, 94, 140, 94, true},   {60, 95, 140, 95, false},    // bottom: y < my + 15
  };
  for (const Case& c : cases) {
    t.vectorCount = kReservedVectors;
    t.pointCount = kReservedPoints;
    const std::uint32_t v = Line(c.x1, c.y1, c.x2, c.y2);
    const VectorHit hit = tester.HoveredVector(t, projector, mx, my);
    EXPECT_EQ(hit.vector, c.hit ? v : 0u) << c.x1 << "," << c.y1 << " " << c.x2 << "," << c.y2;
  }
}

TEST_F(HoveredVectorHit, EitherEndpointAloneHitsButAxesAndBrokenVectorsNever) {
  // The axes run through the cursor but are never hovered.
  EXPECT_EQ(tester.HoveredVector(t, projector, 200, 150).vector, 0u);
  const std::uint32_t v = Line(160, 140, 106, 94);  // only its last pixel is in the box
  EXPECT_EQ(tester.HoveredVector(t, projector, 100, 80).vector, v);
  t.vectors[v].p2 = t.pointCount + 5;  // naming a missing point: skipped
  EXPECT_EQ(tester.HoveredVector(t, projector, 100, 80).vector, 0u);
  const std::uint32_t w = Line(96, 79, 40, 20);  // only its first pixel
  EXPECT_EQ(tester.HoveredVector(t, projector, 100, 80).vector, w);
}

TEST_F(HoveredVectorHit, NearestWinsAndEqualDepthKeepsTheFirst) {
  const std::uint32_t a = Line(0, 80, 300, 80, 30000);
  const std::uint32_t b = Line(100, 0, 100, 200, 30000);
  VectorHit hit = tester.HoveredVector(t, projector, 100, 80);
  EXPECT_EQ(std::make_pair(hit.vector, hit.depth), std::make_pair(a, 30000));
  // Depth is (Z1 + Z2) / 2 with integer division: 30001 and 30002 give 30001.
  const std::uint32_t c = t.AddVector(At(100, 70, 30001), At(100, 90, 30002));
  t.vectors[c].selected = kUnselected;
  hit = tester.HoveredVector(t, projector, 100, 80);
  EXPECT_EQ(std::make_pair(hit.vector, hit.depth), std::make_pair(c, 30001));
  (void)b;
}

TEST_F(HoveredVectorHit, VectorsNamingMissingPointsAreSkipped) {
  const std::uint32_t v = Line(0, 80, 300, 80);
  t.vectors[v].p2 = t.pointCount + 5;
  EXPECT_EQ(tester.HoveredVector(t, projector, 100, 80).vector, 0u);
}

using VectorMarqueeMarking = HitFixture;

TEST_F(VectorMarqueeMarking, MarksHitsAndReleasesLostOnes) {
  const std::uint32_t inside = Line(20, 20, 30, 30);
  const std::uint32_t selected = Line(25, 10, 25, 40);
  const std::uint32_t outside = Line(200, 200, 210, 210);
  const std::uint32_t onEdge = Line(10, 0, 10, 100);  // the marquee's left column
  t.vectors[selected].selected = kSelected;
  t.vectors[outside].selected = kMarqueeMarked;  // marked by an earlier step
  const IntRect marquee{10, 10, 50, 50};
  tester.MarkVectorsInMarquee(t, projector, marquee);
  EXPECT_EQ(t.vectors[inside].selected, kMarqueeMarked);
  EXPECT_EQ(t.vectors[selected].selected, kSelected);
  EXPECT_EQ(t.vectors[outside].selected, kUnselected);
  EXPECT_EQ(t.vectors[onEdge].selected, kUnselected);  // left < x is strict
  // The marquee shrinks away from the first vector: its mark goes.
  tester.MarkVectorsInMarquee(t, projector, {40, 40, 60, 60});
  EXPECT_EQ(t.vectors[inside].selected, kUnselected);
  EXPECT_EQ(t.vectors[selected].selected, kSelected);
  // The axes are never marked.
  tester.MarkVectorsInMarquee(t, projector, {150, 100, 250, 200});
  for (std::uint32_t i = 0; i < kReservedVectors; ++i) EXPECT_EQ(t.vectors[i].selected, 0u);
}

using HoveredPolygonHit = HitFixture;

TEST(OutlineContains, EvenOddRuleAtTheEdges) {
  const std::vector<ScreenPoint> square = {{10, 10}, {20, 10}, {20, 20}, {10, 20}};
  const std::vector<ScreenPoint> bow = {{0, 0}, {20, 20}, {20, 0}, {0, 20}};  // self-crossing
  const struct {
    const char* name;
    const std::vector<ScreenPoint>& outline;
    int x, y;
    bool inside;
  } rows[] = {
      {"middle", square, 15, 15, true},      {"left edge", square, 10, 15, true},
      {"right edge", square, 20, 15, false}, {"top row", square, 15, 10, true},
      {"bottom row", square, 15, 20, false}, {"left of it", square, 9, 15, false},
      {"bow tie wedge", bow, 10, 3, false},  {"bow tie left", bow, 3, 10, true},
      {"bow tie right", bow, 17, 10, true},
  };
  for (const auto& r : rows) EXPECT_EQ(OutlineContains(r.outline, r.x, r.y), r.inside) << r.name;
  EXPECT_FALSE(OutlineContains({}, 0, 0));
}

TEST_F(HoveredPolygonHit, EqualDepthsReportTheFirst) {
  const std::uint32_t a = Poly({{10, 10}, {60, 10}, {60, 60}, {10, 60}}, 30500.0);
  const std::uint32_t b = Poly({{20, 20}, {70, 20}, {70, 70}, {20, 70}}, 30500.0);
  PolygonHit hit = tester.HoveredPolygon(t, projector, 30, 30, false);
  EXPECT_EQ(hit.polygon, static_cast<std::int32_t>(a));
  EXPECT_DOUBLE_EQ(hit.depth, 30500.0);
  t.polygons[b].depth = 30500.5;
  EXPECT_EQ(tester.HoveredPolygon(t, projector, 30, 30, false).polygon,
            static_cast<std::int32_t>(b));
  // Outside both: none.
  hit = tester.HoveredPolygon(t, projector, 5, 5, false);
  EXPECT_EQ(hit.polygon, -1);
  EXPECT_DOUBLE_EQ(hit.depth, kNoPolygonDepth);
}

TEST_F(HoveredPolygonHit, SkipsNotDrawnFarAwayInvisibleAndBrokenPolygons) {
  const std::uint32_t notDrawn = Poly({{10, 10}, {60, 10}, {60, 60}}, 30900.0);
  t.polygons[notDrawn].flags |= PolyFlag::kNotDrawn;
  const std::uint32_t far = Poly({{10, 10}, {60, 10}, {60, 60}}, 30800.0);
  t.points[t.polygons[far].points[1]].screenDepth = -1;  // eye depth below -31000
  const std::uint32_t invisible =
      Poly({{10, 10}, {60, 10}, {60, 60}}, 30700.0, PolyFlag::kDefined | PolyFlag::kInvisible);
  const std::uint32_t broken = Poly({{10, 10}, {60, 10}, {60, 60}}, 30650.0);
  t.polygons[broken].points[2] = t.pointCount;  // outside the table
  const std::uint32_t plain = Poly({{10, 10}, {60, 10}, {60, 60}}, 30600.0);
  EXPECT_EQ(tester.HoveredPolygon(t, projector, 50, 20, false).polygon,
            static_cast<std::int32_t>(plain));
  EXPECT_EQ(tester.HoveredPolygon(t, projector, 50, 20, true).polygon,
            static_cast<std::int32_t>(invisible));
}

TEST_F(HoveredPolygonHit, PerspectiveTestsTheClippedOutline) {
  // A floor square running from in front of the eye to behind it, projected
  // for real: its far half is on screen, the near corners are behind the eye.
  EditorViewState x;
  ViewState v;
  const EditAreaLayout layout = LayoutForAreaSize(400, 300);
  const Projector persp(v, x, layout, true);
  t.pointCount = kReservedPoints;
  const std::uint32_t k = t.polygonCount++;
  Polygon& p = t.polygons[k];
  p = Polygon{};
  p.flags = PolyFlag::kDefined;
  const double corners[4][3] = {
      {-100, -50, -200}, {100, -50, -200}, {100, -50, 400}, {-100, -50, 400}};
  for (const auto& c : corners) p.points[p.pointCount++] = t.AddPoint(c[0], c[1], c[2]);
  ProjectAllPoints(t, persp);
  p.depth = 30000;
  // Just below the far edge, in the middle: inside the visible part.
  const Point& farLeft = t.points[p.points[0]];
  EXPECT_EQ(tester.HoveredPolygon(t, persp, 200, farLeft.screenY + 3, false).polygon,
            static_cast<std::int32_t>(k));
  EXPECT_EQ(tester.HoveredPolygon(t, persp, 200, farLeft.screenY - 3, false).polygon, -1);
  // Moved wholly behind the eye, nothing is left to hit.
  for (std::uint32_t c = 0; c < 4; ++c) t.points[p.points[c]].z += 1000;
  ProjectAllPoints(t, persp);
  EXPECT_EQ(tester.HoveredPolygon(t, persp, 200, 150, false).polygon, -1);
  for (int y = 0; y < 300; y += 7) {
    EXPECT_EQ(tester.HoveredPolygon(t, persp, 200, y, false).polygon, -1);
  }
}

TEST(WhichIsHovered, NearerPolygonWinsWhenOnAndEachModeKeepsWhatItTests) {
  const VectorHit v{9, 30000};
  const PolygonHit nearer{4, 30000.5}, equal{4, 30000.0}, far{4, 29000};
  const struct {
    const char* name;
    int mode;
    VectorHit vector;
    PolygonHit polygon;
    bool polygonsOn;
    std::uint32_t wantVector;
    int wantPolygon;
  } rows[] = {
      {"nearer polygon", EditorMode::kGrabColor, v, nearer, true, 0, 4},
      {"equal depth: the vector", EditorMode::kSetColor, v, equal, true, 9, -1},
      {"polygons off", EditorMode::kGrabColor, v, nearer, false, 9, -1},
      {"select vector", EditorMode::kSelectVector, v, far, true, 9, -1},
      {"select polygon", EditorMode::kSelectPolygon, v, far, true, 0, 4},
      {"no vector", EditorMode::kGrabColor, {}, far, true, 0, 4},
  };
  for (const auto& r : rows) {
    const HoverState h = ChooseHovered(r.mode, r.vector, r.polygon, r.polygonsOn);
    EXPECT_EQ(std::make_pair(h.vector, h.polygon), std::make_pair(r.wantVector, r.wantPolygon))
        << r.name;
    if (r.wantPolygon >= 0) {
      EXPECT_DOUBLE_EQ(h.polygonDepth, r.polygon.depth) << r.name;
    }
  }
}

TEST_F(HitFixture, UpdateHoverFollowsTheModeAndTheArea) {
  const std::uint32_t v = Line(0, 80, 300, 80);
  HoverState hover;
  hover.polygon = 7;
  UpdateHover(hover, tester, t, projector, EditorMode::kPlot, true, 100, 80, true, false);
  EXPECT_EQ(hover.polygon, 7);  // Plot mode leaves it as it was
  EXPECT_EQ(hover.vector, 0u);
  UpdateHover(hover, tester, t, projector, EditorMode::kSelectVector, true, 100, 80, true, false);
  EXPECT_EQ(hover.vector, v);
  EXPECT_EQ(hover.polygon, -1);
  UpdateHover(hover, tester, t, projector, EditorMode::kSelectVector, false, 100, 80, true, false);
  EXPECT_EQ(hover.vector, 0u);
  EXPECT_EQ(hover.polygon, -1);
}

}  // namespace
}  // namespace ws
