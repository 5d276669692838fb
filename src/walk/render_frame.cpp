#include "walk/render_frame.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "editor/view/software_view.h"
#include "raster/raster.h"
#include "walk/environment.h"

namespace ws::walk {

namespace {

// The camera: rows of the orientation built from the heading h, so that
// (cos h, sin h) ahead maps to (-1, 0, 0) and the right hand side to +b.
struct Camera {
  double x, y, z;
  double r0x, r0y;  // first row (-cos h, -sin h, 0)
  double r1x, r1y;  // second row (sin h, -cos h, 0)

  UniversePoint ToEye(const UniversePoint& p) const {
    const double dx = p.x - x, dy = p.y - y, dz = p.z - z;
    return {r0x * dx + r0y * dy, r1x * dx + r1y * dy, dz};
  }
};

Camera CameraOf(const WalkViewer& v) {
  const double h = v.heading * kDegreesToRadians;
  const double c = std::cos(h), s = std::sin(h);
  return {v.x, v.y, v.z, -c, -s, s, -c};
}

// Distance of an eye-space point inside each clipping plane (>= 0 inside):
// the near plane and the four sides of the 90-degree view.
constexpr int kClipPlanes = 5;
double PlaneDistance(int plane, const UniversePoint& p) {
  switch (plane) {
    case 0:
      return -p.x - kNearDistance;
    case 1:
      return -p.x - p.y;
    case 2:
      return -p.x + p.y;
    case 3:
      return -p.x - p.z;
    default:
      return -p.x + p.z;
  }
}

UniversePoint Lerp(const UniversePoint& a, const UniversePoint& b, double t) {
  return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t};
}

// Sutherland-Hodgman against the five planes; the result is in `a`.
std::size_t ClipPolygon(std::vector<UniversePoint>& a, std::vector<UniversePoint>& b,
                        std::size_t n) {
  for (int plane = 0; plane < kClipPlanes && n > 0; ++plane) {
    std::size_t m = 0;
    for (std::size_t i = 0; i < n; ++i) {
      const UniversePoint& p = a[i];
      const UniversePoint& q = a[(i + 1) % n];
      const double dp = PlaneDistance(plane, p), dq = PlaneDistance(plane, q);
      if (dp >= 0) b[m++] = p;
      if ((dp >= 0) != (dq >= 0) && m < b.size()) b[m++] = Lerp(p, q, dp / (dp - dq));
      if (m + 1 >= b.size()) break;
    }
    std::swap(a, b);
    n = m;
  }
  return n;
}

// Clips a segment to the five planes; false when nothing is left.
bool ClipSegment(UniversePoint& p, UniversePoint& q) {
  for (int plane = 0; plane < kClipPlanes; ++plane) {
    const double dp = PlaneDistance(plane, p), dq = PlaneDistance(plane, q);
    if (dp < 0 && dq < 0) return false;
    if (dp < 0) p = Lerp(p, q, dp / (dp - dq));
    if (dq < 0) q = Lerp(q, p, dq / (dq - dp));
  }
  return true;
}

ScreenPoint Project(const ScreenConstants& s, const UniversePoint& e) {
  const double hw = s.halfWidth, hh = s.halfHeight;
  return {static_cast<std::int32_t>(hw - (e.y / e.x) * hw),
          static_cast<std::int32_t>(hh + (e.z / e.x) * hh)};
}

// Twice the signed area in screen terms; below 0 the outline is seen from
// behind.
std::int64_t FacingSum(std::span<const ScreenPoint> outline) {
  std::int64_t sum = 0;
  for (std::size_t i = 0; i < outline.size(); ++i) {
    const ScreenPoint& prev = outline[(i + outline.size() - 1) % outline.size()];
    const ScreenPoint& p = outline[i];
    sum += (std::int64_t{prev.x} - p.x) * (std::int64_t{prev.y} + p.y);
  }
  return sum;
}

// The first entry of a zone list naming `index` moves the key by the
// priority: back for Low, forward for High. Later entries are ignored.
double ZoneShift(const std::vector<std::uint32_t>& list, std::uint32_t index) {
  for (std::uint32_t e : list) {
    if ((e & ViewZone::kIndexMask) == index) {
      return (e & ViewZone::kLowPriority) != 0 ? kPriorityShift : -kPriorityShift;
    }
  }
  return 0.0;
}

// The plain quicksort the order is defined by; sorted ranges stay as they
// are under its partition, so they are skipped, and the larger side is
// looped over rather than recursed into so that the depth stays small.
void QuickSort(SortEntry* e, std::ptrdiff_t lo, std::ptrdiff_t hi) {
  while (lo < hi) {
    bool sorted = true;
    for (std::ptrdiff_t i = lo; i < hi && sorted; ++i) sorted = e[i].key <= e[i + 1].key;
    if (sorted) return;
    const double pivot = e[lo].key;
    std::ptrdiff_t last = lo;
    for (std::ptrdiff_t j = lo + 1; j <= hi; ++j) {
      if (e[j].key < pivot) std::swap(e[++last], e[j]);
    }
    std::swap(e[lo], e[last]);
    if (last - lo < hi - last) {
      QuickSort(e, lo, last - 1);
      lo = last + 1;
    } else {
      QuickSort(e, last + 1, hi);
      hi = last - 1;
    }
  }
}

class FrameDrawer {
 public:
  FrameDrawer(RenderWorld& w, const WalkDisplay& d, PixelRows target, int cx, int cy)
      : w_(w), d_(d), target_(target), cx_(cx), cy_(cy), clip_(target.Bounds()) {}

