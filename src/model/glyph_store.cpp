#include "model/glyph_store.h"

#include "platform/ui.h"

namespace ws {
namespace {

// Capacities of a single glyph as read: whatever is left in the store is
// checked after reading, but a count beyond the whole store is damage.
constexpr ObjectCapacity kGlyphReadCapacity{kGlyphMaxPoints, kGlyphMaxVectors, kGlyphMaxPolygons};

std::string GlyphMessage(std::uint32_t id, std::string_view why) {
  return "Glyph " + std::to_string(id) + " of the vector font was left out: " + std::string(why) +
         ".";
}

}  // namespace

bool AppendGlyph(GlyphStore& store, const StoredObject& glyph, std::string& why) {
  const auto nPoints = static_cast<std::uint32_t>(glyph.points.size());
  const auto nVectors = static_cast<std::uint32_t>(glyph.vectors.size());
  const auto nPolygons = static_cast<std::uint32_t>(glyph.polygons.size());
  if (store.glyphs.size() >= kGlyphMaxRecords) {
    why = "the font has more glyphs than the store keeps";
    return false;
  }
  if (store.points.size() + nPoints > kGlyphMaxPoints) {
    why = "the glyph store has no room for its points";
    return false;
  }
  if (store.vectors.size() + nVectors > kGlyphMaxVectors) {
    why = "the glyph store has no room for its vectors";
    return false;
  }
  if (store.polygons.size() + nPolygons > kGlyphMaxPolygons) {
    why = "the glyph store has no room for its polygons";
    return false;
  }
  // The store reserves nothing, so every stored number must name one of
  // the glyph's own entries.
  if (std::string bad = CheckStoredIndices(glyph, 0, 0); !bad.empty()) {
    why = bad;
    return false;
  }

  GlyphRecord record;
  record.pointCount = nPoints;
  record.vectorCount = nVectors;
  record.polygonCount = nPolygons;
  record.pointOffset = static_cast<std::uint32_t>(store.points.size());
  record.vectorOffset = static_cast<std::uint32_t>(store.vectors.size());
  record.polygonOffset = static_cast<std::uint32_t>(store.polygons.size());

  store.points.insert(store.points.end(), glyph.points.begin(), glyph.points.end());
  for (const StoredVector& v : glyph.vectors) {
    store.vectors.push_back(
        {v.p1 + record.pointOffset, v.p2 + record.pointOffset, v.color, v.attribute, v.width});
  }
  for (const StoredPolygon& stored : glyph.polygons) {
    StoredPolygon p = stored;
    for (std::uint32_t k = 0; k < p.pointCount; ++k) {
      p.points[k] =
          static_cast<std::int32_t>(static_cast<std::uint32_t>(p.points[k]) + record.pointOffset);
    }
    for (std::uint32_t k = 0; k < p.viewZoneCount; ++k) {
      const std::uint32_t e = p.viewZones[k];
      p.viewZones[k] =
          (((e & ViewZone::kIndexMask) + record.polygonOffset) & ViewZone::kIndexMask) |
          (e & ~ViewZone::kIndexMask);
    }
    store.polygons.push_back(p);
  }
  store.glyphs.push_back(record);
  return true;
}

std::uint32_t LoadGlyphs(ResourceFile& files, const std::string& path, Ui& ui, GlyphStore& store) {
  store.Clear();
  OpenResource file(files, path);
  if (!file) return 0;
  StoredObject glyph;
  for (std::uint32_t id = 0;; ++id) {
    if (store.glyphs.size() >= kGlyphMaxRecords) {
      // Only a 'PINF' beyond the last record is worth a word.
      if (files.ReadResource(file.ref(), kResPinf, id)) {
        ui.ShowNote(GlyphMessage(id, "the font has more glyphs than the store keeps"));
      }
      break;
    }
    ObjectReadResult read = ReadObjectResources(files, file.ref(), id, kGlyphReadCapacity, glyph);
    if (read.status == ObjectReadStatus::kMissingPinf) break;
    std::string why;
    if (!read.ok()) {
      why = read.problem;
    } else if (AppendGlyph(store, glyph, why)) {
      continue;
    }
    ui.ShowNote(GlyphMessage(id, why));
    // An empty record keeps the glyph numbers of the later characters.
    GlyphRecord empty;
    empty.pointOffset = static_cast<std::uint32_t>(store.points.size());
    empty.vectorOffset = static_cast<std::uint32_t>(store.vectors.size());
    empty.polygonOffset = static_cast<std::uint32_t>(store.polygons.size());
    store.glyphs.push_back(empty);
  }
  return static_cast<std::uint32_t>(store.glyphs.size());
}

}  // namespace ws
