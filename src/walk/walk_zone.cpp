#include "walk/walk_zone.h"

#include <cmath>

namespace ws::walk {
namespace {

const RenderObject& ObjectOf(const RenderWorld& world, const WalkItem& item) {
  return world.objects[item.object];
}

double GroundDistance(const RenderWorld& world, const WalkItem& item, double x, double y) {
  const UniversePoint& o = world.universe[item.originPoint];
  return std::hypot(x - o.x, y - o.y);
}

// Refills the viewer's lists from the zone polygon's view-zone entries.
void LoadZoneLists(WalkViewer& v, const RenderPolygon& zone) {
  v.zonePolys.clear();
  v.zoneVectors.clear();
  const std::uint32_t count = std::min<std::uint32_t>(zone.viewZoneCount, kMaxViewZones);
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint32_t entry = zone.viewZones[i];
    if (entry & ViewZone::kIsVector) {
      v.zoneVectors.push_back(entry & ~ViewZone::kIsVector);
    } else {
      v.zonePolys.push_back(entry);
    }
  }
}

// The decision for the current item, keeping the inside-state.
int Decide(RenderWorld& world, int current, bool inCollision, bool inEntrance, double eye) {
  WalkViewer& v = world.viewer;
  if (current < 0) {
    v.insideItem = -1;
    return 0;
  }
  const WalkItem& item = world.items[current];
  const bool insideState = v.insideItem == current;
  if (!inCollision && !inEntrance) {
    if (insideState && item.zoneMode == 2 && v.ground <= item.highestZ) return 1;
    v.insideItem = -1;
    return 0;
  }
  switch (item.zoneMode) {
    case 0:
      v.insideItem = current;
      return 0;
    case 1:
      return 1;
    default:
      break;
  }
  if (insideState) {
    if (inEntrance && !inCollision) v.insideItem = -1;
    return 0;
  }
  if (!inEntrance) {
    if (eye < item.highestZ + kClimbClearance) return 1;
    v.insideItem = current;
    return 0;
  }
  if (inCollision) v.insideItem = current;
  return 0;
}

}  // namespace

bool InsideItemPolygon(const RenderWorld& world, const WalkItem& item, std::int32_t polygon,
                       double x, double y) {
  const RenderObject& object = ObjectOf(world, item);
  if (polygon < 0 || static_cast<std::size_t>(polygon) >= object.polygons.size()) return false;
  const RenderPolygon& poly = object.polygons[polygon];
  const std::uint32_t n = std::min<std::uint32_t>(poly.pointCount, MAX_POLY_POINTS);
  bool inside = false;
  for (std::uint32_t i = 0, j = n - 1; i < n; j = i++) {
    const std::uint32_t a = item.firstPoint + poly.points[i];
    const std::uint32_t b = item.firstPoint + poly.points[j];
    if (a >= world.universeCount || b >= world.universeCount) return false;
    const UniversePoint& pi = world.universe[a];
    const UniversePoint& pj = world.universe[b];
    if ((pi.y > y) != (pj.y > y) && x < (pj.x - pi.x) * (y - pi.y) / (pj.y - pi.y) + pi.x) {
      inside = !inside;
    }
  }
  return inside;
}

ZoneTestResult ZoneTest(RenderWorld& world, double x, double y, double eye) {
  WalkViewer& v = world.viewer;
  int current = -1;
  double best = 0.0;
  int zonePolygon = -1, zoneItem = -1;
  for (std::uint32_t i = 0; i < world.itemCount; ++i) {
    const WalkItem& item = world.items[i];
    const double d = GroundDistance(world, item, x, y);
    if (d <= item.radiusPlus40 && (current < 0 || d < best)) {
      current = static_cast<int>(i);
      best = d;
    }
    if (d >= kNearItemDistance || zonePolygon >= 0) continue;
    const RenderObject& object = ObjectOf(world, item);
    const std::uint32_t zones = std::min(object.viewZonePolygonCount, kMaxZonePolygons);
    for (std::uint32_t z = 0; z < zones; ++z) {
      const auto k = static_cast<std::int32_t>(object.viewZonePolygons[z]);
      if (InsideItemPolygon(world, item, k, x, y)) {
        zonePolygon = k;
        zoneItem = static_cast<int>(i);
        break;
      }
    }
  }

  bool inCollision = false, inEntrance = false;
  if (current >= 0) {
    const WalkItem& item = world.items[current];
    const RenderObject& object = ObjectOf(world, item);
    inCollision =
        object.hasCollision && InsideItemPolygon(world, item, object.collisionPolygon, x, y);
    inEntrance = object.hasEntrance && InsideItemPolygon(world, item, object.entrancePolygon, x, y);
  }

  ZoneTestResult r;
  r.answer = Decide(world, current, inCollision, inEntrance, eye);
  r.playRefusal = r.answer != 0;
  r.zoneChanged = zonePolygon != v.zonePolygon || zoneItem != v.zoneItem;
  v.zonePolygon = zonePolygon;
  v.zoneItem = zoneItem;
  if (zonePolygon >= 0) {
    LoadZoneLists(v, ObjectOf(world, world.items[zoneItem]).polygons[zonePolygon]);
  } else {
    v.zonePolys.clear();
    v.zoneVectors.clear();
  }
  return r;
}

}  // namespace ws::walk
