/* A learner's program whose own names are names of Win32: its Ellipse and Rectangle, POINT and
 * RECT, and a global origin_x, beside the library's drawing, which must go on drawing with its
 * own. Built with -DPLAIN_NAMES it names them otherwise, and must draw the same picture. */
#include "vorla.h"

#ifdef PLAIN_NAMES
#define Ellipse my_ellipse
#define Rectangle my_rectangle
#define POINT my_point
#define RECT my_rect
#define origin_x my_origin_x
#endif

typedef struct {
  int x, y;
} POINT;
typedef struct {
  int left, top, right, bottom;
} RECT;
int origin_x = 40;

int Ellipse(int colour, POINT centre, int r) {
  return gfx_oval(colour, centre.x - r, centre.y + r, centre.x + r, centre.y - r, 0);
}
int Rectangle(RECT r, int colour) {
  return gfx_rect(colour, r.left, r.top, r.right, r.bottom, 0);
}

int main(void) {
  RECT box = {-100, 100, 100, -100};
  POINT centre = {0, 0};
  gfx_startup(0, 0, 0, SW_SHOWNORMAL);
  gfx_erase();
  Rectangle(box, COLOUR_BLUE);
  Ellipse(COLOUR_RED, centre, 50);
  gfx_circle(COLOUR_YELLOW, 150 + origin_x, 150, 30); /* the library's own ellipse */
  gfx_text(COLOUR_BLACK, -280, -200, 20, "origin_x %d", origin_x);
  gfx_next_event(NULL, NULL, NULL);
  return gfx_shutdown() == 1 ? 0 : 1;
}
