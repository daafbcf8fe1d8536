/* Drawing with clicks: every click adds a point, and each point is joined to the one before
 * by a line. The program keeps the points in an array and draws them all again after every
 * event, because the library keeps no picture of its own. Press c to clear the drawing. */
#include "vorla.h"

#define MAX_POINTS 100

int main(void) {
  int xs[MAX_POINTS], ys[MAX_POINTS]; /* the points clicked so far */
  int count = 0;                      /* how many of them there are */
  int x, y, kind, i;
  char key;
  gfx_startup(0, 0, 0, SW_SHOWNORMAL);
  gfx_set_logging(0);
  gfx_show_log_window(0);

  do {
    gfx_erase();
    for (i = 1; i < count; i++) gfx_line(COLOUR_NAVY_BLUE, xs[i - 1], ys[i - 1], xs[i], ys[i], 3);
    for (i = 0; i < count; i++) gfx_circle(COLOUR_RED, xs[i], ys[i], 5);
    gfx_text(COLOUR_GRAY_50, -285, 222, 16, "Click to add a point, press c to clear.");
    gfx_text(COLOUR_GRAY_50, 150, 222, 16, "%d of %d points", count, MAX_POINTS);

    kind = gfx_next_event(&x, &y, &key);
    if (kind == EVENT_MOUSE && count < MAX_POINTS) { /* a full array takes no more */
      xs[count] = x;
      ys[count] = y;
      count++;
    } else if (kind == EVENT_KBD && (key == 'c' || key == 'C')) {
      count = 0; /* forgetting the points is enough: nothing else remembers them */
    }
  } while (kind != EVENT_QUIT);

  gfx_shutdown();
  return 0;
}
