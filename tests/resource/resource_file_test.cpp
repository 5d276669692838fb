#include "resource/resource_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>
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

  RefNum CreateAndOpen() { return files.CreateResFile(path) == 0 ? files.OpenResFile(path) : 0; }
  static std::vector<std::uint8_t> Bytes(std::string_view s) { return {s.begin(), s.end()}; }
};

TEST(ResourceFileLayout, HeaderEntriesAndDataMatchHandComputedBytes) {
  ResFixture f;
  RefNum ref = f.CreateAndOpen();
  ASSERT_TRUE(f.files.WriteResource(ref, kResClut, 1000, ResFixture::Bytes("ABC"), "pal"));
  ASSERT_TRUE(f.files.WriteResource(ref, kResPinf, 0x01020304, ResFixture::Bytes("xy"), "obj"));
  // The directory reaches the disk only at close: the count is still 0.
  EXPECT_EQ(ReadFileBytes(f.path)[19], 0);
  ASSERT_EQ(f.files.CloseResFile(ref), 0);
  auto b = ReadFileBytes(f.path);
  ASSERT_EQ(b.size(), kHeader + 5);
  // Magics, zero word and capacity are little-endian: 0x88991742 lies as
  // 42 17 99 88; then the count, big-endian 2. Entry 0 at 20: id 1000 LE,
  // 'clut' as 74 75 6C 63, start 0 BE, end 2 BE.
  const std::uint8_t head[36] = {0x42, 0x17, 0x99, 0x88, 0x70, 0x25, 0x23, 0x54, 0,    0,    0, 0,
                                 0xDC, 0x05, 0,    0,    0,    0,    0,    2,    0xE8, 0x03, 0, 0,
                                 0x74, 0x75, 0x6C, 0x63, 0,    0,    0,    0,    0,    0,    0, 2};
  EXPECT_TRUE(std::equal(head, head + 36, b.begin()));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[36])), "pal");
  // Entry 1 at 292: id 04 03 02 01, 'PINF' as 46 4E 49 50, start 3, end 4.
  const std::uint8_t e1[16] = {4, 3, 2, 1, 0x46, 0x4E, 0x49, 0x50, 0, 0, 0, 3, 0, 0, 0, 4};
  EXPECT_TRUE(std::equal(e1, e1 + 16, b.begin() + 292));
  EXPECT_TRUE(std::all_of(b.begin() + 564, b.begin() + kHeader, [](auto c) { return c == 0; }));
  EXPECT_EQ(std::string(b.begin() + kHeader, b.end()), "ABCxy");
  // Entry 1 claiming up to 4 GB: the claim is checked against the file's
  // size before any memory is asked for, so even a runtime that refuses
  // every block above 1 MB reads nothing and says nothing ("Bad data
  // allocate" would mean the allocation came first). Rows: the last byte
  // the entry claims, and whether the file holds it.
  f.rt.memory.SetFailAbove(std::size_t{1} << 20);
  const std::pair<std::uint32_t, bool> rows[] = {{4, true}, {5, false}, {0xFFFFFFFE, false}};
  for (auto [end, holds] : rows) {
    StoreBE32(b.data() + 292 + 12, end);
    test::WriteFileBytes(f.path, b);
    ASSERT_NE(ref = f.files.OpenResFile(f.path), 0u) << end;
    EXPECT_EQ(f.files.ReadResource(ref, kResPinf, 0x01020304).has_value(), holds) << end;
    f.files.CloseResFile(ref);
  }
  EXPECT_TRUE(f.ui.MessageTexts().empty());
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
    return std::accumulate(model.begin(), model.end(), std::uint64_t{0},
                           [](std::uint64_t n, const Item& i) { return n + i.data.size(); });
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
    ASSERT_TRUE(step % 50 != 49 ||
                (f.files.CloseResFile(ref) == 0 && (ref = f.files.OpenResFile(f.path))));
    const std::vector<ResourceEntry> entries = f.files.Entries(ref);
    ASSERT_EQ(entries.size(), model.size()) << step;
    std::uint32_t start = 0;
    for (std::size_t k = 0; k < model.size(); ++k) {
      const Item& m = model[k];
      const ResourceEntry& e = entries[k];
      const std::uint32_t end = start + static_cast<std::uint32_t>(m.data.size()) - 1;
      ASSERT_EQ(std::tie(e.type, e.id, e.name, e.start, e.end),
                std::tie(m.type, m.id, m.name, start, end))
          << step;
      auto r = f.files.ReadResource(ref, m.type, m.id);
      ASSERT_TRUE(r &&
                  std::equal(r->bytes().begin(), r->bytes().end(), m.data.begin(), m.data.end()))
          << step;
      start = end + 1;
    }
    ASSERT_EQ(test::FileSizeOf(f.path), kHeader + fileEnd) << step;
  }
}

