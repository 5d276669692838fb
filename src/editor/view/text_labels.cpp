#include "editor/view/text_labels.h"

#include <algorithm>
#include <cstring>

#include "editor/editor_state.h"

namespace ws {

std::string_view TextLabel::Text() const {
  return {text.data(), strnlen(text.data(), text.size())};
}

std::optional<std::uint32_t> GlyphForCharacter(char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<std::uint32_t>(c - 'A');
  if (c >= 'a' && c <= 'z') return static_cast<std::uint32_t>(c - 'a');
  if (c >= '0' && c <= '9') return static_cast<std::uint32_t>(26 + (c - '0'));
  if (c == '-') return 36;
  if (c == ',') return 37;
  if (c == '.') return 38;
  return std::nullopt;
}

namespace {

using Line = QuickCommandLine;

// Groups are ours to choose except in Plot mode, whose line positions are
// known: the mouse, the view letters, the pan letters, shift. The others
// follow the same idea: mouse, commands, deleting, moving, endpoint keys.
constexpr Line kPlot[] = {
    {"plot mode quick commands - F5"},
    {"Left Click         - plot x,y,z", true},
    {"Right Click        - menu options"},
    {"Right Click Drag   - set marquee"},
    {"f        - change to front view", true},
    {"e        - change to back view"},
    {"t        - change to top view"},
    {"b        - change to bottom view"},
    {"l        - change to left view"},
    {"r        - change to right view"},
    {"i        - move up by grid value", true},
    {"j        - move left by grid value"},
    {"k        - move right by grid value"},
    {"m        - move down by grid value"},
    {"shift    - disconnect from last vector", true},
};

// The movement lines shared by Select Vector, Grab Color and Set Color
// ("Delete" to "shift key").
constexpr Line kMoveLines[] = {
    {"Delete        - delete selected objects", true},
    {"up arrow      - move selected vectors up", true},
    {"down arrow    - move selected vectors down"},
    {"left arrow    - move selected vectors left"},
    {"right arrow   - move selected vectors right"},
    {"page up       - move selected vectors back"},
    {"page down     - move selected vectors forward"},
    {"shift key     - move first endpoint only", true},
};

constexpr Line kSelectVectorHead[] = {
    {"select vector mode quick commands - f5"},
    {"Left Click Vector  - select this vector", true},
    {"Left Click Again   - drag vector closest endpoint"},
    {"Right Click        - menu options"},
    {"Right Click Drag   - set marquee"},
    {"Change Color  - change the selected displayable", true},
    {"                vectors to the new color"},
    {"0             - set vector to not displayable"},
    {"0-9           - set vector display width"},
};
constexpr Line kSelectVectorTail[] = {{"control key  \t- move second endpoint only"}};

constexpr Line kCamera[] = {
    {"camera mode quick commands - f5"},
    {"Left Click Drag    - change view", true},
    {"Right Click        - menu options"},
    {"Right Click Drag   - set marquee"},
    {"Delete        - delete selected items", true},
    {"up arrow      - move vectors up", true},
    {"down arrow    - move vectors down"},
    {"left arrow    - move vectors left"},
    {"right arrow   - move vectors right"},
    {"page up       - move vectors back"},
    {"page down     - move vectors forward"},
    {"shift         - move one endpoint only", true},
    {"control       - move other endpoint only"},
};

constexpr Line kGrabHead[] = {
    {"grab color mode quick commands - f5"},
    {"Left Click Polygon - extract polygon color", true},
    {"Left Click Vector  - extract vector color"},
    {"Right Click        - menu options"},
    {"Right Click Drag   - set marquee"},
};

constexpr Line kSetHead[] = {
    {"set color mode quick commands - f5"},
    {"Left Click Polygon - set polygon color to current", true},
    {"Left Click Vector  - set vector color to current"},
    {"Right Click        - menu options"},
    {"Right Click Drag   - set marquee"},
};

constexpr Line kSelectPolygonHead[] = {
    {"select polygon mode quick commands - f5"},
    {"Left Click Polygon - select this polygon", true},
    {"Right Click        - menu options"},
    {"Right Click Drag   - set marquee"},
    {"Change Color  - change the selected polygons", true},
    {"                front or backface to the"},
    {"                new color"},
    {"Polygons Menu - change the selected polygons"},
    {"                attributes"},
};
constexpr Line kSelectPolygonTail[] = {{"control key   - move second endpoint only"}};

constexpr Line kWalkHead[] = {
    {"walk edit mode quick commands - F5"}, {"up arrow         - move forward", true},
    {"down arrow       - move backwards"},  {"left arrow       - turn left"},
    {"right arrow      - turn right"},      {"space bar        - return to ground level"},
};
constexpr Line kWalkColour[] = {
    {"Left Click       - set polygon color", true},
    {"Right Click      - get polygon color"},
};
constexpr Line kWalkViewZones[] = {
    {"Left Click       - set high vz-sorting priority", true},
    {"Right Click      - set low vz-sorting priority"},
};
constexpr Line kWalkFlip[] = {{"Left Click       - alternate front/back face", true}};
constexpr Line kWalkTail[] = {
    {"Vectors On       - show vectors", true},    {"Vectors Off      - hide vectors"},
    {"Polygons On      - show polygons"},         {"Polygons Off     - hide polygons"},
    {"mouse wheel      - adjust viewing height"}, {"Edit Menu        - change walk edit mode"},
};

class LineWriter {
 public:
  explicit LineWriter(std::span<QuickCommandLine> out) : out_(out) {}
  template <std::size_t N>
  LineWriter& Add(const Line (&lines)[N]) {
    for (const Line& l : lines) {
      if (count_ < out_.size()) out_[count_++] = l;
    }
    return *this;
  }
  std::size_t count() const { return count_; }

