/* A frame like the designer's, drawn by a program in C on the library alone: the panel of
 * buttons with their labels, the cone and scoops, and 200 small toppings, all redrawn each
 * frame. It prints the median time of a frame over 5 runs of at least 0.3 s, as
 *   BM_Frame/200 <median> ms
 * and then "done". tools/web-bench.sh runs it in the playground (compiled in the page, run in a
 * worker) and built by emscripten as the designer's page is, to compare the two. */
/* clock_gettime is POSIX's, beyond C99. */
#define _POSIX_C_SOURCE 199309L
#include <stdio.h>
#include <time.h>

#include "vorla.h"

static double now_ms(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

static void draw_frame(int shift) {
  int i;
  gfx_erase();
  for (i = 0; i < 8; ++i) { /* the buttons */
    gfx_rect(COLOUR_CHALK, -290, 230 - i * 50, -190, 190 - i * 50, 0);
    gfx_rect(COLOUR_BLACK, -290, 230 - i * 50, -190, 190 - i * 50, 1);
    gfx_text(COLOUR_BLACK, -285, 222 - i * 50, 12, "Button %d", i + 1);
  }
  gfx_triangle(COLOUR_ORANGE, -40, 0, 120, 0, 40, -220, 0); /* the cone */
  gfx_circle(COLOUR_PINK, 40, 40, 80);                      /* the scoops */
  gfx_circle(COLOUR_BROWN, 40, 140, 60);
  for (i = 0; i < 200; ++i) { /* the toppings */
    int x = -20 + (i * 37 + shift) % 120;
    int y = (i * 53) % 200 - 20;
    if (i % 3 == 0)
      gfx_circle(COLOUR_RED, x, y, 3);
    else if (i % 3 == 1)
      gfx_line(COLOUR_BLUE, x, y, x + 6, y + 4, 2);
    else
      gfx_rect(COLOUR_YELLOW, x, y, x + 4, y - 4, 0);
  }
  gfx_text(COLOUR_NAVY_BLUE, -150, -235, 18, "Frame %d", shift);
}

int main(void) {
  int repetition, frames, i, j;
  double start, now, per_frame[5], swap;
  gfx_startup(0, 0, 0, SW_SHOWNORMAL);
  gfx_set_logging(0);
  gfx_show_log_window(0);
  for (start = now_ms(), frames = 0; now_ms() - start < 500; ++frames) draw_frame(frames);
  for (repetition = 0; repetition < 5; ++repetition) {
    start = now = now_ms();
    for (frames = 0; now - start < 300; ++frames) {
      draw_frame(frames);
      now = now_ms();
    }
    per_frame[repetition] = (now - start) / frames;
  }
  for (i = 0; i < 5; ++i) {
    for (j = i + 1; j < 5; ++j) {
      if (per_frame[j] < per_frame[i]) {
        swap = per_frame[i];
        per_frame[i] = per_frame[j];
        per_frame[j] = swap;
      }
    }
  }
  printf("BM_Frame/200 %.4f ms\n", per_frame[2]);
  printf("done\n");
  gfx_shutdown();
  return 0;
}
