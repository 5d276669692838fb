#include "resource/strings.h"

#include <gtest/gtest.h>

namespace ws {
namespace {

TEST(StringHelpers, CompareJoinAndCopy) {
  const std::tuple<const char*, const char*, int> compared[] = {
      {"abc", "abc", 0}, {"abc", "ABC", -1}, {"abc", "abcd", -1}, {"", "", 0}};
  for (auto [a, b, result] : compared) EXPECT_EQ(StringsEqual(a, b), result) << a << " " << b;
  char buffer[32] = "temp";
  StringJoin(buffer, ".wdo", buffer);  // into the source buffer: appends
  EXPECT_STREQ(buffer, "temp.wdo");
  EXPECT_EQ(StringLength(buffer), 8u);
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
