#include "resource/resource_file.h"

#include <gtest/gtest.h>

#include "platform/scripted_ui.h"
#include "resource/runtime.h"
#include "support/test_support.h"

namespace ws {
namespace {

using test::ReadFileBytes;
using test::TempDir;

constexpr std::size_t kHeader = 408020;

struct ResFixture {
  TempDir dir;
  ScriptedUi ui;
  Runtime rt{ui};
  ResourceFile files{rt};
  std::string path = dir.File("res");

  RefNum CreateAndOpen() {
    EXPECT_EQ(files.CreateResFile(path), 0);
    RefNum ref = files.OpenResFile(path);
    EXPECT_NE(ref, 0u);
    return ref;
  }
  static std::vector<std::uint8_t> Bytes(std::string_view s) { return {s.begin(), s.end()}; }
};

std::uint32_t LE32At(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

TEST(ResourceFileLayout, FreshFileIsHeaderAndEmptyDirectory) {
  ResFixture f;
  ASSERT_EQ(f.files.CreateResFile(f.path), 0);
  auto bytes = ReadFileBytes(f.path);
  ASSERT_EQ(bytes.size(), kHeader);
  // Magics, zero word and capacity are little-endian: 0x88991742 lies as 42 17 99 88.
  const std::uint8_t head[16] = {0x42, 0x17, 0x99, 0x88, 0x70, 0x25, 0x23, 0x54,
                                 0,    0,    0,    0,    0xDC, 0x05, 0,    0};
  EXPECT_TRUE(std::equal(head, head + 16, bytes.begin()));
  for (std::size_t i = 16; i < kHeader; ++i) ASSERT_EQ(bytes[i], 0) << "at " << i;
  EXPECT_FALSE(f.files.OpenFileCount());
}

TEST(ResourceFileLayout, WrittenResourcesMatchHandComputedBytes) {
  ResFixture f;
  RefNum ref = f.CreateAndOpen();
  ASSERT_TRUE(f.files.WriteResource(ref, kResClut, 1000, ResFixture::Bytes("ABC"), "pal"));
  ASSERT_TRUE(f.files.WriteResource(ref, kResPinf, 0x01020304, ResFixture::Bytes("xy"), "obj"));
  ASSERT_EQ(f.files.CloseResFile(ref), 0);
  auto b = ReadFileBytes(f.path);
  ASSERT_EQ(b.size(), kHeader + 5);
  // Count: big-endian 2.
  EXPECT_EQ(b[16], 0);
  EXPECT_EQ(b[17], 0);
  EXPECT_EQ(b[18], 0);
  EXPECT_EQ(b[19], 2);
  // Entry 0 at 20: id 1000 LE (E8 03 00 00), 'clut' as 74 75 6C 63, start 0 BE, end 2 BE.
  const std::uint8_t e0[16] = {0xE8, 0x03, 0, 0, 0x74, 0x75, 0x6C, 0x63, 0, 0, 0, 0, 0, 0, 0, 2};
  EXPECT_TRUE(std::equal(e0, e0 + 16, b.begin() + 20));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[36])), "pal");
  // Entry 1 at 292: id 04 03 02 01, 'PINF' as 46 4E 49 50, start 3, end 4.
  const std::uint8_t e1[16] = {4, 3, 2, 1, 0x46, 0x4E, 0x49, 0x50, 0, 0, 0, 3, 0, 0, 0, 4};
  EXPECT_TRUE(std::equal(e1, e1 + 16, b.begin() + 292));
  EXPECT_EQ(std::string(b.begin() + kHeader, b.end()), "ABCxy");
  EXPECT_EQ(LE32At(b, 4 + 20), 0x636C7574u);
}

TEST(ResourceFileLayout, TypeCodesReadMostSignificantFirst) {
  EXPECT_EQ(MakeResType("clut"), 0x636C7574u);
  EXPECT_EQ(ResTypeName(kResPinf), "PINF");
}

TEST(ResourceFileOps, EmptyFileCountsZeroAndReadsNothingSilently) {
  ResFixture f;
  RefNum ref = f.CreateAndOpen();
  EXPECT_EQ(f.files.CountResourcesOfType(ref, kResPinf), 0u);
  EXPECT_FALSE(f.files.ReadResource(ref, kResPinf, 0));
  EXPECT_TRUE(f.ui.Messages().empty());
  f.files.CloseResFile(ref);
}

