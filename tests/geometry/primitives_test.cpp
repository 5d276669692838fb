// Generation of the primitives, and the batching of the messages of a
// degenerate shape: each distinct message once with its count, the flat
// faces left out and counted.
#include "geometry/primitives.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "geometry_test_support.h"

namespace ws::test {
namespace {

using Coords = std::vector<double>;
using Indices = std::vector<std::uint32_t>;

// One row per dialog state. The fields: 'C'ircle: vectors, diameter,
// origin; c'Y'linder: slices, height, diameter, origin; 'S'phere: vertical,
// horizontal, diameter, origin; 'B'ox: height, width, depth, origin. Then the
// tables' counts beforehand (0: an empty object), and either the one "Bad
// Value" message ("-": refused without a word) or, for a shape made, the
// counts (reserved 7 points and 6 vectors included; every shape is merged,
// so a spoke or edge made twice counts once), the bounding box and the first
// and last "Defining Polygon" titles.
struct Row {
  char shape;
  std::uint32_t points, vectors;
  const char *a, *b, *c, *d;
  bool vectorsOnly;
  const char* message;
  std::uint32_t made[3] = {0, 0, 0};
  Coords low = {}, high = {};
  const char *firstTitle = "", *lastTitle = "";
};

TEST(Primitives, EachDialogStateRefusedOrMadeAsExpected) {
  // clang-format off
  const Row rows[] = {
      {'C', 0, 0, "", "", "", "", false, "Missing diameter"},
      {'C', 0, 0, "", "5001", "", "", false, "Diameter too big (5000 max)"},
      {'C', 0, 0, "", "5000", "", "", false, "Missing number of vectors"},
      {'C', 0, 0, "", "4", "", "", false, "Diameter too small (5 min)"},
      {'C', 0, 0, "0", "5", "", "", false, "Missing number of vectors"},
      {'C', 0, 0, "6665", "10", "", "", false, "Too many vectors (6664 max)"},  // (20000 - 6) / 3
      {'C', 0, 0, "6664", "10", "", "", false, "Missing Origin"},
      {'C', 0, 0, "3", "10", "", "", false, "You need at least 4 vectors to define a circle."},
      {'C', 0, 0, "4", "10", "1001,-1000,0", "", false, "Origin parameter too big (1000 max)"},
      {'C', 0, 0, "4", "10", "0,0,-1001", "", false, "Origin parameter too small (-1000 max)"},
      {'C', 0, 0, "4", "10", "1000,-1000,0", "", false, ""},
      {'C', 0, 0, "4", " 10 ", "0,0,+1000", "", false, ""},
      {'C', 0, 0, "4", "10", "99999999999,0,0", "", false, "Origin parameter too big (1000 max)"},
      {'C', 0, 0, "4", "10", "0,-99999999999,0", "", false, "Origin parameter too small (-1000 max)"},
      {'C', 0, 0, "4", "10", "0 ,0,-1001", "", false, ""},  // the comma must follow at once
      {'C', 0, 0, "4", "10", "1001", "", false, "Origin parameter too big (1000 max)"},
      {'C', 0, 0, "4", "10", "0,                      0,1001", "", false, "Origin parameter too big (1000 max)"},  // 30 characters
      {'C', 0, 0, "4", "10", "0,                       0,1001", "", false, ""},  // the 31st is cut off
      {'C', 19990, 0, "30", "10", "0,0,0", "", false, "Too many vectors (29 max)"},  // 20019 - points
      {'C', 19990, 0, "29", "10", "0,0,0", "", false, "Not enough room in the object for this circle: it would exceed the limit of 20000 points."},
      {'C', 19990, 0, "9", "10", "0,0,0", "", false, ""},
      {'Y', 0, 0, "", "", "", "", false, "Bad diameter"},
      {'Y', 0, 0, "", "", "5001", "", false, "Diameter too big (5000 max)"},
      {'Y', 0, 0, "", "", "4", "", false, "Diameter too small (5 min)"},
      {'Y', 0, 0, "", "", "10", "", false, "Bad Slices"},
      {'Y', 0, 0, "0", "", "10", "", false, "Bad Slices"},
      {'Y', 0, 0, "11", "", "10", "", false, "Diameter must equal to or greater than the number of slices"},
      {'Y', 0, 0, "10", "", "10", "", false, "Bad height"},
      {'Y', 0, 0, "2", "", "10", "", false, "Too few slices (3 min)"},
      {'Y', 0, 0, "2857", "", "5000", "", false, "Too many slices (2856 max)"},  // (20000 - 6) / 7
      {'Y', 0, 0, "2856", "", "5000", "", false, "Bad height"},
      {'Y', 0, 0, "3", "2", "10", "", false, "Bad height"},
      {'Y', 0, 0, "3", "3", "10", "", false, "Bad Origin"},
      {'Y', 0, 0, "10", "4294967295", "10", "anything", false, ""},  // no height bound, any origin text
      {'Y', 0, 0, "10", "4294967296", "10", "", false, "Bad height"},  // 32 bits at most
      {'Y', 0, 0, "10", "-3", "10", "", false, "Bad height"},
      {'Y', 0, 0, "10", "1 2", "10", "", false, "Bad height"},
      {'Y', 0, 0, "10", "12a", "10", "", false, "Bad height"},
      {'S', 0, 0, "", "", "", "", false, "-"},
      {'S', 0, 0, "2", "", "", "", false, "Bad Vertical Slices (3 min)."},
      {'S', 0, 0, "3", "", "", "", false, "Bad Horizontal Slices"},
      {'S', 0, 0, "3", "0", "", "", false, "Bad Horizontal Slices"},
      {'S', 0, 0, "3", "2", "", "", false, "Bad Horizontal Slices (3 min)."},
      {'S', 0, 0, "3", "3", "", "", false, "Bad Diameter"},
      {'S', 0, 0, "100", "100", "", "", false, "Too many vectors. Reduce vertical or horizontal slices (max 69x69)."},  // (4m + 6) m <= 19994 up to m = 69
      {'S', 0, 0, "4294967295", "4294967295", "", "", false, "Too many vectors. Reduce vertical or horizontal slices (max 69x69)."},
      {'S', 0, 542, "69", "70", "", "", false, "Too many vectors. Reduce vertical or horizontal slices (max 69x69)."},  // room 19458 = (4 69 + 6) 69 exactly
      {'S', 0, 542, "69", "69", "100", "0,0,0", false, ""},
      {'S', 0, 0, "3", "3", "5001", "", false, "Diameter too big (5000 max)"},
      {'S', 0, 0, "3", "3", "5000", "", false, "Bad Origin"},
      {'S', 0, 0, "3", "3", "4", "", false, "Diameter too small (5 min)"},
      {'B', 0, 0, "", "", "", "", false, "Bad width"},
      {'B', 0, 0, "", "5001", "", "", false, "Width too big (5000 max)"},
      {'B', 0, 0, "", "0", "", "", false, "Width too small (5 min)"},
      {'B', 0, 0, "", "5", "", "", false, "Bad height"},
      {'B', 0, 0, "5001", "5000", "", "", false, "Height too big (5000 max)"},
      {'B', 0, 0, "4", "5", "", "", false, "Height too small (5 min)"},
      {'B', 0, 0, "5", "5", "", "", false, "Bad depth"},
      {'B', 0, 0, "5", "5", "5001", "", false, "Depth too big (5000 max)"},
      {'B', 0, 0, "5", "5", "0", "", false, "Depth too small (5 min)"},
      {'B', 0, 0, "5", "5", "5", "", false, "Bad Origin"},
      {'C', 0, 0, "4", "10", "0,0,0", "", false, "", {12, 14, 4}, {-5, -5, 0}, {5, 5, 0}, "Defining Polygon 0", "Defining Polygon 3"},
      {'C', 0, 0, "4", "10", "10,0,0", "", true, "", {12, 14, 0}, {-15, -5, 0}, {0, 5, 0}},  // the centre stays at 0
      {'Y', 0, 0, "4", "5", "10", "0,-10,0", false, "", {17, 26, 12}, {-5, -12, -5}, {5, -7, 5}, "Defining Polygon 0", "Defining Polygon 3"},  // trunc(-7.5); each group counts from 0
      {'S', 0, 0, "3", "3", "100", "0,0,0", true, "", {15, 21, 0}, {-21, -50, -37}, {43, 50, 37}},
      {'S', 0, 0, "4", "6", "200", "0,0,0", false, "", {27, 48, 24}, {-100, -100, -86}, {100, 100, 86}, "Defining Polygon 0", "Defining Polygon 23"},
      {'B', 0, 0, "10", "10", "10", "0,0,0", false, "", {15, 18, 6}, {-5, -5, -5}, {5, 5, 5}, "Defining Polygon 1", "Defining Polygon 6"},
      {'B', 0, 0, "10", "5", "10", "100,0,-20", true, "", {15, 18, 0}, {98, -5, -25}, {102, 5, -15}},  // 5 / 2 = 2
  };
  auto create = [](GeometryFixture& f, const Row& r) {
    switch (r.shape) {
      case 'C': return CreateCircle(f.ctx, {r.a, r.b, r.c, r.vectorsOnly});
      case 'Y': return CreateCylinder(f.ctx, {r.a, r.b, r.c, r.d, r.vectorsOnly});
      case 'S': return CreateSphere(f.ctx, {r.a, r.b, r.c, r.d, r.vectorsOnly});
      default: return CreateCube(f.ctx, {r.a, r.b, r.c, r.d, r.vectorsOnly});
    }
  };
  // clang-format on
  for (const Row& r : rows) {
    GeometryFixture f;
    if (r.points) f.t().pointCount = r.points;
    if (r.vectors) f.t().vectorCount = r.vectors;
    const std::uint32_t points = f.t().pointCount;
    const std::string name =
        std::string(1, r.shape) + " " + r.a + "|" + r.b + "|" + r.c + "|" + r.d;
    const std::string message = r.message;
    EXPECT_EQ(create(f, r), message.empty()) << name;
    EXPECT_FALSE(f.ui.busy()) << name;
    if (!message.empty()) {
      const std::vector<RecordedMessage> want{{"Bad Value", message}};
      EXPECT_EQ(f.ui.Messages(), message == "-" ? std::vector<RecordedMessage>{} : want) << name;
      EXPECT_EQ(f.t().pointCount, points) << name;
      continue;
    }
    if (r.made[0] == 0) continue;  // small shapes with many slices have flat faces
    EXPECT_EQ(std::make_tuple(f.ui.Messages().size(), f.t().pointCount, f.t().vectorCount,
                              f.t().polygonCount),
              std::make_tuple(0u, r.made[0], r.made[1], r.made[2]))
        << name;
    Coords low = f.Coords(kReservedPoints), high = low;
    for (std::uint32_t i = kReservedPoints; i < f.t().pointCount; ++i) {
      const Coords p = f.Coords(i);
      for (int d = 0; d < 3; ++d)
        low[d] = std::min(low[d], p[d]), high[d] = std::max(high[d], p[d]);
    }
    EXPECT_EQ(std::make_pair(low, high), std::make_pair(r.low, r.high)) << name;
    for (std::uint32_t i = kReservedVectors; i < f.t().vectorCount; ++i) {
      EXPECT_EQ(f.t().vectors[i].selected, kSelected) << name << " vector " << i;
    }
    EXPECT_EQ(std::make_pair(f.feedback.titles.size(), f.feedback.redraws),
              std::make_pair(std::size_t{r.made[2]}, static_cast<int>(r.made[2])))
        << name;
    if (r.made[2] > 0) {
      EXPECT_EQ(std::make_pair(f.feedback.titles.front(), f.feedback.titles.back()),
                std::make_pair(std::string(r.firstTitle), std::string(r.lastTitle)))
          << name;
    }
    // Seen from outside, every face of the closed shapes winds as the cube's
    // do: its right-hand normal points into the solid, at the box's centre.
    for (std::uint32_t k = 0; r.shape != 'C' && k < f.t().polygonCount; ++k) {
      const Indices loop = f.PointsOf(k);
      const std::array<double, 3> n = f.Normal(k);
      double inward = 0;
      for (int d = 0; d < 3; ++d) {
        double mid = 0;
        for (std::uint32_t p : loop) mid += f.Coords(p)[d] / loop.size();
        inward += n[d] * ((r.low[d] + r.high[d]) / 2 - mid);
      }
      EXPECT_GT(inward, 0) << name << " polygon " << k;
    }
  }
}

TEST(Primitives, MemoryFailuresAddNothing) {
  GeometryFixture f;
  f.rt.memory.FailAfter(0);
  EXPECT_FALSE(GenerateCircle(f.ctx, {4, 10, {}, false}));
  EXPECT_FALSE(GenerateCylinder(f.ctx, {4, 10, 10, {}, false}));
  for (std::size_t succeed = 0; succeed < 4; ++succeed) {
    f.rt.memory.FailAfter(succeed);
    EXPECT_FALSE(GenerateSphere(f.ctx, {3, 3, 100, {}, false}));
  }
  f.rt.memory.FailAfter(std::nullopt);
  EXPECT_EQ(f.ui.MessageTexts(),
            (std::vector<std::string>{
                "Not enough memory. Decrease number of vectors.", "Not Enough Memory",
                "Not enough memory for top.", "Not enough memory for bottom.",
                "Not enough memory for center.", "Not enough memory for points."}));
  EXPECT_EQ(
      std::make_tuple(f.ui.Messages()[0].caption, f.t().pointCount, f.t().vectorCount, f.ui.busy()),
      std::make_tuple(std::string(kGeneralErrorCaption), 7u, 6u, false));
}

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
  EXPECT_EQ(ui.Messages(), (Messages{{"Notification", "a (2 times)"}, {"General Error", "a"},
                                     {"Notification", "b"}, {"Notification", "b"}}));
  EXPECT_EQ(SkippedFacesMessage(1), "Skipped 1 degenerate polygon with no area.");
}

TEST(PrimitiveMessages, DegenerateShapesShowEachMessageOnceAndSkipFlatFaces) {
  const std::string convex = "Warning: Bad polygon (not convex). Check ";
  GeometryFixture sphere, circle;
  ASSERT_TRUE(CreateSphere(sphere.ctx, {"60", "60", "20", "0,0,0", false}));
  ASSERT_TRUE(CreateCircle(circle.ctx, {"100", "5", "0,0,0", false}));
  EXPECT_EQ(sphere.ui.Messages(),
            (Messages{{"Notification", convex + "x/z plane. (308 times)"},
                      {"Notification", "Bad polygon. Please try again. (420 times)"},
                      {"Notification", convex + "x/y plane. (118 times)"},
                      {"Notification", convex + "z/y plane. (118 times)"},
                      {"Notification", "Skipped 1992 degenerate polygons with no area."}}));
  EXPECT_EQ(circle.ui.Messages(),
            (Messages{{"Notification", "Skipped 84 degenerate polygons with no area."}}));
  EXPECT_EQ(std::make_pair(sphere.t().polygonCount, circle.t().polygonCount),
            std::make_pair(3600u - 1992 - 420, 100u - 84));
  for (GeometryFixture* f : {&sphere, &circle}) {
    for (std::uint32_t k = 0; k < f->t().polygonCount; ++k)
      EXPECT_NE(f->Normal(k), (std::array<double, 3>{0, 0, 0})) << k;
  }
}

}  // namespace
}  // namespace ws::test
