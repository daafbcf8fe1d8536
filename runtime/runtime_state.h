// The runtime's shared state and the functions its files call in one another. The state is one
// value (RuntimeState, at the end) on the application's one thread: the window procedures run
// only inside calls the application makes, so nothing needs a lock. Tests include this header to
// set up and inspect the state; the application sees only vorla.h.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

#include "vorla.h"
#include "win32.h"

// Everything the runtime's files share lives in a namespace of its own, so that none of its names
// can meet a program's own: a program's global `origin_x` or `record_event` is another thing.
// The gfx_ calls, which vorla.h declares with C linkage, are defined inside it as extern "C".
namespace vorla {

// --- Colours and drawing commands (colours.cpp) ------------------------------------------------

constexpr int COLOUR_COUNT = 24;
extern const COLORREF colour_rgb[COLOUR_COUNT];
extern const char* const colour_names[COLOUR_COUNT];

enum {
  DRAW_TRIANGLE = 0,
  DRAW_RECT = 1,
  DRAW_OVAL = 2,
  DRAW_LINE = 3,
  DRAW_PIXEL = 4,
  DRAW_TEXT = 5,
};

// One shape on its way from a primitive to the renderer: nine 32-bit fields whatever the target.
struct DrawCommand {
  int kind;
  int colour;
  int width;
  int x1;
  int y1;
  int x2;
  int y2;
  int x3;
  int y3;
};

int gfx_check_colour(int colour);

// A text command carries its text block in the 32-bit y2 field. A pointer or handle may not fit
// there, so the field holds a small reference into a table of the blocks that are live right
// now; the renderer resolves it and ignores a reference that names no live block.
int text_block_register(HGLOBAL block);
HGLOBAL text_block_lookup(int reference);
void text_block_unregister(int reference);

// --- Renderer (renderer.cpp) -------------------------------------------------------------------

void gfx_render(const DrawCommand* command);
void clear_surface();

// --- Windows, start-up and shut-down (startup.cpp; the state and its reset: state.cpp) -------

// Puts the runtime's state back to its start-up value, closing the files it holds open without
// writing to them, for tests and tools that start the runtime many times in one process. The
// windows, DCs and memory blocks it named are the Win32 layer's to free (platform::layer_reset,
// which goes with this call); the handles are only forgotten here.
void runtime_reset();

// Whether gfx_startup has made the windows. A call that comes before (named by `call`) is said
// once, on stderr, where it can be seen, and in the log; it then does nothing.
bool runtime_started(const char* call);

constexpr int SURFACE_WIDTH = 601;
constexpr int SURFACE_HEIGHT = 540;
constexpr UINT_PTR ANIMATION_TIMER_ID = 2;
constexpr UINT ANIMATION_TIMER_MS = 100;

LRESULT CALLBACK draw_wnd_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Copies the whole surface to the drawing window and marks it clean.
void copy_surface_to_window();

// Test access to the surface: the colour of one device pixel (column, row) of the surface.
COLORREF surface_pixel(int column, int row);

// --- Event loop (event_loop.cpp) ---------------------------------------------------------------

constexpr int EVENT_NONE = -1;

void pump_one_message();

// --- Run menu and control keys (run_menu.cpp) --------------------------------------------------

enum {
  CMD_ANIMATE = 1,
  CMD_HALT = 2,
  CMD_ADVANCE_FRAME = 3,
  CMD_LOGGING = 4,
  CMD_RECORD_SCRIPT = 5,
  CMD_PLAYBACK_SCRIPT = 6,
  CMD_PLAY_ONE = 7,
  CMD_QUIT = 8,
  CMD_INFO = 9,
};

constexpr int KEY_CTRL = 17;

// Ctrl is held for the Run menu's keys: held, and not as part of AltGr (Windows gives AltGr as
// Ctrl with Alt), so that the characters a layout types with AltGr (@ on a German Q, { on a
// French 4) are typed rather than taken for commands.
bool ctrl_command_keys();

void build_run_menu(HWND window);
void run_menu_command(WPARAM id);
void run_menu_key_down(WPARAM code);
void run_menu_key_up(WPARAM code);

// --- Script recording and playback (script_file.cpp) -----------------------------------------

constexpr const char* SCRIPT_FILE_NAME = "VORLA.SCR";
constexpr int SCRIPT_LINE_SIZE = 512;
constexpr int SCRIPT_NUMBER_SIZE = 12;

// Which way the one script stream is open: none, or for reading or writing.
enum ScriptMode { SCRIPT_CLOSED = 0, SCRIPT_READING = 1, SCRIPT_WRITING = 2 };

void record_event(int kind, int x, int y, char key);
int playback_step();
void close_script_file();
void stop_playback();
// Recording off, its check mark cleared, the pending periodic run dropped, the file closed.
void stop_recording();
// The session ends: what the recording holds so far reaches the file; recording goes on.
void keep_recording();

// The Run menu's toggles, which own the rules of switching recording and playback.
void toggle_recording();
void toggle_playback();

// A playback of another file than VORLA.SCR (a headless run's VORLA_PLAY), started as Playback
// Script starts one: the same reader and rules, with the file's own name in the log lines. When
// it is over, playback reads VORLA.SCR again. A line that cannot be played is also said on
// stderr, with its number.
void play_file(const char* path);

// --- The headless run (headless_run.cpp) ------------------------------------------------------

// At start-up: a program on the headless display that no code drives runs as its environment
// says (VORLA_PLAY, VORLA_TICKS, VORLA_SNAPSHOT). Ends the process with status 1, after one line
// on stderr, when a variable makes no sense.
void headless_run_start();
// The drawing went to the window: a headless run that keeps the last picture writes it.
void headless_run_shown();
// The event loop is about to wait: in a headless run whose playback is over, a wait for input
// (which no one will give) or for a tick when none is left ends the run and the process.
void headless_run_wait();

// --- Log and text window (log.cpp) ------------------------------------------------------------

constexpr int FORMAT_BUFFER_SIZE = 1024;
constexpr int LOG_RING_SIZE = 25;

struct LogRing {
  HGLOBAL log_lines[LOG_RING_SIZE];
  int log_first;
  int log_next;
};

void append_text_line(char* line);
// Opens the file that VORLA_LOG names, once (at start-up, or with the first line logged); false
// when it was asked for and cannot be written (said on stderr).
bool open_log_copy();
LRESULT CALLBACK text_wnd_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
void repaint_log_ring();

// --- The runtime's state -------------------------------------------------------------------------

// One text command is live at a time (a primitive builds, renders and frees it before it
// returns); a few slots of the table of live text blocks leave room.
constexpr int TEXT_BLOCK_SLOTS = 4;

// Everything the runtime keeps from one call to the next, each part with its value at start-up,
// written once here: a reset is one assignment. Each part is its file's to change, but for the
// flags that its comment names, which the runtime shares between its parts as the event loop,
// the Run menu and the script file meet.
struct RuntimeState {
  // Windows, start-up and shut-down (startup.cpp).
  HWND draw_window = nullptr;
  HWND text_window = nullptr;
  HDC window_dc = nullptr;
  HBITMAP surface_bitmap = nullptr;
  HDC surface_dc = nullptr;
  int surface_dirty = 1;  // set by every drawing call, cleared when the surface is shown
  int origin_x = 0;
  int origin_y = 0;
  int draw_window_gone = 0;      // the drawing window was destroyed: no event can come from it
  bool early_call_said = false;  // a call before gfx_startup has been reported

