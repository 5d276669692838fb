#include <gtest/gtest.h>

#include "platform/scripted_ui.h"
#include "resource/byte_order.h"
#include "resource/resource_file.h"
#include "resource/runtime.h"
#include "support/test_support.h"

namespace ws {
namespace {

// A 408 KB file whose one entry claims 4 GB of data: the claim is checked
// against the file's size before any memory is asked for, so even a
// runtime that refuses every block above 1 MB reads nothing and says
// nothing ("Bad data allocate" would mean the allocation came first).
TEST(ResourceReadLimits, ClaimedLengthBeyondTheFileIsRefusedBeforeAllocating) {
  test::TempDir dir;
  ScriptedUi ui;
  Runtime rt{ui};
  ResourceFile files{rt};
  const std::string path = dir.File("res");
  ASSERT_EQ(files.CreateResFile(path), 0);
  RefNum ref = files.OpenResFile(path);
  const std::vector<std::uint8_t> abc = {'A', 'B', 'C'};
  ASSERT_TRUE(files.WriteResource(ref, kResClut, 1000, abc, "pal"));
  ASSERT_EQ(files.CloseResFile(ref), 0);
  std::vector<std::uint8_t> bytes = test::ReadFileBytes(path);
  // Rows: the last byte the entry claims, and whether the file holds it.
  const std::pair<std::uint32_t, bool> rows[] = {{2, true}, {3, false}, {0xFFFFFFFE, false}};
  for (auto [end, holds] : rows) {
    StoreBE32(bytes.data() + ResourceFile::kDirectoryOffset + 12, end);
    test::WriteFileBytes(path, bytes);
    rt.memory.SetFailAbove(std::size_t{1} << 20);
    ref = files.OpenResFile(path);
    ASSERT_NE(ref, 0u) << end;
    EXPECT_EQ(files.ReadResource(ref, kResClut, 1000).has_value(), holds) << end;
    files.CloseResFile(ref);
    EXPECT_TRUE(ui.MessageTexts().empty()) << end;
  }
}

}  // namespace
}  // namespace ws
