#include "resource/resource_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>

#include "platform/scripted_ui.h"
#include "resource/byte_order.h"
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
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
         (static_cast<std::uint32_t>(b[at + 3]) << 24);
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

// Random writes, replacements, removals and renames against a plain list
// of (type, id, name, bytes) in directory order: same-length rewrites stay
// in place, other lengths move to the end, removal closes the gap, a
// zero-length resource has end = start - 1; the data area stays the
// entries' bytes back to back, also after closing and reopening.
TEST(ResourceFileOps, MatchReferenceListOnRandomOperations) {
  struct Item {
    ResType type;
    std::uint32_t id;
    std::string name;
    std::vector<std::uint8_t> data;
  };
  ResFixture f;
  RefNum ref = f.CreateAndOpen();
  std::vector<Item> model;
  std::mt19937 rng(5);
  const ResType types[] = {kResPinf, kResFace, kResClut};
  // Bytes of data area on disk: removal truncates unless it empties the
  // directory or the resource had no bytes; writes only grow it.
  std::uint64_t fileEnd = 0;
  auto total = [&] {
    std::uint64_t n = 0;
    for (const Item& i : model) n += i.data.size();
    return n;
  };
  auto remove = [&](std::vector<Item>::iterator it) {
    const bool truncates = model.size() > 1 && !it->data.empty();
    model.erase(it);
    if (truncates) fileEnd = total();
  };
  auto find = [&](ResType t, std::uint32_t id) {
    return std::find_if(model.begin(), model.end(),
                        [&](const Item& i) { return i.type == t && i.id == id; });
  };
  for (int step = 0; step < 400; ++step) {
    const ResType type = types[rng() % 3];
    const std::uint32_t id = rng() % 6;
    auto at = find(type, id);
    const int op = static_cast<int>(rng() % 10);
    if (op < 6) {
      std::vector<std::uint8_t> data(rng() % 2 ? rng() % 5
                                               : (at == model.end() ? 0 : at->data.size()));
      for (auto& b : data) b = static_cast<std::uint8_t>(rng());
      const std::string name = "n" + std::to_string(step);
      ASSERT_TRUE(f.files.WriteResource(ref, type, id, data, name));
      if (at != model.end() && at->data.size() == data.size()) {
        *at = {type, id, name, data};
      } else {
        if (at != model.end()) remove(at);
        model.push_back({type, id, name, data});
        fileEnd = std::max(fileEnd, total());
      }
    } else if (op < 8) {
      f.files.DeleteResource(ref, type, id);
      if (at != model.end()) remove(at);
    } else {
      const ResType to = types[rng() % 3];
      const std::uint32_t toId = 10 + rng() % 6;
      const std::string name = rng() % 2 ? "" : "r" + std::to_string(step);
      if (find(to, toId) != model.end()) continue;
      EXPECT_EQ(f.files.ChangeResourceInfo(ref, type, id, name, to, toId),
                at == model.end() ? -1 : 0);
      if (at != model.end()) *at = {to, toId, name.empty() ? at->name : name, at->data};
    }
    if (step % 50 == 49) {
      ASSERT_EQ(f.files.CloseResFile(ref), 0);
      ref = f.files.OpenResFile(f.path);
      ASSERT_NE(ref, 0u);
    }
    const std::vector<ResourceEntry> entries = f.files.Entries(ref);
    ASSERT_EQ(entries.size(), model.size()) << step;
    std::uint32_t start = 0;
    for (std::size_t k = 0; k < model.size(); ++k) {
      const Item& m = model[k];
      const ResourceEntry& e = entries[k];
      ASSERT_EQ(std::tie(e.type, e.id, e.name, e.start), std::tie(m.type, m.id, m.name, start))
          << step;
      ASSERT_EQ(e.end, static_cast<std::uint32_t>(start + m.data.size() - 1)) << step;
      auto r = f.files.ReadResource(ref, m.type, m.id);
      ASSERT_TRUE(r);
      ASSERT_EQ(std::vector<std::uint8_t>(r->bytes().begin(), r->bytes().end()), m.data) << step;
      start += static_cast<std::uint32_t>(m.data.size());
    }
    for (ResType t : types) {
      ASSERT_EQ(
          f.files.CountResourcesOfType(ref, t),
          std::count_if(model.begin(), model.end(), [&](const Item& i) { return i.type == t; }));
    }
    ASSERT_EQ(test::FileSizeOf(f.path), kHeader + fileEnd) << step;
  }
  f.files.CloseResFile(ref);
}

