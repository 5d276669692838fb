#include "prefs_file.h"

#include <filesystem>
#include <string_view>
#include <system_error>

#include "bmp.h"
#include "environment.h"
#include "font.h"
#include "model/color_table.h"
#include "model/object_resources.h"
#include "model/object_tables.h"
#include "model/preferences.h"
#include "palette.h"
#include "platform/scripted_ui.h"
#include "resource/file_io.h"
#include "resource/resource_file.h"
#include "resource/runtime.h"
#include "sounds.h"

namespace ws::prefs {
namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kSkyId = 128;
constexpr std::uint32_t kTranslatedSkyId = 129;
constexpr std::uint32_t kGroundId = 128;
constexpr std::uint32_t kFloorId = 0;

constexpr std::array<std::string_view, kSoundCount> kSoundNames = {
    "Chime Up", "Click", "Color Chime", "Chime Down", "Pop", "Triple Blip", "Blip", "Thud"};

// Stores every glyph as an object through the cluster encoder, so the font
// and the clusters share one layout.
bool WriteGlyphs(Runtime& rt, ResourceFile& files, RefNum ref, const ColorTable& palette,
                 std::ostream& err) {
  ObjectTables tables(rt);
  if (!tables.AllocateObjectTables()) {
    err << "wirestead-prefs-gen: cannot allocate the object tables\n";
    return false;
  }
  tables.BuildReservedEntries();
  // The labels draw glyphs in their own colour; white keeps a glyph legible
  // should it ever be opened as an ordinary object.
  const std::uint8_t white = NearestColor(palette, 65535, 65535, 65535);
  const std::vector<Glyph> font = BuildFont();
  for (std::uint32_t id = 0; id < font.size(); ++id) {
    const Glyph& glyph = font[id];
    tables.ResetObject();
    for (std::uint32_t i = 0; i < glyph.points.size(); ++i) {
      const GlyphPoint& p = glyph.points[i];
      if (tables.AddPoint(p.x, p.y, p.z) != kReservedPoints + i) {
        err << "wirestead-prefs-gen: glyph '" << glyph.character << "' repeats a point\n";
        return false;
      }
    }
    for (const auto& [a, b] : glyph.vectors) {
      const std::uint32_t v = tables.AddVector(kReservedPoints + a, kReservedPoints + b);
      tables.vectors[v].color = white;
      tables.vectors[v].attribute = 0;
      tables.vectors[v].selected = kUnselected;
    }
    const StoreStatus status = StoreObjectResources(files, ref, id, std::string(1, glyph.character),
                                                    tables, AnimationSlots{}, 0);
    if (status != StoreStatus::kOk) {
      err << "wirestead-prefs-gen: cannot store glyph '" << glyph.character << "'\n";
      return false;
    }
  }
  return true;
}

bool WriteAll(Runtime& rt, ResourceFile& files, RefNum ref, std::ostream& err) {
  const ColorTable palette = BuildPalette();
  const std::vector<std::uint8_t> clut = EncodeClut(palette);
  const auto prefs = EncodePreferences(Preferences{});
  const std::vector<std::uint8_t> sky = BuildSky();
  // With the default table current, the translation maps each image index
  // to the entry NearestColor picks for it, exactly as a later colour-table
  // change would.
  const std::array<std::uint8_t, 256> map = BuildImageMap(palette, palette);
  std::vector<std::uint8_t> translatedSky = sky;
  for (std::uint8_t& v : translatedSky) v = map[v];

  bool ok = files.WriteResource(ref, kResClut, kCurrentClutId, clut, kClutName) &&
            files.WriteResource(ref, kResClut, kImageClutId, clut, "Image Palette") &&
            files.WriteResource(ref, kResPref, kPreferencesId, prefs, kPreferencesName) &&
            files.WriteResource(ref, kResSkdt, kSkyId, sky, "Sky") &&
            files.WriteResource(ref, kResSkdt, kTranslatedSkyId, translatedSky, "Translated Sky") &&
            files.WriteResource(ref, kResLndt, kGroundId, BuildGround(), "Ground") &&
            files.WriteResource(ref, kResLpat, kFloorId, BuildFloor(), "Floor");
  for (std::uint32_t n = 0; ok && n < kSoundCount; ++n) {
    ok = files.WriteResource(ref, kResPlay, n, BuildSound(n), kSoundNames[n]);
  }
  if (!ok) {
    err << "wirestead-prefs-gen: a resource could not be written\n";
    return false;
  }
  return WriteGlyphs(rt, files, ref, palette, err);
}

bool WritePreferencesFile(const std::string& path, std::ostream& err) {
  const std::string partial = path + ".partial";
  ScriptedUi ui(&err);
  Runtime rt(ui);
  ResourceFile files(rt);
  if (files.CreateResFile(partial) != 0) {
    err << "wirestead-prefs-gen: cannot create " << partial << "\n";
    return false;
  }
  bool ok;
  {
    OpenResource file(files, partial);
    if (!file) {
      err << "wirestead-prefs-gen: cannot open " << partial << "\n";
      return false;
    }
    ok = WriteAll(rt, files, file.ref(), err);
    ok = file.Close() == 0 && ok;
  }
  std::error_code ec;
  if (ok) fs::rename(partial, path, ec);
  if (!ok || ec) {
    if (ec) err << "wirestead-prefs-gen: cannot rename " << partial << ": " << ec.message() << "\n";
    fs::remove(partial, ec);
    return false;
  }
  return true;
}

bool WriteGroundTexture(const std::string& path, std::ostream& err) {
  const std::vector<std::uint8_t> bmp =
      EncodeBmp24(FloorToRgb(BuildFloor(), BuildPalette()), kFloorWidth, kFloorHeight);
  const std::string_view bytes(reinterpret_cast<const char*>(bmp.data()), bmp.size());
  if (bmp.empty() || !WriteFileAtomically(path, bytes)) {
    err << "wirestead-prefs-gen: cannot write " << path << "\n";
    return false;
  }
  return true;
}

}  // namespace

bool GenerateDefaultFiles(const std::string& outDir, std::ostream& err) {
  const fs::path dir(outDir);
  std::error_code ec;
  fs::create_directories(dir / kGroundTextureDir, ec);
  if (ec) {
    err << "wirestead-prefs-gen: cannot create " << (dir / kGroundTextureDir).string() << ": "
        << ec.message() << "\n";
    return false;
  }
  return WritePreferencesFile((dir / kPreferencesFileName).string(), err) &&
         WriteGroundTexture((dir / kGroundTextureDir / kGroundTextureName).string(), err);
}

}  // namespace ws::prefs
