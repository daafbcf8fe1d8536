// The graphics runtime, as the application sees it: start-up and shut-down, events and
// animation modes, the drawing primitives in centred coordinates (origin in the middle of the
// drawing area, x to the right, y upwards) with colour indices 0-23, and the log window.
#pragma once

#include "win32.h"

// Event kinds returned by gfx_next_event.
enum {
  EVENT_MOUSE = 1,
  EVENT_KBD = 2,
  EVENT_PERIODIC = 3,
  EVENT_QUIT = 4,
};

// Animation modes for gfx_set_animation.
enum {
  ANIM_HALT = 0,
  ANIM_SINGLE_STEP = 1,
  ANIM_RUN = 2,
  ANIM_QUIT = 5,
};

// Colour indices.
enum {
  COLOUR_BLACK = 0,
  COLOUR_WHITE = 1,
  COLOUR_RED = 2,
};

int gfx_startup(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show);
int gfx_shutdown(void);

// Waits for the next event and returns its kind, with the mouse position (centred
// coordinates) or the typed character in the out-parameters.
int gfx_next_event(int* x, int* y, char* key);
int gfx_set_animation(int mode);

int gfx_set_logging(int on);
int gfx_show_log_window(int show);

int gfx_circle(int colour, int x, int y, int radius);
int gfx_triangle(int colour, int x1, int y1, int x2, int y2, int x3, int y3, int width);
int gfx_rect(int colour, int x1, int y1, int x2, int y2, int width);
int gfx_oval(int colour, int x1, int y1, int x2, int y2, int width);
int gfx_line(int colour, int x1, int y1, int x2, int y2, int width);
int gfx_text(int colour, int x, int y, int point_size, const char* format, ...)
    __attribute__((format(printf, 5, 6)));
int gfx_erase(void);
