// The Linux side of tools/wine/windows-check.sh: the cone designer on the headless display, given
// the same input as the Windows program under Wine (the pictures are compared by windows-shots).
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
#include "session/session.h"
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

int run_designer() {
  // A program that does not end by itself has its window closed after an hour of virtual time.
  headless::schedule(3600000, [] { headless::close_box(session::drawing_window()); });
  static char no_arguments[] = "";
  return WinMain(nullptr, nullptr, no_arguments, SW_SHOWNORMAL);
}

int record(const char* session_path) {
  std::vector<session::Step> steps;
  if (!session::read_session(session_path, "", &steps) || steps.empty()) return 2;
  const uint32_t end = session::schedule_session(steps, [](const std::string&) {});
  bool still_recording = false;
  headless::schedule(end + 1000, [&still_recording] {
    still_recording = state.recording_on != 0;
    headless::close_box(session::drawing_window());
  });
  const int status = run_designer();
  if (still_recording) std::fprintf(stderr, "the session left recording on\n");
  return status == 0 && !still_recording ? 0 : 1;
}

int play(const std::string& name) {
  bool ended = false;
  headless::schedule(1000, [] { session::press_with(VK_CONTROL, 'P'); });
  headless::schedule(600000, [&] {
    ended = state.playback_on == 0 && state.play_one == 0;
    picture::Picture shown;
    shown.pixels = headless::client_pixels(session::drawing_window(), &shown.width, &shown.height);
    const std::vector<text_ink::TextCall> calls = calls_on_show;
    ended = ended && picture::write_png(name + ".png", shown) &&
            picture::write_ppm(name + ".ppm", shown) &&
            text_ink::write_calls((name + "-text.txt").c_str(), calls) &&
            text_ink::write_boxes((name + "-ink.txt").c_str(), text_ink::ink_boxes(calls));
    headless::close_box(session::drawing_window());
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
    std::vector<session::Step> steps;
    if (!session::read_session(argv[2], "", &steps) || steps.empty()) return 2;
    session::print_plan(steps);
    return 0;
  }
  if (command == "play" && argc == 3) return play(argv[2]);
  return usage();
}
