// The drawing window's Run menu and its Ctrl+letter twins. Commands never act directly: they
// set or clear flags that the event loop and the script reader and writer read at their next
// pass.
#include "runtime_state.h"

namespace vorla {

namespace {

struct RunMenuItem {
  UINT flags;
  UINT id;
  const char* text;
};

// The Run popup, top to bottom.
const RunMenuItem kRunMenuItems[] = {
    {MF_STRING, CMD_ANIMATE, "&Animate\tCtrl+A"},
    {MF_STRING, CMD_HALT, "&Halt animation\tCtrl+H"},
    {MF_STRING, CMD_ADVANCE_FRAME, "Advance one &frame\tCtrl+F"},
    {MF_SEPARATOR, 0, nullptr},
    {MF_CHECKED, CMD_LOGGING, "&Logging\tCtrl+L"},
    {MF_SEPARATOR, 0, nullptr},
    {MF_STRING, CMD_RECORD_SCRIPT, "&Record Script\tCtrl+R"},
    {MF_STRING, CMD_PLAYBACK_SCRIPT, "&Playback Script\tCtrl+P"},
    {MF_STRING, CMD_PLAY_ONE, "Play &One Script\tCtrl+O"},
    {MF_SEPARATOR, 0, nullptr},
    {MF_STRING, CMD_QUIT, "&Quit\tCtrl+Q"},
    {MF_SEPARATOR, 0, nullptr},
    {MF_GRAYED, CMD_INFO, "MAC: mac@example.org"},
    {MF_GRAYED, CMD_INFO, "WINDOWS: windows@example.org"},
    {MF_GRAYED, CMD_INFO, "UPDATES: updates@example.org"},
};

}  // namespace

void build_run_menu(HWND window) {
  HMENU bar = CreateMenu();
  state.run_menu = CreatePopupMenu();
  for (const RunMenuItem& item : kRunMenuItems) {
    AppendMenuA(state.run_menu, item.flags, item.id, item.text);
  }
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(state.run_menu), "&Run");
  SetMenu(window, bar);
  DrawMenuBar(window);
}

namespace {

void set_check(UINT id, bool on) {
  CheckMenuItem(state.run_menu, id, on ? MF_CHECKED : MF_UNCHECKED);
}

void toggle_logging() {
  state.logging_on = state.logging_on ? 0 : 1;
  set_check(CMD_LOGGING, state.logging_on != 0);
}

}  // namespace

// Recording is only switched here; the file is opened by the first line written. Switching it
// off closes the stream whichever way it is open, so a playback begun before starts again from
// the first line.
void toggle_recording() {
  if (state.recording_on) {
    if (state.periodic_count > 0) record_event(EVENT_PERIODIC, 0, 0, 0);
    stop_recording();
  } else {
    // Whatever the counter holds belongs to a playback, not to this recording.
    state.periodic_count = 0;
    state.recording_on = 1;
    set_check(CMD_RECORD_SCRIPT, true);
  }
}

// The file is opened by the first playback step. Switching off closes only a stream that the
// playback opened: a recording running at the same time keeps its file.
void toggle_playback() {
  if (state.playback_on) {
    state.playback_on = 0;
    set_check(CMD_PLAYBACK_SCRIPT, false);
    if (!state.recording_on) state.periodic_count = 0;
    if (state.script_mode == SCRIPT_READING) close_script_file();
  } else {
    play_file(nullptr);
  }
}

void run_menu_command(WPARAM id) {
  switch (id) {
    case CMD_ANIMATE:
      state.animate_on = 1;
      break;
    case CMD_HALT:
      state.animate_on = 0;
      break;
    case CMD_ADVANCE_FRAME:
      state.animate_on = 0;
      state.single_step = 1;
      break;
    case CMD_LOGGING:
      toggle_logging();
      break;
    case CMD_RECORD_SCRIPT:
      toggle_recording();
      break;
    case CMD_PLAYBACK_SCRIPT:
      toggle_playback();
      break;
    case CMD_PLAY_ONE:
      state.play_one = 1;
      state.animate_on = 0;
      state.single_step = 0;
      break;
    case CMD_QUIT:
      PostQuitMessage(0);
      break;
    default:
      break;
  }
}

bool ctrl_command_keys() {
  return state.ctrl_down == 1 && GetKeyState(VK_MENU) >= 0;
}

// Letters are compared with both their upper- and lower-case codes, and key repeats are not
// filtered: every key-down while Ctrl is held is a command.
void run_menu_key_down(WPARAM code) {
  if (code == KEY_CTRL) {
    state.ctrl_down = 1;
    return;
  }
  if (!ctrl_command_keys()) return;
  switch (code) {
    case 'A':
    case 'a':
      run_menu_command(CMD_ANIMATE);
      break;
    case 'H':
    case 'h':
      run_menu_command(CMD_HALT);
      break;
    case 'F':
    case 'f':
      run_menu_command(CMD_ADVANCE_FRAME);
      break;
    case 'L':
    case 'l':
      run_menu_command(CMD_LOGGING);
      break;
    case 'R':
    case 'r':
      run_menu_command(CMD_RECORD_SCRIPT);
      break;
    case 'P':
    case 'p':
      run_menu_command(CMD_PLAYBACK_SCRIPT);
      break;
    case 'O':
    case 'o':
      run_menu_command(CMD_PLAY_ONE);
      break;
    case 'Q':
    case 'q':
      run_menu_command(CMD_QUIT);
      break;
    default:
      break;
  }
}

void run_menu_key_up(WPARAM code) {
  if (code == KEY_CTRL) state.ctrl_down = 0;
}

}  // namespace vorla