TEST(ResourceFileLimits, NamesOf255AndA1500EntryDirectoryFitOneMoreIsRefused) {
  ResFixture f;
  RefNum ref = f.CreateAndOpen();
  const std::string longest(255, 'n');
  const std::vector<std::uint8_t> one{7};
  EXPECT_TRUE(f.files.WriteResource(ref, kResPinf, 0, one, longest));
  EXPECT_EQ(f.files.ReadResource(ref, kResPinf, 0)->name, longest);
  EXPECT_TRUE(f.files.WriteResource(ref, kResPinf, 1, one, std::string("ab\0cd", 5)));
  EXPECT_EQ(f.files.ReadResource(ref, kResPinf, 1)->name, "ab");  // up to the first NUL
  EXPECT_FALSE(f.files.WriteResource(ref, kResPinf, 2, one, longest + "n"));
  for (std::uint32_t i = 2; i < 1500; ++i) {
    ASSERT_TRUE(f.files.WriteResource(ref, kResPnts, i, one, "p"));
  }
  EXPECT_FALSE(f.files.WriteResource(ref, kResPnts, 1500, one, "p"));
  EXPECT_EQ(f.ui.MessageTexts(),
            (std::vector<std::string>{
                "CLVlib:WriteResource - resource name longer than 255 characters; not written.",
                "CLVlib:WriteResource - the file already holds 1500 resources; not written."}));
  // Replacing one that exists, even with another length, still works.
  EXPECT_TRUE(f.files.WriteResource(ref, kResPnts, 10, std::vector<std::uint8_t>{1, 2}, "p"));
  EXPECT_EQ(f.files.CountResourcesOfType(ref, kResPnts), 1498u);
  ASSERT_EQ(f.files.CloseResFile(ref), 0);
  EXPECT_EQ(test::FileSizeOf(f.path), kHeader + 1501);
  EXPECT_NE(f.files.OpenResFile(f.path), 0u);  // a full directory is a valid one
}

TEST(ResourceFileOpen, RejectsBadHeadersSilentlyAndTheHundredAndFirstOpen) {
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
  test::WriteFileBytes(f.path, good);
  std::vector<RefNum> refs(100);
  for (RefNum& r : refs) ASSERT_NE(r = f.files.OpenResFile(f.path), 0u);
  EXPECT_EQ(f.files.OpenResFile(f.path), 0u);
  for (RefNum r : refs) EXPECT_EQ(f.files.CloseResFile(r), 0);  // the last slot too
  // A path of 254 characters is kept; one of 255 could not be reopened.
  const std::string longest = f.dir.path() + "/" + std::string(253 - f.dir.path().size(), 'p');
  ASSERT_EQ(f.files.CreateResFile(longest), 0);
  EXPECT_EQ(f.files.CloseResFile(f.files.OpenResFile(longest)), 0);
  ASSERT_EQ(f.files.CreateResFile(longest + "p"), 0);
  EXPECT_EQ(f.files.OpenResFile(longest + "p"), 0u);
  EXPECT_EQ(f.ui.MessageTexts(),
            std::vector<std::string>{"CLVlib:OpenResFile - error opening file."});
}

