#include "walk/render_world.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "platform/ui.h"
#include "walk/environment.h"

namespace ws::walk {

namespace {

std::uint8_t ShadeOf(std::uint8_t colour) {
  return static_cast<std::uint8_t>((colour & 0xF8u) + 7u);
}
std::uint32_t FillWordOf(std::uint8_t colour) { return colour * 0x01010101u; }

// The copy of the current object into render object `o`. Limits on the
// polygons' lists guard against damaged tables only.
std::string Loadpolys(RenderObject& o, const ObjectTables& tables,
                      const AnimationSlots* animation) {
  o = RenderObject{};
  if (animation != nullptr && animation->AnyActive()) {
    for (const AnimationSlot& slot : animation->slots) {
      RenderAnimation a;
      a.slot = slot;
      const double angle = slot.angle * kDegreesToRadians;
      a.sinA = std::sin(angle);
      a.cosA = std::cos(angle);
      a.sinMinusA = std::sin(-angle);
      a.cosMinusA = std::cos(-angle);
      o.animation.push_back(a);
    }
  }
  for (std::uint32_t k = 0; k < tables.polygonCount; ++k) {
    const Polygon& p = tables.polygons[k];
    if (p.vectorCount > kMaxPolySides) return std::string(kPolySidesMessage);
    if (p.pointCount > MAX_POLY_POINTS) return std::string(kPolyPointsMessage);
  }
  o.points.resize(tables.pointCount);
  for (std::uint32_t i = 0; i < tables.pointCount; ++i) {
    const Point& p = tables.points[i];
    o.points[i] = {p.x, p.y, -p.z};
  }
  o.vectors.resize(tables.vectorCount);
  for (std::uint32_t i = 0; i < tables.vectorCount; ++i) {
    const Vector& v = tables.vectors[i];
    o.vectors[i] = {v.p1,        v.p2,   v.color, ShadeOf(v.color), FillWordOf(v.color),
                    v.attribute, v.width};
  }
  o.polygons.resize(tables.polygonCount);
  for (std::uint32_t k = 0; k < tables.polygonCount; ++k) {
    const Polygon& p = tables.polygons[k];
    RenderPolygon& r = o.polygons[k];
    r.vectorCount = p.vectorCount;
    std::copy_n(p.vectors, p.vectorCount, r.vectors.begin());
    r.frontColor = p.frontColor;
    r.backColor = p.backColor;
    r.shade = ShadeOf(p.frontColor);
    r.frontFill = FillWordOf(p.frontColor);
    r.backFill = FillWordOf(p.backColor);
    r.pointCount = p.pointCount;
    std::copy_n(p.points, p.pointCount, r.points.begin());
    r.viewZoneCount = std::min(p.viewZoneCount, kMaxViewZones);
    std::copy_n(p.viewZones, kMaxViewZones, r.viewZones.begin());
    r.flags = p.flags;
    if ((p.flags & PolyFlag::kCollision) != 0) {
      o.collisionPolygon = static_cast<std::int32_t>(k);
      o.hasCollision = true;
    }
    if ((p.flags & PolyFlag::kEntrance) != 0) {
      o.entrancePolygon = static_cast<std::int32_t>(k);
      o.hasEntrance = true;
    }
    // Only ten View Zone polygons can be recorded; later ones do not act as
    // zones.
    if ((p.flags & PolyFlag::kViewZone) != 0 && o.viewZonePolygonCount < kMaxZonePolygons) {
      o.viewZonePolygons[o.viewZonePolygonCount++] = k;
    }
  }
  return {};
}

// The radius measure of one render point: max(|trunc x|, |trunc z'|) * s.
double RadiusOf(const RenderPoint& p, double s) {
  return std::max(std::fabs(std::trunc(p.x)), std::fabs(std::trunc(p.z))) * s;
}

double PolygonRadius(const RenderObject& o, std::int32_t k, double s) {
  double r = 0;
  const RenderPolygon& poly = o.polygons[static_cast<std::size_t>(k)];
  for (std::uint32_t i = 0; i < poly.pointCount; ++i) {
    if (poly.points[i] < o.points.size()) r = std::max(r, RadiusOf(o.points[poly.points[i]], s));
  }
  return r;
}

// The bounding radius around the item's origin. With a Collision polygon it
// starts from that polygon (and the Entrance polygon); an object without one
// starts from all its user points (not the axis cross), so that the item
// still bounds what it shows.
double ItemRadius(const RenderObject& o, double s) {
  double r = 0;
  if (o.hasCollision) {
    r = PolygonRadius(o, o.collisionPolygon, s);
    if (o.hasEntrance) r = std::max(r, PolygonRadius(o, o.entrancePolygon, s));
  } else {
    for (std::size_t i = kReservedPoints; i < o.points.size(); ++i)
      r = std::max(r, RadiusOf(o.points[i], s));
  }
  r += 1.0;
  for (const RenderVector& v : o.vectors) {
    if ((v.width & kWidthMask) == 0) continue;
    for (std::uint32_t end : {v.p1, v.p2}) {
      if (end < o.points.size()) r = std::max(r, RadiusOf(o.points[end], s));
    }
  }
  return r;
}

void BuildDrawList(WalkItem& item, RenderObject& o, const WalkDisplay& display) {
  item.drawCount = 0;
  const auto count =
      static_cast<std::uint32_t>(std::min<std::size_t>(o.vectors.size(), kMaxDrawListVectors));
  for (std::uint32_t k = 0; k < count; ++k) {
    const RenderVector& v = o.vectors[k];
    if ((v.width & kWidthMask) != 0 && (v.width & kWidthSwitchBit) == 0)
      item.drawList[item.drawCount++] = k;
  }
  if (!display.vectorsOn) return;
  for (std::uint32_t k = kReservedVectors; k < count; ++k) {
    RenderVector& v = o.vectors[k];
    if ((v.width & kWidthMask) != 0 && (v.width & kWidthSwitchBit) == 0) continue;
    v.width = kSwitchVectorWidth;
    v.color = display.wireColour;
    v.fill = FillWordOf(display.wireColour);
    item.drawList[item.drawCount++] = k;
  }
}

void SetScreenConstants(ScreenConstants& s, int W, int H) {
  s.width = W;
  s.height = H;
  s.centerX = W * 0.5;
  s.centerY = H * 0.5;
  s.right = W - 1;
  s.bottom = H - 1;
  s.halfWidth = W / 2;
  s.halfHeight = H / 2;
  // A 90-degree view both ways: the tangent of half the angle is 1, so one
  // unit across at distance one spans half the width (or height).
  constexpr double kHalfAngleTangent = 1.0;
  s.fovScaleX = static_cast<std::int32_t>(std::lround(s.halfWidth / kHalfAngleTangent * 65536.0));
  s.fovScaleY = static_cast<std::int32_t>(std::lround(s.halfHeight / kHalfAngleTangent * 65536.0));
}

void ResetViewer(WalkViewer& v) {
  v = WalkViewer{};
  v.heading = kStartHeading;
  v.zonePolys.reserve(kMaxViewZones);
  v.zoneVectors.reserve(kMaxViewZones);
}

void ClearPick(WalkPick& pick) {
  pick.polygon = -1;
  pick.color = 0;
  pick.fill = 0;
  pick.backFace = 0;
  pick.outlineCount = 0;
}

std::string BuildWorld(RenderWorld& w, const ObjectTables& tables, const EnvironmentSource& source,
                       int W, int H, const WalkDisplay& display, Ui& ui, const char*& lowMemory) {
  // 1-4: screen constants, sky, the two fixed patterns, ground.
  SetScreenConstants(w.screen, W, H);
  LoadEnvironment(w.environment, source, ui);
  // 5-6: screen tables, frame store, render-object headers.
  lowMemory = "Low Memory #1";
  w.rowTable.assign(static_cast<std::size_t>(std::max(H, 0)), 0);
  w.columnU.assign(static_cast<std::size_t>(std::max(W, 0)), 0);
  w.columnV.assign(static_cast<std::size_t>(std::max(W, 0)), 0);
  lowMemory = "Low Memory #3";
  w.frameStore.fill(0);
  lowMemory = "Low Memory #4";
  for (RenderObject& o : w.objects) o = RenderObject{};
  w.objectCount = 0;
  if (!w.filler.Allocate(w.fillerMemory)) throw std::bad_alloc();
  // 7: the orientation back to the identity.
  ResetViewer(w.viewer);
  // 8: the render object.
  std::string stop = Loadpolys(w.objects[0], tables, source.animation);
  if (!stop.empty()) return stop;
  w.objectCount = 1;
  // 9: the universe.
  w.far = kFarDistance;
  w.viewer.heading = kStartHeading;
  w.viewer.x = 0;
  w.viewer.y = 0;
  w.viewer.z = w.viewer.ground;
  lowMemory = "Low Memory #5";
  w.universe.assign(GW_MAXRENPOINTS, UniversePoint{});
  w.universeCount = 0;
  lowMemory = "Low Memory #6";
  w.eye.assign(GW_MAXRENPOINTS, UniversePoint{});
  w.items.clear();
  w.items.reserve(GW_MAXITEMS);
  w.itemCount = 0;
  lowMemory = "Low Memory #8";
  w.items.resize(GW_MAXITEMS);
  for (WalkItem& item : w.items) item.drawList.assign(kMaxDrawListVectors, 0);
  // Frame work stores: every polygon and vector can be an entry; a clipped
  // outline gains at most one point per clipping plane.
  lowMemory = "Low Memory #6";
  const RenderObject& o = w.objects[0];
  w.entries.assign(o.polygons.size() + o.vectors.size(), SortEntry{});
  w.sortScratch.assign(w.entries.size(), SortEntry{});
  w.outline.assign(kMaxFillPoints, ScreenPoint{});
  w.clipA.assign(MAX_POLY_POINTS + 8, UniversePoint{});
  w.clipB.assign(MAX_POLY_POINTS + 8, UniversePoint{});
  lowMemory = nullptr;
  w.itemScale = kFirstItemScale;
  stop = AddItem(w, 0, 0.0, kFirstItemOffsetY, 0.0, w.itemScale, display);
  if (!stop.empty()) return stop;
  // 10: field of view and the pick.
  ClearPick(w.pick);
  w.built = true;
  return {};
}

// Gives a store's memory back (clear() would keep it).
template <class T>
void Release(std::vector<T>& v) {
  std::vector<T>().swap(v);
}

}  // namespace

std::string AddItem(RenderWorld& w, std::uint32_t o, double X0, double Y0, double Z0, double s,
                    const WalkDisplay& display) {
  if (w.itemCount + 1 > GW_MAXITEMS) return std::string(kTooManyItemsMessage);
  RenderObject& object = w.objects[o];
  const auto pointCount = static_cast<std::uint32_t>(object.points.size());
  if (std::uint64_t{w.universeCount} + pointCount > GW_MAXRENPOINTS) {
    return std::string(kItemPointsMessage);
  }
  // The points and the origin must all fit; the origin is the one that can
  // still overflow once the object's own points have filled the universe.
  if (std::uint64_t{w.universeCount} + pointCount + 1 > GW_MAXRENPOINTS) {
    return std::string(kUniversePointsMessage);
  }
  WalkItem& item = w.items[w.itemCount];
  item.object = o;
  item.zoneMode = object.ZoneMode();
  item.scale = s;
  item.firstPoint = w.universeCount;
  double highest = -kFarDistance;
  for (const RenderPoint& p : object.points) {
    UniversePoint& u = w.universe[w.universeCount++];
    u = {s * p.x + X0, s * p.z + Y0, s * p.y + Z0};
    highest = std::max(highest, u.z);
  }
  w.universe[w.universeCount] = {X0, Y0, Z0};
  item.originPoint = w.universeCount;
  item.lastPoint = w.universeCount;
  ++w.universeCount;
  item.highestZ = pointCount == 0 ? Z0 : highest;
  item.radius = ItemRadius(object, s);
  item.radiusPlus40 = static_cast<std::int32_t>(std::trunc(item.radius)) + 40;
  BuildDrawList(item, object, display);
  ++w.itemCount;
  return {};
}

std::string BuildRenderWorld(RenderWorld& w, const ObjectTables& tables,
                             const EnvironmentSource& source, int W, int H,
                             const WalkDisplay& display, Ui& ui) {
  FreeRenderWorld(w);
  const char* lowMemory = nullptr;
  std::string stop;
  try {
    stop = BuildWorld(w, tables, source, W, H, display, ui, lowMemory);
  } catch (const std::bad_alloc&) {
    stop = lowMemory != nullptr ? lowMemory : "Low Memory #6";
    w.outOfMemory = true;
  }
  if (!stop.empty()) {
    const bool outOfMemory = w.outOfMemory;
    FreeRenderWorld(w);
    w.outOfMemory = outOfMemory;
  }
  return stop;
}

void FreeRenderWorld(RenderWorld& w) {
  w.built = false;
  w.outOfMemory = false;
  Release(w.environment.floor);
  for (RenderObject& o : w.objects) o = RenderObject{};  // moves an empty one in
  w.objectCount = 0;
  Release(w.universe);
  w.universeCount = 0;
  Release(w.items);
  w.itemCount = 0;
  Release(w.eye);
  Release(w.entries);
  Release(w.sortScratch);
  Release(w.rowTable);
  Release(w.columnU);
  Release(w.columnV);
  Release(w.outline);
  Release(w.clipA);
  Release(w.clipB);
  Release(w.viewer.zonePolys);
  Release(w.viewer.zoneVectors);
  ClearPick(w.pick);
}

void RebuildVectorDrawList(RenderWorld& w, const WalkDisplay& display) {
  for (std::uint32_t i = 0; i < w.itemCount; ++i) {
    WalkItem& item = w.items[i];
    RenderObject& o = w.objects[item.object];
    // Vectors the switch added earlier go back to the width 0 they had.
    for (RenderVector& v : o.vectors) {
      if (v.width == kSwitchVectorWidth) v.width = 0;
    }
    BuildDrawList(item, o, display);
  }
}

std::string ResizeRenderWorld(RenderWorld& w, const ObjectTables& tables,
                              const EnvironmentSource& source, int W, int H,
                              const WalkDisplay& display, Ui& ui) {
  const WalkViewer kept = w.viewer;
  std::string stop = BuildRenderWorld(w, tables, source, W, H, display, ui);
  if (stop.empty()) {
    // The build reserved the zone lists; copying into them keeps that room.
    w.viewer = kept;
    w.viewer.zonePolys.reserve(kMaxViewZones);
    w.viewer.zoneVectors.reserve(kMaxViewZones);
  }
  return stop;
}

}  // namespace ws::walk
