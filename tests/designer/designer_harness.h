// Helpers for the designer's tests that draw or run the program in the headless display: the
// runtime started with logging off, pixels of the drawing surface read in centred coordinates,
// and input given to the drawing window as a user would, at points of the virtual clock.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "designer.h"
#include "display/headless/headless.h"
#include "display/headless/picture.h"
#include "layer.h"
#include "runtime_state.h"

using namespace vorla;  // the runtime's insides

namespace designer_test {

inline void start_runtime() {
  static char no_arguments[] = "";
  gfx_startup(nullptr, nullptr, no_arguments, SW_SHOWNORMAL);
  gfx_set_logging(0);
}

inline HWND drawing_window() {
  return headless::find_window("VORLA Graphics");
}

// The colour of the surface at a centred point, as a colour index of the palette, or -1 for a
// value that is none of them.
inline int colour_at(int x, int y) {
  const COLORREF value = surface_pixel(state.origin_x + x, state.origin_y - y);
  for (int i = 0; i < COLOUR_COUNT; ++i) {
    if (colour_rgb[i] == value) return i;
  }
  return -1;
}

// How many surface pixels in the centred box [x1, x2] x [y1, y2] have colour index c.
inline int count_colour(int c, int x1, int y1, int x2, int y2) {
  int count = 0;
  for (int y = y1; y <= y2; ++y) {
    for (int x = x1; x <= x2; ++x) count += colour_at(x, y) == c ? 1 : 0;
  }
  return count;
}

// Input at a centred point of the drawing window.
inline void click_at(int x, int y) {
  headless::click(drawing_window(), state.origin_x + x, state.origin_y - y);
}

// Ctrl + letter on the drawing window: the Run menu's keys.
inline void press_ctrl_key(char letter) {
  HWND window = drawing_window();
  headless::key_down(window, KEY_CTRL);
  headless::key_down(window, letter);
  headless::key_up(window, letter);
  headless::key_up(window, KEY_CTRL);
}

// Runs the actions one after another, `gap_ms` apart on the virtual clock, starting at `at_ms`;
// returns the time after the last.
inline uint32_t schedule_steps(uint32_t at_ms, uint32_t gap_ms,
                               const std::vector<std::function<void()>>& steps) {
  for (const auto& step : steps) {
    headless::schedule(at_ms, step);
    at_ms += gap_ms;
  }
  return at_ms;
}

// The layer and the runtime as a new process finds them, for a second program in one test.
inline void start_afresh() {
  platform::layer_reset();
  runtime_reset();
}

// A program that fails to end by itself has its window closed after ten virtual minutes, so
// that the test fails instead of running for ever.
inline int run_program() {
  headless::schedule(600000, [] { headless::close_box(drawing_window()); });
  static char no_arguments[] = "";
  return WinMain(nullptr, nullptr, no_arguments, SW_SHOWNORMAL);
}

// The drawing window's client area as the user sees it, saved as a PNG file in the working
// folder; true when it could be written.
inline bool save_window_picture(const std::string& name) {
  int width = 0;
  int height = 0;
  const std::vector<uint32_t> pixels = headless::client_pixels(drawing_window(), &width, &height);
  return !pixels.empty() && picture::write_png(name, {width, height, pixels});
}

}  // namespace designer_test
