/* Recording and playing back: the Run menu can record what you do into the file VORLA.SCR
 * and play it back later, as if you did it again.
 *   Click to plant a flower; press c to clear the garden.
 *   Ctrl+R starts recording, and Ctrl+R again stops it: VORLA.SCR then holds one line per
 *   click or key, for example VORLA_MOUSE(-120, 40);
 *   Ctrl+P plays the file back: the program gets the same events again, from the file.
 *   Ctrl+O plays just the next one.
 * The program itself does nothing for this: the events simply come from the file. */
#include "vorla.h"

#define MAX_FLOWERS 50

/* A flower: a stem, six petals round a yellow middle. */
static void flower(int x, int y, int colour) {
  static const int petal_x[6] = {14, 7, -7, -14, -7, 7};
  static const int petal_y[6] = {0, 12, 12, 0, -12, -12};
  int i;
  gfx_line(COLOUR_FOREST_GREEN, x, y, x, y - 45, 3);
  for (i = 0; i < 6; i++) gfx_circle(colour, x + petal_x[i], y + petal_y[i], 8);
  gfx_circle(COLOUR_YELLOW, x, y, 7);
}

int main(void) {
  static const int colours[4] = {COLOUR_RED, COLOUR_PURPLE, COLOUR_PINK, COLOUR_ORANGE};
  int xs[MAX_FLOWERS], ys[MAX_FLOWERS]; /* where the flowers are */
  int count = 0;                        /* how many flowers there are */
  int clicks = 0;                       /* every click counts, even when the garden is full */
  int x, y, kind, i;
  char key;
  gfx_startup(0, 0, 0, SW_SHOWNORMAL);
  gfx_set_logging(0);
  gfx_show_log_window(0);

  do {
    gfx_erase();
    gfx_rect(COLOUR_FOREST_GREEN, -297, -215, 298, -247, 0); /* the grass */
    for (i = 0; i < count; i++) flower(xs[i], ys[i], colours[i % 4]);
    gfx_text(COLOUR_WHITE, -285, -240, 18, "%d clicks, %d flowers", clicks, count);
    gfx_text(COLOUR_BLACK, -285, 222, 18, "Click to plant a flower, press c to clear.");
    gfx_text(COLOUR_GRAY_50, -285, 200, 16, "Ctrl+R: start or stop recording into VORLA.SCR");
    gfx_text(COLOUR_GRAY_50, -285, 180, 16, "Ctrl+P: play VORLA.SCR back    Ctrl+O: play one");

    kind = gfx_next_event(&x, &y, &key);
    if (kind == EVENT_MOUSE) {
      clicks++;
      if (count < MAX_FLOWERS) {
        xs[count] = x;
        ys[count] = y;
        count++;
      }
    } else if (kind == EVENT_KBD && (key == 'c' || key == 'C')) {
      count = 0; /* the next drawing has no flowers */
    }
  } while (kind != EVENT_QUIT);

  gfx_shutdown();
  return 0;
}