TEST(ResourceFileOpen, UnknownRefnumsAndFileFailuresAreReported) {
  ResFixture f;
  RefNum ref = f.CreateAndOpen();
  ASSERT_EQ(f.files.CloseResFile(ref), 0);
  RefNum reopened = f.files.OpenResFile(f.path);
  ASSERT_NE(reopened, ref);  // the same slot, a new refnum
  EXPECT_EQ(std::tuple(f.files.CloseResFile(ref), f.files.CountResourcesOfType(0, kResPinf)),
            std::tuple(-1, 0u));
  EXPECT_FALSE(f.files.ReadResource(ref, kResPinf, 0).has_value() ||
               f.files.WriteResource(12345, kResPinf, 0, {}, "") ||
               f.files.GetResFilePath(ref).has_value());
  EXPECT_EQ(*f.files.GetResFilePath(reopened), f.path);
  EXPECT_EQ(f.files.OpenResFile(f.dir.File("nothing")), 0u);
  EXPECT_EQ(f.files.CreateResFile(f.dir.File("no/such/dir/res")), -1);
  std::remove(f.path.c_str());
  EXPECT_EQ(f.files.CloseResFile(reopened), -1);
  EXPECT_EQ(f.files.OpenFileCount(), 1u);  // the slot stays open
  std::vector<std::string> expected(4, "CLVlib:Can't find refnum index");
  expected.insert(
      expected.end(),
      {"CLVlib:Can't find refnum index for name", "CLVlib:OpenResFile - error opening file.",
       "CLVlib:CreateResFile failed.\n", "Can't open file from CloseResFile"});
  EXPECT_EQ(f.ui.MessageTexts(), expected);
}

// Closing writes the directory back only when a call changed it: a file
// that was only read keeps the bytes it has on disk.
TEST(ResourceFileClose, WritesTheDirectoryOnlyWhenItChanged) {
  ResFixture f;
  RefNum ref = f.CreateAndOpen();
  ASSERT_TRUE(f.files.WriteResource(ref, kResClut, 1000, ResFixture::Bytes("ABC"), "pal"));
  ASSERT_EQ(f.files.CloseResFile(ref), 0);
  std::vector<std::uint8_t> disk = ReadFileBytes(f.path);
  const std::pair<const char*, std::function<void(RefNum)>> calls[] = {
      {"read only", [&](RefNum r) { (void)f.files.ReadResource(r, kResClut, 1000); }},
      {"renamed",
       [&](RefNum r) { f.files.ChangeResourceInfo(r, kResClut, 1000, "x", kResClut, 7); }},
      {"written",
       [&](RefNum r) { f.files.WriteResource(r, kResPinf, 1, ResFixture::Bytes("x"), "o"); }},
      {"deleted", [&](RefNum r) { f.files.DeleteResource(r, kResPinf, 1); }},
  };
  for (const auto& [name, call] : calls) {
    ref = f.files.OpenResFile(f.path);
    ASSERT_NE(ref, 0u) << name;
    disk[kHeader - 1] ^= 0x5A;  // a byte of the unused directory, changed behind the library's back
    test::WriteFileBytes(f.path, disk);
    call(ref);
    ASSERT_EQ(f.files.CloseResFile(ref), 0) << name;
    const std::vector<std::uint8_t> now = ReadFileBytes(f.path);
    EXPECT_EQ(now[kHeader - 1] == disk[kHeader - 1], std::string(name) == "read only") << name;
    disk = now;
  }
}

TEST(ResourceFileRead, ABlockTaggedWithTheTypeOrBadDataAllocate) {
  ResFixture f;
  RefNum ref = f.CreateAndOpen();
  f.files.WriteResource(ref, kResPref, 128, std::vector<std::uint8_t>(5000, 1), "Preferences");
  const std::size_t before = f.rt.memory.LiveCount();
  {
    auto res = f.files.ReadResource(ref, kResPref, 128);
    EXPECT_EQ(std::tuple(f.rt.memory.LiveCount(), f.rt.memory.Entries().back().tag),
              std::tuple(before + 1, kResPref));
  }
  EXPECT_EQ(f.rt.memory.LiveCount(), before);
  f.rt.memory.SetFailAbove(4096);
  EXPECT_FALSE(f.files.ReadResource(ref, kResPref, 128));
  f.rt.memory.SetFailAbove(std::nullopt);
  // Removing the only resource keeps the data area; the next starts at 0.
  f.files.DeleteResource(ref, kResPref, 128);
  f.files.WriteResource(ref, kResPnts, 0, ResFixture::Bytes("xy"), "next");
  EXPECT_EQ(std::tuple(test::FileSizeOf(f.path), f.files.Entries(ref)[0].start),
            std::tuple(kHeader + 5000, 0u));
  f.files.CloseResFile(ref);
  f.rt.memory.SetFailAbove(1000);  // the 408,020-byte header copy
  EXPECT_EQ(f.files.OpenResFile(f.path), 0u);
  EXPECT_EQ(f.ui.MessageTexts(),
            (std::vector<std::string>{"Bad data allocate", "CLVlib:OpenResFile out of memory."}));
}

}  // namespace
}  // namespace ws
