// The marquee: a right-button drag in the EditArea encloses vectors and
// polygons; a right click without movement opens the pop-up menu instead.
//
// `MarqueeDrag` starts it at the cursor (EditArea-local), sets the marquee
// flag and shows "Select group of items by enclosing them in the marquee.
// Use the arrows to move selected items up and down.". Each move to a new
// position spans the rectangle from the start corner to the cursor,
// ordered and clamped to the local rectangle less one pixel on the right
// and bottom; then, unless the mode is Select Polygon, the vectors in it
// are marked 128 (the hit test's marquee variant); unless the mode is
// Select Vector, the polygons are marked (below) and counted; the help text
// reads "Polygons Selected = %ld     " (0 when polygons are not marked in
// this mode); a frame is drawn, the rectangle's outline drawn over it as a
// marching-ants line in the cursor colour, and presented.
//
// Polygon marking: a polygon is hit when a corner of the rectangle lies
// inside its screen outline (even-odd rule), a corner of the outline lies
// in the rectangle, or an edge of the outline crosses or touches a side of
// the rectangle. Invisible polygons are never hit while they are hidden,
// nor are polygons the last frame did not draw. Under the marquee setting
// 1 (all) a hit polygon not already selected gets 128, under 2 only one
// that was drawn back-facing, under 3 only one that was not; every polygon
// that does not qualify loses a 128 mark, and so do the vectors of its
// vector list. The count is of the polygons that hold a mark (128 or 1).
//
// On release the marquee flag and rectangle are cleared and a menu refresh
// requested. When the end corner differs from the start, every mark 128
// becomes 1; otherwise nothing is selected (any 128 goes back to 0) and the
// caller opens the pop-up menu.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "editor/interaction/interaction.h"

namespace ws {

inline constexpr std::string_view kHelpMarquee =
    "Select group of items by enclosing them in the marquee. Use the arrows to move selected items "
    "up and down.";

// "Polygons Selected = %ld     ".
std::string MarqueeCountText(long count);

// `MarqueeDrag`: a right-button press at a client position. False (no
// marquee) in walk mode or outside the EditArea.
bool MarqueeDrag(EditContext& ctx, int clientX, int clientY);
// One step to an EditArea-local cursor position (nothing when the cursor
// has not moved since the last step).
void MarqueeStep(EditContext& ctx, int localX, int localY);
// The release: true when the marquee moved (the marks became selections),
// false when the pop-up menu is due.
bool FinishMarquee(EditContext& ctx);
// Ends it selecting nothing.
void AbortMarquee(EditContext& ctx);

// The rectangle spanned by two corners, ordered and clamped to `local` less
// one pixel on the right and bottom.
IntRect MarqueeRect(int x0, int y0, int x1, int y1, const IntRect& local);

// Whether a screen outline is hit by the (inclusive) rectangle.
bool OutlineHitByRect(std::span<const ScreenPoint> outline, const IntRect& rect);

// Polygon marking for `rect` under marquee setting `setting` (1, 2, 3),
// using the screen positions of the last projection; returns the number of
// polygons that hold a mark.
std::uint32_t MarkPolygonsInMarquee(ObjectTables& t, const IntRect& rect, int setting,
                                    bool showInvisible);

// Every mark 128 of a vector or polygon becomes `mark`.
void ResolveMarqueeMarks(ObjectTables& t, std::uint32_t mark);

// The dashed outline of the marquee rectangle.
void DrawMarqueeOutline(PixelRows target, const IntRect& rect, std::uint8_t colour,
                        std::uint8_t background, int antsPhase);

}  // namespace ws
