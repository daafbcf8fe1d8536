// The program's entry point: sets the runtime up, shows the welcome screen, then runs the
// designer loop until the user quits.
#include "designer.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR command_line, int show) {
  DesignerState state;
  gfx_startup(instance, previous, command_line, show);
  gfx_show_log_window(0);
  gfx_set_logging(0);
  gfx_erase();
  gfx_set_animation(ANIM_RUN);
  // A quit that ends the welcome screen does not end the program here: after the Run menu's
  // Quit the windows remain and the designer works on, and after the drawing window has been
  // closed the runtime reports a quit again at once, which ends the designer's first turn.
  show_welcome_screen();
  // `finished` is tested only before the next event, so the turn that sets it still redraws.
  while (!state.finished) {
    int x = 0;
    int y = 0;
    char key = 0;
    const int kind = gfx_next_event(&x, &y, &key);
    handle_designer_event(kind, x, y, state);
    redraw_designer_screen(state);
  }
  gfx_shutdown();
  return 0;
}