  void Run(std::uint32_t itemIndex) {
    const WalkItem& item = w_.items[itemIndex];
    const RenderObject& o = w_.objects[item.object];
    const Camera camera = CameraOf(w_.viewer);
    for (std::uint32_t i = item.firstPoint; i <= item.lastPoint; ++i)
      w_.eye[i] = camera.ToEye(w_.universe[i]);
    const std::uint32_t n = BuildEntries(itemIndex, item, o);
    w_.entryCount = n;
    SortEntries({w_.entries.data(), n}, {w_.sortScratch.data(), w_.sortScratch.size()});
    w_.pick.polygon = -1;
    w_.pick.outlineCount = 0;
    for (std::uint32_t i = n; i-- > 0;) {
      const SortEntry& e = w_.entries[i];
      if (e.kind == 1) {
        DrawPolygon(item, o, e.index);
      } else {
        DrawVector(item, o, e.index);
      }
    }
    if (w_.pick.polygon >= 0) {
      DrawPolygonOutline(target_, clip_, {w_.pick.outline.data(), w_.pick.outlineCount},
                         d_.highlightColour);
    }
  }

 private:
  const UniversePoint& Eye(const WalkItem& item, std::uint32_t point) const {
    return w_.eye[item.firstPoint + point];
  }

  std::uint32_t BuildEntries(std::uint32_t itemIndex, const WalkItem& item, const RenderObject& o) {
    const WalkViewer& v = w_.viewer;
    const bool inside = v.insideItem == static_cast<int>(itemIndex);
    const bool inZone = v.zonePolygon >= 0 && v.zoneItem == static_cast<int>(itemIndex);
    const auto objectPoints = static_cast<std::uint32_t>(o.points.size());
    std::uint32_t n = 0;
    for (std::uint32_t k = 0; k < o.polygons.size(); ++k) {
      const RenderPolygon& p = o.polygons[k];
      if ((p.flags & PolyFlag::kInvisible) != 0) continue;
      if (inside && (p.flags & PolyFlag::kNotVisibleFromCollision) != 0) continue;
      if (p.pointCount == 0) continue;
      double sum = 0;
      for (std::uint32_t i = 0; i < p.pointCount; ++i) {
        if (p.points[i] >= objectPoints) continue;
        const UniversePoint& e = Eye(item, p.points[i]);
        sum += e.x * e.x + e.y * e.y;
      }
      double key = sum / p.pointCount;
      if (inside && o.hasCollision && static_cast<std::int32_t>(k) == o.collisionPolygon)
        key += kPriorityShift;
      if ((p.flags & PolyFlag::kHigherPriority) != 0) key -= kPriorityShift;
      if (inZone) key += ZoneShift(v.zonePolys, k);
      w_.entries[n++] = {k, 1, key};
    }
    for (std::uint32_t i = 0; i < item.drawCount; ++i) {
      const std::uint32_t k = item.drawList[i];
      const RenderVector& vec = o.vectors[k];
      if (vec.p1 >= objectPoints || vec.p2 >= objectPoints) continue;
      const UniversePoint& a = Eye(item, vec.p1);
      const UniversePoint& b = Eye(item, vec.p2);
      double key = (a.x * a.x + a.y * a.y + b.x * b.x + b.y * b.y) * 0.5;
      if (inZone) key += ZoneShift(v.zoneVectors, k);
      w_.entries[n++] = {k, 0, key};
    }
    return n;
  }

