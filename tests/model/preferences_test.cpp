#include "model/preferences.h"

#include <gtest/gtest.h>

#include <limits>
#include <tuple>


namespace ws {
namespace {

using Bytes = std::vector<std::uint8_t>;

// One record with every flag's offset distinct: 0,1,0,1,1,0,0,1, then
// 2.0 = 0x4000000000000000 and 5000.0 = 0x40B3880000000000.
TEST(PreferencesRecord, LayoutLimitsAndFallbacks) {
  Preferences p;
  p.gridShown = false, p.vectorsShown = false, p.perspectiveOn = true, p.soundEffectsOn = false;
  p.instantViewChange = true, p.viewHalfWidth = 2.0, p.viewHalfHeight = 5000;
  Bytes expected(80, 0);
  for (int i : {2, 6, 8, 14}) expected[i] = 1;
  expected[31] = 0x40;
  expected[37] = 0x88, expected[38] = 0xB3, expected[39] = 0x40;
  auto bytes = EncodePreferences(p);
  EXPECT_EQ(std::make_tuple(Bytes(bytes.begin(), bytes.end()), DecodePreferences(bytes)),
            std::make_tuple(expected, std::optional(p)));
  Bytes b(bytes.begin(), bytes.end());
  b[6] = 0x00, b[7] = 0x80;  // perspective i16 -32768: on
  EXPECT_EQ(std::make_tuple(DecodePreferences(b)->perspectiveOn,
                            DecodePreferences(Bytes(b.begin(), b.begin() + 39)).has_value(),
                            DecodePreferences(Bytes(b.begin(), b.begin() + 40)).has_value()),
            std::make_tuple(true, false, true));
  // Half sizes outside what the prompts accept (1 to 5000) fall back to the defaults.
  for (double bad : {0.5, 5000.5, -100.0, std::numeric_limits<double>::quiet_NaN(),
                     std::numeric_limits<double>::infinity()}) {
    p.viewHalfWidth = p.viewHalfHeight = bad;
    auto d = DecodePreferences(EncodePreferences(p));
    EXPECT_EQ(std::tie(d->viewHalfWidth, d->viewHalfHeight), std::make_tuple(100.0, 150.0)) << bad;
  }
  p.viewHalfWidth = 1.0, p.viewHalfHeight = 5000.0;
  EXPECT_EQ(DecodePreferences(EncodePreferences(p)), p);
}

}  // namespace
}  // namespace ws
