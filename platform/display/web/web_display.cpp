// The web display driver, the program's display in a web page (built with emscripten).
//
// Provides: one canvas per Win32 window, stacked in the page in the order the windows were made
// (the drawing window first, the text window below it), shown and hidden with the window; the
// composed frame (menu bar and client area) a window last presented is copied into its canvas
// when the page gets its turn, and the page scales the canvas to fit its screen. The buttons and
// motion of one pointer on a canvas (the mouse, a pen, or a finger, whose tap is a left click) in
// the canvas's own pixels, and keys while a canvas has the keyboard focus, are handed to the window
// system's input sink: a letter key's virtual-key code is the letter the user's layout types with
// it (KeyboardEvent.key), other keys' come from their place (KeyboardEvent.code) by the keyboard
// table, the character a key typed is its KeyboardEvent.key (a composition's text when an input
// method makes it), and AltGr is Ctrl and Alt, as on Windows. The Ctrl combinations, Alt,
// F10, Backspace, Space and the arrows are then kept from the browser. The clock is the page's
// (performance.now), and a wait for input or a timer is a real sleep of the page: the program is
// suspended (asyncify) and resumed by the next input or when the time is up. A program that runs on
// without waiting (a playback) is suspended for a moment every 16 ms (a frame at 60 Hz), so the
// page paints and takes input. The screen is a fixed 1024 x 768, so windows get the sizes they get
// in the headless display.
//
// When the page is closed or hidden, the page calls Module.vorlaEndSession: the program takes
// the input that came before and then its windows get WM_ENDSESSION, at once, before the page
// goes on (so that it can keep what the program wrote).
//
// Leaves out: window captions, moving, resizing and closing (a page has no window manager; the
// page's own buttons stand in), the wheel and the middle button, keys the browser does not
// hand to pages (Ctrl+N, Ctrl+T, Ctrl+W), and the keys the page leaves to the browser: Tab
// (it moves the focus on through the page) and the zoom keys (Ctrl with = + - 0).
//
// Depends on: the page side in web_display.js (canvases, events, the sleep), emscripten's
// asyncify, and display.h with the keyboard table.
#ifdef __EMSCRIPTEN__
#include <emscripten.h>
#endif

#include <algorithm>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "display/keyboard.h"
#include "web.h"

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
void vorla_web_key_codes(const char* const* codes, const int* vks, int count);
}

namespace {

// The fields of one input record from the page: kind, window, then the kind's values.
enum InputKind {
  kMouseDown = 1,  // x, y, button
  kMouseUp = 2,    // x, y, button
  kMouseMove = 3,  // x, y
  kKeyDown = 4,    // virtual-key code, repeat, the code point it typed (0 for none)
  kKeyUp = 5,      // virtual-key code
  kKeysReleased = 6,
  kEndSession = 7,  // the page is being closed or hidden
  kCharacter = 8,   // a code point typed with no key-down of its own
};

// The UTF-8 of a code point, for the sink; empty for 0.
std::string utf8_of(int code) {
  std::string out;
  auto c = static_cast<uint32_t>(code);
  if (c == 0 || c > 0x10FFFF) return out;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | c >> 6);
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | c >> 12);
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | c >> 18);
    out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

int id_of(HWND window) {
  return static_cast<int>(reinterpret_cast<uintptr_t>(window));
}

HWND window_of(int id) {
  return reinterpret_cast<HWND>(static_cast<uintptr_t>(id));
}

const platform::InputSink* sink = nullptr;

// A program that never waits (a playback, a long computation) still polls: every kTurnMs it
// gives the page its turn, so that the canvas is painted and keys and clicks come in.
constexpr uint32_t kTurnMs = 16;
constexpr int kTurn = 2;  // vorla_web_sleep's `forever` for a turn
uint32_t last_turn = 0;

// The last frame each window presented, painted into its canvas when the page gets its turn
// (before a sleep or a turn): a busy program presents far more often than a page can show.
struct Frame {
  std::vector<uint32_t> pixels;
  int width = 0;
  int height = 0;
  bool waiting = false;  // not yet in the canvas
};
std::unordered_map<int, Frame> frames;

