// The frame algorithm of the software EditView (steps in software_view.h).
#include <algorithm>
#include <cmath>
#include <cstring>

#include "editor/view/hit_test.h"
#include "editor/view/software_view.h"

namespace ws {

namespace {

// Pen half-widths are limited to the largest surface side: anything wider
// covers every pixel already, and the limit keeps a width read from a file
// from overflowing the raster's int.
int PenHalfWidth(std::uint32_t width) {
  return static_cast<int>(std::min<std::uint32_t>(width, kMaxSurfaceSide));
}

// A thin line along a row: the pixels DrawThinLine sets (both ends clamped
// into the rectangle), filled directly.
void ThinRow(PixelRows rows, const IntRect& clampRect, int x1, int x2, int y, std::uint8_t colour) {
  const IntRect r = Intersect(clampRect, rows.Bounds());
  if (r.Empty()) return;
  x1 = std::clamp(x1, r.left, r.right);
  x2 = std::clamp(x2, r.left, r.right);
  y = std::clamp(y, r.top, r.bottom);
  if (x2 < x1) std::swap(x1, x2);
  std::memset(rows.rows[y] + x1, colour, static_cast<std::size_t>(x2 - x1 + 1));
}

int RoundPixel(double v) {
  if (!(v == v)) return 0;
  return static_cast<int>(std::lround(std::clamp(v, -kScreenLimit, kScreenLimit)));
}

}  // namespace

// The grid line plot mode marks: which screen axis, and the world value
// (times `sign`) the line must carry. `found` once the grid met it.
struct SoftwareEditView::CursorLine {
  bool wanted = false;
  bool vertical = false;
  double sign = 1.0;
  double value = 0.0;
  bool found = false;
  int position = 0;
};

int SoftwareEditView::DrawFrame(std::int32_t polygonToCheck) {
  if (!items_ || !filler_.allocated() || d_.offscreen.empty() || !d_.model.tables.allocated()) {
    return 0;
  }
  const DrawingColors& colours = d_.model.colors.drawing;
  Surface8& surface = d_.offscreen.draw;
  ObjectTables& t = d_.model.tables;
  const DisplayOptions& o = d_.options;
  const bool directX = d_.frame.renderer == kRendererDirectX;

  // 1-2.
  d_.frame.ants.Advance(d_.clock->NowMs());
  surface.FillRect(d_.layout.local, colours.black);

  // 3-6.
  itemCount_ = 0;
  haveKeys_ = false;
  BuildPolygonItems(!directX);
  BuildVectorItems(!directX);
  SortItems();
  if (o.vectorsOn) AppendWireFrame();

  // 7.
  CursorLine cursorLine;
  const bool plotFeedback =
      d_.frame.mode == EditorMode::kPlot && d_.plotCursor.inArea && !d_.frame.walkMode;
  const int step = d_.model.plot.step;
  if (plotFeedback && !d_.selection.marqueeActive && d_.frame.applicationActive && step >= 0 &&
      step < kPlotStepCount) {
    const int view = d_.model.view.viewCode;
    const int coordinate = step % 3;  // 0 X, 1 Y, 2 Z
    const PlotCursor& c = d_.plotCursor;
    auto want = [&](bool vertical, double sign, double value) {
      cursorLine.wanted = true;
      cursorLine.vertical = vertical;
      cursorLine.sign = sign;
      cursorLine.value = value;
    };
    if (coordinate == 0) {
      if (view == kViewFront || view == kViewTop || view == kViewBottom) want(true, 1.0, c.x);
      if (view == kViewBack) want(true, -1.0, c.x);
    } else if (coordinate == 1) {
      if (view != kViewTop && view != kViewBottom) want(false, 1.0, c.y);
    } else {
      if (view == kViewTop) want(false, -1.0, c.z);
      if (view == kViewBottom) want(false, 1.0, c.z);
      if (view == kViewLeft) want(true, 1.0, c.z);
      if (view == kViewRight) want(true, -1.0, c.z);
    }
  }
  DrawGrid(cursorLine);

  // 8-9.
  const Projector projector = d_.MakeProjector();
  for (std::size_t i = 0; i < itemCount_; ++i) {
    // Items come in depth order, their polygons anywhere in the table.
    if (i + 4 < itemCount_ && items_[i + 4].kind != kItemVector) {
      __builtin_prefetch(&frames_[items_[i + 4].index]);
    }
    const DrawItem& item = items_[i];
    if (item.kind == kItemVector) {
      DrawVectorItem(item, projector);
    } else if (o.polygonsOn) {
      DrawPolygonItem(item, projector);
    }
  }

  // 10-12.
  if (o.guideFrame) DrawGuideFrame();
  if (plotFeedback) DrawPlotFeedback(cursorLine, projector);
  DrawLabels();

  if (polygonToCheck >= 0 && static_cast<std::uint32_t>(polygonToCheck) < t.polygonCount) {
    return (t.polygons[polygonToCheck].flags & PolyFlag::kBackFacing) != 0 ? 1 : 0;
  }
  return 0;
}

void SoftwareEditView::DrawGrid(CursorLine& cursorLine) {
  const DisplayOptions& o = d_.options;
  const double spacing = d_.view.scale * d_.view.gridStep;
  if (!o.gridOn || !(spacing >= kMinGridSpacing)) return;
  PixelRows rows = d_.offscreen.draw.Target();
  const IntRect& local = d_.layout.local;
  const std::uint8_t colour = d_.model.colors.drawing.darkGrey;
  const double g = d_.view.gridStep;
  const int cx = d_.layout.cx, cy = d_.layout.cy;

  // World value of the grid line with signed index j along the screen's
  // right (a) and up (b) directions, as plot mode's cursor tracking counts.
  const double panA = std::round(d_.view.panX * g);
  const double panB = std::round(d_.view.panY * g);
  auto check = [&](bool vertical, int j, int position) {
    if (!cursorLine.wanted || cursorLine.found || cursorLine.vertical != vertical) return;
    const double world = vertical ? j * g - panA : -(j * g + panB);
    if (cursorLine.sign * world == cursorLine.value) {
      cursorLine.found = true;
      cursorLine.position = position;
    }
  };

  // The vertical lines are set a row at a time, all of them in each row,
  // which walks the surface in memory order; the pixels are those of one
  // thin line per column.
  const IntRect r = Intersect(local, rows.Bounds());
  if (r.Empty()) return;
  std::size_t columns = 0;
  for (int i = 0; cx - i * spacing >= kGridMargin; ++i) {
    const int offset = RoundPixel(i * spacing);
    for (const int j : {i, -i}) {
      const int x = cx + (j < 0 ? -offset : offset);
      if (columns < gridColumns_.size()) gridColumns_[columns++] = std::clamp(x, r.left, r.right);
      check(true, j, x);
    }
  }
  int y1 = std::clamp(local.top + kGridMargin, r.top, r.bottom);
  int y2 = std::clamp(local.bottom - kGridMargin, r.top, r.bottom);
  if (y2 < y1) std::swap(y1, y2);
  for (int y = y1; y <= y2 && columns > 0; ++y) {
    std::uint8_t* row = rows.rows[y];
    for (std::size_t c = 0; c < columns; ++c) row[gridColumns_[c]] = colour;
  }
  for (int i = 0; cy - i * spacing >= kGridMargin; ++i) {
    const int offset = RoundPixel(i * spacing);
    for (const int j : {i, -i}) {
      const int y = cy + (j < 0 ? -offset : offset);
      ThinRow(rows, local, local.left + kGridMargin, local.right - kGridMargin, y, colour);
      check(false, j, y);
    }
  }
}

void SoftwareEditView::DrawPolygonItem(const DrawItem& item, const Projector& projector) {
  const DisplayOptions& o = d_.options;
  PolygonFrame& frame = frames_[item.index];
  const std::uint32_t n = frame.pointCount;
  int kind = item.kind;

  std::span<const ScreenPoint> outline;
  if (frame.divisible) {
    // As step 3 saw it; with perspective its facing stands as computed there.
    if (n <= kInlineOutlinePoints) {
      outline = {frame.outline.data(), n};
    } else {
      const ObjectTables& t = d_.model.tables;
      const Polygon& poly = t.polygons[item.index];
      for (std::uint32_t c = 0; c < n; ++c) {
        const Point& p = t.points[poly.points[c]];
        outline_[c] = {p.screenX, p.screenY};
      }
      outline = {outline_.data(), n};
    }
    if (projector.perspective() && (frame.flags & PolyFlag::kBackFacing) != 0 && !o.showBackfaced) {
      kind = kItemPolygonBack;
    }
  } else {
    // Part of it lies at or behind the eye: clip in eye space, then facing
    // again from what is left, as that is what is drawn.
    Polygon& poly = d_.model.tables.polygons[item.index];
    for (std::uint32_t c = 0; c < n; ++c) {
      const Point& p = d_.model.tables.points[poly.points[c]];
      eye_[c] = {p.eyeDepth, p.eyeX, p.eyeY};
    }
    const std::size_t m = ClipPolygonToNearPlane({eye_.data(), n}, clipped_);
    if (m == 0) {
      poly.flags |= PolyFlag::kNotDrawn;
      return;
    }
    for (std::size_t c = 0; c < m; ++c) outline_[c] = projector.Screen(clipped_[c]);
    outline = {outline_.data(), m};
    if ((frame.flags & (PolyFlag::kNeverDrawBackFace | PolyFlag::kEachSideDifferent)) != 0 ||
        o.showBackfaced) {
      const bool back = FacingSign(outline) < 0;
      poly.flags =
          back ? (poly.flags | PolyFlag::kBackFacing) : (poly.flags & ~PolyFlag::kBackFacing);
      frame.flags = poly.flags;
      kind = back && !o.showBackfaced ? kItemPolygonBack : kItemPolygonFront;
    }
  }

  const std::uint32_t flags = frame.flags;
  if ((flags & PolyFlag::kInvisible) != 0 && !o.showInvisible) return;
  const bool selected = d_.model.tables.polygonSelected[item.index] != kUnselected;
  const bool hovered = d_.selection.hover.polygon == item.index;
  if (kind == kItemPolygonBack && (flags & PolyFlag::kNeverDrawBackFace) != 0 && !selected &&
      !hovered) {
    return;
  }

  std::uint8_t colour = frame.frontColor;
  if ((flags & PolyFlag::kEachSideDifferent) != 0 && kind == kItemPolygonBack) {
    colour = frame.backColor;
  }
  if ((flags & PolyFlag::kShaded) != 0) {
    // The nearest polygon of the frame shows the ramp's base entry, the
    // farthest up to seven entries further along.
    const double range = greatestKey_ - leastKey_;
    const double step = std::trunc((greatestKey_ - frame.depth) / (range / 8.0 + 1.0));
    colour =
        static_cast<std::uint8_t>((colour & 0xF8u) + static_cast<int>(std::clamp(step, 0.0, 7.0)));
  }

  PixelRows rows = d_.offscreen.draw.Target();
  const IntRect clip = d_.offscreen.draw.Bounds();
  const std::uint8_t background = d_.model.colors.drawing.black;
  const bool bordered = (flags & PolyFlag::kBordered) != 0;
  if ((flags & PolyFlag::kOutline) != 0) {
    filler_.FillPlain(rows, clip, outline, FillWord(kOutlineStyleEntry));
  } else if (selected || hovered) {
    if (bordered) {
      filler_.FillBorderedHighlight(rows, clip, outline, colour, background, sparkle_);
    } else {
      filler_.FillHighlight(rows, clip, outline, colour, background, sparkle_);
    }
  } else if (bordered) {
    filler_.FillBordered(rows, clip, outline, FillWord(colour), background);
  } else {
    filler_.FillPlain(rows, clip, outline, FillWord(colour));
  }
}

void SoftwareEditView::DrawVectorItem(const DrawItem& item, const Projector& projector) {
  const ObjectTables& t = d_.model.tables;
  const DisplayOptions& o = d_.options;
  const DrawingColors& colours = d_.model.colors.drawing;
  const std::uint32_t index = static_cast<std::uint32_t>(item.index);
  ScreenPoint a, b;
  if (!HitTester::VectorSegment(t, projector, index, a, b)) return;
  PixelRows rows = d_.offscreen.draw.Target();

  if (index < kReservedVectors) {
    if (!o.axisOn) return;
    const std::uint8_t axisColour = index < 2   ? colours.red
                                    : index < 4 ? colours.blue
                                                : colours.yellow;
    DrawThickLine(rows, a.x, a.y, b.x, b.y, o.thickLine ? 1 : 0, axisColour);
    return;
  }

  const Vector& v = t.vectors[index];
  const bool selected = v.selected != kUnselected;
  const bool hovered = d_.selection.hover.vector == index;
  const int phase = d_.frame.ants.phase;
  if (o.vectorsOn) {
    bool passes = true;
    if (o.vectorFilter == kFrontVectorsOnly) {
      passes = t.points[v.p1].z < 0.0 || t.points[v.p2].z < 0.0;
    } else if (o.vectorFilter == kBackVectorsOnly) {
      passes = t.points[v.p1].z > 0.0 || t.points[v.p2].z > 0.0;
    }
    if (passes) {
      if (selected != hovered) {
        DrawDashedLine(rows, a.x, a.y, b.x, b.y, colours.white, colours.black, phase);
      } else if (o.thickLine) {
        DrawThickLine(rows, a.x, a.y, b.x, b.y, 1, colours.white);
      } else {
        // Clipped rather than clamped: a clamped end far outside the area
        // (an end near the eye in perspective, or a close zoom) would bend
        // the line off its true course. Inside the area the two agree, and
        // the pixels are those the hover test walks.
        DrawClippedLine(rows, d_.layout.local, a.x, a.y, b.x, b.y, colours.white);
      }
    }
  }
  if (v.width != 0) {
    if (selected || hovered) {
      DrawDashedLine(rows, a.x, a.y, b.x, b.y, colours.white, colours.black, phase);
    } else {
      DrawThickLine(rows, a.x, a.y, b.x, b.y, PenHalfWidth(v.width - 1), v.color);
    }
  }
}

void SoftwareEditView::DrawGuideFrame() {
  const double k = d_.view.scale;
  const double g = d_.view.gridStep;
  const int hw = RoundPixel(d_.options.guideHalfWidth * k);
  const int hh = RoundPixel(d_.options.guideHalfHeight * k);
  const int x0 = RoundPixel(d_.view.panX * k * g) + d_.layout.cx;
  const int y0 = d_.layout.cy - RoundPixel(d_.view.panY * k * g);
  const int left = x0 - hw, right = x0 + hw, top = y0 - hh, bottom = y0 + hh;
  const IntRect& local = d_.layout.local;
  PixelRows rows = d_.offscreen.draw.Target();
  const std::uint8_t colour = d_.model.colors.drawing.green;
  // Each edge only when it lies inside the area, spanning between the other
  // two (which the thin line clamps into the area).
  if (left >= local.left && left <= local.right) {
    DrawThinLine(rows, local, left, top, left, bottom, colour);
  }
  if (right >= local.left && right <= local.right) {
    DrawThinLine(rows, local, right, top, right, bottom, colour);
  }
  if (top >= local.top && top <= local.bottom) {
    DrawThinLine(rows, local, left, top, right, top, colour);
  }
  if (bottom >= local.top && bottom <= local.bottom) {
    DrawThinLine(rows, local, left, bottom, right, bottom, colour);
  }
}

void SoftwareEditView::DrawPlotFeedback(const CursorLine& cursorLine, const Projector& projector) {
  const IntRect& local = d_.layout.local;
  PixelRows rows = d_.offscreen.draw.Target();
  const DrawingColors& colours = d_.model.colors.drawing;
  if (cursorLine.found) {
    const int p = cursorLine.position;
    if (cursorLine.vertical) {
      DrawThinLine(rows, local, p, local.top + kGridMargin, p, local.bottom - kGridMargin,
                   colours.lightGrey);
    } else {
      DrawThinLine(rows, local, local.left + kGridMargin, p, local.right - kGridMargin, p,
                   colours.lightGrey);
    }
  }
  const PlotState& plot = d_.model.plot;
  if (plot.step == 3 || plot.step == 4) {
    const EyePoint e = projector.Eye(plot.ep1X, plot.ep1Y, plot.ep1Z);
    if (!projector.Divisible(e)) return;
    const ScreenPoint s = projector.Screen(e);
    DrawThinLine(rows, local, s.x - 5, s.y, s.x + 5, s.y, colours.red);
    DrawThinLine(rows, local, s.x, s.y - 5, s.x, s.y + 5, colours.red);
  }
}

void SoftwareEditView::DrawStroke(const Projector& projector, const EyePoint& a0,
                                  const EyePoint& b0, int width, std::uint8_t colour) {
  EyePoint a = a0, b = b0;
  if (projector.perspective() && !ClipSegmentToNearPlane(a, b)) return;
  const ScreenPoint sa = projector.Screen(a), sb = projector.Screen(b);
  DrawThickLine(d_.offscreen.draw.Target(), sa.x, sa.y, sb.x, sb.y, width, colour);
}

void SoftwareEditView::DrawLabels() {
  const GlyphStore& glyphs = d_.model.glyphs;
  const bool axisLabels = d_.options.axisOn && !d_.frame.walkMode;
  const bool quickCommands = d_.frame.quickCommandsShown;
  if (!axisLabels && !quickCommands) return;
  const Projector turned = d_.MakeProjector(true);
  const Projector facing = d_.MakeProjector(false);
  const auto& entries = d_.labels.entries();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const TextLabel& label = entries[i];
    if (!label.used()) continue;
    const bool isAxis = i < kAxisLabelCount;
    if (isAxis ? !axisLabels : !quickCommands) continue;
    const Projector& projector = isAxis ? turned : facing;
    const int width = std::clamp(label.lineWidth, 0, kMaxSurfaceSide);
    const std::string_view text = label.Text();
    for (std::size_t c = 0; c < text.size(); ++c) {
      const std::optional<std::uint32_t> g = GlyphForCharacter(text[c]);
      if (!g || *g >= glyphs.glyphs.size()) continue;
      const GlyphRecord& record = glyphs.glyphs[*g];
      const double advance = c * kGlyphAdvance;
      for (std::uint32_t v = 0; v < record.vectorCount; ++v) {
        const std::size_t vi = std::size_t{record.vectorOffset} + v;
        if (vi >= glyphs.vectors.size()) break;
        const GlyphVector& gv = glyphs.vectors[vi];
        if (gv.p1 >= glyphs.points.size() || gv.p2 >= glyphs.points.size()) continue;
        const StoredPoint& p1 = glyphs.points[gv.p1];
        const StoredPoint& p2 = glyphs.points[gv.p2];
        const double s = label.scale;
        const EyePoint a =
            projector.Eye(label.x + (advance + p1.x) * s, label.y + p1.y * s, label.z + p1.z * s);
        const EyePoint b =
            projector.Eye(label.x + (advance + p2.x) * s, label.y + p2.y * s, label.z + p2.z * s);
        DrawStroke(projector, a, b, width, label.colour);
      }
    }
  }
}

}  // namespace ws
