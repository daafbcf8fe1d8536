// The headless display back-end, linked into the tests and benchmarks.
//
// Provides: a screen of the size a test sets, a virtual clock that only moves when the program
// waits (or a test advances it), actions scheduled on that clock, input injected by tests, and
// the pixels of every window, its visibility and how often it was presented, for tests to read
// (and to write as PNG files).
//
// Leaves out: showing anything; there are no native windows, no real clock and no input but
// what a test gives.
//
// Depends on: the window system's input and query functions (display.h), IsWindowVisible
// (win32.h), and zlib for PNG files.
#include "headless.h"

#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <map>

#include "display/display.h"

namespace {

struct Action {
  uint32_t at;
  uint64_t order;
  std::function<void()> run;
};

int screen_width = 1024;
int screen_height = 768;
uint32_t clock_ms = 0;
uint64_t next_order = 0;
std::vector<Action> actions;
std::map<HWND, int> presents;

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

}  // namespace

namespace platform {

bool display_open() {
  return true;
}
void display_close() {}

void display_screen_size(int* width, int* height) {
  *width = screen_width;
  *height = screen_height;
}

uint32_t display_now_ms() {
  return clock_ms;
}

void display_window_create(HWND window, const char*, int, int, int, int, bool) {
  presents[window] = 0;
}

void display_window_destroy(HWND window) {
  presents.erase(window);
}
void display_window_show(HWND, bool) {}
void display_window_present(HWND window, const Surface&) {
  ++presents[window];
}
void display_poll() {}

void display_wait(uint32_t until_ms, bool forever) {
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
  std::fprintf(stderr,
               "headless display: the program waits for input at %u ms, but no timer runs, no "
               "action is scheduled and no input is queued, so nothing could ever wake it; "
               "stopping instead of hanging\n",
               static_cast<unsigned>(clock_ms));
  std::fflush(stderr);
  std::abort();
}

void display_idle(uint32_t until_ms, bool forever) {
  display_wait(until_ms, forever);
}

}  // namespace platform

namespace headless {

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
  return platform::window_find(title);
}

void click(HWND window, int x, int y) {
  int menu = platform::window_menu_height(window);
  if (menu < 0) return;
  platform::input_mouse_down(window, x, y + menu, 0);
  platform::input_mouse_up(window, x, y + menu, 0);
}

void key_down(HWND window, int vk) {
  platform::input_key_down(window, vk, false);
}

void key_up(HWND window, int vk) {
  platform::input_key_up(window, vk);
}

void type_char(HWND window, char c) {
  int vk = 0;
  bool shift = false;
  if (!platform::input_key_for_char(c, &vk, &shift)) return;
  if (shift) key_down(window, VK_SHIFT);
  key_down(window, vk);
  key_up(window, vk);
  if (shift) key_up(window, VK_SHIFT);
}

void close_box(HWND window) {
  platform::input_close(window);
}

void click_menu_area(HWND window, int x, int y) {
  platform::input_mouse_down(window, x, y, 0);
  platform::input_mouse_up(window, x, y, 0);
}

std::vector<uint32_t> client_pixels(HWND window, int* width, int* height) {
  platform::Surface surface;
  *width = 0;
  *height = 0;
  if (!platform::window_client_surface(window, &surface)) return {};
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
  if (!platform::window_compose_frame(window, &pixels, width, height)) return {};
  return pixels;
}

bool is_visible(HWND window) {
  return IsWindowVisible(window) != FALSE;
}

int present_count(HWND window) {
  auto it = presents.find(window);
  return it == presents.end() ? 0 : it->second;
}

namespace {

void put_u32(std::vector<unsigned char>& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back((value >> shift) & 0xFF);
}

void put_chunk(std::vector<unsigned char>& out, const char* type,
               const std::vector<unsigned char>& data) {
  put_u32(out, static_cast<uint32_t>(data.size()));
  size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  uLong crc = crc32(0, out.data() + start, static_cast<uInt>(out.size() - start));
  put_u32(out, static_cast<uint32_t>(crc));
}

}  // namespace

bool save_png(const std::string& path, const std::vector<uint32_t>& pixels, int width, int height) {
  if (width <= 0 || height <= 0 || pixels.size() != static_cast<size_t>(width) * height) {
    return false;
  }
  // Rows of filter type 0 (none) followed by the RGB bytes.
  std::vector<unsigned char> raw;
  raw.reserve(static_cast<size_t>(height) * (1 + 3 * width));
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);
    for (int x = 0; x < width; ++x) {
      uint32_t p = pixels[static_cast<size_t>(y) * width + x];
      raw.push_back((p >> 16) & 0xFF);
      raw.push_back((p >> 8) & 0xFF);
      raw.push_back(p & 0xFF);
    }
  }
  uLongf packed_size = compressBound(static_cast<uLong>(raw.size()));
  std::vector<unsigned char> packed(packed_size);
  if (compress(packed.data(), &packed_size, raw.data(), static_cast<uLong>(raw.size())) != Z_OK) {
    return false;
  }
  packed.resize(packed_size);

  std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<unsigned char> header;
  put_u32(header, static_cast<uint32_t>(width));
  put_u32(header, static_cast<uint32_t>(height));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter, no interlace
  put_chunk(png, "IHDR", header);
  put_chunk(png, "IDAT", packed);
  put_chunk(png, "IEND", {});

  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace headless