void paint_frames() {
  for (auto& [id, frame] : frames) {
    if (!frame.waiting) continue;
    vorla_web_window_present(id, frame.pixels.data(), frame.width, frame.height, frame.width);
    frame.waiting = false;
  }
}

void deliver(const int* f) {
  HWND window = window_of(f[1]);
  switch (f[0]) {
    case kMouseDown:
      sink->mouse_down(window, f[2], f[3], f[4]);
      break;
    case kMouseUp:
      sink->mouse_up(window, f[2], f[3], f[4]);
      break;
    case kMouseMove:
      sink->mouse_move(window, f[2], f[3]);
      break;
    case kKeyDown:
      sink->key_down(window, f[2], f[3] != 0, utf8_of(f[4]).c_str());
      break;
    case kCharacter:
      sink->characters(window, utf8_of(f[2]).c_str());
      break;
    case kKeyUp:
      sink->key_up(window, f[2]);
      break;
    case kKeysReleased:
      sink->keys_released();
      break;
    case kEndSession:
      sink->end_session();
      break;
  }
}

// The page names keys by KeyboardEvent.code: it gets the keyboard table's names and codes.
void send_key_codes() {
  int count = 0;
  const platform::KeyboardKey* keys = platform::keyboard_keys(&count);
  std::vector<const char*> codes;
  std::vector<int> vks;
  for (int i = 0; i < count; ++i) {
    if (!keys[i].code) continue;
    codes.push_back(keys[i].code);
    vks.push_back(keys[i].vk);
  }
  vorla_web_key_codes(codes.data(), vks.data(), static_cast<int>(codes.size()));
}

bool open(const platform::InputSink* input, const platform::WindowAccess*) {
  sink = input;
  send_key_codes();
  last_turn = static_cast<uint32_t>(static_cast<uint64_t>(vorla_web_now()));
  return true;
}

void close() {
  frames.clear();
  vorla_web_closed();
  sink = nullptr;
}

void screen_size(int* width, int* height) {
  *width = 1024;
  *height = 768;
}

uint32_t now_ms() {
  return static_cast<uint32_t>(static_cast<uint64_t>(vorla_web_now()));
}

void window_create(HWND window, const char* title, int, int, int frame_width, int frame_height,
                   bool) {
  vorla_web_window_create(id_of(window), title, frame_width, frame_height);
}

void window_destroy(HWND window) {
  frames.erase(id_of(window));
  vorla_web_window_destroy(id_of(window));
}

void window_show(HWND window, bool visible) {
  vorla_web_window_show(id_of(window), visible ? 1 : 0);
}

void window_present(HWND window, const platform::Surface& frame) {
  if (frame.width <= 0 || frame.height <= 0) return;
  Frame& kept = frames[id_of(window)];
  kept.pixels.resize(static_cast<size_t>(frame.width) * frame.height);
  for (int y = 0; y < frame.height; ++y) {
    const uint32_t* row = frame.pixels + static_cast<size_t>(y) * frame.stride;
    std::copy(row, row + frame.width, kept.pixels.data() + static_cast<size_t>(y) * frame.width);
  }
  kept.width = frame.width;
  kept.height = frame.height;
  kept.waiting = true;
}

void take_input() {
  int fields[5];
  while (sink && vorla_web_next_input(fields)) deliver(fields);
}

void poll() {
  if (now_ms() - last_turn >= kTurnMs) {
    paint_frames();
    vorla_web_sleep(0, kTurn);
    last_turn = now_ms();
  }
  take_input();
}

// Nothing but input and timers can wake the program in a page, so every wait is a sleep.
void wait(uint32_t until_ms, bool forever) {
  paint_frames();
  int32_t remaining = static_cast<int32_t>(until_ms - now_ms());
  vorla_web_sleep(forever ? 0 : (remaining > 0 ? remaining : 0), forever ? 1 : 0);
  last_turn = now_ms();
  take_input();
}

}  // namespace

namespace platform {

const DisplayDriver web_driver = {
    .name = "web",
    .open = open,
    .close = close,
    .screen_size = screen_size,
    .now_ms = now_ms,
    .window_create = window_create,
    .window_destroy = window_destroy,
    .window_show = window_show,
    .window_present = window_present,
    .poll = poll,
    .wait = wait,
    .idle = wait,
};

}  // namespace platform
