#include "walk/walk_edit.h"

#include <algorithm>

#include "editor/view/text_labels.h"
#include "geometry/faces.h"
#include "model/color_table.h"

namespace ws::walk {
namespace {

bool ValidPolygon(const RenderWorld& world, const ObjectTables& tables, int k) {
  return k >= 0 && static_cast<std::size_t>(k) < world.objects[0].polygons.size() &&
         static_cast<std::uint32_t>(k) < tables.polygonCount;
}

void SetColour(RenderWorld& world, ObjectTables& tables, int k, bool back, std::uint8_t colour) {
  RenderPolygon& copy = world.objects[0].polygons[k];
  Polygon& poly = tables.polygons[k];
  if (back) {
    copy.backColor = poly.backColor = colour;
    copy.backFill = poly.backFill = FillWord(colour);
  } else {
    copy.frontColor = poly.frontColor = colour;
    copy.frontFill = poly.frontFill = FillWord(colour);
    copy.shade = static_cast<std::uint8_t>((colour & 0xF8) + 7);
  }
}

// Puts polygon k into a view-zone list with the priority: an existing
// polygon entry for it is rewritten, else it is appended while there is
// room. False when the list is full.
bool SetPriority(std::uint32_t* entries, std::uint32_t& count, std::uint32_t k, bool low) {
  const std::uint32_t entry = (k & ViewZone::kIndexMask) | (low ? ViewZone::kLowPriority : 0);
  count = std::min<std::uint32_t>(count, kMaxViewZones);
  for (std::uint32_t i = 0; i < count; ++i) {
    if ((entries[i] & ViewZone::kIsVector) == 0 &&
        (entries[i] & ViewZone::kIndexMask) == (k & ViewZone::kIndexMask)) {
      entries[i] = entry;
      return true;
    }
  }
  if (count >= kMaxViewZones) return false;
  entries[count++] = entry;
  return true;
}

bool StandsInZone(const RenderWorld& world, const ObjectTables& tables) {
  const WalkViewer& v = world.viewer;
  return v.zoneItem == 0 && ValidPolygon(world, tables, v.zonePolygon);
}

}  // namespace

void FlipFaceWalk(RenderPolygon& polygon) {
  const std::uint32_t n = std::min<std::uint32_t>(polygon.pointCount, MAX_POLY_POINTS);
  std::reverse(polygon.points.begin(), polygon.points.begin() + n);
}

WalkEditResult ApplyWalkEdit(RenderWorld& world, ObjectTables& tables, WalkEditState& state,
                             const WalkEditInput& in) {
  WalkEditResult r;
  const int k = world.pick.polygon;
  if (!ValidPolygon(world, tables, k)) return r;
  const bool back = world.pick.backFace != 0;
  switch (in.mode) {
    case kWalkEditColour:
      if (in.leftDown) {
        SetColour(world, tables, k, back, in.currentColour);
        r.objectChanged = true;
      }
      if (in.rightPressed) {
        const RenderPolygon& copy = world.objects[0].polygons[k];
        r.grabbedColour = back ? copy.backColor : copy.frontColor;
        r.playSound = true;
      }
      break;
    case kWalkEditFlipFace:
      if (in.leftDown && k != state.lastEdited) {
        FlipFaceWalk(world.objects[0].polygons[k]);
        FlipFace(tables, static_cast<std::uint32_t>(k));
        state.lastEdited = k;
        r.objectChanged = true;
      }
      break;
    case kWalkEditViewZones: {
      const bool low = in.rightPressed;
      if (!(in.leftDown || low) || k == state.lastEdited || !StandsInZone(world, tables)) break;
      const int zone = world.viewer.zonePolygon;
      RenderPolygon& copy = world.objects[0].polygons[zone];
      Polygon& poly = tables.polygons[zone];
      if (!SetPriority(poly.viewZones, poly.viewZoneCount, static_cast<std::uint32_t>(k), low)) {
        break;
      }
      SetPriority(copy.viewZones.data(), copy.viewZoneCount, static_cast<std::uint32_t>(k), low);
      state.lastEdited = k;
      r.objectChanged = true;
      break;
    }
    default:
      break;
  }
  return r;
}

bool ClearWalkViewZoneList(RenderWorld& world, ObjectTables& tables) {
  if (!StandsInZone(world, tables)) return false;
  const int zone = world.viewer.zonePolygon;
  world.objects[0].polygons[zone].viewZoneCount = 0;
  ClearViewZoneLists(tables, static_cast<std::uint32_t>(zone));
  return true;
}

}  // namespace ws::walk