TEST(ResourceFileOps, ReadReturnsDataNameAndTrackedBlock) {
  ResFixture f;
  RefNum ref = f.CreateAndOpen();
  f.files.WriteResource(ref, kResPref, 128, ResFixture::Bytes("hello"), "Preferences");
  std::size_t before = f.rt.memory.LiveCount();
  {
    auto res = f.files.ReadResource(ref, kResPref, 128);
    ASSERT_TRUE(res);
    EXPECT_EQ(std::string(res->bytes().begin(), res->bytes().end()), "hello");
    EXPECT_EQ(res->name, "Preferences");
    ASSERT_EQ(f.rt.memory.LiveCount(), before + 1);
    EXPECT_EQ(f.rt.memory.Entries().back().tag, kResPref);  // tagged with the type
  }
  EXPECT_EQ(f.rt.memory.LiveCount(), before);
  EXPECT_FALSE(f.files.ReadResource(ref, kResPref, 129));
  f.files.CloseResFile(ref);
}

TEST(ResourceFileOps, SameLengthRewriteKeepsPositionOtherLengthMovesToEnd) {
  ResFixture f;
  RefNum ref = f.CreateAndOpen();
  f.files.WriteResource(ref, kResPinf, 3, ResFixture::Bytes("aaaa"), "three");
  f.files.WriteResource(ref, kResPnts, 3, ResFixture::Bytes("bbbbbb"), "pts");
  f.files.WriteResource(ref, kResTvct, 3, ResFixture::Bytes("cc"), "vec");

  f.files.WriteResource(ref, kResPinf, 3, ResFixture::Bytes("AAAA"), "renamed");
  auto e = f.files.Entries(ref);
  ASSERT_EQ(e.size(), 3u);
  EXPECT_EQ(e[0].type, kResPinf);
  EXPECT_EQ(e[0].name, "renamed");
  EXPECT_EQ(e[0].start, 0u);

  f.files.WriteResource(ref, kResPinf, 3, ResFixture::Bytes("AAAAAAA"), "longer");
  e = f.files.Entries(ref);
  ASSERT_EQ(e.size(), 3u);
  EXPECT_EQ(e[0].type, kResPnts);
  EXPECT_EQ(e[0].start, 0u);
  EXPECT_EQ(e[0].end, 5u);
  EXPECT_EQ(e[1].type, kResTvct);
  EXPECT_EQ(e[1].start, 6u);
  EXPECT_EQ(e[2].type, kResPinf);
  EXPECT_EQ(e[2].start, 8u);
  EXPECT_EQ(e[2].end, 14u);
  ASSERT_EQ(f.files.CloseResFile(ref), 0);
  auto b = ReadFileBytes(f.path);
  EXPECT_EQ(std::string(b.begin() + kHeader, b.end()), "bbbbbbccAAAAAAA");
}

TEST(ResourceFileOps, DeleteCompactsDataAndTruncates) {
  ResFixture f;
  RefNum ref = f.CreateAndOpen();
  f.files.WriteResource(ref, kResPinf, 0, ResFixture::Bytes("111"), "a");
  f.files.WriteResource(ref, kResPinf, 1, ResFixture::Bytes("2222"), "b");
  f.files.WriteResource(ref, kResPinf, 2, ResFixture::Bytes("33"), "c");
  f.files.DeleteResource(ref, kResPinf, 1);
  EXPECT_EQ(test::FileSizeOf(f.path), kHeader + 5);
  auto e = f.files.Entries(ref);
  ASSERT_EQ(e.size(), 2u);
  EXPECT_EQ(e[1].id, 2u);
  EXPECT_EQ(e[1].start, 3u);
  EXPECT_EQ(e[1].end, 4u);
  auto c = f.files.ReadResource(ref, kResPinf, 2);
  ASSERT_TRUE(c);
  EXPECT_EQ(std::string(c->bytes().begin(), c->bytes().end()), "33");
  // Deleting something absent changes nothing.
  f.files.DeleteResource(ref, kResPinf, 9);
  EXPECT_EQ(f.files.Entries(ref).size(), 2u);
  f.files.CloseResFile(ref);
}

