// The Linux side of tools/windows-check.sh: the cone designer on the headless display, given the
// same input as the Windows program under Wine (the pictures are compared by windows-shots).
//
//   headless-designer record SESSION    gives the session's input (session.h); the program's
//                                       recording is left in ./VORLA.SCR
//   headless-designer plan SESSION      prints the session as steps for xdotool: "click X Y"
//                                       (centred), "key KEYS", "sleep MS", "menu-item N"
//   headless-designer play NAME         plays ./VORLA.SCR with Ctrl+P and, once the script has
//                                       ended, saves the client area (NAME.png, NAME.ppm), the
//                                       text calls of the frame shown (NAME-text.txt) and where
//                                       their ink lies (NAME-ink.txt)
//
// The tool watches the renderer and the event loop through the runtime's hooks, so that it sees
// every text call of the frame that the window shows.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "designer.h"
#include "display/headless/headless.h"
#include "display/headless/picture.h"
#include "layer.h"
#include "runtime_state.h"
#include "session.h"
#include "text_ink.h"

using namespace vorla;  // the runtime's insides

// --- Text calls of the frame on show ---------------------------------------------------------

namespace {

std::vector<text_ink::TextCall> calls_being_drawn;
std::vector<text_ink::TextCall> calls_on_show;

}  // namespace

bool note_text_call(const DrawCommand* command) {
  if (command->kind == DRAW_TEXT) {
    HGLOBAL block = text_block_lookup(command->y2);
    const char* text = block != nullptr ? static_cast<const char*>(GlobalLock(block)) : nullptr;
    if (text != nullptr) {
      calls_being_drawn.push_back({command->x1, command->y1, command->x2, text});
      GlobalUnlock(block);
    }
  }
  return false;  // drawn as ever
}

// A redraw ends where the program asks for its next event: the first pass of that call shows it.
void frame_shown() {
  calls_on_show = calls_being_drawn;
  calls_being_drawn.clear();
}

