// The user's input as Windows turns it into messages: mouse buttons in client coordinates, keys
// as virtual-key codes (WM_SYSKEY* while Alt is held without Ctrl, and for F10), the menu first
// in line for both. Characters are made only by TranslateMessage: what the user's layout typed
// with the key when the driver says, else from the US layout of the keyboard table and this
// layer's own Shift, Ctrl and Caps Lock state; either way in Windows-1252, as an ANSI window
// gets them.
#include <algorithm>
#include <iterator>
#include <string>
#include <utility>

#include "base/code_page.h"
#include "display/keyboard.h"
#include "menu.h"
#include "window_internal.h"

namespace platform {
namespace {

constexpr WPARAM kMkLButton = 0x0001;
constexpr WPARAM kMkRButton = 0x0002;
constexpr WPARAM kMkShift = 0x0004;
constexpr WPARAM kMkControl = 0x0008;

// Two views of the keyboard, as on Windows: the keys as the user holds them now (which decides
// between WM_KEYDOWN and WM_SYSKEYDOWN), and the keys as of the last input message the program
// took from the queue (what TranslateMessage reads, so a queued Shift+A still types 'A' after
// Shift was released).
struct KeyState {
  bool down[256] = {};
  bool toggled[256] = {};  // flips with every press: Caps Lock's light for VK_CAPITAL

  void press(int vk, bool previous) {
    down[vk] = true;
    if (!previous) toggled[vk] = !toggled[vk];
  }
};

KeyState held;
KeyState taken;
// What the user's layout typed the last time each key went down, as of the key-downs taken
// from the queue: a copy of a key-down that a window forwards types the same.
KeyText layout_text[256];
bool buttons[2] = {};
POINT cursor{};

LPARAM key_lparam(bool alt, bool previous, bool release) {
  DWORD value = 1;
  if (alt) value |= 1u << 29;
  if (previous) value |= 1u << 30;
  if (release) value |= 1u << 31;
  return static_cast<LPARAM>(value);
}

WPARAM mouse_flags() {
  WPARAM flags = 0;
  if (buttons[0]) flags |= kMkLButton;
  if (buttons[1]) flags |= kMkRButton;
  if (held.down[VK_SHIFT]) flags |= kMkShift;
  if (held.down[VK_CONTROL]) flags |= kMkControl;
  return flags;
}

// The client position of a frame position; false outside the client area.
bool to_client(const Window& w, int x, int y, int* cx, int* cy) {
  *cx = x;
  *cy = y - w.menu_height;
  return *cx >= 0 && *cy >= 0 && *cx < w.client_width && *cy < w.client_height;
}

void track_cursor(const Window& w, int x, int y) {
  const POINT origin = window_frame_origin(w);
  cursor.x = origin.x + x;
  cursor.y = origin.y + y;
}

// Alt with Ctrl is AltGr: its keys are ordinary keys, as on Windows.
bool is_system_key(int vk) {
  return vk == VK_F10 || ((vk == VK_MENU || held.down[VK_MENU]) && !held.down[VK_CONTROL]);
}

// The character a key-down makes on a US layout, or 0 for a key that types none.
int us_char_for(int vk) {
  const bool shift = taken.down[VK_SHIFT];
  const bool ctrl = taken.down[VK_CONTROL];
  if (ctrl && taken.down[VK_MENU]) return 0;
  const KeyboardKey* key = keyboard_key_of_vk(vk);
  if (!key || key->plain == 0) return 0;
  if (vk >= 'A' && vk <= 'Z') {
    if (ctrl) return vk - 'A' + 1;
    return shift != taken.toggled[VK_CAPITAL] ? key->shifted : key->plain;
  }
  if (ctrl) {
    // Ctrl changes the control keys and gives the control characters that follow Esc with
    // [ \ ]; other keys give none.
    switch (vk) {
      case VK_SPACE:
      case VK_ESCAPE:
        return key->plain;
      case VK_RETURN:
        return '\n';
      case VK_BACK:
        return 0x7F;
      case VK_OEM_4:
        return 0x1B;
      case VK_OEM_5:
        return 0x1C;
      case VK_OEM_6:
        return 0x1D;
      default:
        return 0;
    }
  }
  return shift ? key->shifted : key->plain;
}

bool is_control_char(int c) {
  return (c > 0 && c < 0x20) || c == 0x7F;
}

}  // namespace

POINT cursor_screen_position() {
  return cursor;
}

void keyboard_message_taken(const MSG& msg, const KeyText& text) {
  int vk = static_cast<int>(msg.wParam & 0xFF);
  switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      taken.press(vk, (msg.lParam & (1 << 30)) != 0);
      layout_text[vk] = text;
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      taken.down[vk] = false;
      break;
  }
}

std::string keyboard_chars_for(const MSG& msg) {
  const int vk = static_cast<int>(msg.wParam & 0xFF);
  const int us = us_char_for(vk);
  const KeyText& layout = layout_text[vk];
  if (layout.known) {
    // The layout's characters. Keys that typed none there still make their control characters
    // (Enter, Tab, Backspace, Esc, Ctrl+letter by the letter on the key), which layouts share.
    if (!layout.bytes.empty()) return layout.bytes;
    return is_control_char(us) ? std::string(1, static_cast<char>(us)) : std::string();
  }
  return us != 0 ? std::string(1, static_cast<char>(us)) : std::string();
}