  void DrawPolygon(const WalkItem& item, const RenderObject& o, std::uint32_t k) {
    if (!d_.polygonsOn) return;
    const RenderPolygon& p = o.polygons[k];
    const auto objectPoints = static_cast<std::uint32_t>(o.points.size());
    std::size_t n = 0;
    for (std::uint32_t i = 0; i < p.pointCount; ++i) {
      if (p.points[i] < objectPoints) w_.clipA[n++] = Eye(item, p.points[i]);
    }
    n = ClipPolygon(w_.clipA, w_.clipB, n);
    if (n == 0) return;
    n = std::min(n, w_.outline.size());
    for (std::size_t i = 0; i < n; ++i) w_.outline[i] = Project(w_.screen, w_.clipA[i]);
    const std::span<const ScreenPoint> outline(w_.outline.data(), n);

    constexpr std::uint32_t kFacingFlags =
        PolyFlag::kNeverDrawBackFace | PolyFlag::kEachSideDifferent;
    const bool back = (p.flags & kFacingFlags) != 0 && FacingSum(outline) < 0;
    const bool backColours = back && (p.flags & PolyFlag::kEachSideDifferent) != 0;
    const std::uint8_t colour = backColours ? p.backColor : p.frontColor;
    const std::uint32_t fill = backColours ? p.backFill : p.frontFill;

    if (cx_ >= 0 && cy_ >= 0 && OutlineContains(outline, cx_, cy_)) {
      w_.pick.polygon = static_cast<int>(k);
      w_.pick.color = colour;
      w_.pick.fill = fill;
      w_.pick.backFace = backColours ? 1 : 0;
      std::copy(outline.begin(), outline.end(), w_.pick.outline.begin());
      w_.pick.outlineCount = static_cast<std::uint32_t>(n);
    }
    if (back && (p.flags & PolyFlag::kNeverDrawBackFace) != 0) return;

    const bool bordered = (p.flags & PolyFlag::kBordered) != 0;
    constexpr std::uint32_t kFilledFlags = PolyFlag::kShaded | PolyFlag::kSelectedColor |
                                           PolyFlag::kAdopted | PolyFlag::kNotVisibleFromCollision;
    if ((p.flags & PolyFlag::kOutline) != 0) {
      w_.filler.FillPlain(target_, clip_, outline, kOutlineStyleEntry * 0x01010101u);
    } else if ((p.flags & kFilledFlags) == 0) {
      return;
    } else if (bordered) {
      w_.filler.FillBordered(target_, clip_, outline, fill, d_.blackIndex);
    } else {
      w_.filler.FillPlain(target_, clip_, outline, fill);
    }
  }

  void DrawVector(const WalkItem& item, const RenderObject& o, std::uint32_t k) {
    const RenderVector& v = o.vectors[k];
    UniversePoint a = Eye(item, v.p1), b = Eye(item, v.p2);
    if (!ClipSegment(a, b)) return;
    const ScreenPoint pa = Project(w_.screen, a), pb = Project(w_.screen, b);
    const std::uint32_t width = v.width & kWidthMask;
    if (width == 1) {
      DrawClippedLine(target_, clip_, pa.x, pa.y, pb.x, pb.y, v.color);
      return;
    }
    // A thick vector is w * 5 * 0.025 world units across, seen at the
    // distance of its nearer end.
    const double size = width * 5 * 0.025;
    const double distance = std::min(-a.x, -b.x);
    const double pixels = size * w_.screen.halfWidth / distance;
    DrawThickLine(target_, pa.x, pa.y, pb.x, pb.y, static_cast<int>(pixels * 0.5), v.color);
  }

  RenderWorld& w_;
  const WalkDisplay& d_;
  PixelRows target_;
  int cx_, cy_;
  IntRect clip_;
};

}  // namespace

