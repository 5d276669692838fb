// Shared body of the two 3DMF fuzz targets: the metafile is imported
// through Import3dmf into a model with a minimal Preferences file; nothing
// may crash, and the object must stay consistent and within its limits.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "import/import_3dmf.h"
#include "model/cluster.h"
#include "model/color_ops.h"
#include "platform/scripted_ui.h"
#include "resource/file_io.h"
#include "scene_reader_fuzz.h"

namespace fuzz_support {

struct MetafileHarness {
  FuzzTempDir dir{"ws-fuzz-3dmf"};
  std::string base = dir.path;
  ws::ScriptedUi ui;
  ws::Runtime rt{ui};
  std::unique_ptr<ws::Model> model;
  std::unique_ptr<ws::ImportNotifier> notifier;
  ws::ImportProgress progress;
  std::unique_ptr<ws::ImportServices> services;

  MetafileHarness() {
    model = std::make_unique<ws::Model>(rt);
    model->paths = ws::Paths::FromBase(base);
    model->resources.CreateResFile(model->paths.preferences);
    ws::ColorTable grey;
    for (std::size_t i = 0; i < 256; ++i) {
      const auto v = static_cast<std::uint16_t>(i * 257);
      grey.Set(i, {v, static_cast<std::uint16_t>(65535 - v), v});
    }
    ws::WriteClutToFile(model->resources, model->paths.preferences, ws::kCurrentClutId, grey);
    if (!ws::CreateWorkingCluster(*model) || !model->tables.allocated()) std::abort();
    notifier = std::make_unique<ws::ImportNotifier>("/dev/null");
    services = std::make_unique<ws::ImportServices>(
        ws::ImportServices{*notifier, progress, {}, ws::SceneReaders::Defaults(), ws::Import3dmf});
  }
};

inline int FuzzMetafile(const std::string& bytes) {
  static MetafileHarness h;
  const std::string path = h.base + "/input.3dmf";
  ws::FileHandle out = ws::CreateFileTruncated(path);
  if (!out) return 0;
  if (!bytes.empty()) ws::WriteBytes(out, bytes.data(), bytes.size());
  out = ws::FileHandle();
  h.model->tables.ResetObject();
  h.ui.ClearMessages();
  ws::Import3dmf(*h.model, *h.services, path, true);
  CheckTables(h.model->tables);
  return 0;
}

}  // namespace fuzz_support
