#include "import/import_notifier.h"

#include <gtest/gtest.h>

#include "import/readers/bounded_reader.h"
#include "import_test_support.h"

namespace ws {
namespace {

TEST(ImportNotifierLines, ProgressTitleAndLogLines) {
  test::TempDir dir;
  const std::string log = dir.File("import_log.txt");
  test::WriteFileText(log, "left from the last run\n");
  test::RecordingProgress progress;
  ImportNotifier notifier(log);
  ASSERT_TRUE(notifier.logOpen());
  notifier.Attach(&progress);
  for (const char* line :
       {"IMPORT_PROGRESS 45", "IMPORT_DLG_TITLE DirectX File...", "Reading 12.5% Complete",
        "step 3: IMPORT_PROGRESS 80",  // the number starts at the first digit
        "IMPORT_PROGRESS", "IMPORT_PROGRESS 250",
        "IMPORT_DLG_TITLE IMPORT_PROGRESS 7",  // progress is tested first
        "xxIMPORT_DLG_TITLE Mesh",             // the title follows the first 17 characters
        "IMPORT_DLG_TITLE", "Syntax error file 'a.obj', line 3"}) {
    notifier.Notify(line);
  }
  notifier.Progress(33);
  notifier.Title("Importing VRML File...");
  notifier.Attach(nullptr);
  notifier.Progress(50);  // no dialog: dropped, not logged
  EXPECT_EQ(progress.positions, (std::vector<int>{45, 3, 0, 100, 7, 33}));
  EXPECT_EQ(progress.titles,
            (std::vector<std::string>{"DirectX File...", "E Mesh", "", "Importing VRML File..."}));
  // Flushed at once: readable while the notifier is alive.
  EXPECT_EQ(test::ReadFileText(log), "Reading 12.5% Complete\nSyntax error file 'a.obj', line 3\n");
  EXPECT_EQ(LogPathFor(Paths::FromBase("/tmp/base")), "/tmp/base/import_log.txt");
}

// --- The bounded reader ---------------------------------------------------

TEST(TokenReaderNumbers, ReadsAsScanfDoes) {
  TokenReader r("  1.5 -2 +3e2 .25 1-2 1e-400 x 1");
  for (float expected : {1.5f, -2.0f, 300.0f, 0.25f, 1.0f, -2.0f, 0.0f})
    EXPECT_EQ(r.Float(), expected);
  EXPECT_EQ((std::tuple{r.Double(), r.Token(), r.Double()}),  // in order
            (std::tuple{std::optional<double>(), std::string("x"), std::optional(1.0)}));
  for (const char* text : {"--1", "inf", "-inf", "nan", "1e400", "-"}) {
    EXPECT_EQ(TokenReader(text).Double(), std::nullopt) << text;
  }
  TokenReader i(" 12 -3 +4 x 99999999999999999999");
  EXPECT_EQ(
      (std::tuple{i.Integer(), i.Integer(), i.Integer(), i.Integer(), i.Token(), i.Integer()}),
      (std::tuple{12, -3, 4, std::nullopt, "x", std::nullopt}));  // in order
}

TEST(ByteReaderBounds, NeverReadsPastTheEnd) {
  const std::vector<std::uint8_t> bytes{1, 2, 3, 4, 5, 6, 7};
  ByteReader r(bytes);
  EXPECT_EQ((std::tuple{r.U16(), r.U32(), r.U16(), r.U8(), r.U8()}),  // in order
            std::tuple(0x0201, 0x06050403u, std::nullopt, 7, std::nullopt));
  std::uint8_t out[8];
  EXPECT_TRUE(!r.Skip(1) && r.Seek(7) && !r.Seek(8) && r.Seek(0) &&
              !r.Skip(static_cast<std::size_t>(-1)) && !r.Bytes(out) && r.position() == 0);
}

TEST(DecodedText, ByteOrderMarksAndPairs) {
  const std::pair<std::vector<std::uint8_t>, std::string> cases[] = {
      {{0xEF, 0xBB, 0xBF, 'a'}, "a"},
      {{0xFF, 0xFE, 'a', 0, 0xE9, 0, 0xAC, 0x20, 0x3D, 0xD8, 0x00, 0xDE, 'b'},
       "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"},
      {{0xFE, 0xFF, 0, 'a', 0xDC, 0x00, 0xD8, 0x00},
       "a\xEF\xBF\xBD\xEF\xBF\xBD"},  // unpaired halves
      {{'a', 0, 'b'}, std::string("a\0b", 3)}};
  for (const auto& [bytes, text] : cases) EXPECT_EQ(DecodeText(bytes), text) << text;
}

}  // namespace
}  // namespace ws
