#include "resource/text_scanner.h"

#include <gtest/gtest.h>

namespace ws {
namespace {

TEST(TextScanner, WordsStopAtTheirLimitAndLeaveTheRest) {
  TextScanner in("  [COLORS256_RGB_1.10]\r\nnext");
  EXPECT_EQ(in.Word(19), "[COLORS256_RGB_1.10");
  EXPECT_EQ(in.Word(19), "]");
  EXPECT_EQ(in.Word(19), "next");
  EXPECT_EQ(in.Word(19), "");
  EXPECT_TRUE(in.AtEnd());
}

TEST(TextScanner, HexTakesAtMostItsDigitsAndLiteralsDoNotSkipSpace) {
  TextScanner in("00ff,ffff\n12345 ,1");
  EXPECT_EQ(in.Hex(4), 0xFFu);
  EXPECT_TRUE(in.Literal(','));
  EXPECT_EQ(in.Hex(4), 0xFFFFu);
  EXPECT_EQ(in.Hex(4), 0x1234u);  // skips the line end, stops after 4 digits
  EXPECT_EQ(in.Hex(4), 0x5u);
  EXPECT_FALSE(in.Literal(','));  // a space stands before the comma
  EXPECT_EQ(in.line(), 2u);
}

TEST(TextScanner, IntegersAreSignedAndRejectOverflowAndJunk) {
  TextScanner in("-7 +12 99999999999999999999 x");
  EXPECT_EQ(in.Integer(), -7);
  EXPECT_EQ(in.Integer(), 12);
  EXPECT_FALSE(in.Integer());
  TextScanner junk("x1");
  EXPECT_FALSE(junk.Integer());
  EXPECT_EQ(junk.Word(5), "x1");  // a failed read consumes nothing but space
}

TEST(TextScanner, RealsAcceptPrintfFormsAndRejectNonFinite) {
  TextScanner in("1.500000,-0.250000 3 .5 2e3 1e999 nan");
  EXPECT_EQ(in.Real(), 1.5);
  EXPECT_TRUE(in.Literal(','));
  EXPECT_EQ(in.Real(), -0.25);
  EXPECT_EQ(in.Real(), 3.0);
  EXPECT_EQ(in.Real(), 0.5);
  EXPECT_EQ(in.Real(), 2000.0);
  EXPECT_FALSE(in.Real());  // overflows to infinity
  EXPECT_EQ(in.Word(10), "1e999");
  EXPECT_FALSE(in.Real());
}

}  // namespace
}  // namespace ws
