#include "editor/interaction/polygon_define.h"

#include <gtest/gtest.h>


#include "editor/interaction/selection.h"
#include "geometry/polygon_define.h"
#include "interaction_test_support.h"
#include "model/undo.h"

namespace ws {
namespace {

using test::AddP;

class DefineTest : public test::InteractionTest {
 protected:
  std::uint32_t Vec(std::uint32_t a, std::uint32_t b, bool selected = true) {
    const std::uint32_t v = t().AddVector(a, b);
    t().vectors[v].selected = selected ? kSelected : kUnselected;
    return v;
  }
  std::vector<std::uint32_t> PointsOf(std::uint32_t k) {
    const Polygon& p = t().polygons[k];
    return {p.points, p.points + p.pointCount};
  }
};

TEST_F(DefineTest, ANonZeroVectorIsOnlyMarked) {
  const std::uint32_t v = Vec(AddP(t(), {0, 0, 0}), AddP(t(), {1, 0, 0}), false);
  EXPECT_EQ(DefinePolygon(t(), f.ui, v, 3), 0);
  EXPECT_EQ(t().vectors[v].selected, kSelected);
  EXPECT_EQ(t().polygonCount, 0u);
  EXPECT_EQ(DefinePolygon(t(), f.ui, 2, 3), 0);  // an axis is never marked
  EXPECT_EQ(t().vectors[2].selected, kUnselected);
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

}  // namespace
}  // namespace ws