 private:
  std::span<QuickCommandLine> out_;
  std::size_t count_ = 0;
};

}  // namespace

std::size_t QuickCommandLines(int mode, bool walkMode, int walkEditMode,
                              std::span<QuickCommandLine> out) {
  LineWriter w(out);
  if (walkMode) {
    w.Add(kWalkHead);
    if (walkEditMode == kWalkEditColour) w.Add(kWalkColour);
    if (walkEditMode == kWalkEditViewZones) w.Add(kWalkViewZones);
    if (walkEditMode == kWalkEditFlipFace) w.Add(kWalkFlip);
    w.Add(kWalkTail);
    return w.count();
  }
  switch (mode) {
    case EditorMode::kGrabColor:
      w.Add(kGrabHead).Add(kMoveLines);
      break;
    case EditorMode::kSetColor:
      w.Add(kSetHead).Add(kMoveLines);
      break;
    case EditorMode::kSelectVector:
      w.Add(kSelectVectorHead).Add(kMoveLines).Add(kSelectVectorTail);
      break;
    case EditorMode::kSelectPolygon:
      w.Add(kSelectPolygonHead).Add(kMoveLines).Add(kSelectPolygonTail);
      break;
    case EditorMode::kPlot:
      w.Add(kPlot);
      break;
    case EditorMode::kCameraView:
    case EditorMode::kVirtualWalk:
      w.Add(kCamera);
      break;
    default:
      break;
  }
  return w.count();
}

void TextLabels::Clear() { entries_ = {}; }

bool TextLabels::Set(std::size_t i, std::string_view text, double x, double y, double z,
                     std::uint8_t colour, int lineWidth, double scale) {
  if (i >= entries_.size()) return false;
  TextLabel& e = entries_[i];
  e.text = {};
  const std::size_t n = std::min(text.size(), kTextLabelBytes - 1);
  std::memcpy(e.text.data(), text.data(), n);
  e.x = x;
  e.y = y;
  e.z = z;
  e.colour = colour;
  e.lineWidth = lineWidth;
  e.scale = scale;
  return true;
}

void TextLabels::SetAxisLabels(const DrawingColors& colours) {
  Set(0, "x", 155.0, 0.0, 0.0, colours.green2, 0, kAxisLabelScale);
  Set(1, "y", 0.0, 165.0, 0.0, colours.green2, 0, kAxisLabelScale);
  Set(2, "z", 0.0, 0.0, -155.0, colours.green2, 0, kAxisLabelScale);
}

void TextLabels::Rebuild(const DrawingColors& colours, int mode, bool walkMode, int walkEditMode) {
  Clear();
  SetAxisLabels(colours);
  std::array<QuickCommandLine, kTextLabelCount - kAxisLabelCount> lines{};
  const std::size_t n = QuickCommandLines(mode, walkMode, walkEditMode, lines);
  double y = kQuickCommandTitleY;
  for (std::size_t i = 0; i < n; ++i) {
    if (i > 0) y -= kQuickCommandLineStep + (lines[i].gapBefore ? kQuickCommandGroupGap : 0.0);
    const std::uint8_t colour = i == 0 ? colours.yellow : colours.white;
    Set(kAxisLabelCount + i, lines[i].text, kQuickCommandX, y, 0.0, colour, 0, kQuickCommandScale);
  }
}

}  // namespace ws
