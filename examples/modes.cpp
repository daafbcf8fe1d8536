// Animation modes: the program chooses when ticks (EVENT_PERIODIC) come, with gfx_set_animation.
//   r  ANIM_RUN          a tick every 100 ms: the windmill turns
//   h  ANIM_HALT         no ticks; gfx_next_event waits for a click or a key (the mode at start)
//   s  ANIM_SINGLE_STEP  exactly one tick, then halted again: the windmill turns one step
//   q  ANIM_QUIT         every event from now on is EVENT_QUIT, so the program ends
// The Run menu (Ctrl+A, Ctrl+H, Ctrl+F) changes the mode too, without telling the program, so
// the line at the top only shows what the keys chose. This program begins at WinMain.
#include <cmath>

#include "vorla.h"

const int hub_x = 0, hub_y = 10;  // where the sails turn

// One sail: a long thin triangle from the hub, pointing `degrees` round from 12 o'clock.
static void sail(int colour, double degrees) {
  const double a = degrees * 3.14159265358979 / 180, spread = 0.2, length = 170;
  gfx_triangle(colour, hub_x, hub_y,
               hub_x + static_cast<int>(std::lround(length * std::sin(a - spread))),
               hub_y + static_cast<int>(std::lround(length * std::cos(a - spread))),
               hub_x + static_cast<int>(std::lround(length * std::sin(a + spread))),
               hub_y + static_cast<int>(std::lround(length * std::cos(a + spread))), 0);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show) {
  const char* mode = "ANIM_HALT: waiting for a key";  // what the keys chose last
  long ticks = 0;
  int x, y, kind;
  char key;
  gfx_startup(instance, previous, command_line, show);
  gfx_set_logging(0);
  gfx_show_log_window(0);

  do {
    gfx_erase();
    gfx_text(COLOUR_BLACK, -285, 215, 22, "%s", mode);
    gfx_text(COLOUR_GRAY_50, -285, 190, 18, "%ld ticks", ticks);
    gfx_triangle(COLOUR_BROWN, hub_x - 45, -200, hub_x + 45, -200, hub_x, hub_y + 20, 0);
    for (int i = 0; i < 4; i++)
      sail(i % 2 ? COLOUR_NAVY_BLUE : COLOUR_SEA_GREEN, ticks * 10 + i * 90);
    gfx_circle(COLOUR_BLACK, hub_x, hub_y, 8);
    gfx_text(COLOUR_BLACK, -285, -238, 18, "Keys:  r run   h halt   s one step   q quit");

    kind = gfx_next_event(&x, &y, &key);
    if (kind == EVENT_PERIODIC) {
      ticks++;  // every tick turns the sails by 10 degrees
    } else if (kind == EVENT_KBD && key == 'r') {
      gfx_set_animation(ANIM_RUN);
      mode = "ANIM_RUN: a tick every 100 ms";
    } else if (kind == EVENT_KBD && key == 'h') {
      gfx_set_animation(ANIM_HALT);
      mode = "ANIM_HALT: waiting for a key";
    } else if (kind == EVENT_KBD && key == 's') {
      gfx_set_animation(ANIM_HALT);         // single step alone would not stop a run,
      gfx_set_animation(ANIM_SINGLE_STEP);  // so halt first: then exactly one tick comes
      mode = "ANIM_SINGLE_STEP: one tick, then halted";
    } else if (kind == EVENT_KBD && key == 'q') {
      gfx_set_animation(ANIM_QUIT);  // the next event will be EVENT_QUIT
    }
  } while (kind != EVENT_QUIT);

  gfx_shutdown();
  return 0;
}