// Removing the only resource leaves the data area as it is; the next
// resource starts at 0 again.
TEST(ResourceFileOps, RemovingTheOnlyResourceKeepsTheFileSize) {
  ResFixture f;
  RefNum ref = f.CreateAndOpen();
  f.files.WriteResource(ref, kResPinf, 0, ResFixture::Bytes("abcdef"), "only");
  f.files.DeleteResource(ref, kResPinf, 0);
  EXPECT_EQ(test::FileSizeOf(f.path), kHeader + 6);
  f.files.WriteResource(ref, kResPnts, 0, ResFixture::Bytes("xy"), "next");
  EXPECT_EQ(f.files.Entries(ref)[0].start, 0u);
  f.files.CloseResFile(ref);
}

TEST(ResourceFileOps, ReadGivesABlockTaggedWithTheType) {
  ResFixture f;
  RefNum ref = f.CreateAndOpen();
  f.files.WriteResource(ref, kResPref, 128, ResFixture::Bytes("hello"), "Preferences");
  const std::size_t before = f.rt.memory.LiveCount();
  {
    auto res = f.files.ReadResource(ref, kResPref, 128);
    ASSERT_EQ(f.rt.memory.LiveCount(), before + 1);
    EXPECT_EQ(f.rt.memory.Entries().back().tag, kResPref);
  }
  EXPECT_EQ(f.rt.memory.LiveCount(), before);
  f.files.CloseResFile(ref);
}

TEST(ResourceFileNames, StoredUpToFirstNulAnd255FitLongerAreRefused) {
  ResFixture f;
  RefNum ref = f.CreateAndOpen();
  const std::string longest(255, 'n');
  EXPECT_TRUE(f.files.WriteResource(ref, kResPinf, 0, ResFixture::Bytes("a"), longest));
  EXPECT_EQ(f.files.ReadResource(ref, kResPinf, 0)->name, longest);
  EXPECT_TRUE(
      f.files.WriteResource(ref, kResPinf, 1, ResFixture::Bytes("b"), std::string("ab\0cd", 5)));
  EXPECT_EQ(f.files.ReadResource(ref, kResPinf, 1)->name, "ab");
  EXPECT_TRUE(f.ui.Messages().empty());
  EXPECT_FALSE(f.files.WriteResource(ref, kResPinf, 2, ResFixture::Bytes("abc"), longest + "n"));
  EXPECT_EQ(
      f.ui.Messages(),
      (std::vector<RecordedMessage>{
          {"Notification",
           "CLVlib:WriteResource - resource name longer than 255 characters; not written."}}));
  EXPECT_EQ(f.files.CountResourcesOfType(ref, kResPinf), 2u);
  f.files.CloseResFile(ref);
  EXPECT_EQ(test::FileSizeOf(f.path), kHeader + 2);
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
  EXPECT_NE(f.files.OpenResFile(f.path), 0u);  // a full directory is a valid one
}

