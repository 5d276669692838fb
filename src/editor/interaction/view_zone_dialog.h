// The logic of dialog 154, "Set Priority List For This View Zone": the
// window system shows the controls, this class holds what they show and
// does what their buttons do, so the rules run without widgets.
//
// The zone is the highest-numbered selected polygon. Combo 1000 lists
// "Polygon %ld" for every polygon that is not selected, by polygon index;
// combo 1001 lists "Low" and "High"; both start at their first item. The
// list box 1018 shows the zone's entries as "Vect Low - %ld",
// "Poly Low - %ld", "Vect Hgh - %ld" or "Poly Hgh - %ld" by the entry's
// vector (0x8000) and Low (0x4000) bits, with its index (bits 0-13).
//
// "Add" takes the k-th unselected polygon (k the combo 1000 choice): a
// polygon entry of the same index is rewritten with the chosen priority,
// otherwise the entry is appended (bit 14 when "Low" is chosen). A vector
// entry with the same number is a different object and stays as it is. A
// full list (20 entries) refuses the append with a message. "Delete"
// removes the list box's selected entry (later ones move up; after
// removing the last entry the selection moves to the new last one), or
// shows "There are no entries to delete." on an empty list; with no entry
// selected it does nothing.
//
// The dialog edits a copy of the list: "Done" (Commit) writes it into the
// zone polygon; closing the dialog otherwise changes nothing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/object_tables.h"
#include "platform/ui.h"

namespace ws {

inline constexpr int kViewZoneDialogId = 154;
inline constexpr int kViewZonePolygonComboId = 1000;
inline constexpr int kViewZonePriorityComboId = 1001;
inline constexpr int kViewZoneAddId = 1017;
inline constexpr int kViewZoneListId = 1018;
inline constexpr int kViewZoneDeleteId = 1019;
inline constexpr std::string_view kViewZoneDialogTitle = "Set Priority List For This View Zone";
inline constexpr std::string_view kViewZoneHelp =
    "Use the following controls to identify the object and priority of sorting when standing in "
    "the polygonal view zone you selected. Click \"Done\" when finished.";
inline constexpr std::string_view kViewZoneHasA = "has a";
inline constexpr std::string_view kViewZonePriorityWhenSeen = "priority when seen";
inline constexpr std::string_view kViewZoneStanding = "standing in this view zone polygon.";
inline constexpr std::string_view kViewZoneAdd = "Add";
inline constexpr std::string_view kViewZoneDelete = "Delete";
inline constexpr std::string_view kViewZoneDone = "Done";
inline constexpr std::string_view kMsgNoEntriesToDelete = "There are no entries to delete.";
inline constexpr std::string_view kMsgViewZoneListFull =
    "This view zone already lists 20 entries; delete one before adding another.";

// Choices of combo 1001, in order.
inline constexpr int kPriorityLow = 0;
inline constexpr int kPriorityHigh = 1;

// The listing text of one entry.
std::string ViewZoneEntryText(std::uint32_t entry);

class ViewZoneDialog {
 public:
  // Opens for the highest-numbered selected polygon of `t` (the caller has
  // checked that exactly one is selected and another exists).
  ViewZoneDialog(const ObjectTables& t, Ui& ui);

  std::uint32_t zone() const { return zone_; }
  // Combo 1000: the texts and the polygon each item stands for.
  const std::vector<std::string>& polygonChoices() const { return choiceTexts_; }
  const std::vector<std::uint32_t>& choicePolygons() const { return choicePolygons_; }
  // Combo 1001.
  static std::vector<std::string> PriorityChoices() { return {"Low", "High"}; }
  // The zone's entries (the working copy) and their list box texts.
  const std::vector<std::uint32_t>& entries() const { return entries_; }
  std::vector<std::string> Listing() const;

  // The controls' current choices; the window system keeps them in step.
  int polygonChoice = 0;
  int priorityChoice = kPriorityLow;
  int listSelection = -1;  // -1: no entry selected

  // "Add" with the current choices. False when nothing was added.
  bool Add();
  // "Delete" of the selected entry. False when nothing was removed.
  bool Delete();
  // "Done": the working list becomes the zone's list.
  void Commit(ObjectTables& t) const;

 private:
  Ui& ui_;
  std::uint32_t zone_ = 0;
  std::vector<std::string> choiceTexts_;
  std::vector<std::uint32_t> choicePolygons_;
  std::vector<std::uint32_t> entries_;
};

}  // namespace ws
