#include "resource/strings.h"

#include <gtest/gtest.h>

namespace ws {
namespace {

TEST(StringHelpers, CompareJoinAndCopy) {
  const std::tuple<const char*, const char*, int> compared[] = {
      {"abc", "abc", 0}, {"abc", "ABC", -1}, {"abc", "abcd", -1}, {"", "", 0}};
  for (auto [a, b, result] : compared) EXPECT_EQ(StringsEqual(a, b), result) << a << " " << b;
  char buffer[32] = "temp", out[32] = "xxxxxxxxxxxxxxxxxxxx";
  const char source[] = "object";
  StringJoin(buffer, ".wdo", buffer);  // into the source buffer: appends
  StringJoin(out, ".wdc", source);
  EXPECT_EQ(
      std::tuple(std::string(buffer), StringLength(buffer), std::string(out), std::string(source)),
      std::tuple("temp.wdo", 8u, "object.wdc", "object"));
  StringCopy(out, "ab");
  EXPECT_STREQ(out, "ab");
}

}  // namespace
}  // namespace ws
