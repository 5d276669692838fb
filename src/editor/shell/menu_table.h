// The main menu and the pop-up menu as data: every item's exact text and id
// in display order. The Qt front end builds its menus from these tables and
// RefreshMenuState (menu_state.h) decides each item's check mark, greying
// and text; nothing else in the program spells a menu text.
//
// A table is a flat list: kSubmenu opens a menu titled `text` (top-level
// menus too), kEnd closes the innermost open one. Item texts use '&' for
// the mnemonic and '\t' before the shortcut shown at the right.
#pragma once

#include <span>
#include <string_view>

namespace ws {

enum class MenuEntryKind : unsigned char { kItem, kSeparator, kSubmenu, kEnd };

struct MenuEntry {
  MenuEntryKind kind;
  int id;  // 0 for separators, submenus and ends
  std::string_view text;
};

std::span<const MenuEntry> MainMenuTable();
std::span<const MenuEntry> PopupMenuTable();

// The text of the item `id` in either table; empty when there is none.
std::string_view MenuItemText(int id);
// Every item id of the main menu, in display order.
std::span<const int> MainMenuIds();

}  // namespace ws
