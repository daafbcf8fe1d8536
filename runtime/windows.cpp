// The two windows, the off-screen surface and the animation timer: made by gfx_startup and kept
// until the process ends. The drawing window's procedure keeps the centred origin current,
// repaints the window from the surface, and hands input and menu messages to the event loop
// and to the Run menu.
#include <cstdio>

#include "runtime_state.h"

namespace vorla {

HWND draw_window = nullptr;
HWND text_window = nullptr;
HDC window_dc = nullptr;
HBITMAP surface_bitmap = nullptr;
HDC surface_dc = nullptr;
int surface_dirty = 1;
int origin_x = 0;
int origin_y = 0;
int draw_window_gone = 0;
bool early_call_said = false;

void runtime_reset() {
  draw_window = nullptr;
  text_window = nullptr;
  window_dc = nullptr;
  surface_bitmap = nullptr;
  surface_dc = nullptr;
  surface_dirty = 1;
  origin_x = 0;
  origin_y = 0;
  draw_window_gone = 0;
  early_call_said = false;
  render_hook = nullptr;
  event_loop_reset();
  run_menu_reset();
  script_reset();
  log_reset();
  text_blocks_reset();
  headless_run_reset();
}

namespace {

// Both classes share one description in which only the procedure and the name change.
void register_classes(HINSTANCE instance) {
  WNDCLASSA window_class = {};
  window_class.style = CS_HREDRAW | CS_VREDRAW;
  window_class.cbClsExtra = 0;
  window_class.cbWndExtra = 0;
  window_class.hInstance = instance;
  window_class.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  window_class.hbrBackground = CreateSolidBrush(colour_rgb[COLOUR_WHITE]);
  window_class.lpszMenuName = "generic";

  window_class.lpfnWndProc = draw_wnd_proc;
  window_class.lpszClassName = "DrawWndClass";
  RegisterClassA(&window_class);

  window_class.lpfnWndProc = text_wnd_proc;
  window_class.lpszClassName = "TextWndClass";
  RegisterClassA(&window_class);
}

void set_origin(HWND window) {
  RECT client = {0, 0, 0, 0};
  GetClientRect(window, &client);
  origin_x = client.left + (client.right - client.left) / 2;
  origin_y = client.top + (client.bottom - client.top) / 2;
}

void paint(HWND window) {
  PAINTSTRUCT paint_info;
  BeginPaint(window, &paint_info);
  BitBlt(window_dc, 0, 0, SURFACE_WIDTH, SURFACE_HEIGHT, surface_dc, 0, 0, SRCCOPY);
  EndPaint(window, &paint_info);
  surface_dirty = 0;
}

}  // namespace

extern "C" int gfx_startup(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show) {
  (void)command_line;
  open_log_copy();
  if (previous == nullptr) register_classes(instance);
  int screen_width = GetSystemMetrics(SM_CXSCREEN);
  int screen_height = GetSystemMetrics(SM_CYSCREEN);
  animate_on = 0;
  single_step = 0;

  draw_window = CreateWindowExA(0, "DrawWndClass", "VORLA Graphics", WS_CAPTION | WS_SYSMENU, 0, 0,
                                SURFACE_WIDTH, SURFACE_HEIGHT, nullptr, nullptr, instance, nullptr);
  text_window = CreateWindowExA(0, "TextWndClass", "VORLA Text", WS_OVERLAPPEDWINDOW, 0,
                                (2 * screen_height) / 3 + 1, screen_width, screen_height / 3,
                                nullptr, nullptr, instance, nullptr);

  window_dc = GetDC(draw_window);
  surface_bitmap = CreateCompatibleBitmap(window_dc, SURFACE_WIDTH, SURFACE_HEIGHT);
  surface_dc = CreateCompatibleDC(window_dc);
  SelectObject(surface_dc, surface_bitmap);

  ShowWindow(text_window, show);
  ShowWindow(draw_window, show);
  SetTimer(draw_window, ANIMATION_TIMER_ID, ANIMATION_TIMER_MS, nullptr);
  headless_run_start();
  return 1;
}

bool runtime_started(const char* call) {
  if (draw_window != nullptr) return true;
  if (!early_call_said) {
    early_call_said = true;
    static const char* const said =
        "%s was called before gfx_startup: it does nothing until gfx_startup has made the "
        "windows\n";
    std::fprintf(stderr, said, call);
    gfx_log(said, call);
  }
  return false;
}

// A periodic run still being counted would be lost with the stream; it is written first.
extern "C" int gfx_shutdown(void) {
  if (!runtime_started("gfx_shutdown")) return 1;
  ReleaseDC(draw_window, window_dc);
  window_dc = nullptr;
  if (recording_on && periodic_count > 0) {
    record_event(EVENT_PERIODIC, 0, 0, 0);
    periodic_count = 0;
  }
  close_script_file();
  return 1;
}

void copy_surface_to_window() {
  BitBlt(window_dc, 0, 0, SURFACE_WIDTH, SURFACE_HEIGHT, surface_dc, 0, 0, SRCCOPY);
  surface_dirty = 0;
}

COLORREF surface_pixel(int column, int row) {
  return GetPixel(surface_dc, column, row);
}

LRESULT CALLBACK draw_wnd_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      build_run_menu(window);
      return 0;
    case WM_DESTROY:
      KillTimer(window, ANIMATION_TIMER_ID);
      PostQuitMessage(0);
      draw_window_gone = 1;
      return 0;
    case WM_SIZE:
      set_origin(window);
      return 0;
    case WM_PAINT:
      paint(window);
      return 0;
    case WM_TIMER:
      timer_ticked = 1;
      return 0;
    case WM_LBUTTONDOWN:
      pending_kind = EVENT_MOUSE;
      pending_x = static_cast<int>(LOWORD(lparam)) - origin_x;
      pending_y = origin_y - static_cast<int>(HIWORD(lparam));
      return 0;
    case WM_CHAR:
      if (!ctrl_command_keys()) {
        pending_kind = EVENT_KBD;
        pending_key = static_cast<char>(LOBYTE(wparam));
      }
      return 0;
    case WM_KEYDOWN:
      run_menu_key_down(wparam);
      return 0;
    case WM_KEYUP:
      run_menu_key_up(wparam);
      return 0;
    case WM_COMMAND:
      run_menu_command(wparam);
      return 0;
    case WM_ENDSESSION:
      if (wparam) keep_recording();
      return 0;
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}

}  // namespace vorla
