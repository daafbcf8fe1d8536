// A window's menu as the user works it, the way Windows' menu loop behaves, but without a loop
// of its own: the window system hands over each input and the application keeps running (its
// timers tick) while a popup is open.
//
// The menu is idle, has its bar selected (after Alt or F10, or Esc out of a popup) or has a
// popup open. While it is not idle it takes all keys and clicks; a click outside ends it and is
// used up. When the bar it works on is replaced or destroyed, or its open popup destroyed, it
// stops at that moment. Notifications to the window procedure and the posted WM_COMMAND are
// delivered after the state is settled, so a procedure that changes menus or destroys the window
// meanwhile finds nothing half done.
#include <bitset>
#include <vector>

#include "menu.h"
#include "menu_parts.h"
#include "window_internal.h"

namespace platform {
namespace {

enum class Mode { idle, bar, popup };

struct Track {
  HWND window{};
  HMENU bar{};  // the menu the selection refers to
  Mode mode = Mode::idle;
  int bar_item = -1;
  int popup_item = -1;
  bool alt_down = false;
  bool alt_alone = false;  // Alt went down and nothing else happened since
  // Key-downs the menu took: their key-ups are its too. Other key-ups reach the application
  // even while the menu works, so that a key held since before (Ctrl) is not stuck down.
  std::bitset<256> taken_keys;
  bool dirty = false;
  int frame_width = -1;  // as last painted, or -1 before the first paint
};

std::vector<Track> tracks;

struct Delivery {
  bool post = false;
  HWND window{};
  UINT message = 0;
  WPARAM wparam = 0;
  LPARAM lparam = 0;
};
std::vector<Delivery> deliveries;

Track* find_track(HWND window) {
  for (Track& track : tracks) {
    if (track.window == window) return &track;
  }
  return nullptr;
}

Track& track_of(HWND window) {
  if (Track* track = find_track(window)) return *track;
  tracks.push_back(Track{});
  tracks.back().window = window;
  return tracks.back();
}

void send_later(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  deliveries.push_back(Delivery{false, window, message, wparam, lparam});
}

// Runs at the end of every entry point. A procedure may itself give the menu input (or
// destroy the window), so the queue is taken over first.
void deliver() {
  std::vector<Delivery> pending;
  pending.swap(deliveries);
  for (const Delivery& d : pending) {
    if (!IsWindow(d.window)) continue;
    if (d.post) {
      PostMessageA(d.window, d.message, d.wparam, d.lparam);
    } else {
      SendMessageA(d.window, d.message, d.wparam, d.lparam);
    }
  }
}

void enter_loop(Track& track) {
  if (track.mode != Mode::idle) return;
  send_later(track.window, WM_ENTERMENULOOP, FALSE, 0);
  send_later(track.window, WM_INITMENU, reinterpret_cast<WPARAM>(track.bar), 0);
}

void leave(Track& track) {
  if (track.mode == Mode::idle) return;
  track.mode = Mode::idle;
  track.bar_item = -1;
  track.popup_item = -1;
  track.dirty = true;
  send_later(track.window, WM_EXITMENULOOP, FALSE, 0);
}

const MenuItem* bar_item(const Track& track) {
  Menu* bar = menu_object(track.bar);
  if (!bar || track.bar_item < 0 || track.bar_item >= static_cast<int>(bar->items.size())) {
    return nullptr;
  }
  return &bar->items[track.bar_item];
}

// The popup of the selected bar item while it is open.
Menu* open_popup(const Track& track) {
  if (track.mode != Mode::popup) return nullptr;
  const MenuItem* item = bar_item(track);
  return item && (item->flags & MF_POPUP) ? menu_object(item->submenu) : nullptr;
}

// The window's menu bar. The menu stops working when the bar it works on was replaced or
// destroyed, or lost the selected item or the open popup.
Menu* settle(Track& track) {
  HMENU handle = GetMenu(track.window);
  Menu* bar = menu_object(handle);
  bool lost = !bar || handle != track.bar ||
              track.bar_item >= static_cast<int>(bar->items.size()) ||
              (track.mode == Mode::popup && !open_popup(track));
  if (lost) leave(track);
  track.bar = handle;
  return bar;
}

PopupLayout layout_of_open_popup(Track& track, const Menu& popup) {
  Menu* bar = menu_object(track.bar);
  std::vector<RECT> rects = bar_item_rects(*bar);
  int width = track.frame_width;
  RECT client{};
  if (width < 0 && GetClientRect(track.window, &client)) width = client.right - client.left;
  return popup_layout(popup, rects[track.bar_item], width);
}

void select_bar_item(Track& track, int index) {
  enter_loop(track);
  track.mode = Mode::bar;
  track.bar_item = index;
  track.popup_item = -1;
  track.dirty = true;
}

// Next enabled item after `from` going by `step` (+1 or -1), wrapping; -1 when none.
int next_enabled(const Menu& popup, int from, int step) {
  int count = static_cast<int>(popup.items.size());
  for (int n = 1; n <= count; ++n) {
    int index = ((from + step * n) % count + count) % count;
    if (item_is_enabled(popup.items[index])) return index;
  }
  return -1;
}

void choose(Track& track, const MenuItem& item) {
  UINT id = static_cast<UINT>(item.id);
  HWND window = track.window;
  leave(track);
  deliveries.push_back(Delivery{true, window, WM_COMMAND, LOWORD(id), 0});
}

// Opens the bar item's popup, or chooses the item at once when it is a command on the bar; a
// grayed item is only selected.
// `first` picks which item the keyboard starts on: 1 the first enabled, -1 the last, 0 none.
void open_bar_item(Track& track, int index, int first) {
  Menu* bar = menu_object(track.bar);
  const MenuItem& item = bar->items[index];
  if (!(item.flags & MF_POPUP) || !item_is_enabled(item)) {
    if (item_is_enabled(item)) {
      choose(track, item);
    } else {
      select_bar_item(track, index);
    }
    return;
  }
  Menu* popup = menu_object(item.submenu);
  if (!popup) {  // destroyed: nothing to open
    select_bar_item(track, index);
    return;
  }
  bool was_open = track.mode == Mode::popup && track.bar_item == index;
  select_bar_item(track, index);
  track.mode = Mode::popup;
  if (first != 0) {
    track.popup_item = next_enabled(*popup, first > 0 ? -1 : 0, first);
  }
  if (!was_open) {
    send_later(track.window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(item.submenu),
               MAKELPARAM(index, FALSE));
  }
}

// The first item whose mnemonic is the key, or -1.
int mnemonic_item(const Menu& menu, int vk) {
  if (vk <= 0 || vk > 0xFF) return -1;
  for (size_t i = 0; i < menu.items.size(); ++i) {
    char mnemonic = item_mnemonic(menu.items[i]);
    if (mnemonic != 0 && static_cast<unsigned char>(mnemonic) == vk) return static_cast<int>(i);
  }
  return -1;
}

int wrap(int index, int count) {
  return (index % count + count) % count;
}

void bar_key(Track& track, const Menu& bar, int vk) {
  int count = static_cast<int>(bar.items.size());
  switch (vk) {
    case VK_LEFT:
    case VK_RIGHT:
      select_bar_item(track, wrap(track.bar_item + (vk == VK_LEFT ? -1 : 1), count));
      return;
    case VK_DOWN:
    case VK_RETURN:
      open_bar_item(track, track.bar_item, 1);
      return;
    case VK_UP:
      open_bar_item(track, track.bar_item, -1);
      return;
    case VK_ESCAPE:
    case VK_F10:
      leave(track);
      return;
    default: {
      int index = mnemonic_item(bar, vk);
      if (index >= 0) open_bar_item(track, index, 1);
    }
  }
}

void popup_key(Track& track, const Menu& bar, Menu* popup, int vk) {
  int count = static_cast<int>(bar.items.size());
  switch (vk) {
    case VK_UP:
    case VK_DOWN:
      if (popup) {
        int step = vk == VK_DOWN ? 1 : -1;
        int from = track.popup_item >= 0 ? track.popup_item : (step > 0 ? -1 : 0);
        int next = next_enabled(*popup, from, step);
        if (next != track.popup_item) track.dirty = true;
        track.popup_item = next;
      }
      return;
    case VK_LEFT:
    case VK_RIGHT:
      open_bar_item(track, wrap(track.bar_item + (vk == VK_LEFT ? -1 : 1), count), 1);
      return;
    case VK_RETURN:
      if (popup && track.popup_item >= 0 &&
          track.popup_item < static_cast<int>(popup->items.size())) {
        const MenuItem& item = popup->items[track.popup_item];
        if (item_is_enabled(item) && !(item.flags & MF_POPUP)) choose(track, item);
      }
      return;
    case VK_ESCAPE:
      select_bar_item(track, track.bar_item);
      return;
    case VK_F10:
      leave(track);
      return;
    default:
      if (popup) {
        int index = mnemonic_item(*popup, vk);
        if (index < 0) return;
        const MenuItem& item = popup->items[index];
        if (item_is_enabled(item) && !(item.flags & MF_POPUP)) {
          choose(track, item);
        } else {
          track.popup_item = index;
          track.dirty = true;
        }
      }
  }
}

// Key-down handling; true when the menu takes the key.
bool key_down(Track& track, const Menu& bar, int vk) {
  if (vk == VK_MENU) {
    if (track.alt_down) return true;  // auto-repeat
    track.alt_down = true;
    // Alt while the menu is working ends it; alone from idle, its release selects the bar.
    track.alt_alone = track.mode == Mode::idle;
    leave(track);
    return true;
  }
  track.alt_alone = false;
  if (track.alt_down && vk == VK_F4) {
    leave(track);  // the window's to close
    return false;
  }
  if (bar.items.empty()) return false;
  switch (track.mode) {
    case Mode::idle:
      if (vk == VK_F10) {
        select_bar_item(track, 0);
        return true;
      }
      if (track.alt_down) {
        // Alt+letter opens the bar item with that mnemonic; other Alt+keys go on to the
        // window as system keys (AltGr+key, which arrives as Ctrl+Alt+key, among them).
        int index = mnemonic_item(bar, vk);
        if (index < 0) return false;
        open_bar_item(track, index, 1);
        return true;
      }
      return false;
    case Mode::bar:
      bar_key(track, bar, vk);
      return true;
    case Mode::popup:
      popup_key(track, bar, open_popup(track), vk);
      return true;
  }
  return false;
}

int bar_item_at(const Menu& bar, int x, int y) {
  return item_at(bar_item_rects(bar), x, y);
}

bool mouse_down(Track& track, const Menu& bar, int x, int y) {
  track.alt_alone = false;
  int on_bar = bar_item_at(bar, x, y);
  if (Menu* popup = open_popup(track)) {
    PopupLayout layout = layout_of_open_popup(track, *popup);
    if (rect_contains(layout.frame, x, y)) {
      int index = item_at(layout.items, x, y);
      if (index >= 0) {
        const MenuItem& item = popup->items[index];
        if (item_is_enabled(item) && !(item.flags & MF_POPUP)) choose(track, item);
      }
      return true;
    }
  }
  if (on_bar >= 0 && !item_is_separator(bar.items[on_bar])) {
    if (track.mode == Mode::popup && on_bar == track.bar_item) {
      leave(track);
    } else {
      open_bar_item(track, on_bar, 0);
    }
    return true;
  }
  if (track.mode != Mode::idle) {
    leave(track);
    return true;
  }
  return y >= 0 && y < kMenuBarHeight;
}

bool mouse_move(Track& track, const Menu& bar, int x, int y) {
  int on_bar = bar_item_at(bar, x, y);
  if (Menu* popup = open_popup(track)) {
    PopupLayout layout = layout_of_open_popup(track, *popup);
    int index = -1;
    if (rect_contains(layout.frame, x, y)) {
      index = item_at(layout.items, x, y);
      if (index >= 0 && item_is_separator(popup->items[index])) index = -1;
    } else if (on_bar >= 0 && on_bar != track.bar_item && (bar.items[on_bar].flags & MF_POPUP)) {
      // While a popup is open, the mouse carries it along the bar.
      open_bar_item(track, on_bar, 0);
      return true;
    }
    if (index != track.popup_item) track.dirty = true;
    track.popup_item = index;
    return true;
  }
  if (track.mode == Mode::bar) {
    if (on_bar >= 0 && on_bar != track.bar_item && !item_is_separator(bar.items[on_bar])) {
      select_bar_item(track, on_bar);
    }
    return true;
  }
  return y >= 0 && y < kMenuBarHeight;
}

}  // namespace

int menu_bar_height(HWND window) {
  return menu_object(GetMenu(window)) ? kMenuBarHeight : 0;
}

void menu_paint(HWND window, HDC dc, int frame_width) {
  // Painting notes only what it painted: what the menu shows is settled by input and by
  // menus_changed, never while the window system presents.
  HMENU handle = GetMenu(window);
  Menu* bar = menu_object(handle);
  Track* track = find_track(window);
  if (track) {
    track->dirty = false;
    if (bar) track->frame_width = frame_width;
  }
  if (!bar) return;
  bool working = track && track->bar == handle && track->mode != Mode::idle;
  MenuPainter painter(dc);
  painter.bar(frame_width, *bar, bar_item_rects(*bar), working ? track->bar_item : -1);
  if (Menu* popup = working ? open_popup(*track) : nullptr) {
    painter.popup(*popup, layout_of_open_popup(*track, *popup), track->popup_item);
  }
}

void menu_paint(HWND window, const Surface& frame) {
  if (!frame.pixels) return;
  HDC dc = window_frame_dc(window, frame);
  if (!dc) return;
  menu_paint(window, dc, frame.width);
  ReleaseDC(window, dc);
}

bool menu_mouse_down(HWND window, int x, int y) {
  Track& track = track_of(window);
  Menu* bar = settle(track);
  bool taken = bar && mouse_down(track, *bar, x, y);
  deliver();
  return taken;
}

bool menu_mouse_move(HWND window, int x, int y) {
  Track& track = track_of(window);
  Menu* bar = settle(track);
  bool taken = bar && mouse_move(track, *bar, x, y);
  deliver();
  return taken;
}

bool menu_key_down(HWND window, int vk) {
  Track& track = track_of(window);
  Menu* bar = settle(track);
  bool taken = false;
  if (bar) {
    taken = key_down(track, *bar, vk);
    if (taken && vk >= 0 && vk < 256) track.taken_keys.set(vk);
  }
  deliver();
  return taken;
}

bool menu_key_up(HWND window, int vk) {
  Track& track = track_of(window);
  Menu* bar = settle(track);
  bool taken = false;
  if (vk == VK_MENU) {
    bool alone = track.alt_alone;
    track.alt_down = false;
    track.alt_alone = false;
    if (bar && alone && track.mode == Mode::idle && !bar->items.empty()) select_bar_item(track, 0);
  }
  if (vk >= 0 && vk < 256 && track.taken_keys.test(vk)) {
    track.taken_keys.reset(vk);
    taken = true;
  }
  deliver();
  return taken;
}

bool menu_needs_paint(HWND window) {
  const Track* track = find_track(window);
  return track && track->dirty;
}

bool menu_covers_client(HWND window) {
  const Track* track = find_track(window);
  return track && open_popup(*track);
}

void menu_tracks_reset() {
  tracks.clear();
  deliveries.clear();
}

void menus_changed() {
  for (Track& track : tracks) settle(track);
  deliver();
}

void menu_window_destroyed(HWND window) {
  std::erase_if(tracks, [window](const Track& track) { return track.window == window; });
}

}  // namespace platform

using namespace platform;

// The screen rectangle of an item of the window's menu bar, or of the popup open on it.
BOOL WINAPI GetMenuItemRect(HWND window, HMENU menu, UINT item, LPRECT rect) {
  Window* w = window_from(window);
  HMENU bar_handle = GetMenu(window);
  Menu* bar = menu_object(bar_handle);
  Menu* object = menu_object(menu);
  if (!w || !rect || !bar || !object || item >= object->items.size()) return FALSE;
  RECT found{};
  if (menu == bar_handle) {
    found = bar_item_rects(*bar)[item];
  } else {
    Track* track = find_track(window);
    Menu* popup = track && track->bar == bar_handle ? open_popup(*track) : nullptr;
    if (popup != object) return FALSE;
    found = layout_of_open_popup(*track, *popup).items[item];
  }
  const POINT origin = window_frame_origin(*w);
  *rect = RECT{found.left + origin.x, found.top + origin.y, found.right + origin.x,
               found.bottom + origin.y};
  return TRUE;
}
