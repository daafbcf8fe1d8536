// The user's input as Windows turns it into messages: mouse buttons in client coordinates, keys
// as virtual-key codes (WM_SYSKEY* while Alt is held, and for F10), the menu first in line for
// both. Characters are made only by TranslateMessage, from a US keyboard layout and this layer's
// own Shift, Ctrl and Caps Lock state.
#include <cstring>

#include "display/display.h"
#include "menu_internal.h"
#include "window_internal.h"

namespace platform {
namespace {

constexpr int kVkCapital = 0x14;
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
  bool caps = false;

  void press(int vk, bool previous) {
    down[vk] = true;
    if (vk == kVkCapital && !previous) caps = !caps;
  }
};

KeyState held;
KeyState taken;
bool buttons[2] = {};
POINT cursor{};

// Unshifted and shifted characters of the US layout's punctuation keys.
struct OemKey {
  int vk;
  char plain;
  char shifted;
};
constexpr OemKey kOemKeys[] = {
    {0xBA, ';', ':'},  {0xBB, '=', '+'}, {0xBC, ',', '<'},  {0xBD, '-', '_'},
    {0xBE, '.', '>'},  {0xBF, '/', '?'}, {0xC0, '`', '~'},  {0xDB, '[', '{'},
    {0xDC, '\\', '|'}, {0xDD, ']', '}'}, {0xDE, '\'', '"'},
};
constexpr char kShiftedDigits[] = ")!@#$%^&*(";

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
  RECT outer;
  GetWindowRect(w.handle, &outer);
  int thickness = (w.width - w.frame_width) / 2;
  cursor.x = outer.left + thickness + x;
  cursor.y = outer.top + (w.height - w.frame_height - thickness) + y;
}

bool is_system_key(int vk) {
  return vk == VK_F10 || vk == VK_MENU || (held.down[VK_MENU] && !held.down[VK_CONTROL]);
}

}  // namespace

POINT cursor_screen_position() {
  return cursor;
}

void keyboard_message_taken(const MSG& msg) {
  int vk = static_cast<int>(msg.wParam & 0xFF);
  switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      taken.press(vk, (msg.lParam & (1 << 30)) != 0);
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      taken.down[vk] = false;
      break;
  }
}

int keyboard_char_for(int vk) {
  bool shift = taken.down[VK_SHIFT];
  bool ctrl = taken.down[VK_CONTROL];
  if (ctrl && taken.down[VK_MENU]) return 0;
  if (vk >= 'A' && vk <= 'Z') {
    if (ctrl) return vk - 'A' + 1;
    return shift != taken.caps ? vk : vk - 'A' + 'a';
  }
  switch (vk) {
    case VK_SPACE:
      return ' ';
    case VK_RETURN:
      return ctrl ? '\n' : '\r';
    case VK_BACK:
      return ctrl ? 0x7F : '\b';
    case VK_ESCAPE:
      return 0x1B;
    case VK_TAB:
      return ctrl ? 0 : '\t';
  }
  if (ctrl) {
    // Ctrl with [ \ ] gives the control characters that follow Esc; other keys give none.
    if (vk == 0xDB) return 0x1B;
    if (vk == 0xDC) return 0x1C;
    if (vk == 0xDD) return 0x1D;
    return 0;
  }
  if (vk >= '0' && vk <= '9') return shift ? kShiftedDigits[vk - '0'] : vk;
  if (vk >= 0x60 && vk <= 0x69) return '0' + (vk - 0x60);  // keypad, Num Lock on
  switch (vk) {
    case 0x6A:
      return '*';
    case 0x6B:
      return '+';
    case 0x6D:
      return '-';
    case 0x6E:
      return '.';
    case 0x6F:
      return '/';
  }
  for (const OemKey& key : kOemKeys) {
    if (key.vk == vk) return shift ? key.shifted : key.plain;
  }
  return 0;
}

bool input_key_for_char(char c, int* vk, bool* shift) {
  *shift = false;
  if (c >= 'a' && c <= 'z') {
    *vk = c - 'a' + 'A';
    *shift = held.caps;
    return true;
  }
  if (c >= 'A' && c <= 'Z') {
    *vk = c;
    *shift = !held.caps;
    return true;
  }
  if (c >= '0' && c <= '9') {
    *vk = c;
    return true;
  }
  switch (c) {
    case ' ':
      *vk = VK_SPACE;
      return true;
    case '\r':
    case '\n':
      *vk = VK_RETURN;
      return true;
    case '\b':
      *vk = VK_BACK;
      return true;
    case '\t':
      *vk = VK_TAB;
      return true;
    case 0x1B:
      *vk = VK_ESCAPE;
      return true;
  }
  if (const char* at = c ? std::strchr(kShiftedDigits, c) : nullptr) {
    *vk = '0' + static_cast<int>(at - kShiftedDigits);
    *shift = true;
    return true;
  }
  for (const OemKey& key : kOemKeys) {
    if (c == key.plain || c == key.shifted) {
      *vk = key.vk;
      *shift = c == key.shifted;
      return true;
    }
  }
  return false;
}

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

void input_key_down(HWND window, int vk, bool repeat) {
  if (!window_from(window)) return;
  vk &= 0xFF;
  bool previous = held.down[vk] || repeat;
  held.press(vk, previous);
  if (menu_key_down(window, vk)) {
    // The program never sees this key, but its state must not lag behind the user's.
    taken.press(vk, previous);
    return;
  }
  UINT message = is_system_key(vk) ? WM_SYSKEYDOWN : WM_KEYDOWN;
  queue_post_input(window, message, static_cast<WPARAM>(vk),
                   key_lparam(held.down[VK_MENU], previous, false));
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
    bool caps = state->caps;
    *state = KeyState{};
    state->caps = caps;
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

}  // namespace platform
