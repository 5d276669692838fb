#include "resource/strings.h"

#include <gtest/gtest.h>

namespace ws {
namespace {

TEST(StringHelpers, EqualityIsCaseSensitive) {
  EXPECT_EQ(StringsEqual("abc", "abc"), 0);
  EXPECT_EQ(StringsEqual("abc", "ABC"), -1);
  EXPECT_EQ(StringsEqual("abc", "abcd"), -1);
  EXPECT_EQ(StringsEqual("", ""), 0);
}

TEST(StringHelpers, JoinIntoTheSourceBufferAppends) {
  char buffer[32] = "temp";
  StringJoin(buffer, ".wdo", buffer);
  EXPECT_STREQ(buffer, "temp.wdo");
  EXPECT_EQ(StringLength(buffer), 8u);
}

TEST(StringHelpers, JoinIntoAnotherBufferLeavesTheSource) {
  const char source[] = "object";
  char out[32] = "xxxxxxxxxxxxxxxxxxxx";
  StringJoin(out, ".wdc", source);
  EXPECT_STREQ(out, "object.wdc");
  EXPECT_STREQ(source, "object");
  StringCopy(out, "ab");
  EXPECT_STREQ(out, "ab");
}

}  // namespace
}  // namespace ws
