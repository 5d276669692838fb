// The colours of a DXF drawing: the 256-entry colour index table, the
// layer table with each layer's colour index, the rule that turns an
// entity's colour index into a table index, and the nearest table index
// for a colour triple.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "import/material_value.h"

namespace ws::dxf {

// Receives the reader's step-by-step lines; an empty function (the
// default) drops them.
using Trace = std::function<void(std::string_view)>;

// Names of layers and blocks keep at most this many characters.
inline constexpr std::size_t kMaxNameChars = 255;

// The colour of index 0 to 255; any other index gives red.
ColorTriple ColorIndexToRGB(int index);

// The index whose colour is nearest to `color` (Euclidean distance).
// Index 1 is the first candidate and a later index replaces the current
// one only when strictly nearer, so ties keep the lower index, and index 0
// (black) wins only when strictly nearer than index 1.
int BestColorMatch(const ColorTriple& color, const Trace& trace = {});

// Layer names and their colour indices; the first definition of a name
// wins.
class LayerTable {
 public:
  void AddLayer(std::string_view name, int color, const Trace& trace = {});
  // -1 for a layer that was never defined.
  int LookupLayerColor(std::string_view name) const;
  void Clear() { colors_.clear(); }

 private:
  std::unordered_map<std::string, int> colors_;
};

// The colour index an entity or block face is drawn in. For an entity
// (isEntity): 0 is the layer's colour, 256 is 7 (white), anything else
// stands. For the faces of an inserted block, 256, and 0 on the layer named
// "0", take the insert's colour `insertColor` instead.
int FindColor(const LayerTable& layers, std::string_view layer, int colorIndex, bool isEntity,
              int insertColor, const Trace& trace = {});

}  // namespace ws::dxf
