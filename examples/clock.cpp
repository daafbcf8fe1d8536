// A stopwatch made from animation ticks. In ANIM_RUN the program gets ten EVENT_PERIODIC a
// second, so counting them measures time: 10 ticks are one second. The dial's red hand goes
// round once a minute, the short hand once an hour, and the text below shows minutes:seconds.
// Ctrl+H halts the animation and so stops the watch; Ctrl+A lets it run on.
// This program begins at WinMain, as a Windows program does, and passes its four arguments on
// to gfx_startup.
#include <cmath>

#include "vorla.h"

const int centre_x = 0, centre_y = 40, radius = 160;  // the dial

// Draws a line along a spoke of the dial, from `from` to `to` pixels away from its centre.
// `turn` says which spoke: how far round from 12 o'clock, 0 to 1.
static void spoke(int colour, double turn, int from, int to, int width) {
  const double angle = turn * 2 * 3.14159265358979;
  const double dx = std::sin(angle), dy = std::cos(angle);  // y goes up, so 12 is at the top
  gfx_line(colour, centre_x + static_cast<int>(std::lround(from * dx)),
           centre_y + static_cast<int>(std::lround(from * dy)),
           centre_x + static_cast<int>(std::lround(to * dx)),
           centre_y + static_cast<int>(std::lround(to * dy)), width);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show) {
  long ticks = 0;
  int x, y, kind;
  char key;
  gfx_startup(instance, previous, command_line, show);
  gfx_set_logging(0);
  gfx_show_log_window(0);
  gfx_set_animation(ANIM_RUN);

  do {
    const long seconds = ticks / 10;  // whole seconds: the hand jumps once a second
    gfx_erase();
    gfx_circle(COLOUR_NAVY_BLUE, centre_x, centre_y, radius + 8);
    gfx_circle(COLOUR_CHALK, centre_x, centre_y, radius);
    for (int mark = 0; mark < 60; mark++) {  // a mark for every second, longer every fifth
      if (mark % 5 == 0) {
        spoke(COLOUR_NAVY_BLUE, mark / 60.0, radius - 22, radius, 3);
      } else {
        spoke(COLOUR_NAVY_BLUE, mark / 60.0, radius - 10, radius, 1);
      }
    }
    spoke(COLOUR_NAVY_BLUE, (seconds % 3600) / 3600.0, 0, radius - 60, 7);  // minutes
    spoke(COLOUR_RED, (seconds % 60) / 60.0, 0, radius - 16, 2);            // seconds
    gfx_circle(COLOUR_RED, centre_x, centre_y, 7);
    gfx_text(COLOUR_BLACK, -50, -185, 40, "%02ld:%02ld", seconds / 60, seconds % 60);
    gfx_text(COLOUR_GRAY_50, -88, -225, 16, "%ld ticks = %ld.%ld seconds", ticks, seconds,
             ticks % 10);

    kind = gfx_next_event(&x, &y, &key);
    if (kind == EVENT_PERIODIC) ticks++;  // clicks and keys change nothing here
  } while (kind != EVENT_QUIT);

  gfx_shutdown();
  return 0;
}
