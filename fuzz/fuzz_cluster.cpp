// Runs the cluster loader on arbitrary input, in a private base directory
// with a minimal Preferences file. Two shapes of input, chosen by the first
// byte:
//   even: the rest is written as it is, as a cluster file and as the
//         working file;
//   odd:  the rest is a list of resources, each [type][id][length lo][length
//         hi][bytes], written into a fresh resource file beside a valid
//         'clut' 1000, so that the object decoder sees well-formed
//         containers with hostile contents.
// Either way the object readers and LoadCluster must refuse or load, never
// crash, and a refused cluster must leave the working file as it was.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "model/cluster.h"
#include "model/color_ops.h"
#include "model/glyph_store.h"
#include "platform/scripted_ui.h"
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

// One model for the whole run; each input starts from the same working file.
struct Harness {
  std::string base;
  ws::ScriptedUi ui;
  ws::Runtime rt{ui};
  std::unique_ptr<ws::Model> model;
  std::vector<std::uint8_t> cleanWorking;

  Harness() {
    // tmpfs when there is one: every input costs several whole-file copies.
    std::string tmpl = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm/ws-fuzz-cluster-XXXXXX"
                                                       : "/tmp/ws-fuzz-cluster-XXXXXX";
    if (!mkdtemp(tmpl.data())) std::abort();
    base = tmpl;
    model = std::make_unique<ws::Model>(rt);
    model->paths = ws::Paths::FromBase(base);
    model->resources.CreateResFile(model->paths.preferences);
    ws::WriteClutToFile(model->resources, model->paths.preferences, ws::kCurrentClutId, GreyRamp());
    if (!ws::CreateWorkingCluster(*model)) std::abort();
    cleanWorking = *ws::ReadWholeFile(model->paths.working);
  }

  ~Harness() {
    std::error_code ec;
    std::filesystem::remove_all(base, ec);
  }

  // Back to one empty "Default Object", without allocating the tables again.
  void Reset() {
    WritePlain(model->paths.working, cleanWorking.data(), cleanWorking.size());
    model->tables.ResetObject();
    model->cluster = ws::ClusterState{};
    model->cluster.objectNames = {std::string(ws::kDefaultObjectName)};
  }
};

Harness& TheHarness() {
  static Harness harness;
  return harness;
}

void WriteResourceList(ws::Model& m, const std::string& path, const std::uint8_t* data,
                       std::size_t size) {
  ws::ResourceFile& files = m.resources;
  if (files.CreateResFile(path) != 0) return;
  ws::WriteClutToFile(files, path, ws::kCurrentClutId, GreyRamp());
  ws::OpenResource f(files, path);
  if (!f) return;
  std::size_t pos = 0;
  while (size - pos >= 4) {
    const ws::ResType type = kTypes[data[pos] % std::size(kTypes)];
    const std::uint32_t id = data[pos + 1] % 4;
    std::size_t length = data[pos + 2] | (std::size_t{data[pos + 3]} << 8);
    pos += 4;
    length = std::min(length, size - pos);
    files.WriteResource(f.ref(), type, id == 3 ? 1000 : id, {data + pos, length}, "fuzz");
    pos += length;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  Harness& h = TheHarness();
  ws::Model& m = *h.model;
  h.ui.ClearMessages();

  const std::string cluster = h.base + "/input.wdc";
  if (data[0] % 2 == 0) {
    WritePlain(cluster, data + 1, size - 1);
  } else {
    WriteResourceList(m, cluster, data + 1, size - 1);
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
  const auto before = ws::ReadWholeFile(m.paths.working);
  if (!ws::LoadCluster(m, cluster) && ws::ReadWholeFile(m.paths.working) != before) std::abort();
  h.Reset();
  return 0;
}
