// The runtime's log: the newest 25 lines kept in a ring of memory blocks and shown in the text
// window, which scrolls up by one line for each new line and redraws the ring, oldest first,
// when it is repainted. The text window also hands its key strokes to the drawing window, so
// the control keys work whichever of the two has the focus.
#include <cstdarg>
#include <cstdlib>
#include <cstring>

#include "runtime_state.h"

namespace vorla {

bool open_log_copy() {
  const char* path = std::getenv("VORLA_LOG");
  const bool asked = path != nullptr && *path != '\0';
  if (state.log_copy_opened) return !asked || state.log_copy != nullptr;
  state.log_copy_opened = true;
  if (!asked) return true;
  state.log_copy = std::fopen(path, "w");
  if (state.log_copy == nullptr) std::fprintf(stderr, "VORLA_LOG: cannot write %s\n", path);
  return state.log_copy != nullptr;
}

namespace {

// One line of the file per line logged, written through at once so that nothing is lost
// however the program ends.
void copy_line(const char* line, size_t length) {
  open_log_copy();
  if (state.log_copy == nullptr) return;
  std::fwrite(line, 1, length, state.log_copy);
  if (length == 0 || line[length - 1] != '\n') std::fputc('\n', state.log_copy);
  std::fflush(state.log_copy);
}

int next_slot(int slot) {
  return slot == LOG_RING_SIZE - 1 ? 0 : slot + 1;
}

// The kept lines are given back when the program ends, so that nothing the runtime allocated
// looks lost to a leak checker.
void release_log_ring() {
  for (HGLOBAL& block : state.log_ring.log_lines) {
    if (block != nullptr) GlobalFree(block);
    block = nullptr;
  }
  state.log_ring.log_first = -1;
  state.log_ring.log_next = 0;
}

}  // namespace

// A line longer than the buffer is cut at 1023 characters; the result is still the full count
// that the formatting reported.
extern "C" int gfx_log(const char* format, ...) {
  if (format == nullptr) {
    gfx_log("Log line NULL not possible, logging no line\n");
    return 0;
  }
  char line[FORMAT_BUFFER_SIZE];
  va_list args;
  va_start(args, format);
  int count = vsnprintf(line, sizeof line, format, args);
  va_end(args);
  if (count < 0) line[0] = '\0';
  size_t length = std::strlen(line);

  if (state.log_ring.log_first == state.log_ring.log_next) {
    GlobalFree(state.log_ring.log_lines[state.log_ring.log_first]);
    state.log_ring.log_lines[state.log_ring.log_first] = nullptr;
    state.log_ring.log_first = next_slot(state.log_ring.log_first);
  }
  static bool release_registered = false;
  if (!release_registered) release_registered = std::atexit(release_log_ring) == 0;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, length + 1);
  state.log_ring.log_lines[state.log_ring.log_next] = block;
  char* copy = static_cast<char*>(GlobalLock(block));
  if (copy != nullptr) {
    std::memcpy(copy, line, length + 1);
    GlobalUnlock(block);
  }
  if (state.log_ring.log_first < 0) state.log_ring.log_first = state.log_ring.log_next;
  state.log_ring.log_next = next_slot(state.log_ring.log_next);
  copy_line(line, length);

  append_text_line(line);
  return count;
}

// Before start-up and after the user has closed the text window there is nothing to draw into
// (and a null window would mean the whole screen).
void append_text_line(char* line) {
  if (state.text_window == nullptr || state.text_window_gone) return;
  HDC dc = GetDC(state.text_window);
  SelectObject(dc, GetStockObject(ANSI_FIXED_FONT));
  TEXTMETRICA metrics = {};
  GetTextMetricsA(dc, &metrics);
  int h = metrics.tmHeight + metrics.tmExternalLeading;
  ScrollDC(dc, 0, -h, nullptr, nullptr, nullptr, nullptr);

  RECT client = {0, 0, 0, 0};
  GetClientRect(state.text_window, &client);
  // With the null pen the rectangle fills one row and one column less, so the strip ends on
  // the last client row.
  HBRUSH brush = CreateSolidBrush(GetBkColor(dc));
  HGDIOBJ old_brush = SelectObject(dc, brush);
  HGDIOBJ old_pen = SelectObject(dc, GetStockObject(NULL_PEN));
  Rectangle(dc, client.left, client.bottom - h, client.right, client.bottom + 1);
  SelectObject(dc, old_pen);
  SelectObject(dc, old_brush);
  DeleteObject(brush);

  int n = static_cast<int>(std::strlen(line));
  if (n > 0 && line[n - 1] == '\n') line[--n] = '\0';
  TextOutA(dc, client.left + 5, client.bottom - h, line, n);
  ReleaseDC(state.text_window, dc);
}

// The kept lines are copied out before they are drawn, so that the ring keeps every line
// exactly as it was formatted.
void repaint_log_ring() {
  int slot = state.log_ring.log_first;
  int count = 0;
  while (slot >= 0 && (slot != state.log_ring.log_next || count == 0)) {
    HGLOBAL block = state.log_ring.log_lines[slot];
    const char* text = static_cast<const char*>(GlobalLock(block));
    if (text != nullptr) {
      char line[FORMAT_BUFFER_SIZE];
      size_t length = strnlen(text, sizeof line - 1);
      std::memcpy(line, text, length);
      line[length] = '\0';
      GlobalUnlock(block);
      append_text_line(line);
    }
    slot = next_slot(slot);
    ++count;
  }
}

LRESULT CALLBACK text_wnd_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint_info;
      BeginPaint(window, &paint_info);
      repaint_log_ring();
      EndPaint(window, &paint_info);
      return 0;
    }
    case WM_KEYDOWN:
    case WM_KEYUP:
      PostMessageA(state.draw_window, message, wparam, lparam);
      return 0;
    case WM_DESTROY:
      if (window == state.text_window) state.text_window_gone = 1;
      return DefWindowProcA(window, message, wparam, lparam);
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}

extern "C" int gfx_set_logging(int on) {
  if (!runtime_started("gfx_set_logging")) return 0;
  state.logging_on = on ? 1 : 0;
  CheckMenuItem(state.run_menu, CMD_LOGGING, on ? MF_CHECKED : MF_UNCHECKED);
  if (state.logging_on) gfx_show_log_window(1);
  return 1;
}

extern "C" int gfx_show_log_window(int show) {
  if (!runtime_started("gfx_show_log_window")) return 0;
  return ShowWindow(state.text_window, show ? SW_SHOW : SW_HIDE);
}

}  // namespace vorla
