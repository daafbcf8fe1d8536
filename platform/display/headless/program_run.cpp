// A program's run without a screen, as the environment describes it:
//   VORLA_PLAY=FILE          lines in the script file's format, each given as the input it
//                            stands for: VORLA_MOUSE(x, y); a click at that place of the
//                            program's first window (centred coordinates), VORLA_KBD(c); the
//                            key that types c, VORLA_PERIODIC(n); n ticks of the timer
//   VORLA_TICKS=N            N more ticks once the script is used up (default 0)
//   VORLA_SNAPSHOT=FILE.png  the client area of that window, written when the run ends
// Input is given whenever the program waits, so it takes one step at a time as from a user who
// waits for each picture. A tick passes when the program waits for its timer; a program that
// waits for input alone uses none, so the rest of a tick line is passed over. The run ends when
// the program waits with the script and the ticks used up: the picture is written and the
// process exits with status 0. A program that ends first keeps its own status; the picture of
// its window as it was last shown is written as the process ends.
#include "program_run.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "headless.h"

namespace headless_run {
namespace {

struct Step {
  char kind;  // 'M', 'K' or 'P'
  int a;
  int b;
};

std::vector<Step> steps;
size_t next_step = 0;
int ticks_left_in_step = 0;
long ticks_after = 0;
std::string snapshot_path;
bool active = false;
bool snapshot_written = false;

HWND program_window = nullptr;  // the first window the program made
std::vector<uint32_t> last_picture;
int last_width = 0;
int last_height = 0;

// The numbers of a line as the script reader takes them: runs of digits (and, for clicks, of
// digits and minus signs).
std::vector<int> numbers_of(const std::string& line, bool signs) {
  std::vector<int> found;
  size_t i = 6;
  while (i < line.size()) {
    auto in_run = [&](char c) {
      return std::isdigit(static_cast<unsigned char>(c)) || (signs && c == '-');
    };
    if (!in_run(line[i])) {
      ++i;
      continue;
    }
    size_t start = i;
    while (i < line.size() && in_run(line[i])) ++i;
    // As atoi takes a run (12-3 is 12, a lone minus 0), but a number too large for an int
    // gives the largest one instead of undefined behaviour.
    long value = std::strtol(line.substr(start, i - start).c_str(), nullptr, 10);
    found.push_back(static_cast<int>(std::clamp<long>(value, INT_MIN, INT_MAX)));
  }
  return found;
}

bool read_script(const char* path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    std::fprintf(stderr, "VORLA_PLAY: cannot read %s: %s\n", path, std::strerror(errno));
    return false;
  }
  std::string line;
  int number = 0;
  while (std::getline(file, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    char kind = line.size() > 6 ? line[6] : '\0';
    std::vector<int> values = numbers_of(line, kind == 'M');
    values.resize(2, 0);
    if (kind == 'M' || kind == 'K' || kind == 'P') {
      steps.push_back({kind, values[0], values[1]});
      continue;
    }
    std::fprintf(stderr,
                 "VORLA_PLAY: line %d of %s is no mouse, key or periodic line; the run "
                 "plays the lines before it\n",
                 number, path);
    break;
  }
  return true;
}

void keep_picture() {
  if (program_window == nullptr) return;
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels = headless::client_pixels(program_window, &width, &height);
  if (pixels.empty()) return;
  last_picture = std::move(pixels);
  last_width = width;
  last_height = height;
}

// Writes the picture once; false when it cannot be written.
bool write_snapshot() {
  if (snapshot_path.empty() || snapshot_written) return true;
  snapshot_written = true;
  keep_picture();
  if (last_picture.empty()) {
    std::fprintf(stderr, "VORLA_SNAPSHOT: the program made no window, %s not written\n",
                 snapshot_path.c_str());
    return false;
  }
  if (!headless::save_png(snapshot_path, last_picture, last_width, last_height)) {
    std::fprintf(stderr, "VORLA_SNAPSHOT: cannot write %s\n", snapshot_path.c_str());
    return false;
  }
  return true;
}

void at_process_end() {
  if (!active || write_snapshot()) return;
  std::fflush(nullptr);
  std::_Exit(1);
}

void end_run() {
  bool written = write_snapshot();
  std::fflush(nullptr);
  std::exit(written ? 0 : 1);
}

// A click of the left button at a place in centred coordinates; none outside the client area.
void click(int x, int y) {
  int width = 0;
  int height = 0;
  headless::client_pixels(program_window, &width, &height);
  int column = width / 2 + x;
  int row = height / 2 - y;
  if (column < 0 || column >= width || row < 0 || row >= height) return;
  headless::move_mouse(program_window, column, row);
  headless::click(program_window, column, row);
}

}  // namespace

bool open() {
  active = true;
  const char* play = std::getenv("VORLA_PLAY");
  if (play != nullptr && *play != '\0' && !read_script(play)) return false;
  if (const char* ticks = std::getenv("VORLA_TICKS"); ticks != nullptr && *ticks != '\0') {
    char* end = nullptr;
    errno = 0;
    ticks_after = std::strtol(ticks, &end, 10);
    if (*end != '\0' || ticks_after < 0 || errno != 0) {
      std::fprintf(stderr, "VORLA_TICKS=\"%s\" is not a count of ticks\n", ticks);
      return false;
    }
  }
  if (const char* path = std::getenv("VORLA_SNAPSHOT")) snapshot_path = path;
  static bool registered = false;
  if (!registered) registered = std::atexit(at_process_end) == 0;
  return true;
}

void close() {
  keep_picture();
  program_window = nullptr;
}

void window_created(HWND window) {
  if (program_window == nullptr) program_window = window;
}

void window_destroyed(HWND window) {
  if (window != program_window) return;
  keep_picture();
  program_window = nullptr;
}

void wait(uint32_t until_ms, bool forever) {
  for (;;) {
    if (next_step < steps.size()) {
      const Step& step = steps[next_step];
      if (step.kind == 'M') {
        ++next_step;
        if (program_window != nullptr) click(step.a, step.b);
        return;
      }
      if (step.kind == 'K') {
        ++next_step;
        if (program_window != nullptr)
          headless::type_char(program_window, static_cast<char>(step.a));
        return;
      }
      if (ticks_left_in_step == 0) ticks_left_in_step = step.a > 0 ? step.a : 1;
      if (forever) {  // waiting for input alone: the ticks would change nothing
        ticks_left_in_step = 0;
        ++next_step;
        continue;
      }
      if (--ticks_left_in_step == 0) ++next_step;
    } else if (forever || ticks_after == 0) {
      end_run();
    } else {
      --ticks_after;
    }
    uint32_t now = headless::now_ms();
    if (static_cast<int32_t>(until_ms - now) > 0) headless::advance_ms(until_ms - now);
    return;
  }
}

}  // namespace headless_run
