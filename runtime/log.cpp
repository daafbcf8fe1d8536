// The runtime's log: the newest 25 lines kept in a ring of memory blocks and shown in the text
// window, which scrolls up by one line for each new line and redraws the ring, oldest first,
// when it is repainted. The text window also hands its key strokes to the drawing window, so
// the control keys work whichever of the two has the focus.
#include <cstdarg>
#include <cstdlib>
#include <cstring>

#include "runtime_state.h"

namespace vorla {

LogRing log_ring = {{}, -1, 0};
unsigned char logging_on = 1;
int text_window_gone = 0;

namespace {

// The copy of the log that VORLA_LOG asks for: every line, as it is logged, in a file.
FILE* log_copy = nullptr;
bool log_copy_opened = false;

}  // namespace

bool open_log_copy() {
  const char* path = std::getenv("VORLA_LOG");
  const bool asked = path != nullptr && *path != '\0';
  if (log_copy_opened) return !asked || log_copy != nullptr;
  log_copy_opened = true;
  if (!asked) return true;
  log_copy = std::fopen(path, "w");
  if (log_copy == nullptr) std::fprintf(stderr, "VORLA_LOG: cannot write %s\n", path);
  return log_copy != nullptr;
}

void log_reset() {
  log_ring = LogRing{{}, -1, 0};
  logging_on = 1;
  text_window_gone = 0;
  if (log_copy != nullptr) std::fclose(log_copy);
  log_copy = nullptr;
  log_copy_opened = false;
}

namespace {

// One line of the file per line logged, written through at once so that nothing is lost
// however the program ends.
void copy_line(const char* line, size_t length) {
  open_log_copy();
  if (log_copy == nullptr) return;
  std::fwrite(line, 1, length, log_copy);
  if (length == 0 || line[length - 1] != '\n') std::fputc('\n', log_copy);
  std::fflush(log_copy);
}

int next_slot(int slot) {
  return slot == LOG_RING_SIZE - 1 ? 0 : slot + 1;
}

// The kept lines are given back when the program ends, so that nothing the runtime allocated
// looks lost to a leak checker.
void release_log_ring() {
  for (HGLOBAL& block : log_ring.log_lines) {
    if (block != nullptr) GlobalFree(block);
    block = nullptr;
  }
  log_ring.log_first = -1;
  log_ring.log_next = 0;
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

  if (log_ring.log_first == log_ring.log_next) {
    GlobalFree(log_ring.log_lines[log_ring.log_first]);
    log_ring.log_lines[log_ring.log_first] = nullptr;
    log_ring.log_first = next_slot(log_ring.log_first);
  }
  static bool release_registered = false;
  if (!release_registered) release_registered = std::atexit(release_log_ring) == 0;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, length + 1);
  log_ring.log_lines[log_ring.log_next] = block;
  char* copy = static_cast<char*>(GlobalLock(block));
  if (copy != nullptr) {
    std::memcpy(copy, line, length + 1);
    GlobalUnlock(block);
  }
  if (log_ring.log_first < 0) log_ring.log_first = log_ring.log_next;
  log_ring.log_next = next_slot(log_ring.log_next);
  copy_line(line, length);

  append_text_line(line);
  return count;
}

// Before start-up and after the user has closed the text window there is nothing to draw into
// (and a null window would mean the whole screen).
void append_text_line(char* line) {
  if (text_window == nullptr || text_window_gone) return;
  HDC dc = GetDC(text_window);
  SelectObject(dc, GetStockObject(ANSI_FIXED_FONT));
  TEXTMETRICA metrics = {};
  GetTextMetricsA(dc, &metrics);
  int h = metrics.tmHeight + metrics.tmExternalLeading;
  ScrollDC(dc, 0, -h, nullptr, nullptr, nullptr, nullptr);

  RECT client = {0, 0, 0, 0};
  GetClientRect(text_window, &client);
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
  ReleaseDC(text_window, dc);
}

// The kept lines are copied out before they are drawn, so that the ring keeps every line
// exactly as it was formatted.
void repaint_log_ring() {
  int slot = log_ring.log_first;
  int count = 0;
  while (slot >= 0 && (slot != log_ring.log_next || count == 0)) {
    HGLOBAL block = log_ring.log_lines[slot];
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
      PostMessageA(draw_window, message, wparam, lparam);
      return 0;
    case WM_DESTROY:
      if (window == text_window) text_window_gone = 1;
      return DefWindowProcA(window, message, wparam, lparam);
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}

extern "C" int gfx_set_logging(int on) {
  if (!runtime_started("gfx_set_logging")) return 0;
  logging_on = on ? 1 : 0;
  CheckMenuItem(run_menu, CMD_LOGGING, on ? MF_CHECKED : MF_UNCHECKED);
  if (logging_on) gfx_show_log_window(1);
  return 1;
}

extern "C" int gfx_show_log_window(int show) {
  if (!runtime_started("gfx_show_log_window")) return 0;
  return ShowWindow(text_window, show ? SW_SHOW : SW_HIDE);
}

}  // namespace vorla
