// The menu objects behind HMENU handles, shared by the menu API, the menu's layout and
// painting, and the tracking of a window's open menu.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "win32.h"

namespace platform {

struct MenuItem {
  UINT flags = 0;    // MF_* state and type bits, without MF_BYPOSITION
  UINT_PTR id = 0;   // command id; for an MF_POPUP item, the submenu's handle
  HMENU submenu{};   // MF_POPUP items only; may go stale when the submenu is destroyed
  std::string text;  // as given, with '&' prefixes and an optional "\t" shortcut
};

struct Menu {
  std::vector<MenuItem> items;
};

// The menu behind a live HMENU; nullptr for null, stale or other handles.
Menu* menu_object(HMENU menu);

inline bool item_is_separator(const MenuItem& item) {
  return (item.flags & MF_SEPARATOR) != 0;
}

// Grayed or disabled items are shown but cannot be chosen.
inline bool item_is_enabled(const MenuItem& item) {
  return (item.flags & (MF_GRAYED | MF_DISABLED | MF_SEPARATOR)) == 0;
}

// An item's text splits at the first tab into the label and the shortcut shown at the right.
std::string_view item_label(const MenuItem& item);
std::string_view item_shortcut(const MenuItem& item);

// A label as shown: each "&x" shows x and marks it as the mnemonic (the first one counts),
// "&&" shows one '&'. mnemonic_index is the index of the mnemonic in `shown`, or -1.
struct ShownLabel {
  std::string shown;
  int mnemonic_index = -1;
};
ShownLabel shown_label(std::string_view label);

// The upper-case mnemonic letter of an item's label, or 0 when it has none.
char item_mnemonic(const MenuItem& item);

// Parts of menus_reset: no window's menu open (menu_track.cpp), the menus' font given back
// (menu_layout.cpp).
void menu_tracks_reset();
void menu_font_reset();

}  // namespace platform
