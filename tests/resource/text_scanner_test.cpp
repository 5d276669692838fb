#include "resource/text_scanner.h"

#include <gtest/gtest.h>

namespace ws {
namespace {

TEST(TextScanner, WordsHexAndNumbersStopAtTheirLimitAndLeaveTheRest) {
  TextScanner in("  [COLORS256_RGB_1.10]\r\n00ff,ffff\n12345 ,1");
  // In order. The third hex field skips the line end and stops after 4
  // digits; a space stands before the second comma.
  EXPECT_EQ(
      (std::tuple{in.Word(19), in.Word(19), in.Hex(4), in.Literal(','), in.Hex(4), in.Hex(4),
                  in.Hex(4), in.Literal(','), in.line(), in.Word(19), in.Word(19), in.AtEnd()}),
      (std::tuple{std::string("[COLORS256_RGB_1.10"), std::string("]"), 0xFFu, true, 0xFFFFu,
                  0x1234u, 0x5u, false, 3u, std::string(",1"), std::string(), true}));
  // Numbers are signed; overflow, non-finite values and junk are refused.
  in = TextScanner("-7 +12 99999999999999999999 x1 1.500000,-0.250000 .5 2e3 1e999 nan");
  EXPECT_EQ((std::tuple{in.Integer(), in.Integer(), in.Integer(), in.Integer()}),  // in order
            (std::tuple{-7, 12, std::nullopt, std::nullopt}));
  EXPECT_EQ(in.Word(5), "x1");  // a read of junk consumes nothing but space
  EXPECT_EQ(in.Real(), 1.5);
  EXPECT_TRUE(in.Literal(','));
  for (double expected : {-0.25, 0.5, 2000.0}) EXPECT_EQ(in.Real(), expected);
  EXPECT_FALSE(in.Real());  // overflows to infinity
  EXPECT_EQ(in.Word(10), "1e999");
  EXPECT_FALSE(in.Real());
}

}  // namespace
}  // namespace ws
