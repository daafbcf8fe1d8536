// A program's run without a screen, as its environment describes it: on the headless display,
// when no code (a test, a tool) drives that display.
//   VORLA_PLAY=FILE          the program's input: the file played from the start as Playback
//                            Script plays VORLA.SCR, by the same reader and rules
//   VORLA_TICKS=N            N more ticks of the timer once that playback is over (default 0)
//   VORLA_SNAPSHOT=FILE.png  the drawing window's client area, written when the run ends
//   VORLA_LAST_PICTURE=FILE  the same picture, as a binary PPM, written over each time the
//                            program shows its drawing: whatever ends the process (a crash, a
//                            kill at a time-out), the file holds the last picture it showed
// (VORLA_LOG is the log's own.) The run ends when the playback is over and the program waits,
// for input, which no one will give, or for a tick when none is left: the picture is written and
// the process exits with status 0. A program that ends first keeps its own status, and the
// picture is its window as it was last shown.
#include "runtime_state.h"

#if VORLA_HEADLESS_RUN

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "display/headless/headless.h"
#include "display/headless/picture.h"

namespace vorla {
namespace {

// The drawing window's client area as it is shown; false when there is no window.
bool window_picture(std::vector<uint32_t>* pixels, int* width, int* height) {
  RECT client{};
  if (!IsWindow(state.draw_window) || !GetClientRect(state.draw_window, &client)) return false;
  *width = client.right - client.left;
  *height = client.bottom - client.top;
  if (*width <= 0 || *height <= 0) return false;
  HDC window = GetDC(state.draw_window);
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
  ReleaseDC(state.draw_window, window);
  return rows == *height;
}

// The drawing window's client area as the surface it was just copied from holds it, over the
// file as a binary PPM: one write of a header and the pixels' bytes, flushed to the system, so
// that a kill leaves a whole picture (a kill in the middle of the write, a picture partly of the
// one before, which was shown too).
void keep_last_picture() {
  RECT client{};
  GetClientRect(state.draw_window, &client);
  const int width = std::min<int>(client.right, SURFACE_WIDTH);
  const int height = std::min<int>(client.bottom, SURFACE_HEIGHT);
  if (width <= 0 || height <= 0) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = SURFACE_WIDTH;
  info.bmiHeader.biHeight = -SURFACE_HEIGHT;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  state.surface_rows.resize(static_cast<size_t>(SURFACE_WIDTH) * height);
  if (GetDIBits(state.surface_dc, state.surface_bitmap, 0, static_cast<UINT>(height),
                state.surface_rows.data(), &info, DIB_RGB_COLORS) != height) {
    return;
  }
  const std::string header =
      "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
  state.last_picture_bytes.resize(header.size() + static_cast<size_t>(width) * height * 3);
  unsigned char* out = std::copy(header.begin(), header.end(), state.last_picture_bytes.data());
  for (int y = 0; y < height; ++y) {
    const uint32_t* row = state.surface_rows.data() + static_cast<size_t>(y) * SURFACE_WIDTH;
    for (int x = 0; x < width; ++x) {
      *out++ = static_cast<unsigned char>(row[x] >> 16);
      *out++ = static_cast<unsigned char>(row[x] >> 8);
      *out++ = static_cast<unsigned char>(row[x]);
    }
  }
  if (!state.last_picture) state.last_picture = std::fopen(state.last_picture_path, "wb");
  if (!state.last_picture || std::fseek(state.last_picture, 0, SEEK_SET) != 0 ||
      std::fwrite(state.last_picture_bytes.data(), 1, state.last_picture_bytes.size(),
                  state.last_picture) != state.last_picture_bytes.size() ||
      std::fflush(state.last_picture) != 0) {
    std::fprintf(stderr, "VORLA_LAST_PICTURE: cannot write %s\n", state.last_picture_path);
    state.last_picture_failed = true;
  }
}

// Writes the picture once; false when it cannot be written.
bool write_snapshot() {
  if (!state.snapshot_path || state.snapshot_written) return true;
  state.snapshot_written = true;
  std::vector<uint32_t> pixels;
  int width = 0;
  int height = 0;
  if (!window_picture(&pixels, &width, &height)) {
    std::fprintf(stderr, "VORLA_SNAPSHOT: the program's window is gone, %s not written\n",
                 state.snapshot_path);
    return false;
  }
  if (!picture::write_png(state.snapshot_path, {width, height, pixels})) {
    std::fprintf(stderr, "VORLA_SNAPSHOT: cannot write %s\n", state.snapshot_path);
    return false;
  }
  return true;
}

void at_process_end() {
  if (!state.run_active || write_snapshot()) return;
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

void headless_run_start() {
  if (state.run_active || !headless::run_from_environment()) return;
  if (const char* ticks = std::getenv("VORLA_TICKS"); ticks != nullptr && *ticks != '\0') {
    char* end = nullptr;
    errno = 0;
    state.ticks_left = std::strtol(ticks, &end, 10);
    if (*end != '\0' || state.ticks_left < 0 || errno != 0) {
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
    state.snapshot_path = path;
  }
  if (const char* path = std::getenv("VORLA_LAST_PICTURE"); path != nullptr && *path != '\0') {
    state.last_picture_path = path;
  }
  state.run_active = true;
  static bool registered = false;
  if (!registered) registered = std::atexit(at_process_end) == 0;
}

void headless_run_shown() {
  if (state.run_active && state.last_picture_path && !state.last_picture_failed)
    keep_last_picture();
}

void headless_run_wait() {
  if (!state.run_active) return;
  if (state.pending_kind == EVENT_PERIODIC && state.ticks_left > 0) {
    --state.ticks_left;
    return;
  }
  end_run();
}

}  // namespace vorla

#else

namespace vorla {

// Without the layer's headless display there is no such run.
void headless_run_start() {}
void headless_run_shown() {}
void headless_run_wait() {}

}  // namespace vorla

#endif
