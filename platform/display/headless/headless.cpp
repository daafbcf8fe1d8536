// The headless display driver: a display with no screen and a clock of its own.
//
// Provides: a screen of the size a test sets, a virtual clock that only moves when the program
// waits (or a test advances it), actions scheduled on that clock, input injected by tests and
// tools and handed to the window system's input sink, the pixels of every window (read through
// the window access), its visibility and how often it was presented, for tests to read (and to
// write as PNG files).
//
// Leaves out: showing anything; there are no native windows, no real clock and no input but
// what code gives. A program that runs on it as its environment says is the library's runtime's
// to carry out (runtime/headless_run.cpp); for such a program, a wait that nothing could ever
// end is the end of the process.
//
// Depends on: display.h with the keyboard table, and zlib for PNG files.
#include "headless.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "display/keyboard.h"

namespace {

struct Action {
  uint32_t at;
  uint64_t order;
  std::function<void()> run;
};

struct Native {
  std::string title;
  bool visible = false;
  int presents = 0;
};

constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;

int screen_width = kScreenWidth;
int screen_height = kScreenHeight;
uint32_t clock_ms = 0;
uint64_t next_order = 0;
std::vector<Action> actions;
std::map<HWND, Native> natives;
bool caps_lock = false;  // as the keys given so far left it
const platform::InputSink* sink = nullptr;
const platform::WindowAccess* windows_of_layer = nullptr;
bool driven_from_code = false;  // tests and tools; otherwise a program's run from its environment
bool opened = false;

bool later(uint32_t a, uint32_t b) {
  return static_cast<int32_t>(a - b) > 0;
}

// The action that runs first: the earliest, and of equal times the first scheduled.
std::vector<Action>::iterator next_action() {
  auto best = actions.end();
  for (auto it = actions.begin(); it != actions.end(); ++it) {
    if (best == actions.end() || later(best->at, it->at) ||
        (best->at == it->at && it->order < best->order)) {
      best = it;
    }
  }
  return best;
}

bool open(const platform::InputSink* input, const platform::WindowAccess* windows) {
  sink = input;
  windows_of_layer = windows;
  opened = true;
  return true;
}

// Back to how a process starts: the clock at 0, nothing scheduled, no windows, the default
// screen.
void close() {
  opened = false;
  screen_width = kScreenWidth;
  screen_height = kScreenHeight;
  clock_ms = 0;
  next_order = 0;
  actions.clear();
  natives.clear();
  caps_lock = false;
  sink = nullptr;
  windows_of_layer = nullptr;
}

void screen_size(int* width, int* height) {
  *width = screen_width;
  *height = screen_height;
}

uint32_t now_ms() {
  return clock_ms;
}

void window_create(HWND window, const char* title, int, int, int, int, bool) {
  natives[window] = Native{title ? title : "", false, 0};
}

void window_destroy(HWND window) {
  natives.erase(window);
}

void window_show(HWND window, bool visible) {
  auto it = natives.find(window);
  if (it != natives.end()) it->second.visible = visible;
}

void window_present(HWND window, const platform::Surface&) {
  auto it = natives.find(window);
  if (it != natives.end()) ++it->second.presents;
}

void poll() {}

void wait(uint32_t until_ms, bool forever) {
  auto action = next_action();
  if (action != actions.end() && (forever || !later(action->at, until_ms))) {
    if (later(action->at, clock_ms)) clock_ms = action->at;
    std::function<void()> run = std::move(action->run);
    actions.erase(action);
    run();
    return;
  }
  if (!forever) {
    if (later(until_ms, clock_ms)) clock_ms = until_ms;
    return;
  }
  if (!driven_from_code) {
    // A program waits for input that no one will give: its run is over.
    std::fflush(nullptr);
    std::exit(0);
  }
  std::fprintf(stderr,
               "headless display: the program waits for input at %u ms, but no timer runs, no "
               "action is scheduled and no input is queued, so nothing could ever wake it; "
               "stopping instead of hanging\n",
               static_cast<unsigned>(clock_ms));
  std::fflush(stderr);
  std::abort();
}

// Input reaches the window system only once it has opened the display.
bool ready(HWND window) {
  return sink && natives.count(window) > 0;
}

}  // namespace

