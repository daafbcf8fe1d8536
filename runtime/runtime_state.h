// The runtime's shared state and the functions its files call in one another. Everything here is
// module-level data on the application's one thread: the window procedures run only inside
// calls the application makes, so nothing needs a lock. Tests include this header to set up and
// inspect the state; the application sees only vorla.h.
#pragma once

#include <cstdio>

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

// For tools and benchmarks that watch or take over the drawing: when set, every command is
// handed to the hook first, and the renderer draws it only when the hook returns false.
extern bool (*render_hook)(const DrawCommand* command);

// --- Windows, start-up and shut-down (windows.cpp) -------------------------------------------

// Puts every module-level variable of the runtime back to its start-up value and closes the
// script file without writing to it, for tests and tools that start the runtime many times in
// one process. The windows, DCs and memory blocks it named are the Win32 layer's to free
// (platform::layer_reset, which goes with this call); the handles are only forgotten here.
void runtime_reset();

// Whether gfx_startup has made the windows. A call that comes before (named by `call`) is said
// once, on stderr, where it can be seen, and in the log; it then does nothing.
bool runtime_started(const char* call);
// The parts of runtime_reset that belong to the other files.
void event_loop_reset();
void run_menu_reset();
void script_reset();
void log_reset();
void text_blocks_reset();
void headless_run_reset();

constexpr int SURFACE_WIDTH = 601;
constexpr int SURFACE_HEIGHT = 540;
constexpr UINT_PTR ANIMATION_TIMER_ID = 2;
constexpr UINT ANIMATION_TIMER_MS = 100;

extern HWND draw_window;
extern HWND text_window;
extern HDC window_dc;
extern HBITMAP surface_bitmap;
extern HDC surface_dc;
extern int surface_dirty;
extern int origin_x;
extern int origin_y;
// Set once the drawing window has been destroyed: no event can come from it any more.
extern int draw_window_gone;

LRESULT CALLBACK draw_wnd_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Copies the whole surface to the drawing window and marks it clean.
void copy_surface_to_window();

// Test access to the surface: the colour of one device pixel (column, row) of the surface.
COLORREF surface_pixel(int column, int row);

// --- Event loop (event_loop.cpp) ---------------------------------------------------------------

constexpr int EVENT_NONE = -1;

extern int pending_kind;
extern int pending_x;
extern int pending_y;
extern char pending_key;
extern unsigned char animate_on;
extern unsigned char single_step;
extern int timer_ticked;
extern unsigned char quit_requested;
// Whether the last message step took a message from the queue; a pass that took none and
// found no event waits for the next message instead of polling.
extern int message_taken;

void pump_one_message();

// For tools that watch the frames: called as gfx_next_event begins, where a redraw has ended.
extern void (*next_event_hook)();

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

extern int ctrl_down;
extern HMENU run_menu;

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

extern FILE* script_stream;
extern ScriptMode script_mode;
extern unsigned char recording_on;
extern unsigned char playback_on;
extern unsigned char play_one;
extern int periodic_count;

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

extern LogRing log_ring;
extern unsigned char logging_on;
// Set once the text window has been destroyed: lines still enter the ring, nothing is drawn.
extern int text_window_gone;

void append_text_line(char* line);
// Opens the file that VORLA_LOG names, once (at start-up, or with the first line logged); false
// when it was asked for and cannot be written (said on stderr).
bool open_log_copy();
LRESULT CALLBACK text_wnd_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
void repaint_log_ring();

}  // namespace vorla
