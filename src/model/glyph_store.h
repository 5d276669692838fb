// The glyph store: the outlines of the vector font, loaded at start-up from
// the Preferences file (objects 'PINF'/'PNTS'/'TVCT'/'FACE' ids 0, 1, 2, ...
// until the first missing 'PINF') and drawn by the text labels.
//
// The store has no reserved entries and fixed capacities of 700 points, 700
// vectors and 20 polygons over all glyphs. Glyphs are appended in id order:
// a glyph's vector ends and polygon corners are its stored numbers plus the
// points already in the store, its polygons' view-zone entries (the first
// viewZoneCount, index bits only) are offset by the polygons already there,
// and its polygons' vector lists are copied as stored, so they stay
// relative to the glyph. Each glyph gets a record of its three counts and
// offsets; glyph n is record n.
//
// Safe on untrusted files: a glyph that would not fit in the store, or whose
// resources are damaged or hold an index outside the glyph, is left out with
// a Notification and gets an empty record (so later glyphs keep their
// numbers); nothing is ever stored past a capacity.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/object_resources.h"

namespace ws {

class Ui;

inline constexpr std::uint32_t kGlyphMaxPoints = 700;
inline constexpr std::uint32_t kGlyphMaxVectors = 700;
inline constexpr std::uint32_t kGlyphMaxPolygons = 20;
// Room for one record per character code; the labels use 39 glyphs.
inline constexpr std::uint32_t kGlyphMaxRecords = 256;

// A glyph vector keeps the stored fields; its ends are indices into the
// store's point list.
using GlyphVector = StoredVector;

// Counts and offsets of one glyph inside the store.
struct GlyphRecord {
  std::uint32_t pointCount = 0;
  std::uint32_t vectorCount = 0;
  std::uint32_t polygonCount = 0;
  std::uint32_t pointOffset = 0;
  std::uint32_t vectorOffset = 0;
  std::uint32_t polygonOffset = 0;
  bool operator==(const GlyphRecord&) const = default;
};

struct GlyphStore {
  std::vector<StoredPoint> points;      // never more than kGlyphMaxPoints
  std::vector<GlyphVector> vectors;     // never more than kGlyphMaxVectors
  std::vector<StoredPolygon> polygons;  // corners are store indices
  std::vector<GlyphRecord> glyphs;      // never more than kGlyphMaxRecords

  void Clear() { *this = GlyphStore{}; }
};

// Appends one glyph read from a file. False (and the store unchanged) when
// it would pass a capacity or holds an index outside itself; `why` then says
// which.
bool AppendGlyph(GlyphStore& store, const StoredObject& glyph, std::string& why);

// Empties the store and loads the glyphs of the resource file at `path`.
// Problems are reported through `ui`; returns the number of glyph records.
std::uint32_t LoadGlyphs(ResourceFile& files, const std::string& path, Ui& ui, GlyphStore& store);

}  // namespace ws
