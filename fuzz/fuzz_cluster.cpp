// Runs the cluster loader on arbitrary input, in a private base directory
// with a minimal Preferences file. A cluster file is 408,020 bytes of
// header and directory before its first resource byte; an input that had to
// hold all of it would leave the fuzzer mutating zeros at a few runs a
// second, so the harness writes the fixed part itself. Two shapes of input,
// chosen by the first byte:
//   even: a directory and its data area:
//           [count: BE u16]  the header's resource count, as hostile as the
//                            fuzzer likes (above the entries given, above
//                            the capacity)
//           [n: u8] then n entries, each the 16 bytes of an entry as on
//                            disk (LE id, LE type, BE start, BE end) and
//                            [name length: u8][name bytes]
//           [rest]           the data area
//         written behind the magics and capacity of a valid header;
//   odd:  the rest is a list of resources, each [type][id][length lo][length
//         hi][bytes], written into a fresh resource file beside a valid
//         'clut' 1000, so that the object decoder sees well-formed
//         containers with hostile contents.
// fuzz/make_seeds.py turns a cluster file into either shape. Either way the
// object readers and LoadCluster must refuse or load, never crash, and a
// refused cluster must leave the working file as it was.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "fuzz_temp_dir.h"
#include "model/cluster.h"
#include "model/color_ops.h"
#include "model/glyph_store.h"
#include "platform/scripted_ui.h"
#include "resource/byte_order.h"
#include "resource/file_io.h"
#include "resource/runtime.h"

namespace {

constexpr ws::ResType kTypes[] = {ws::kResPinf, ws::kResPnts, ws::kResTvct,
                                  ws::kResFace, ws::kResAnim, ws::kResClut};

ws::ColorTable GreyRamp() {
  ws::ColorTable t;
  for (std::size_t i = 0; i < 256; ++i) {
    const auto v = static_cast<std::uint16_t>(i * 257);
    t.Set(i, {v, v, v});
  }
  return t;
}

void WritePlain(const std::string& path, const std::uint8_t* data, std::size_t size) {
  ws::FileHandle out = ws::CreateFileTruncated(path);
  if (out && size > 0) ws::WriteBytes(out, data, size);
}

using RF = ws::ResourceFile;

// The header of a resource file with an empty directory.
std::vector<std::uint8_t> EmptyHeader() {
  std::vector<std::uint8_t> file(RF::kHeaderSize, 0);
  ws::StoreLE32(file.data(), RF::kMagic1);
  ws::StoreLE32(file.data() + 4, RF::kMagic2);
  ws::StoreLE32(file.data() + 12, RF::kCapacity);
  return file;
}

void WriteDirectoryForm(const std::string& path, const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> file = EmptyHeader();
  std::size_t pos = 0;
  auto take = [&](std::size_t n) {
    const std::size_t k = std::min(n, size - pos);
    pos += k;
    return data + pos - k;
  };
  if (size - pos >= 2) {
    const std::uint8_t* c = take(2);
    ws::StoreBE32(file.data() + 16, std::uint32_t{c[0]} << 8 | c[1]);
  }
  const std::size_t entries = size - pos >= 1 ? *take(1) : 0;
  for (std::size_t i = 0; i < entries && size - pos >= 16; ++i) {
    std::uint8_t* e = file.data() + RF::kDirectoryOffset + i * RF::kEntrySize;
    std::memcpy(e, take(16), 16);
    const std::size_t nameLength = size - pos >= 1 ? *take(1) : 0;
    const std::size_t k = std::min(nameLength, size - pos);
    std::memcpy(e + 16, take(k), k);
  }
  file.insert(file.end(), data + pos, data + size);
  WritePlain(path, file.data(), file.size());
}

// One model for the whole run; each input starts from the same working file.
struct Harness {
  fuzz_support::FuzzTempDir dir{"ws-fuzz-cluster"};
  std::string base = dir.path;
  ws::ScriptedUi ui;
  ws::Runtime rt{ui};
  std::unique_ptr<ws::Model> model;
  std::vector<std::uint8_t> cleanWorking;
  std::vector<std::uint8_t> clut;  // the bytes of a valid 'clut' resource

  Harness() {
    model = std::make_unique<ws::Model>(rt);
    model->paths = ws::Paths::FromBase(base);
    model->resources.CreateResFile(model->paths.preferences);
    ws::WriteClutToFile(model->resources, model->paths.preferences, ws::kCurrentClutId, GreyRamp());
    if (!ws::CreateWorkingCluster(*model)) std::abort();
    cleanWorking = *ws::ReadWholeFile(model->paths.working);
    const std::string scratch = base + "/clut-only.wdc";
    model->resources.CreateResFile(scratch);
    ws::WriteClutToFile(model->resources, scratch, ws::kCurrentClutId, GreyRamp());
    clut = *ws::ReadWholeFile(scratch);
    clut.erase(clut.begin(), clut.begin() + RF::kHeaderSize);
  }

