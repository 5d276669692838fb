#include "import/import_notifier.h"

#include <gtest/gtest.h>

#include "import/readers/bounded_reader.h"
#include "import_test_support.h"

namespace ws {
namespace {

using test::RecordingProgress;
using test::TempDir;

TEST(ImportNotifierLines, ProgressTitleAndLogLines) {
  TempDir dir;
  const std::string log = dir.File("import_log.txt");
  test::WriteFileText(log, "left from the last run\n");
  RecordingProgress progress;
  {
    ImportNotifier notifier(log);
    ASSERT_TRUE(notifier.logOpen());
    notifier.Attach(&progress);
    notifier.Notify("IMPORT_PROGRESS 45");
    notifier.Notify("IMPORT_DLG_TITLE DirectX File...");
    notifier.Notify("Reading 12.5% Complete");
    notifier.Notify("Syntax error file 'a.obj', line 3");
    // Every line is flushed at once: the file can be read while the
    // notifier is still alive.
    EXPECT_EQ(test::ReadFileText(log), "Reading 12.5% Complete\nSyntax error file 'a.obj', line 3\n");
  }
  EXPECT_EQ(progress.positions, (std::vector<int>{45}));
  EXPECT_EQ(progress.titles, (std::vector<std::string>{"DirectX File..."}));
}

TEST(ImportNotifierLines, KeywordsAnywhereInTheLine) {
  TempDir dir;
  RecordingProgress progress;
  ImportNotifier notifier(dir.File("log"));
  notifier.Attach(&progress);
  // The number starts at the line's first digit, wherever it is.
  notifier.Notify("step 3: IMPORT_PROGRESS 80");
  notifier.Notify("IMPORT_PROGRESS");
  notifier.Notify("IMPORT_PROGRESS 250");
  // Progress is tested first: a line with both keywords moves the bar.
  notifier.Notify("IMPORT_DLG_TITLE IMPORT_PROGRESS 7");
  // The title is whatever follows the first 17 characters.
  notifier.Notify("xxIMPORT_DLG_TITLE Mesh");
  notifier.Notify("IMPORT_DLG_TITLE");
  EXPECT_EQ(progress.positions, (std::vector<int>{3, 0, 100, 7}));
  EXPECT_EQ(progress.titles, (std::vector<std::string>{"E Mesh", ""}));
  EXPECT_EQ(test::ReadFileText(dir.File("log")), "");
}

TEST(ImportNotifierLines, HelpersBuildTheProtocolLines) {
  TempDir dir;
  RecordingProgress progress;
  ImportNotifier notifier(dir.File("log"));
  notifier.Attach(&progress);
  notifier.Progress(33);
  notifier.Title("Importing VRML File...");
  notifier.Attach(nullptr);
  notifier.Progress(50);  // no dialog: dropped, not logged
  EXPECT_EQ(progress.positions, (std::vector<int>{33}));
  EXPECT_EQ(progress.titles, (std::vector<std::string>{"Importing VRML File..."}));
  EXPECT_EQ(test::ReadFileText(dir.File("log")), "");
}

TEST(ImportNotifierLines, AnUnopenableLogDropsLines) {
  ImportNotifier notifier("/nonexistent-directory/import_log.txt");
  EXPECT_FALSE(notifier.logOpen());
  notifier.Notify("nowhere to go");  // must not crash
}

TEST(ImportNotifierLines, LogLivesInTheBaseDirectory) {
  const Paths paths = Paths::FromBase("/tmp/base");
  EXPECT_EQ(LogPathFor(paths), "/tmp/base/import_log.txt");
}

// --- The bounded reader ---------------------------------------------------

TEST(LineReaderPieces, LongLinesComeInPiecesLikeFgets) {
  const std::string text = std::string(5, 'a') + "\n" + std::string(3, 'b') + "\nc";
  LineReader lines(text, 5);
  std::string_view piece;
  std::vector<std::string> got;
  while (lines.Next(piece)) got.emplace_back(piece);
  // "aaaaa" fills the buffer; its "\n" is read next as a line of its own.
  EXPECT_EQ(got, (std::vector<std::string>{"aaaaa", "\n", "bbb\n", "c"}));
  EXPECT_EQ(lines.position(), text.size());
}

TEST(TokenReaderNumbers, ReadsAsScanfDoes) {
  TokenReader r("  1.5 -2 +3e2 .25 1-2 1e-400 1e400");
  EXPECT_EQ(r.Float(), 1.5f);
  EXPECT_EQ(r.Float(), -2.0f);
  EXPECT_EQ(r.Float(), 300.0f);
  EXPECT_EQ(r.Float(), 0.25f);
  EXPECT_EQ(r.Float(), 1.0f);   // stops before the minus sign
  EXPECT_EQ(r.Float(), -2.0f);
  EXPECT_EQ(r.Float(), 0.0f);   // too small: zero
  EXPECT_EQ(r.Float(), std::nullopt);  // too large: no number
  TokenReader bad("x 1 - 5 --1 inf nan");
  EXPECT_EQ(bad.Double(), std::nullopt);
  EXPECT_EQ(bad.Token(), "x");
  EXPECT_EQ(bad.Double(), 1.0);
  EXPECT_EQ(bad.Double(), std::nullopt);  // a sign alone
  for (const char* text : {"--1", "inf", "-inf", "nan", "1e400", "-"}) {
    EXPECT_EQ(TokenReader(text).Double(), std::nullopt) << text;
  }
}

TEST(TokenReaderNumbers, Integers) {
  TokenReader r(" 12 -3 +4 x 99999999999999999999");
  EXPECT_EQ(r.Integer(), 12);
  EXPECT_EQ(r.Integer(), -3);
  EXPECT_EQ(r.Integer(), 4);
  EXPECT_EQ(r.Integer(), std::nullopt);
  r.Token();
  EXPECT_EQ(r.Integer(), std::nullopt);
}

TEST(ByteReaderBounds, NeverReadsPastTheEnd) {
  const std::vector<std::uint8_t> bytes{1, 2, 3, 4, 5, 6, 7};
  ByteReader r(bytes);
  EXPECT_EQ(r.U16(), 0x0201);
  EXPECT_EQ(r.U32(), 0x06050403u);
  EXPECT_EQ(r.U16(), std::nullopt);
  EXPECT_EQ(r.U8(), 7);
  EXPECT_EQ(r.U8(), std::nullopt);
  EXPECT_FALSE(r.Skip(1));
  EXPECT_TRUE(r.Seek(7));
  EXPECT_FALSE(r.Seek(8));
  EXPECT_TRUE(r.Seek(0));
  EXPECT_FALSE(r.Skip(static_cast<std::size_t>(-1)));
  std::uint8_t out[8];
  EXPECT_FALSE(r.Bytes(out));
  EXPECT_EQ(r.position(), 0u);
}

TEST(ReadingLine, FormatsOneDecimal) {
  EXPECT_EQ(ReadingCompleteLine(0, 200), "Reading 0.0% Complete");
  EXPECT_EQ(ReadingCompleteLine(1, 8), "Reading 12.5% Complete");
  EXPECT_EQ(ReadingCompleteLine(2, 3), "Reading 66.7% Complete");
  EXPECT_EQ(ReadingCompleteLine(5, 5), "Reading 100.0% Complete");
  EXPECT_EQ(ReadingCompleteLine(0, 0), "Reading 0.0% Complete");
}

}  // namespace
}  // namespace ws
