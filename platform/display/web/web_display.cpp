// The web display back-end, linked into the program built with emscripten for a web page.
//
// Provides: one canvas per Win32 window, stacked in the page in the order the windows were
// made (the drawing window first, the text window below it), shown and hidden with the window;
// each present copies the composed frame (menu bar and client area) into its canvas. Mouse
// buttons and motion on a canvas, and keys while the page has the keyboard, are handed to the
// window system with Windows' virtual-key codes by key position on a US layout, as the SDL
// back-end gives them; characters come from TranslateMessage. The Ctrl combinations, Alt, F10,
// Tab, Backspace, Space and the arrows are kept from the browser. The clock is the page's
// (performance.now), and a wait for input or a timer is a real sleep of the page: the program
// is suspended (asyncify) and resumed by the next input or when the time is up. The screen is
// a fixed 1024 x 768, so windows get the sizes they get in the headless display.
//
// Leaves out: window captions, moving, resizing and closing (a page has no window manager; the
// page's own buttons stand in), the wheel and the middle button, and keys the browser does not
// hand to pages (Ctrl+N, Ctrl+T, Ctrl+W).
//
// Depends on: the page side in web_display.js (canvases, events, the sleep), emscripten's
// asyncify, and the window system's input functions (display.h).
#include <emscripten.h>

#include <cstdint>

#include "display/display.h"

extern "C" {
// Implemented in web_display.js.
void vorla_web_window_create(int window, const char* title, int width, int height);
void vorla_web_window_destroy(int window);
void vorla_web_window_show(int window, int visible);
void vorla_web_window_present(int window, const uint32_t* pixels, int width, int height,
                              int stride);
double vorla_web_now();
void vorla_web_sleep(double ms, int forever);
int vorla_web_next_input(int* fields);
void vorla_web_closed();
}

namespace {

// The fields of one input record from the page: kind, window, then the kind's values.
enum InputKind {
  kMouseDown = 1,  // x, y, button
  kMouseUp = 2,    // x, y, button
  kMouseMove = 3,  // x, y
  kKeyDown = 4,    // vk, repeat
  kKeyUp = 5,      // vk
  kKeysReleased = 6,
};

int id_of(HWND window) {
  return static_cast<int>(reinterpret_cast<uintptr_t>(window));
}

HWND window_of(int id) {
  return reinterpret_cast<HWND>(static_cast<uintptr_t>(id));
}

void deliver(const int* f) {
  HWND window = window_of(f[1]);
  switch (f[0]) {
    case kMouseDown:
      platform::input_mouse_down(window, f[2], f[3], f[4]);
      break;
    case kMouseUp:
      platform::input_mouse_up(window, f[2], f[3], f[4]);
      break;
    case kMouseMove:
      platform::input_mouse_move(window, f[2], f[3]);
      break;
    case kKeyDown:
      platform::input_key_down(window, f[2], f[3] != 0);
      break;
    case kKeyUp:
      platform::input_key_up(window, f[2]);
      break;
    case kKeysReleased:
      platform::input_keys_released();
      break;
  }
}

void sleep_until(uint32_t until_ms, bool forever) {
  int32_t remaining = static_cast<int32_t>(until_ms - platform::display_now_ms());
  vorla_web_sleep(forever ? 0 : (remaining > 0 ? remaining : 0), forever ? 1 : 0);
  platform::display_poll();
}

}  // namespace

namespace platform {

bool display_open() {
  return true;
}

void display_close() {
  vorla_web_closed();
}

void display_screen_size(int* width, int* height) {
  *width = 1024;
  *height = 768;
}

uint32_t display_now_ms() {
  return static_cast<uint32_t>(static_cast<uint64_t>(vorla_web_now()));
}

void display_window_create(HWND window, const char* title, int, int, int frame_width,
                           int frame_height, bool) {
  vorla_web_window_create(id_of(window), title, frame_width, frame_height);
}

void display_window_destroy(HWND window) {
  vorla_web_window_destroy(id_of(window));
}

void display_window_show(HWND window, bool visible) {
  vorla_web_window_show(id_of(window), visible ? 1 : 0);
}

void display_window_present(HWND window, const Surface& frame) {
  if (frame.width <= 0 || frame.height <= 0) return;
  vorla_web_window_present(id_of(window), frame.pixels, frame.width, frame.height, frame.stride);
}

void display_poll() {
  int fields[5];
  while (vorla_web_next_input(fields)) deliver(fields);
}

void display_wait(uint32_t until_ms, bool forever) {
  sleep_until(until_ms, forever);
}

void display_idle(uint32_t until_ms, bool forever) {
  // Nothing but input and timers can wake the program in a page, so the whole wait is a sleep.
  sleep_until(until_ms, forever);
}

}  // namespace platform
