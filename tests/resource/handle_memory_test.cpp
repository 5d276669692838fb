#include "resource/handle_memory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>

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
  EXPECT_FALSE(mem.AllocZeroedBlock(4097, 8) || mem.AllocBlock(4097, 8));
  std::vector<std::pair<void*, std::uint32_t>> entries, expected;
  for (const auto& e : mem.Entries()) entries.emplace_back(e.block, e.tag);
  for (int i : {0, 1, 3, 4}) expected.emplace_back(blocks[i], 100 + i);
  EXPECT_EQ(entries, expected);
  const auto* p = static_cast<std::uint8_t*>(blocks[4]);
  EXPECT_TRUE(std::all_of(p, p + 4100, [](std::uint8_t c) { return c == 0; }));
  for (int i : {0, 1, 3, 4}) mem.FreeBlock(blocks[i]);
  EXPECT_EQ(mem.LiveCount(), 0u);
}

TEST(HandleMemory, BlocksReleaseOnDestructionAndMoveAndAFullTableStopsTracking) {
  HandleMemory mem;
  Block a = mem.Allocate(10, 1), b = std::move(a);
  EXPECT_EQ(std::tuple(static_cast<bool>(a), mem.LiveCount()), std::tuple(false, 1u));
  b.reset();
  std::vector<Block> blocks(HandleMemory::kTableCapacity + 3);
  for (Block& block : blocks) ASSERT_TRUE(block = mem.Allocate(8, 1));
  EXPECT_EQ(std::tuple(mem.LiveCount(), mem.UntrackedCount()),
            std::tuple(HandleMemory::kTableCapacity, 3u));
  blocks.clear();
  EXPECT_EQ(mem.LiveCount(), 0u);
}

TEST(WaitCursor, BeginAndEndSetBusyCursorAndMenuRefresh) {
  ScriptedUi ui;
  Runtime rt(ui);
  std::optional<WaitScope> wait(std::in_place, rt);
  EXPECT_TRUE(rt.busy && ui.busy());
  wait.reset();
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
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

}  // namespace
}  // namespace ws
