// The Windows side's helper for tools/windows-check.sh, run under Wine beside the cone designer.
// It tells the script where things are on the screen, as Windows sees them, and draws text with
// the runtime as the designer does. Each mode writes its answer to the file OUT:
//
//   windows-probe window OUT           the drawing window, in screen pixels: "client LEFT TOP
//                                      WIDTH HEIGHT", "menu X Y" (the Run title in the menu
//                                      bar), "close X Y" (the caption's close box); exit 1 when
//                                      the window is not there
//   windows-probe popup OUT            "popup LEFT TOP RIGHT BOTTOM" of the open popup menu;
//                                      exit 1 when none is open
//   windows-probe ink CALLS OUT        draws each text call of CALLS alone and writes where its
//                                      ink lies (text_ink.h)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "text_ink.h"

namespace {

bool write_line(const char* path, const char* text) {
  FILE* file = std::fopen(path, "w");
  if (file == nullptr) return false;
  std::fputs(text, file);
  return std::fclose(file) == 0;
}

int window_mode(const char* out) {
  HWND window = FindWindowA("DrawWndClass", "VORLA Graphics");
  if (window == nullptr || !IsWindowVisible(window)) return 1;
  RECT client{};
  GetClientRect(window, &client);
  POINT corner{0, 0};
  ClientToScreen(window, &corner);
  RECT frame{};
  GetWindowRect(window, &frame);
  // The close box is the last button of the caption, inside the frame's border.
  const int border = GetSystemMetrics(SM_CXFIXEDFRAME);
  const int close_x = frame.right - border - 2 - GetSystemMetrics(SM_CXSIZE) / 2;
  const int close_y =
      frame.top + GetSystemMetrics(SM_CYFIXEDFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
  char text[256];
  std::snprintf(text, sizeof text, "client %ld %ld %ld %ld\nmenu %ld %ld\nclose %d %d\n", corner.x,
                corner.y, client.right, client.bottom, corner.x + 12,
                corner.y - GetSystemMetrics(SM_CYMENU) / 2, close_x, close_y);
  return write_line(out, text) ? 0 : 2;
}

int popup_mode(const char* out) {
  HWND popup = FindWindowA("#32768", nullptr);
  if (popup == nullptr || !IsWindowVisible(popup)) return 1;
  RECT frame{};
  GetWindowRect(popup, &frame);
  char text[128];
  std::snprintf(text, sizeof text, "popup %ld %ld %ld %ld\n", frame.left, frame.top, frame.right,
                frame.bottom);
  return write_line(out, text) ? 0 : 2;
}

int ink_mode(HINSTANCE instance, const char* calls_path, const char* out) {
  static char no_arguments[] = "";
  gfx_startup(instance, nullptr, no_arguments, SW_HIDE);
  gfx_set_logging(0);
  const bool written =
      text_ink::write_boxes(out, text_ink::ink_boxes(text_ink::read_calls(calls_path)));
  gfx_shutdown();
  return written ? 0 : 2;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  const char* mode = __argc > 1 ? __argv[1] : "";
  if (std::strcmp(mode, "window") == 0 && __argc == 3) return window_mode(__argv[2]);
  if (std::strcmp(mode, "popup") == 0 && __argc == 3) return popup_mode(__argv[2]);
  if (std::strcmp(mode, "ink") == 0 && __argc == 4) return ink_mode(instance, __argv[2], __argv[3]);
  return 2;
}
