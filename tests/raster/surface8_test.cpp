#include "raster/surface8.h"

#include <gtest/gtest.h>

namespace ws {
namespace {

TEST(Surface8, RefusesBadSizesAndKeepsTheSurface) {
  HandleMemory memory;
  Surface8 s;
  ASSERT_TRUE(s.Create(memory, 8, 4));
  s.Clear(3);
  const std::pair<int, int> bad[] = {
      {0, 4}, {8, 0}, {-8, 4}, {kMaxSurfaceSide + 1, 4}, {4, kMaxSurfaceSide + 1}};
  for (auto [w, h] : bad) EXPECT_FALSE(s.Create(memory, w, h)) << w << "x" << h;
  EXPECT_EQ(s.width(), 8);
  EXPECT_EQ(s.At(7, 3), 3);
  ASSERT_TRUE(s.Create(memory, kMaxSurfaceSide, 1));  // the limit itself
  ASSERT_TRUE(s.Create(memory, 1, kMaxSurfaceSide));
}

TEST(CdOffscreen, TwoEqualBuffersWithOnePalette) {
  HandleMemory memory;
  ColorTable table;
  table.Set(5, {0xFF00, 0x8000, 0x0100});
  {
    CD_Offscreen off;
    ASSERT_TRUE(off.Create(memory, 24, 10, table));
    EXPECT_EQ(std::make_pair(off.shown.width(), off.shown.height()), std::make_pair(24, 10));
    EXPECT_NE(off.shown.pixels(), off.draw.pixels());
    for (const Surface8* s : {&off.shown, &off.draw}) EXPECT_EQ(s->palette()[5], (Rgb8{0xFF, 0x80, 0x01}));
    EXPECT_EQ(off.shown.Argb(5), 0xFFFF8001u);  // the high byte of each channel
    EXPECT_EQ(memory.LiveCount(), 4u);
  }
  EXPECT_EQ(memory.LiveCount(), 0u);
  CD_Offscreen off;
  memory.SetFailAbove(100);
  EXPECT_FALSE(off.Create(memory, 24, 10, table));
  EXPECT_TRUE(off.empty());
  EXPECT_EQ(memory.LiveCount(), 0u);
  off.Present({0, 0, 5, 5});  // nothing to copy, nothing happens
}

}  // namespace
}  // namespace ws