namespace {

// --- Input, as a user gives it ------------------------------------------------------------------

HWND drawing_window() {
  return headless::find_window("VORLA Graphics");
}

void press(int vk) {
  headless::key_down(drawing_window(), vk);
  headless::key_up(drawing_window(), vk);
}

void press_ctrl(char letter) {
  headless::key_down(drawing_window(), KEY_CTRL);
  press(letter);
  headless::key_up(drawing_window(), KEY_CTRL);
}

// Pauses between actions, the same on both sides: long enough for the program to take each
// action, and for a frame's tick to come before the next input replaces the armed event.
constexpr uint32_t kActionGap = 300;
constexpr uint32_t kFrameGap = 300;
constexpr uint32_t kMenuGap = 300;

// Clicks the middle of an item of the menu bar or of the open popup, where GetMenuItemRect
// finds it.
void click_menu_item(HMENU menu, UINT item) {
  HWND window = drawing_window();
  RECT rect{};
  if (!GetMenuItemRect(window, menu, item, &rect)) return;
  POINT middle{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  ScreenToClient(window, &middle);
  headless::click_menu_area(window, middle.x, middle.y + headless::menu_bar_height(window));
}

// Schedules the session's input from `at`; returns the time after it.
uint32_t schedule_session(const std::vector<session::Action>& actions, uint32_t at) {
  for (const session::Action& action : actions) {
    if (action.verb == "click") {
      const int x = action.a;
      const int y = action.b;
      headless::schedule(at, [x, y] {
        headless::click(drawing_window(), state.origin_x + x, state.origin_y - y);
      });
      at += kActionGap;
    } else if (action.verb == "type") {
      const char c = action.word[0];
      headless::schedule(at, [c] { headless::type_char(drawing_window(), c); });
      at += kActionGap;
    } else if (action.verb == "ctrl") {
      const char letter = static_cast<char>(std::toupper(action.word[0]));
      headless::schedule(at, [letter] { press_ctrl(letter); });
      at += kActionGap;
    } else if (action.verb == "frames") {
      for (int i = 0; i < action.a; ++i) {
        headless::schedule(at, [] { press_ctrl('F'); });
        at += kFrameGap;
      }
    } else if (action.verb == "menu-mouse") {
      const int position = session::run_item(action.word)->position;
      headless::schedule(at, [] { click_menu_item(GetMenu(drawing_window()), 0); });
      headless::schedule(at + kMenuGap, [position] {
        click_menu_item(state.run_menu, static_cast<UINT>(position));
      });
      at += 2 * kMenuGap;
    } else if (action.verb == "menu-keys") {
      const char mnemonic = session::run_item(action.word)->mnemonic;
      headless::schedule(at, [] { press(VK_MENU); });
      headless::schedule(at + kMenuGap, [] { press('R'); });
      headless::schedule(at + 2 * kMenuGap, [mnemonic] { press(mnemonic); });
      at += 3 * kMenuGap;
    }
  }
  return at;
}

// The same session as steps for xdotool, with the same pauses.
void print_plan(const std::vector<session::Action>& actions) {
  for (const session::Action& action : actions) {
    if (action.verb == "click") {
      std::printf("click %d %d\nsleep %u\n", action.a, action.b, kActionGap);
    } else if (action.verb == "type") {
      std::printf("key %s\nsleep %u\n", action.word.c_str(), kActionGap);
    } else if (action.verb == "ctrl") {
      std::printf("key ctrl+%c\nsleep %u\n", std::tolower(action.word[0]), kActionGap);
    } else if (action.verb == "frames") {
      for (int i = 0; i < action.a; ++i) std::printf("key ctrl+f\nsleep %u\n", kFrameGap);
    } else if (action.verb == "menu-mouse") {
      std::printf("menu-item %d\nsleep %u\n", session::run_item(action.word)->text_index, kMenuGap);
    } else if (action.verb == "menu-keys") {
      std::printf("key alt\nsleep %u\nkey r\nsleep %u\nkey %c\nsleep %u\n", kMenuGap, kMenuGap,
                  std::tolower(session::run_item(action.word)->mnemonic), kMenuGap);
    }
  }
}

int run_designer() {
  // A program that does not end by itself has its window closed after an hour of virtual time.
  headless::schedule(3600000, [] { headless::close_box(drawing_window()); });
  static char no_arguments[] = "";
  return WinMain(nullptr, nullptr, no_arguments, SW_SHOWNORMAL);
}

int record(const char* session_path) {
  const std::vector<session::Action> actions = session::read_session(session_path);
  if (actions.empty()) return 2;
  const uint32_t end = schedule_session(actions, 1000);
  bool still_recording = false;
  headless::schedule(end + 1000, [&still_recording] {
    still_recording = state.recording_on != 0;
    headless::close_box(drawing_window());
  });
  const int status = run_designer();
  if (still_recording) std::fprintf(stderr, "the session left recording on\n");
  return status == 0 && !still_recording ? 0 : 1;
}

int play(const std::string& name) {
  bool ended = false;
  headless::schedule(1000, [] { press_ctrl('P'); });
  headless::schedule(600000, [&] {
    ended = state.playback_on == 0 && state.play_one == 0;
    picture::Picture shown;
    shown.pixels = headless::client_pixels(drawing_window(), &shown.width, &shown.height);
    const std::vector<text_ink::TextCall> calls = calls_on_show;
    ended = ended && picture::write_png(name + ".png", shown) &&
            picture::write_ppm(name + ".ppm", shown) &&
            text_ink::write_calls((name + "-text.txt").c_str(), calls) &&
            text_ink::write_boxes((name + "-ink.txt").c_str(), text_ink::ink_boxes(calls));
    headless::close_box(drawing_window());
  });
  const int status = run_designer();
  if (!ended) std::fprintf(stderr, "the script did not end, or the picture was not saved\n");
  return status == 0 && ended ? 0 : 1;
}

int usage() {
  std::fprintf(stderr, "usage: headless-designer record SESSION | plan SESSION | play NAME\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  headless::drive_from_code();
  platform::layer_choose_display("headless");
  state.render_hook = note_text_call;
  state.next_event_hook = frame_shown;
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "record" && argc == 3) return record(argv[2]);
  if (command == "plan" && argc == 3) {
    const std::vector<session::Action> actions = session::read_session(argv[2]);
    print_plan(actions);
    return actions.empty() ? 2 : 0;
  }
  if (command == "play" && argc == 3) return play(argv[2]);
  return usage();
}
