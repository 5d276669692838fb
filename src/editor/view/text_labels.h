// The text labels drawn over the EditArea with the vector font of the glyph
// store: the three axis labels and the quick-command lines shown with F5.
//
// The table has 50 entries; an entry whose first text byte is 0 is free.
// Entries 0 to 2 are the axis labels "x" at (155, 0, 0), "y" at (0, 165, 0)
// and "z" at (0, 0, -155), scale 0.05, in the label colour; they turn with
// the view. Entries 3 onward are the quick-command lines of the current
// mode at x = -190, scale 0.03: the title at y = 190 in the z-axis colour,
// the other lines in the wire colour, each 20 units below the one before and
// 15 more between groups; they do not turn with the view.
//
// Characters map to glyphs A-Z and a-z to 0-25, 0-9 to 26-35, '-' 36,
// ',' 37, '.' 38; other characters draw nothing but take their place.
// Character i of a label sits i * 285 font units to the right.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "model/color_table.h"

namespace ws {

inline constexpr std::size_t kTextLabelCount = 50;
inline constexpr std::size_t kTextLabelBytes = 256;  // text with its terminating 0
inline constexpr std::size_t kAxisLabelCount = 3;
inline constexpr double kGlyphAdvance = 285.0;
inline constexpr double kAxisLabelScale = 0.05;
inline constexpr double kQuickCommandScale = 0.03;
inline constexpr double kQuickCommandX = -190.0;
inline constexpr double kQuickCommandTitleY = 190.0;
inline constexpr double kQuickCommandLineStep = 20.0;
inline constexpr double kQuickCommandGroupGap = 15.0;

struct TextLabel {
  std::array<char, kTextLabelBytes> text{};
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
  std::uint8_t colour = 0;
  int lineWidth = 0;  // pen half-width of the strokes
  double scale = 0.0;

  bool used() const { return text[0] != 0; }
  std::string_view Text() const;
};

// Glyph number of a character; none for characters the font lacks.
std::optional<std::uint32_t> GlyphForCharacter(char c);

// One line of a quick-command list; `gapBefore` starts a new group.
struct QuickCommandLine {
  std::string_view text;
  bool gapBefore = false;
};

// Walk edit modes (Edit > Walk Editing).
inline constexpr int kWalkEditFlipFace = 1;
inline constexpr int kWalkEditColour = 3;
inline constexpr int kWalkEditViewZones = 4;

// The quick-command lines of an editor mode (0..6), or of walk mode with
// its walk edit mode when `walkMode` is set; the title first. Returns the
// number of lines written to `out` (at most its size).
std::size_t QuickCommandLines(int mode, bool walkMode, int walkEditMode,
                              std::span<QuickCommandLine> out);

class TextLabels {
 public:
  TextLabels() = default;

  const std::array<TextLabel, kTextLabelCount>& entries() const { return entries_; }
  // Frees every entry.
  void Clear();
  // Sets entry i; the text is cut to 255 bytes. False for i out of range.
  bool Set(std::size_t i, std::string_view text, double x, double y, double z, std::uint8_t colour,
           int lineWidth, double scale);
  // Entries 0 to 2.
  void SetAxisLabels(const DrawingColors& colours);
  // Rebuilds the table: the axis labels, then the quick-command lines of
  // the mode from entry 3 (the rest freed).
  void Rebuild(const DrawingColors& colours, int mode, bool walkMode, int walkEditMode);

 private:
  std::array<TextLabel, kTextLabelCount> entries_{};
};

}  // namespace ws
