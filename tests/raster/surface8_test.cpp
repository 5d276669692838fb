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
  EXPECT_EQ(std::make_tuple(s.width(), s.At(7, 3)), std::make_tuple(8, 3));
  // The limit itself.
  EXPECT_TRUE(s.Create(memory, kMaxSurfaceSide, 1) && s.Create(memory, 1, kMaxSurfaceSide));
}

TEST(CdOffscreen, TwoEqualBuffersWithOnePalette) {
  HandleMemory memory;
  ColorTable table;
  table.Set(5, {0xFF00, 0x8000, 0x0100});
  {
    CD_Offscreen off;
    ASSERT_TRUE(off.Create(memory, 24, 10, table));
    EXPECT_NE(off.shown.pixels(), off.draw.pixels());
    // The high byte of each channel.
    EXPECT_EQ(
        std::make_tuple(off.shown.width(), off.shown.height(), off.shown.palette()[5],
                        off.draw.palette()[5], off.shown.Argb(5), memory.LiveCount()),
        std::make_tuple(24, 10, Rgb8{0xFF, 0x80, 0x01}, Rgb8{0xFF, 0x80, 0x01}, 0xFFFF8001u, 4u));
  }
  EXPECT_EQ(memory.LiveCount(), 0u);
  CD_Offscreen off;
  memory.SetFailAbove(100);
  EXPECT_FALSE(off.Create(memory, 24, 10, table));
  EXPECT_EQ(std::make_tuple(off.empty(), memory.LiveCount()), std::make_tuple(true, 0u));
  off.Present({0, 0, 5, 5});  // nothing to copy, nothing happens
}

}  // namespace
}  // namespace ws