void SortEntries(std::span<SortEntry> entries, std::span<SortEntry> scratch) {
  const std::size_t n = entries.size();
  if (n < 2) return;
  // Keys all different have one ascending order, whatever sort finds it:
  // a sort that never degrades finds it, and the quicksort only runs when
  // equal keys leave their order to it.
  if (scratch.size() >= n) {
    std::copy(entries.begin(), entries.end(), scratch.begin());
    auto byKey = [](const SortEntry& a, const SortEntry& b) { return a.key < b.key; };
    std::sort(scratch.begin(), scratch.begin() + static_cast<std::ptrdiff_t>(n), byKey);
    bool distinct = true;
    for (std::size_t i = 1; i < n && distinct; ++i) distinct = scratch[i - 1].key != scratch[i].key;
    if (distinct) {
      std::copy(scratch.begin(), scratch.begin() + static_cast<std::ptrdiff_t>(n), entries.begin());
      return;
    }
  }
  QuickSort(entries.data(), 0, static_cast<std::ptrdiff_t>(n) - 1);
}

bool OutlineContains(std::span<const ScreenPoint> outline, int x, int y) {
  bool inside = false;
  const std::size_t n = outline.size();
  for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
    const ScreenPoint& a = outline[i];
    const ScreenPoint& b = outline[j];
    if ((a.y > y) != (b.y > y)) {
      const double crossX = a.x + double(y - a.y) * (b.x - a.x) / double(b.y - a.y);
      if (x < crossX) inside = !inside;
    }
  }
  return inside;
}

void DrawBackground(RenderWorld& w, const WalkDisplay& display, PixelRows target) {
  if (display.hideEnvironment) {
    FillRectWord(target, target.Bounds(), display.blackIndex * 0x01010101u);
    return;
  }
  const WalkEnvironment& env = w.environment;
  for (int r = 0; r < target.height; ++r) {
    if (target.width > 0)
      FillSpanPattern(target.rows[r], 0, target.width - 1, SkyRowPattern(env, r));
  }
  // The floor lies at height 0, below the horizon row H/2 while the eye is
  // above it. Row r sees it at the distance D = eye * (H/2) / (r - H/2);
  // along the row the texture steps evenly in 16.16 fixed point.
  const WalkViewer& v = w.viewer;
  const int horizon = w.screen.halfHeight;
  if (v.z <= 0 || w.screen.halfWidth == 0) return;
  const double h = v.heading * kDegreesToRadians;
  const double c = std::cos(h), s = std::sin(h);
  const double halfW = w.screen.halfWidth;
  for (int r = std::max(horizon + 1, 0); r < target.height; ++r) {
    const int below = r - horizon;
    const double distance = v.z * horizon / below;
    const double step = distance / halfW;  // world units per column
    std::uint8_t* row = target.rows[r];
    if (env.floor.size() != kFloorBytes || step * kFloorTexelsPerUnit > 1.0) {
      const std::size_t entry =
          std::min<std::size_t>(static_cast<std::size_t>(below - 1), kGroundEntries - 1);
      if (target.width > 0) FillSpanPattern(row, 0, target.width - 1, env.ground[entry]);
      continue;
    }
    // World point of column 0 and the step per column.
    const double lateral0 = -halfW * step;
    const double x0 = v.x + distance * c + lateral0 * s;
    const double y0 = v.y + distance * s - lateral0 * c;
    const double scale = kFloorTexelsPerUnit * 65536.0;
    auto fixed = [](double value) {
      return static_cast<std::uint32_t>(static_cast<std::int64_t>(std::floor(value)));
    };
    std::uint32_t u = fixed(x0 * scale);
    std::uint32_t t = fixed(y0 * scale);
    const std::uint32_t du = fixed(step * s * scale);
    const std::uint32_t dt = fixed(-step * c * scale);
    const std::uint8_t* texture = env.floor.data();
    for (int col = 0; col < target.width; ++col) {
      row[col] = texture[((t >> 16) & 127u) << 8 | ((u >> 16) & 255u)];
      u += du;
      t += dt;
    }
  }
}

void RenderFrame(RenderWorld& w, const WalkDisplay& display, PixelRows target, int cursorX,
                 int cursorY) {
  if (!w.built || target.width <= 0 || target.height <= 0) return;
  DrawBackground(w, display, target);
  w.pick.polygon = -1;
  if (w.itemCount == 0) return;
  FrameDrawer(w, display, target, cursorX, cursorY).Run(0);
}

}  // namespace ws::walk
