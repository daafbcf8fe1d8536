// Menu objects: the USER32 menu calls that build a menu and change its items' states. Which
// window shows a menu, and how, is the window system's and menu_track.cpp's business.
#include "menu.h"

#include <cctype>
#include <memory>

#include "base/handles.h"
#include "menu_parts.h"
#include "win32.h"

namespace platform {
namespace {

constexpr DWORD kMissingItem = static_cast<DWORD>(-1);

// Flags that describe an item; MF_BYPOSITION only tells a call how to find one.
constexpr UINT kItemFlags = ~static_cast<UINT>(MF_BYPOSITION);

HMENU new_menu() {
  return static_cast<HMENU>(handle_new(HandleKind::menu, new Menu));
}

// True when `target` is `menu` or one of the menus that open from it, at any depth.
bool reaches(HMENU menu, HMENU target) {
  if (menu == target) return true;
  Menu* object = menu_object(menu);
  if (!object) return false;
  for (const MenuItem& item : object->items) {
    if ((item.flags & MF_POPUP) && reaches(item.submenu, target)) return true;
  }
  return false;
}

// The item named by `item` and `flags` as Win32 finds it: by position in this menu, or by
// command id anywhere in this menu or the menus that open from it, depth first. An MF_POPUP
// item answers to its submenu handle when nothing below it has the id.
MenuItem* find_item(HMENU menu, UINT item, UINT flags) {
  Menu* object = menu_object(menu);
  if (!object) return nullptr;
  if (flags & MF_BYPOSITION) {
    return item < object->items.size() ? &object->items[item] : nullptr;
  }
  for (MenuItem& candidate : object->items) {
    if (candidate.flags & MF_POPUP) {
      if (MenuItem* found = find_item(candidate.submenu, item, flags)) return found;
    }
    if (candidate.id == item) return &candidate;
  }
  return nullptr;
}

bool destroy_tree(HMENU menu) {
  std::unique_ptr<Menu> object(menu_object(menu));
  if (!object) return false;
  handle_release(menu);
  for (const MenuItem& item : object->items) {
    if (item.flags & MF_POPUP) destroy_tree(item.submenu);
  }
  return true;
}

}  // namespace

Menu* menu_object(HMENU menu) {
  return handle_get<Menu>(menu, HandleKind::menu);
}

std::string_view item_label(const MenuItem& item) {
  std::string_view text = item.text;
  return text.substr(0, text.find('\t'));
}

std::string_view item_shortcut(const MenuItem& item) {
  std::string_view text = item.text;
  size_t tab = text.find('\t');
  return tab == std::string_view::npos ? std::string_view{} : text.substr(tab + 1);
}

ShownLabel shown_label(std::string_view label) {
  ShownLabel result;
  for (size_t i = 0; i < label.size(); ++i) {
    if (label[i] == '&' && i + 1 < label.size()) {
      ++i;
      if (label[i] != '&' && result.mnemonic_index < 0) {
        result.mnemonic_index = static_cast<int>(result.shown.size());
      }
    }
    result.shown += label[i];
  }
  return result;
}

void menus_reset() {
  for (void* menu : handle_list(HandleKind::menu)) {
    delete menu_object(static_cast<HMENU>(menu));
    handle_release(menu);
  }
  menu_tracks_reset();
  menu_font_reset();
}

char item_mnemonic(const MenuItem& item) {
  if (item_is_separator(item)) return 0;
  ShownLabel label = shown_label(item_label(item));
  if (label.mnemonic_index < 0) return 0;
  unsigned char c = static_cast<unsigned char>(label.shown[label.mnemonic_index]);
  return static_cast<char>(std::toupper(c));
}

}  // namespace platform

using platform::find_item;
using platform::Menu;
using platform::MenuItem;

HMENU WINAPI CreateMenu(void) {
  return platform::new_menu();
}

HMENU WINAPI CreatePopupMenu(void) {
  return platform::new_menu();
}

// Destroys the menu and, as Win32 does, every menu that opens from it. A menu at work on one
// of them hears of it once all are gone.
BOOL WINAPI DestroyMenu(HMENU menu) {
  if (!platform::destroy_tree(menu)) return FALSE;
  platform::menus_changed();
  return TRUE;
}

BOOL WINAPI AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text) {
  Menu* object = platform::menu_object(menu);
  if (!object) return FALSE;
  MenuItem item;
  item.flags = flags & platform::kItemFlags;
  item.id = id;
  if (flags & MF_POPUP) {
    item.submenu = reinterpret_cast<HMENU>(id);
    // A menu that opened into itself would make every walk over it endless.
    if (!platform::menu_object(item.submenu) || platform::reaches(item.submenu, menu)) {
      return FALSE;
    }
  }
  if (!(flags & MF_SEPARATOR)) {
    // A string item without a string is a separator, as in Win32.
    if (text) {
      item.text = text;
    } else {
      item.flags |= MF_SEPARATOR;
    }
  }
  object->items.push_back(std::move(item));
  return TRUE;
}

DWORD WINAPI CheckMenuItem(HMENU menu, UINT item, UINT check) {
  MenuItem* found = find_item(menu, item, check);
  if (!found) return platform::kMissingItem;
  DWORD previous = found->flags & MF_CHECKED;
  found->flags = (found->flags & ~static_cast<UINT>(MF_CHECKED)) | (check & MF_CHECKED);
  return previous;
}

UINT WINAPI GetMenuState(HMENU menu, UINT item, UINT flags) {
  MenuItem* found = find_item(menu, item, flags);
  if (!found) return static_cast<UINT>(-1);
  if (found->flags & MF_POPUP) {
    // The high byte counts the submenu's items; the low byte holds the flags.
    Menu* submenu = platform::menu_object(found->submenu);
    UINT count = submenu ? static_cast<UINT>(submenu->items.size()) : 0;
    return (count << 8) | (found->flags & 0xFF);
  }
  return found->flags;
}
