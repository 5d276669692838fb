#include "model/color_ops.h"

#include <algorithm>

#include "resource/file_io.h"
#include "resource/text_scanner.h"

namespace ws {
namespace {

constexpr std::uint32_t kSkyId = 128;
constexpr std::uint32_t kTranslatedSkyId = 129;
constexpr std::uint32_t kFloorId = 0;
constexpr std::size_t kActBytes = 768;
constexpr std::string_view kTranslatedSkyName = "Translated Sky";

constexpr std::string_view kNotAColorTable =
    "Wirestead does not recognize that file as a color table.";

// The image palette ('clut' 2000 of the Preferences file) mapped into the
// given table. Without an image palette the images are taken as already in
// the current table's indices.
std::array<std::uint8_t, 256> ImageMapFor(Model& model, const ColorTable& current) {
  auto images = ReadClutFromFile(model.resources, model.paths.preferences, kImageClutId);
  if (!images) {
    std::array<std::uint8_t, 256> identity{};
    for (std::size_t i = 0; i < 256; ++i) identity[i] = static_cast<std::uint8_t>(i);
    return identity;
  }
  return BuildImageMap(current, *images);
}

std::optional<ColorTable> ReadCurrentOrComplain(Model& model, const std::string& file) {
  auto table = ReadClutFromFile(model.resources, file, kCurrentClutId);
  if (!table) model.ui().ShowNote("Can't find clut in preferences file.");
  return table;
}

bool TranslateSkyWithMap(Model& model, const std::array<std::uint8_t, 256>& map) {
  OpenResource prefs(model.resources, model.paths.preferences);
  if (!prefs) return false;
  auto sky = model.resources.ReadResource(prefs.ref(), kResSkdt, kSkyId);
  if (!sky) return false;
  // Bytes are palette indices 0..255: map through them unsigned.
  for (std::uint8_t& v : sky->data.bytes()) v = map[v];
  bool ok = model.resources.WriteResource(prefs.ref(), kResSkdt, kTranslatedSkyId, sky->bytes(),
                                          kTranslatedSkyName);
  return prefs.Close() == 0 && ok;
}

bool TranslateFloorWithMap(Model& model, const std::array<std::uint8_t, 256>& map) {
  model.colors.translatedFloor.clear();
  OpenResource prefs(model.resources, model.paths.preferences);
  if (!prefs) return false;
  auto floor = model.resources.ReadResource(prefs.ref(), kResLpat, kFloorId);
  prefs.Close();
  if (!floor) return false;
  model.colors.translatedFloor.assign(floor->bytes().begin(), floor->bytes().end());
  for (std::uint8_t& v : model.colors.translatedFloor) v = map[v];
  return true;
}

}  // namespace

bool ReadColorTableLines(TextScanner& in, ColorTable& table) {
  for (std::size_t i = 0; i < kColorCount; ++i) {
    auto index = in.Hex(4);
    if (!index || !in.Literal(',')) return false;
    auto r = in.Hex(4);
    if (!r || !in.Literal(',')) return false;
    auto g = in.Hex(4);
    if (!g || !in.Literal(',')) return false;
    auto b = in.Hex(4);
    if (!b) return false;
    // The index column is ignored: entry i is entry i.
    table.Set(i, {static_cast<std::uint16_t>(*r), static_cast<std::uint16_t>(*g),
                  static_cast<std::uint16_t>(*b)});
  }
  table.count = 256;
  return true;
}

void LoadColorTable(Model& model) {
  auto path =
      model.ui().AskOpenPath("Select color table...", {{"All 8-bit Color Formats", "*.wct;*.act"},
                                                       {"Wirestead Color Table", "*.wct"},
                                                       {"Adobe 8-bit ACT File", "*.act"}});
  if (!path || path->size() < 5) return;
  if (path->ends_with(".wct")) {
    ImportColorTableText(model, *path);
  } else if (path->ends_with(".act")) {
    ImportColorTableAct(model, *path);
  }
}

bool ImportColorTableText(Model& model, const std::string& path) {
  WaitScope wait(model.rt);
  auto bytes = ReadWholeFile(path);
  if (!bytes) {
    wait.End();
    model.ui().ShowNote("Can't open color table text import.");
    return false;
  }
  std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
  TextScanner in(text);
  ColorTable table;
  if (in.Word(19) != kColorTextHeader10 || !ReadColorTableLines(in, table)) {
    wait.End();
    model.ui().ShowNote(kNotAColorTable);
    return false;
  }
  return StoreCurrentColorTable(model, table);
}

bool ImportColorTableAct(Model& model, const std::string& path) {
  WaitScope wait(model.rt);
  auto bytes = ReadWholeFile(path);
  if (!bytes) {
    wait.End();
    model.ui().ShowNote("Can't open Adobe color table for import.");
    return false;
  }
  // A file shorter than 256 triples is not a palette; longer ones (with the
  // optional count and transparency trailer) use the first 768 bytes.
  if (bytes->size() < kActBytes) {
    wait.End();
    model.ui().ShowNote(kNotAColorTable);
    return false;
  }
  ColorTable table;
  for (std::size_t i = 0; i < kColorCount; ++i) {
    const std::uint8_t* c = bytes->data() + i * 3;
    table.Set(i, {static_cast<std::uint16_t>(c[0] * 257), static_cast<std::uint16_t>(c[1] * 257),
                  static_cast<std::uint16_t>(c[2] * 257)});
  }
  return StoreCurrentColorTable(model, table);
}

bool WriteColorTableText(Model& model, const std::string& path) {
  WaitScope wait(model.rt);
  auto table = ReadClutFromFile(model.resources, model.paths.preferences, kCurrentClutId);
  if (!table) {
    wait.End();
    model.ui().ShowNote("Can't find clut in preferences file.");
    return false;
  }
  std::string text(kColorTextHeader10);
  text += "\r\n";
  text += FormatColorLines(*table, "\r\n");
  if (!WriteFileAtomically(path, text)) {
    wait.End();
    model.ui().ShowNote("Can't open color table text file for writing.");
    return false;
  }
  return true;
}

void SaveColorTableAs(Model& model) {
  SaveDialogOptions options;
  options.title = "Select directory..";
  options.filters = {{"Wirestead Color Table", "*.wct"}};
  auto path = model.ui().AskSavePath(options);
  if (!path) return;
  std::string target = *path;
  if (!target.ends_with(".wct")) target += ".wct";
  WriteColorTableText(model, target);
}

bool StoreCurrentColorTable(Model& model, const ColorTable& table) {
  // The table travels with the cluster: the working file's 'clut' 1000
  // follows the current one, so that Save Cluster, the next session's
  // backup and a converted cluster keep it. It is written first; when the
  // Preferences file then refuses, the working file gets its table back.
  const std::string& working = model.paths.working;
  std::optional<ColorTable> previous;
  if (FileExists(working)) {
    previous = ReadClutFromFile(model.resources, working, kCurrentClutId);
    if (!WriteClutToFile(model.resources, working, kCurrentClutId, table)) return false;
  }
  if (!WriteClutToFile(model.resources, model.paths.preferences, kCurrentClutId, table)) {
    if (previous) WriteClutToFile(model.resources, working, kCurrentClutId, *previous);
    return false;
  }
  return RebuildColorState(model, model.paths.preferences);
}

bool RebuildColorState(Model& model, const std::string& file) {
  auto table = ReadCurrentOrComplain(model, file);
  if (!table) return false;
  model.colors.current = *table;
  model.colors.drawing = ComputeDrawingColors(*table);
  model.colors.imageMap = ImageMapFor(model, *table);
  TranslateFloorWithMap(model, model.colors.imageMap);
  TranslateSkyWithMap(model, model.colors.imageMap);
  model.colors.valid = true;
  model.observer().ColorTableChanged();
  return true;
}

bool TranslateSky(Model& model, const std::string& file) {
  auto table = ReadCurrentOrComplain(model, file);
  if (!table) return false;
  return TranslateSkyWithMap(model, ImageMapFor(model, *table));
}

bool TranslateFloor(Model& model, const std::string& file) {
  model.colors.translatedFloor.clear();
  auto table = ReadCurrentOrComplain(model, file);
  if (!table) return false;
  return TranslateFloorWithMap(model, ImageMapFor(model, *table));
}

}  // namespace ws