TEST(ResourceFileOpen, RejectsBadHeadersSilently) {
  ResFixture f;
  ASSERT_EQ(f.files.CreateResFile(f.path), 0);
  const auto good = ReadFileBytes(f.path);
  // Byte patches: each magic, the zero word, the capacity, a count of 4096,
  // and one entry whose data starts at 5 instead of 0.
  const std::vector<std::vector<std::pair<std::size_t, std::uint8_t>>> rows = {
      {{0, 0x43}}, {{4, 0}}, {{8, 1}}, {{12, 0xDD}}, {{18, 0x10}}, {{19, 1}, {31, 5}}};
  for (const auto& patches : rows) {
    auto bad = good;
    for (auto [at, value] : patches) bad[at] = value;
    test::WriteFileBytes(f.path, bad);
    EXPECT_EQ(f.files.OpenResFile(f.path), 0u) << "offset " << patches[0].first;
  }
  test::WriteFileBytes(f.path, std::vector<std::uint8_t>(good.begin(), good.begin() + 1000));
  EXPECT_EQ(f.files.OpenResFile(f.path), 0u);  // shorter than the header
  EXPECT_TRUE(f.ui.Messages().empty());
  EXPECT_EQ(f.files.OpenFileCount(), 0u);
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
  for (RefNum r : refs) EXPECT_EQ(f.files.CloseResFile(r), 0);  // the last slot too
  // A path of 254 characters is kept; one of 255 could not be reopened.
  const std::string longest = f.dir.path() + "/" + std::string(253 - f.dir.path().size(), 'p');
  ASSERT_EQ(f.files.CreateResFile(longest), 0);
  RefNum kept = f.files.OpenResFile(longest);
  EXPECT_NE(kept, 0u);
  EXPECT_EQ(f.files.CloseResFile(kept), 0);
  ASSERT_EQ(f.files.CreateResFile(longest + "p"), 0);
  EXPECT_EQ(f.files.OpenResFile(longest + "p"), 0u);
  EXPECT_EQ(f.ui.MessageTexts(),
            std::vector<std::string>{"CLVlib:OpenResFile - error opening file."});
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
  EXPECT_EQ(
      f.ui.MessageTexts(),
      (std::vector<std::string>{"CLVlib:Can't find refnum index", "CLVlib:Can't find refnum index",
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
  EXPECT_EQ(before[19], 0);               // count still 0 on disk
  EXPECT_EQ(before.size(), kHeader + 4);  // but the data is there
  ASSERT_EQ(f.files.CloseResFile(ref), 0);
  EXPECT_EQ(ReadFileBytes(f.path)[19], 1);
}

TEST(ResourceFileOpen, FileFailuresAreReported) {
  ResFixture f;
  EXPECT_EQ(f.files.OpenResFile(f.dir.File("nothing")), 0u);
  EXPECT_EQ(f.files.CreateResFile(f.dir.File("no/such/dir/res")), -1);
  RefNum ref = f.CreateAndOpen();
  std::remove(f.path.c_str());
  EXPECT_EQ(f.files.CloseResFile(ref), -1);
  EXPECT_EQ(f.files.OpenFileCount(), 1u);  // the slot stays open
  EXPECT_EQ(f.ui.MessageTexts(),
            (std::vector<std::string>{"CLVlib:OpenResFile - error opening file.",
                                      "CLVlib:CreateResFile failed.\n",
                                      "Can't open file from CloseResFile"}));
}

// A 408 KB file whose one entry claims up to 4 GB: the claim is checked
// against the file's size before any memory is asked for, so even a
// runtime that refuses every block above 1 MB reads nothing and says
// nothing ("Bad data allocate" would mean the allocation came first).
TEST(ResourceFileRead, ClaimedLengthBeyondTheFileIsRefusedBeforeAllocating) {
  ResFixture f;
  RefNum ref = f.CreateAndOpen();
  ASSERT_TRUE(f.files.WriteResource(ref, kResClut, 1000, ResFixture::Bytes("ABC"), "pal"));
  ASSERT_EQ(f.files.CloseResFile(ref), 0);
  std::vector<std::uint8_t> bytes = ReadFileBytes(f.path);
  // Rows: the last byte the entry claims, and whether the file holds it.
  const std::pair<std::uint32_t, bool> rows[] = {{2, true}, {3, false}, {0xFFFFFFFE, false}};
  for (auto [end, holds] : rows) {
    StoreBE32(bytes.data() + ResourceFile::kDirectoryOffset + 12, end);
    test::WriteFileBytes(f.path, bytes);
    f.rt.memory.SetFailAbove(std::size_t{1} << 20);
    ref = f.files.OpenResFile(f.path);
    ASSERT_NE(ref, 0u) << end;
    EXPECT_EQ(f.files.ReadResource(ref, kResClut, 1000).has_value(), holds) << end;
    f.files.CloseResFile(ref);
    EXPECT_TRUE(f.ui.MessageTexts().empty()) << end;
  }
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