void input_reset() {
  held = KeyState{};
  taken = KeyState{};
  for (KeyText& text : layout_text) text = KeyText{};
  buttons[0] = false;
  buttons[1] = false;
  cursor = POINT{};
}

namespace {

void input_mouse_down(HWND window, int x, int y, int button) {
  Window* w = window_from(window);
  if (!w || button < 0 || button > 1) return;
  track_cursor(*w, x, y);
  buttons[button] = true;
  if (button == 0) {
    bool taken_by_menu = menu_mouse_down(window, x, y);
    if (!(w = window_from(window))) return;
    w->menu_took_button = taken_by_menu;
    if (taken_by_menu) return;
  }
  int cx = 0;
  int cy = 0;
  if (!to_client(*w, x, y, &cx, &cy)) return;
  queue_post_input(window, button == 0 ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, mouse_flags(),
                   MAKELPARAM(cx, cy));
}

void input_mouse_up(HWND window, int x, int y, int button) {
  Window* w = window_from(window);
  if (!w || button < 0 || button > 1) return;
  track_cursor(*w, x, y);
  buttons[button] = false;
  if (button == 0 && w->menu_took_button) {
    w->menu_took_button = false;
    return;
  }
  int cx = 0;
  int cy = 0;
  if (!to_client(*w, x, y, &cx, &cy)) return;
  queue_post_input(window, button == 0 ? WM_LBUTTONUP : WM_RBUTTONUP, mouse_flags(),
                   MAKELPARAM(cx, cy));
}

void input_mouse_move(HWND window, int x, int y) {
  Window* w = window_from(window);
  if (!w) return;
  track_cursor(*w, x, y);
  if (menu_mouse_move(window, x, y)) return;
  if (!(w = window_from(window))) return;
  int cx = 0;
  int cy = 0;
  if (!to_client(*w, x, y, &cx, &cy)) return;
  queue_post_input(window, WM_MOUSEMOVE, mouse_flags(), MAKELPARAM(cx, cy));
}

void input_key_down(HWND window, int vk, bool repeat, const char* text) {
  if (!window_from(window)) return;
  vk &= 0xFF;
  bool previous = held.down[vk] || repeat;
  held.press(vk, previous);
  // Alt held with Ctrl (AltGr) types characters and is not the menu's.
  const bool for_menu = !(vk == VK_MENU && held.down[VK_CONTROL]);
  if (for_menu && menu_key_down(window, vk)) {
    // The program never sees this key, but its state must not lag behind the user's.
    taken.press(vk, previous);
    return;
  }
  UINT message = is_system_key(vk) ? WM_SYSKEYDOWN : WM_KEYDOWN;
  KeyText typed;
  if (text) typed = KeyText{true, code_page_from_utf8(text)};
  queue_post_input(window, message, static_cast<WPARAM>(vk),
                   key_lparam(held.down[VK_MENU], previous, false), std::move(typed));
}

void input_characters(HWND window, const char* text) {
  if (!window_from(window)) return;
  for (char c : code_page_from_utf8(text)) {
    queue_post_input(window, WM_CHAR, static_cast<unsigned char>(c), 1);
  }
}

void input_key_up(HWND window, int vk) {
  if (!window_from(window)) return;
  vk &= 0xFF;
  held.down[vk] = false;
  if (menu_key_up(window, vk)) {
    taken.down[vk] = false;
    return;
  }
  UINT message = is_system_key(vk) ? WM_SYSKEYUP : WM_KEYUP;
  queue_post_input(window, message, static_cast<WPARAM>(vk),
                   key_lparam(held.down[VK_MENU], true, true));
}

void input_keys_released() {
  for (KeyState* state : {&held, &taken}) {
    std::fill(std::begin(state->down), std::end(state->down), false);
  }
  buttons[0] = false;
  buttons[1] = false;
}

void input_close(HWND window) {
  if (!window_from(window)) return;
  queue_post_input(window, WM_SYSCOMMAND, SC_CLOSE, MAKELPARAM(cursor.x, cursor.y));
}

void input_expose(HWND window) {
  Window* w = window_from(window);
  if (!w) return;
  w->needs_present = true;
  InvalidateRect(window, nullptr, TRUE);
}

void input_move(HWND window, int left, int top) {
  Window* w = window_from(window);
  if (!w) return;
  w->left = left;
  w->top = top;
}

void input_end_session() {
  for (Window* w : all_windows()) window_send(w->handle, WM_ENDSESSION, TRUE, 0);
}

}  // namespace

const InputSink window_input_sink = {
    .mouse_down = input_mouse_down,
    .mouse_up = input_mouse_up,
    .mouse_move = input_mouse_move,
    .key_down = input_key_down,
    .key_up = input_key_up,
    .characters = input_characters,
    .keys_released = input_keys_released,
    .close = input_close,
    .expose = input_expose,
    .resize = input_resize,
    .move = input_move,
    .end_session = input_end_session,
};

}  // namespace platform

// The key as of the last input message taken from the queue: the high bit while it is down, the
// low bit toggled by each press.
SHORT WINAPI GetKeyState(int vk) {
  if (vk < 0 || vk > 0xFF) return 0;
  const platform::KeyState& state = platform::taken;
  return static_cast<SHORT>((state.down[vk] ? 0x8000 : 0) | (state.toggled[vk] ? 1 : 0));
}
