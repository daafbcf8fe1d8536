/* VORLA, a small graphics library for first programs: one drawing window (601 x 540 pixels
 * outside) with a Run menu, a log window, 24 named colours, shapes and text in centred
 * coordinates, events (clicks, typed characters, animation ticks, quit) and recording and
 * playback of input.
 *
 * Coordinates: (0, 0) is the centre of the drawing area, x grows to the right and y upwards.
 * The visible area is 595 x 496 pixels: x from -297 to 297, y from -247 to 248.
 *
 * A program calls gfx_startup once, draws, then asks gfx_next_event for events until it gets
 * EVENT_QUIT, and ends with gfx_shutdown. It may begin at int main(void) or, as a Windows
 * program does, at WinMain (linking the library's vorla_main for it on Linux and in the page).
 * Bad arguments are never refused: they are repaired and each repair is reported in the log.
 * The reference (docs/) says more, with pictures.
 *
 * C (C89 and later) or C++; the functions have C linkage. */
#ifndef VORLA_H
#define VORLA_H

/* Of Win32, only what WinMain and gfx_startup need: HINSTANCE, LPSTR, WINAPI and the SW_ show
 * commands (on Windows, all of <windows.h>, as a Windows program expects). */
#include <stddef.h> /* NULL, for a value of gfx_next_event that a program does not want */

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#else
#include "win32_entry.h"
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* What gfx_next_event returns. */
enum {
  EVENT_MOUSE = 1,    /* a left click; x and y are where */
  EVENT_KBD = 2,      /* a typed character, in key */
  EVENT_PERIODIC = 3, /* an animation tick: ten a second while animation runs */
  EVENT_QUIT = 4      /* the window was closed or Quit chosen: end the program */
};

/* Animation modes, for gfx_set_animation. */
enum {
  ANIM_HALT = 0,        /* no ticks: gfx_next_event waits for input (the mode at start) */
  ANIM_SINGLE_STEP = 1, /* one tick, then halted again (unless ANIM_RUN is still on) */
  ANIM_RUN = 2,         /* a tick every 100 ms whenever no input is waiting */
  ANIM_QUIT = 5         /* every later event is EVENT_QUIT */
};

/* The 24 colours. Any other number draws red and logs "Illegal color N; using RED.". */
enum {
  COLOUR_BLACK = 0,
  COLOUR_WHITE = 1,
  COLOUR_RED = 2,
  COLOUR_GREEN = 3,
  COLOUR_BLUE = 4,
  COLOUR_YELLOW = 5,
  COLOUR_MAGENTA = 6,
  COLOUR_CYAN = 7,
  COLOUR_PURPLE = 8,
  COLOUR_NAVY_BLUE = 9,
  COLOUR_DUSTY_PLUM = 10,
  COLOUR_ICE_BLUE = 11,
  COLOUR_TURQUOISE = 12,
  COLOUR_ORANGE = 13,
  COLOUR_BROWN = 14,
  COLOUR_PINK = 15,
  COLOUR_CHALK = 16,
  COLOUR_GOLD = 17,
  COLOUR_PEACH = 18,
  COLOUR_FOREST_GREEN = 19,
  COLOUR_SEA_GREEN = 20,
  COLOUR_OLIVE = 21,
  COLOUR_GRAY_50 = 22,
  COLOUR_GRAY_20 = 23
};

/* Start-up and shut-down. gfx_startup makes the drawing window (title "VORLA Graphics") and
 * the log window ("VORLA Text"), shows both with `show`, starts the 100 ms animation timer and
 * returns 1. From WinMain pass its four arguments; from main pass 0, 0, 0, SW_SHOWNORMAL.
 * Logging of drawing calls starts on and animation halted; the drawing area starts black until
 * gfx_erase. gfx_shutdown closes the script file and returns 1. */
int gfx_startup(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show);
int gfx_shutdown(void);

/* Waits for the next event and returns its kind (EVENT_...). A click gives its place in x and
 * y (key 0), a typed character gives key (x and y 0); ticks and quit give zeros. Drawing done
 * since the last call appears on the screen now, all at once. */
int gfx_next_event(int* x, int* y, char* key);

/* Sets an animation mode (ANIM_...); other numbers change nothing. Returns 0 before
 * gfx_startup, else 1. */
int gfx_set_animation(int mode);

/* Logging of drawing calls: while on (the start), every drawing call writes one line that
 * describes it. Turning it on also shows the log window. Returns 0 before gfx_startup, else 1. */
int gfx_set_logging(int on);
/* Shows (non-zero) or hides (0) the log window; returns non-zero if it was visible before. */
int gfx_show_log_window(int show);
/* Writes one line to the log, formatted as printf does (at most 1023 characters); returns the
 * number of characters formatted. Lines are written whether logging is on or not. */
int gfx_log(const char* format, ...) __attribute__((format(printf, 1, 2)));

/* Drawing, each returning 1. Shapes include their edges: a rectangle from (x1, y1) to (x2, y2)
 * covers both corners' pixels; the corners may be given in any order. `width` 0 fills the
 * shape; a larger width draws only its outline, that many pixels wide. A negative radius,
 * width or point size is used as positive, with a line in the log. */
int gfx_circle(int colour, int x, int y, int radius); /* always filled */
int gfx_triangle(int colour, int x1, int y1, int x2, int y2, int x3, int y3, int width);
int gfx_rect(int colour, int x1, int y1, int x2, int y2, int width);
int gfx_oval(int colour, int x1, int y1, int x2, int y2, int width); /* in that box */
/* From (x1, y1) to (x2, y2), the end point itself left out; width 0 draws one pixel wide. */
int gfx_line(int colour, int x1, int y1, int x2, int y2, int width);
/* Text formatted as printf does (at most 1023 characters); (x, y) is the lower-left corner of
 * the first line, '\n' starts a line below. point_size 0 to 127 is the letters' height in
 * pixels (0: the font's default). Returns the number of characters formatted. */
int gfx_text(int colour, int x, int y, int point_size, const char* format, ...)
    __attribute__((format(printf, 5, 6)));
/* Fills the whole drawing area white. */
int gfx_erase(void);

#ifdef __cplusplus
}
#endif

#endif /* VORLA_H */