namespace platform {

const DisplayDriver headless_driver = {
    .name = "headless",
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
    .idle = wait,  // nothing but the clock and the tests' input can come
};

}  // namespace platform

namespace headless {

void drive_from_code() {
  driven_from_code = true;
}

bool run_from_environment() {
  return opened && !driven_from_code;
}

void set_screen_size(int width, int height) {
  screen_width = width;
  screen_height = height;
}

uint32_t now_ms() {
  return clock_ms;
}

void advance_ms(uint32_t ms) {
  clock_ms += ms;
}

void schedule(uint32_t at_ms, std::function<void()> action) {
  actions.push_back(Action{at_ms, next_order++, std::move(action)});
}

HWND find_window(const char* title) {
  if (!title) return nullptr;
  for (const auto& [window, native] : natives) {
    if (native.title == title) return window;
  }
  return nullptr;
}

int menu_bar_height(HWND window) {
  return windows_of_layer ? windows_of_layer->menu_height(window) : -1;
}

void click(HWND window, int x, int y) {
  int menu = menu_bar_height(window);
  if (!ready(window) || menu < 0) return;
  sink->mouse_down(window, x, y + menu, 0);
  sink->mouse_up(window, x, y + menu, 0);
}

void move_mouse(HWND window, int x, int y) {
  int menu = menu_bar_height(window);
  if (!ready(window) || menu < 0) return;
  sink->mouse_move(window, x, y + menu);
}

void key_down(HWND window, int vk, const char* text) {
  if (!ready(window)) return;
  if (vk == VK_CAPITAL) caps_lock = !caps_lock;
  sink->key_down(window, vk, false, text);
}

void characters(HWND window, const char* text) {
  if (ready(window)) sink->characters(window, text);
}

void key_up(HWND window, int vk) {
  if (ready(window)) sink->key_up(window, vk);
}

void type_char(HWND window, char c) {
  int vk = 0;
  bool shift = false;
  if (!platform::keyboard_key_of_char(c, &vk, &shift)) return;
  if (vk >= 'A' && vk <= 'Z' && caps_lock) shift = !shift;
  if (shift) key_down(window, VK_SHIFT);
  key_down(window, vk);
  key_up(window, vk);
  if (shift) key_up(window, VK_SHIFT);
}

void close_box(HWND window) {
  if (ready(window)) sink->close(window);
}

void focus_lost() {
  if (sink) sink->keys_released();
}

void expose(HWND window) {
  if (ready(window)) sink->expose(window);
}

void resize(HWND window, int frame_width, int frame_height) {
  if (ready(window)) sink->resize(window, frame_width, frame_height);
}

void click_menu_area(HWND window, int x, int y) {
  if (!ready(window)) return;
  sink->mouse_down(window, x, y, 0);
  sink->mouse_up(window, x, y, 0);
}

std::vector<uint32_t> client_pixels(HWND window, int* width, int* height) {
  platform::Surface surface;
  *width = 0;
  *height = 0;
  if (!windows_of_layer || !windows_of_layer->client_surface(window, &surface)) return {};
  std::vector<uint32_t> pixels;
  pixels.reserve(static_cast<size_t>(surface.width) * surface.height);
  for (int y = 0; y < surface.height; ++y) {
    const uint32_t* row = surface.pixels + static_cast<size_t>(y) * surface.stride;
    pixels.insert(pixels.end(), row, row + surface.width);
  }
  *width = surface.width;
  *height = surface.height;
  return pixels;
}

std::vector<uint32_t> frame_pixels(HWND window, int* width, int* height) {
  std::vector<uint32_t> pixels;
  *width = 0;
  *height = 0;
  if (!windows_of_layer || !windows_of_layer->compose_frame(window, &pixels, width, height))
    return {};
  return pixels;
}

bool is_visible(HWND window) {
  auto it = natives.find(window);
  return it != natives.end() && it->second.visible;
}

int present_count(HWND window) {
  auto it = natives.find(window);
  return it == natives.end() ? 0 : it->second.presents;
}

}  // namespace headless
