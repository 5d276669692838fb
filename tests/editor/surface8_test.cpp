#include "editor/surface8.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace ws {
namespace {

bool AllBytes(const Surface8& s, std::uint8_t v) {
  const std::uint8_t* p = s.pixels();
  return std::all_of(p, p + static_cast<std::size_t>(s.stride()) * s.height(),
                     [v](std::uint8_t b) { return b == v; });
}

TEST(Surface8, CreateGivesZeroedRowsOnAPaddedStride) {
  HandleMemory memory;
  Surface8 s;
  EXPECT_TRUE(s.empty());
  ASSERT_TRUE(s.Create(memory, 13, 5));
  EXPECT_FALSE(s.empty());
  EXPECT_EQ(std::make_tuple(s.width(), s.height(), s.stride()), std::make_tuple(13, 5, 16));
  EXPECT_EQ(s.Bounds(), (IntRect{0, 0, 12, 4}));
  EXPECT_TRUE(AllBytes(s, 0));
  for (int y = 0; y < 5; ++y) EXPECT_EQ(s.Row(y), s.pixels() + 16 * y);
  const PixelRows rows = s.Target();
  EXPECT_EQ(std::make_tuple(rows.width, rows.height, rows.rows[3]), std::make_tuple(13, 5, s.Row(3)));
  // A width already on a multiple of 8 has no padding.
  ASSERT_TRUE(s.Create(memory, 16, 2));
  EXPECT_EQ(s.stride(), 16);
}

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

TEST(Surface8, SameSizeKeepsTheBufferNewSizeReplacesIt) {
  HandleMemory memory;
  Surface8 s;
  ASSERT_TRUE(s.Create(memory, 10, 6));
  EXPECT_EQ(memory.LiveCount(), 2u);  // pixels and row table
  s.Clear(9);
  const std::uint8_t* before = s.pixels();
  ASSERT_TRUE(s.Create(memory, 10, 6));
  EXPECT_EQ(s.pixels(), before);
  EXPECT_EQ(s.At(4, 4), 9);
  ASSERT_TRUE(s.Create(memory, 12, 7));
  EXPECT_EQ(memory.LiveCount(), 2u);
  EXPECT_EQ(s.width(), 12);
  EXPECT_TRUE(AllBytes(s, 0));
  s.Release();
  EXPECT_EQ(memory.LiveCount(), 0u);
}

TEST(Surface8, FailedAllocationLeavesAnEmptySurface) {
  HandleMemory memory;
  Surface8 s;
  ASSERT_TRUE(s.Create(memory, 8, 8));
  memory.SetFailAbove(1000);
  EXPECT_FALSE(s.Create(memory, 64, 64));
  EXPECT_TRUE(s.empty() && s.width() == 0);
  EXPECT_EQ(memory.LiveCount(), 0u);
  memory.SetFailAbove(std::nullopt);
  EXPECT_TRUE(s.Create(memory, 64, 64));
}

TEST(Surface8, ClearAndFillRectLeaveThePaddingAlone) {
  HandleMemory memory;
  Surface8 s;
  ASSERT_TRUE(s.Create(memory, 5, 3));
  s.Clear(7);
  s.FillRect({3, -4, 40, 1}, 2);
  s.FillRect({2, 2, 1, 2}, 4);  // empty
  const std::uint8_t expected[3][8] = {
      {7, 7, 7, 2, 2, 0, 0, 0}, {7, 7, 7, 2, 2, 0, 0, 0}, {7, 7, 7, 7, 7, 0, 0, 0}};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 8; ++x) EXPECT_EQ(s.Row(y)[x], expected[y][x]) << x << "," << y;
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

TEST(CdOffscreen, PresentCopiesOnlyTheSourceRectangle) {
  HandleMemory memory;
  CD_Offscreen off;
  ASSERT_TRUE(off.Create(memory, 6, 4, ColorTable{}));
  off.draw.Clear(1);
  off.Present({2, 1, 3, 2});
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x)
      EXPECT_EQ(off.shown.At(x, y), (x >= 2 && x <= 3 && y >= 1 && y <= 2) ? 1 : 0) << x << y;
  // A rectangle reaching past the surface is cut to it.
  off.draw.Clear(2);
  off.Present({-3, 3, 20, 9});
  for (int x = 0; x < 6; ++x) EXPECT_EQ(off.shown.At(x, 3), 2);
  EXPECT_EQ(off.shown.At(0, 2), 0);
  EXPECT_EQ(off.shown.Row(3)[6], 0);  // padding
}

}  // namespace
}  // namespace ws
