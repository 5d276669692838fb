#include "resource/text_scanner.h"

#include <gtest/gtest.h>

namespace ws {
namespace {

TEST(TextScanner, WordsHexAndNumbersStopAtTheirLimitAndLeaveTheRest) {
  TextScanner in("  [COLORS256_RGB_1.10]\r\n00ff,ffff\n12345 ,1");
  EXPECT_EQ(in.Word(19), "[COLORS256_RGB_1.10");
  EXPECT_EQ(in.Word(19), "]");
  EXPECT_EQ(in.Hex(4), 0xFFu);
  EXPECT_TRUE(in.Literal(','));
  EXPECT_EQ(in.Hex(4), 0xFFFFu);
  EXPECT_EQ(in.Hex(4), 0x1234u);  // skips the line end, stops after 4 digits
  EXPECT_EQ(in.Hex(4), 0x5u);
  EXPECT_FALSE(in.Literal(','));  // a space stands before the comma
  EXPECT_EQ(in.line(), 3u);
  EXPECT_EQ(in.Word(19), ",1");
  EXPECT_EQ(in.Word(19), "");
  EXPECT_TRUE(in.AtEnd());
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
