#include <gtest/gtest.h>

#include <climits>

#include "geometry/primitives.h"
#include "geometry_test_support.h"

namespace ws::test {
namespace {

// Runs `validate` on each step's fields and expects exactly the step's
// message under "Bad Value" (or no message at all for an empty text).
template <typename Fields, typename Validate>
void ExpectMessages(GeometryFixture& f, Validate validate,
                    const std::vector<std::pair<Fields, std::string>>& steps) {
  for (const auto& [fields, message] : steps) {
    f.ui.ClearMessages();
    EXPECT_FALSE(validate(fields, f.t(), f.ui).has_value()) << message;
    if (message.empty()) {
      EXPECT_TRUE(f.ui.Messages().empty());
    } else {
      EXPECT_EQ(f.ui.Messages(), (std::vector<RecordedMessage>{{"Bad Value", message}}));
    }
  }
}

TEST(ReadDialogNumber, DigitsOnlyWithinThirtyTwoBits) {
  EXPECT_EQ(ReadDialogNumber("42"), 42u);
  EXPECT_EQ(ReadDialogNumber("  7 "), 7u);
  EXPECT_EQ(ReadDialogNumber("0"), 0u);
  EXPECT_EQ(ReadDialogNumber("4294967295"), 4294967295u);
  EXPECT_FALSE(ReadDialogNumber("4294967296"));
  EXPECT_FALSE(ReadDialogNumber(""));
  EXPECT_FALSE(ReadDialogNumber("   "));
  EXPECT_FALSE(ReadDialogNumber("-3"));
  EXPECT_FALSE(ReadDialogNumber("12a"));
  EXPECT_FALSE(ReadDialogNumber("1 2"));
}

TEST(ReadOrigin, ThreeSignedNumbersSeparatedByCommas) {
  EXPECT_EQ(ReadOrigin("10,-20,30"), (PrimitiveOrigin{10, -20, 30}));
  EXPECT_EQ(ReadOrigin(" 1, +2, 3"), (PrimitiveOrigin{1, 2, 3}));
  EXPECT_EQ(ReadOrigin("5,6"), (PrimitiveOrigin{5, 6, 0}));
  EXPECT_EQ(ReadOrigin("5 ,6,7"), (PrimitiveOrigin{5, 0, 0}));  // the comma must follow at once
  EXPECT_EQ(ReadOrigin("x"), (PrimitiveOrigin{0, 0, 0}));
  EXPECT_EQ(ReadOrigin("99999999999,0,-99999999999"), (PrimitiveOrigin{INT_MAX, 0, INT_MIN}));
  // Only the first 30 characters count: the third number is cut off.
  EXPECT_EQ(ReadOrigin("1," + std::string(26, ' ') + "2,3"), (PrimitiveOrigin{1, 2, 0}));
  EXPECT_EQ(ReadOrigin("1," + std::string(25, ' ') + "2,3"), (PrimitiveOrigin{1, 2, 3}));
}

TEST(ValidateCircle, MessagesInOrder) {
  GeometryFixture f;
  auto c = [](std::string n, std::string d, std::string o) { return CircleFields{n, d, o, false}; };
  ExpectMessages<CircleFields>(
      f, ValidateCircle,
      {{c("", "", ""), "Missing diameter"},
       {c("", "0", ""), "Missing diameter"},
       {c("", "5001", ""), "Diameter too big (5000 max)"},
       {c("", "4", ""), "Diameter too small (5 min)"},
       {c("", "10", ""), "Missing number of vectors"},
       {c("0", "10", ""), "Missing number of vectors"},
       {c("6665", "10", ""), "Too many vectors (6664 max)"},  // (20000 - 6) / 3
       {c("3", "10", ""), "You need at least 4 vectors to define a circle."},
       {c("4", "10", ""), "Missing Origin"},
       {c("4", "10", "1001,-2000,0"), "Origin parameter too big (1000 max)"},
       {c("4", "10", "0,0,-1001"), "Origin parameter too small (-1000 max)"}});
  f.ui.ClearMessages();
  const auto p = ValidateCircle(c("6664", "5000", "1000,-1000,0"), f.t(), f.ui);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->vectors, 6664u);
  EXPECT_EQ(p->diameter, 5000u);
  EXPECT_EQ(p->origin, (PrimitiveOrigin{1000, -1000, 0}));
  EXPECT_TRUE(f.ui.Messages().empty());
}

TEST(ValidateCircle, PointBoundAndTheCapacityCheckBehindIt) {
  GeometryFixture f;
  f.t().pointCount = 19990;  // 20019 - Pc = 29 is the smaller bound
  auto c = [](std::string n) { return CircleFields{n, "10", "0,0,0", true}; };
  ExpectMessages<CircleFields>(
      f, ValidateCircle,
      {{c("30"), "Too many vectors (29 max)"},
       // 29 passes that bound, but 30 more points do not fit 20000.
       {c("29"),
        "Not enough room in the object for this circle: it would exceed the limit of 20000 "
        "points."}});
  f.ui.ClearMessages();
  EXPECT_TRUE(ValidateCircle(c("9"), f.t(), f.ui));
}

TEST(ValidateCylinder, MessagesInOrder) {
  GeometryFixture f;
  auto c = [](std::string n, std::string h, std::string d, std::string o) {
    return CylinderFields{n, h, d, o, false};
  };
  ExpectMessages<CylinderFields>(
      f, ValidateCylinder,
      {{c("", "", "", ""), "Bad diameter"},
       {c("", "", "0", ""), "Bad diameter"},
       {c("", "", "5001", ""), "Diameter too big (5000 max)"},
       {c("", "", "4", ""), "Diameter too small (5 min)"},
       {c("", "", "10", ""), "Bad Slices"},
       {c("0", "", "10", ""), "Bad Slices"},
       {c("11", "", "10", ""), "Diameter must equal to or greater than the number of slices"},
       {c("2", "", "10", ""), "Too few slices (3 min)"},
       {c("2857", "", "5000", ""), "Too many slices (2856 max)"},  // (20000 - 6) / 7
       {c("8", "", "10", ""), "Bad height"},
       {c("8", "2", "10", ""), "Bad height"},
       {c("8", "3", "10", ""), "Bad Origin"}});
  f.ui.ClearMessages();
  const auto p = ValidateCylinder(c("10", "3000000", "10", "anything"), f.t(), f.ui);
  ASSERT_TRUE(p);  // no upper bound on the height; the origin is not checked
  EXPECT_EQ(p->height, 3000000u);
  EXPECT_EQ(p->origin, (PrimitiveOrigin{0, 0, 0}));
}

TEST(ValidateSphere, MessagesInOrder) {
  GeometryFixture f;
  auto s = [](std::string v, std::string h, std::string d, std::string o) {
    return SphereFields{v, h, d, o, false};
  };
  ExpectMessages<SphereFields>(
      f, ValidateSphere,
      {{s("", "", "", ""), ""},  // stays open without a word
       {s("0", "", "", ""), ""},
       {s("2", "", "", ""), "Bad Vertical Slices (3 min)."},
       {s("3", "", "", ""), "Bad Horizontal Slices"},
       {s("3", "0", "", ""), "Bad Horizontal Slices"},
       {s("3", "2", "", ""), "Bad Horizontal Slices (3 min)."},
       // (4 100 + 3) 100 + 300 > 19994; (4m + 6) m <= 19994 up to m = 69.
       {s("100", "100", "", ""),
        "Too many vectors. Reduce vertical or horizontal slices (max 69x69)."},
       {s("4294967295", "4294967295", "", ""),
        "Too many vectors. Reduce vertical or horizontal slices (max 69x69)."},
       {s("3", "3", "", ""), "Bad Diameter"},
       {s("3", "3", "5001", ""), "Diameter too big (5000 max)"},
       {s("3", "3", "0", ""), "Diameter too small (5 min)"},
       {s("3", "3", "4", ""), "Diameter too small (5 min)"},
       {s("3", "3", "100", ""), "Bad Origin"}});
  f.ui.ClearMessages();
  EXPECT_TRUE(ValidateSphere(s("69", "69", "100", "0,0,0"), f.t(), f.ui));
  EXPECT_TRUE(f.ui.Messages().empty());
}

TEST(ValidateCube, MessagesInOrder) {
  GeometryFixture f;
  auto c = [](std::string h, std::string w, std::string d, std::string o) {
    return CubeFields{h, w, d, o, false};
  };
  ExpectMessages<CubeFields>(f, ValidateCube,
                             {{c("", "", "", ""), "Bad width"},
                              {c("", "5001", "", ""), "Width too big (5000 max)"},
                              {c("", "0", "", ""), "Width too small (5 min)"},
                              {c("", "5", "", ""), "Bad height"},
                              {c("5001", "5", "", ""), "Height too big (5000 max)"},
                              {c("4", "5", "", ""), "Height too small (5 min)"},
                              {c("5", "5", "", ""), "Bad depth"},
                              {c("5", "5", "5001", ""), "Depth too big (5000 max)"},
                              {c("5", "5", "0", ""), "Depth too small (5 min)"},
                              {c("5", "5", "5", ""), "Bad Origin"}});
  f.ui.ClearMessages();
  const auto p = ValidateCube(c("20", "10", "30", "1,2,3"), f.t(), f.ui);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->height, 20u);
  EXPECT_EQ(p->width, 10u);
  EXPECT_EQ(p->depth, 30u);
}

}  // namespace
}  // namespace ws::test
