// A primitive with degenerate parameters fails or flattens hundreds of
// polygons alike: the command shows each distinct message once with its
// count, leaves the flat faces out, and says how many it left out.
#include <gtest/gtest.h>

#include <functional>

#include "geometry/primitives.h"
#include "geometry_test_support.h"

namespace ws::test {
namespace {

using Messages = std::vector<RecordedMessage>;

TEST(MessageBatch, HoldsUntilTheOutermostEndsAndCountsRepeats) {
  ScriptedUi ui;
  {
    MessageBatch outer(ui);
    ui.ShowNote("a");
    {
      MessageBatch inner(ui);
      ui.ShowError("a");  // another caption: another message
      ui.ShowNote("a");
    }
    EXPECT_TRUE(ui.Messages().empty());
    ui.ShowNote("b");
  }
  ui.ShowNote("b");  // after the batch: at once
  EXPECT_EQ(ui.Messages(), (Messages{{"Notification", "a (2 times)"},
                                     {"General Error", "a"},
                                     {"Notification", "b"},
                                     {"Notification", "b"}}));
}

TEST(PrimitiveMessages, DegenerateShapesShowEachMessageOnceAndSkipFlatFaces) {
  const std::string convex = "Warning: Bad polygon (not convex). Check ";
  struct Row {
    const char* name;
    std::function<bool(GeometryContext&)> create;
    Messages messages;
    std::uint32_t polygons;
  };
  const Row rows[] = {
      {"sphere 60 x 60, diameter 20",
       [](GeometryContext& c) {
         return CreateSphere(c, {"60", "60", "20", "0,0,0", false});
       },
       {{"Notification", convex + "x/z plane. (308 times)"},
        {"Notification", "Bad polygon. Please try again. (420 times)"},
        {"Notification", convex + "x/y plane. (118 times)"},
        {"Notification", convex + "z/y plane. (118 times)"},
        {"Notification", "Skipped 1992 degenerate polygons with no area."}},
       3600 - 1992 - 420},
      {"circle of 100, diameter 5",
       [](GeometryContext& c) {
         return CreateCircle(c, {"100", "5", "0,0,0", false});
       },
       {{"Notification", "Skipped 84 degenerate polygons with no area."}},
       100 - 84},
  };
  for (const Row& row : rows) {
    GeometryFixture f;
    ASSERT_TRUE(row.create(f.ctx)) << row.name;
    EXPECT_EQ(f.ui.Messages(), row.messages) << row.name;
    EXPECT_EQ(f.t().polygonCount, row.polygons) << row.name;
    for (std::uint32_t k = 0; k < f.t().polygonCount; ++k) {
      EXPECT_NE(f.Normal(k), (std::array<double, 3>{0, 0, 0})) << row.name << ", polygon " << k;
    }
  }
  EXPECT_EQ(SkippedFacesMessage(1), "Skipped 1 degenerate polygon with no area.");
}

}  // namespace
}  // namespace ws::test
