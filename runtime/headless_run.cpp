// A program's run without a screen, as its environment describes it: on the headless display,
// when no code (a test, a tool) drives that display.
//   VORLA_PLAY=FILE          the program's input: the file played from the start as Playback
//                            Script plays VORLA.SCR, by the same reader and rules
//   VORLA_TICKS=N            N more ticks of the timer once that playback is over (default 0)
//   VORLA_SNAPSHOT=FILE.png  the drawing window's client area, written when the run ends
// (VORLA_LOG is the log's own.) The run ends when the playback is over and the program waits,
// for input, which no one will give, or for a tick when none is left: the picture is written and
// the process exits with status 0. A program that ends first keeps its own status, and the
// picture is its window as it was last shown.
#include "runtime_state.h"

#if VORLA_HEADLESS_RUN

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "display/headless/headless.h"

namespace vorla {
namespace {

bool active = false;
long ticks_left = 0;
const char* snapshot_path = nullptr;
bool snapshot_written = false;

// The drawing window's client area as it is shown; false when there is no window.
bool window_picture(std::vector<uint32_t>* pixels, int* width, int* height) {
  RECT client{};
  if (!IsWindow(draw_window) || !GetClientRect(draw_window, &client)) return false;
  *width = client.right - client.left;
  *height = client.bottom - client.top;
  if (*width <= 0 || *height <= 0) return false;
  HDC window = GetDC(draw_window);
  HDC memory = CreateCompatibleDC(window);
  HBITMAP bitmap = CreateCompatibleBitmap(window, *width, *height);
  HGDIOBJ earlier = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, *width, *height, window, 0, 0, SRCCOPY);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = *width;
  info.bmiHeader.biHeight = -*height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  pixels->resize(static_cast<size_t>(*width) * *height);
  const int rows = GetDIBits(memory, bitmap, 0, static_cast<UINT>(*height), pixels->data(), &info,
                             DIB_RGB_COLORS);
  SelectObject(memory, earlier);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(draw_window, window);
  return rows == *height;
}

// Writes the picture once; false when it cannot be written.
bool write_snapshot() {
  if (!snapshot_path || snapshot_written) return true;
  snapshot_written = true;
  std::vector<uint32_t> pixels;
  int width = 0;
  int height = 0;
  if (!window_picture(&pixels, &width, &height)) {
    std::fprintf(stderr, "VORLA_SNAPSHOT: the program's window is gone, %s not written\n",
                 snapshot_path);
    return false;
  }
  if (!headless::save_png(snapshot_path, pixels, width, height)) {
    std::fprintf(stderr, "VORLA_SNAPSHOT: cannot write %s\n", snapshot_path);
    return false;
  }
  return true;
}

void at_process_end() {
  if (!active || write_snapshot()) return;
  std::fflush(nullptr);
  std::_Exit(1);
}

[[noreturn]] void end_run() {
  const bool written = write_snapshot();
  std::fflush(nullptr);
  std::exit(written ? 0 : 1);
}

[[noreturn]] void refuse(const std::string& line) {
  std::fprintf(stderr, "%s\n", line.c_str());
  std::exit(1);
}

}  // namespace

void headless_run_reset() {
  active = false;
  ticks_left = 0;
  snapshot_path = nullptr;
  snapshot_written = false;
}

void headless_run_start() {
  if (active || !headless::run_from_environment()) return;
  if (const char* ticks = std::getenv("VORLA_TICKS"); ticks != nullptr && *ticks != '\0') {
    char* end = nullptr;
    errno = 0;
    ticks_left = std::strtol(ticks, &end, 10);
    if (*end != '\0' || ticks_left < 0 || errno != 0) {
      refuse(std::string("VORLA_TICKS=\"") + ticks + "\" is not a count of ticks");
    }
  }
  if (const char* play = std::getenv("VORLA_PLAY"); play != nullptr && *play != '\0') {
    FILE* file = std::fopen(play, "r");
    if (!file) refuse(std::string("VORLA_PLAY: cannot read ") + play + ": " + std::strerror(errno));
    std::fclose(file);
    play_file(play);
  }
  // The log's copy is part of what the run leaves behind (its line on stderr is said).
  if (!open_log_copy()) {
    std::fflush(nullptr);
    std::exit(1);
  }
  if (const char* path = std::getenv("VORLA_SNAPSHOT"); path != nullptr && *path != '\0') {
    snapshot_path = path;
  }
  active = true;
  static bool registered = false;
  if (!registered) registered = std::atexit(at_process_end) == 0;
}

void headless_run_wait() {
  if (!active) return;
  if (pending_kind == EVENT_PERIODIC && ticks_left > 0) {
    --ticks_left;
    return;
  }
  end_run();
}

}  // namespace vorla

#else

namespace vorla {

// Without the layer's headless display there is no such run.
void headless_run_reset() {}
void headless_run_start() {}
void headless_run_wait() {}

}  // namespace vorla

#endif