  // Back to one empty "Default Object", without allocating the tables again.
  void ResetModel() {
    model->tables.ResetObject();
    model->cluster = ws::ClusterState{};
    model->cluster.objectNames = {std::string(ws::kDefaultObjectName)};
  }
  // The model and the working file. Every file operation here costs a
  // whole-file copy of 408 KB, the most of a run's time: the working file is
  // written once per input and its refused-load check compares with the
  // bytes kept in memory.
  void Reset() {
    WritePlain(model->paths.working, cleanWorking.data(), cleanWorking.size());
    ResetModel();
  }
};

Harness& TheHarness() {
  static Harness harness;
  return harness;
}

// The file WriteResource would leave after writing each listed resource in
// turn (a rewrite of another length moves the resource to the end), laid out
// in memory:
// going through the resource file for every input would cost several
// whole-file copies.
void WriteResourceList(const Harness& h, const std::string& path, const std::uint8_t* data,
                       std::size_t size) {
  struct Item {
    ws::ResType type;
    std::uint32_t id;
    std::span<const std::uint8_t> bytes;
  };
  std::vector<Item> items{{ws::kResClut, ws::kCurrentClutId, h.clut}};
  std::size_t pos = 0;
  while (size - pos >= 4) {
    const ws::ResType type = kTypes[data[pos] % std::size(kTypes)];
    const std::uint32_t id = data[pos + 1] % 4 == 3 ? 1000 : data[pos + 1] % 4;
    std::size_t length = data[pos + 2] | (std::size_t{data[pos + 3]} << 8);
    pos += 4;
    length = std::min(length, size - pos);
    const Item item{type, id, {data + pos, length}};
    auto same = std::find_if(items.begin(), items.end(),
                             [&](const Item& i) { return i.type == type && i.id == id; });
    if (same != items.end() && same->bytes.size() == length) {
      *same = item;
    } else {
      if (same != items.end()) items.erase(same);
      items.push_back(item);
    }
    pos += length;
  }
  std::vector<std::uint8_t> file = EmptyHeader();
  ws::StoreBE32(file.data() + 16, static_cast<std::uint32_t>(items.size()));
  std::uint32_t start = 0;
  for (std::size_t i = 0; i < items.size(); ++i) {
    std::uint8_t* e = file.data() + RF::kDirectoryOffset + i * RF::kEntrySize;
    const auto length = static_cast<std::uint32_t>(items[i].bytes.size());
    ws::StoreLE32(e, items[i].id);
    ws::StoreLE32(e + 4, items[i].type);
    ws::StoreBE32(e + 8, start);
    ws::StoreBE32(e + 12, start + length - 1);  // a zero length ends at start - 1
    std::memcpy(e + 16, "fuzz", 4);
    start += length;
    file.insert(file.end(), items[i].bytes.begin(), items[i].bytes.end());
  }
  WritePlain(path, file.data(), file.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  Harness& h = TheHarness();
  ws::Model& m = *h.model;
  h.ui.ClearMessages();
  h.ResetModel();

  const std::string cluster = h.base + "/input.wdc";
  if (data[0] % 2 == 0) {
    WriteDirectoryForm(cluster, data + 1, size - 1);
  } else {
    WriteResourceList(h, cluster, data + 1, size - 1);
  }

  // The object readers, each object through the editor's path and the
  // glyph store's, with one open of the file.
  {
    ws::OpenResource file(m.resources, cluster);
    ws::GlyphStore glyphs;
    for (std::uint32_t id = 0; file && id < 3; ++id) {
      ws::EditorObject object;
      if (ws::ReadEditorObject(m.resources, file.ref(), id, m.tables, object).ok()) {
        ws::InstallEditorObject(object, m.tables, m.animation, m.objectWord);
        if (m.tables.pointCount > ws::kMaxPoints || m.tables.vectorCount > ws::kMaxVectors ||
            m.tables.polygonCount > ws::kMaxPolygons) {
          std::abort();
        }
      }
      ws::StoredObject glyph;
      std::string why;
      if (ws::ReadObjectResources(m.resources, file.ref(), id, {700, 700, 20}, glyph).ok()) {
        ws::AppendGlyph(glyphs, glyph, why);
      }
    }
  }

  // The whole cluster; a refusal leaves the working file as it was.
  h.Reset();
  if (!ws::LoadCluster(m, cluster) && ws::ReadWholeFile(m.paths.working) != h.cleanWorking)
    std::abort();
  return 0;
}
