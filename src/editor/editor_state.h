// Small pieces of editor state that the drawing of a frame reads besides
// the model: the editor mode, the frame flags of the main window, the ants
// phase and its clock, the plot cursor, and the hover and marquee state of
// selection. Plain records; the modules that own each behaviour (the main
// window's tick, plot mode, selection) change them.
#pragma once

#include <chrono>
#include <cstdint>

#include "raster/raster_lines.h"
#include "raster/surface8.h"

namespace ws {

// Editor modes, in mode-strip order.
namespace EditorMode {
inline constexpr int kGrabColor = 0;
inline constexpr int kSetColor = 1;
inline constexpr int kSelectVector = 2;
inline constexpr int kSelectPolygon = 3;
inline constexpr int kPlot = 4;
inline constexpr int kCameraView = 5;
inline constexpr int kVirtualWalk = 6;
}  // namespace EditorMode

// Renderer choice of the Rendering menu.
inline constexpr int kRendererSoftware = 0;
inline constexpr int kRendererDirectX = 1;
inline constexpr int kRendererNeither = 2;

// Milliseconds from some fixed start; the ants advance by it. Tests and the
// command-line renderer use a clock that stands still.
class MillisecondClock {
 public:
  virtual ~MillisecondClock() = default;
  virtual std::int64_t NowMs() const = 0;
};

class SteadyClock final : public MillisecondClock {
 public:
  std::int64_t NowMs() const override {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }
};

class FixedClock final : public MillisecondClock {
 public:
  explicit FixedClock(std::int64_t now = 0) : now(now) {}
  std::int64_t NowMs() const override { return now; }
  std::int64_t now;
};

// The "marching ants" phase of dashed highlight and marquee lines: 0..7,
// advanced by one (wrapping to 0) whenever 40 ms have passed since the last
// advance.
inline constexpr std::int64_t kAntsIntervalMs = 40;

struct AntsPhase {
  int phase = 0;
  std::int64_t lastAdvanceMs = 0;

  void Advance(std::int64_t nowMs) {
    if (nowMs - lastAdvanceMs < kAntsIntervalMs) return;
    lastAdvanceMs = nowMs;
    phase = phase + 1 >= kAntsPhaseCount ? 0 : phase + 1;
  }
};

// What plot mode shows in the frame: the world coordinates under the cursor
// (only those the current view sets are kept up to date) and whether the
// cursor was inside the EditArea at the last tick. The plot step and the
// first endpoint are the model's PlotState.
struct PlotCursor {
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
  bool inArea = false;
};

// The vector and polygon under the cursor, with the depths they won with.
// Vector 0 (an axis, never hoverable) and polygon -1 mean none.
struct HoverState {
  std::uint32_t vector = 0;
  int vectorDepth = 0;
  std::int32_t polygon = -1;
  double polygonDepth = 0.0;
};

// Polygon marquee selection setting (Edit menu).
inline constexpr int kMarqueeAllPolygons = 1;
inline constexpr int kMarqueeBackFacedOnly = 2;
inline constexpr int kMarqueeFrontFacedOnly = 3;

// Selection state the views read. The selection marks themselves live in
// the vector records and the polygon selection table of the model.
struct SelectionState {
  HoverState hover;
  bool marqueeActive = false;
  IntRect marquee;  // EditArea-local, inclusive, while marqueeActive
  int polygonMarquee = kMarqueeAllPolygons;
};

// Flags of the main window that decide what a frame shows.
struct FrameState {
  int mode = EditorMode::kPlot;
  bool walkMode = false;
  int renderer = kRendererSoftware;
  bool quickCommandsShown = false;
  bool applicationActive = true;
  // Set until the EditArea has been laid out once; nothing is presented
  // before that.
  bool firstLayoutPending = true;
  AntsPhase ants;
};

}  // namespace ws
