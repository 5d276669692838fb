// How a view-zone list entry is listed: kind and priority from bits 15 and
// 14, the index from bits 0-13.
#include <gtest/gtest.h>

#include "editor/interaction/view_zone_dialog.h"

namespace ws {
namespace {

TEST(ViewZoneListing, KindPriorityAndIndex) {
  const std::pair<std::uint32_t, const char*> rows[] = {
      {0x4005, "Poly Low - 5"}, {0x8005, "Vect Hgh - 5"},     {0xC005, "Vect Low - 5"},
      {0x0005, "Poly Hgh - 5"}, {0xFFFF, "Vect Low - 16383"}, {0x14005, "Poly Low - 5"}};
  for (const auto& [entry, text] : rows)
    EXPECT_EQ(ViewZoneEntryText(entry), text) << std::hex << entry;
}

}  // namespace
}  // namespace ws
