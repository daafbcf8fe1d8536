// The window's menu as the user works it.
#include "menu_internal.h"
#include "menu_objects.h"

namespace platform {

namespace {
constexpr int kBarHeight = 19;
constexpr uint32_t kFace = 0xC0C0C0;
}  // namespace

int menu_bar_height(HWND window) {
  return menu_object(GetMenu(window)) ? kBarHeight : 0;
}

void menu_paint(HWND window, const Surface& frame) {
  int rows = menu_bar_height(window);
  for (int y = 0; y < rows && y < frame.height; ++y) {
    for (int x = 0; x < frame.width; ++x) frame.pixels[y * frame.stride + x] = kFace;
  }
}

bool menu_mouse_down(HWND, int, int) {
  return false;
}
bool menu_mouse_move(HWND, int, int) {
  return false;
}
bool menu_key_down(HWND, int) {
  return false;
}
bool menu_key_up(HWND, int) {
  return false;
}
bool menu_needs_paint(HWND) {
  return false;
}
void menu_window_destroyed(HWND) {}

}  // namespace platform