TEST(ResourceFileOps, RemovingOnlyResourceKeepsFileSizeAndRestartsAtZero) {
  ResFixture f;
  RefNum ref = f.CreateAndOpen();
  f.files.WriteResource(ref, kResPinf, 0, ResFixture::Bytes("abcdef"), "only");
  f.files.DeleteResource(ref, kResPinf, 0);
  EXPECT_EQ(f.files.CountResourcesOfType(ref, kResPinf), 0u);
  EXPECT_EQ(test::FileSizeOf(f.path), kHeader + 6);
  f.files.WriteResource(ref, kResPnts, 0, ResFixture::Bytes("xy"), "next");
  auto e = f.files.Entries(ref);
  ASSERT_EQ(e.size(), 1u);
  EXPECT_EQ(e[0].start, 0u);
  auto r = f.files.ReadResource(ref, kResPnts, 0);
  ASSERT_TRUE(r);
  EXPECT_EQ(std::string(r->bytes().begin(), r->bytes().end()), "xy");
  f.files.CloseResFile(ref);
}

TEST(ResourceFileOps, ZeroLengthResourceHasEndBeforeStart) {
  ResFixture f;
  RefNum ref = f.CreateAndOpen();
  f.files.WriteResource(ref, kResPinf, 0, ResFixture::Bytes("abc"), "a");
  f.files.WriteResource(ref, kResAnim, 0, {}, "empty");
  f.files.WriteResource(ref, kResPnts, 0, ResFixture::Bytes("de"), "b");
  auto e = f.files.Entries(ref);
  ASSERT_EQ(e.size(), 3u);
  EXPECT_EQ(e[1].start, 3u);
  EXPECT_EQ(e[1].end, 2u);
  EXPECT_EQ(e[1].length(), 0u);
  EXPECT_EQ(e[2].start, 3u);
  auto empty = f.files.ReadResource(ref, kResAnim, 0);
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->length(), 0u);
  // A zero-length first resource: end wraps to 0xFFFFFFFF and survives a reopen.
  f.files.DeleteResource(ref, kResPinf, 0);
  e = f.files.Entries(ref);
  EXPECT_EQ(e[0].start, 0u);
  EXPECT_EQ(e[0].end, 0xFFFFFFFFu);
  ASSERT_EQ(f.files.CloseResFile(ref), 0);
  RefNum again = f.files.OpenResFile(f.path);
  ASSERT_NE(again, 0u);
  auto b = f.files.ReadResource(again, kResPnts, 0);
  ASSERT_TRUE(b);
  EXPECT_EQ(std::string(b->bytes().begin(), b->bytes().end()), "de");
  f.files.CloseResFile(again);
}

TEST(ResourceFileOps, CountAndChangeInfoWorkOnTheDirectory) {
  ResFixture f;
  RefNum ref = f.CreateAndOpen();
  f.files.WriteResource(ref, kResPinf, 0, ResFixture::Bytes("a"), "zero");
  f.files.WriteResource(ref, kResPinf, 1, ResFixture::Bytes("b"), "one");
  f.files.WriteResource(ref, kResFace, 1, ResFixture::Bytes("c"), "one");
  EXPECT_EQ(f.files.CountResourcesOfType(ref, kResPinf), 2u);
  EXPECT_EQ(f.files.ChangeResourceInfo(ref, kResPinf, 1, "", kResPinf, 7), 0);
  auto r = f.files.ReadResource(ref, kResPinf, 7);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->name, "one");  // empty new name keeps the old one
  EXPECT_EQ(f.files.ChangeResourceInfo(ref, kResPinf, 7, "renamed", kResPnts, 2), 0);
  EXPECT_EQ(f.files.ReadResource(ref, kResPnts, 2)->name, "renamed");
  EXPECT_EQ(f.files.ChangeResourceInfo(ref, kResPinf, 99, "x", kResPinf, 1), -1);
  f.files.CloseResFile(ref);
}

TEST(ResourceFileNames, StoredUpToFirstNulAnd255Fit) {
  ResFixture f;
  RefNum ref = f.CreateAndOpen();
  std::string longest(255, 'n');
  EXPECT_TRUE(f.files.WriteResource(ref, kResPinf, 0, ResFixture::Bytes("a"), longest));
  EXPECT_EQ(f.files.ReadResource(ref, kResPinf, 0)->name, longest);
  std::string withNul("ab\0cd", 5);
  EXPECT_TRUE(f.files.WriteResource(ref, kResPinf, 1, ResFixture::Bytes("b"), withNul));
  EXPECT_EQ(f.files.ReadResource(ref, kResPinf, 1)->name, "ab");
  EXPECT_TRUE(f.ui.Messages().empty());
  f.files.CloseResFile(ref);
}

