#include "editor/interaction/view_zone_dialog.h"

#include <algorithm>
#include <cstdio>

namespace ws {

std::string ViewZoneEntryText(std::uint32_t entry) {
  const bool vector = (entry & ViewZone::kIsVector) != 0;
  const bool low = (entry & ViewZone::kLowPriority) != 0;
  const char* format = vector ? (low ? "Vect Low - %ld" : "Vect Hgh - %ld")
                              : (low ? "Poly Low - %ld" : "Poly Hgh - %ld");
  char text[32];
  std::snprintf(text, sizeof text, format, static_cast<long>(entry & ViewZone::kIndexMask));
  return text;
}

ViewZoneDialog::ViewZoneDialog(const ObjectTables& t, Ui& ui) : ui_(ui) {
  for (std::uint32_t k = 0; k < t.polygonCount; ++k) {
    if (t.polygonSelected[k] != kUnselected) {
      zone_ = k;
    } else {
      char text[32];
      std::snprintf(text, sizeof text, "Polygon %ld", static_cast<long>(k));
      choiceTexts_.push_back(text);
      choicePolygons_.push_back(k);
    }
  }
  if (zone_ < t.polygonCount) {
    const Polygon& poly = t.polygons[zone_];
    // A count read from a damaged file never reaches past the 20 slots.
    const std::uint32_t n = std::min(poly.viewZoneCount, kMaxViewZones);
    entries_.assign(poly.viewZones, poly.viewZones + n);
  }
}

std::vector<std::string> ViewZoneDialog::Listing() const {
  std::vector<std::string> lines;
  lines.reserve(entries_.size());
  for (std::uint32_t entry : entries_) lines.push_back(ViewZoneEntryText(entry));
  return lines;
}

bool ViewZoneDialog::Add() {
  if (polygonChoice < 0 || static_cast<std::size_t>(polygonChoice) >= choicePolygons_.size()) {
    return false;
  }
  const std::uint32_t index = choicePolygons_[polygonChoice] & ViewZone::kIndexMask;
  const std::uint32_t low = priorityChoice == kPriorityLow ? ViewZone::kLowPriority : 0;
  for (std::uint32_t& entry : entries_) {
    if ((entry & ViewZone::kIsVector) == 0 && (entry & ViewZone::kIndexMask) == index) {
      entry = index | low;
      return true;
    }
  }
  if (entries_.size() >= kMaxViewZones) {
    ui_.ShowNote(kMsgViewZoneListFull);
    return false;
  }
  entries_.push_back(index | low);
  return true;
}

bool ViewZoneDialog::Delete() {
  if (entries_.empty()) {
    ui_.ShowNote(kMsgNoEntriesToDelete);
    return false;
  }
  if (listSelection < 0 || static_cast<std::size_t>(listSelection) >= entries_.size()) return false;
  entries_.erase(entries_.begin() + listSelection);
  if (static_cast<std::size_t>(listSelection) >= entries_.size()) {
    listSelection = static_cast<int>(entries_.size()) - 1;
  }
  return true;
}

void ViewZoneDialog::Commit(ObjectTables& t) const {
  if (zone_ >= t.polygonCount) return;
  Polygon& poly = t.polygons[zone_];
  // Slots past the new count keep what they held, as the list always left
  // them when entries moved up.
  std::copy(entries_.begin(), entries_.end(), poly.viewZones);
  poly.viewZoneCount = static_cast<std::uint32_t>(entries_.size());
}

}  // namespace ws