  // Event loop (event_loop.cpp); the mode flags are the Run menu's and the script file's too.
  int pending_kind = EVENT_NONE;
  int pending_x = 0;
  int pending_y = 0;
  char pending_key = 0;
  unsigned char animate_on = 0;
  unsigned char single_step = 0;
  int timer_ticked = 0;
  unsigned char quit_requested = 0;
  // Whether the last message step took a message from the queue; a pass that took none and
  // found no event waits for the next message instead of polling.
  int message_taken = 0;
  // For tools that watch the frames: called as gfx_next_event begins, where a redraw has ended.
  void (*next_event_hook)() = nullptr;

  // Renderer (renderer.cpp). For tools and benchmarks that watch or take over the drawing: when
  // set, every command is handed to the hook first, and is drawn only when the hook returns
  // false.
  bool (*render_hook)(const DrawCommand* command) = nullptr;
  // The text blocks of text commands live now (colours.cpp).
  HGLOBAL text_blocks[TEXT_BLOCK_SLOTS] = {};

  // Run menu and control keys (run_menu.cpp).
  int ctrl_down = 0;
  HMENU run_menu = nullptr;

  // Script recording and playback (script_file.cpp); the event loop reads the flags.
  FILE* script_stream = nullptr;
  ScriptMode script_mode = SCRIPT_CLOSED;
  unsigned char recording_on = 0;
  unsigned char playback_on = 0;
  unsigned char play_one = 0;
  int periodic_count = 0;
  long written_size = 0;             // where the last whole line written ends
  const char* other_file = nullptr;  // the file a playback reads when it is not VORLA.SCR
  int lines_read = 0;                // lines read from the file being played
  bool recording_taken = false;      // the last open for recording found another program's lock

  // Log and text window (log.cpp).
  LogRing log_ring = {{}, -1, 0};
  unsigned char logging_on = 1;
  int text_window_gone = 0;  // lines still enter the ring, nothing is drawn
  FILE* log_copy = nullptr;  // the copy of the log that VORLA_LOG asks for
  bool log_copy_opened = false;

  // The headless run (headless_run.cpp).
  bool run_active = false;
  long ticks_left = 0;
  const char* snapshot_path = nullptr;
  bool snapshot_written = false;
  const char* last_picture_path = nullptr;
  FILE* last_picture = nullptr;
  bool last_picture_failed = false;    // said once; the program runs on without the file
  std::vector<uint32_t> surface_rows;  // the buffers each picture is made in
  std::vector<unsigned char> last_picture_bytes;
};

extern RuntimeState state;

}  // namespace vorla
