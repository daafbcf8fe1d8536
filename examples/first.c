/* Your first program: it draws a picture once and then waits until you close the window.
 * Build it, run it, and end it with the window's close box or Ctrl+Q. */
#include "vorla.h"

int main(void) {
  int x, y;
  char key;
  gfx_startup(0, 0, 0, SW_SHOWNORMAL);
  gfx_set_logging(0);     /* no log line for every drawing call */
  gfx_show_log_window(0); /* and no log window */
  gfx_erase();            /* the drawing area starts black: make it white */

  gfx_text(COLOUR_NAVY_BLUE, -125, 190, 40, "My first house");
  gfx_circle(COLOUR_ORANGE, 210, 130, 40);                /* the sun */
  gfx_rect(COLOUR_SEA_GREEN, -297, -150, 298, -247, 0);   /* the grass */
  gfx_rect(COLOUR_BROWN, -120, 40, 120, -150, 0);         /* the walls */
  gfx_triangle(COLOUR_RED, -150, 40, 150, 40, 0, 140, 0); /* the roof */
  gfx_rect(COLOUR_NAVY_BLUE, -25, -60, 25, -150, 0);      /* the door */
  gfx_rect(COLOUR_ICE_BLUE, -95, 0, -45, -50, 0);         /* a window */
  gfx_rect(COLOUR_ICE_BLUE, 45, 0, 95, -50, 0);           /* another */

  /* The picture stays on the screen; wait for events until the window is closed. */
  while (gfx_next_event(&x, &y, &key) != EVENT_QUIT) {
  }
  gfx_shutdown();
  return 0;
}