TEST(ResourceFileNames, LongerThan255IsRefusedAndNothingWritten) {
  ResFixture f;
  RefNum ref = f.CreateAndOpen();
  EXPECT_FALSE(f.files.WriteResource(ref, kResPinf, 0, ResFixture::Bytes("abc"), std::string(256, 'n')));
  ASSERT_EQ(f.ui.Messages().size(), 1u);
  EXPECT_EQ(f.ui.Messages()[0].caption, "Notification");
  EXPECT_EQ(f.ui.Messages()[0].text,
            "CLVlib:WriteResource - resource name longer than 255 characters; not written.");
  EXPECT_EQ(f.files.CountResourcesOfType(ref, kResPinf), 0u);
  f.files.CloseResFile(ref);
  EXPECT_EQ(test::FileSizeOf(f.path), kHeader);
}

TEST(ResourceFileCapacity, FullDirectoryRefusesNewButReplacesExisting) {
  ResFixture f;
  RefNum ref = f.CreateAndOpen();
  std::vector<std::uint8_t> one{7};
  for (std::uint32_t i = 0; i < 1500; ++i) {
    ASSERT_TRUE(f.files.WriteResource(ref, kResPnts, i, one, "p"));
  }
  EXPECT_FALSE(f.files.WriteResource(ref, kResPnts, 1500, one, "p"));
  ASSERT_EQ(f.ui.Messages().size(), 1u);
  EXPECT_EQ(f.ui.Messages()[0].text,
            "CLVlib:WriteResource - the file already holds 1500 resources; not written.");
  EXPECT_FALSE(f.files.ReadResource(ref, kResPnts, 1500));
  // Replacing one that exists, even with another length, still works.
  EXPECT_TRUE(f.files.WriteResource(ref, kResPnts, 10, std::vector<std::uint8_t>{1, 2}, "p"));
  EXPECT_EQ(f.files.CountResourcesOfType(ref, kResPnts), 1500u);
  ASSERT_EQ(f.files.CloseResFile(ref), 0);
  EXPECT_EQ(test::FileSizeOf(f.path), kHeader + 1501);
}

TEST(ResourceFileOpen, RejectsBadHeadersSilently) {
  ResFixture f;
  ASSERT_EQ(f.files.CreateResFile(f.path), 0);
  auto good = ReadFileBytes(f.path);
  struct Case {
    std::size_t offset;
    std::uint8_t value;
  };
  for (Case c : {Case{0, 0x43}, Case{4, 0}, Case{8, 1}, Case{12, 0xDD}}) {
    auto bad = good;
    bad[c.offset] = c.value;
    test::WriteFileBytes(f.path, bad);
    EXPECT_EQ(f.files.OpenResFile(f.path), 0u) << "offset " << c.offset;
  }
  // A count above the capacity, and a directory whose extents leave a gap.
  auto bad = good;
  bad[18] = 0x10;  // count 4096
  test::WriteFileBytes(f.path, bad);
  EXPECT_EQ(f.files.OpenResFile(f.path), 0u);
  bad = good;
  bad[19] = 1;
  bad[20 + 11] = 5;  // first entry starts at 5
  test::WriteFileBytes(f.path, bad);
  EXPECT_EQ(f.files.OpenResFile(f.path), 0u);
  // Shorter than the header.
  test::WriteFileBytes(f.path, std::vector<std::uint8_t>(good.begin(), good.begin() + 1000));
  EXPECT_EQ(f.files.OpenResFile(f.path), 0u);
  EXPECT_TRUE(f.ui.Messages().empty());
  EXPECT_EQ(f.files.OpenFileCount(), 0u);
}

TEST(ResourceFileOpen, MissingFileGivesOpeningMessage) {
  ResFixture f;
  EXPECT_EQ(f.files.OpenResFile(f.dir.File("nothing")), 0u);
  ASSERT_EQ(f.ui.Messages().size(), 1u);
  EXPECT_EQ(f.ui.Messages()[0].text, "CLVlib:OpenResFile - error opening file.");
}

TEST(ResourceFileOpen, HundredFirstOpenReturnsZero) {
  ResFixture f;
  ASSERT_EQ(f.files.CreateResFile(f.path), 0);
  std::vector<RefNum> refs;
  for (int i = 0; i < 100; ++i) {
    RefNum r = f.files.OpenResFile(f.path);
    ASSERT_NE(r, 0u);
    refs.push_back(r);
  }
  EXPECT_EQ(f.files.OpenResFile(f.path), 0u);
  ASSERT_EQ(f.files.CloseResFile(refs[42]), 0);
  EXPECT_NE(f.files.OpenResFile(f.path), 0u);
}

