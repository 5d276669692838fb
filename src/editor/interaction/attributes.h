// The attribute commands of the Polygons menu: each changes the flags of
// every selected polygon, requests a redraw and a menu refresh, and takes
// no undo step. "One" and "several" count the selected polygons.
//
//   Set Style   "Normal" 32825      clear Outline, Bordered
//               "Bordered" 32813    set Bordered, clear Outline
//               outline 32814       set Outline, clear Bordered
//   Set Color   "Selected Color" 32802   set Selected Color, clear Shaded, Adopted
//               "Shaded From Base Color" 32803  set Shaded, clear Selected
//                 Color, Adopted; leader 0; both colours rounded down to a
//                 multiple of 8 and their fill words recomputed
//               "Adopted From Group Leader" 32804  asks for the leader L;
//                 set Adopted, leader L; clear Shaded, Selected Color, Each
//                 Side Different, then copy those three bits from polygon L
//               "Each Side Has Different Color" 32806  one: toggle it, and
//                 when now set clear Adopted; several: set it, clear Adopted
//   Visibility  "Normal" 32807      clear Invisible, Not Visible From
//                                   Collision, Never Draw Back-face, Higher
//                                   Sorting Priority
//               "Invisible" 32808   set Invisible, clear the other three
//               "Never Draw Back-face" 32810  one: toggle it, clear
//                                   Invisible; several: set it
//               "Not Visible From Collision" 32811  one: toggle; several: set
//               "Higher Sorting Priority Than Surrounding" 32812  one:
//                                   toggle; several: set; clear Invisible
//   Purpose     "Normal" 32826      clear Collision, Entrance, View Zone
//               "Collision" 32800   set Collision, clear Entrance
//               "Entrance" 32799    set Entrance, clear Collision
//               "View Zone" 32801   exactly one selected polygon and at
//                 least two in the object, else one of three messages; then
//                 dialog 154; "Done" sets the View Zone flag.
//
// The group leader (slot 0 of `viewZones` while Adopted is set) is asked
// with "Enter polygon number to adopt color from:" until the answer is 0 or
// more and below the polygon count ("That polygon does not exist. Please
// try again." otherwise); Cancel ends the command.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "editor/interaction/interaction.h"

namespace ws {

inline constexpr std::string_view kPromptGroupLeader = "Enter polygon number to adopt color from:";
inline constexpr std::string_view kMsgNoSuchPolygon =
    "That polygon does not exist. Please try again.";
inline constexpr std::string_view kMsgViewZoneSeveral =
    "Only one polygon can be selected when setting it to a view zone.";
inline constexpr std::string_view kMsgViewZoneNone =
    "You must select one polygon to be used as the view zone.";
inline constexpr std::string_view kMsgViewZoneNoOthers =
    "There are no polygons that can be used for any view zones.";

// Whether `id` is one of the commands above.
bool IsAttributeCommand(int id);

// The flag change of `id` on every selected polygon, for every command but
// "Adopted From Group Leader" and "View Zone". Returns the number of
// polygons changed (0 for those two ids and any other).
std::uint32_t ApplyAttributeCommand(ObjectTables& t, int id);

// "Adopted From Group Leader" with leader `leader` (below the polygon
// count) on every selected polygon, in index order.
std::uint32_t AdoptFromGroupLeader(ObjectTables& t, std::uint32_t leader);

// The group-leader prompt; empty when cancelled.
std::optional<std::uint32_t> AskGroupLeader(Ui& ui, std::uint32_t polygonCount);

// Why View Zone cannot run on the current selection, or empty when it can.
std::optional<std::string_view> ViewZoneRefusal(const ObjectTables& t);

// "View Zone": the checks, then dialog 154 through the context; "Done"
// commits the list and sets the View Zone flag. True when it was set.
bool SetViewZone(EditContext& ctx);

// The command table's entry for every id above: runs the command, requests
// a redraw and a menu refresh. False for an id that is not an attribute
// command.
bool RunAttributeCommand(EditContext& ctx, int id);

}  // namespace ws
