// Feeds arbitrary text to the object text reader, appending into an object
// that already holds geometry; a refused file must leave it unchanged.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz_temp_dir.h"
#include "model/color_ops.h"
#include "model/object_text.h"
#include "platform/scripted_ui.h"

namespace {

// One model and Preferences file for the whole run: building the tables
// for every input would dominate the time spent.
struct Setup {
  fuzz_support::FuzzTempDir tmp{"ws-fuzz-wdo"};
  std::string dir = tmp.path;
  ws::ScriptedUi ui;
  ws::Runtime rt{ui};
  ws::Model model{rt};
  Setup() {
    ws::ScriptedUi ui;
    ws::Runtime rt(ui);
    ws::ResourceFile files(rt);
    std::string prefs = dir + "/Preferences";
    files.CreateResFile(prefs);
    ws::ColorTable table;
    for (std::size_t i = 0; i < 256; ++i) {
      auto c = static_cast<std::uint16_t>(i * 257);
      table.Set(i, {c, static_cast<std::uint16_t>(65535 - c), c});
    }
    ws::WriteClutToFile(files, prefs, ws::kCurrentClutId, table);
    model.paths = ws::Paths::FromBase(dir);
    if (!model.tables.AllocateObjectTables()) std::abort();
    model.tables.BuildReservedEntries();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Setup setup;
  std::string path = setup.dir + "/input.wdo";
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);

  ws::Model& model = setup.model;
  setup.ui.ClearMessages();
  model.tables.ResetObject();
  model.tables.AddPoint(1, 2, 3);
  model.tables.AddVector(7, 7);
  model.tables.polygonCount = 1;
  model.tables.polygons[0] = ws::Polygon{};
  if (!ws::LoadObjectText(model, path)) {
    if (model.tables.pointCount != 8 || model.tables.vectorCount != 7 ||
        model.tables.polygonCount != 1) {
      std::abort();  // a refused file changed the tables
    }
  }
  return 0;
}