TEST(ResourceFileOpen, UnknownOrStaleRefnumsAreReported) {
  ResFixture f;
  RefNum ref = f.CreateAndOpen();
  ASSERT_EQ(f.files.CloseResFile(ref), 0);
  RefNum reopened = f.files.OpenResFile(f.path);
  ASSERT_NE(reopened, ref);  // the same slot, a new refnum
  EXPECT_EQ(f.files.CloseResFile(ref), -1);
  EXPECT_FALSE(f.files.ReadResource(ref, kResPinf, 0));
  EXPECT_EQ(f.files.CountResourcesOfType(0, kResPinf), 0u);
  EXPECT_FALSE(f.files.WriteResource(12345, kResPinf, 0, {}, ""));
  EXPECT_FALSE(f.files.GetResFilePath(ref));
  EXPECT_EQ(f.ui.MessageTexts(),
            (std::vector<std::string>{
                "CLVlib:Can't find refnum index", "CLVlib:Can't find refnum index",
                "CLVlib:Can't find refnum index", "CLVlib:Can't find refnum index",
                "CLVlib:Can't find refnum index for name"}));
  EXPECT_EQ(*f.files.GetResFilePath(reopened), f.path);
  f.files.CloseResFile(reopened);
}

TEST(ResourceFileOpen, DirectoryReachesDiskOnlyAtClose) {
  ResFixture f;
  RefNum ref = f.CreateAndOpen();
  f.files.WriteResource(ref, kResPinf, 0, ResFixture::Bytes("data"), "x");
  auto before = ReadFileBytes(f.path);
  EXPECT_EQ(before[19], 0);  // count still 0 on disk
  EXPECT_EQ(before.size(), kHeader + 4);  // but the data is there
  ASSERT_EQ(f.files.CloseResFile(ref), 0);
  EXPECT_EQ(ReadFileBytes(f.path)[19], 1);
}

TEST(ResourceFileOpen, FileGoneAtCloseKeepsSlotAndReports) {
  ResFixture f;
  RefNum ref = f.CreateAndOpen();
  std::remove(f.path.c_str());
  EXPECT_EQ(f.files.CloseResFile(ref), -1);
  EXPECT_EQ(f.ui.MessageTexts().back(), "Can't open file from CloseResFile");
  EXPECT_EQ(f.files.OpenFileCount(), 1u);
}

TEST(ResourceFileOpen, CreateFailureIsReported) {
  ResFixture f;
  EXPECT_EQ(f.files.CreateResFile(f.dir.File("no/such/dir/res")), -1);
  EXPECT_EQ(f.ui.MessageTexts(), std::vector<std::string>{"CLVlib:CreateResFile failed.\n"});
}

TEST(ResourceFileRead, DirectoryPromisingMoreThanTheFileHoldsGivesNothing) {
  ResFixture f;
  RefNum ref = f.CreateAndOpen();
  f.files.WriteResource(ref, kResPinf, 0, ResFixture::Bytes("0123456789"), "x");
  f.files.CloseResFile(ref);
  auto b = ReadFileBytes(f.path);
  b.resize(kHeader + 4);  // data cut short
  test::WriteFileBytes(f.path, b);
  ref = f.files.OpenResFile(f.path);
  ASSERT_NE(ref, 0u);
  EXPECT_FALSE(f.files.ReadResource(ref, kResPinf, 0));
  f.files.CloseResFile(ref);
}

TEST(ResourceFileRead, AllocationFailureSaysBadDataAllocate) {
  ResFixture f;
  RefNum ref = f.CreateAndOpen();
  f.files.WriteResource(ref, kResPinf, 0, std::vector<std::uint8_t>(5000, 1), "big");
  f.rt.memory.SetFailAbove(4096);
  EXPECT_FALSE(f.files.ReadResource(ref, kResPinf, 0));
  EXPECT_EQ(f.ui.MessageTexts(), std::vector<std::string>{"Bad data allocate"});
  f.rt.memory.SetFailAbove(std::nullopt);
  f.files.CloseResFile(ref);
  f.ui.ClearMessages();
  f.rt.memory.SetFailAbove(1000);  // the 408,020-byte header copy
  EXPECT_EQ(f.files.OpenResFile(f.path), 0u);
  EXPECT_EQ(f.ui.MessageTexts(), std::vector<std::string>{"CLVlib:OpenResFile out of memory."});
}

}  // namespace
}  // namespace ws
