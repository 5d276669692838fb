#include "editor/polygon_define.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "editor/selection.h"
#include "geometry/polygon_define.h"
#include "interaction_test_support.h"
#include "model/undo.h"

namespace ws {
namespace {

using test::AddP;
using test::P3;

class DefineTest : public test::InteractionTest {
 protected:
  std::uint32_t Vec(std::uint32_t a, std::uint32_t b, bool selected = true) {
    const std::uint32_t v = t().AddVector(a, b);
    t().vectors[v].selected = selected ? kSelected : kUnselected;
    return v;
  }
  // A closed loop of selected vectors through `points` in order.
  void Loop(const std::vector<P3>& points) {
    std::vector<std::uint32_t> ids;
    for (const P3& p : points) ids.push_back(AddP(t(), p));
    for (std::size_t i = 0; i < ids.size(); ++i) Vec(ids[i], ids[(i + 1) % ids.size()]);
  }
  bool AnyVectorMarked() {
    for (std::uint32_t i = 0; i < t().vectorCount; ++i) {
      if (t().vectors[i].selected != kUnselected) return true;
    }
    return false;
  }
  std::vector<std::uint32_t> PointsOf(std::uint32_t k) {
    const Polygon& p = t().polygons[k];
    return {p.points, p.points + p.pointCount};
  }
};

TEST_F(DefineTest, ATriangleStartsAtTheLowestVectorsFirstPoint) {
  const std::uint32_t a = AddP(t(), {0, 0, 0}), b = AddP(t(), {40, 0, 0}),
                      c = AddP(t(), {0, 40, 0});
  const std::uint32_t v6 = Vec(b, c), v7 = Vec(a, c), v8 = Vec(a, b);
  const std::int32_t k = DefinePolygon(t(), f.ui, 0, 44);
  ASSERT_EQ(k, 0);
  const Polygon& poly = t().polygons[0];
  EXPECT_EQ(PointsOf(0), (std::vector<std::uint32_t>{b, a, c}));
  EXPECT_EQ(std::vector<std::uint32_t>(poly.vectors, poly.vectors + 3),
            (std::vector<std::uint32_t>{v6, v7, v8}));
  EXPECT_EQ(std::make_tuple(poly.flags, int(poly.frontColor), poly.frontFill, t().polygonCount),
            std::make_tuple(0x502u, 44, FillWord(44), 1u));
  EXPECT_FALSE(AnyVectorMarked());
  EXPECT_TRUE(Messages().empty());
}

TEST_F(DefineTest, ANonZeroVectorIsOnlyMarked) {
  const std::uint32_t v = Vec(AddP(t(), {0, 0, 0}), AddP(t(), {1, 0, 0}), false);
  EXPECT_EQ(DefinePolygon(t(), f.ui, v, 3), 0);
  EXPECT_EQ(t().vectors[v].selected, kSelected);
  EXPECT_EQ(t().polygonCount, 0u);
  EXPECT_EQ(DefinePolygon(t(), f.ui, 2, 3), 0);  // an axis is never marked
  EXPECT_EQ(t().vectors[2].selected, kUnselected);
}

TEST_F(DefineTest, RefusalsGiveTheirMessageAndWriteNothing) {
  std::vector<P3> ring;  // 151 vectors in one loop: one too many
  for (int i = 0; i < 151; ++i)
    ring.push_back({std::cos(i * 0.0416) * 100, std::sin(i * 0.0416) * 100, 0});
  const struct {
    const char* name;
    std::function<void()> build;
    std::string message;
    bool selectionKept;
  } rows[] = {
      {"stray vector",
       [&] {
         Loop({{0, 0, 0}, {40, 0, 0}, {40, 40, 0}, {0, 40, 0}});
         Vec(AddP(t(), {100, 100, 0}), AddP(t(), {120, 100, 0}));
       },
       "Bad polygon. Please try again.", false},
      {"open chain",
       [&] {
         const std::uint32_t a = AddP(t(), {0, 0, 0}), c = AddP(t(), {0, 40, 0});
         Vec(a, AddP(t(), {40, 0, 0}));
         Vec(a, c);
         Vec(c, AddP(t(), {40, 40, 0}));
       },
       "Points do not connect to define a polygon.", false},
      {"two vectors",
       [&] {
         Vec(AddP(t(), {0, 0, 0}), AddP(t(), {40, 0, 0}));
         Vec(AddP(t(), {0, 0, 0}), AddP(t(), {0, 40, 0}));
       },
       "At least 3 verticies are required to define a polygon.", true},
      {"151 vectors", [&] { Loop(ring); }, std::string(kPolygonTooManyVectors), true},
  };
  for (const auto& r : rows) {
    t().vectorCount = kReservedVectors;
    t().pointCount = kReservedPoints;
    f.ui.ClearMessages();
    r.build();
    EXPECT_EQ(DefinePolygon(t(), f.ui, 0, 3), -1) << r.name;
    EXPECT_EQ(Messages(), std::vector<std::string>{r.message}) << r.name;
    EXPECT_EQ(t().polygonCount, 0u) << r.name;
    EXPECT_EQ(t().polygons[0].pointCount, 0u) << r.name;
    EXPECT_EQ(t().vectors[kReservedVectors + 1].selected, r.selectionKept ? kSelected : kUnselected)
        << r.name;
  }
  // 150 vectors are just allowed.
  t().vectorCount = kReservedVectors;
  t().pointCount = kReservedPoints;
  ring.pop_back();
  Loop(ring);
  EXPECT_EQ(DefinePolygon(t(), f.ui, 0, 3), 0);
  EXPECT_EQ(t().polygons[0].pointCount, 150u);
}

TEST_F(DefineTest, ConvexityWarningsOnlyForTheBentPlane) {
  Loop({{0, 0, 0}, {40, 0, 0}, {40, 40, 0}, {0, 40, 0}});
  EXPECT_EQ(DefinePolygon(t(), f.ui, 0, 3), 0);
  EXPECT_TRUE(Messages().empty());

  // An L-shaped hexagon in the plane z = 0.
  Loop({{0, 0, 0}, {20, 0, 0}, {20, 10, 0}, {10, 10, 0}, {10, 20, 0}, {0, 20, 0}});
  EXPECT_EQ(DefinePolygon(t(), f.ui, 0, 3), 1);
  EXPECT_EQ(Messages(),
            std::vector<std::string>{"Warning: Bad polygon (not convex). Check x/y plane."});
  EXPECT_EQ(t().polygons[1].pointCount, 6u);
  EXPECT_EQ(t().polygonCount, 2u);
}

TEST_F(DefineTest, AFullPolygonTableRefusesAtItsLimit) {
  Loop({{0, 0, 5}, {40, 0, 5}, {40, 40, 5}});
  t().polygonCount = kMaxPolygons;
  EXPECT_EQ(DefinePolygonButton(ctx), -1);
  EXPECT_EQ(Messages(), std::vector<std::string>{std::string(kPolygonTableFull)});
  EXPECT_EQ(t().polygonCount, kMaxPolygons);
  t().polygonCount = kMaxPolygons - 1;
  EXPECT_EQ(DefinePolygonButton(ctx), std::int32_t(kMaxPolygons - 1));
  t().polygonCount = 0;
}

TEST_F(DefineTest, TheButtonTurnsABackFacingPolygonToTheViewer) {
  SetCurrentColour(state, 21);
  const std::uint32_t a = AddP(t(), {0, 0, 0}), b = AddP(t(), {40, 0, 0}),
                      c = AddP(t(), {0, 40, 0});
  // Lowest vector C-B: the loop C, A, B runs anticlockwise on the screen
  // in the Front view, so it is drawn from the back.
  Vec(c, b);
  Vec(a, c);
  Vec(a, b);
  const std::int32_t k = DefinePolygonButton(ctx);
  ASSERT_EQ(k, 0);
  EXPECT_EQ(UndoLabel(), UndoLabel::kDefine);
  EXPECT_EQ(PointsOf(0), (std::vector<std::uint32_t>{b, a, c}));
  EXPECT_FALSE(PolygonFacesAway(t(), 0));
  EXPECT_EQ(t().polygons[0].frontColor, 21);
  EXPECT_FALSE(AnyVectorMarked());
  EXPECT_TRUE(shell.redraw);

  // The same loop drawn the other way round is left as it is.
  const std::uint32_t e = AddP(t(), {0, 0, 10}), g = AddP(t(), {40, 0, 10}),
                      h = AddP(t(), {0, 40, 10});
  Vec(g, h);
  Vec(e, h);
  Vec(e, g);
  ASSERT_EQ(DefinePolygonButton(ctx), 1);
  EXPECT_EQ(PointsOf(1), (std::vector<std::uint32_t>{g, e, h}));
  EXPECT_FALSE(PolygonFacesAway(t(), 1));
}

TEST_F(DefineTest, FacingFollowsTheViewTheButtonIsPressedIn) {
  // From the back, the loop that faces the front viewer faces away.
  TurnToView(m().view, kViewBack, nullptr);
  const std::uint32_t a = AddP(t(), {0, 0, 0}), b = AddP(t(), {40, 0, 0}),
                      c = AddP(t(), {0, 40, 0});
  Vec(b, c);
  Vec(a, c);
  Vec(a, b);
  ASSERT_EQ(DefinePolygonButton(ctx), 0);
  EXPECT_EQ(PointsOf(0), (std::vector<std::uint32_t>{c, a, b}));
}

TEST_F(DefineTest, HeadlessDefinitionChecksFacingOnTheGivenProjection) {
  const std::uint32_t a = AddP(t(), {0, 0, 0}), b = AddP(t(), {40, 0, 0}),
                      c = AddP(t(), {0, 40, 0});
  Vec(c, b);
  Vec(a, c);
  Vec(a, b);
  ViewState front;
  EditorViewState extra;
  const Projector projector(front, extra, LayoutForAreaSize(800, 600), false);
  ASSERT_EQ(DefinePolygonInView(m(), 9, projector), 0);
  EXPECT_EQ(PointsOf(0), (std::vector<std::uint32_t>{b, a, c}));
  EXPECT_EQ(t().polygons[0].frontColor, 9);
  EXPECT_EQ(UndoLabel(), UndoLabel::kDefine);
  EXPECT_FALSE(AnyVectorMarked());
}

}  // namespace
}  // namespace ws
