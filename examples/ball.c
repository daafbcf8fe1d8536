/* A bouncing ball: animation with periodic ticks.
 * After gfx_set_animation(ANIM_RUN) the program gets an EVENT_PERIODIC ten times a second.
 * Each tick moves the ball one step; at a wall the ball turns back. Click anywhere to give
 * the ball another colour. Ctrl+H halts the animation, Ctrl+A starts it again. */
#include "vorla.h"

#define RADIUS 20

int main(void) {
  static const int colours[5] = {COLOUR_RED, COLOUR_BLUE, COLOUR_FOREST_GREEN, COLOUR_ORANGE,
                                 COLOUR_PURPLE};
  int x, y, kind;
  char key;
  int ball_x = -200, ball_y = 100; /* where the ball is */
  int step_x = 13, step_y = -9;    /* how far it moves in one tick */
  int colour = 0;                  /* which of the colours it has */
  int ticks = 0;                   /* how many ticks have come */

  gfx_startup(0, 0, 0, SW_SHOWNORMAL);
  gfx_set_logging(0);
  gfx_show_log_window(0);
  gfx_set_animation(ANIM_RUN); /* start the ticks */

  do {
    gfx_erase();
    gfx_text(COLOUR_GRAY_50, -145, 220, 18, "Click anywhere to change the colour");
    gfx_text(COLOUR_GRAY_50, -285, -240, 14, "tick %d", ticks);
    gfx_circle(colours[colour], ball_x, ball_y, RADIUS);
    gfx_circle(COLOUR_WHITE, ball_x - 7, ball_y + 7, 4); /* a shine makes it look round */

    kind = gfx_next_event(&x, &y, &key); /* shows the picture, then waits */
    if (kind == EVENT_PERIODIC) {
      ticks++;
      /* Turn back before a step would take the ball past a wall. */
      if (ball_x + step_x > 297 - RADIUS || ball_x + step_x < -297 + RADIUS) step_x = -step_x;
      if (ball_y + step_y > 248 - RADIUS || ball_y + step_y < -247 + RADIUS) step_y = -step_y;
      ball_x += step_x;
      ball_y += step_y;
    } else if (kind == EVENT_MOUSE) {
      colour = (colour + 1) % 5; /* the next of the five, then the first again */
    }
  } while (kind != EVENT_QUIT);

  gfx_shutdown();
  return 0;
}
