#include "resource/handle_memory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/scripted_ui.h"
#include "resource/file_io.h"
#include "resource/runtime.h"
#include "support/test_support.h"

namespace ws {
namespace {

TEST(HandleMemory, FreeingThirdOfFiveKeepsOthersInOrderAndFailuresAreNotRecorded) {
  HandleMemory mem;
  void* blocks[5];
  for (std::uint32_t i = 0; i < 5; ++i) blocks[i] = mem.AllocZeroedBlock(4096 + i, 100 + i);
  mem.FreeBlock(blocks[2]);
  mem.SetFailAbove(4096);
  EXPECT_EQ(mem.AllocZeroedBlock(4097, 8), nullptr);
  EXPECT_EQ(mem.AllocBlock(4097, 8), nullptr);
  auto entries = mem.Entries();
  ASSERT_EQ(entries.size(), 4u);
  const int expected[] = {0, 1, 3, 4};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(std::tuple(entries[i].block, entries[i].tag),
              std::tuple(blocks[expected[i]], 100u + expected[i]));
  }
  const auto* p = static_cast<std::uint8_t*>(blocks[4]);
  EXPECT_TRUE(std::all_of(p, p + 4100, [](std::uint8_t c) { return c == 0; }));
  for (int i : expected) mem.FreeBlock(blocks[i]);
  EXPECT_EQ(mem.LiveCount(), 0u);
}

TEST(HandleMemory, BlocksReleaseOnDestructionAndMoveAndAFullTableStopsTracking) {
  HandleMemory mem;
  Block a = mem.Allocate(10, 1);
  Block b = std::move(a);
  EXPECT_FALSE(a);
  EXPECT_EQ(mem.LiveCount(), 1u);
  b.reset();
  std::vector<Block> blocks;
  for (std::size_t i = 0; i < HandleMemory::kTableCapacity + 3; ++i) {
    blocks.push_back(mem.Allocate(8, 1));
    ASSERT_TRUE(blocks.back());
  }
  EXPECT_EQ(mem.LiveCount(), HandleMemory::kTableCapacity);
  EXPECT_EQ(mem.UntrackedCount(), 3u);
  blocks.clear();
  EXPECT_EQ(mem.LiveCount(), 0u);
}

TEST(WaitCursor, BeginAndEndSetBusyCursorAndMenuRefresh) {
  ScriptedUi ui;
  Runtime rt(ui);
  {
    WaitScope wait(rt);
    EXPECT_TRUE(rt.busy && ui.busy());
  }
  EXPECT_EQ(std::tuple(rt.busy, ui.busy(), rt.menuRefreshRequested, ui.busyTransitions()),
            std::tuple(false, false, true, 2));
}

TEST(FileCopies, CopyReplacesTheDestinationOrReportsAtomicWriteLeavesNoTemporaryFiles) {
  test::TempDir dir;
  ScriptedUi ui;
  Runtime rt(ui);
  CopyWholeFile(rt, dir.File("none"), dir.File("dst"));  // silent
  EXPECT_FALSE(FileExists(dir.File("dst")));
  test::WriteFileText(dir.File("src"), "short");
  test::WriteFileText(dir.File("dst"), "a much longer old destination");
  CopyWholeFile(rt, dir.File("src"), dir.File("dst"));
  EXPECT_EQ(test::ReadFileText(dir.File("dst")), "short");
  EXPECT_EQ(rt.memory.LiveCount(), 0u);
  CopyWholeFile(rt, dir.File("src"), dir.File("missing/dst"));
  EXPECT_EQ(ui.Messages(),
            (std::vector<RecordedMessage>{{"General Error", "Error writing file."}}));
  ASSERT_TRUE(WriteFileAtomically(dir.File("dst"), "new contents"));
  EXPECT_EQ(test::ReadFileText(dir.File("dst")), "new contents");
  EXPECT_FALSE(WriteFileAtomically(dir.File("missing/x.wdo"), "y"));
  int files = 0;
  for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.path())) ++files;
  EXPECT_EQ(files, 2);
}

}  // namespace
}  // namespace ws
