// Shared set-up for the runtime's tests: every test runs in a fresh directory of its own (the
// script file has a fixed name), on the headless display with its virtual clock, and reads the
// runtime's state through its internal header.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/handles.h"
#include "display/headless/headless.h"
#include "runtime_state.h"

using namespace vorla;  // the runtime's insides

struct Event {
  int kind = 0;
  int x = 0;
  int y = 0;
  char key = 0;
};

inline Event next_event() {
  Event event;
  event.kind = gfx_next_event(&event.x, &event.y, &event.key);
  return event;
}

// A Run menu command, as choosing the item does it: a posted WM_COMMAND.
inline void command(int id) {
  PostMessageA(state.draw_window, WM_COMMAND, id, 0);
}

// Runs the event loop's message step until the queue is empty: commands and keys take effect.
inline void drain() {
  do {
    pump_one_message();
  } while (state.message_taken);
}

inline bool checked(UINT id) {
  return (GetMenuState(state.run_menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

// The kept log lines, oldest first.
inline std::vector<std::string> log_lines() {
  std::vector<std::string> lines;
  int slot = state.log_ring.log_first;
  int count = 0;
  while (slot >= 0 && (slot != state.log_ring.log_next || count == 0)) {
    const char* text = static_cast<const char*>(GlobalLock(state.log_ring.log_lines[slot]));
    lines.push_back(text != nullptr ? text : "<unreadable>");
    GlobalUnlock(state.log_ring.log_lines[slot]);
    slot = (slot + 1) % LOG_RING_SIZE;
    ++count;
  }
  return lines;
}

// The lines logged after the first `mark` kept ones (while the ring has not yet wrapped).
inline std::vector<std::string> log_lines_since(size_t mark) {
  std::vector<std::string> lines = log_lines();
  lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(mark));
  return lines;
}

inline std::string read_file(const char* name) {
  std::ifstream in(name, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void write_file(const char* name, const std::string& text) {
  std::ofstream out(name, std::ios::binary);
  out << text;
}

inline bool file_exists(const char* name) {
  return std::filesystem::exists(name);
}

// Live counted objects of every kind the runtime makes and frees per call.
struct ObjectCounts {
  int dc, bitmap, pen, brush, font, memory;
  bool operator==(const ObjectCounts&) const = default;
};

inline ObjectCounts object_counts() {
  using platform::handle_live_count;
  using platform::HandleKind;
  return {handle_live_count(HandleKind::dc),   handle_live_count(HandleKind::bitmap),
          handle_live_count(HandleKind::pen),  handle_live_count(HandleKind::brush),
          handle_live_count(HandleKind::font), handle_live_count(HandleKind::memory)};
}

inline void PrintTo(const ObjectCounts& c, std::ostream* os) {
  *os << "{dc " << c.dc << ", bitmap " << c.bitmap << ", pen " << c.pen << ", brush " << c.brush
      << ", font " << c.font << ", memory " << c.memory << "}";
}

class RuntimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = std::filesystem::current_path();
    char name[] = "runtime-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    dir_ = home_ / name;
    std::filesystem::current_path(dir_);
  }

  void TearDown() override {
    close_script_file();
    std::filesystem::current_path(home_);
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

  static void start() { gfx_startup(nullptr, nullptr, nullptr, SW_SHOWNORMAL); }

  // Centred coordinates to client pixels of the drawing window.
  static int column(int x) { return state.origin_x + x; }
  static int row(int y) { return state.origin_y - y; }

  std::filesystem::path home_;
  std::filesystem::path dir_;
};
