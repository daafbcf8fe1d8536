// Opens the runtime's windows and prints every event it gets, on standard output and in the
// log window, until the drawing window is closed. A hand tool for trying the event loop, the
// Run menu and the control keys without the designer.
#include <cstdio>

#include "vorla.h"

namespace {

const char* event_name(int kind) {
  switch (kind) {
    case EVENT_MOUSE:
      return "mouse";
    case EVENT_KBD:
      return "key";
    case EVENT_PERIODIC:
      return "periodic";
    case EVENT_QUIT:
      return "quit";
  }
  return "unknown";
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show) {
  gfx_startup(instance, previous, command_line, show);
  gfx_set_logging(0);
  gfx_erase();
  gfx_text(COLOUR_BLACK, -280, 200, 14, "Click, type, or use the Run menu. Close to end.");
  gfx_set_animation(ANIM_HALT);
  int count = 0;
  for (;;) {
    int x = 0;
    int y = 0;
    char key = 0;
    int kind = gfx_next_event(&x, &y, &key);
    ++count;
    std::printf("%d: %s x=%d y=%d key=%d\n", count, event_name(kind), x, y, key);
    std::fflush(stdout);
    gfx_log("%d: %s x=%d y=%d key=%d\n", count, event_name(kind), x, y, key);
    if (kind == EVENT_MOUSE) gfx_circle(COLOUR_RED, x, y, 3);
    if (kind == EVENT_QUIT) break;
  }
  gfx_shutdown();
  return 0;
}
