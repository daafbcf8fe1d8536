// The two windows, the off-screen surface and the animation timer: made by gfx_startup and kept
// until the process ends. The drawing window's procedure keeps the centred origin current,
// repaints the window from the surface, and hands input and menu messages to the event loop
// and to the Run menu.
#include <cstdio>

#include "runtime_state.h"

namespace vorla {

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
  state.origin_x = client.left + (client.right - client.left) / 2;
  state.origin_y = client.top + (client.bottom - client.top) / 2;
}

void paint(HWND window) {
  PAINTSTRUCT paint_info;
  BeginPaint(window, &paint_info);
  BitBlt(state.window_dc, 0, 0, SURFACE_WIDTH, SURFACE_HEIGHT, state.surface_dc, 0, 0, SRCCOPY);
  EndPaint(window, &paint_info);
  state.surface_dirty = 0;
}

}  // namespace

extern "C" int gfx_startup(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show) {
  (void)command_line;
  open_log_copy();
  if (previous == nullptr) register_classes(instance);
  int screen_width = GetSystemMetrics(SM_CXSCREEN);
  int screen_height = GetSystemMetrics(SM_CYSCREEN);
  state.animate_on = 0;
  state.single_step = 0;

  state.draw_window =
      CreateWindowExA(0, "DrawWndClass", "VORLA Graphics", WS_CAPTION | WS_SYSMENU, 0, 0,
                      SURFACE_WIDTH, SURFACE_HEIGHT, nullptr, nullptr, instance, nullptr);
  state.text_window = CreateWindowExA(0, "TextWndClass", "VORLA Text", WS_OVERLAPPEDWINDOW, 0,
                                      (2 * screen_height) / 3 + 1, screen_width, screen_height / 3,
                                      nullptr, nullptr, instance, nullptr);

  state.window_dc = GetDC(state.draw_window);
  state.surface_bitmap = CreateCompatibleBitmap(state.window_dc, SURFACE_WIDTH, SURFACE_HEIGHT);
  state.surface_dc = CreateCompatibleDC(state.window_dc);
  SelectObject(state.surface_dc, state.surface_bitmap);

  ShowWindow(state.text_window, show);
  ShowWindow(state.draw_window, show);
  SetTimer(state.draw_window, ANIMATION_TIMER_ID, ANIMATION_TIMER_MS, nullptr);
  headless_run_start();
  return 1;
}

bool runtime_started(const char* call) {
  if (state.draw_window != nullptr) return true;
  if (!state.early_call_said) {
    state.early_call_said = true;
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
  ReleaseDC(state.draw_window, state.window_dc);
  state.window_dc = nullptr;
  if (state.recording_on && state.periodic_count > 0) {
    record_event(EVENT_PERIODIC, 0, 0, 0);
    state.periodic_count = 0;
  }
  close_script_file();
  return 1;
}

void copy_surface_to_window() {
  BitBlt(state.window_dc, 0, 0, SURFACE_WIDTH, SURFACE_HEIGHT, state.surface_dc, 0, 0, SRCCOPY);
  state.surface_dirty = 0;
  headless_run_shown();
}

COLORREF surface_pixel(int column, int row) {
  return GetPixel(state.surface_dc, column, row);
}

LRESULT CALLBACK draw_wnd_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      build_run_menu(window);
      return 0;
    case WM_DESTROY:
      KillTimer(window, ANIMATION_TIMER_ID);
      PostQuitMessage(0);
      state.draw_window_gone = 1;
      return 0;
    case WM_SIZE:
      set_origin(window);
      return 0;
    case WM_PAINT:
      paint(window);
      return 0;
    case WM_TIMER:
      state.timer_ticked = 1;
      return 0;
    case WM_LBUTTONDOWN:
      state.pending_kind = EVENT_MOUSE;
      state.pending_x = static_cast<int>(LOWORD(lparam)) - state.origin_x;
      state.pending_y = state.origin_y - static_cast<int>(HIWORD(lparam));
      return 0;
    case WM_CHAR:
      if (!ctrl_command_keys()) {
        state.pending_kind = EVENT_KBD;
        state.pending_key = static_cast<char>(LOBYTE(wparam));
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
