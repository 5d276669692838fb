// The software EditView: projection into the point records and frame
// drawing into the draw buffer of the off-screen surface.
//
// DrawFrame, in order:
//  1. the ants phase advances when 40 ms have passed;
//  2. the EditArea's local rectangle is cleared to the background colour;
//  3. polygons: not-drawn marks cleared; facing from the signed area sum of
//     the screen outline (S < 0 back-facing) for polygons with Never Draw
//     Back-face or Each Side Has Different Color, or all of them while
//     Backfaced Polygons is on (the record's back-facing bit follows, clear
//     when not computed); the mean depth key of the points goes into the
//     record; the sort key is that mean, or 100000.0 with Higher Sorting
//     Priority; a draw item of kind 1, or 2 for a back face without
//     perspective and without Backfaced Polygons;
//  4. the six axes (key less 1.0) and every vector of non-zero display
//     width become draw items of kind 0 with key (Z1 + Z2) / 2; the least
//     and greatest of the polygon means and vector keys bound the shading;
//  5. the items are sorted by ascending key, farthest first (equal keys in
//     the order they were added);
//  6. with Vectors On every vector of display width 0, axes included, is
//     appended, so the wire frame lies on top;
//  7. the grid, when Grid On and the spacing k * g is at least 10 pixels;
//  8. the items in order (with the DirectX renderer chosen only axes and
//     wire frame, no fills): polygons when Polygons On, clipped in eye
//     space with perspective (nothing left: marked not drawn) and then
//     filled by their style, colour mode and selection; vectors with the
//     thick-line routine (axes), the wire colour (thin, thick or dashed)
//     and their own colour (pen half-width width - 1, or dashed while
//     selected or hovered);
//  9. the vector filter applies to the wire frame (front: an endpoint with
//     world z < 0; back: an endpoint with z > 0);
// 10. the guide frame;
// 11. plot mode's cursor line and first-endpoint marker;
// 12. the text labels.
// With perspective on, vectors and label strokes are clipped in eye space
// the same way before projection.
//
// Nothing is allocated per frame: the draw list, a compact copy of what the
// fills need of each polygon (taken in the sequential pass of step 3, so
// that drawing in depth order does not wander through the large polygon
// records) and the polygon filler's tables come from handle memory once
// (Allocate); the clipping scratch is part of the object.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "editor/view/display.h"
#include "editor/view/edit_view.h"
#include "raster/raster.h"

namespace ws {

inline constexpr double kPriorityKey = 100000.0;
inline constexpr double kMinGridSpacing = 10.0;
inline constexpr int kGridMargin = 10;
inline constexpr std::uint8_t kOutlineStyleEntry = 2;

// Kinds of draw items.
inline constexpr int kItemVector = 0;
inline constexpr int kItemPolygonFront = 1;
inline constexpr int kItemPolygonBack = 2;

struct DrawItem {
  std::int32_t index = 0;
  std::int32_t kind = kItemVector;
  double key = 0.0;
};

// At most every polygon, the axes and every vector sorted, and every
// vector again in the wire frame.
inline constexpr std::size_t kMaxDrawItems = kMaxPolygons + 2 * kMaxVectors;
// The sorted part of the list: every polygon, the axes and every vector.
inline constexpr std::size_t kMaxSortedItems = kMaxPolygons + kMaxVectors;
// Outlines up to this many points (triangles and quadrilaterals, most of
// any mesh) are kept in the compact per-frame polygon copy.
inline constexpr std::uint32_t kInlineOutlinePoints = 4;

class SoftwareEditView final : public EditView {
 public:
  // `sparkleSeed` seeds the highlight fill's random sparkle.
  explicit SoftwareEditView(EditorDisplay& display, std::uint32_t sparkleSeed = 1);

  // Takes the draw list and the polygon filler's tables from handle memory
  // (once). On failure shows "Not enough memory for polygon filling.", sets
  // the runtime's fatal flag and returns false; DrawFrame then draws
  // nothing.
  bool Allocate();
  void SetPresenter(Presenter* presenter) { presenter_ = presenter; }

  void ProjectAll() override;
  int DrawFrame(std::int32_t polygonToCheck) override;
  void Present(const IntRect& source, const IntRect& target) override;
  // The text labels of step 12 alone, over what the draw buffer holds (the
  // walk view shows the quick commands over its own frame).
  void DrawLabels();

  // The draw list of the last frame.
  std::span<const DrawItem> drawItems() const { return {items_, itemCount_}; }
  // The least and greatest keys that shaded the last frame.
  double leastKey() const { return leastKey_; }
  double greatestKey() const { return greatestKey_; }

 private:
  struct CursorLine;
  // What a polygon's fill needs, copied in step 3.
  struct PolygonFrame {
    std::uint32_t flags = 0;
    std::uint32_t pointCount = 0;
    double depth = 0.0;
    std::uint8_t frontColor = 0;
    std::uint8_t backColor = 0;
    bool divisible = true;  // no point at or behind the near plane
    std::array<ScreenPoint, kInlineOutlinePoints> outline{};
  };

  void BuildPolygonItems(bool listPolygons);
  void BuildVectorItems(bool listUserVectors);
  void SortItems();
  void AppendWireFrame();
  void DrawGrid(CursorLine& cursorLine);
  void DrawPolygonItem(const DrawItem& item, const Projector& projector);
  void DrawVectorItem(const DrawItem& item, const Projector& projector);
  void DrawGuideFrame();
  void DrawPlotFeedback(const CursorLine& cursorLine, const Projector& projector);
  void DrawStroke(const Projector& projector, const EyePoint& a, const EyePoint& b, int width,
                  std::uint8_t colour);
  void AddKey(double key);

  EditorDisplay& d_;
  Presenter* presenter_ = nullptr;
  PolygonFiller filler_;
  SparkleRandom sparkle_;
  Block itemBlock_;
  DrawItem* items_ = nullptr;
  Block frameBlock_;
  PolygonFrame* frames_ = nullptr;
  Block sortBlock_;
  DrawItem* sortScratch_ = nullptr;
  std::size_t itemCount_ = 0;
  std::size_t sortedCount_ = 0;
  double leastKey_ = 0.0;
  double greatestKey_ = 0.0;
  bool haveKeys_ = false;
  std::array<EyePoint, kMaxPolygonPoints> eye_{};
  std::array<EyePoint, ClippedCapacity(kMaxPolygonPoints)> clipped_{};
  std::array<ScreenPoint, ClippedCapacity(kMaxPolygonPoints)> outline_{};
  // Lines lie at least 10 pixels apart on each side of the centre.
  std::array<int, kMaxSurfaceSide / 10 + 4> gridColumns_{};
};

}  // namespace ws
